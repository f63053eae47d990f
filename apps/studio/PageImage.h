// The window surface the score paints its current page on: a cairo image the page view shows.
//
// At a high zoom the page is many times larger than the view, so the image holds only an area
// around what is visible, and the score paints only that; the view shows it over white paper.
// The image's memory is the size of that area and passes from one image to the next (a zoom
// makes a new image), so zooming and scrolling allocate nothing until the view grows.
#pragma once

#include <cairo.h>
#include <corvendi/cairo/CairoImageSurface.h>

#include "ViewGeometry.h"

namespace corvendi::studio {

class PageImage : public CairoImageSurface {
  public:
    // An image of the page at `twipsPerPixel` holding only `painted`, in the memory of
    // `previous` when there is one (which then no longer shows what it held).
    PageImage(double widthTwips, double heightTwips, int32_t twipsPerPixel, PixelArea painted,
              const PageImage* previous = nullptr)
        : CairoImageSurface(1.0, 1.0, twipsPerPixel) {
        if (previous) ShareMemoryOf(*previous);
        PaintOnly(painted);
        SetWidth(widthTwips);
        SetHeight(heightTwips);
    }

    // The area the image holds from now on, blank until the score paints it again.
    void PaintOnly(PixelArea area) {
        mPainted = area;
        CoverOnly(area.X, area.Y, area.Width, area.Height);
    }
    // The area the paints reach: the part of the picture that is up to date.
    const PixelArea& Painted() const { return mPainted; }

    // The picture as painted so far, for showing it; null when the image could not be made.
    cairo_surface_t* Picture() {
        Flush();
        cairo_t* context = DrawingContext();
        return context ? cairo_get_target(context) : nullptr;
    }

  private:
    PixelArea mPainted;
};

}  // namespace corvendi::studio
