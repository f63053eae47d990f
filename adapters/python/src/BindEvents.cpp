// ScoreEvents for Python: a Python class derives from corvendi.ScoreEvents and defines the
// events it wants (snake_case names: change_notify, active_staff, ...). An exception raised by a
// handler never reaches the engine, which is in the middle of the operation that raised the
// event: it is reported through sys.unraisablehook and the operation goes on.
#include <corvendi/MIDIEvent.h>
#include <corvendi/ScoreEvents.h>
#include <corvendi/Staff.h>

#include <memory>

#include "Bindings.h"

namespace corvendi::python {

namespace {

class PyScoreEvents : public ScoreEvents {
  public:
    void ActiveMeasure(int32_t Number) override { Call("active_measure", Number); }
    void ActiveStaff(const std::shared_ptr<Staff>& CurStaff) override {
        Call("active_staff", CurStaff);
    }
    void ActiveVoice(int32_t Number) override { Call("active_voice", Number); }
    void AfterOpenSave() override { Call("after_open_save"); }
    void BeforeOpenSave(int32_t Size) override { Call("before_open_save", Size); }
    void ChangeNotify(bool IsChanged) override { Call("change_notify", IsChanged); }
    void GoRepeat(int32_t NextTime) override { Call("go_repeat", NextTime); }
    void HistoryChanged(bool CanUndo) override { Call("history_changed", CanUndo); }
    void RedoChanged(bool CanRedo) override { Call("redo_changed", CanRedo); }
    void LoadMIDI(const std::shared_ptr<MIDIEvent>& EventObj) override {
        Call("load_midi", EventObj);
    }
    void PlayDone() override { Call("play_done"); }
    void MarkHandle(int16_t HType, int32_t Y) override { Call("mark_handle", HType, Y); }
    void MarkRepeat(int32_t CurTime) override { Call("mark_repeat", CurTime); }
    void ProgressReport(int32_t Position) override { Call("progress_report", Position); }
    void SelectionCleared() override { Call("selection_cleared"); }
    void SkipSection(int32_t CurTime, int32_t NextTime) override {
        Call("skip_section", CurTime, NextTime);
    }
    void WindowCleared() override { Call("window_cleared"); }

  private:
    // Calls the Python override of `name`, if the Python class defines one.
    template <typename... Args>
    void Call(const char* name, Args&&... args) {
        py::gil_scoped_acquire gil;
        py::function override = py::get_override(static_cast<const ScoreEvents*>(this), name);
        if (!override) return;
        try {
            override(std::forward<Args>(args)...);
        } catch (py::error_already_set& error) {
            error.discard_as_unraisable(name);
        }
    }
};

// The base class's events do nothing; Python subclasses override the ones they need.
void Nothing(const ScoreEvents&, py::args) {}

}  // namespace

void BindEvents(py::module_& m) {
    py::class_<ScoreEvents, PyScoreEvents, std::shared_ptr<ScoreEvents>>(
        m, "ScoreEvents",
        "What a score tells its host. Derive, define the events you need and set it as "
        "Score.events.")
        .def(py::init<>())
        .def("active_measure", &Nothing)
        .def("active_staff", &Nothing)
        .def("active_voice", &Nothing)
        .def("after_open_save", &Nothing)
        .def("before_open_save", &Nothing)
        .def("change_notify", &Nothing)
        .def("go_repeat", &Nothing)
        .def("history_changed", &Nothing)
        .def("redo_changed", &Nothing)
        .def("load_midi", &Nothing)
        .def("play_done", &Nothing)
        .def("mark_handle", &Nothing)
        .def("mark_repeat", &Nothing)
        .def("progress_report", &Nothing)
        .def("selection_cleared", &Nothing)
        .def("skip_section", &Nothing)
        .def("window_cleared", &Nothing);
}

}  // namespace corvendi::python
