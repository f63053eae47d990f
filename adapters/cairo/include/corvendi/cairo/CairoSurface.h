// The drawing surface of the engine backed by cairo: the base of the image (PNG), SVG and PDF
// surfaces.
//
// - Text fonts come from fontconfig. Common Windows names are drawn with their free
//   metric-compatible faces ("Arial" with Liberation Sans, "Times New Roman" with Liberation
//   Serif, "Courier New" with Liberation Mono) or customary substitutes ("Verdana" and "Tahoma"
//   with DejaVu Sans). Widths are the faces' unhinted advances; the height of a line is the
//   face's ascent plus descent.
// - The music font (face "Quavrix") is drawn from the engraving fonts its map names
//   (data/Common/Config/MusicFont.txt below the application folder). Its size in points is the
//   staff height; a character's cell is 2 em high with the baseline 1.39 em below its top, so a
//   character drawn with its cell at the staff's glyph reference sits on the bottom line.
// - Lines are DrawWidth pixels of the surface wide; image surfaces put them on whole pixels.
#pragma once

#include <corvendi/Export.h>
#include <corvendi/Surface.h>

#include <memory>
#include <string>
#include <string_view>

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo_scaled_font cairo_scaled_font_t;

namespace corvendi::cairoimpl {
class DrawingBatch;
}

namespace corvendi {

class CORVENDI_API CairoSurface : public Surface {
  public:
    ~CairoSurface() override;
    CairoSurface(const CairoSurface&) = delete;
    CairoSurface& operator=(const CairoSurface&) = delete;

    void Cls() override;
    void Line(double x1, double y1, double x2, double y2, int32_t color, LineFill fill) override;
    void Print(std::string_view text) override;
    void TextOut(int32_t px, int32_t py, std::string_view text) override;
    void PolyBezier(std::span<const PixelPoint> points) override;
    double TextWidth(std::string_view text) override;
    double TextHeight(std::string_view text) override;
    void SetFont(const FontSpec& font) override;

    double TwipsPerPixelX() const override { return mTwipsPerPixel; }
    double TwipsPerPixelY() const override { return mTwipsPerPixel; }

    // Distance in twips from the top of a text cell to the baseline, in the current font.
    double TextAscent();
    // Draws a text with its cell's top-left corner at a point in twips, without moving the
    // current position.
    void DrawTextAt(double x, double y, std::string_view text);
    // The family fontconfig resolved the current text font to ("Liberation Sans" for "Arial");
    // the music font's face name for the music font.
    std::string ResolvedFamily();

    // Drawing reaches cairo in batches (a page's glyphs in one call per font, its lines in one
    // path per pen); this hands over what waits. Reading pixels, writing files and ending
    // pages do it themselves; a host reading the cairo surface directly calls it first.
    void Flush();

  protected:
    explicit CairoSurface(int32_t twipsPerPixel);

    // The context to draw on, in device units, ready for drawing on the current page; null when
    // nothing can be drawn (a finished document, a failed surface).
    virtual cairo_t* DrawingContext() = 0;
    // Device units (pixels or points) per twip.
    virtual double DeviceUnitsPerTwip() const = 0;
    // True for pixel surfaces: lines go on whole pixels and strokes are at least one pixel.
    virtual bool PixelAligned() const = 0;
    // Drops cached fonts tied to a context that is about to go away.
    void ReleaseFonts();
    // Ends a document surface: the fonts, the context and the surface are released (both
    // pointers become null) after the surface has written what it holds. False when writing
    // failed.
    bool CloseDocument(cairo_t*& context, cairo_surface_t*& surface);
    // Bytes a document surface writes to memory before they go to its file.
    std::string& DocumentBytes();
    // While a drawing limit confines drawing to a box (device units), drawing that lies wholly
    // outside it is dropped before it is collected; KeepDrawingEverywhere ends that.
    void DropDrawingOutside(double x0, double y0, double x1, double y1);
    void KeepDrawingEverywhere();

    int32_t mTwipsPerPixel = 15;

  private:
    struct Impl;
    std::unique_ptr<Impl> mImpl;

    // The batch drawing of a colour joins, given the box it covers in device units.
    cairoimpl::DrawingBatch& BatchFor(int32_t color, double x0, double y0, double x1, double y1);
    void DrawText(double x, double y, std::string_view text, bool opaque);
    // Queues one line of text with its left end on a baseline (device units).
    void DrawTextLine(cairo_scaled_font_t* font, double x, double baseline,
                      const std::string& utf8);
    void DrawMusic(cairo_t* cr, double x, double y, std::string_view text);
    void DrawClippedGlyph(cairo_t* cr, cairo_scaled_font_t* font, uint32_t index, double x,
                          double y, double top, double height);
    double DevicePenWidth() const;
};

}  // namespace corvendi
