// The chord mapper every new score uses: a chord vocabulary read from Chords.txt in the data
// folder, chord names spelled for the key in force, guitar chord diagrams and capo transposition.
//
// Drawing (see ChordMapper::Draw):
//   - the chord stands on y: the bottom of its name or of its diagram's fret grid lies at y, and
//     it reaches up into the row kept above each system; x is its left edge;
//   - a name is drawn in bold Arial, its root spelled with "#" or "b" to suit the key in force
//     at the chord's time (the score's key events); a diagram shows the fingering the data file
//     gives for the chord, and a chord without one is drawn as its name;
//   - with a capo on fret n the chord is shown n semitones lower, as the guitarist reads it (a
//     sounding C with the capo on fret 2 is a Bb shape), spelled for the key moved down alike;
//   - a code the vocabulary does not know is drawn as the event's text, when it has one;
//   - the surface gets its font, fore colour and current position back afterwards.
// Draw spells the chord in the key in force at the chord event's time; DrawInKey takes the key
// from a caller that knows it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "corvendi/ChordMapper.h"
#include "corvendi/ChordVocabulary.h"
#include "corvendi/Export.h"

namespace corvendi {

class CORVENDI_API ChordLibrary : public ChordMapper {
  public:
    // The data file's name inside the data folder.
    static constexpr std::string_view kDataFileName = "Chords.txt";
    static constexpr int32_t kNameRowHeight = 360;
    static constexpr int32_t kDiagramRowHeight = 960;

    // Reads <data folder>/Chords.txt (Windows-1252 text). A file that cannot be read leaves
    // the vocabulary empty and gives false.
    bool Load() override;

    // Chords listed root by root with the roots spelled as in C major (C, Cm ... Db, Dbm ...).
    int32_t ChordCount() const override { return mVocabulary.ChordCount(); }
    std::string ChordName(int32_t index) const override;
    int32_t ChordCode(int32_t index) const override { return mVocabulary.CodeAt(index); }

    int32_t NameRowHeight() const override { return kNameRowHeight; }
    int32_t DiagramRowHeight() const override { return kDiagramRowHeight; }

    void Draw(Surface& surface, int32_t x, int32_t y, int32_t code,
              const std::shared_ptr<GlobalEvents>& globals, bool diagrams, int32_t color,
              std::string_view text, int32_t capoFret, int32_t atTime) override;

    // Draw with the sounding key (-7..7) given.
    void DrawInKey(Surface& surface, int32_t x, int32_t y, int32_t code, int32_t key, bool diagrams,
                   int32_t color, std::string_view text, int32_t capoFret) const;

    // The name Draw shows for a chord in a sounding key with a capo: "" when there is nothing
    // to show.
    std::string ShownName(int32_t code, int32_t key, std::string_view text, int32_t capoFret) const;
    // The code of the chord the guitarist plays with the capo (0 for an unknown code).
    int32_t ShapeCode(int32_t code, int32_t capoFret) const;

    // The key (-7..7) Draw spells a chord event with this code and text in.
    static int32_t ChordKey(const GlobalEvents* globals, int32_t code, std::string_view text);

    const ChordVocabulary& Vocabulary() const { return mVocabulary; }
    ChordVocabulary& Vocabulary() { return mVocabulary; }

  private:
    ChordVocabulary mVocabulary;
};

}  // namespace corvendi
