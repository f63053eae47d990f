#include "engine/ScoreAccess.h"
#include "engine/ScoreTestSupport.h"

#include <functional>

#include "corvendi/GlobalEvents.h"
#include "corvendi/Note.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {
namespace {

using ScoreProperties = ScoreTest;

struct SetterEffect {
    const char* name;
    std::function<void(Score&)> set;
    bool marksChanged;
    bool relayouts;
    bool paints;
};

// What each setter does when the value really changes, and that setting it again does nothing.
TEST_F(ScoreProperties, EachSetterMarksRelayoutsAndPaintsAsItShould) {
    const SetterEffect table[] = {
        {"Title", [](Score& s) { s.SetTitle("T"); }, true, true, true},
        {"SubTitle", [](Score& s) { s.SetSubTitle("T"); }, true, true, true},
        {"Composer", [](Score& s) { s.SetComposer("T"); }, true, true, true},
        {"ArrangedBy", [](Score& s) { s.SetArrangedBy("T"); }, true, true, true},
        {"Copyright", [](Score& s) { s.SetCopyright(1, "T"); }, true, true, true},
        {"Heading", [](Score& s) { s.SetHeading("T"); }, true, false, false},
        {"Beat", [](Score& s) { s.SetBeat(8); }, true, false, false},
        {"Count", [](Score& s) { s.SetCount(90); }, false, false, false},
        {"Capo", [](Score& s) { s.SetCapo(3); }, false, false, false},
        {"Metronome", [](Score& s) { s.SetMetronome(false); }, true, false, false},
        {"ReverseEvenOdd", [](Score& s) { s.SetReverseEvenOdd(true); }, true, false, false},
        {"UseCapo", [](Score& s) { s.SetUseCapo(true); }, true, false, true},
        {"UseChords", [](Score& s) { s.SetUseChords(true); }, true, false, true},
        {"UseChordMaps", [](Score& s) { s.SetUseChordMaps(true); }, true, false, true},
        {"NumberMeasures", [](Score& s) { s.SetNumberMeasures(true); }, true, false, true},
        {"NumberPos", [](Score& s) { s.SetNumberPos(2); }, true, false, false},
        {"PageNums", [](Score& s) { s.SetPageNums(pgnAllPages); }, true, false, true},
        {"PageOrientation", [](Score& s) { s.SetPageOrientation(1); }, true, false, true},
        {"PageSize", [](Score& s) { s.SetPageSize(pgsA4); }, true, false, true},
        {"PageHeight", [](Score& s) { s.SetPageHeight(12.0f); }, true, false, true},
        {"PageWidth", [](Score& s) { s.SetPageWidth(9.0f); }, true, false, true},
        {"Margins", [](Score& s) { s.SetMargins(marTop, 2.0f); }, true, false, true},
        {"StaffHeight", [](Score& s) { s.SetStaffHeight(0.3f); }, true, false, true},
        {"StaffSpace", [](Score& s) { s.SetStaffSpace(0.3f); }, true, false, true},
        {"SystemSpace", [](Score& s) { s.SetSystemSpace(0.3f); }, true, false, true},
        {"Voice", [](Score& s) { s.SetVoice(2); }, false, false, true},
        {"Key", [](Score& s) { s.SetKey(2); }, true, false, true},
        {"Minor", [](Score& s) { s.SetMinor(true); }, true, false, false},
        {"DrumIX", [](Score& s) { s.SetDrumIX(3); }, false, false, false},
    };
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        score.reset();
        ResetProcessState();
        Headless().SetAppFolder(CORVENDI_TEST_DATA_DIR);
        NewScore();
        score->CreateDefault();
        auto surface = Attach();
        const uint32_t generation = detail::ScoreAccess::PaginationGeneration(*score);

        row.set(*score);
        EXPECT_EQ(score->Changed(), row.marksChanged);
        EXPECT_EQ(detail::ScoreAccess::PaginationGeneration(*score) != generation, row.relayouts);
        EXPECT_EQ(surface->Count("Cls"), row.paints ? 1u : 0u);
        EXPECT_EQ(score->LastPage(), 1);  // every restarted pagination has finished

        score->SetChanged(false);
        surface->ClearCalls();
        const uint32_t again = detail::ScoreAccess::PaginationGeneration(*score);
        row.set(*score);
        EXPECT_FALSE(score->Changed());
        EXPECT_EQ(detail::ScoreAccess::PaginationGeneration(*score), again);
        EXPECT_EQ(surface->Count("Cls"), 0u);
    }
}

TEST_F(ScoreProperties, ChangeNotifyOnlyOnARealChange) {
    NewScore();
    score->SetChanged(true);
    score->SetChanged(true);
    score->SetChanged(false);
    score->SetChanged(false);
    EXPECT_EQ(events->log, (std::vector<std::string>{"ChangeNotify true", "ChangeNotify false"}));

    detail::ScoreAccess::PlayFileStaleSet(*score, false);
    detail::ScoreAccess::LoadingSet(*score, true);
    score->SetChanged(true);
    EXPECT_FALSE(score->Changed());
    EXPECT_FALSE(detail::ScoreAccess::PlayFileStale(*score));
    EXPECT_EQ(events->log.size(), 2u);
    detail::ScoreAccess::LoadingSet(*score, false);
    score->SetChanged(true);
    EXPECT_TRUE(detail::ScoreAccess::PlayFileStale(*score));
}

TEST_F(ScoreProperties, CapoAndChordSwitchesPullEachOtherAndValuesStayInRange) {
    NewScore();
    score->SetUseCapo(true);
    EXPECT_EQ(score->Capo(), 1);
    EXPECT_TRUE(score->UseChords());
    score->SetUseChordMaps(true);
    score->SetUseChords(false);
    EXPECT_FALSE(score->UseCapo());
    EXPECT_FALSE(score->UseChordMaps());
    EXPECT_EQ(score->Capo(), 1);

    score->SetCapo(5);
    score->SetUseCapo(true);
    EXPECT_EQ(score->Capo(), 5);
    score->SetCapo(16);
    score->SetCapo(-1);
    EXPECT_EQ(score->Capo(), 5);
    score->SetCount(256);
    score->SetCount(-1);
    EXPECT_EQ(score->Count(), 120);
    score->SetCount(0);
    EXPECT_EQ(score->Count(), 0);

    // Counting measures by more than one needs numbering on; turning it on counts by one.
    score->SetNumberMeasuresBy(4);
    EXPECT_EQ(score->NumberMeasuresBy(), 0);
    score->SetNumberMeasures(true);
    EXPECT_EQ(score->NumberMeasuresBy(), 1);

    // The drum index is 1 to 8.
    score->SetDrumIX(9);
    score->SetDrumIX(0);
    EXPECT_EQ(score->DrumIX(), 1);
    score->SetDrumIX(8);
    EXPECT_EQ(score->DrumIX(), 8);

    // An invalid beat becomes a quarter and still marks the score changed, every time.
    score->SetBeat(32);
    for (int i = 0; i < 2; ++i) {
        score->SetChanged(false);
        score->SetBeat(12);
        EXPECT_EQ(score->Beat(), 16);
        EXPECT_TRUE(score->Changed());
    }
}

TEST_F(ScoreProperties, CopyrightLineFromAnyIndex) {
    NewScore();
    score->SetCopyright("x", "A");
    score->SetCopyright(5, "B");
    EXPECT_EQ(score->Copyright(), "A");
    EXPECT_EQ(score->Copyright(0), "A");
    EXPECT_EQ(score->Copyright(-4), "A");
    EXPECT_EQ(score->Copyright(5), "B");
    EXPECT_EQ(score->Copyright("1"), "B");
    EXPECT_EQ(score->Copyright(" 0.7 "), "B");
    EXPECT_EQ(score->Copyright("1x"), "A");
    score->SetCopyright("C");
    EXPECT_EQ(score->Copyright(0), "C");
}

TEST_F(ScoreProperties, FontsAreSharedObjects) {
    NewScore();
    score->Fonts(fntTitle)->SetSize(20.0f);
    EXPECT_FLOAT_EQ(score->Fonts(fntTitle)->Size(), 20.0f);
    EXPECT_FALSE(score->Changed());

    auto mine = std::make_shared<Font>("Georgia", 9.0f);
    score->SetFonts(fntCopyright, mine);
    EXPECT_EQ(score->Fonts(fntCopyright), mine);
    EXPECT_TRUE(score->Changed());
    score->SetFonts(7, mine);
    score->SetFonts(2, nullptr);
    EXPECT_EQ(score->Fonts(2)->Name(), "Arial");
}

TEST_F(ScoreProperties, KeyAndMinorWriteTheScoreKeyEventAtZero) {
    NewScore();
    score->CreateDefault();
    score->SetMinor(true);  // creates the key event: C minor
    ASSERT_NE(score->AllGlobals()->Item(0, evtKeyChange), nullptr);
    EXPECT_EQ(score->AllGlobals()->Item(0, evtKeyChange)->Value1(), 0);
    score->SetMinor(false);
    auto staffEvents = score->Staff(1)->GlobalEvents();
    staffEvents->Add(0, evtKeyChange, 2);
    staffEvents->Add(64, evtKeyChange, 3);

    score->SetKey(-3);
    auto key = score->AllGlobals()->Item(0, evtKeyChange);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->Value1(), 253);
    EXPECT_EQ(key->Value2(), 0);
    EXPECT_EQ(staffEvents->Item(0, evtKeyChange), nullptr);
    EXPECT_NE(staffEvents->Item(64, evtKeyChange), nullptr);

    score->SetMinor(true);
    EXPECT_TRUE(score->Minor());
    EXPECT_EQ(key->Value2(), 1);
    EXPECT_EQ(score->AllGlobals()->Count(), 1);

    score->SetKey(9);
    EXPECT_EQ(score->Key(), 7);
    EXPECT_EQ(key->Value1(), 7);
    EXPECT_EQ(score->Staff(1)->CurKey(0), 7);
}

TEST_F(ScoreProperties, AddNoteRaisesTheHighNoteTime) {
    NewScore();
    score->CreateDefault();
    EXPECT_EQ(score->AddNote(0, 0, 60, 16, 0), nullptr);
    EXPECT_EQ(score->AddNote(2, 0, 60, 16, 0), nullptr);
    EXPECT_FALSE(score->Changed());

    auto note = score->AddNote(1, 96, 62, 16, nteDot);
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->NoteTime(), 96);
    EXPECT_EQ(detail::ScoreAccess::HighNoteTime(*score), 96);
    EXPECT_TRUE(score->Changed());
    score->AddNote(1, 32, 64, 16, 0);
    EXPECT_EQ(detail::ScoreAccess::HighNoteTime(*score), 96);
    EXPECT_EQ(score->AllVoices()->Item(1)->Notes()->Count(), 2);
    EXPECT_EQ(detail::ScoreAccess::DrawFlags(*score) & 4, 0);
    score->SetVoice(2);
    score->AddNote(1, 128, 64, 16, 0);
    EXPECT_EQ(detail::ScoreAccess::DrawFlags(*score) & 4, 4);
}

TEST_F(ScoreProperties, HighTimeIsTheLatestLastNoteOfAnyVoice) {
    NewScore();
    EXPECT_EQ(score->HighTime(), 0);
    score->CreateDefault();
    EXPECT_EQ(score->HighTime(), 0);
    detail::StaffsAccess::Add(*score->AllStaffs(), score->AllStaffs()->NewID(), "Second");
    ASSERT_EQ(score->AllVoices()->Count(), 2);
    score->AddNote(2, 48, 60, 16, 0);
    score->AddNote(2, 16, 60, 16, 0);
    EXPECT_EQ(score->HighTime(), 48);  // voice 1 has no notes and counts as 0
    score->AddNote(1, 80, 60, 16, 0);
    EXPECT_EQ(score->HighTime(), 80);
}

TEST_F(ScoreProperties, ReplacingACollectionMovesOwnership) {
    NewScore();
    score->CreateDefault();
    auto old = score->AllStaffs();
    auto replacement = std::make_shared<Staffs>();
    score->SetAllStaffs(replacement);
    EXPECT_EQ(score->AllStaffs(), replacement);
    EXPECT_EQ(detail::StaffsAccess::Parent(*replacement), score.get());
    EXPECT_EQ(detail::StaffsAccess::Parent(*old), nullptr);
    EXPECT_EQ(score->Staffs(), 0);
    score->SetAllStaffs(nullptr);
    EXPECT_EQ(score->AllStaffs(), replacement);
}

TEST_F(ScoreProperties, ModuleWideSettingsAreSharedByScores) {
    NewScore();
    auto other = Score::Create();
    score->SetUOM(uomMM);
    EXPECT_EQ(other->UOM(), uomMM);
    EXPECT_FALSE(other->CanUndo());
    RecordEdit(0, 1, "", 1, 1, 0, 0);
    EXPECT_TRUE(score->CanUndo());
    EXPECT_EQ(score->SelectedMeasure(), 1);
}

}  // namespace
}  // namespace corvendi::test
