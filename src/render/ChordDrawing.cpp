#include "render/ChordDrawing.h"

#include <algorithm>
#include <string>

namespace corvendi {

namespace {

constexpr size_t kStrings = 6;

// Gives the surface back the font, fore colour and current position it had.
class SurfaceTextState {
  public:
    explicit SurfaceTextState(Surface& surface)
        : mSurface(surface),
          mFont(surface.Font()),
          mColor(surface.ForeColor()),
          mX(surface.CurrentX()),
          mY(surface.CurrentY()) {}
    ~SurfaceTextState() {
        mSurface.SetFont(mFont);
        mSurface.SetForeColor(mColor);
        mSurface.SetCurrentX(mX);
        mSurface.SetCurrentY(mY);
    }
    SurfaceTextState(const SurfaceTextState&) = delete;
    SurfaceTextState& operator=(const SurfaceTextState&) = delete;

  private:
    Surface& mSurface;
    FontSpec mFont;
    int32_t mColor;
    double mX;
    double mY;
};

void PrintAt(Surface& surface, double x, double y, std::string_view text) {
    surface.SetCurrentX(x);
    surface.SetCurrentY(y);
    surface.Print(text);
}

// Text centred on x with its cell's bottom at y.
void PrintCentredAbove(Surface& surface, double x, double y, std::string_view text) {
    PrintAt(surface, x - surface.TextWidth(text) / 2.0, y - surface.TextHeight(text), text);
}

// A round-looking dot from two overlapping boxes, a wide one and a tall one.
void DrawDot(Surface& surface, double cx, double cy, int32_t color) {
    const double half = kDiagramDotSize / 2.0;
    const double narrow = half * 0.6;
    surface.Line(cx - half, cy - narrow, cx + half, cy + narrow, color, LineFill::FilledBox);
    surface.Line(cx - narrow, cy - half, cx + narrow, cy + half, color, LineFill::FilledBox);
}

int32_t HighestFret(const ChordFrets& frets) {
    return *std::max_element(frets.begin(), frets.end());
}

int32_t LowestFretHeld(const ChordFrets& frets) {
    int32_t lowest = 0;
    for (int8_t fret : frets) {
        if (fret > 0 && (lowest == 0 || fret < lowest)) lowest = fret;
    }
    return lowest;
}

}  // namespace

FontSpec ChordNameFont() { return FontSpec{"Arial", 10.0f, true}; }
FontSpec DiagramNameFont() { return FontSpec{"Arial", 9.0f, true}; }
FontSpec DiagramLabelFont() { return FontSpec{"Arial", 7.0f}; }

int32_t DiagramStartFret(const ChordFrets& frets) {
    if (HighestFret(frets) <= kDiagramFrets) return 1;
    return LowestFretHeld(frets);
}

int32_t DiagramFretRows(const ChordFrets& frets) {
    const int32_t highest = HighestFret(frets);
    return std::max(kDiagramFrets, highest - DiagramStartFret(frets) + 1);
}

void DrawChordName(Surface& surface, int32_t x, int32_t y, std::string_view name, int32_t color) {
    if (name.empty()) return;
    SurfaceTextState keep(surface);
    surface.SetFont(ChordNameFont());
    surface.SetForeColor(color);
    PrintAt(surface, x, y - surface.TextHeight(name), name);
}

void DrawChordDiagram(Surface& surface, int32_t x, int32_t y, std::string_view name,
                      const ChordFrets& frets, int32_t color) {
    SurfaceTextState keep(surface);
    surface.SetForeColor(color);
    const int32_t startFret = DiagramStartFret(frets);
    const int32_t rows = DiagramFretRows(frets);
    const double left = x;
    const double right = x + kDiagramStringGap * static_cast<int32_t>(kStrings - 1);
    const double bottom = y;
    const double top = y - kDiagramFretGap * rows;
    auto stringX = [&](size_t string) {
        return left + kDiagramStringGap * static_cast<double>(string);
    };

    for (size_t string = 0; string < kStrings; ++string) {
        surface.Line(stringX(string), top, stringX(string), bottom, color, LineFill::None);
    }
    for (int32_t row = 0; row <= rows; ++row) {
        const double fretY = top + kDiagramFretGap * row;
        surface.Line(left, fretY, right, fretY, color, LineFill::None);
    }

    surface.SetFont(DiagramLabelFont());
    if (startFret == 1) {
        surface.Line(left, top - kDiagramNutHeight, right, top, color, LineFill::FilledBox);
    } else {
        const std::string number = std::to_string(startFret);
        PrintAt(surface, right + kDiagramStringGap / 2,
                top + (kDiagramFretGap - surface.TextHeight(number)) / 2.0, number);
    }

    const double marksBottom = top - kDiagramNutHeight - kDiagramGap;
    for (size_t string = 0; string < kStrings; ++string) {
        const int32_t fret = frets[string];
        if (fret == kMutedString) {
            PrintCentredAbove(surface, stringX(string), marksBottom, "x");
        } else if (fret == 0) {
            PrintCentredAbove(surface, stringX(string), marksBottom, "o");
        } else {
            DrawDot(surface, stringX(string), top + kDiagramFretGap * (fret - startFret + 0.5),
                    color);
        }
    }

    if (name.empty()) return;
    const double nameBottom = marksBottom - surface.TextHeight("xo") - kDiagramGap;
    surface.SetFont(DiagramNameFont());
    PrintCentredAbove(surface, (left + right) / 2.0, nameBottom, name);
}

}  // namespace corvendi
