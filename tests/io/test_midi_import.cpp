// Importing Standard MIDI Files built byte by byte: the header checks, tracks to staffs, times
// and note values, the meta-event conventions, and damaged or hostile input.
#include <tuple>

#include "corvendi/Enums.h"
#include "corvendi/Font.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Platform.h"
#include "corvendi/Range.h"
#include "corvendi/RecordingSurface.h"
#include "corvendi/Staffs.h"
#include "engine/ScoreAccess.h"
#include "io/MidiTestSupport.h"
#include "model/InstrumentCatalog.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {
namespace {

using MidiImport = MidiTest;

// A conductor track and one note track.
std::string TwoTracks(const TrackBuilder& notes, int division = 16,
                      const TrackBuilder& conductor = TrackBuilder().End()) {
    return MidiFileOf(division, {conductor, notes});
}

NoteRow Row(int32_t time, std::vector<int> values, int32_t duration, int32_t flags = 0) {
    return {time, std::move(values), duration, flags};
}

TEST_F(MidiImport, RefusedHeadersShowTheirMessageAndLeaveTheScore) {
    const MessageBoxRecord invalid{"Invalid data encountered loading file.", "Open",
                                   MessageIcon::Exclamation};
    const MessageBoxRecord unsupported{"This MIDI file type is not supported.", "Open",
                                       MessageIcon::Exclamation};

    std::string shortHeader = MidiFileOf(16, {TrackBuilder().End(), TrackBuilder().End()});
    shortHeader[7] = 5;
    EXPECT_FALSE(Open(shortHeader));
    EXPECT_FALSE(Open("MThd"));
    EXPECT_FALSE(Open(MidiFileOf(16, {TrackBuilder().On(0, 60).Off(16, 60)})));
    // Only the low byte of the track count is read: 256 tracks count as none.
    EXPECT_FALSE(Open(MidiFileOf(16, {TrackBuilder().End(), TrackBuilder().End()}, 256)));

    EXPECT_EQ(Messages(),
              (std::vector<MessageBoxRecord>{invalid, invalid, unsupported, unsupported}));
    EXPECT_EQ(score->Title(), "New Score");
    EXPECT_EQ(score->Staffs(), 1);
    EXPECT_EQ(fileEvents->Count("BeforeOpenSave " + std::to_string(0)), 0u);
}

TEST_F(MidiImport, EachLaterTrackBecomesAStaffAndTheLoadIsReported) {
    const std::vector<TrackBuilder> tracks{
        TrackBuilder().Meta(0, 3, "Control").End(),
        TrackBuilder().Meta(0, 3, "Flute").On(0, 60).Off(16, 60).End(),
        TrackBuilder().Meta(0, 3, "Cello").On(16, 48).Off(32, 48).End()};
    const std::string file = MidiFileOf(16, tracks);
    ASSERT_TRUE(Open(file));

    ASSERT_EQ(score->Staffs(), 2);
    EXPECT_EQ(score->Staff(1)->Description(), "Flute");
    EXPECT_EQ(score->Staff(1)->Voice(1)->Description(), "Flute");
    EXPECT_EQ(score->Staff(2)->Description(), "Cello");
    EXPECT_EQ(NotesOfStaff(1), (std::vector<NoteRow>{Row(0, {60}, 16)}));
    EXPECT_EQ(NotesOfStaff(2), (std::vector<NoteRow>{Row(16, {48}, 32)}));
    // Every staff starts in the score's key.
    EXPECT_NE(score->Staff(2)->GlobalEvents()->Find(0, evtKeyChange, true), nullptr);

    EXPECT_EQ(score->FileType(), fmtMIDI);
    EXPECT_EQ(score->FileName(), PathOf("in.mid"));
    EXPECT_FALSE(score->Changed());
    EXPECT_TRUE(score->Staff(1)->Selected());
    EXPECT_EQ(detail::ScoreAccess::HighNoteTime(*score), 16);  // the last note's start, not its end
    // One progress report per chunk, at the first byte of its body.
    std::vector<int32_t> bodyStarts{23};
    for (size_t i = 0; i + 1 < tracks.size(); ++i) {
        bodyStarts.push_back(bodyStarts.back() + static_cast<int32_t>(tracks[i].Body().size()) + 8);
    }
    EXPECT_EQ(fileEvents->progress, bodyStarts);
    std::vector<std::string> order{"BeforeOpenSave " + std::to_string(file.size())};
    for (const int32_t start : bodyStarts)
        order.push_back("ProgressReport " + std::to_string(start));
    order.insert(order.end(), {"AfterOpenSave", "ActiveVoice 1", "ActiveStaff 1"});
    std::vector<std::string> seen;
    for (const auto& entry : fileEvents->log) {
        if (entry.rfind("Window", 0) != 0 && entry.rfind("ChangeNotify", 0) != 0) {
            seen.push_back(entry);
        }
    }
    EXPECT_EQ(seen, order);
}

TEST_F(MidiImport, TimesAreScaledByTheDivisionAndRoundedDown) {
    // 480 file ticks per quarter note: 240 is an eighth (8 ticks), 479 still lands on 15.
    ASSERT_TRUE(
        Open(TwoTracks(TrackBuilder().On(240, 60).Off(240, 60).On(479, 62).Off(1, 62).End(), 480)));
    EXPECT_EQ(NotesOfStaff(1), (std::vector<NoteRow>{Row(8, {60}, 8), Row(31, {62}, 1)}));
}

TEST_F(MidiImport, LengthsBecomeNoteValuesCutAtTheMeasure) {
    ASSERT_TRUE(Open(TwoTracks(TrackBuilder()
                                   .On(0, 60)
                                   .Off(5, 60)  // eighth triplet
                                   .On(11, 62)
                                   .Off(6, 62)  // dotted sixteenth
                                   .On(42, 64)
                                   .Off(100, 64)  // whole, then the rest of it
                                   .End())));
    EXPECT_EQ(NotesOfStaff(1),
              (std::vector<NoteRow>{Row(0, {60}, 8, nteTriplet), Row(16, {62}, 4, nteDot),
                                    Row(64, {64}, 64), Row(128, {64}, 64, nteTriplet)}));
}

TEST_F(MidiImport, NoteOnsAndOffsPairPerKey) {
    ASSERT_TRUE(Open(TwoTracks(TrackBuilder()
                                   .On(0, 60)
                                   .On(0, 60, 0)  // velocity 0 closes at once
                                   .On(16, 62)
                                   .On(8, 62)
                                   .Off(8, 62)  // struck again: one note
                                   .On(0, 64)
                                   .On(0, 67)
                                   .Off(16, 64)
                                   .Off(0, 67)  // a chord
                                   .On(0, 72)   // never closed
                                   .End())));
    EXPECT_EQ(NotesOfStaff(1),
              (std::vector<NoteRow>{Row(0, {60}, 1), Row(24, {62}, 8), Row(32, {64, 67}, 16)}));
}

TEST_F(MidiImport, RunningStatusAndChannelSettings) {
    // Running status carries the note-ons; a bank select (controller 0) does not replace it, and
    // neither does a program change.
    ASSERT_TRUE(Open(TwoTracks(TrackBuilder()
                                   .Delta(0)
                                   .Raw({0xC3, 41})
                                   .Delta(0)
                                   .Raw({0x93, 60, 100})
                                   .Delta(0)
                                   .Raw({0xB3, 0, 0})
                                   .Delta(0)
                                   .Raw({64, 100})
                                   .Delta(16)
                                   .Raw({60, 0})
                                   .Delta(0)
                                   .Raw({64, 0})
                                   .End())));
    EXPECT_EQ(NotesOfStaff(1), (std::vector<NoteRow>{Row(0, {60, 64}, 16)}));
    const auto instrument = score->Staff(1)->Voice(1)->Instrument();
    EXPECT_EQ(instrument->Channel(), 3);
    EXPECT_EQ(instrument->Value(), 41);
    EXPECT_EQ(instrument->Category(), CategoryOfProgram(41));
}

TEST_F(MidiImport, EachPartKeepsItsSoundAndReadsOnItsStaff) {
    ASSERT_TRUE(Open(BandFile()));
    EXPECT_EQ(score->Title(), "Hello");
    EXPECT_EQ(score->Count(), 120);
    EXPECT_EQ(score->Key(), 1);
    EXPECT_EQ(score->AllGlobals()->CurTimeVal(0), 4 * 128 + 16);

    // Per staff: description, program, channel, category, instrument description, clef.
    using Part = std::tuple<std::string, int16_t, int16_t, int32_t, std::string, int32_t>;
    std::vector<Part> parts;
    for (int32_t i = 1; i <= score->Staffs(); ++i) {
        const auto staff = score->Staff(i);
        const auto instrument = staff->Voice(1)->Instrument();
        parts.emplace_back(staff->Description(), instrument->Value(), instrument->Channel(),
                           instrument->Category(), instrument->Description(), staff->DefaultClef());
    }
    const std::vector<Part> expected = {
        {"Melody", 73, 0, CategoryOfProgram(73), InstrumentCatalogEntry(73).Description, clfTreble},
        {"Bass", 33, 1, CategoryOfProgram(33), InstrumentCatalogEntry(33).Description, clfBass},
        {"Drums", 0, 9, catDrums, "Drum Kit", clfPercussion}};
    EXPECT_EQ(parts, expected);
    // One instrument per part, none left over from making the staffs.
    EXPECT_EQ(score->AllInstruments()->Count(), 3);
    // Drum notes keep their keys: the kit plays what the file played.
    EXPECT_EQ(NotesOfStaff(3), (std::vector<NoteRow>{Row(0, {36}, 16), Row(16, {42}, 16),
                                                     Row(32, {38}, 16), Row(48, {42}, 16)}));
}

TEST_F(MidiImport, NoEmptyPageFollowsTheLastNote) {
    score->SetWindow(std::make_shared<RecordingSurface>());
    auto pagesOf = [this](int wholeNotes) {
        TrackBuilder notes;
        for (int i = 0; i < wholeNotes; ++i) notes.On(0, 60 + i % 12).Off(64, 60 + i % 12);
        EXPECT_TRUE(Open(TwoTracks(notes.End())));
        while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
        }
        return score->LastPage();
    };
    ASSERT_GT(pagesOf(400), 1);
    const int32_t firstPageEnd = detail::ScoreAccess::PageRanges(*score)[0]->High();
    ASSERT_EQ(firstPageEnd % 64, 0);
    // The last note ends exactly where page 1 ends; one more starts page 2.
    EXPECT_EQ(pagesOf(firstPageEnd / 64), 1);
    EXPECT_EQ(pagesOf(firstPageEnd / 64 + 1), 2);
}

TEST_F(MidiImport, TitlesFontsAndCopyrightFromTexts) {
    const TrackBuilder conductor = TrackBuilder()
                                       .Meta(0, 1, "Song|Times|18|0")
                                       .Meta(0, 1, "Hello")
                                       .Meta(0, 1, "By me|Courier|9|1")
                                       .Meta(0, 1, "Arranger")
                                       .Meta(0, 1, "ignored now")
                                       .Meta(0, 2, "(c) Us|Arial|7|1")
                                       .Meta(0, 2, "Line two")
                                       .Meta(0, 4, "Head|Verdana|11|0")
                                       .End();
    ASSERT_TRUE(Open(TwoTracks(TrackBuilder().End(), 16, conductor)));
    EXPECT_EQ(score->Title(), "Song");
    EXPECT_EQ(score->SubTitle(), "Hello");
    EXPECT_EQ(score->Composer(), "By me");
    EXPECT_EQ(score->ArrangedBy(), "Arranger");
    EXPECT_EQ(score->Copyright(0), "(c) Us");
    EXPECT_EQ(score->Copyright(1), "Line two");
    EXPECT_EQ(score->Heading(), "Head");

    EXPECT_EQ(score->Fonts(fntTitle)->Name(), "Times");
    EXPECT_EQ(score->Fonts(fntTitle)->Size(), 18.0f);
    EXPECT_FALSE(score->Fonts(fntTitle)->Bold());
    EXPECT_EQ(score->Fonts(fntComposer)->Name(), "Courier");
    EXPECT_TRUE(score->Fonts(fntCopyright)->Bold());
    EXPECT_EQ(score->Fonts(fntHeader)->Size(), 11.0f);
    EXPECT_EQ(score->Fonts(fntSubTitle)->Size(), 12.0f);  // "Hello" has no font spec
}

TEST_F(MidiImport, TempoSignaturesAndKey) {
    const TrackBuilder conductor = TrackBuilder()
                                       .Meta(0, 88, std::string("\x04\x02\x18\x08", 4))
                                       .Meta(70, 88, std::string("\x06\x03\x18\x08", 4))
                                       .Meta(60, 88, std::string("\x03\x02\x18\x08", 4))
                                       .Meta(0, 89, std::string("\xFE\x01", 2))  // 2 flats, minor
                                       .Meta(0, 81, std::string("\x07\xA1\x20", 3))  // 500,000
                                       .Meta(0, 81, std::string(3, '\0'))            // ignored
                                       .End();
    const TrackBuilder staff =
        TrackBuilder().Meta(20, 89, std::string("\x03\x00", 2)).On(0, 60).Off(8, 60).End();
    ASSERT_TRUE(Open(TwoTracks(staff, 16, conductor)));

    EXPECT_EQ(score->Count(), 120);
    // Signatures start the measure they fall in: 4/4 measures are 64 ticks, so 6/8 at 70
    // starts at 64; 6/8 measures are 48 ticks, so 3/4 at 130 starts at 112.
    const auto globals = score->AllGlobals();
    ASSERT_EQ(globals->TimeItemCount(), 3);
    std::vector<std::tuple<int32_t, int, int>> signatures;
    for (int32_t i = 1; i <= 3; ++i) {
        const auto item = globals->TimeItem(i);
        signatures.emplace_back(item->EventTime(), item->Value1(), item->Value2());
    }
    EXPECT_EQ(signatures,
              (std::vector<std::tuple<int32_t, int, int>>{{0, 4, 16}, {64, 6, 8}, {112, 3, 16}}));

    // The first key signature of the file sets the score's key; a staff's own goes to the
    // start of its measure.
    EXPECT_EQ(score->Key(), -2);
    EXPECT_TRUE(score->Minor());
    int staffKeys = 0;
    for (const auto& event : *score->Staff(1)->GlobalEvents()) {
        if (event->EventType() == evtKeyChange && event->EventTime() == 0 && event->Value1() == 3) {
            ++staffKeys;
        }
    }
    EXPECT_EQ(staffKeys, 1);
    // The music ends with its last note, whatever events follow.
    EXPECT_EQ(detail::ScoreAccess::HighNoteTime(*score), 20);
}

TEST_F(MidiImport, MarkersCuePointsAndLyrics) {
    const TrackBuilder staff = TrackBuilder()
                                   .Meta(0, 7, "%3")
                                   .Meta(16, 6, std::string("%\x01\x01\x04", 4))
                                   .Meta(0, 6, std::string("%\x01\x01\x04", 4))  // all there
                                   .Meta(16, 6, std::string("%\x00\x03\x00", 4))
                                   .Meta(0, 6, "%ab")  // too short
                                   .Meta(0, 5, "la\r\nli")
                                   .On(0, 50)
                                   .Off(16, 50)
                                   .End();
    const TrackBuilder conductor = TrackBuilder()
                                       .Meta(0, 7, "&0.6|0.7")
                                       .Meta(0, 6, std::string("%\x01\x01\x00", 4))  // not here
                                       .End();
    ASSERT_TRUE(Open(TwoTracks(staff, 16, conductor)));

    const auto globals = score->AllGlobals();
    EXPECT_NE(globals->Find(16, evtRepeatBegin, true), nullptr);
    EXPECT_NE(globals->Find(16, evtRepeatEnd, true), nullptr);
    EXPECT_NE(globals->Find(32, evtScoreEnd, true), nullptr);
    EXPECT_EQ(globals->Count(), 3);

    EXPECT_EQ(score->Staff(1)->DefaultClef(), clfAlto);
    const auto events = score->Staff(1)->GlobalEvents();
    const auto clef = events->Find(16, evtClefChange, true);
    ASSERT_NE(clef, nullptr);
    EXPECT_EQ(clef->Value1(), clfBass);
    EXPECT_EQ(events->Count(), 3);  // the key at 0, one clef change, the lyric
    const auto lyric = events->Find(32, evtLyric, true);
    ASSERT_NE(lyric, nullptr);
    EXPECT_EQ(lyric->Text(), "la}~li");

    EXPECT_FLOAT_EQ(score->StaffHeight(), 0.6f);
    EXPECT_FLOAT_EQ(score->StaffSpace(), 0.7f);
    EXPECT_FLOAT_EQ(score->SystemSpace(), 0.75f);
}

TEST_F(MidiImport, RealFileEventsAreSteppedOver) {
    const std::string longTitle(200, 'T');
    const TrackBuilder conductor = TrackBuilder()
                                       .Delta(0)
                                       .Raw({0xF0, 5, 0x7E, 0x7F, 9, 1, 0xF7})
                                       .Delta(0)
                                       .Raw({0xB0, 7, 100})
                                       .Delta(0)
                                       .Raw({0xC0, 5})
                                       .Meta(0, 1, longTitle + "|Arial|14|1")
                                       .Meta(0, 81, std::string("\x07\xA1\x20", 3))
                                       .End();
    const TrackBuilder staff = TrackBuilder()
                                   .Delta(0)
                                   .Raw({0xF0, 3, 0x43, 0x10, 0xF7})
                                   .On(0, 60, 90, 2)
                                   .Delta(8)
                                   .Raw({0xF7, 2, 1, 2})
                                   .Off(8, 60, 2)
                                   .End();
    ASSERT_TRUE(Open(TwoTracks(staff, 16, conductor)));
    EXPECT_EQ(score->Title(), longTitle);
    EXPECT_EQ(score->Count(), 120);
    EXPECT_EQ(NotesOfStaff(1), (std::vector<NoteRow>{Row(0, {60}, 16)}));
    // A system-exclusive message carries no channel.
    EXPECT_EQ(score->Staff(1)->Voice(1)->Instrument()->Channel(), 2);
}

TEST_F(MidiImport, DamagedTracksKeepWhatWasRead) {
    // The last event of a track is cut off: the track keeps what came before it.
    TrackBuilder cut = TrackBuilder().On(0, 60).Off(16, 60).On(0, 62).Raw({16, 0x80});
    ASSERT_TRUE(Open(MidiFileOf(16, {TrackBuilder().End(), cut})));
    ASSERT_EQ(score->Staffs(), 1);
    EXPECT_EQ(NotesOfStaff(1), (std::vector<NoteRow>{Row(0, {60}, 16)}));

    // A chunk that is not a track ends the import; what was read stays.
    std::string foreign =
        MidiFileOf(16, {TrackBuilder().End(), TrackBuilder().On(0, 60).Off(4, 60)});
    foreign += Bytes().Text("XFIH").U32(0).Data() + TrackChunk(TrackBuilder().End().Body());
    ASSERT_TRUE(Open(foreign));
    EXPECT_EQ(score->Staffs(), 1);
}

TEST_F(MidiImport, HostileValuesAreHarmless) {
    // Division 0: no time can be computed, every event stays at the start.
    ASSERT_TRUE(Open(TwoTracks(TrackBuilder().On(0, 60).Off(100, 60).End(), 0)));
    EXPECT_EQ(NotesOfStaff(1), (std::vector<NoteRow>{Row(0, {60}, 1)}));

    // Data bytes before any status, tempo 0, out-of-range keys, a meta event cut short.
    ASSERT_TRUE(Open(TwoTracks(TrackBuilder()
                                   .Delta(0)
                                   .Raw({60, 100})
                                   .Meta(0, 81, std::string(3, '\0'))
                                   .Meta(0, 88, std::string())
                                   .Delta(0)
                                   .Raw({0x90, 200, 100})
                                   .Delta(4)
                                   .Raw({0x80, 200, 0})
                                   .Delta(0)
                                   .Raw({255, 1, 50, 'a'}))));
    EXPECT_EQ(score->Count(), 120);
    EXPECT_TRUE(NotesOfStaff(1).empty());

    // Times beyond what a score file keeps end the track.
    ASSERT_TRUE(Open(TwoTracks(TrackBuilder()
                                   .On(0, 60)
                                   .Off(16, 60)
                                   .On(0x0FFFFFFF, 62)
                                   .Off(0x0FFFFFFF, 62)
                                   .On(0x0FFFFFFF, 64)
                                   .Off(0x0FFFFFFF, 64)
                                   .End())));
    EXPECT_EQ(NotesOfStaff(1).size(), 1u);
}

TEST_F(MidiImport, LargeInputStaysBounded) {
    // Thousands of tracks: the staffs stop at a fixed number.
    std::vector<TrackBuilder> tracks(3000, TrackBuilder());
    ASSERT_TRUE(Open(MidiFileOf(16, tracks, 2)));
    EXPECT_EQ(score->Staffs(), 340);

    // A note held for a million measures in a tiny file is cut into a bounded number of pieces.
    ASSERT_TRUE(Open(TwoTracks(TrackBuilder().On(0, 60).Off(64'000'000 / 64, 60).End(), 1)));
    const auto pieces = score->Staff(1)->Voice(1)->Notes()->Count();
    EXPECT_GT(pieces, 60'000);
    EXPECT_LT(pieces, 70'000);

    // Two notes held for 30,000 measures, the second struck a tick later and ended first: the
    // pieces of the first would each go in before those of the second, so they stop early.
    ASSERT_TRUE(Open(
        TwoTracks(TrackBuilder().On(0, 60).On(1, 62).Off(30'000 * 64 - 1, 62).Off(1, 60).End())));
    const auto held = score->Staff(1)->Voice(1)->Notes()->Count();
    EXPECT_GT(held, 30'000);
    EXPECT_LT(held, 31'000);

    // Thousands of events in one track.
    TrackBuilder busy;
    for (int i = 0; i < 20'000; ++i) busy.On(0, 40 + i % 40).Off(1, 40 + i % 40);
    ASSERT_TRUE(Open(TwoTracks(busy.End())));
    EXPECT_EQ(score->Staff(1)->Voice(1)->Notes()->Count(), 20'000);
}

}  // namespace
}  // namespace corvendi::test
