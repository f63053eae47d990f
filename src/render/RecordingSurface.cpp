#include "corvendi/RecordingSurface.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace corvendi {

namespace {

constexpr double kTwipsPerPoint = 20.0;
constexpr double kCharWidthEm = 0.5;
constexpr double kTextHeightEm = 1.2;
constexpr double kMusicCellEm = 2.0;
constexpr double kMusicBaselineEm = 1.39;

// The shortest text that reads back as the same double; independent of the C locale.
std::string NumberToText(double value) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (result.ec != std::errc()) return "?";
    return std::string(buffer, result.ptr);
}

size_t Utf8CharCount(std::string_view text) {
    return static_cast<size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

double Flag(bool on) { return on ? 1.0 : 0.0; }

}  // namespace

std::string SurfaceCall::ToString() const {
    std::string out = Name + "(";
    bool first = true;
    for (double n : Numbers) {
        if (!first) out += ", ";
        out += NumberToText(n);
        first = false;
    }
    if (!Text.empty() || Name == "Print" || Name == "TextOut") {
        if (!first) out += ", ";
        out += '"';
        out += Text;
        out += '"';
    }
    out += ')';
    return out;
}

std::vector<SurfaceCall> RecordingSurface::CallsNamed(std::string_view name) const {
    std::vector<SurfaceCall> out;
    for (const auto& call : mCalls) {
        if (call.Name == name) out.push_back(call);
    }
    return out;
}

size_t RecordingSurface::Count(std::string_view name) const {
    return static_cast<size_t>(std::count_if(mCalls.begin(), mCalls.end(),
                                             [&](const SurfaceCall& c) { return c.Name == name; }));
}

std::vector<SurfaceCall> RecordingSurface::DrawingCalls() const {
    static constexpr std::string_view kDrawing[] = {"Cls",        "Line",    "Print", "TextOut",
                                                    "PolyBezier", "NewPage", "EndDoc"};
    std::vector<SurfaceCall> out;
    for (const auto& call : mCalls) {
        if (std::find(std::begin(kDrawing), std::end(kDrawing), call.Name) != std::end(kDrawing)) {
            out.push_back(call);
        }
    }
    return out;
}

std::string RecordingSurface::Transcript() const {
    std::string out;
    for (const auto& call : mCalls) {
        out += call.ToString();
        out += '\n';
    }
    return out;
}

void RecordingSurface::SetTwipsPerPixel(double x, double y) {
    if (x > 0.0) mTwipsPerPixelX = x;
    if (y > 0.0) mTwipsPerPixelY = y;
}

double RecordingSurface::EmTwips(const FontSpec& font) {
    return static_cast<double>(font.Size) * kTwipsPerPoint;
}

bool RecordingSurface::IsMusicFont(const FontSpec& font) { return font.Name == kMusicFontName; }

double RecordingSurface::WidthOf(const FontSpec& font, std::string_view text) {
    return static_cast<double>(Utf8CharCount(text)) * kCharWidthEm * EmTwips(font);
}

double RecordingSurface::HeightOf(const FontSpec& font) {
    return (IsMusicFont(font) ? kMusicCellEm : kTextHeightEm) * EmTwips(font);
}

double RecordingSurface::MusicBaseline(const FontSpec& font) {
    return kMusicBaselineEm * EmTwips(font);
}

void RecordingSurface::Record(std::string name, std::vector<double> numbers,
                              std::string_view text) {
    mCalls.push_back(SurfaceCall{std::move(name), std::move(numbers), std::string(text)});
}

void RecordingSurface::Cls() {
    Record("Cls", {});
    mCurrentX = 0.0;
    mCurrentY = 0.0;
}

void RecordingSurface::Line(double x1, double y1, double x2, double y2, int32_t color,
                            LineFill fill) {
    Record("Line", {x1, y1, x2, y2, static_cast<double>(color), static_cast<double>(fill)});
}

void RecordingSurface::Print(std::string_view text) {
    Record("Print", {mCurrentX, mCurrentY}, text);
    mCurrentX += WidthOf(mFont, text);
}

void RecordingSurface::TextOut(int32_t px, int32_t py, std::string_view text) {
    Record("TextOut", {static_cast<double>(px), static_cast<double>(py)}, text);
}

void RecordingSurface::PolyBezier(std::span<const PixelPoint> points) {
    std::vector<double> numbers;
    numbers.reserve(points.size() * 2);
    for (const auto& p : points) {
        numbers.push_back(static_cast<double>(p.X));
        numbers.push_back(static_cast<double>(p.Y));
    }
    Record("PolyBezier", std::move(numbers));
}

double RecordingSurface::TextWidth(std::string_view text) {
    if (mRecordMetrics) Record("TextWidth", {}, text);
    return WidthOf(mFont, text);
}

double RecordingSurface::TextHeight(std::string_view text) {
    if (mRecordMetrics) Record("TextHeight", {}, text);
    return HeightOf(mFont);
}

void RecordingSurface::SetFont(const FontSpec& font) {
    Record(
        "SetFont",
        {static_cast<double>(font.Size), Flag(font.Bold), Flag(font.Italic), Flag(font.Underline)},
        font.Name);
    Surface::SetFont(font);
}

void RecordingSurface::SetCurrentX(double x) {
    Record("SetCurrentX", {x});
    Surface::SetCurrentX(x);
}

void RecordingSurface::SetCurrentY(double y) {
    Record("SetCurrentY", {y});
    Surface::SetCurrentY(y);
}

void RecordingSurface::SetForeColor(int32_t color) {
    Record("SetForeColor", {static_cast<double>(color)});
    Surface::SetForeColor(color);
}

void RecordingSurface::SetBackColor(int32_t color) {
    Record("SetBackColor", {static_cast<double>(color)});
    Surface::SetBackColor(color);
}

void RecordingSurface::SetDrawMode(int32_t mode) {
    Record("SetDrawMode", {static_cast<double>(mode)});
    Surface::SetDrawMode(mode);
}

void RecordingSurface::SetDrawStyle(int32_t style) {
    Record("SetDrawStyle", {static_cast<double>(style)});
    Surface::SetDrawStyle(style);
}

void RecordingSurface::SetDrawWidth(int32_t width) {
    Record("SetDrawWidth", {static_cast<double>(width)});
    Surface::SetDrawWidth(width);
}

void RecordingSurface::SetFontTransparent(bool on) {
    Record("SetFontTransparent", {Flag(on)});
    Surface::SetFontTransparent(on);
}

void RecordingSurface::SetBackgroundTransparent(bool on) {
    Record("SetBackgroundTransparent", {Flag(on)});
    Surface::SetBackgroundTransparent(on);
}

void RecordingSurface::SetWidth(double twips) {
    Record("SetWidth", {twips});
    Surface::SetWidth(twips);
}

void RecordingSurface::SetHeight(double twips) {
    Record("SetHeight", {twips});
    Surface::SetHeight(twips);
}

void RecordingSurface::SetClipControls(bool on) {
    Record("SetClipControls", {Flag(on)});
    Surface::SetClipControls(on);
}

void RecordingSurface::SetAutoRedraw(bool on) {
    Record("SetAutoRedraw", {Flag(on)});
    Surface::SetAutoRedraw(on);
}

void RecordingSurface::SetScaleMode(int32_t mode) {
    Record("SetScaleMode", {static_cast<double>(mode)});
    Surface::SetScaleMode(mode);
}

void RecordingSurface::SetPaperSize(int32_t code) {
    Record("SetPaperSize", {static_cast<double>(code)});
    Surface::SetPaperSize(code);
}

void RecordingSurface::SetOrientation(int32_t code) {
    Record("SetOrientation", {static_cast<double>(code)});
    Surface::SetOrientation(code);
}

void RecordingSurface::SetCopies(int32_t copies) {
    Record("SetCopies", {static_cast<double>(copies)});
    Surface::SetCopies(copies);
}

void RecordingSurface::NewPage() {
    Record("NewPage", {});
    mCurrentX = 0.0;
    mCurrentY = 0.0;
}

void RecordingSurface::EndDoc() { Record("EndDoc", {}); }

}  // namespace corvendi
