#include <glib.h>

#include <corvendi/gtk/GtkPlatform.h>

namespace corvendi::gtk {

bool RunNestedLoopUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const bool bounded = timeout != std::chrono::milliseconds::max();
    const Clock::time_point deadline = bounded ? Clock::now() + timeout : Clock::time_point::max();
    // A source that wakes the loop at the deadline, so a quiet context cannot block past it.
    guint wake = 0;
    if (bounded) {
        wake = g_timeout_add(
            static_cast<guint>(std::max<int64_t>(1, timeout.count())),
            [](gpointer) -> gboolean { return G_SOURCE_CONTINUE; }, nullptr);
    }
    bool finished = done();
    while (!finished && Clock::now() < deadline) {
        g_main_context_iteration(nullptr, TRUE);
        finished = done();
    }
    if (wake != 0) g_source_remove(wake);
    return finished;
}

}  // namespace corvendi::gtk
