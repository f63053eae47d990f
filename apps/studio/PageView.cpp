#include "PageView.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace corvendi::studio {

namespace {
constexpr double kWheelStep = 48.0;  // logical pixels per wheel notch
constexpr double kClickSlop = 4.0;   // a drag shorter than this is a click
}  // namespace

PageView::PageView()
    : mHAdjust(Gtk::Adjustment::create(0, 0, 1, kWheelStep, 400, 1)),
      mVAdjust(Gtk::Adjustment::create(0, 0, 1, kWheelStep, 400, 1)),
      mHBar(mHAdjust, Gtk::Orientation::HORIZONTAL),
      mVBar(mVAdjust, Gtk::Orientation::VERTICAL) {
    mArea.set_hexpand(true);
    mArea.set_vexpand(true);
    mArea.set_focusable(true);
    mArea.set_draw_func(sigc::mem_fun(*this, &PageView::Draw));
    attach(mArea, 0, 0);
    attach(mVBar, 1, 0);
    attach(mHBar, 0, 1);

    mArea.signal_realize().connect([this] {
        mFrameClock = mArea.get_frame_clock();
        mAfterPaint = g_signal_connect_swapped(
            mFrameClock->gobj(), "after-paint", G_CALLBACK(+[](PageView* view) {
                if (!view->mAfterFrame.empty()) {
                    Glib::signal_idle().connect_once([view, then = std::move(view->mAfterFrame)] {
                        for (const auto& f : then) f();
                    });
                    view->mAfterFrame.clear();
                }
                if (!view->mDrawnInFrame) return;
                view->mDrawnInFrame = false;
                if (view->OnPainted) view->OnPainted();
            }),
            this);
    });
    mArea.signal_unrealize().connect([this] { DisconnectFrameClock(); });
    mArea.signal_resize().connect([this](int width, int height) {
        mGeometry.SetViewport(width, height);
        SyncScrollBars();
        if (OnResized) OnResized();
    });
    auto onBar = [this] {
        if (mSyncing) return;
        mGeometry.ScrollTo(mHAdjust->get_value(), mVAdjust->get_value());
        mArea.queue_draw();
        if (OnScrolled) OnScrolled();
    };
    mHAdjust->signal_value_changed().connect(onBar);
    mVAdjust->signal_value_changed().connect(onBar);

    auto scroll = Gtk::EventControllerScroll::create();
    scroll->set_flags(Gtk::EventControllerScroll::Flags::BOTH_AXES);
    scroll->signal_scroll().connect(
        [this, scroll = scroll.get()](double dx, double dy) {
            if ((scroll->get_current_event_state() & Gdk::ModifierType::CONTROL_MASK) ==
                Gdk::ModifierType::CONTROL_MASK) {
                if (OnZoom && dy != 0.0) OnZoom(dy < 0 ? 1 : -1, mPointer);
                return true;
            }
            ScrollBy(dx * kWheelStep, dy * kWheelStep);
            return true;
        },
        false);
    mArea.add_controller(scroll);

    auto motion = Gtk::EventControllerMotion::create();
    motion->signal_motion().connect([this](double x, double y) {
        mPointer = {x, y};
        if (OnMotion) OnMotion(mGeometry.ToPage(mPointer));
    });
    mArea.add_controller(motion);

    // Presses of any button; a drag with the first button in select mode is a rubber band.
    auto press = Gtk::GestureClick::create();
    press->set_button(0);
    press->signal_pressed().connect([this, press = press.get()](int, double x, double y) {
        mArea.grab_focus();
        const guint button = press->get_current_button();
        if (mSelecting && button == GDK_BUTTON_PRIMARY) return;
        if (OnPress) OnPress(mGeometry.ToPage({x, y}), button, press->get_current_event_state());
    });
    mArea.add_controller(press);

    auto drag = Gtk::GestureDrag::create();
    drag->signal_drag_begin().connect([this](double x, double y) {
        if (mSelecting) mDragStart = mDragNow = ViewPoint{x, y};
    });
    drag->signal_drag_update().connect([this](double dx, double dy) {
        if (!mDragStart) return;
        mDragNow = {mDragStart->X + dx, mDragStart->Y + dy};
        mArea.queue_draw();
    });
    drag->signal_drag_end().connect([this](double dx, double dy) {
        if (!mDragStart) return;
        const ViewPoint start = *mDragStart;
        mDragStart.reset();
        mArea.queue_draw();
        if (std::hypot(dx, dy) < kClickSlop) {
            if (OnPress) OnPress(mGeometry.ToPage(start), GDK_BUTTON_PRIMARY, {});
        } else if (OnSelect) {
            OnSelect({mGeometry.ToPage(start), mGeometry.ToPage({start.X + dx, start.Y + dy})});
        }
    });
    mArea.add_controller(drag);
}

PageView::~PageView() { DisconnectFrameClock(); }

void PageView::DisconnectFrameClock() {
    if (mFrameClock && mAfterPaint != 0)
        g_signal_handler_disconnect(mFrameClock->gobj(), mAfterPaint);
    mAfterPaint = 0;
    mFrameClock.reset();
}

void PageView::SetImage(std::shared_ptr<PageImage> image) {
    mImage = std::move(image);
    Refresh();
}

void PageView::AfterNextFrame(std::function<void()> then) {
    mAfterFrame.push_back(std::move(then));
    mArea.queue_draw();
}

void PageView::SetMark(std::optional<PageRect> mark) {
    mMark = mark;
    mArea.queue_draw();
}

void PageView::Refresh() {
    SyncScrollBars();
    mArea.queue_draw();
}

void PageView::SyncScrollBars() {
    mSyncing = true;
    mHAdjust->configure(mGeometry.ScrollX(), 0, mGeometry.ContentWidth(), kWheelStep,
                        mGeometry.ViewportWidth() * 0.9, mGeometry.ViewportWidth());
    mVAdjust->configure(mGeometry.ScrollY(), 0, mGeometry.ContentHeight(), kWheelStep,
                        mGeometry.ViewportHeight() * 0.9, mGeometry.ViewportHeight());
    mSyncing = false;
    // The bars stay in place when there is nothing to scroll: a bar appearing or going changes
    // the view's size, and GTK lays the window out again and the page is painted twice.
    mHBar.set_sensitive(mGeometry.MaxScrollX() > 0);
    mVBar.set_sensitive(mGeometry.MaxScrollY() > 0);
}

void PageView::ScrollBy(double dx, double dy) {
    mGeometry.ScrollTo(mGeometry.ScrollX() + dx, mGeometry.ScrollY() + dy);
    SyncScrollBars();
    mArea.queue_draw();
    if (OnScrolled) OnScrolled();
}

namespace {

constexpr double kGrey[] = {0.55, 0.57, 0.6};

// Adds a rectangle, shrunk to the whole pixels it covers, to the path.
void AddInnerPixels(cairo_t* c, double x0, double y0, double x1, double y1) {
    x0 = std::ceil(x0), y0 = std::ceil(y0), x1 = std::floor(x1), y1 = std::floor(y1);
    if (x1 > x0 && y1 > y0) cairo_rectangle(c, x0, y0, x1 - x0, y1 - y0);
}

}  // namespace

PageView::PageFrame PageView::FrameOfPage(cairo_t* c) const {
    PageFrame frame;
    frame.Origin = mGeometry.PageOrigin();
    // An image of another zoom (until the score has painted the new one) is stretched.
    frame.Stretch = mImage->TwipsPerPixelX() / mGeometry.TwipsPerDevicePixel();
    frame.Scale = frame.Stretch / mGeometry.Scale();
    frame.Width = mImage->PixelWidth();
    frame.Height = mImage->PixelHeight();
    // The part of the picture the score painted that the view shows: only that part is handed
    // over (and copied by GTK's frame), not the whole image.
    double left = 0, top = 0, right = 0, bottom = 0;
    cairo_save(c);
    cairo_translate(c, frame.Origin.X, frame.Origin.Y);
    cairo_scale(c, frame.Scale, frame.Scale);
    cairo_clip_extents(c, &left, &top, &right, &bottom);
    cairo_restore(c);
    const PixelArea& painted = mImage->Painted();
    frame.X0 = std::max<double>(painted.X, std::floor(left));
    frame.Y0 = std::max<double>(painted.Y, std::floor(top));
    frame.X1 = std::min({double(painted.X) + painted.Width, std::ceil(right), frame.Width});
    frame.Y1 = std::min({double(painted.Y) + painted.Height, std::ceil(bottom), frame.Height});
    return frame;
}

void PageView::PaintBackdrop(cairo_t* c, const PageFrame& frame, int viewWidth,
                             int viewHeight) const {
    // Each pixel is painted once: the grey round the paper, then the paper round the picture.
    // Where an edge cuts a pixel, the layer under it covers that pixel whole, as when each
    // layer was painted over the one before.
    const ViewPoint& o = frame.Origin;
    const double k = frame.Scale;
    cairo_save(c);
    cairo_set_fill_rule(c, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(c, 0, 0, viewWidth, viewHeight);
    AddInnerPixels(c, o.X, o.Y, o.X + frame.Width * k, o.Y + frame.Height * k);
    cairo_set_source_rgb(c, kGrey[0], kGrey[1], kGrey[2]);
    cairo_fill(c);
    cairo_rectangle(c, o.X, o.Y, frame.Width * k, frame.Height * k);
    if (frame.Shows()) {
        AddInnerPixels(c, o.X + frame.X0 * k, o.Y + frame.Y0 * k, o.X + frame.X1 * k,
                       o.Y + frame.Y1 * k);
    }
    cairo_set_source_rgb(c, 1, 1, 1);
    cairo_fill(c);
    cairo_restore(c);
}

void PageView::DrawPicture(cairo_t* c, cairo_surface_t* picture, const PageFrame& frame) {
    if (!frame.Shows()) return;
    cairo_save(c);
    cairo_translate(c, frame.Origin.X, frame.Origin.Y);
    cairo_scale(c, frame.Scale, frame.Scale);
    // The picture is in page pixels (its device offset places the area it holds).
    const double width = frame.X1 - frame.X0, height = frame.Y1 - frame.Y0;
    cairo_surface_t* shown =
        cairo_surface_create_for_rectangle(picture, frame.X0, frame.Y0, width, height);
    cairo_set_source_surface(c, shown, frame.X0, frame.Y0);
    // Whole device pixels: no smoothing between them.
    cairo_pattern_set_filter(cairo_get_source(c),
                             frame.Stretch == 1.0 ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
    cairo_rectangle(c, frame.X0, frame.Y0, width, height);
    cairo_fill(c);
    cairo_surface_destroy(shown);
    cairo_restore(c);
}

void PageView::Draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height) {
    const auto start = std::chrono::steady_clock::now();
    cairo_surface_t* picture = mImage ? mImage->Picture() : nullptr;
    if (picture) {
        const PageFrame frame = FrameOfPage(cr->cobj());
        PaintBackdrop(cr->cobj(), frame, width, height);
        DrawPicture(cr->cobj(), picture, frame);
    } else {
        cr->set_source_rgb(kGrey[0], kGrey[1], kGrey[2]);
        cr->paint();
    }
    if (mMark) {
        const ViewPoint a = mGeometry.ToView(mMark->From);
        const ViewPoint b = mGeometry.ToView(mMark->To);
        cr->rectangle(std::min(a.X, b.X), std::min(a.Y, b.Y), std::abs(b.X - a.X),
                      std::abs(b.Y - a.Y));
        cr->set_source_rgba(0.2, 0.4, 0.9, 0.12);
        cr->fill();
    }
    if (OnOverlay) OnOverlay(cr);
    if (mDragStart) {
        cr->rectangle(std::min(mDragStart->X, mDragNow.X) + 0.5,
                      std::min(mDragStart->Y, mDragNow.Y) + 0.5,
                      std::abs(mDragNow.X - mDragStart->X), std::abs(mDragNow.Y - mDragStart->Y));
        cr->set_source_rgba(0.2, 0.4, 0.9, 0.15);
        cr->fill_preserve();
        cr->set_source_rgb(0.2, 0.4, 0.9);
        cr->set_line_width(1.0);
        cr->stroke();
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    mDrawnInFrame = true;
    if (OnDrawn) OnDrawn(took.count());
}

}  // namespace corvendi::studio
