// Drawing of one colour collected before it goes to cairo.
//
// cairo's PDF and SVG surfaces pay for every drawing call: each operation is recorded, its
// extents are merged into the page's region, and it is written with its own state and
// preamble. A page of music is thousands of small symbols, so the surfaces hand cairo a page's
// glyphs in one call per font and its lines in one path per pen instead. Drawing in a single
// opaque colour gives the same picture in any order, so a batch holds one colour; batches of
// several colours wait in order in DrawingLayers until the drawing is needed: a page ends,
// pixels are read, a file is written.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace corvendi::cairoimpl {

// A path kept as cairo's own path data, appended to a context in one call.
class PathData {
  public:
    void MoveTo(double x, double y);
    void LineTo(double x, double y);
    void CurveTo(double x1, double y1, double x2, double y2, double x3, double y3);
    void ClosePath();
    void Rectangle(double x, double y, double width, double height);
    // A closed polygon turned the way cairo_rectangle turns, so that overlapping shapes of one
    // fill add up under the non-zero winding rule instead of cancelling.
    void Polygon(const std::vector<std::pair<double, double>>& points);

    bool Empty() const { return mData.empty(); }
    void Clear() { mData.clear(); }
    // Joins lone upright and level segments lying on one line into one segment wherever their
    // strokes overlap or touch; the ends reach capReach beyond each end point. A stroke of the
    // result covers exactly what the segments covered; other subpaths are kept as they are.
    void JoinCollinearSegments(double capReach);
    // Replaces the context's current path with this one.
    void SetOn(cairo_t* cr) const;

  private:
    void Add(cairo_path_data_type_t type, std::initializer_list<double> coordinates);
    std::vector<cairo_path_data_t> mData;
};

// How lines are stroked: the pen width in device units, caps and joins, and a dash pattern.
// Butt ends give a filled bar as a line along its middle, half the numbers of its outline.
enum class PenKind { Square, Butt, Round, Dash, Dot, DashDot, DashDotDot };

struct Pen {
    PenKind Kind = PenKind::Square;
    double Width = 1.0;
    double Dot = 1.0;  // the length of a dot in a dash pattern
    bool operator==(const Pen&) const = default;
};

class DrawingBatch {
  public:
    DrawingBatch() = default;
    ~DrawingBatch();
    DrawingBatch(const DrawingBatch&) = delete;
    DrawingBatch& operator=(const DrawingBatch&) = delete;

    // True when nothing waits.
    bool Empty() const { return mEmpty; }
    // The colour of what waits (0xBBGGRR); meaningless when empty.
    int32_t Color() const { return mColor; }
    // Starts collecting drawing of this colour; the batch must be empty.
    void Begin(int32_t color);

    PathData& Fill() { return Touch(mFill); }
    PathData& Stroke(const Pen& pen);
    // Glyphs of a scaled font, positioned in device units.
    void AddGlyphs(cairo_scaled_font_t* font, const cairo_glyph_t* glyphs, int count);
    // Glyphs that stand for a UTF-8 text, with the clusters mapping one to the other; PDF
    // viewers extract the text from them.
    void AddText(cairo_scaled_font_t* font, const cairo_glyph_t* glyphs, int count,
                 std::string_view utf8, const cairo_text_cluster_t* clusters, int clusterCount);

    // Draws what waits on the context and empties the batch; the context's source, path and
    // line settings are left changed.
    void DrawOn(cairo_t* cr);
    // Drops what waits.
    void Clear();

  private:
    struct GlyphRun {
        cairo_scaled_font_t* Font = nullptr;  // referenced while the run waits
        bool WithText = false;
        std::vector<cairo_glyph_t> Glyphs;
        std::string Text;
        std::vector<cairo_text_cluster_t> Clusters;
    };
    struct StrokeRun {
        Pen Style;
        PathData Path;
    };

    PathData& Touch(PathData& path) {
        mEmpty = false;
        return path;
    }
    GlyphRun& RunFor(cairo_scaled_font_t* font, bool withText);
    static void ApplyPen(cairo_t* cr, const Pen& pen);
    static void JoinSegments(StrokeRun& run);

    bool mEmpty = true;
    int32_t mColor = 0;
    PathData mFill;
    std::vector<StrokeRun> mStrokes;
    std::vector<GlyphRun> mRuns;
};

}  // namespace corvendi::cairoimpl
