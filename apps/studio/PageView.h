// The page view: the score's page image in a drawing area with scroll bars, the mouse turned
// into page twips, a rubber band for selecting, and the view's own zoom arithmetic.
#pragma once

#include <gtkmm.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "PageImage.h"
#include "ViewGeometry.h"

namespace corvendi::studio {

struct PageRect {
    PagePoint From;
    PagePoint To;
};

class PageView : public Gtk::Grid {
  public:
    PageView();
    ~PageView() override;

    ViewGeometry& Geometry() { return mGeometry; }
    const ViewGeometry& Geometry() const { return mGeometry; }
    // The image the score paints on, sized for the geometry's page and zoom.
    void SetImage(std::shared_ptr<PageImage> image);
    const std::shared_ptr<PageImage>& Image() const { return mImage; }
    // Shows the image again (after the score painted) and the scroll bars for the geometry.
    void Refresh();
    // Runs `then` once the next frame is on screen (from the main loop, outside the paint).
    void AfterNextFrame(std::function<void()> then);
    // A rectangle of the page marked as selected; nullopt for none.
    void SetMark(std::optional<PageRect> mark);
    // While true a drag draws a rubber band and reports a rectangle; else a press is a click.
    void SetSelecting(bool on) { mSelecting = on; }

    // What the user does, in page twips.
    std::function<void(PagePoint)> OnMotion;
    std::function<void(PagePoint, guint button, Gdk::ModifierType)> OnPress;
    std::function<void(PageRect)> OnSelect;
    // Ctrl+wheel: +1 zoom in, -1 zoom out, around the pointer.
    std::function<void(int32_t direction, ViewPoint anchor)> OnZoom;
    // Called at the end of each draw handler with its duration in milliseconds, and when the
    // frame that draw belongs to has been painted on screen.
    std::function<void(double drawMs)> OnDrawn;
    std::function<void()> OnPainted;
    // Draws over the page, in view coordinates, after the page image (the playing measure).
    std::function<void(const Cairo::RefPtr<Cairo::Context>&)> OnOverlay;
    // The scroll offsets changed (by a bar or the wheel), or the view's size.
    std::function<void()> OnScrolled;
    std::function<void()> OnResized;

    Gtk::DrawingArea& Area() { return mArea; }

  private:
    // Where the page lies in the view (Origin, and view pixels per image pixel, Scale) and the
    // rectangle of image pixels (X0, Y0)-(X1, Y1) the view shows of what the score painted.
    struct PageFrame {
        ViewPoint Origin;
        double Stretch = 1.0, Scale = 1.0;
        double Width = 0.0, Height = 0.0;  // the page, image pixels
        double X0 = 0.0, Y0 = 0.0, X1 = 0.0, Y1 = 0.0;
        bool Shows() const { return X1 > X0 && Y1 > Y0; }
    };

    void Draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height);
    PageFrame FrameOfPage(cairo_t* c) const;
    // The grey view round the page and the white paper round the part of the picture shown.
    void PaintBackdrop(cairo_t* c, const PageFrame& frame, int viewWidth, int viewHeight) const;
    void DrawPicture(cairo_t* c, cairo_surface_t* picture, const PageFrame& frame);
    void SyncScrollBars();
    void ScrollBy(double dx, double dy);
    void DisconnectFrameClock();

    ViewGeometry mGeometry;
    std::shared_ptr<PageImage> mImage;
    Gtk::DrawingArea mArea;
    Glib::RefPtr<Gtk::Adjustment> mHAdjust;
    Glib::RefPtr<Gtk::Adjustment> mVAdjust;
    Gtk::Scrollbar mHBar;
    Gtk::Scrollbar mVBar;
    bool mSyncing = false;
    bool mDrawnInFrame = false;
    std::vector<std::function<void()>> mAfterFrame;
    Glib::RefPtr<Gdk::FrameClock> mFrameClock;
    gulong mAfterPaint = 0;
    bool mSelecting = false;
    std::optional<ViewPoint> mDragStart;
    std::optional<PageRect> mMark;
    ViewPoint mDragNow;
    ViewPoint mPointer;
};

}  // namespace corvendi::studio
