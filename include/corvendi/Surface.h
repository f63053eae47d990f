// The drawing surface the engine draws on: a host window, an image, an SVG or a PDF printer.
//
// Conventions shared by every surface:
// - colours are packed as red + 256 * green + 65536 * blue;
// - lines and boxes take twips; TextOut and PolyBezier take pixels of the surface;
// - text is placed by the top-left corner of its character cell;
// - drawing calls never throw.
// Plain settings (colours, draw mode and style, current position, font, sizes) are stored here;
// a concrete surface overrides the pure drawing calls and the text metrics, and may override a
// setter to react to it.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "corvendi/Export.h"

namespace corvendi {

// A font as the surface selects it. The score's own fonts are shared Font objects; a surface
// keeps a copy of the one selected last.
struct CORVENDI_API FontSpec {
    std::string Name = "Arial";
    float Size = 10.0f;  // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;

    bool operator==(const FontSpec&) const = default;
};

struct CORVENDI_API PixelPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const PixelPoint&) const = default;
};

enum class SurfaceKind {
    Window,   // a screen or image surface the score paints pages on
    Printer,  // a paged output device (PDF); also offers the printer members
};

enum class LineFill {
    None,       // a line from (x1, y1) to (x2, y2)
    Box,        // the outline of the box with these corners
    FilledBox,  // the box filled with the colour
};

// Draw styles as the layout uses them.
constexpr int32_t kDrawStyleSolid = 0;
constexpr int32_t kDrawStyleDash = 1;
constexpr int32_t kDrawStyleDot = 2;
// The one draw mode the engine sets: copy the pen.
constexpr int32_t kDrawModeCopyPen = 13;
// Scale modes of a printer.
constexpr int32_t kScaleTwips = 1;
constexpr int32_t kScalePixels = 3;

class CORVENDI_API Surface {
  public:
    virtual ~Surface() = default;

    virtual SurfaceKind Kind() const = 0;

    // --- drawing ---------------------------------------------------------------------------
    // Clears the whole surface to BackColor and moves the current position to (0, 0).
    virtual void Cls() = 0;
    // A line or a box in twips, drawn with DrawWidth and DrawStyle.
    virtual void Line(double x1, double y1, double x2, double y2, int32_t color, LineFill fill) = 0;
    // Text at (CurrentX, CurrentY) in twips in the current font and ForeColor; CurrentX then
    // advances by the text's width.
    virtual void Print(std::string_view text) = 0;
    // Text with its cell's top-left corner at a pixel position, in the current font and ForeColor.
    virtual void TextOut(int32_t px, int32_t py, std::string_view text) = 0;
    // Cubic Bezier arcs through pixel points (1 + 3n points), in ForeColor.
    virtual void PolyBezier(std::span<const PixelPoint> points) = 0;

    // --- drawing limit -------------------------------------------------------------------------
    // Until EndDrawingLimit, drawing changes only the pixels of the box from (left, top) to
    // (right, bottom) in twips, widened to whole device pixels, and Cls clears just those: a
    // repaint of a small part of a page erases and draws again only there. Returns whether the
    // surface honours the limit; one that does not (the default) draws everywhere as before, and
    // the caller repaints more. A new limit replaces the one in force.
    virtual bool LimitDrawingTo(double left, double top, double right, double bottom) {
        (void)left, (void)top, (void)right, (void)bottom;
        return false;
    }
    virtual void EndDrawingLimit() {}

    // --- text metrics of the current font, in twips -------------------------------------------
    virtual double TextWidth(std::string_view text) = 0;
    virtual double TextHeight(std::string_view text) = 0;

    // --- plain settings --------------------------------------------------------------------
    virtual void SetFont(const FontSpec& font) { mFont = font; }
    const FontSpec& Font() const { return mFont; }

    virtual void SetCurrentX(double x) { mCurrentX = x; }
    virtual void SetCurrentY(double y) { mCurrentY = y; }
    double CurrentX() const { return mCurrentX; }
    double CurrentY() const { return mCurrentY; }

    virtual void SetForeColor(int32_t color) { mForeColor = color; }
    virtual void SetBackColor(int32_t color) { mBackColor = color; }
    int32_t ForeColor() const { return mForeColor; }
    int32_t BackColor() const { return mBackColor; }

    virtual void SetDrawMode(int32_t mode) { mDrawMode = mode; }
    virtual void SetDrawStyle(int32_t style) { mDrawStyle = style; }
    virtual void SetDrawWidth(int32_t width) { mDrawWidth = width; }
    int32_t DrawMode() const { return mDrawMode; }
    int32_t DrawStyle() const { return mDrawStyle; }
    int32_t DrawWidth() const { return mDrawWidth; }

    // Text drawn without filling its cell's background.
    virtual void SetFontTransparent(bool on) { mFontTransparent = on; }
    bool FontTransparent() const { return mFontTransparent; }
    // The device background mode for TextOut (transparent when true).
    virtual void SetBackgroundTransparent(bool on) { mBackgroundTransparent = on; }
    bool BackgroundTransparent() const { return mBackgroundTransparent; }

    // Size of the surface in twips.
    virtual void SetWidth(double twips) { mWidth = twips; }
    virtual void SetHeight(double twips) { mHeight = twips; }
    double Width() const { return mWidth; }
    double Height() const { return mHeight; }

    // Settings a host window has; stored and otherwise without effect here.
    virtual void SetClipControls(bool on) { mClipControls = on; }
    virtual void SetAutoRedraw(bool on) { mAutoRedraw = on; }
    bool ClipControls() const { return mClipControls; }
    bool AutoRedraw() const { return mAutoRedraw; }

    // Twips per device pixel.
    virtual double TwipsPerPixelX() const { return 15.0; }
    virtual double TwipsPerPixelY() const { return 15.0; }

    // --- printer members (a window stores them and ignores NewPage/EndDoc) -----------------
    virtual void SetScaleMode(int32_t mode) { mScaleMode = mode; }
    int32_t ScaleMode() const { return mScaleMode; }
    // Paper size codes: 1 Letter, 5 Legal, 7 Executive, 9 A4, 11 A5.
    virtual void SetPaperSize(int32_t code) { mPaperSize = code; }
    int32_t PaperSize() const { return mPaperSize; }
    // Orientation codes: 1 portrait, 2 landscape.
    virtual void SetOrientation(int32_t code) { mOrientation = code; }
    int32_t Orientation() const { return mOrientation; }
    virtual void SetCopies(int32_t copies) { mCopies = copies; }
    int32_t Copies() const { return mCopies; }
    // The drawable area in twips (the page less any unprintable margin).
    virtual double ScaleWidth() const { return mWidth; }
    virtual double ScaleHeight() const { return mHeight; }
    virtual void NewPage() {}
    virtual void EndDoc() {}

  protected:
    FontSpec mFont;
    double mCurrentX = 0.0;
    double mCurrentY = 0.0;
    int32_t mForeColor = 0;
    int32_t mBackColor = 0xFFFFFF;
    int32_t mDrawMode = kDrawModeCopyPen;
    int32_t mDrawStyle = kDrawStyleSolid;
    int32_t mDrawWidth = 1;
    bool mFontTransparent = true;
    bool mBackgroundTransparent = false;
    double mWidth = 0.0;
    double mHeight = 0.0;
    bool mClipControls = true;
    bool mAutoRedraw = false;
    int32_t mScaleMode = kScaleTwips;
    int32_t mPaperSize = 1;
    int32_t mOrientation = 1;
    int32_t mCopies = 1;
};

}  // namespace corvendi
