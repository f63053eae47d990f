#include <corvendi/cairo/CairoSvgSurface.h>

#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace corvendi {

CairoSvgSurface::CairoSvgSurface(std::string path, double widthTwips, double heightTwips,
                                 int32_t twipsPerPixel)
    : CairoSurface(twipsPerPixel), mPath(std::move(path)) {
    mWidth = std::isfinite(widthTwips) ? std::max(widthTwips, 0.0) : 0.0;
    mHeight = std::isfinite(heightTwips) ? std::max(heightTwips, 0.0) : 0.0;
}

CairoSvgSurface::~CairoSvgSurface() { Finish(); }

cairo_t* CairoSvgSurface::DrawingContext() {
    if (mFinished) return nullptr;
    if (!mSurface) {
        // The picture is at least one point each way and at most a few metres.
        const double width = std::clamp(mWidth / 20.0, 1.0, 1e5);
        const double height = std::clamp(mHeight / 20.0, 1.0, 1e5);
        mSurface = cairo_svg_surface_create(mPath.c_str(), width, height);
        mContext = cairo_create(mSurface);
    }
    if (cairo_surface_status(mSurface) != CAIRO_STATUS_SUCCESS) {
        mOk = false;
        return nullptr;
    }
    if (cairo_status(mContext) != CAIRO_STATUS_SUCCESS) {
        // A context that went wrong is replaced; what was drawn lives on in the surface.
        cairo_destroy(mContext);
        mContext = cairo_create(mSurface);
    }
    return cairo_status(mContext) == CAIRO_STATUS_SUCCESS ? mContext : nullptr;
}

bool CairoSvgSurface::Finish() {
    if (mFinished) return mOk;
    if (!mSurface) DrawingContext();  // an empty picture still makes a file
    Flush();
    mFinished = true;
    if (!CloseDocument(mContext, mSurface)) mOk = false;
    return mOk;
}

}  // namespace corvendi
