#include <corvendi/cairo/CairoPdfSurface.h>

#include <cairo-pdf.h>
#include <cairo.h>

#include <algorithm>
#include <cmath>

namespace corvendi {

namespace {

struct Paper {
    int32_t Code;
    double Width;  // twips, portrait
    double Height;
};

// Paper sizes of the printer codes, in twips (A4 and A5 to the ISO millimetres).
constexpr Paper kPapers[] = {
    {1, 12240.0, 15840.0},                               // Letter 8.5 x 11 in
    {5, 12240.0, 20160.0},                               // Legal 8.5 x 14 in
    {7, 10440.0, 15120.0},                               // Executive 7.25 x 10.5 in
    {9, 210.0 / 25.4 * 1440.0, 297.0 / 25.4 * 1440.0},   // A4 210 x 297 mm
    {11, 148.0 / 25.4 * 1440.0, 210.0 / 25.4 * 1440.0},  // A5 148 x 210 mm
};

constexpr double kMinPage = 20.0;          // twips
constexpr double kMaxPage = 14400.0 * 20;  // 200 inches

}  // namespace

CairoPdfSurface::CairoPdfSurface(std::string path, int32_t twipsPerPixel)
    : CairoSurface(twipsPerPixel), mPath(std::move(path)) {
    mPaperSize = 1;
    mOrientation = 1;
    ApplyPaper();
    mSurface = cairo_pdf_surface_create(mPath.c_str(), mWidth / 20.0, mHeight / 20.0);
    mContext = cairo_create(mSurface);
    if (cairo_status(mContext) != CAIRO_STATUS_SUCCESS) mOk = false;
}

CairoPdfSurface::~CairoPdfSurface() { EndDoc(); }

void CairoPdfSurface::ApplyPaper() {
    if (mCustom) return;
    const Paper* paper = &kPapers[0];
    for (const Paper& p : kPapers) {
        if (p.Code == mPaperSize) paper = &p;
    }
    const bool landscape = mOrientation == 2;
    mWidth = landscape ? paper->Height : paper->Width;
    mHeight = landscape ? paper->Width : paper->Height;
}

void CairoPdfSurface::SetPaperSize(int32_t code) {
    for (const Paper& p : kPapers) {
        if (p.Code == code) {
            mPaperSize = code;
            mCustom = false;
            ApplyPaper();
            return;
        }
    }
}

void CairoPdfSurface::SetOrientation(int32_t code) {
    if (code != 1 && code != 2) return;
    mOrientation = code;
    ApplyPaper();
}

void CairoPdfSurface::SetWidth(double twips) {
    if (!std::isfinite(twips)) return;
    mCustom = true;
    mWidth = std::clamp(twips, kMinPage, kMaxPage);
}

void CairoPdfSurface::SetHeight(double twips) {
    if (!std::isfinite(twips)) return;
    mCustom = true;
    mHeight = std::clamp(twips, kMinPage, kMaxPage);
}

void CairoPdfSurface::Cls() {
    // Paper cannot be cleared; only the position goes home.
    mCurrentX = 0.0;
    mCurrentY = 0.0;
}

cairo_t* CairoPdfSurface::DrawingContext() {
    if (mFinished || !mOk) return nullptr;
    if (cairo_surface_status(mSurface) != CAIRO_STATUS_SUCCESS) {
        mOk = false;
        return nullptr;
    }
    if (cairo_status(mContext) != CAIRO_STATUS_SUCCESS) {
        // A context that went wrong is replaced; the document goes on.
        cairo_destroy(mContext);
        mContext = cairo_create(mSurface);
        if (cairo_status(mContext) != CAIRO_STATUS_SUCCESS) return nullptr;
    }
    if (mPendingPages > 0) {
        // Drawing after NewPage: the pages asked for begin now, blank ones between included.
        for (int32_t i = 0; i < mPendingPages; ++i) {
            if (!mPageOpen) cairo_pdf_surface_set_size(mSurface, mWidth / 20.0, mHeight / 20.0);
            cairo_show_page(mContext);
            mPageOpen = false;
        }
        mPageCount = std::max(mPageCount, 1) + mPendingPages;
        mPendingPages = 0;
    }
    if (!mPageOpen) {
        cairo_pdf_surface_set_size(mSurface, mWidth / 20.0, mHeight / 20.0);
        mPageOpen = true;
        mPageCount = std::max(mPageCount, 1);
    }
    return mContext;
}

void CairoPdfSurface::NewPage() {
    if (mFinished) return;
    Flush();
    ++mPendingPages;
}

void CairoPdfSurface::EndDoc() {
    if (mFinished) return;
    Flush();
    mFinished = true;
    if (!CloseDocument(mContext, mSurface)) mOk = false;
}

}  // namespace corvendi
