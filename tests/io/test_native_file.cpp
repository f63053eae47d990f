// Saving and reopening score files: the bytes of a known score worked out by hand, a rich round
// trip with what the format drops, and the guarantee that a failed save keeps the previous file.
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
    fileEvents->log.clear();

    const std::string path = PathOf("song.sco");
    ASSERT_TRUE(score->SaveFile(path));
    EXPECT_EQ(score->FileName(), path);
    EXPECT_EQ(score->FileType(), fmtQuavrix);
    EXPECT_FALSE(score->Changed());
    EXPECT_FALSE(score->CanUndo());
    EXPECT_EQ(fileEvents->log,
              (std::vector<std::string>{"ChangeNotify false", "HistoryChanged false"}));

    // Without a path the score saves to its own file.
    fileEvents->log.clear();
    score->SetTitle("Again");
    ASSERT_TRUE(score->SaveFile());
    EXPECT_EQ(fileEvents->log,
              (std::vector<std::string>{"ChangeNotify true", "HistoryChanged true",
                                        "ChangeNotify false", "HistoryChanged false"}));
}

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

}  // namespace
}  // namespace corvendi::test
