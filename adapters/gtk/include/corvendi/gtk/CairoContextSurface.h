// A printer surface drawing on a cairo context someone else owns, page by page: GTK's print
// context. Units are points (1/72 inch); the page's origin is the paper's top-left corner, so
// the print operation uses the full page. The paper itself is chosen in the print dialog, so
// paper size and orientation are stored and otherwise ignored, as NewPage and EndDoc are.
#pragma once

#include <corvendi/cairo/CairoSurface.h>

namespace corvendi::gtk {

class CairoContextSurface : public CairoSurface {
  public:
    // The context stays the caller's; it must outlive the drawing done on this surface.
    explicit CairoContextSurface(cairo_t* context, int32_t twipsPerPixel = 3);
    ~CairoContextSurface() override;

    SurfaceKind Kind() const override { return SurfaceKind::Printer; }
    // The context of the next page (GTK may hand a new one per page).
    void SetContext(cairo_t* context);

  protected:
    cairo_t* DrawingContext() override { return mContext; }
    double DeviceUnitsPerTwip() const override { return 1.0 / 20.0; }
    bool PixelAligned() const override { return false; }

  private:
    cairo_t* mContext = nullptr;
};

}  // namespace corvendi::gtk
