// A cairo surface writing one SVG picture. The picture takes the size the surface has when
// the first thing is drawn (the size given here, or what SetWidth/SetHeight set before); the
// file is complete after Finish or when the surface is destroyed.
#pragma once

#include <corvendi/Export.h>
#include <corvendi/cairo/CairoSurface.h>

#include <string>

namespace corvendi {

class CORVENDI_API CairoSvgSurface : public CairoSurface {
  public:
    CairoSvgSurface(std::string path, double widthTwips, double heightTwips,
                    int32_t twipsPerPixel = 15);
    ~CairoSvgSurface() override;

    SurfaceKind Kind() const override { return SurfaceKind::Window; }

    // Completes the file; drawing afterwards is ignored. Returns false when it could not be
    // written.
    bool Finish();

  protected:
    cairo_t* DrawingContext() override;
    double DeviceUnitsPerTwip() const override { return 1.0 / 20.0; }
    bool PixelAligned() const override { return false; }

  private:
    std::string mPath;
    cairo_surface_t* mSurface = nullptr;
    cairo_t* mContext = nullptr;
    bool mFinished = false;
    bool mOk = true;
};

}  // namespace corvendi
