// The document's items: notes, ranges, hit regions, instruments, voices, staffs, score-wide
// events, MIDI events, fonts and the chord mapper. Every item is held by std::shared_ptr, so an
// item a script holds stays valid after it leaves its collection or its score.
#include <corvendi/ChordMapper.h>
#include <corvendi/Enums.h>
#include <corvendi/Font.h>
#include <corvendi/GlobalEvent.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/Instrument.h>
#include <corvendi/MIDIEvent.h>
#include <corvendi/Note.h>
#include <corvendi/Range.h>
#include <corvendi/Region.h>
#include <corvendi/Staff.h>
#include <corvendi/Voice.h>
#include <pybind11/operators.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Bindings.h"

namespace corvendi::python {

namespace {

using Members = std::vector<std::pair<const char*, int32_t>>;

void AddEnum(py::dict& table, const char* name, bool flags, Members members) {
    table[name] = py::make_tuple(flags, std::move(members));
}

void BindNote(py::module_& m) {
    py::class_<Note, std::shared_ptr<Note>>(m, "Note",
                                            "One rhythmic event of a voice: a note, a chord "
                                            "(several pitches, one duration) or a rest.")
        .def_property_readonly("duration", &Note::Duration, "Base duration in ticks.")
        .def_property_readonly("flags", &Note::Flags, "NoteFlags bits.")
        .def_property_readonly("note_time", &Note::NoteTime, "Start time in ticks.")
        .def_property_readonly("value_count", &Note::ValueCount)
        .def_property_readonly(
            "values",
            [](const Note& note) {
                py::tuple values(note.ValueCount());
                for (int32_t i = 0; i < note.ValueCount(); ++i) values[i] = note.Value(i);
                return values;
            },
            "The pitches, lowest first; empty for a rest.")
        .def("value", &Note::Value, py::arg("index"), "Pitch at 0-based index; 0 outside.")
        .def("set_value", &Note::SetValue, py::arg("index"), py::arg("value"),
             "Stores value AND 127 at an existing index; the order is not restored.")
        .def("add_value", &Note::AddValue, py::arg("value"),
             "Adds a pitch, keeping ascending order; its index, or -1 for a full chord.")
        .def("remove_value", &Note::RemoveValue, py::arg("value"))
        .def("set_single_value", &Note::SetSingleValue, "Keeps only the first value.")
        .def_property("up", &Note::Up, &Note::SetUp, "Stem direction as laid out.")
        .def_property("multi_voice", &Note::MultiVoice, &Note::SetMultiVoice)
        .def_property("x", &Note::X, &Note::SetX, "Drawing position recorded by layout, twips.")
        .def_property("y", &Note::Y, &Note::SetY)
        .def("__repr__", [](const Note& note) {
            return "<Note time=" + std::to_string(note.NoteTime()) +
                   " duration=" + std::to_string(note.Duration()) +
                   " values=" + std::to_string(note.ValueCount()) + ">";
        });
}

void BindRangeAndRegion(py::module_& m) {
    py::class_<Range, std::shared_ptr<Range>>(m, "Range", "A low/high pair of 32-bit values.")
        .def_property_readonly("low", &Range::Low)
        .def_property_readonly("high", &Range::High)
        .def("__repr__", [](const Range& range) {
            return "<Range " + std::to_string(range.Low()) + ".." + std::to_string(range.High()) +
                   ">";
        });

    py::class_<Region, std::shared_ptr<Region>>(
        m, "Region", "A hit region of the drawn page: the band of one staff in one system (twips).")
        .def_readonly("left", &Region::Left)
        .def_readonly("right", &Region::Right)
        .def_readonly("top", &Region::Top)
        .def_readonly("bottom", &Region::Bottom)
        .def_readonly("pad_top", &Region::PadTop)
        .def_readonly("pad_bottom", &Region::PadBottom)
        .def_readonly("inc_y", &Region::IncY, "The staff's line spacing.")
        .def_readonly("staff", &Region::Staff, "Staff.index of the staff.")
        .def_readonly("time", &Region::Time, "Start time of the system's first measure.")
        .def_readonly("first", &Region::First, "The top visible staff of its system.")
        .def_readonly("split", &Region::Split, "A grand staff.")
        .def_readonly("index", &Region::Index, "1-based position among the page's regions.")
        .def_property_readonly("measures", &Region::Measures)
        .def("measure", &Region::Measure, py::arg("i"),
             "Measure i (0-based): low = width in twips, high = start time; None outside.")
        .def("measure_pad", &Region::MeasurePad, py::arg("i"))
        .def("measure_flag", &Region::MeasureFlag, py::arg("i"))
        .def("contains", &Region::Contains, py::arg("x"), py::arg("y"))
        .def("__repr__", [](const Region& r) {
            return "<Region staff=" + std::to_string(r.Staff) + " left=" + std::to_string(r.Left) +
                   " top=" + std::to_string(r.Top) + " right=" + std::to_string(r.Right) +
                   " bottom=" + std::to_string(r.Bottom) + ">";
        });
}

void BindInstrument(py::module_& m) {
    py::class_<Instrument, std::shared_ptr<Instrument>>(
        m, "Instrument", "The sound and notation profile a voice plays with.")
        .def_property_readonly("category", &Instrument::Category)
        .def_property_readonly("channel", &Instrument::Channel, "MIDI channel 0..15.")
        .def_property_readonly("default_clef", &Instrument::DefaultClef)
        .def_property_readonly("description", &Instrument::Description)
        .def_property_readonly("value", &Instrument::Value, "Catalogue number and MIDI program.")
        .def_property_readonly("offset", &Instrument::Offset,
                               "Written minus sounding pitch, semitones.")
        .def_property_readonly("pitch", &Instrument::Pitch,
                               "Written minus sounding key, key-signature steps.")
        .def_property_readonly("range", &Instrument::Range, "Playable range (MIDI numbers).")
        .def_property_readonly("group", &Instrument::Group, "GroupTypes value.")
        .def("drum_code", &Instrument::DrumCode, py::arg("index"))
        .def("set_drum_code", &Instrument::SetDrumCode, py::arg("index"), py::arg("value"))
        .def("drum_value", &Instrument::DrumValue, py::arg("index"))
        .def("set_drum_value", &Instrument::SetDrumValue, py::arg("index"), py::arg("value"))
        .def_property_readonly("id", &Instrument::ID);
}

void BindVoice(py::module_& m) {
    py::class_<Voice, std::shared_ptr<Voice>>(m, "Voice",
                                              "One line of notes played by one instrument.")
        .def_property("description", &Voice::Description, &Voice::SetDescription)
        .def_property_readonly("id", &Voice::ID)
        .def_property("track", &Voice::Track, &Voice::SetTrack,
                      "1-based number in the score's voices.")
        .def_property("notes", &Voice::Notes, &Voice::SetNotes)
        .def_property_readonly("instrument", &Voice::Instrument)
        .def_property_readonly("instrument_id", &Voice::InstrumentID)
        .def("get_init", &Voice::GetInit, py::arg("start_time"))
        .def("get_next", &Voice::GetNext);
}

void BindStaff(py::module_& m) {
    py::class_<Staff, std::shared_ptr<Staff>>(m, "Staff", "One staff: up to four voices.")
        .def_property_readonly("brace", &Staff::Brace)
        .def_property("default_clef", &Staff::DefaultClef, &Staff::SetDefaultClef)
        .def_property("description", &Staff::Description, &Staff::SetDescription)
        .def_property("flags", &Staff::Flags, &Staff::SetFlags, "StaffFlags bits.")
        .def_property("global_events", &Staff::GlobalEvents, &Staff::SetGlobalEvents)
        .def_property_readonly("group_id", &Staff::GroupID)
        .def_property_readonly("group_type", &Staff::GroupType)
        .def_property_readonly("index", &Staff::Index)
        .def_property_readonly("lyric_offset", &Staff::LyricOffset)
        .def_property("mute", &Staff::Mute, &Staff::SetMute)
        .def_property("scale_pct", &Staff::ScalePct, &Staff::SetScalePct)
        .def_property("selected", &Staff::Selected, &Staff::SetSelected)
        .def_property_readonly("verses", &Staff::Verses)
        .def_property("visible", &Staff::Visible, &Staff::SetVisible)
        .def_property_readonly("voices", &Staff::Voices, "Number of voices (0..4).")
        .def("add_voice", &Staff::AddVoice, py::arg("instrument"), py::arg("id") = "")
        .def("voice", &Staff::Voice, py::arg("index"), "Voice 1..voices; None otherwise.")
        .def("valid_voice", &Staff::ValidVoice, py::arg("id"))
        .def("clear", &Staff::Clear)
        .def("cur_clef", &Staff::CurClef, py::arg("at_time"))
        .def("cur_key", &Staff::CurKey, py::arg("at_time"))
        .def("next_change", &Staff::NextChange, py::arg("duration"))
        .def("same_as_last", &Staff::SameAsLast, py::arg("at_time"))
        .def("force_flag", &Staff::ForceFlag, py::arg("start_time"), py::arg("stop_time"),
             py::arg("cur_voice"))
        .def_property_readonly("id", &Staff::ID)
        .def("__repr__", [](const Staff& staff) {
            return "<Staff " + std::to_string(staff.Index()) + " '" + staff.Description() + "'>";
        });
}

void BindEvent(py::module_& m) {
    py::class_<GlobalEvent, std::shared_ptr<GlobalEvent>>(m, "GlobalEvent",
                                                          "One score-wide timed event.")
        .def_property("event_time", &GlobalEvent::EventTime, &GlobalEvent::SetEventTime)
        .def_property("event_type", &GlobalEvent::EventType, &GlobalEvent::SetEventType)
        .def_property("index", &GlobalEvent::Index, &GlobalEvent::SetIndex)
        .def_property("text", &GlobalEvent::Text, &GlobalEvent::SetText)
        .def_property("value1", &GlobalEvent::Value1, &GlobalEvent::SetValue1)
        .def_property("value2", &GlobalEvent::Value2, &GlobalEvent::SetValue2)
        .def("__repr__", [](const GlobalEvent& e) {
            return "<GlobalEvent time=" + std::to_string(e.EventTime()) +
                   " type=" + std::to_string(e.EventType()) + ">";
        });

    py::class_<MIDIEvent, std::shared_ptr<MIDIEvent>>(m, "MIDIEvent",
                                                      "One MIDI event of the event stream.")
        .def(py::init<>())
        .def_property_readonly("channel", &MIDIEvent::Channel)
        .def_property("event_time", &MIDIEvent::EventTime, &MIDIEvent::SetEventTime)
        .def_property("event_type", &MIDIEvent::EventType, &MIDIEvent::SetEventType)
        .def_property_readonly(
            "text", [](const MIDIEvent& e) { return py::bytes(e.Text()); },
            "The key numbers of a note-on, one byte each.")
        .def("value", &MIDIEvent::Value, py::arg("index"),
             "0: key or program; 1: velocity; others 0.")
        .def(py::self == py::self);
}

void BindFontAndChords(py::module_& m) {
    py::class_<Font, std::shared_ptr<Font>>(m, "Font", "One of the score's seven fonts.")
        .def(py::init<std::string, float, bool, bool>(), py::arg("name") = "Arial",
             py::arg("size") = 10.0f, py::arg("bold") = false, py::arg("italic") = false)
        .def_property("name", &Font::Name, &Font::SetName)
        .def_property("size", &Font::Size, &Font::SetSize)
        .def_property("bold", &Font::Bold, &Font::SetBold)
        .def_property("italic", &Font::Italic, &Font::SetItalic)
        .def_property("underline", &Font::Underline, &Font::SetUnderline);

    py::class_<ChordMapper, std::shared_ptr<ChordMapper>>(
        m, "ChordMapper", "Names and draws chord symbols; chords are listed 0-based.")
        .def_property("data_folder", &ChordMapper::DataFolder, &ChordMapper::SetDataFolder)
        .def("load", &ChordMapper::Load)
        .def_property_readonly("chord_count", &ChordMapper::ChordCount)
        .def("chord_name", &ChordMapper::ChordName, py::arg("index"))
        .def("chord_code", &ChordMapper::ChordCode, py::arg("index"))
        .def_property_readonly("name_row_height", &ChordMapper::NameRowHeight)
        .def_property_readonly("diagram_row_height", &ChordMapper::DiagramRowHeight);
    m.def("create_chord_mapper", &CreateChordMapper, "The chord mapper a new score uses.");
}

}  // namespace

void BindEnums(py::module_& m) {
    py::dict table;
    AddEnum(table, "ClefTypes", false,
            {{"clfPercussion", clfPercussion},
             {"clfTreble", clfTreble},
             {"clfBass", clfBass},
             {"clfGrand", clfGrand},
             {"clfAlto", clfAlto},
             {"clfTenor", clfTenor}});
    AddEnum(table, "DialogTypes", false,
            {{"dlgScoreProperties", dlgScoreProperties},
             {"dlgStaffProperties", dlgStaffProperties},
             {"dlgMeasureProperties", dlgMeasureProperties}});
    AddEnum(table, "DynamicTypes", false,
            {{"dynPPP", dynPPP},
             {"dynPP", dynPP},
             {"dynP", dynP},
             {"dynMP", dynMP},
             {"dynMF", dynMF},
             {"dynF", dynF},
             {"dynFF", dynFF},
             {"dynFFF", dynFFF}});
    AddEnum(table, "EventTypes", false,
            {{"evtTimeChange", evtTimeChange},
             {"evtKeyChange", evtKeyChange},
             {"evtRepeatBegin", evtRepeatBegin},
             {"evtRepeatEnd", evtRepeatEnd},
             {"evtSectionDefine", evtSectionDefine},
             {"evtSectionGo", evtSectionGo},
             {"evtClefChange", evtClefChange},
             {"evtSectionEnd", evtSectionEnd},
             {"evtScoreEnd", evtScoreEnd},
             {"evtChord", evtChord},
             {"evtTie", evtTie},
             {"evtLineEnd", evtLineEnd},
             {"evtMeasureSize", evtMeasureSize},
             {"evtLyric", evtLyric},
             {"evtDynamic", evtDynamic},
             {"evtTempo", evtTempo},
             {"evtStaffSpace", evtStaffSpace},
             {"evtText", evtText},
             {"evtPlayBack", evtPlayBack}});
    AddEnum(table, "FileFormats", false, {{"fmtQuavrix", fmtQuavrix}, {"fmtMIDI", fmtMIDI}});
    AddEnum(table, "GroupTypes", false,
            {{"grpSolo", grpSolo},
             {"grpWind", grpWind},
             {"grpBrass", grpBrass},
             {"grpPercussion", grpPercussion},
             {"grpPiano", grpPiano},
             {"grpString", grpString}});
    AddEnum(table, "InstrumentCategories", false,
            {{"catSolo", catSolo},
             {"catVocal", catVocal},
             {"catWind", catWind},
             {"catReed", catReed},
             {"catBrass", catBrass},
             {"catString", catString},
             {"catGuitar", catGuitar},
             {"catPercussion", catPercussion},
             {"catGrand", catGrand},
             {"catDrums", catDrums}});
    AddEnum(table, "MeasurementUnits", false,
            {{"uomInches", uomInches}, {"uomMM", uomMM}, {"uomTwips", uomTwips}});
    AddEnum(table, "MIDITypes", false,
            {{"midNoOp", midNoOp},
             {"midAtTime", midAtTime},
             {"midChannelAfterTouch", midChannelAfterTouch},
             {"midControlChange", midControlChange},
             {"midKeyAfterTouch", midKeyAfterTouch},
             {"midMetaEvent", midMetaEvent},
             {"midNoteOff", midNoteOff},
             {"midNoteOn", midNoteOn},
             {"midPitchChange", midPitchChange},
             {"midProgramChange", midProgramChange}});
    AddEnum(table, "NoteDurations", false,
            {{"durSixtyFourth", durSixtyFourth},
             {"durThirtySecond", durThirtySecond},
             {"durSixteenth", durSixteenth},
             {"durEighth", durEighth},
             {"durQuarter", durQuarter},
             {"durHalf", durHalf},
             {"durWhole", durWhole}});
    AddEnum(table, "NoteFlags", true,
            {{"nteDot", nteDot},
             {"nteDouble", nteDouble},
             {"nteStacato", nteStacato},
             {"nteAccent", nteAccent},
             {"nteForceUp", nteForceUp},
             {"nteForceDown", nteForceDown},
             {"nteGrace", nteGrace},
             {"nteBowUp", nteBowUp},
             {"nteBowDown", nteBowDown},
             {"nteTriplet", nteTriplet},
             {"nteTrill", nteTrill},
             {"nteFermata", nteFermata},
             {"nteAccent2", nteAccent2},
             {"nteTurn", nteTurn},
             {"nteMordent", nteMordent},
             {"nteHalfMordent", nteHalfMordent}});
    AddEnum(table, "OrnamentTypes", true,
            {{"ornBowUp", ornBowUp},
             {"ornBowDown", ornBowDown},
             {"ornTrill", ornTrill},
             {"ornAccent", ornAccent},
             {"ornFermata", ornFermata},
             {"ornStacato", ornStacato},
             {"ornAccent2", ornAccent2},
             {"ornTurn", ornTurn},
             {"ornMordent", ornMordent},
             {"ornHalfMordent", ornHalfMordent}});
    AddEnum(table, "PageMargins", false,
            {{"marTop", marTop},
             {"marBottom", marBottom},
             {"marLeft", marLeft},
             {"marRight", marRight}});
    AddEnum(table, "PageNumTypes", false,
            {{"pgnNoPageNumbers", pgnNoPageNumbers},
             {"pgnNoPageOne", pgnNoPageOne},
             {"pgnAllPages", pgnAllPages}});
    AddEnum(table, "PageOrient", false,
            {{"pgePortrait", pgePortrait}, {"pgeLandscape", pgeLandscape}});
    AddEnum(table, "PageSizes", false,
            {{"pgsLeter", pgsLeter},
             {"pgsLegal", pgsLegal},
             {"pgsExecutive", pgsExecutive},
             {"pgsA4", pgsA4},
             {"pgsA5", pgsA5},
             {"pgsCustom", pgsCustom}});
    AddEnum(table, "ScoreFonts", false,
            {{"fntTitle", fntTitle},
             {"fntSubTitle", fntSubTitle},
             {"fntHeader", fntHeader},
             {"fntComposer", fntComposer},
             {"fntCopyright", fntCopyright}});
    AddEnum(table, "SectionTypes", true,
            {{"sctEnding1", sctEnding1},
             {"sctEnding2", sctEnding2},
             {"sctEnding", sctEnding},
             {"sctCoda", sctCoda},
             {"sctSegundo", sctSegundo},
             {"sctToCoda", sctToCoda},
             {"sctToSegundo", sctToSegundo},
             {"sctRepeatMeasure", sctRepeatMeasure},
             {"sctPickup", sctPickup},
             {"sct8va", sct8va},
             {"sct8vb", sct8vb}});
    AddEnum(table, "StaffFlags", true,
            {{"stfShowStaffDesc", stfShowStaffDesc},
             {"stfShowInstrumentDesc", stfShowInstrumentDesc},
             {"stfPrintDynamics", stfPrintDynamics},
             {"stfTranscribeKey", stfTranscribeKey},
             {"stfEnforceRange", stfEnforceRange}});
    AddEnum(table, "StemTypes", false,
            {{"stmForceUp", stmForceUp},
             {"stmForceDown", stmForceDown},
             {"stmReverse", stmReverse},
             {"stmClearProp", stmClearProp},
             {"stmPropDot", stmPropDot},
             {"stmPropNoDot", stmPropNoDot},
             {"stmPropTrip", stmPropTrip},
             {"stmPropNoTrip", stmPropNoTrip}});
    AddEnum(table, "TempoMarks", false,
            {{"tmpRitardando", tmpRitardando},
             {"tmpRitenuto", tmpRitenuto},
             {"tmpRallentando", tmpRallentando},
             {"tmpAccelerando", tmpAccelerando},
             {"tmpDioppioMovimento", tmpDioppioMovimento},
             {"tmpATempo", tmpATempo},
             {"tmpTempoPrimo", tmpTempoPrimo},
             {"tmpLungaPausa", tmpLungaPausa}});
    m.attr("_enums") = table;
}

void BindModel(py::module_& m) {
    BindNote(m);
    BindRangeAndRegion(m);
    BindInstrument(m);
    BindVoice(m);
    BindStaff(m);
    BindEvent(m);
    BindFontAndChords(m);
}

}  // namespace corvendi::python
