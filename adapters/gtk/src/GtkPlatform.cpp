#include <corvendi/gtk/GtkDialogPresenter.h>
#include <corvendi/gtk/GtkPlatform.h>
#include <glib.h>
#include <gtkmm.h>

#include <optional>

namespace corvendi::gtk {

struct GtkPlatform::Timer {
    guint Source = 0;
    std::shared_ptr<TimerCallback> Callback;
    bool Firing = false;
};

namespace {

constexpr std::chrono::milliseconds kClipboardWait{2000};

// What a GLib timeout carries: the platform and the engine's identifier of the timer.
struct TickTarget {
    GtkPlatform* Platform;
    int32_t Id;
};

Gtk::MessageType MessageTypeOf(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Critical: return Gtk::MessageType::ERROR;
        case MessageIcon::Question: return Gtk::MessageType::QUESTION;
        case MessageIcon::Exclamation: return Gtk::MessageType::WARNING;
        case MessageIcon::Information: return Gtk::MessageType::INFO;
        case MessageIcon::None: break;
    }
    return Gtk::MessageType::OTHER;
}

}  // namespace

GtkPlatform::GtkPlatform() {
    SetDialogPresenter(std::make_shared<GtkDialogPresenter>([this] { return ParentWindow(); }));
}

GtkPlatform::~GtkPlatform() {
    for (auto& [id, timer] : mTimers) g_source_remove(timer->Source);
    mTimers.clear();
}

bool GtkPlatform::HasDisplay() { return gdk_display_get_default() != nullptr; }

namespace {
// The first monitor's size in pixels, if there is one.
std::optional<Gdk::Rectangle> FirstMonitor() {
    if (!GtkPlatform::HasDisplay()) return std::nullopt;
    auto monitors = Gdk::Display::get_default()->get_monitors();
    if (!monitors || monitors->get_n_items() == 0) return std::nullopt;
    auto monitor = std::dynamic_pointer_cast<Gdk::Monitor>(monitors->get_object(0));
    if (!monitor) return std::nullopt;
    Gdk::Rectangle area;
    monitor->get_geometry(area);
    return area;
}
}  // namespace

int32_t GtkPlatform::ScreenWidthTw() const {
    const auto area = FirstMonitor();
    return area ? area->get_width() * TwipsPerPixelX() : HeadlessPlatform::ScreenWidthTw();
}

int32_t GtkPlatform::ScreenHeightTw() const {
    const auto area = FirstMonitor();
    return area ? area->get_height() * TwipsPerPixelY() : HeadlessPlatform::ScreenHeightTw();
}

namespace {
constexpr int kTimerPriority = GDK_PRIORITY_REDRAW + 1;
}  // namespace

int32_t GtkPlatform::StartTimer(int32_t periodMs, TimerCallback callback) {
    if (!callback) return 0;
    const int32_t id = ++mLastTimerId;
    auto timer = std::make_unique<Timer>();
    timer->Callback = std::make_shared<TimerCallback>(std::move(callback));
    // Just below GTK's redraw: a tick that falls due while a frame waits (a page laid out in the
    // background, a playback poll) runs after that frame rather than delaying it.
    timer->Source = g_timeout_add_full(
        kTimerPriority, static_cast<guint>(std::max(periodMs, 1)),
        reinterpret_cast<GSourceFunc>(&GtkPlatform::OnTick), new TickTarget{this, id},
        [](gpointer data) { delete static_cast<TickTarget*>(data); });
    mTimers[id] = std::move(timer);
    return id;
}

void GtkPlatform::StopTimer(int32_t timerId) {
    const auto found = mTimers.find(timerId);
    if (found == mTimers.end()) return;
    // Removing the source that is being dispatched is allowed: GLib drops it afterwards.
    g_source_remove(found->second->Source);
    mTimers.erase(found);
}

int GtkPlatform::OnTick(void* data) {
    const auto* target = static_cast<TickTarget*>(data);
    GtkPlatform& platform = *target->Platform;
    const int32_t id = target->Id;
    auto found = platform.mTimers.find(id);
    if (found == platform.mTimers.end()) return G_SOURCE_REMOVE;
    // The callback may stop this timer (destroying `target`) or start others.
    const std::shared_ptr<TimerCallback> callback = found->second->Callback;
    found->second->Firing = true;
    (*callback)();
    found = platform.mTimers.find(id);
    if (found == platform.mTimers.end()) return G_SOURCE_REMOVE;
    found->second->Firing = false;
    return G_SOURCE_CONTINUE;
}

bool GtkPlatform::AnyTimerCanFire() const {
    for (const auto& [id, timer] : mTimers) {
        if (!timer->Firing) return true;
    }
    return false;
}

bool GtkPlatform::ProcessPendingEvents() {
    // A timer inside its own callback cannot fire again from here: waiting for it would hang.
    if (AnyTimerCanFire()) {
        g_main_context_iteration(nullptr, TRUE);
        return true;
    }
    return g_main_context_iteration(nullptr, FALSE) != 0;
}

void GtkPlatform::AddToRecentDocs(const std::string& path) {
    if (!HasDisplay()) {
        HeadlessPlatform::AddToRecentDocs(path);
        return;
    }
    try {
        Gtk::RecentManager::get_default()->add_item(Glib::filename_to_uri(path));
    } catch (const Glib::Error&) {
        // A path that makes no URI is simply not remembered.
    }
}

void GtkPlatform::ShowMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    HeadlessPlatform::ShowMessage(text, title, icon);
    if (!HasDisplay()) return;
    Gtk::MessageDialog box(text, false, MessageTypeOf(icon), Gtk::ButtonsType::OK, true);
    if (Gtk::Window* parent = ParentWindow()) box.set_transient_for(*parent);
    box.set_title(title);
    bool closed = false;
    box.signal_response().connect([&](int) { closed = true; });
    box.signal_close_request().connect(
        [&] {
            closed = true;
            return false;
        },
        false);
    box.show();
    RunNestedLoopUntil([&] { return closed; });
    box.hide();
}

std::string GtkPlatform::ClipboardText() {
    if (!HasDisplay()) return HeadlessPlatform::ClipboardText();
    // The read may finish after the wait gave up: what it fills outlives this call.
    struct Read {
        bool Done = false;
        std::string Text;
    };
    auto read = std::make_shared<Read>();
    auto clipboard = Gdk::Display::get_default()->get_clipboard();
    auto cancel = Gio::Cancellable::create();
    clipboard->read_text_async(
        [read, clipboard](Glib::RefPtr<Gio::AsyncResult>& result) {
            try {
                read->Text = clipboard->read_text_finish(result);
            } catch (const Glib::Error&) {
                // No text on the clipboard, or the read was cancelled: nothing.
            }
            read->Done = true;
        },
        cancel);
    if (!RunNestedLoopUntil([read] { return read->Done; }, kClipboardWait)) {
        cancel->cancel();
        return {};
    }
    return read->Text;
}

void GtkPlatform::SetClipboardText(const std::string& text) {
    if (!HasDisplay()) {
        HeadlessPlatform::SetClipboardText(text);
        return;
    }
    Gdk::Display::get_default()->get_clipboard()->set_text(text);
}

void GtkPlatform::ClearClipboard() {
    if (!HasDisplay()) {
        HeadlessPlatform::ClearClipboard();
        return;
    }
    // The clipboard is kept, offering nothing. Giving it up instead loses a text set straight
    // after (copying clears, then sets): on X11 the server's notice of the release can arrive
    // after the new claim and is then taken for another program having emptied the clipboard.
    GdkContentProvider* nothing = gdk_content_provider_new_union(nullptr, 0);
    gdk_clipboard_set_content(Gdk::Display::get_default()->get_clipboard()->gobj(), nothing);
    g_object_unref(nothing);
}

void GtkPlatform::SetParentWindow(std::function<Gtk::Window*()> parent) {
    mParent = std::move(parent);
}

Gtk::Window* GtkPlatform::ParentWindow() const { return mParent ? mParent() : nullptr; }

}  // namespace corvendi::gtk
