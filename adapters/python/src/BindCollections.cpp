// The engine's collections as Python sequences: len(), 0-based indexing with negative indexes,
// slices (a list) and iteration. The engine's own 1-based lookups keep their names (`item`,
// `by_index`). Iterators step by position, so a collection changed while it is iterated never
// leaves an iterator pointing at freed memory.
#include <corvendi/GlobalEvents.h>
#include <corvendi/Instruments.h>
#include <corvendi/Notes.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/Voices.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <string>

#include "Bindings.h"

namespace corvendi::python {

namespace {

// The item at 0-based `index` of a collection with Count() and random-access begin().
template <typename Collection>
auto At(const Collection& collection, int64_t index) {
    const int64_t count = collection.Count();
    if (index < 0) index += count;
    if (index < 0 || index >= count) throw py::index_error("index out of range");
    return *(collection.begin() + index);
}

template <typename Collection>
struct Iterator {
    std::shared_ptr<Collection> Items;
    int64_t Next = 0;
};

template <typename Collection, typename Class>
void AddSequence(py::module_& m, Class& cls, const char* iteratorName) {
    using It = Iterator<Collection>;
    py::class_<It>(m, iteratorName)
        .def("__iter__", [](It& it) -> It& { return it; })
        .def("__next__", [](It& it) {
            if (it.Next >= it.Items->Count()) throw py::stop_iteration();
            return At(*it.Items, it.Next++);
        });
    cls.def("__len__", &Collection::Count)
        .def("__getitem__", [](const Collection& c, int64_t index) { return At(c, index); })
        .def(
            "__getitem__",
            [](const Collection& c, const py::slice& slice) {
                size_t start = 0, stop = 0, step = 0, length = 0;
                if (!slice.compute(static_cast<size_t>(c.Count()), &start, &stop, &step, &length)) {
                    throw py::error_already_set();
                }
                py::list items;
                for (size_t k = 0; k < length; ++k) {
                    items.append(At(c, static_cast<int64_t>(start + k * step)));
                }
                return items;
            })
        .def("__iter__", [](std::shared_ptr<Collection> c) {
            return It{std::move(c), 0};
        });
}

// The lookups of the collections keyed by identifier: by 1-based position or by ID.
template <typename Collection, typename Class>
void AddKeyedLookups(Class& cls) {
    cls.def("item", py::overload_cast<int32_t>(&Collection::Item, py::const_), py::arg("index"),
            "By 1-based position or by ID; None when absent.")
        .def("item", py::overload_cast<const std::string&>(&Collection::Item, py::const_),
             py::arg("id"))
        .def_property_readonly("count", &Collection::Count)
        .def("new_id", &Collection::NewID);
}

template <typename Collection, typename Class>
void AddKeyedRemoval(Class& cls) {
    cls.def("remove", py::overload_cast<int32_t>(&Collection::Remove), py::arg("index"))
        .def("remove", py::overload_cast<const std::string&>(&Collection::Remove), py::arg("id"))
        .def("clear", &Collection::Clear);
}

void BindNotes(py::module_& m) {
    py::class_<Notes, std::shared_ptr<Notes>> cls(
        m, "Notes", "The notes of one voice in time order, at most one per time.");
    cls.def(py::init<>())
        .def("add", &Notes::Add, py::arg("at_time"), py::arg("value"), py::arg("duration"),
             py::arg("flags") = 0,
             "Adds a pitch to the note at at_time (made when missing); shortens the previous "
             "note to end there.")
        .def("item", &Notes::Item, py::arg("at_time"), py::arg("le") = false, py::arg("lt") = false,
             "The note at at_time, else the next; with le the last at or before; with lt the "
             "last before.")
        .def("by_index", &Notes::ByIndex, py::arg("index"), "1-based; None outside.")
        .def_property_readonly("count", &Notes::Count)
        .def("next_item", &Notes::NextItem)
        .def("prev_item", &Notes::PrevItem)
        .def("remove", &Notes::Remove, py::arg("at_time"))
        .def("remove_range", &Notes::RemoveRange, py::arg("from_time"), py::arg("to_time"),
             "Removes [from_time, to_time) and moves later notes back.");
    AddSequence<Notes>(m, cls, "_NotesIterator");
}

void BindVoices(py::module_& m) {
    py::class_<Voices, std::shared_ptr<Voices>> cls(m, "Voices", "All voices of a score.");
    cls.def("add", &Voices::Add, py::arg("id"), py::arg("instrument"), py::arg("description"));
    AddKeyedLookups<Voices>(cls);
    AddKeyedRemoval<Voices>(cls);
    AddSequence<Voices>(m, cls, "_VoicesIterator");
}

void BindInstruments(py::module_& m) {
    py::class_<Instruments, std::shared_ptr<Instruments>> cls(
        m, "Instruments", "The instruments a score uses (at most 16).");
    cls.def("add", &Instruments::Add, py::arg("id"), py::arg("value"),
            "An instrument from catalogue entry value (0..174); None when it cannot be made.")
        .def("item", py::overload_cast<int32_t>(&Instruments::Item, py::const_), py::arg("index"))
        .def("item", py::overload_cast<const std::string&>(&Instruments::Item, py::const_),
             py::arg("id"))
        .def_property_readonly("count", &Instruments::Count)
        .def("remove", py::overload_cast<int32_t>(&Instruments::Remove), py::arg("index"))
        .def("remove", py::overload_cast<const std::string&>(&Instruments::Remove), py::arg("id"))
        .def("clear", &Instruments::Clear)
        .def("new_id", &Instruments::NewID);
    AddSequence<Instruments>(m, cls, "_InstrumentsIterator");
}

void BindStaffs(py::module_& m) {
    py::class_<Staffs, std::shared_ptr<Staffs>> cls(m, "Staffs", "The score's ordered staffs.");
    cls.def("item_count", &Staffs::ItemCount, py::arg("at_time"), py::arg("duration"))
        .def("key_count", &Staffs::KeyCount, py::arg("at_time"), py::arg("duration"));
    AddKeyedLookups<Staffs>(cls);
    AddSequence<Staffs>(m, cls, "_StaffsIterator");
}

void BindGlobalEvents(py::module_& m) {
    py::class_<GlobalEvents, std::shared_ptr<GlobalEvents>> cls(
        m, "GlobalEvents",
        "Score-wide timed events in time order. As a sequence: the events other than time "
        "signatures (time_item gives those).");
    cls.def(py::init<>())
        .def("add", &GlobalEvents::Add, py::arg("at_time"), py::arg("event_type"),
             py::arg("value1") = 0, py::arg("value2") = 0, py::arg("text") = "")
        .def("find", &GlobalEvents::Find, py::arg("at_time"), py::arg("event_type"),
             py::arg("exact") = false, py::arg("high_ix") = 0)
        .def("item", &GlobalEvents::Item, py::arg("at_time"), py::arg("event_type"))
        .def("set_item", &GlobalEvents::SetItem, py::arg("at_time"), py::arg("event_type"),
             py::arg("event"))
        .def("remove", &GlobalEvents::Remove, py::arg("at_time"), py::arg("event_type"))
        .def("clear", &GlobalEvents::Clear)
        .def_property_readonly("count", &GlobalEvents::Count)
        .def("by_index", &GlobalEvents::ByIndex, py::arg("index"))
        .def_property_readonly("time_item_count", &GlobalEvents::TimeItemCount)
        .def("time_item", &GlobalEvents::TimeItem, py::arg("index"))
        .def("cur_time_val", &GlobalEvents::CurTimeVal, py::arg("at_time"))
        .def_property("dft_time_val", &GlobalEvents::DftTimeVal, &GlobalEvents::SetDftTimeVal)
        .def_property("pulse_value", &GlobalEvents::PulseValue, &GlobalEvents::SetPulseValue)
        .def(
            "measure_info",
            [](GlobalEvents& events, int32_t atTime) {
                const MeasureInfoResult info = events.MeasureInfo(atTime);
                return py::make_tuple(info.Number, info.Duration);
            },
            py::arg("at_time"), "(number, duration) of the measure at_time lies in.")
        .def("measure_time", &GlobalEvents::MeasureTime, py::arg("mes_no"));
    AddSequence<GlobalEvents>(m, cls, "_GlobalEventsIterator");
}

}  // namespace

void BindCollections(py::module_& m) {
    BindNotes(m);
    BindVoices(m);
    BindInstruments(m);
    BindStaffs(m);
    BindGlobalEvents(m);
}

}  // namespace corvendi::python
