// Score: properties as attributes, engine methods in snake_case. Indexed properties are methods
// (`copyright(index)`, `set_copyright(text, index)`); out-arguments come back as tuples; an
// argument the engine takes as a number or a text accepts either.
#include <corvendi/ChordList.h>
#include <corvendi/ChordMapper.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/Instruments.h>
#include <corvendi/MIDIEvent.h>
#include <corvendi/Note.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/Voices.h>
#include <pybind11/stl.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Bindings.h"

namespace corvendi::python {

namespace {

// The chord names a score lists, gathered into (name, code) pairs.
class CollectedChords : public ChordList {
  public:
    void Clear() override { mEntries.clear(); }
    void AddItem(const std::string& text) override { mEntries.emplace_back(text, 0); }
    void SetItemData(int32_t index, int32_t code) override {
        if (index >= 0 && static_cast<size_t>(index) < mEntries.size()) {
            mEntries[static_cast<size_t>(index)].second = code;
        }
    }
    std::vector<std::pair<std::string, int32_t>> mEntries;
};

// None, an int or a str, for the engine's optional number-or-text arguments.
template <typename Call>
auto WithIndex(const py::object& index, Call call) {
    if (index.is_none()) return call(std::optional<int32_t>{});
    if (py::isinstance<py::str>(index)) return call(index.cast<std::string>());
    return call(std::optional<int32_t>{index.cast<int32_t>()});
}

py::object CursorResult(bool found, int32_t time, int32_t x, int32_t y, std::string lyric) {
    if (!found) return py::none();
    return py::make_tuple(time, x, y, std::move(lyric));
}

void BindTexts(ScoreClass& cls) {
    cls.def_property("title", &Score::Title, &Score::SetTitle)
        .def_property("sub_title", &Score::SubTitle, &Score::SetSubTitle)
        .def_property("heading", &Score::Heading, &Score::SetHeading)
        .def_property("composer", &Score::Composer, &Score::SetComposer)
        .def_property("arranged_by", &Score::ArrangedBy, &Score::SetArrangedBy)
        .def(
            "copyright",
            [](const Score& s, const py::object& index) -> std::string {
                if (index.is_none()) return s.Copyright();
                if (py::isinstance<py::str>(index)) return s.Copyright(index.cast<std::string>());
                return s.Copyright(index.cast<int32_t>());
            },
            py::arg("index") = py::none(),
            "Copyright line 0 or 1; a missing or non-numeric index is 0, others are clamped.")
        .def(
            "set_copyright",
            [](Score& s, std::string text, const py::object& index) {
                if (index.is_none()) {
                    s.SetCopyright(std::move(text));
                } else if (py::isinstance<py::str>(index)) {
                    s.SetCopyright(index.cast<std::string>(), std::move(text));
                } else {
                    s.SetCopyright(index.cast<int32_t>(), std::move(text));
                }
            },
            py::arg("text"), py::arg("index") = py::none());
}

void BindSettings(ScoreClass& cls) {
    cls.def_property("beat", &Score::Beat, &Score::SetBeat, "8, 16, 32 or 64; others store 16.")
        .def_property("count", &Score::Count, &Score::SetCount, "Beats per minute, 0..255.")
        .def_property("metronome", &Score::Metronome, &Score::SetMetronome)
        .def_property("capo", &Score::Capo, &Score::SetCapo)
        .def_property("use_capo", &Score::UseCapo, &Score::SetUseCapo)
        .def_property("use_chords", &Score::UseChords, &Score::SetUseChords)
        .def_property("use_chord_maps", &Score::UseChordMaps, &Score::SetUseChordMaps)
        .def_property("reverse_even_odd", &Score::ReverseEvenOdd, &Score::SetReverseEvenOdd)
        .def_property("number_measures", &Score::NumberMeasures, &Score::SetNumberMeasures)
        .def_property("number_measures_by", &Score::NumberMeasuresBy, &Score::SetNumberMeasuresBy)
        .def_property("number_pos", &Score::NumberPos, &Score::SetNumberPos)
        .def_property("page_nums", &Score::PageNums, &Score::SetPageNums)
        .def_property("page_orientation", &Score::PageOrientation, &Score::SetPageOrientation)
        .def_property("page_size", &Score::PageSize, &Score::SetPageSize)
        .def_property("page_height", &Score::PageHeight, &Score::SetPageHeight, "Inches.")
        .def_property("page_width", &Score::PageWidth, &Score::SetPageWidth, "Inches.")
        .def("margins", &Score::Margins, py::arg("margin"), "Inches, by PageMargins.")
        .def("set_margins", &Score::SetMargins, py::arg("margin"), py::arg("inches"))
        .def_property("staff_height", &Score::StaffHeight, &Score::SetStaffHeight)
        .def_property("staff_space", &Score::StaffSpace, &Score::SetStaffSpace)
        .def_property("system_space", &Score::SystemSpace, &Score::SetSystemSpace)
        .def("fonts", &Score::Fonts, py::arg("index"), "Font 0..6; None otherwise.")
        .def("set_fonts", &Score::SetFonts, py::arg("index"), py::arg("font"))
        .def_property("voice", &Score::Voice, &Score::SetVoice, "The active voice, 1..4.")
        .def_property("drum_ix", &Score::DrumIX, &Score::SetDrumIX)
        .def_property("dyn_adjust", &Score::DynAdjust, &Score::SetDynAdjust)
        .def_property("get_async", &Score::GetAsync, &Score::SetGetAsync)
        .def_property("handles", &Score::Handles, &Score::SetHandles)
        .def_property("uom", &Score::UOM, &Score::SetUOM)
        .def_property_readonly("cur_time", &Score::CurTime)
        .def_property("cur_page", &Score::CurPage, &Score::SetCurPage)
        .def_property_readonly("last_page", &Score::LastPage)
        .def_property_readonly("selected_measure", &Score::SelectedMeasure)
        .def("set_selected_measure", &Score::SetSelectedMeasure, py::arg("number"),
             "Makes measure number the active measure (numbers below 1 are ignored).")
        .def_property("verse", &Score::Verse, &Score::SetVerse)
        .def_property("key", &Score::Key, &Score::SetKey)
        .def_property("minor", &Score::Minor, &Score::SetMinor)
        .def_property("changed", &Score::Changed, &Score::SetChanged)
        .def_property("redraw", &Score::Redraw, &Score::SetRedraw)
        .def_property("chord_mapper", &Score::ChordMapper, &Score::SetChordMapper)
        .def_property_readonly("sheet_width_tw", &Score::SheetWidthTw)
        .def_property_readonly("sheet_height_tw", &Score::SheetHeightTw)
        .def("twips_to_pixels_x", &Score::TwipsToPixelsX, py::arg("value"))
        .def("twips_to_pixels_y", &Score::TwipsToPixelsY, py::arg("value"))
        .def("set_twips_per_pixel", &Score::SetTwipsPerPixel, py::arg("x"), py::arg("y"),
             "The resolution the score lays out and paints at (values below 1 are ignored); it "
             "also becomes the thread's. The pages are laid out again from page 1.")
        .def("set_colors", &Score::SetColors, py::arg("color_lines"), py::arg("color_bars"),
             py::arg("color_notes"), py::arg("color_ties"), py::arg("color_chords"))
        .def_property_readonly("paginating", &Score::Paginating)
        .def_property_readonly("printing", &Score::Printing);
}

void BindDocument(ScoreClass& cls) {
    cls.def("create_default", &Score::CreateDefault, "One staff \"New\" in common time.")
        .def_property("all_globals", &Score::AllGlobals, nullptr)
        .def_property("all_staffs", &Score::AllStaffs, &Score::SetAllStaffs)
        .def_property("all_voices", &Score::AllVoices, &Score::SetAllVoices)
        .def_property("all_instruments", &Score::AllInstruments, &Score::SetAllInstruments)
        .def_property_readonly("staffs", &Score::Staffs, "Number of staffs.")
        .def("staff", &Score::Staff, py::arg("index"), "Staff 1..staffs; None otherwise.")
        .def_property_readonly("selected_staff", &Score::SelectedStaff)
        .def_property_readonly("high_time", &Score::HighTime)
        .def("add_note", &Score::AddNote, py::arg("voice"), py::arg("time"), py::arg("value"),
             py::arg("duration"), py::arg("flags") = 0,
             "Adds a note to voice 1..all_voices count; no undo step, no repaint.")
        .def_property_readonly("sel_count", &Score::SelCount)
        .def("set_selection", &Score::SetSelection, py::arg("left"), py::arg("top"),
             py::arg("right"), py::arg("bottom"),
             "Selects the notes of the active voice drawn between left and right (twips of the "
             "last drawn page) in every system whose staff band the rectangle touches; the "
             "corners may come in any order. Returns sel_count.")
        .def("clear_selection", &Score::ClearSelection, "Empties the selection (no event).")
        .def("put_clipboard", &Score::PutClipboard, py::arg("is_move") = false,
             "Puts the selected notes on the platform's clipboard as text; with is_move they are "
             "then deleted as change_sel(delete=True) does. Returns the number of selected "
             "notes; with none the clipboard is left empty.")
        .def("get_clipboard", &Score::GetClipboard, py::arg("clear") = false,
             "Pastes notes copied by put_clipboard into the active voice of the selected staff, "
             "moved from the measure they were copied from to the selected measure (one undo "
             "step). Only the first staff of the text is pasted; clear is accepted and not used.")
        .def("undo", &Score::Undo, "Takes the newest step of the score's history back.")
        .def("redo", &Score::Redo, "Makes the step taken back last again.")
        .def_property_readonly("can_undo", &Score::CanUndo)
        .def_property_readonly("can_redo", &Score::CanRedo)
        .def_property("undo_depth", &Score::UndoDepth, &Score::SetUndoDepth,
                      "Steps each score of the thread keeps, 1..1,000.")
        .def("ins_desc", &Score::InsDesc, py::arg("ins_code"))
        .def(
            "add_measure",
            [](Score& s, const py::object& index, bool afterIt, bool prompt) {
                WithIndex(index, [&](auto i) {
                    if constexpr (std::is_same_v<decltype(i), std::string>) {
                        s.AddMeasure(std::string_view(i), afterIt, prompt);
                    } else {
                        s.AddMeasure(i, afterIt, prompt);
                    }
                    return 0;
                });
            },
            py::arg("index") = py::none(), py::arg("after_it") = false, py::arg("prompt") = false,
            "Inserts measures before measure index (after it with after_it; the selected measure "
            "when None); with prompt the Insert Measure dialog asks first.")
        .def(
            "del_measure",
            [](Score& s, const py::object& index, bool prompt) {
                WithIndex(index, [&](auto i) {
                    if constexpr (std::is_same_v<decltype(i), std::string>) {
                        s.DelMeasure(std::string_view(i), prompt);
                    } else {
                        s.DelMeasure(i, prompt);
                    }
                    return 0;
                });
            },
            py::arg("index") = py::none(), py::arg("prompt") = false,
            "Deletes measure index with its notes and events; later music moves back.")
        .def("add_staff", &Score::AddStaff, py::arg("index") = py::none(),
             py::arg("prompt") = false,
             "Inserts a staff at 1..staffs + 1 (after the last when None); with prompt the "
             "Insert Staff dialog chooses. The last staff made, or None.")
        .def("del_staff", &Score::DelStaff, py::arg("index") = py::none(),
             py::arg("prompt") = false, "Deletes staff index (1 when None) with its voices.")
        .def("set_brace_by_hit", &Score::SetBraceByHit, py::arg("x"), py::arg("y"),
             py::arg("staffs") = 2)
        .def("_show_dialog", &Score::ShowDialog, py::arg("dialog"), py::arg("left") = py::none(),
             py::arg("top") = py::none());
}

void BindFilesAndPlayback(ScoreClass& cls) {
    cls.def("open_file", &Score::OpenFile, py::arg("path"),
            "Loads a score or MIDI file; False (with a message box) when it cannot.")
        .def("save_file", &Score::SaveFile, py::arg("path") = "", py::arg("file_type") = 0,
             "Writes a score file (FileFormats.fmtQuavrix) or a MIDI file; the target is "
             "replaced only once complete. False on failure (save() raises instead).")
        .def_property_readonly("file_name", &Score::FileName)
        .def_property_readonly("file_type", &Score::FileType)
        .def_property_readonly("file_title", &Score::FileTitle)
        .def("reload", &Score::Reload)
        .def(
            "play_score",
            [](Score& s, bool stopPlay, bool sendEvents, int32_t fromTime) {
                s.PlayScore(stopPlay, sendEvents, 0, fromTime);
            },
            py::arg("stop_play") = false, py::arg("send_events") = false, py::arg("from_time") = 0)
        .def_property_readonly("playing", &Score::Playing)
        .def_property_readonly("play_position", &Score::PlayPosition)
        .def("write_play_file", &Score::WritePlayFile)
        .def_property_readonly("play_file", &Score::PlayFile)
        .def(
            "get_midi_event",
            [](Score& s, std::optional<int32_t> startTime) {
                return startTime ? s.GetMIDIEvent(*startTime) : s.GetMIDIEvent();
            },
            py::arg("start_time") = py::none(),
            "The next event of the stream (None when exhausted); start_time restarts it.");
}

void BindHitEditing(ScoreClass& cls) {
    cls.def("in_region", &Score::InRegion, py::arg("x"), py::arg("y"))
        .def("hit_test", &Score::HitTest, py::arg("x"), py::arg("y"), py::arg("set_ix") = false,
             "Whether a region holds the point; with set_ix its staff becomes the selected one.")
        .def("measure_flags", &Score::MeasureFlags, py::arg("at_time"),
             "Marks at at_time: 1 repeat begin, 2 repeat end, 4 section end, 8 score end, "
             "16 x SectionTypes.")
        .def("add_note_by_hit", &Score::AddNoteByHit, py::arg("x"), py::arg("y"),
             py::arg("duration"), py::arg("flags") = 0, py::arg("snap") = 0,
             "Enters a note at a point of the drawn page (twips) in the active voice: staff and "
             "time from the regions, pitch from the height; on a note's time a chord tone. "
             "Records an undo step and repaints.")
        .def(
            "on_note",
            [](Score& s, int32_t x, int32_t y) -> py::object {
                int32_t time = 0, duration = 0;
                if (!s.OnNote(x, y, time, duration)) return py::none();
                return py::make_tuple(time, duration);
            },
            py::arg("x"), py::arg("y"), "(time, duration) of the note at the point, or None.")
        .def("get_note_value_by_hit", &Score::GetNoteValueByHit, py::arg("x"), py::arg("y"),
             "The pitch a point stands for: 0 outside every region.")
        .def("add_ornament_by_hit", &Score::AddOrnamentByHit, py::arg("x"), py::arg("y"),
             py::arg("ornament"), "Toggles an OrnamentTypes mark on the note at the point.")
        .def("change_last", &Score::ChangeLast, py::arg("value"), py::arg("alignment") = false,
             "Transposes the note last entered by value semitones, or with alignment moves it "
             "by value x 4 ticks. False when there is nothing to change.")
        .def("change_sel", &Score::ChangeSel, py::arg("new_dur") = 0, py::arg("new_value") = 0,
             py::arg("stem_dir") = 0, py::arg("ornaments") = 0, py::arg("delete") = false,
             py::arg("tie") = false,
             "Changes every selected note: a duration, a pitch (1..255) or a transposition "
             "(>= 256 up by value mod 256, < 0 down), a StemTypes value, OrnamentTypes toggles. "
             "Returns the number of notes processed.")
        .def("del_note", &Score::DelNote, py::arg("at_time"), py::arg("voice") = 0,
             py::arg("staff") = 0,
             "Removes the note at at_time from voice 1..4 (else the active one) of staff "
             "1..staffs (else the selected one).")
        .def("add_global_by_hit", &Score::AddGlobalByHit, py::arg("x"), py::arg("y"),
             py::arg("event_type"), py::arg("sub_type") = 0, py::arg("text") = "",
             "Places (or toggles, or replaces) a mark of EventTypes at the point; sub_type is "
             "its value (a DynamicTypes, a chord code, a key, a SectionTypes mark ...).")
        .def("remove_global_event", &Score::RemoveGlobalEvent, py::arg("at_time"),
             py::arg("event_type"), "Removes the mark at at_time; every one when at_time < 0.")
        .def_property("lyric", &Score::Lyric, &Score::SetLyric)
        .def("add_lyric", &Score::AddLyric, py::arg("at_time"), py::arg("text"))
        .def(
            "text_offset_by_pos",
            [](Score& s, int32_t x, int32_t y) {
                uint8_t offset1 = 0, offset2 = 0;
                int32_t inc = 0;
                s.TextOffsetByPos(offset1, offset2, x, y, inc);
                return py::make_tuple(offset1, offset2, inc);
            },
            py::arg("x"), py::arg("y"), "(offset1, offset2, inc) of a text placed at the point.")
        .def(
            "text_pos_by_offset",
            [](const Score& s, int32_t y, int32_t offset1, int32_t offset2, int32_t inc,
               bool useActive) {
                s.TextPosByOffset(y, offset1, offset2, inc, useActive);
                return y;
            },
            py::arg("y"), py::arg("offset1"), py::arg("offset2"), py::arg("inc"),
            py::arg("use_active") = false)
        .def(
            "load_chord_list",
            [](const Score& s) {
                CollectedChords chords;
                s.LoadChordList(chords);
                return chords.mEntries;
            },
            "The chord mapper's chords as (name, code) pairs.")
        .def("set_active_by_hit", &Score::SetActiveByHit, py::arg("x"), py::arg("y"),
             "The staff and measure under the point become the selected ones.")
        .def(
            "first_active_xy",
            [](Score& s) {
                int32_t time = 0, x = 0, y = 0;
                std::string lyric;
                return CursorResult(s.FirstActiveXY(time, x, y, lyric), time, x, y, lyric);
            },
            "(time, x, y, lyric) of the lyric cursor's first note, or None.")
        .def("next_active_xy",
             [](Score& s) {
                 int32_t time = 0, x = 0, y = 0;
                 std::string lyric;
                 return CursorResult(s.NextActiveXY(time, x, y, lyric), time, x, y, lyric);
             })
        .def("prev_active_xy", [](Score& s) {
            int32_t time = 0, x = 0, y = 0;
            std::string lyric;
            return CursorResult(s.PrevActiveXY(time, x, y, lyric), time, x, y, lyric);
        });
}

}  // namespace

void BindScore(py::module_& m) {
    py::class_<DocumentOwner, std::shared_ptr<DocumentOwner>>(m, "_DocumentOwner");
    ScoreClass cls(m, "Score",
                   "The root of a document. Score() is empty: call create_default() or "
                   "open_file(), or use corvendi.new() / corvendi.open().",
                   py::dynamic_attr());
    cls.def(py::init(&Score::Create));
    cls.def("__repr__", [](const Score& s) {
        return "<Score '" + s.Title() + "' staffs=" + std::to_string(s.Staffs()) + ">";
    });
    cls.def_property(
        "events", &Score::Events,
        [](py::object self, std::shared_ptr<ScoreEvents> listener) {
            // The score keeps the C++ side alive; this keeps the Python side (its overrides).
            self.attr("_events_object") = py::cast(listener);
            self.cast<Score&>().SetEvents(std::move(listener));
        },
        "The ScoreEvents listener (None detaches).");
    BindTexts(cls);
    BindSettings(cls);
    BindDocument(cls);
    BindFilesAndPlayback(cls);
    BindHitEditing(cls);
    BindScoreSession(cls);
}

}  // namespace corvendi::python
