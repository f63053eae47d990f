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

}  // namespace
}  // namespace corvendi::test
