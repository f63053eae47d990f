// Saving and reopening score files: the bytes of a known score worked out by hand, a rich round
// trip with what the format drops, the edge cases of the layout, and the guarantees that saving
// never destroys the previous file.
#include "engine/ScoreAccess.h"
#include "io/FileTestSupport.h"

#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <optional>
#include <tuple>

#include "corvendi/Enums.h"
#include "corvendi/Font.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Range.h"
#include "corvendi/Staff.h"
#include "corvendi/ToJson.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {
namespace {

using NativeFile = FileTest;

// --- building scores
// -------------------------------------------------------------------------------

std::shared_ptr<Staff> AddStaff(Score& s, const std::string& description) {
    const auto staffs = s.AllStaffs();
    return detail::StaffsAccess::Add(*staffs, staffs->NewID(), description, std::nullopt, true);
}

std::shared_ptr<Voice> AddVoice(Staff& staff, Score& s, int32_t program) {
    const auto instruments = s.AllInstruments();
    return staff.AddVoice(instruments->Add(instruments->NewID(), program));
}

// One staff with one voice: the chord C-E-G on beat 1 and a rest on beat 2; the staff clef
// changes at the second measure and a text "a" marks beat 3.
void BuildSmallScore(Score& s) {
    s.SetTitle("Hi");
    s.SetComposer("C");
    s.AllGlobals()->Add(0, evtTimeChange, 0, 0, "");
    s.AllGlobals()->Add(32, evtText, 0, 0, "a");
    s.AllGlobals()->SetPulseValue(16);

    auto staff = AddStaff(s, "S1");
    auto voice = AddVoice(*staff, s, 74);
    auto instrument = voice->Instrument();
    detail::InstrumentAccess::DescriptionSet(*instrument, "Flute");
    detail::InstrumentAccess::CategorySet(*instrument, catWind);
    detail::InstrumentAccess::DefaultClefSet(*instrument, clfTreble);
    detail::InstrumentAccess::OffsetSet(*instrument, 0);
    detail::InstrumentAccess::PitchSet(*instrument, 0);
    detail::RangeAccess::LowSet(*instrument->Range(), 60);
    detail::RangeAccess::HighSet(*instrument->Range(), 96);
    staff->SetDefaultClef(clfTreble);
    staff->GlobalEvents()->Add(64, evtClefChange, clfBass, 0, "");
    voice->SetDescription("V");

    auto chord = voice->Notes()->Add(0, 60, durQuarter, 0);
    chord->AddValue(64);
    chord->AddValue(67);
    auto rest = voice->Notes()->Add(16, 62, durQuarter, 0);
    rest->RemoveValue(62);
}

TEST_F(NativeFile, TheBytesOfASmallScoreFollowTheLayout) {
    NewFileScore();
    BuildSmallScore(*score);
    const std::string path = PathOf("small.sco");
    ASSERT_TRUE(score->SaveFile(path));

    // Sections: Hdr at 51 (94 bytes), Glb at 145 (17), Ins at 162 (27), Stf at 189 (119).
    Bytes expected;
    expected.Text("Qx00").B({4, 11});
    expected.Text("Hdr").U32(51).U32(94).Text("Glb").U32(145).U32(17);
    expected.Text("Ins").U32(162).U32(27).Text("Stf").U32(189).U32(119);
    // Hdr: five fonts (name 00 size flags text FF), spacing, margins and switches, tempo.
    expected.Text("Arial").B({0}).Text("14").B({129}).Text("Hi").FF();
    expected.Text("Arial").B({0}).Text("12").B({129}).FF();
    expected.Text("Arial").B({0}).Text("10").B({129}).FF();
    expected.Text("Arial").B({0}).Text("10").B({129}).Text("C").FE().FF();
    expected.Text("Arial").B({0}).Text("8").B({128}).FE().FF();
    expected.Text("0.4").FE().Text("0.5").FE().Text("0.65").FF();
    expected.Text("1").FE().Text("0.5").FE().Text("0.75").FE().Text("0.5").FE();
    expected.B({0, 0, 0, 0}).FF();
    expected.Text("120").FE().Text("16").FF();
    // Glb: common time at 0 (7 bytes), the text "a" at 32 (10 bytes).
    expected.U32(0).B({1, 0, 0});
    expected.U32(32).B({18, 0, 0}).FE().Text("a").FF();
    // Ins: identifier FE description, channel, category, clef, program, Offset FE Pitch FE
    // Low FE High FF.
    expected.Text("I102030").FE().Text("Flute").B({0, 2, 1, 74});
    expected.Text("0").FE().Text("0").FE().Text("60").FE().Text("96").FF();
    // Stf: directory (length 35, 3 entries of 11 bytes), then the staff's Hdr at 228 (19),
    // Glb at 247 (7) and Vce at 254 (54).
    expected.U32(35).B({3, 11});
    expected.Text("Hdr").U32(228).U32(19).Text("Glb").U32(247).U32(7);
    expected.Text("Vce").U32(254).U32(54);
    // The staff header: description FE scale "|" staff identifier, then clef, flags, state,
    // brace and voice count.
    expected.Text("S1").FE().Text("100|S102030").B({1, 29, 2, 0, 1});
    expected.U32(64).B({7, 2, 0});
    // The voice header: note count, description FE program "|" instrument identifier "|" voice
    // identifier FF.
    expected.U32(2).Text("V").FE().Text("74|I102030|V102030").FF();
    expected.U32(0).U32(16).U32(0).B({3, 60, 64, 67});  // a chord: 16 bytes
    expected.U32(16).U32(16).U32(0).B({0});             // a rest: 13 bytes

    EXPECT_EQ(ReadFile(path), expected.Data());
    EXPECT_FALSE(std::filesystem::exists(PathOf("$QX$.sco")));

    // Read back, the chord is one note of three values and the rest is gone.
    NewFileScore();
    ASSERT_TRUE(score->OpenFile(path));
    const auto notes = score->Staff(1)->Voice(1)->Notes();
    ASSERT_EQ(notes->Count(), 1);
    const auto chord = notes->ByIndex(1);
    ASSERT_EQ(chord->ValueCount(), 3);
    EXPECT_EQ(chord->Value(0), 60);
    EXPECT_EQ(chord->Value(2), 67);
    EXPECT_EQ(score->AllGlobals()->Find(32, evtText, true)->Text(), "a");
}

TEST_F(NativeFile, SavingTakesThePathAndClearsChangesAndHistory) {
    NewFileScore();
    score->CreateDefault();
    score->SetTitle("Changed");
    RecordEdit(0, 1, "", 0, 0, 0, 0);
    fileEvents->log.clear();

    const std::string path = PathOf("song.sco");
    ASSERT_TRUE(score->SaveFile(path));
    EXPECT_EQ(score->FileName(), path);
    EXPECT_EQ(score->FileType(), fmtQuavrix);
    EXPECT_FALSE(score->Changed());
    EXPECT_EQ(UndoCount(), 0);
    EXPECT_EQ(fileEvents->log,
              (std::vector<std::string>{"ChangeNotify false", "HistoryChanged false"}));

    // Without a path the score saves to its own file; with an empty history no event is raised.
    fileEvents->log.clear();
    score->SetTitle("Again");
    ASSERT_TRUE(score->SaveFile());
    EXPECT_EQ(fileEvents->log,
              (std::vector<std::string>{"ChangeNotify true", "ChangeNotify false"}));
}

TEST_F(NativeFile, SavingNeedsAPathAndAKnownFormat) {
    NewFileScore();
    score->CreateDefault();
    EXPECT_FALSE(score->SaveFile());
    EXPECT_FALSE(score->SaveFile("", fmtQuavrix));

    const std::string path = PathOf("x.sco");
    EXPECT_FALSE(score->SaveFile(path, 2));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_FALSE(std::filesystem::exists(PathOf("$QX$.sco")));
    EXPECT_EQ(score->FileName(), "");
}

TEST_F(NativeFile, FileTitleDropsFolderAndExtension) {
    NewFileScore();
    EXPECT_EQ(score->FileTitle(), "New Score");
    const std::pair<const char*, const char*> cases[] = {
        {"C:\\Music\\Song.final.sco", "Song.final"},
        {"D:Tune.sco", "Tune"},
        {"/home/user/scores/Air.sco", "Air"},
        {"plain", "plain"},
        // A backslash wins over a later slash.
        {"a\\b/c.sco", "b/c"},
    };
    for (const auto& [name, title] : cases) {
        detail::ScoreAccess::FileNameSet(*score, name);
        EXPECT_EQ(score->FileTitle(), title) << name;
    }
}

TEST_F(NativeFile, AScoreWithoutStaffsHasAnEmptyStaffDirectory) {
    NewFileScore();
    const std::string path = PathOf("empty.sco");
    ASSERT_TRUE(score->SaveFile(path));
    const std::string data = ReadFile(path);
    EXPECT_EQ(SectionOf(data, 3), Bytes().U32(2).B({0, 11}).Data());

    NewFileScore();
    EXPECT_TRUE(score->OpenFile(path));
    EXPECT_EQ(score->Staffs(), 0);
    EXPECT_EQ(fileEvents->Count("ActiveVoice 1"), 1u);
    EXPECT_EQ(fileEvents->Count("AfterOpenSave"), 1u);
}

// --- the round trip
// --------------------------------------------------------------------------------

struct RichScore {
    std::shared_ptr<Staff> melody, drums, vocal;
    std::string fluteID, clarinetID, drumsID;
};

RichScore BuildRichScore(Score& s) {
    RichScore r;
    s.SetTitle("Sérénade");
    s.SetSubTitle("für Bläser");
    s.SetHeading("Heading");
    s.SetComposer("Composer Ü");
    s.SetArrangedBy("Arranger");
    s.SetCopyright(0, "© 2024");
    s.SetCopyright(1, "All rights");
    const char* faces[] = {"Times New Roman", "Georgia", "Verdana", "Courier New", "Tahoma"};
    const float sizes[] = {20.5f, 16, 11, 9, 7.5f};
    for (int32_t i = 0; i < 5; ++i) {
        auto font = s.Fonts(i);
        font->SetName(faces[i]);
        font->SetSize(sizes[i]);
        font->SetBold(i % 2 == 0);
    }
    s.SetStaffHeight(0.45f);
    s.SetStaffSpace(0.625f);
    s.SetSystemSpace(0.8f);
    s.SetMargins(marTop, 1.25f);
    s.SetMargins(marBottom, 0.6f);
    s.SetMargins(marLeft, 0.7f);
    s.SetMargins(marRight, 0.55f);
    s.SetPageNums(pgnAllPages);
    s.SetReverseEvenOdd(true);
    s.SetUseChordMaps(true);  // also turns chords on
    s.SetCount(96);

    // Every score-wide event type, with and without text, at distinct times.
    auto globals = s.AllGlobals();
    globals->Add(0, evtTimeChange, 3, 16, "");
    globals->Add(0, evtKeyChange, 2, 1, "");
    detail::ScoreAccess::KeySet(s, 2, 1);  // the key the event says
    globals->Add(480, evtTimeChange, 6, 8, "");
    for (int32_t type = evtRepeatBegin; type <= evtPlayBack; ++type) {
        const bool withText = type % 2 == 0;
        globals->Add(type * 48, type, static_cast<uint8_t>(type), static_cast<uint8_t>(200 + type),
                     withText ? "text " + std::to_string(type) : "");
    }
    globals->Add(0, evtGroupMark, 1, 0, "");
    globals->SetPulseValue(16);

    // Staff 1: two voices with chords.
    r.melody = AddStaff(s, "Melody");
    auto flute = AddVoice(*r.melody, s, 74);
    auto clarinet = AddVoice(*r.melody, s, 72);
    r.fluteID = flute->Instrument()->ID();
    r.clarinetID = clarinet->Instrument()->ID();
    flute->SetDescription("Flute part");
    clarinet->SetDescription("Clarinet part");
    detail::RangeAccess::LowSet(*flute->Instrument()->Range(), 55);
    for (int32_t t = 0; t < 12; ++t) {
        auto note = flute->Notes()->Add(t * 16, static_cast<uint8_t>(60 + t), durQuarter,
                                        t % 3 == 0 ? nteDot | nteStacato : 0);
        if (t % 4 == 0) note->AddValue(static_cast<uint8_t>(72 + t));
    }
    clarinet->Notes()->Add(0, 48, durWhole, nteFermata)->AddValue(55);
    r.melody->SetScalePct(60);
    r.melody->SetFlags(stfShowStaffDesc | stfPrintDynamics);
    r.melody->SetMute(true);
    r.melody->SetDefaultClef(clfAlto);
    detail::StaffAccess::BraceSet(*r.melody, 2);
    r.melody->GlobalEvents()->Add(0, evtKeyChange, 2, 1, "");
    r.melody->GlobalEvents()->Add(64, evtClefChange, clfTenor, 0, "");

    // Staff 2: drums with a drum map.
    r.drums = AddStaff(s, "Drums");
    auto kit = AddVoice(*r.drums, s, 0);
    auto drumSet = kit->Instrument();
    detail::InstrumentAccess::CategorySet(*drumSet, catDrums);
    detail::InstrumentAccess::OffsetSet(*drumSet, -300);  // drums take any offset
    for (int32_t i = 1; i <= 8; ++i) {
        drumSet->SetDrumValue(i, static_cast<int16_t>(34 + i));
        drumSet->SetDrumCode(i, static_cast<int16_t>(130 + i));
    }
    r.drumsID = drumSet->ID();
    kit->Notes()->Add(0, 36, durEighth, 0)->AddValue(42);
    // A second kit, also program 0, with a map of its own.
    const auto instruments = s.AllInstruments();
    auto brushes = detail::InstrumentsAccess::AddDistinct(*instruments, instruments->NewID(), 0);
    detail::InstrumentAccess::CategorySet(*brushes, catDrums);
    detail::InstrumentAccess::DescriptionSet(*brushes, "Brushes");
    brushes->SetDrumValue(1, 38);
    brushes->SetDrumCode(1, 132);
    r.drums->AddVoice(brushes)->Notes()->Add(16, 38, durQuarter, 0);
    r.drums->SetVisible(false);
    r.drums->GlobalEvents()->Add(0, evtKeyChange, 2, 1, "");

    // Staff 3: lyrics of several verses.
    r.vocal = AddStaff(s, "Voice");
    auto singer = AddVoice(*r.vocal, s, 52);
    singer->Notes()->Add(0, 67, durHalf, 0);
    // A piano on program 0 as well, melodic.
    AddVoice(*r.vocal, s, 0)->Notes()->Add(0, 48, durWhole, 0);
    r.vocal->GlobalEvents()->Add(0, evtKeyChange, 2, 1, "");
    r.vocal->GlobalEvents()->Add(0, evtLyric, 0, 0, "a\rb\rc\rd");
    // Events sharing a time keep their order.
    r.vocal->GlobalEvents()->Add(32, evtText, 0, 0, "first");
    r.vocal->GlobalEvents()->Add(32, evtText, 0, 0, "second");
    r.vocal->GlobalEvents()->Add(32, evtText, 0, 0, "third");
    r.vocal->GlobalEvents()->Add(32, evtLyric, 0, 0, "da");
    detail::StaffAccess::VersesSet(*r.vocal, 4);
    return r;
}

TEST_F(NativeFile, ARichScoreComesBackWholeAndSavesToTheSameBytes) {
    auto saved = NewFileScore();
    BuildRichScore(*saved);
    const std::string path = PathOf("rich.sco");
    ASSERT_TRUE(saved->SaveFile(path));

    // Opened and saved again at two other times of day: identifiers are the file's, not the
    // clock's, and events of equal time keep their order.
    std::vector<std::string> dumps;
    for (const TimeOfDay& now : {TimeOfDay{11, 22, 33}, TimeOfDay{23, 59, 58}}) {
        Headless().SetFixedTime(now);
        auto loaded = NewFileScore();
        loaded->SetTitle("to be replaced");
        loaded->SetChanged(true);
        ASSERT_TRUE(loaded->OpenFile(PathOf(dumps.empty() ? "rich.sco" : "again.sco")));
        EXPECT_FALSE(loaded->Changed());
        EXPECT_EQ(loaded->FileType(), fmtQuavrix);
        dumps.push_back(ToJson(*loaded));
        ASSERT_TRUE(loaded->SaveFile(PathOf("again.sco")));
        EXPECT_EQ(ReadFile(PathOf("again.sco")), ReadFile(path));
    }
    EXPECT_EQ(dumps[0], ToJson(*saved));
    EXPECT_EQ(dumps[1], dumps[0]);
}

TEST_F(NativeFile, TheBundledExampleInTheOlderLayoutKeepsItsBindings) {
    // The bundled example as written before headers named instruments, staffs and voices:
    // each voice plays the first instrument with its program.
    NewFileScore();
    ASSERT_TRUE(
        score->OpenFile(CORVENDI_TEST_SOURCE_DIR "/tests/io/data/example-older-layout.sco"));
    int32_t verses = 0;
    for (const auto& voice : *score->AllVoices()) {
        std::shared_ptr<Instrument> first;
        for (const auto& instrument : *score->AllInstruments()) {
            if (!first && instrument->Value() == voice->Instrument()->Value()) first = instrument;
        }
        EXPECT_EQ(voice->Instrument(), first) << voice->Description();
    }
    for (int32_t i = 1; i <= score->Staffs(); ++i)
        verses = std::max<int32_t>(verses, score->Staff(i)->Verses());
    EXPECT_EQ(verses, 2);  // a two-verse song

    // Saved in today's layout, it comes back the same.
    const std::string before = ToJson(*score);
    ASSERT_TRUE(score->SaveFile(PathOf("example.sco")));
    ASSERT_TRUE(score->OpenFile(PathOf("example.sco")));
    EXPECT_EQ(ToJson(*score), before);
}

TEST_F(NativeFile, OpeningOrANewDocumentForgetsThePreviousDocumentsSettings) {
    NewFileScore();
    score->CreateDefault();
    const std::string path = PathOf("plain.sco");
    ASSERT_TRUE(score->SaveFile(path));
    ASSERT_TRUE(score->OpenFile(path));
    const std::string opened = ToJson(*score);
    score->CreateDefault();
    const std::string fresh = ToJson(*score);

    // What a file does not store, changed; and the host's own switches.
    auto change = [this] {
        score->SetCapo(3);
        score->SetUseCapo(true);
        score->SetPageSize(pgsA4);
        score->SetPageOrientation(pgeLandscape);
        score->SetNumberMeasures(true);
        score->SetNumberMeasuresBy(5);
        score->SetNumberPos(2);
        score->SetBeat(durEighth);
        score->SetMetronome(false);
        score->SetDynAdjust(7);
        score->Fonts(5)->SetSize(30);
        score->Fonts(6)->SetName("Georgia");
        score->Fonts(fntTitle)->SetItalic(true);
        score->Fonts(fntComposer)->SetUnderline(true);
        score->SetHandles(true);
        score->SetGetAsync(true);
    };
    change();
    ASSERT_TRUE(score->OpenFile(path));
    EXPECT_EQ(ToJson(*score), opened);
    EXPECT_EQ(score->DynAdjust(), 0);
    EXPECT_TRUE(score->Handles());
    EXPECT_TRUE(score->GetAsync());

    change();
    score->CreateDefault();
    EXPECT_EQ(ToJson(*score), fresh);
    EXPECT_EQ(score->DynAdjust(), 0);
    EXPECT_TRUE(score->Handles());
}

TEST_F(NativeFile, WhatTheFormatDropsStaysDropped) {
    auto saved = NewFileScore();
    saved->CreateDefault();
    const auto first = saved->Staff(1);
    first->SetDescription("Only");
    // Italic and underline of a font.
    saved->Fonts(fntTitle)->SetItalic(true);
    saved->Fonts(fntTitle)->SetUnderline(true);
    // A font whose size rounds to 0 is not applied; its text still is.
    saved->Fonts(fntHeader)->SetSize(0.4f);
    saved->SetHeading("Small");
    // A rest.
    first->Voice(1)->Notes()->Add(0, 60, durQuarter, 0);
    first->Voice(1)->Notes()->Add(16, 62, durQuarter, 0)->RemoveValue(62);

    const std::string path = PathOf("lossy.sco");
    ASSERT_TRUE(saved->SaveFile(path));
    Headless().SetFixedTime(TimeOfDay{11, 22, 33});
    auto loaded = NewFileScore();
    ASSERT_TRUE(loaded->OpenFile(path));

    EXPECT_FALSE(loaded->Fonts(fntTitle)->Italic());
    EXPECT_FALSE(loaded->Fonts(fntTitle)->Underline());
    EXPECT_EQ(loaded->Fonts(fntHeader)->Size(), 10.0f);
    EXPECT_EQ(loaded->Heading(), "Small");

    EXPECT_EQ(loaded->Staff(1)->Voice(1)->Notes()->Count(), 1);
}

TEST_F(NativeFile, TheCategoryByteCountsOnlyWhenItFitsTheProgram) {
    NewFileScore();
    auto staff = AddStaff(*score, "S");
    detail::InstrumentAccess::CategorySet(*AddVoice(*staff, *score, 40)->Instrument(),
                                          CategoryOfProgram(40));
    detail::InstrumentAccess::CategorySet(*AddVoice(*staff, *score, 41)->Instrument(), catDrums);
    detail::InstrumentAccess::CategorySet(*AddVoice(*staff, *score, 42)->Instrument(),
                                          CategoryOfProgram(42) + 1);
    const std::string path = PathOf("categories.sco");
    ASSERT_TRUE(score->SaveFile(path));

    NewFileScore();
    ASSERT_TRUE(score->OpenFile(path));
    const auto instruments = score->AllInstruments();
    EXPECT_EQ(instruments->Item(1)->Category(), CategoryOfProgram(40));
    EXPECT_EQ(instruments->Item(2)->Category(), catDrums);
    EXPECT_EQ(instruments->Item(2)->Channel(), 9);
    EXPECT_EQ(instruments->Item(3)->Category(), catSolo);
}

TEST_F(NativeFile, TimesAndFlagsFrom2To24OnLoseTheirTopByte) {
    NewFileScore();
    score->AllGlobals()->Add(16777216 + 5, evtText, 0, 0, "late");
    auto staff = AddStaff(*score, "S");
    auto voice = AddVoice(*staff, *score, 0);
    voice->Notes()->Add(16777216 * 2 + 7, 60, durQuarter, 0x01000000 | nteDot);
    const std::string path = PathOf("wrap.sco");
    ASSERT_TRUE(score->SaveFile(path));

    NewFileScore();
    ASSERT_TRUE(score->OpenFile(path));
    ASSERT_NE(score->AllGlobals()->Find(5, evtText, true), nullptr);
    const auto note = score->Staff(1)->Voice(1)->Notes()->ByIndex(1);
    EXPECT_EQ(note->NoteTime(), 7);
    EXPECT_EQ(note->Flags(), nteDot);
}

// --- saving never destroys work ------------------------------------------------------------------

TEST_F(NativeFile, TextTheFileCannotHoldBecomesQuestionMarks) {
    NewFileScore();
    score->SetTitle("Ā þ ÿ €");
    score->Fonts(fntTitle)->SetName(std::string("Ari\0al", 6));
    auto staff = AddStaff(*score, "þ staff");
    auto instrument = AddVoice(*staff, *score, 0)->Instrument();
    detail::InstrumentAccess::DescriptionSet(*instrument, "Grand\tPiano\x1F");
    score->AllGlobals()->Add(0, evtText, 0, 0, "ÿes");
    const std::string path = PathOf("text.sco");
    ASSERT_TRUE(score->SaveFile(path));

    const std::string data = ReadFile(path);
    const std::string titleRecord =
        Bytes().Text("Ari?al").B({0}).Text("14").B({129}).Text("? ? ? ").B({128}).FF().Data();
    EXPECT_EQ(SectionOf(data, 0).substr(0, titleRecord.size()), titleRecord);
    EXPECT_NE(SectionOf(data, 2).find("Grand?Piano?"), std::string::npos);

    NewFileScore();
    ASSERT_TRUE(score->OpenFile(path));
    EXPECT_EQ(score->Title(), "? ? ? €");
    EXPECT_EQ(score->Fonts(fntTitle)->Name(), "Ari?al");
    EXPECT_EQ(score->Staff(1)->Description(), "? staff");
    EXPECT_EQ(score->AllInstruments()->Item(1)->Description(), "Grand?Piano?");
    EXPECT_EQ(score->AllInstruments()->Item(1)->Value(), 0);
    EXPECT_EQ(score->AllGlobals()->Find(0, evtText, true)->Text(), "?es");
}

TEST_F(NativeFile, AScoreOfMoreThan85StaffsIsNotWritten) {
    NewFileScore();
    for (int i = 0; i < 86; ++i) AddStaff(*score, "S" + std::to_string(i));
    const std::string path = PathOf("big.sco");
    WriteFile(path, "previous");
    EXPECT_FALSE(score->SaveFile(path));
    EXPECT_EQ(ReadFile(path), "previous");
    EXPECT_FALSE(std::filesystem::exists(PathOf("$QX$.sco")));

    detail::StaffsAccess::Remove(*score->AllStaffs(), 86);
    EXPECT_TRUE(score->SaveFile(path));
    EXPECT_EQ(SectionOf(ReadFile(path), 3).substr(0, 6),
              Bytes().U32(33 * 85 + 2).B({255, 11}).Data());
}

TEST_F(NativeFile, AFailedWriteLeavesTheTargetAndNoTemporaryFile) {
    NewFileScore();
    score->CreateDefault();
    for (int32_t t = 0; t < 2000; ++t) score->AddNote(1, t * 16, 60, durQuarter, 0);
    const std::string path = PathOf("song.sco");
    WriteFile(path, "previous");

    // The file size limit makes the writes fail part-way, as a full disk would.
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool saved = score->SaveFile(path);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(saved);
    EXPECT_EQ(ReadFile(path), "previous");
    EXPECT_FALSE(std::filesystem::exists(PathOf("$QX$.sco")));
    EXPECT_EQ(score->FileName(), "");
    EXPECT_TRUE(score->Changed());
}

TEST_F(NativeFile, ATemporaryFileThatCannotBeMadeLeavesTheTarget) {
    NewFileScore();
    score->CreateDefault();
    const std::string path = PathOf("song.sco");
    WriteFile(path, "previous");
    std::filesystem::create_directories(folder / "$QX$.sco" / "occupied");
    EXPECT_FALSE(score->SaveFile(path));
    EXPECT_EQ(ReadFile(path), "previous");

    // A target that cannot be replaced (a folder) keeps its place, and the temporary file goes.
    std::filesystem::remove_all(folder / "$QX$.sco");
    std::filesystem::create_directories(folder / "taken.sco" / "inside");
    EXPECT_FALSE(score->SaveFile(PathOf("taken.sco")));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "taken.sco" / "inside"));
    EXPECT_FALSE(std::filesystem::exists(PathOf("$QX$.sco")));
}

TEST_F(NativeFile, ReloadReopensTheFileOrStartsANewScore) {
    NewFileScore();
    score->Reload();
    EXPECT_EQ(score->Staffs(), 1);
    EXPECT_EQ(score->Title(), "New Score");

    const std::string path = PathOf("reload.sco");
    score->SetTitle("Saved");
    ASSERT_TRUE(score->SaveFile(path));
    score->SetTitle("Edited");
    score->Reload();
    EXPECT_EQ(score->Title(), "Saved");
    EXPECT_EQ(score->FileName(), path);
    EXPECT_FALSE(score->Changed());
}

}  // namespace
}  // namespace corvendi::test
