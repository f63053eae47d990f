// A cairo surface drawing into an image in memory (a screen page or a PNG file): 24-bit colour,
// any whole number of twips per pixel (15, i.e. 96 dpi, unless told).
#pragma once

#include <corvendi/Export.h>
#include <corvendi/cairo/CairoSurface.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace corvendi {

class CORVENDI_API CairoImageSurface : public CairoSurface {
  public:
    // A surface of the given size in twips (at least one pixel each way), cleared to white.
    CairoImageSurface(double widthTwips, double heightTwips, int32_t twipsPerPixel = 15);
    ~CairoImageSurface() override;

    SurfaceKind Kind() const override { return SurfaceKind::Window; }

    // Clearing an image that holds nothing but the background (within the clip) is skipped: a
    // window is cleared when it is attached and again when its page is drawn.
    void Cls() override;
    void Line(double x1, double y1, double x2, double y2, int32_t color, LineFill fill) override;
    void Print(std::string_view text) override;
    void TextOut(int32_t px, int32_t py, std::string_view text) override;
    void PolyBezier(std::span<const PixelPoint> points) override;

    // Resizing keeps the picture's top-left part and fills the new area with BackColor.
    void SetWidth(double twips) override;
    void SetHeight(double twips) override;

    // From now on drawing, clearing included, changes only this rectangle of pixels, and a
    // resize clears only this part of the new image: the rest keeps what it had. A screen
    // showing part of a large page paints just that part. Unclip lifts it.
    void ClipTo(int32_t x, int32_t y, int32_t width, int32_t height);
    void Unclip();

    // The limit is honoured: drawing, Cls included, stays within it (and within the clip).
    bool LimitDrawingTo(double left, double top, double right, double bottom) override;
    void EndDrawingLimit() override;

    // From now on the image holds only this rectangle of the page's pixels (and clips to it),
    // while drawing stays in page pixels: a screen showing part of a large page keeps an image
    // the size of what it shows. The rectangle starts out as the background; what was held
    // before is gone. Memory is allocated only when the rectangle needs more than the image
    // has; resizing the page then only records its size.
    void CoverOnly(int32_t x, int32_t y, int32_t width, int32_t height);
    // Takes over the memory of another image (which keeps using it until it covers again or
    // goes away), so a new image of the same screen allocates nothing.
    void ShareMemoryOf(const CairoImageSurface& other);

    // The page's size in pixels (the part held, when covering only a rectangle, may be less).
    int32_t PixelWidth() const { return mPixelWidth; }
    int32_t PixelHeight() const { return mPixelHeight; }
    // The colour of one pixel as red + 256 * green + 65536 * blue; -1 outside what is held.
    int32_t PixelAt(int32_t x, int32_t y);
    // Every held pixel's colour in the same form, row by row from the top-left.
    std::vector<int32_t> Pixels();
    // Writes the image as a PNG file; false when it cannot be written.
    bool WritePng(const std::string& path);

  protected:
    cairo_t* DrawingContext() override;
    double DeviceUnitsPerTwip() const override { return 1.0 / mTwipsPerPixel; }
    bool PixelAligned() const override { return true; }

  private:
    void Resize(double widthTwips, double heightTwips);
    void ApplyClip(cairo_t* context) const;
    // Takes a new clip or limit into the context; drawing that cannot reach a pixel they let
    // through is not collected from then on.
    void ClipOrLimitChanged();
    int32_t HeldWidth() const;
    int32_t HeldHeight() const;

    cairo_surface_t* mSurface = nullptr;
    cairo_t* mContext = nullptr;
    int32_t mPixelWidth = 0;
    int32_t mPixelHeight = 0;
    // Every pixel within the clip (and every pixel at all) is mBlankColor.
    bool mBlankInClip = true;
    bool mBlankEverywhere = true;
    int32_t mBlankColor = 0xFFFFFF;
    bool mClipped = false;
    int32_t mClipX = 0, mClipY = 0, mClipWidth = 0, mClipHeight = 0;
    // The drawing limit in pixels, right and bottom excluded.
    bool mLimited = false;
    int32_t mLimitX0 = 0, mLimitY0 = 0, mLimitX1 = 0, mLimitY1 = 0;
    // Covering a rectangle of the page at (mCoverX, mCoverY), in memory of mMemoryBytes.
    bool mCovering = false;
    int32_t mCoverX = 0, mCoverY = 0;
    std::shared_ptr<unsigned char[]> mMemory;
    size_t mMemoryBytes = 0;
};

}  // namespace corvendi
