// A surface that draws nothing and records every call made on it, for tests and for measuring
// a layout without output.
//
// Each call becomes one SurfaceCall: the member's name, its numeric arguments in order and its
// text argument. Print also records where it printed (the current position before the call).
// Text metrics follow a fixed rule that layout tests may rely on:
//   em = font size in points x 20 twips;
//   a text font is 0.5 em wide per character (UTF-8 characters, not bytes) and 1.2 em high;
//   the music font (face "Quavrix") is 0.5 em wide per character and its cell 2 em high, with
//   the baseline 1.39 em below the cell's top.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "corvendi/Export.h"
#include "corvendi/Surface.h"

namespace corvendi {

struct CORVENDI_API SurfaceCall {
    std::string Name;             // the member called: "Line", "Print", "SetForeColor", ...
    std::vector<double> Numbers;  // numeric and Boolean (1/0) arguments in order
    std::string Text;             // the text argument; the face name for SetFont

    bool operator==(const SurfaceCall&) const = default;
    // A readable form for test output: Name(n1, n2, "text").
    std::string ToString() const;
};

// The face name of the music font.
inline constexpr std::string_view kMusicFontName = "Quavrix";

class CORVENDI_API RecordingSurface : public Surface {
  public:
    explicit RecordingSurface(SurfaceKind kind = SurfaceKind::Window) : mKind(kind) {}

    SurfaceKind Kind() const override { return mKind; }

    // --- what was recorded --------------------------------------------------------------------
    const std::vector<SurfaceCall>& Calls() const { return mCalls; }
    // The recorded calls of one member, in order.
    std::vector<SurfaceCall> CallsNamed(std::string_view name) const;
    // How many calls of one member were recorded.
    size_t Count(std::string_view name) const;
    // The calls that draw (Cls, Line, Print, TextOut, PolyBezier, NewPage, EndDoc).
    std::vector<SurfaceCall> DrawingCalls() const;
    // Every recorded call, one per line, in the ToString form.
    std::string Transcript() const;
    void ClearCalls() { mCalls.clear(); }
    // Text metrics queries (TextWidth, TextHeight) are recorded too unless switched off.
    void SetRecordMetrics(bool on) { mRecordMetrics = on; }

    // The device resolution the surface reports (15 twips per pixel unless set).
    void SetTwipsPerPixel(double x, double y);
    double TwipsPerPixelX() const override { return mTwipsPerPixelX; }
    double TwipsPerPixelY() const override { return mTwipsPerPixelY; }

    // --- the metrics rule, for a given font ----------------------------------------------------
    static double EmTwips(const FontSpec& font);
    static bool IsMusicFont(const FontSpec& font);
    static double WidthOf(const FontSpec& font, std::string_view text);
    static double HeightOf(const FontSpec& font);
    // Distance from the top of a music-font cell to its baseline.
    static double MusicBaseline(const FontSpec& font);

    // --- Surface ------------------------------------------------------------------------------
    void Cls() override;
    void Line(double x1, double y1, double x2, double y2, int32_t color, LineFill fill) override;
    void Print(std::string_view text) override;
    void TextOut(int32_t px, int32_t py, std::string_view text) override;
    void PolyBezier(std::span<const PixelPoint> points) override;
    double TextWidth(std::string_view text) override;
    double TextHeight(std::string_view text) override;

    void SetFont(const FontSpec& font) override;
    void SetCurrentX(double x) override;
    void SetCurrentY(double y) override;
    void SetForeColor(int32_t color) override;
    void SetBackColor(int32_t color) override;
    void SetDrawMode(int32_t mode) override;
    void SetDrawStyle(int32_t style) override;
    void SetDrawWidth(int32_t width) override;
    void SetFontTransparent(bool on) override;
    void SetBackgroundTransparent(bool on) override;
    void SetWidth(double twips) override;
    void SetHeight(double twips) override;
    void SetClipControls(bool on) override;
    void SetAutoRedraw(bool on) override;
    void SetScaleMode(int32_t mode) override;
    void SetPaperSize(int32_t code) override;
    void SetOrientation(int32_t code) override;
    void SetCopies(int32_t copies) override;
    void NewPage() override;
    void EndDoc() override;

  private:
    void Record(std::string name, std::vector<double> numbers, std::string_view text = {});

    SurfaceKind mKind;
    std::vector<SurfaceCall> mCalls;
    bool mRecordMetrics = true;
    double mTwipsPerPixelX = 15.0;
    double mTwipsPerPixelY = 15.0;
};

}  // namespace corvendi
