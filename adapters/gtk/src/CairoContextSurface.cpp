#include <cairo.h>
#include <corvendi/gtk/CairoContextSurface.h>

namespace corvendi::gtk {

CairoContextSurface::CairoContextSurface(cairo_t* context, int32_t twipsPerPixel)
    : CairoSurface(twipsPerPixel), mContext(context) {}

CairoContextSurface::~CairoContextSurface() {
    Flush();
    ReleaseFonts();
}

void CairoContextSurface::SetContext(cairo_t* context) {
    if (context == mContext) return;
    Flush();
    ReleaseFonts();
    mContext = context;
}

}  // namespace corvendi::gtk
