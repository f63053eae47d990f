// The parts of the Python module, one function per group of classes, called in this order by
// the module's entry point (a class must be registered before a signature names it).
#pragma once

#include <corvendi/Score.h>
#include <pybind11/pybind11.h>

#include <memory>

namespace corvendi::python {

namespace py = pybind11;

using ScoreClass = py::class_<Score, DocumentOwner, std::shared_ptr<Score>>;

// Enumeration tables ({name: [(member, value)]}) the package turns into enum classes.
void BindEnums(py::module_& m);
// Note, Range, Region, Instrument, Voice, Staff, GlobalEvent, MIDIEvent, Font, the chord mapper.
void BindModel(py::module_& m);
// Notes, Voices, Instruments, Staffs, GlobalEvents as Python sequences.
void BindCollections(py::module_& m);
// ScoreEvents, which Python classes may derive from.
void BindEvents(py::module_& m);
// The dialog models, the presenters and the scripted answers.
void BindDialogs(py::module_& m);
// Score.
void BindScore(py::module_& m);
// The score's headless session: pagination, regions, rendering, the document dump.
void BindScoreSession(ScoreClass& cls);
// The thread's platform and the error translation.
void BindSession(py::module_& m);

}  // namespace corvendi::python
