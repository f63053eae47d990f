// A window that measures like a cairo image of the page at a resolution but keeps no pixels and
// draws nothing. A score is paginated on it when its pages go to a printer or to pictures of
// their own: attaching a window also paints the current page, which nobody would see.
#pragma once

#include <corvendi/cairo/CairoSurface.h>

#include <algorithm>
#include <cmath>

namespace corvendi::cairoimpl {

class LayoutSurface : public CairoSurface {
  public:
    LayoutSurface(double widthTwips, double heightTwips, int32_t twipsPerPixel)
        : CairoSurface(twipsPerPixel) {
        LayoutSurface::SetWidth(widthTwips);
        LayoutSurface::SetHeight(heightTwips);
    }

    SurfaceKind Kind() const override { return SurfaceKind::Window; }
    void SetWidth(double twips) override {
        mWidth = std::isfinite(twips) ? std::max(twips, 0.0) : 0.0;
    }
    void SetHeight(double twips) override {
        mHeight = std::isfinite(twips) ? std::max(twips, 0.0) : 0.0;
    }

  protected:
    cairo_t* DrawingContext() override { return nullptr; }
    double DeviceUnitsPerTwip() const override { return 1.0 / mTwipsPerPixel; }
    bool PixelAligned() const override { return true; }
};

}  // namespace corvendi::cairoimpl
