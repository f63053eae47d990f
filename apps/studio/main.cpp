// corvendi-studio [FILE]: the desktop program to write, open, save and print scores.
#include <corvendi/Platform.h>
#include <corvendi/gtk/GtkPlatform.h>

#include <memory>
#include <string>

#include "StudioTiming.h"
#include "StudioWindow.h"

int main(int argc, char* argv[]) {
    const std::string path = argc > 1 ? argv[1] : "";
    corvendi::studio::StudioTiming timing;
    timing.Mark("main");
    auto platform = std::make_shared<corvendi::gtk::GtkPlatform>();
    corvendi::SetPlatform(platform);
    // Each start is a window of its own, which keeps the program independent of a session bus.
    auto app = Gtk::Application::create("org.corvendi.Studio", Gio::Application::Flags::NON_UNIQUE);
    app->signal_activate().connect([&] {
        timing.Mark("GTK started");
        corvendi::studio::StudioWindow::SetAccelerators(*app);
        auto* window = new corvendi::studio::StudioWindow(platform, path);
        app->add_window(*window);
        window->signal_hide().connect([window] { delete window; });
        window->present();
        window->ShowFirstPage();
    });
    const int status = app->run(1, argv);
    corvendi::SetPlatform(nullptr);
    return status;
}
