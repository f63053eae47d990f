// What a script needs beyond the host API to work without a window system: the thread's
// headless platform, a page window to lay out and hit-test on, pagination run to its end on
// the virtual clock, rendering through the cairo adapter, the document dump, and the engine's
// errors as Python exceptions.
#include <corvendi/Error.h>
#include <corvendi/HeadlessPlatform.h>
#include <corvendi/Platform.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>
#include <corvendi/ToJson.h>
#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/Render.h>
#include <corvendi/dialogs/DialogPresenter.h>
#include <pybind11/stl.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Bindings.h"

namespace corvendi::python {

namespace {

std::shared_ptr<HeadlessPlatform> ThreadPlatform() {
    auto platform = std::dynamic_pointer_cast<HeadlessPlatform>(CurrentPlatformPtr());
    if (!platform) throw std::runtime_error("the thread's platform is not a headless platform");
    return platform;
}

constexpr int32_t kTwipsPerInch = 1440;

// A score keeps the screen's pixel size of its creation and places text by it, so its windows
// must have that pixel size. For one call, the thread's platform (which the adapter sizes its
// windows by) takes the score's pixel size.
class ScoreResolution {
  public:
    explicit ScoreResolution(const Score& score)
        : mPlatform(ThreadPlatform()),
          mX(mPlatform->TwipsPerPixelX()),
          mY(mPlatform->TwipsPerPixelY()) {
        const int32_t dpi = std::max(1, score.TwipsToPixelsX(kTwipsPerInch));
        mPlatform->SetTwipsPerPixel(kTwipsPerInch / dpi, kTwipsPerInch / dpi);
    }
    ~ScoreResolution() { mPlatform->SetTwipsPerPixel(mX, mY); }
    ScoreResolution(const ScoreResolution&) = delete;
    ScoreResolution& operator=(const ScoreResolution&) = delete;

  private:
    std::shared_ptr<HeadlessPlatform> mPlatform;
    int32_t mX;
    int32_t mY;
};

// Attaches an image window of the page's size when the score has none, then lets pagination
// run to its end. Returns the page count.
int32_t Paginate(Score& score) {
    ScoreResolution resolution(score);
    if (!score.Window()) {
        score.SetWindow(std::make_shared<CairoImageSurface>(
            score.SheetWidthTw(), score.SheetHeightTw(), CurrentPlatform().TwipsPerPixelX()));
    }
    Platform& platform = CurrentPlatform();
    while (score.Paginating() && platform.ProcessPendingEvents()) {
    }
    return score.LastPage();
}

std::vector<std::shared_ptr<Region>> Regions(Score& score) {
    Paginate(score);
    if (score.Regions().empty()) score.PaintWindow();
    return score.Regions();
}

// Renders through the adapter at the score's own resolution, then gives the score its own
// window and page back: a render attaches a window of its own.
std::vector<std::string> Render(Score& score, const std::string& path,
                                std::optional<int32_t> fromPage, std::optional<int32_t> toPage) {
    const auto format = cairo::RenderFormatOf(path);
    if (!format) {
        throw Error("render.format", path + ": the file name must end in .pdf, .png or .svg");
    }
    const std::shared_ptr<Surface> window = score.Window();
    const int32_t page = score.CurPage();
    cairo::RenderOptions options;
    options.FromPage = fromPage;
    options.ToPage = toPage;
    std::vector<std::string> written;
    {
        ScoreResolution resolution(score);
        written = cairo::Render(score, *format, path, options);
    }
    if (window) {
        score.SetWindow(window);
        Paginate(score);
        if (page != score.CurPage() && page <= score.LastPage()) score.SetCurPage(page);
    }
    return written;
}

void TranslateErrors() {
    py::register_exception_translator([](std::exception_ptr thrown) {
        try {
            if (thrown) std::rethrow_exception(thrown);
        } catch (const Error& error) {
            // The package builds the exception of the right class for the identifier.
            py::object made =
                py::module_::import("corvendi").attr("_error_for")(error.Id(), error.Message());
            PyErr_SetObject(reinterpret_cast<PyObject*>(Py_TYPE(made.ptr())), made.ptr());
        }
    });
}

void BindPlatform(py::module_& m) {
    py::class_<HeadlessPlatform, std::shared_ptr<HeadlessPlatform>>(
        m, "Platform", "The thread's headless platform: clock, screen, folders, timers, dialogs.")
        .def_property_readonly("twips_per_pixel_x", &HeadlessPlatform::TwipsPerPixelX)
        .def_property_readonly("twips_per_pixel_y", &HeadlessPlatform::TwipsPerPixelY)
        .def("set_twips_per_pixel", &HeadlessPlatform::SetTwipsPerPixel, py::arg("x"), py::arg("y"))
        .def(
            "set_fixed_time",
            [](HeadlessPlatform& p, std::optional<std::tuple<int32_t, int32_t, int32_t>> time) {
                if (!time) return p.SetFixedTime(std::nullopt);
                const auto [hour, minute, second] = *time;
                p.SetFixedTime(TimeOfDay{hour, minute, second});
            },
            py::arg("time"),
            "(hour, minute, second) makes new identifiers reproducible; None: the local clock.")
        .def_property("app_folder", &HeadlessPlatform::AppFolder, &HeadlessPlatform::SetAppFolder)
        .def("process_pending_events", &HeadlessPlatform::ProcessPendingEvents)
        .def_property_readonly("virtual_time_ms", &HeadlessPlatform::VirtualTimeMs)
        .def_property_readonly(
            "messages",
            [](const HeadlessPlatform& p) {
                py::list messages;
                for (const auto& message : p.Messages()) {
                    messages.append(py::make_tuple(message.Text, message.Title));
                }
                return messages;
            },
            "The message boxes shown, as (text, title).")
        .def("clear_messages", &HeadlessPlatform::ClearMessages)
        .def_property("clipboard_text", &HeadlessPlatform::ClipboardText,
                      &HeadlessPlatform::SetClipboardText,
                      "The thread's clipboard, a text in memory shared by its scores.")
        .def("clear_clipboard", &HeadlessPlatform::ClearClipboard)
        .def("_set_dialog_presenter", &HeadlessPlatform::SetDialogPresenter, py::arg("presenter"));
    m.def("platform", &ThreadPlatform, "The calling thread's platform.");
}

}  // namespace

void BindScoreSession(ScoreClass& cls) {
    cls.def("paginate", &Paginate,
            "Attaches a page window when the score has none and lets pagination run to its "
            "end; returns last_page.")
        .def_property_readonly("has_window", [](const Score& s) { return s.Window() != nullptr; })
        .def("detach_window", [](Score& s) { s.SetWindow(nullptr); })
        .def("paint_window", &Score::PaintWindow, "Draws the current page on the window.")
        .def("regions", &Regions, "The hit regions of the current page, top to bottom.")
        .def("_render", &Render, py::arg("path"), py::arg("from_page"), py::arg("to_page"))
        .def("_to_json", [](const Score& s) { return ToJson(s); });
}

void BindSession(py::module_& m) {
    TranslateErrors();
    BindPlatform(m);
}

}  // namespace corvendi::python
