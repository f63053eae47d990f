// The printer: a cairo surface writing a PDF document page by page.
//
// - The page is set by PaperSize (1 Letter, 5 Legal, 7 Executive, 9 A4, 11 A5) and Orientation
//   (1 portrait, 2 landscape); setting Width or Height makes a custom page of that size in twips
//   as given (the orientation does not turn a custom page). A page takes the size in force when
//   its first thing is drawn.
// - NewPage ends the page; the next page starts only when something is drawn on it, so a
//   NewPage after the last page adds no blank page. EndDoc completes the file (the destructor
//   does too); drawing after EndDoc is ignored.
// - ScaleWidth/ScaleHeight equal the page (there is no unprintable margin). Twips per pixel
//   are 3 unless told (480 dpi): fine enough that the snapping of positions to pixels is
//   invisible on paper.
#pragma once

#include <corvendi/Export.h>
#include <corvendi/cairo/CairoSurface.h>

#include <cstdint>
#include <string>

namespace corvendi {

class CORVENDI_API CairoPdfSurface : public CairoSurface {
  public:
    explicit CairoPdfSurface(std::string path, int32_t twipsPerPixel = 3);
    ~CairoPdfSurface() override;

    SurfaceKind Kind() const override { return SurfaceKind::Printer; }

    void SetPaperSize(int32_t code) override;
    void SetOrientation(int32_t code) override;
    void SetWidth(double twips) override;
    void SetHeight(double twips) override;
    void Cls() override;
    void NewPage() override;
    void EndDoc() override;

    // Pages of the document so far: the pages drawn on and the blank pages between them.
    int32_t PageCount() const { return mPageCount; }
    // False when the file could not be written.
    bool Ok() const { return mOk; }

  protected:
    cairo_t* DrawingContext() override;
    double DeviceUnitsPerTwip() const override { return 1.0 / 20.0; }
    bool PixelAligned() const override { return false; }

  private:
    void ApplyPaper();

    std::string mPath;
    cairo_surface_t* mSurface = nullptr;
    cairo_t* mContext = nullptr;
    bool mCustom = false;
    bool mPageOpen = false;     // the current page has its size and may hold drawing
    int32_t mPendingPages = 0;  // NewPage calls not yet followed by drawing
    int32_t mPageCount = 0;
    bool mFinished = false;
    bool mOk = true;
};

}  // namespace corvendi
