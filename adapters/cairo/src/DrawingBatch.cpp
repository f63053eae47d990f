#include "DrawingBatch.h"

#include <algorithm>
#include <cmath>

#include "common/ThreadInstance.h"

namespace corvendi::cairoimpl {

void PathData::Add(cairo_path_data_type_t type, std::initializer_list<double> coordinates) {
    cairo_path_data_t header;
    header.header.type = type;
    header.header.length = static_cast<int>(1 + coordinates.size() / 2);
    mData.push_back(header);
    for (auto it = coordinates.begin(); it != coordinates.end(); it += 2) {
        cairo_path_data_t point;
        point.point.x = it[0];
        point.point.y = it[1];
        mData.push_back(point);
    }
}

void PathData::MoveTo(double x, double y) { Add(CAIRO_PATH_MOVE_TO, {x, y}); }

void PathData::LineTo(double x, double y) { Add(CAIRO_PATH_LINE_TO, {x, y}); }

void PathData::CurveTo(double x1, double y1, double x2, double y2, double x3, double y3) {
    Add(CAIRO_PATH_CURVE_TO, {x1, y1, x2, y2, x3, y3});
}

void PathData::ClosePath() { Add(CAIRO_PATH_CLOSE_PATH, {}); }

void PathData::Rectangle(double x, double y, double width, double height) {
    // The corners in cairo_rectangle's order.
    MoveTo(x, y);
    LineTo(x + width, y);
    LineTo(x + width, y + height);
    LineTo(x, y + height);
    ClosePath();
}

void PathData::Polygon(const std::vector<std::pair<double, double>>& points) {
    if (points.empty()) return;
    double twiceArea = 0.0;
    for (size_t i = 0; i < points.size(); ++i) {
        const auto& [x0, y0] = points[i];
        const auto& [x1, y1] = points[(i + 1) % points.size()];
        twiceArea += x0 * y1 - x1 * y0;
    }
    // cairo_rectangle with a positive size turns with a positive area in device space (y down).
    if (twiceArea >= 0.0) {
        MoveTo(points.front().first, points.front().second);
        for (size_t i = 1; i < points.size(); ++i) LineTo(points[i].first, points[i].second);
    } else {
        MoveTo(points.back().first, points.back().second);
        for (size_t i = points.size() - 1; i-- > 0;) LineTo(points[i].first, points[i].second);
    }
    ClosePath();
}

void PathData::SetOn(cairo_t* cr) const {
    cairo_new_path(cr);
    cairo_path_t path;
    path.status = CAIRO_STATUS_SUCCESS;
    path.data = const_cast<cairo_path_data_t*>(mData.data());
    path.num_data = static_cast<int>(mData.size());
    cairo_append_path(cr, &path);
}

namespace {

// A segment along one axis: the line it lies on, and its extent along that line.
struct AxisSegment {
    bool Level;
    double Line, From, To;
    bool operator<(const AxisSegment& o) const {
        if (Level != o.Level) return Level < o.Level;
        if (Line != o.Line) return Line < o.Line;
        return From < o.From;
    }
};

// The lone upright or level segment starting at data[i] (a move and one line, the next
// subpath or the end after it), if it is one.
bool AxisSegmentAt(const std::vector<cairo_path_data_t>& data, size_t i, AxisSegment& out) {
    const bool pair = data[i].header.type == CAIRO_PATH_MOVE_TO && i + 3 < data.size() &&
                      data[i + 2].header.type == CAIRO_PATH_LINE_TO &&
                      (i + 4 == data.size() || data[i + 4].header.type == CAIRO_PATH_MOVE_TO);
    if (!pair) return false;
    const auto& a = data[i + 1].point;
    const auto& b = data[i + 3].point;
    if (a.y == b.y && a.x != b.x) {
        out = {true, a.y, std::min(a.x, b.x), std::max(a.x, b.x)};
        return true;
    }
    if (a.x == b.x && a.y != b.y) {
        out = {false, a.x, std::min(a.y, b.y), std::max(a.y, b.y)};
        return true;
    }
    return false;
}

}  // namespace

void PathData::JoinCollinearSegments(double capReach) {
    // Kept between calls: a page strokes dozens of paths.
    std::vector<AxisSegment>& segments = detail::ThreadInstance<std::vector<AxisSegment>>();
    segments.clear();
    AxisSegment segment{};
    bool othersToo = false;
    for (size_t i = 0; i < mData.size();) {
        if (AxisSegmentAt(mData, i, segment)) {
            segments.push_back(segment);
            i += 4;
        } else {
            othersToo = true;
            i += static_cast<size_t>(mData[i].header.length);
        }
    }
    if (segments.size() < 2) return;
    // Stems and staff lines mostly come in order already.
    if (!std::is_sorted(segments.begin(), segments.end()))
        std::sort(segments.begin(), segments.end());
    // The other subpaths move to the front in place; the joined segments follow them.
    size_t kept = 0;
    for (size_t i = 0; othersToo && i < mData.size();) {
        if (AxisSegmentAt(mData, i, segment)) {
            i += 4;
            continue;
        }
        const size_t length = static_cast<size_t>(mData[i].header.length);
        for (size_t k = 0; k < length; ++k) mData[kept++] = mData[i + k];
        i += length;
    }
    mData.resize(kept);
    auto emit = [&](const AxisSegment& s) {
        if (s.Level) {
            MoveTo(s.From, s.Line);
            LineTo(s.To, s.Line);
        } else {
            MoveTo(s.Line, s.From);
            LineTo(s.Line, s.To);
        }
    };
    AxisSegment run = segments.front();
    for (size_t i = 1; i < segments.size(); ++i) {
        const AxisSegment& s = segments[i];
        if (s.Level == run.Level && s.Line == run.Line && s.From - capReach <= run.To + capReach) {
            run.To = std::max(run.To, s.To);
            continue;
        }
        emit(run);
        run = s;
    }
    emit(run);
}

DrawingBatch::~DrawingBatch() { Clear(); }

void DrawingBatch::Begin(int32_t color) {
    mColor = color;
    mEmpty = false;
}

PathData& DrawingBatch::Stroke(const Pen& given) {
    // Widths computed from a symbol's geometry differ in their last bits from symbol to
    // symbol; to 1/4096 of a device unit they are one pen, stroked as one path.
    Pen pen = given;
    pen.Width = std::round(pen.Width * 4096.0) / 4096.0;
    pen.Dot = std::round(pen.Dot * 4096.0) / 4096.0;
    StrokeRun* unused = nullptr;
    for (StrokeRun& run : mStrokes) {
        if (run.Path.Empty()) {
            if (!unused) unused = &run;
        } else if (run.Style == pen) {
            return Touch(run.Path);
        }
    }
    if (!unused) unused = &mStrokes.emplace_back();
    unused->Style = pen;
    return Touch(unused->Path);
}

DrawingBatch::GlyphRun& DrawingBatch::RunFor(cairo_scaled_font_t* font, bool withText) {
    mEmpty = false;
    GlyphRun* unused = nullptr;
    for (GlyphRun& run : mRuns) {
        if (run.Font == font && run.WithText == withText) return run;
        if (!run.Font && !unused) unused = &run;
    }
    if (!unused) unused = &mRuns.emplace_back();
    unused->Font = cairo_scaled_font_reference(font);
    unused->WithText = withText;
    return *unused;
}

void DrawingBatch::AddGlyphs(cairo_scaled_font_t* font, const cairo_glyph_t* glyphs, int count) {
    if (count <= 0) return;
    GlyphRun& run = RunFor(font, false);
    if (count == 1) {
        run.Glyphs.push_back(*glyphs);  // a music symbol's glyph, the common case
        return;
    }
    run.Glyphs.insert(run.Glyphs.end(), glyphs, glyphs + count);
}

void DrawingBatch::AddText(cairo_scaled_font_t* font, const cairo_glyph_t* glyphs, int count,
                           std::string_view utf8, const cairo_text_cluster_t* clusters,
                           int clusterCount) {
    if (count <= 0) return;
    GlyphRun& run = RunFor(font, true);
    run.Glyphs.insert(run.Glyphs.end(), glyphs, glyphs + count);
    run.Text.append(utf8);
    run.Clusters.insert(run.Clusters.end(), clusters, clusters + clusterCount);
}

void DrawingBatch::ApplyPen(cairo_t* cr, const Pen& pen) {
    cairo_set_line_width(cr, pen.Width);
    cairo_set_line_join(cr,
                        pen.Kind == PenKind::Round ? CAIRO_LINE_JOIN_ROUND : CAIRO_LINE_JOIN_MITER);
    const double d = pen.Dot;
    switch (pen.Kind) {
        case PenKind::Square:
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_SQUARE);
            cairo_set_dash(cr, nullptr, 0, 0);
            return;
        case PenKind::Round:
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_dash(cr, nullptr, 0, 0);
            return;
        case PenKind::Butt: cairo_set_dash(cr, nullptr, 0, 0); break;
        case PenKind::Dash: {
            const double dashes[] = {6 * d, 3 * d};
            cairo_set_dash(cr, dashes, 2, 0);
            break;
        }
        case PenKind::Dot: {
            const double dashes[] = {d, d};
            cairo_set_dash(cr, dashes, 2, 0);
            break;
        }
        case PenKind::DashDot: {
            const double dashes[] = {6 * d, 2 * d, d, 2 * d};
            cairo_set_dash(cr, dashes, 4, 0);
            break;
        }
        case PenKind::DashDotDot: {
            const double dashes[] = {6 * d, 2 * d, d, 2 * d, d, 2 * d};
            cairo_set_dash(cr, dashes, 6, 0);
            break;
        }
    }
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void DrawingBatch::JoinSegments(StrokeRun& run) {
    // Dashes restart with every segment, so only solid pens may join them.
    switch (run.Style.Kind) {
        case PenKind::Square: run.Path.JoinCollinearSegments(run.Style.Width / 2.0); return;
        case PenKind::Butt:
        case PenKind::Round: run.Path.JoinCollinearSegments(0.0); return;
        default: return;
    }
}

void DrawingBatch::DrawOn(cairo_t* cr) {
    if (mEmpty) return;
    const auto c = static_cast<uint32_t>(mColor);
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                         ((c >> 16) & 0xFF) / 255.0);
    if (!mFill.Empty()) {
        mFill.SetOn(cr);
        cairo_fill(cr);
    }
    for (StrokeRun& run : mStrokes) {
        if (run.Path.Empty()) continue;
        ApplyPen(cr, run.Style);
        JoinSegments(run);
        run.Path.SetOn(cr);
        cairo_stroke(cr);
    }
    cairo_set_dash(cr, nullptr, 0, 0);
    // Only documents keep the glyphs' order; pixels come out the same in any.
    const bool document = cairo_surface_get_type(cairo_get_target(cr)) != CAIRO_SURFACE_TYPE_IMAGE;
    for (GlyphRun& run : mRuns) {
        if (!run.Font || run.Glyphs.empty()) continue;
        cairo_set_scaled_font(cr, run.Font);
        const int count = static_cast<int>(run.Glyphs.size());
        if (!run.WithText && document) {
            // Glyphs on one baseline, left to right, are written as one text line with one
            // number a glyph; any order draws the same.
            std::stable_sort(run.Glyphs.begin(), run.Glyphs.end(),
                             [](const cairo_glyph_t& a, const cairo_glyph_t& b) {
                                 return a.y < b.y || (a.y == b.y && a.x < b.x);
                             });
        }
        if (run.WithText) {
            cairo_show_text_glyphs(cr, run.Text.data(), static_cast<int>(run.Text.size()),
                                   run.Glyphs.data(), count, run.Clusters.data(),
                                   static_cast<int>(run.Clusters.size()),
                                   cairo_text_cluster_flags_t{});
        } else {
            cairo_show_glyphs(cr, run.Glyphs.data(), count);
        }
    }
    Clear();
}

void DrawingBatch::Clear() {
    mFill.Clear();
    for (StrokeRun& run : mStrokes) run.Path.Clear();
    for (GlyphRun& run : mRuns) {
        if (run.Font) cairo_scaled_font_destroy(run.Font);
        run.Font = nullptr;
        run.Glyphs.clear();
        run.Text.clear();
        run.Clusters.clear();
    }
    mEmpty = true;
}

}  // namespace corvendi::cairoimpl
