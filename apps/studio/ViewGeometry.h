// The arithmetic of the page view: zoom steps, the monitor's scale factor, the page's place in
// the view and the scroll offsets, and the conversion between view positions and page twips.
//
// The engine lays a page out and paints it at whole twips per pixel; the view shows those
// device pixels at the monitor's scale, so a HiDPI monitor gets a picture of its own resolution.
// View positions are logical pixels of the page view (GTK's coordinates); page positions are
// twips from the paper's top-left corner.
#pragma once

#include <array>
#include <cstdint>

namespace corvendi::studio {

struct PagePoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const PagePoint&) const = default;
};

struct ViewPoint {
    double X = 0.0;
    double Y = 0.0;
};

// A rectangle of the page's device pixels (the image the score paints on).
struct PixelArea {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    bool Contains(const PixelArea& other) const;
    bool operator==(const PixelArea&) const = default;
};

class ViewGeometry {
  public:
    // Twips per pixel at 96 dpi of each zoom step: 100 % to 500 %.
    static constexpr std::array<int32_t, 8> kZoomSteps{15, 12, 10, 8, 6, 5, 4, 3};
    // Grey border around the page, in logical pixels.
    static constexpr double kBorder = 16.0;

    // Device pixels per logical pixel; below 1 counts as 1.
    void SetScale(int32_t scale);
    int32_t Scale() const { return mScale; }
    // 0 (100 %) .. kZoomSteps.size() - 1; kept within.
    void SetZoomStep(int32_t step);
    int32_t ZoomStep() const { return mStep; }
    // The twips per device pixel the score paints at: the step's twips divided by the scale,
    // to the nearest whole number, at least 1.
    int32_t TwipsPerDevicePixel() const;
    // The size shown, in percent of the page at 96 dpi.
    int32_t ZoomPercent() const;

    // The page, in twips.
    void SetPage(int32_t widthTwips, int32_t heightTwips);
    // The view's visible size, logical pixels.
    void SetViewport(double width, double height);
    double ViewportWidth() const { return mViewWidth; }
    double ViewportHeight() const { return mViewHeight; }

    // The page and its border, logical pixels: what the scroll bars span.
    double ContentWidth() const;
    double ContentHeight() const;
    double MaxScrollX() const;
    double MaxScrollY() const;
    // Scroll offsets, kept within 0..MaxScroll.
    void ScrollTo(double x, double y);
    double ScrollX() const { return mScrollX; }
    double ScrollY() const { return mScrollY; }

    // The page's top-left corner in the view: centred while the page is narrower (or lower)
    // than the view, else after the border and the scroll offset.
    ViewPoint PageOrigin() const;
    // A view position as page twips (nearest twip), and back.
    PagePoint ToPage(ViewPoint view) const;
    ViewPoint ToView(PagePoint page) const;

    // The page's device pixels the view shows, widened by `margin` times the view's size on
    // each side, within the page.
    PixelArea VisiblePixels(double margin = 0.0) const;
    // All of the page's device pixels.
    PixelArea PagePixels() const;
    // Changes the zoom step so that the page point under `anchor` stays under it (as far as the
    // scroll range allows). False when the step stays the same.
    bool ZoomAround(int32_t step, ViewPoint anchor);

  private:
    double PixelsPerTwip() const;
    void ClampScroll();

    int32_t mScale = 1;
    int32_t mStep = 0;
    int32_t mPageWidth = 0;
    int32_t mPageHeight = 0;
    double mViewWidth = 0.0;
    double mViewHeight = 0.0;
    double mScrollX = 0.0;
    double mScrollY = 0.0;
};

}  // namespace corvendi::studio
