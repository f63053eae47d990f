// The music font resolved for drawing: each character of a text becomes glyphs of the engraving
// fonts and filled shapes, placed in em units (the em is the staff height) relative to the pen
// on the baseline, y up.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "FontFiles.h"
#include "MusicFontMap.h"

namespace corvendi::cairoimpl {

constexpr double kSpacesPerEm = 4.0;

struct Box {
    double X0 = 0.0, Y0 = 0.0, X1 = 0.0, Y1 = 0.0;
    bool Empty = true;
    void Add(double x0, double y0, double x1, double y1);
    void Add(const Box& other);
};

struct PlacedGlyph {
    cairo_font_face_t* Face = nullptr;
    uint32_t Index = 0;
    double X = 0.0, Y = 0.0;            // origin, em
    double ScaleX = 0.0, ScaleY = 0.0;  // em per font unit
    int32_t UnitsPerEm = 1000;
    bool Clip = false;
    double ClipLow = 0.0, ClipHigh = 0.0;  // em
};

struct PlacedShape {
    bool IsRect = false;
    std::vector<std::pair<double, double>> Points;  // em
};

// One character (or character sequence) of the map, laid out.
struct Drawing {
    std::vector<PlacedGlyph> Glyphs;
    std::vector<PlacedShape> Shapes;
    double Advance = 0.0;  // em
    Box Ink;               // em
};

// A text split into drawings with their pen offsets.
struct MusicRun {
    std::vector<std::pair<double, const Drawing*>> Items;  // (pen x in em, drawing)
    double Width = 0.0;                                    // em
    bool Brace = false;  // the text holds a character drawn as part of a brace
};

class MusicFont {
  public:
    explicit MusicFont(std::shared_ptr<const musicfont::Map> map);

    // The font of this thread, read from the current map file on first use (and again when
    // the map file changes). Finding the map file asks the platform for the application
    // folder, so code drawing many symbols holds the font for a while (a surface for as long
    // as its font stays selected) instead of asking for each. A font is used only on the thread
    // it was made for.
    static const std::shared_ptr<MusicFont>& ForThread();

    double Ascent() const { return mMap.Ascent; }  // em
    double Height() const { return mMap.Height; }  // em
    const musicfont::Map& Map() const { return mMap; }

    // Lays a UTF-8 text out at a size in points. staffPoints is the staff height the text goes
    // with (it chooses brace glyphs); 0 when unknown. The run is the font's own, valid until
    // the next layout: a page lays out thousands of symbols.
    const MusicRun& Layout(std::string_view text, double sizePoints, double staffPoints);

    // Problems met while drawing (missing fonts or glyphs), each once.
    const std::vector<std::string>& Problems() const { return mProblems; }

  private:
    struct FaceInfo {
        FT_Face Metrics = nullptr;
        cairo_font_face_t* Face = nullptr;
    };
    FaceInfo ResolveFace(const std::string& alias, double sizePoints);
    const Drawing& EntryDrawing(const musicfont::Entry& entry, double sizePoints,
                                double staffPoints);
    const Drawing& FallbackDrawing(char32_t ch);
    Drawing Build(const musicfont::Entry& entry, double sizePoints, double staffPoints);
    void AddElement(const musicfont::Element& element, double sizePoints, double staffPoints,
                    Drawing& out);
    void Report(const std::string& problem);
    // Reads a UTF-8 text into mChars (code points) and mCodes (code page bytes, 0 for none).
    void ReadCodes(std::string_view text);

    std::shared_ptr<const musicfont::Map> mShared;  // a map is parsed once per process
    const musicfont::Map& mMap;
    std::string mLilyPondDir;
    std::vector<const musicfont::Entry*> mByFirstCode[256];
    bool mBraceCode[256] = {};  // codes beginning an entry drawn as part of a brace
    std::u32string mChars;
    std::vector<uint8_t> mCodes;
    // Runs laid out, by sizes and text (see Layout), and the key being looked up.
    std::unordered_map<std::string, MusicRun> mRuns;
    std::string mRunKey;
    // The run found last, its sizes' bits and its text (a view of its key in mRuns).
    struct LastRun {
        const MusicRun* Run = nullptr;
        uint64_t Size = 0, Staff = 0;
        std::string_view Text;
    };
    LastRun mLast;
    MusicRun& Remember(std::pair<const std::string, MusicRun>& keyAndRun);
    static constexpr size_t kMaxRuns = 4096;
    static constexpr size_t kMaxDrawings = 4096;
    static constexpr size_t kMaxFallbacks = 1024;
    // Drawings by entry and the face variant they were built with (optical size, brace glyph).
    std::map<std::pair<const musicfont::Entry*, int64_t>, std::unique_ptr<Drawing>> mDrawings;
    std::map<char32_t, std::unique_ptr<Drawing>> mFallbacks;
    // The brace glyphs of a face, graded by height.
    struct BraceGrades {
        std::map<uint32_t, double> Measured;  // ink heights (font units) of glyphs looked at
        bool Scanned = false;                 // Sorted holds every glyph with ink
        std::vector<std::pair<double, uint32_t>> Sorted;  // (height, glyph), lowest first
    };
    // The brace glyph whose height is nearest `wanted` font units (0 when the face has none).
    static uint32_t NearestBraceGlyph(FT_Face face, BraceGrades& grades, double wanted);
    std::map<std::string, BraceGrades> mBraceGrades;
    std::vector<std::string> mProblems;
};

// Where the map of this thread is read from: the file set with SetMusicFontMapFile, else
// <application folder>/Common/Config/MusicFont.txt.
std::string CurrentMapFile();
// Sets the map file of this thread; empty goes back to the application folder's map.
void SetMapFileOverride(std::string path);

}  // namespace corvendi::cairoimpl
