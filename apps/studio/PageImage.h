// The window surface the score paints its current page on: a cairo image the page view shows.
//
// At a high zoom the page is many times larger than the view, so the score paints only an area
// around what is visible (the image's clip); the rest of the image is never touched and stays
// unallocated memory. The view shows the painted area over white paper.
#pragma once

#include <cairo.h>
#include <corvendi/cairo/CairoImageSurface.h>

#include "ViewGeometry.h"

namespace corvendi::studio {

class PageImage : public CairoImageSurface {
  public:
    // An image of the page at `twipsPerPixel` whose paints reach only `painted`.
    PageImage(double widthTwips, double heightTwips, int32_t twipsPerPixel, PixelArea painted)
        : CairoImageSurface(1.0, 1.0, twipsPerPixel) {
        PaintOnly(painted);
        SetWidth(widthTwips);
        SetHeight(heightTwips);
    }

    // The area the next paints reach (what the score painted before stays elsewhere).
    void PaintOnly(PixelArea area) {
        mPainted = area;
        ClipTo(area.X, area.Y, area.Width, area.Height);
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
