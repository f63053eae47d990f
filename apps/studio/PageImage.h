// The window surface the score paints its current page on: a cairo image the page view shows.
#pragma once

#include <cairo.h>
#include <corvendi/cairo/CairoImageSurface.h>

namespace corvendi::studio {

class PageImage : public CairoImageSurface {
  public:
    using CairoImageSurface::CairoImageSurface;

    // The picture as painted so far, for showing it; null when the image could not be made.
    cairo_surface_t* Picture() {
        Flush();
        cairo_t* context = DrawingContext();
        return context ? cairo_get_target(context) : nullptr;
    }
};

}  // namespace corvendi::studio
