// The platform's floor for a click's redraw: a bare GTK 4 window whose drawing area queues a draw
// from its button-press handler, timed from the start of that handler to the end of the draw
// handler, as the studio times a click. With --label a status label beside it is given new text
// on every motion event (as the studio's pitch read-out is); with --same-size the label is given
// a fixed width first, so that its new text does not change its size.
//
//   gtk-frame-floor [--label] [--same-size]    (driven by tools/gtk-frame-floor.sh)
#include <gtkmm.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

class FloorWindow : public Gtk::Window {
  public:
    FloorWindow(bool label, bool sameSize) : mBox(Gtk::Orientation::VERTICAL) {
        set_default_size(1100, 800);
        mArea.set_hexpand(true);
        mArea.set_vexpand(true);
        mArea.set_draw_func(sigc::mem_fun(*this, &FloorWindow::Draw));
        mBox.append(mArea);
        mStatus.set_xalign(0.0f);
        if (sameSize) {
            mStatus.set_width_chars(40);
            mStatus.set_max_width_chars(40);
            mStatus.set_ellipsize(Pango::EllipsizeMode::END);
        }
        mBox.append(mStatus);
        set_child(mBox);

        auto press = Gtk::GestureClick::create();
        press->signal_pressed().connect([this](int, double, double) {
            mPressed = Clock::now();
            mArea.queue_draw();
        });
        mArea.add_controller(press);
        if (label) {
            auto motion = Gtk::EventControllerMotion::create();
            motion->signal_motion().connect([this](double x, double y) {
                mStatus.set_text("Pointer at " + std::to_string(int(x)) + ", " +
                                 std::to_string(int(y)));
            });
            mArea.add_controller(motion);
        }
    }

  private:
    void Draw(const Cairo::RefPtr<Cairo::Context>& cr, int width, int height) {
        cr->set_source_rgb(0.55, 0.57, 0.6);
        cr->paint();
        cr->set_source_rgb(1, 1, 1);
        cr->rectangle(20, 20, width - 40, height - 40);
        cr->fill();
        if (!mPressed) return;
        std::printf("timing: click to the end of the draw handler %.2f ms\n",
                    MillisecondsSince(*mPressed));
        std::fflush(stdout);
        mPressed.reset();
    }

    Gtk::Box mBox;
    Gtk::DrawingArea mArea;
    Gtk::Label mStatus;
    std::optional<Clock::time_point> mPressed;
};

}  // namespace

int main(int argc, char** argv) {
    bool label = false, sameSize = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        label = label || arg == "--label" || arg == "--same-size";
        sameSize = sameSize || arg == "--same-size";
    }
    auto app =
        Gtk::Application::create("org.corvendi.FrameFloor", Gio::Application::Flags::NON_UNIQUE);
    return app->make_window_and_run<FloorWindow>(1, argv, label, sameSize);
}
