#include <corvendi/cairo/CairoSurface.h>

#include <cairo.h>

#include <strings.h>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <thread>
#include <tuple>

#include "DrawingBatch.h"
#include "DrawingLayers.h"
#include "MusicFont.h"
#include "TextFaces.h"
#include "common/Arith.h"
#include "common/Cp1252.h"

namespace corvendi {

using cairoimpl::Bounds;
using cairoimpl::DrawingBatch;
using cairoimpl::MusicFont;
using cairoimpl::MusicRun;
using cairoimpl::PathData;
using cairoimpl::Pen;
using cairoimpl::PenKind;

namespace {

constexpr const char* kMusicFaceName = "Quavrix";
constexpr double kTwipsPerPoint = 20.0;

bool IsMusicFont(const FontSpec& font) {
    return strcasecmp(font.Name.c_str(), kMusicFaceName) == 0;
}

void SetColor(cairo_t* cr, int32_t color) {
    const auto c = static_cast<uint32_t>(color);
    cairo_set_source_rgb(cr, (c & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0,
                         ((c >> 16) & 0xFF) / 255.0);
}

// The pen of a draw style: 0 solid, 1 dash, 2 dot, 3 dash-dot, 4 dash-dot-dot.
PenKind PenKindOf(int32_t drawStyle) {
    switch (drawStyle) {
        case 1: return PenKind::Dash;
        case 2: return PenKind::Dot;
        case 3: return PenKind::DashDot;
        case 4: return PenKind::DashDotDot;
        default: return PenKind::Square;
    }
}

// Visits the lines of a text (split at line feeds; a carriage return before one is dropped).
template <typename Visit>
void ForEachLine(std::string_view text, Visit&& visit) {
    size_t start = 0;
    while (true) {
        size_t end = text.find('\n', start);
        std::string_view line = text.substr(
            start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        visit(line);
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
}

double LineCount(std::string_view text) {
    return static_cast<double>(std::count(text.begin(), text.end(), '\n') + 1);
}

// cairo puts a context or font into a lasting error state on malformed UTF-8, so text goes to
// it re-encoded: malformed bytes become U+FFFD, and a NUL ends the text as C strings do.
std::string CleanUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char32_t ch : Utf8ToCodePoints(text)) {
        if (ch == 0) break;
        if (ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) ch = 0xFFFD;
        AppendUtf8(out, ch);
    }
    return out;
}

// Coordinates are kept within this many device units, well inside cairo's fixed-point range.
constexpr double kDeviceLimit = 1e6;
// Glyphs beyond this many device units per em are not drawn: rasterising them would take
// unbounded memory. Their metrics still count.
constexpr double kMaxDeviceEm = 8000.0;
// Below this, glyphs are smaller than a hundredth of a pixel or point: nothing to see.
constexpr double kMinDeviceEm = 0.05;

// A filled rectangle (left, top, right, bottom in device units) as a line along its longer
// middle with butt ends.
void AddBar(DrawingBatch& batch, double x0, double y0, double x1, double y1) {
    const double width = x1 - x0, height = y1 - y0;
    if (width <= 0.0 || height <= 0.0) return;
    if (height >= width) {
        PathData& path = batch.Stroke(Pen{PenKind::Butt, width, 0.0});
        path.MoveTo((x0 + x1) / 2.0, y0);
        path.LineTo((x0 + x1) / 2.0, y1);
    } else {
        PathData& path = batch.Stroke(Pen{PenKind::Butt, height, 0.0});
        path.MoveTo(x0, (y0 + y1) / 2.0);
        path.LineTo(x1, (y0 + y1) / 2.0);
    }
}

}  // namespace

struct CairoSurface::Impl {
    cairo_font_options_t* Options = nullptr;
    std::map<std::tuple<cairo_font_face_t*, double, double>, cairo_scaled_font_t*> Scaled;
    // Whether the current font is the music font (asked for every symbol drawn or measured).
    bool Music = false;
    // The music font, held from its first use after a font is selected until the next font
    // is: finding the thread's font looks the map file up, too much for every symbol, and a new
    // map file or application folder takes effect with the next font selected (a page selects
    // its fonts as it draws). Fonts belong to their thread, so another thread finds its own.
    std::shared_ptr<MusicFont> HeldMusic;
    std::thread::id HeldOn;
    // The music font size of the last staff symbols drawn (chooses brace glyphs), points.
    double StaffPoints = 0.0;
    // Drawing not yet handed to cairo.
    cairoimpl::DrawingLayers Layers;
    // Drawing wholly outside this box (device units) is collected in Dropped and thrown away.
    bool Dropping = false;
    Bounds Kept;
    DrawingBatch Dropped;
    std::string DocumentBytes;

    Impl() {
        Options = cairo_font_options_create();
        cairo_font_options_set_hint_style(Options, CAIRO_HINT_STYLE_NONE);
        cairo_font_options_set_hint_metrics(Options, CAIRO_HINT_METRICS_OFF);
        cairo_font_options_set_antialias(Options, CAIRO_ANTIALIAS_GRAY);
    }
    ~Impl() {
        Release();
        cairo_font_options_destroy(Options);
    }
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    void Release() {
        for (auto& entry : Scaled) cairo_scaled_font_destroy(entry.second);
        Scaled.clear();
    }

    MusicFont& MusicFontInUse() {
        if (!HeldMusic || HeldOn != std::this_thread::get_id()) {
            HeldMusic = MusicFont::ForThread();
            HeldOn = std::this_thread::get_id();
        }
        return *HeldMusic;
    }

    // A scaled font with a font matrix of (sx, sy) device units per em and identity CTM; null
    // when cairo cannot make it.
    cairo_scaled_font_t* Get(cairo_font_face_t* face, double sx, double sy) {
        auto key = std::make_tuple(face, sx, sy);
        auto found = Scaled.find(key);
        if (found != Scaled.end()) return found->second;
        if (Scaled.size() > 512) Release();
        cairo_matrix_t fontMatrix;
        cairo_matrix_t ctm;
        cairo_matrix_init_scale(&fontMatrix, sx, sy);
        cairo_matrix_init_identity(&ctm);
        cairo_scaled_font_t* font = cairo_scaled_font_create(face, &fontMatrix, &ctm, Options);
        if (cairo_scaled_font_status(font) != CAIRO_STATUS_SUCCESS) {
            cairo_scaled_font_destroy(font);
            font = nullptr;
        }
        Scaled.emplace(key, font);
        return font;
    }
};

CairoSurface::CairoSurface(int32_t twipsPerPixel)
    : mTwipsPerPixel(std::max<int32_t>(1, twipsPerPixel)), mImpl(std::make_unique<Impl>()) {
    mImpl->Music = IsMusicFont(mFont);
}

CairoSurface::~CairoSurface() = default;

void CairoSurface::ReleaseFonts() { mImpl->Release(); }

std::string& CairoSurface::DocumentBytes() { return mImpl->DocumentBytes; }

void CairoSurface::DropDrawingOutside(double x0, double y0, double x1, double y1) {
    mImpl->Dropping = true;
    mImpl->Kept = Bounds{x0, y0, x1, y1};
}

void CairoSurface::KeepDrawingEverywhere() {
    mImpl->Dropping = false;
    mImpl->Dropped.Clear();
}

DrawingBatch& CairoSurface::BatchFor(int32_t color, double x0, double y0, double x1, double y1) {
    if (mImpl->Dropping) {
        const Bounds& kept = mImpl->Kept;
        if (std::max(x0, x1) < kept.X0 || std::min(x0, x1) > kept.X1 ||
            std::max(y0, y1) < kept.Y0 || std::min(y0, y1) > kept.Y1) {
            mImpl->Dropped.Clear();
            mImpl->Dropped.Begin(color);
            return mImpl->Dropped;
        }
    }
    const double unit = DeviceUnitsPerTwip();
    return mImpl->Layers.For(color, Bounds{x0, y0, x1, y1}, Width() * unit, Height() * unit);
}

void CairoSurface::Flush() {
    cairoimpl::DrawingLayers& layers = mImpl->Layers;
    if (layers.Empty()) return;
    if (cairo_t* cr = DrawingContext()) {
        layers.DrawOn(cr);
    } else {
        layers.Clear();
    }
}

bool CairoSurface::CloseDocument(cairo_t*& context, cairo_surface_t*& surface) {
    mImpl->Layers.Clear();
    ReleaseFonts();
    if (context) {
        cairo_destroy(context);
        context = nullptr;
    }
    if (!surface) return true;
    cairo_surface_finish(surface);
    const bool written = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    surface = nullptr;
    return written;
}

void CairoSurface::SetFont(const FontSpec& font) {
    FontSpec spec = font;
    // Sizes are kept to what a page can show; metrics stay proportional within that range.
    if (!(spec.Size > 0.0f) || !std::isfinite(spec.Size)) spec.Size = 1.0f;
    spec.Size = std::clamp(spec.Size, 0.01f, 10000.0f);
    Surface::SetFont(spec);
    mImpl->Music = IsMusicFont(spec);
    mImpl->HeldMusic.reset();
}

double CairoSurface::DevicePenWidth() const {
    double width = std::max<int32_t>(1, mDrawWidth) * mTwipsPerPixel * DeviceUnitsPerTwip();
    return std::min(width, 1000.0);
}

void CairoSurface::Cls() {
    mCurrentX = 0.0;
    mCurrentY = 0.0;
    cairo_t* cr = DrawingContext();
    if (!cr) return;
    mImpl->Layers.Clear();  // painted over anyway
    cairo_save(cr);
    SetColor(cr, mBackColor);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_restore(cr);
}

void CairoSurface::Line(double x1, double y1, double x2, double y2, int32_t color, LineFill fill) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2))
        return;
    cairo_t* cr = DrawingContext();
    if (!cr) return;
    const double unit = DeviceUnitsPerTwip();
    const bool pixels = PixelAligned();
    // Pixel surfaces: each end goes to the centre of its pixel, so a one-pixel pen covers
    // exactly the pixels from one end to the other.
    auto device = [&](double v) {
        double d = std::clamp(v * unit, -kDeviceLimit, kDeviceLimit);
        return pixels ? NInt(d) + 0.5 : d;
    };
    double a = device(x1), b = device(y1), c = device(x2), d = device(y2);
    const double pen = DevicePenWidth();
    const bool upright = a == c || b == d;
    if (fill != LineFill::FilledBox && mDrawStyle == 5) return;  // transparent pen
    // Every way of drawing the line stays within a pen's width of its ends (a pixel more for
    // antialiasing).
    DrawingBatch& batch = BatchFor(color, std::min(a, c) - pen - 1.0, std::min(b, d) - pen - 1.0,
                                   std::max(a, c) + pen + 1.0, std::max(b, d) + pen + 1.0);
    if (fill == LineFill::FilledBox && upright && !pixels) {
        // The box of an upright or level line is that line with square ends.
        PathData& path = batch.Stroke(Pen{PenKind::Square, pen, 0.0});
        path.MoveTo(a, b);
        path.LineTo(c, d);
        return;
    }
    // On pixels, a solid upright or level line of an odd number of pixels covers whole pixels:
    // its box, filled, is the same picture, and cairo fills such boxes without rasterising.
    const bool wholePixels = pixels && upright && std::fmod(pen, 2.0) == 1.0;
    if (fill == LineFill::FilledBox ||
        (wholePixels && fill == LineFill::None && PenKindOf(mDrawStyle) == PenKind::Square)) {
        double left = std::min(a, c) - pen / 2.0, right = std::max(a, c) + pen / 2.0;
        double top = std::min(b, d) - pen / 2.0, bottom = std::max(b, d) + pen / 2.0;
        batch.Fill().Rectangle(left, top, right - left, bottom - top);
        return;
    }
    const PenKind kind = PenKindOf(mDrawStyle);
    const double dot = kind == PenKind::Square ? 0.0 : std::max(pen, mTwipsPerPixel * unit);
    const Pen style{kind, pen, dot};
    PathData& path = batch.Stroke(style);
    if (fill == LineFill::Box) {
        path.Rectangle(std::min(a, c), std::min(b, d), std::abs(c - a), std::abs(d - b));
    } else {
        path.MoveTo(a, b);
        path.LineTo(c, d);
    }
}

void CairoSurface::Print(std::string_view text) {
    DrawText(mCurrentX, mCurrentY, text, !mFontTransparent);
    mCurrentX += TextWidth(text);
}

void CairoSurface::TextOut(int32_t px, int32_t py, std::string_view text) {
    DrawText(static_cast<double>(px) * mTwipsPerPixel, static_cast<double>(py) * mTwipsPerPixel,
             text, !mBackgroundTransparent);
}

void CairoSurface::DrawTextAt(double x, double y, std::string_view text) {
    DrawText(x, y, text, false);
}

void CairoSurface::PolyBezier(std::span<const PixelPoint> points) {
    if (points.size() < 4) return;
    cairo_t* cr = DrawingContext();
    if (!cr) return;
    const double scale = mTwipsPerPixel * DeviceUnitsPerTwip();
    const double offset = PixelAligned() ? 0.5 : 0.0;
    auto x = [&](const PixelPoint& p) {
        return std::clamp(p.X * scale, -kDeviceLimit, kDeviceLimit) + offset;
    };
    auto y = [&](const PixelPoint& p) {
        return std::clamp(p.Y * scale, -kDeviceLimit, kDeviceLimit) + offset;
    };
    const Pen round{PenKind::Round, DevicePenWidth(), 0.0};
    // A curve lies within the hull of its control points.
    Bounds hull{x(points[0]), y(points[0]), x(points[0]), y(points[0])};
    for (const PixelPoint& p : points) {
        hull.X0 = std::min(hull.X0, x(p));
        hull.Y0 = std::min(hull.Y0, y(p));
        hull.X1 = std::max(hull.X1, x(p));
        hull.Y1 = std::max(hull.Y1, y(p));
    }
    hull = hull.Grown(round.Width + 1.0);
    PathData& path = BatchFor(mForeColor, hull.X0, hull.Y0, hull.X1, hull.Y1).Stroke(round);
    path.MoveTo(x(points[0]), y(points[0]));
    for (size_t i = 1; i + 2 < points.size(); i += 3) {
        path.CurveTo(x(points[i]), y(points[i]), x(points[i + 1]), y(points[i + 1]),
                     x(points[i + 2]), y(points[i + 2]));
    }
}

// Text metrics come from the face at a fixed reference size and scale linearly (the metrics
// are unhinted), so no size, however odd, asks the font engine for anything unusual.
constexpr double kMetricsEm = 1000.0;

double CairoSurface::TextAscent() {
    if (mImpl->Music) return mImpl->MusicFontInUse().Ascent() * mFont.Size * kTwipsPerPoint;
    const auto& face = cairoimpl::ResolveTextFace(mFont.Name, mFont.Bold, mFont.Italic);
    cairo_scaled_font_t* font = mImpl->Get(face.Face, kMetricsEm, kMetricsEm);
    if (!font) return 0.0;
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font, &extents);
    return extents.ascent * mFont.Size * kTwipsPerPoint / kMetricsEm;
}

double CairoSurface::TextWidth(std::string_view text) {
    double widest = 0.0;
    if (mImpl->Music) {
        MusicFont& music = mImpl->MusicFontInUse();
        ForEachLine(text, [&](std::string_view line) {
            widest = std::max(widest, music.Layout(line, mFont.Size, mImpl->StaffPoints).Width);
        });
        return widest * mFont.Size * kTwipsPerPoint;
    }
    const auto& face = cairoimpl::ResolveTextFace(mFont.Name, mFont.Bold, mFont.Italic);
    cairo_scaled_font_t* font = mImpl->Get(face.Face, kMetricsEm, kMetricsEm);
    if (!font) return 0.0;
    ForEachLine(text, [&](std::string_view line) {
        std::string copy = CleanUtf8(line);
        cairo_text_extents_t extents;
        cairo_scaled_font_text_extents(font, copy.c_str(), &extents);
        widest = std::max(widest, extents.x_advance);
    });
    return widest * mFont.Size * kTwipsPerPoint / kMetricsEm;
}

double CairoSurface::TextHeight(std::string_view text) {
    const double lines = LineCount(text);
    if (mImpl->Music) return lines * mImpl->MusicFontInUse().Height() * mFont.Size * kTwipsPerPoint;
    const auto& face = cairoimpl::ResolveTextFace(mFont.Name, mFont.Bold, mFont.Italic);
    cairo_scaled_font_t* font = mImpl->Get(face.Face, kMetricsEm, kMetricsEm);
    if (!font) return 0.0;
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font, &extents);
    return lines * (extents.ascent + extents.descent) * mFont.Size * kTwipsPerPoint / kMetricsEm;
}

std::string CairoSurface::ResolvedFamily() {
    if (mImpl->Music) return kMusicFaceName;
    return cairoimpl::ResolveTextFace(mFont.Name, mFont.Bold, mFont.Italic).Family;
}

void CairoSurface::DrawText(double x, double y, std::string_view text, bool opaque) {
    if (text.empty() || !std::isfinite(x) || !std::isfinite(y)) return;
    if (std::abs(x) * DeviceUnitsPerTwip() > kDeviceLimit ||
        std::abs(y) * DeviceUnitsPerTwip() > kDeviceLimit)
        return;
    cairo_t* cr = DrawingContext();
    if (!cr) return;
    const double unit = DeviceUnitsPerTwip();
    if (opaque) {
        const double width = TextWidth(text) * unit;
        const double height = TextHeight(text) * unit;
        BatchFor(mBackColor, x * unit - 1.0, y * unit - 1.0, x * unit + width + 1.0,
                 y * unit + height + 1.0)
            .Fill()
            .Rectangle(x * unit, y * unit, width, height);
    }
    if (mImpl->Music) {
        // Only a text of several lines needs the line height.
        const bool severalLines = text.find('\n') != std::string_view::npos;
        const double lineHeight =
            severalLines ? mImpl->MusicFontInUse().Height() * mFont.Size * kTwipsPerPoint : 0.0;
        double lineY = y;
        ForEachLine(text, [&](std::string_view line) {
            DrawMusic(cr, x, lineY, line);
            lineY += lineHeight;
        });
        return;
    }
    const auto& face = cairoimpl::ResolveTextFace(mFont.Name, mFont.Bold, mFont.Italic);
    const double size = mFont.Size * kTwipsPerPoint * unit;  // device units per em
    const bool drawable = size >= kMinDeviceEm && size <= kMaxDeviceEm;
    cairo_scaled_font_t* font = drawable ? mImpl->Get(face.Face, size, size) : nullptr;
    if (!font) return;
    cairo_font_extents_t extents;
    cairo_scaled_font_extents(font, &extents);
    double lineY = y * unit;
    ForEachLine(text, [&](std::string_view line) {
        const double baseline = lineY + extents.ascent;
        const std::string copy = CleanUtf8(line);
        DrawTextLine(font, x * unit, baseline, copy);
        if (mFont.Underline && face.Metrics) {
            const double perUnit = size / face.Metrics->units_per_EM;
            double thickness = std::max<double>(face.Metrics->underline_thickness, 1.0) * perUnit;
            if (PixelAligned()) thickness = std::max(thickness, 1.0);
            cairo_text_extents_t te;
            cairo_scaled_font_text_extents(font, copy.c_str(), &te);
            const double top =
                baseline - face.Metrics->underline_position * perUnit - thickness / 2.0;
            BatchFor(mForeColor, x * unit - 1.0, top - 1.0, x * unit + te.x_advance + 1.0,
                     top + thickness + 1.0)
                .Fill()
                .Rectangle(x * unit, top, te.x_advance, thickness);
        }
        lineY += extents.ascent + extents.descent;
    });
}

void CairoSurface::DrawTextLine(cairo_scaled_font_t* font, double x, double baseline,
                                const std::string& utf8) {
    cairo_glyph_t* glyphs = nullptr;
    int count = 0;
    cairo_text_cluster_t* clusters = nullptr;
    int clusterCount = 0;
    cairo_text_cluster_flags_t flags{};
    if (cairo_scaled_font_text_to_glyphs(font, x, baseline, utf8.data(),
                                         static_cast<int>(utf8.size()), &glyphs, &count, &clusters,
                                         &clusterCount, &flags) != CAIRO_STATUS_SUCCESS)
        return;
    // The glyphs' ink stays within the font's largest extents of their origins.
    cairo_font_extents_t fontExtents;
    cairo_scaled_font_extents(font, &fontExtents);
    const double reach = std::max(fontExtents.height, fontExtents.max_x_advance) + 1.0;
    Bounds box{x, baseline, x, baseline};
    for (int i = 0; i < count; ++i) {
        box.X0 = std::min(box.X0, glyphs[i].x);
        box.Y0 = std::min(box.Y0, glyphs[i].y);
        box.X1 = std::max(box.X1, glyphs[i].x);
        box.Y1 = std::max(box.Y1, glyphs[i].y);
    }
    box = box.Grown(reach);
    DrawingBatch& batch = BatchFor(mForeColor, box.X0, box.Y0, box.X1, box.Y1);
    if (flags == 0) {
        batch.AddText(font, glyphs, count, utf8, clusters, clusterCount);
    } else {
        batch.AddGlyphs(font, glyphs, count);  // clusters that run backwards: glyphs alone
    }
    cairo_glyph_free(glyphs);
    cairo_text_cluster_free(clusters);
}

void CairoSurface::DrawMusic(cairo_t* cr, double x, double y, std::string_view text) {
    MusicFont& music = mImpl->MusicFontInUse();
    const double points = mFont.Size;
    // Only brace characters depend on the staff size in use, which other music sets.
    const MusicRun& run = music.Layout(text, points, mImpl->StaffPoints);
    if (!run.Brace) mImpl->StaffPoints = points;
    const double unit = DeviceUnitsPerTwip();
    const double em = points * kTwipsPerPoint * unit;  // device units per em
    if (em < kMinDeviceEm || em > kMaxDeviceEm) return;
    const double originX = x * unit;
    const double baseline = (y + music.Ascent() * points * kTwipsPerPoint) * unit;
    const bool pixels = PixelAligned();
    // The ink of the run; bars rounded to whole pixels and antialiasing reach a little beyond.
    Bounds ink{originX, baseline, originX, baseline};
    for (const auto& [pen, drawing] : run.Items) {
        if (drawing->Ink.Empty) continue;
        ink.X0 = std::min(ink.X0, originX + (pen + drawing->Ink.X0) * em);
        ink.X1 = std::max(ink.X1, originX + (pen + drawing->Ink.X1) * em);
        ink.Y0 = std::min(ink.Y0, baseline - drawing->Ink.Y1 * em);
        ink.Y1 = std::max(ink.Y1, baseline - drawing->Ink.Y0 * em);
    }
    ink = ink.Grown(2.0);
    DrawingBatch* batch = &BatchFor(mForeColor, ink.X0, ink.Y0, ink.X1, ink.Y1);

    std::vector<std::pair<double, double>> corners;
    for (const auto& [pen, drawing] : run.Items) {
        const double penX = originX + pen * em;
        for (const cairoimpl::PlacedShape& shape : drawing->Shapes) {
            if (shape.Points.empty()) continue;
            if (shape.IsRect && pixels) {
                // Upright bars (stems, barlines) on whole pixels, at least one pixel wide.
                double x0 = penX + shape.Points[0].first * em;
                double x1 = penX + shape.Points[1].first * em;
                double y0 = baseline - shape.Points[2].second * em;
                double y1 = baseline - shape.Points[0].second * em;
                // The same width wherever the bar falls, its centre kept to the nearest pixel.
                double width = std::max(1, NInt(x1 - x0));
                double left = NInt((x0 + x1 - width) / 2.0);
                batch->Fill().Rectangle(left, y0, width, y1 - y0);
                continue;
            }
            if (shape.IsRect) {
                AddBar(*batch, penX + shape.Points[0].first * em,
                       baseline - shape.Points[2].second * em, penX + shape.Points[1].first * em,
                       baseline - shape.Points[0].second * em);
                continue;
            }
            corners.clear();
            for (const auto& [px, py] : shape.Points)
                corners.emplace_back(penX + px * em, baseline - py * em);
            batch->Fill().Polygon(corners);
        }
        for (const cairoimpl::PlacedGlyph& glyph : drawing->Glyphs) {
            const double sx = glyph.ScaleX * glyph.UnitsPerEm * em;
            const double sy = glyph.ScaleY * glyph.UnitsPerEm * em;
            if (std::min(sx, sy) < kMinDeviceEm || std::max(sx, sy) > kMaxDeviceEm) continue;
            cairo_scaled_font_t* font = mImpl->Get(glyph.Face, sx, sy);
            if (!font) continue;
            const double gx = penX + glyph.X * em;
            const double gy = baseline - glyph.Y * em;
            if (glyph.Clip) {
                DrawClippedGlyph(cr, font, glyph.Index, gx, gy, baseline - glyph.ClipHigh * em,
                                 (glyph.ClipHigh - glyph.ClipLow) * em);
                // What waited went to cairo with the band; the rest of the run starts afresh.
                batch = &BatchFor(mForeColor, ink.X0, ink.Y0, ink.X1, ink.Y1);
            } else {
                const cairo_glyph_t g{glyph.Index, gx, gy};
                batch->AddGlyphs(font, &g, 1);
            }
        }
    }
}

void CairoSurface::DrawClippedGlyph(cairo_t* cr, cairo_scaled_font_t* font, uint32_t index,
                                    double x, double y, double top, double height) {
    // A band of a glyph is drawn at once, after what waits.
    mImpl->Layers.DrawOn(cr);
    const cairo_glyph_t glyph{index, x, y};
    cairo_save(cr);
    SetColor(cr, mForeColor);
    cairo_set_scaled_font(cr, font);
    cairo_new_path(cr);
    cairo_rectangle(cr, x - 1e5, top, 2e5, height);
    cairo_clip(cr);
    cairo_show_glyphs(cr, &glyph, 1);
    cairo_restore(cr);
}

}  // namespace corvendi
