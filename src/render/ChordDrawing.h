// Drawing a chord symbol on a surface: its name as text, or a guitar chord diagram.
//
// Both stand on the given y: the bottom of the name's text cell, or the bottom of the diagram's
// fret grid, lies at y, and everything else is drawn above it, inside the row the layout keeps
// above each system. x is the left edge: the name's first character, the diagram's low E string.
//
// A diagram is a grid of six strings (low E on the left) and kDiagramFrets or more frets, with a
// thick nut on top when it starts at the first fret and the starting fret's number right of
// the first fret space otherwise. Above each string an "o" marks an open string and an "x" a
// muted one; a dot marks every fret held. The chord's name is centred above it all.
//
// Drawing selects its own fonts and colour and gives the surface back its font, fore colour
// and current position afterwards.
#pragma once

#include <cstdint>
#include <string_view>

#include "corvendi/ChordVocabulary.h"
#include "corvendi/Surface.h"

namespace corvendi {

// Geometry of a diagram, in twips.
constexpr int32_t kDiagramStringGap = 80;
constexpr int32_t kDiagramFretGap = 100;
constexpr int32_t kDiagramFrets = 4;
constexpr int32_t kDiagramDotSize = 56;
constexpr int32_t kDiagramNutHeight = 30;
constexpr int32_t kDiagramGap = 20;  // between the name, the string marks and the nut

FontSpec ChordNameFont();     // a name drawn alone
FontSpec DiagramNameFont();   // the name above a diagram
FontSpec DiagramLabelFont();  // the string marks and the fret number

// The fret the diagram's first row shows: 1 when every fret held fits the first kDiagramFrets,
// else the lowest fret held.
int32_t DiagramStartFret(const ChordFrets& frets);
// The number of fret rows the diagram shows (at least kDiagramFrets).
int32_t DiagramFretRows(const ChordFrets& frets);

void DrawChordName(Surface& surface, int32_t x, int32_t y, std::string_view name, int32_t color);
void DrawChordDiagram(Surface& surface, int32_t x, int32_t y, std::string_view name,
                      const ChordFrets& frets, int32_t color);

}  // namespace corvendi
