#include "engine/ScoreAccess.h"
#include "engine/ScoreTestSupport.h"

#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Range.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "model/HostTimer.h"
#include "model/ModelAccess.h"
#include "model/PaginationTimer.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {
namespace {

using ScoreCreate = ScoreTest;

TEST_F(ScoreCreate, CreateDefaultBuildsAOneStaffDocument) {
    NewScore();
    score->SetChanged(true);
    score->AllGlobals()->Add(32, evtLineEnd);
    events->log.clear();

    score->CreateDefault();

    EXPECT_EQ(events->log,
              (std::vector<std::string>{"ChangeNotify false", "ActiveVoice 1", "ActiveStaff 1"}));
    ASSERT_EQ(score->Staffs(), 1);
    auto staff = score->Staff(1);
    EXPECT_EQ(events->lastStaff, staff);
    EXPECT_EQ(staff->Description(), "New");
    EXPECT_EQ(staff->ID(), "S102030");
    EXPECT_TRUE(staff->Selected());
    EXPECT_EQ(score->SelectedStaff(), staff);
    EXPECT_EQ(staff->Voices(), 1);
    EXPECT_EQ(score->AllVoices()->Count(), 1);
    EXPECT_EQ(score->AllInstruments()->Count(), 1);

    auto globals = score->AllGlobals();
    EXPECT_EQ(globals->Count(), 0);
    ASSERT_EQ(globals->TimeItemCount(), 1);
    auto time = globals->TimeItem(1);
    EXPECT_EQ(time->EventTime(), 0);
    EXPECT_EQ(time->Value1(), 0);
    EXPECT_EQ(time->Value2(), 0);
    EXPECT_EQ(globals->MeasureInfo(0).Duration, 64);

    EXPECT_EQ(score->Title(), "New Score");
    EXPECT_EQ(score->LastPage(), 1);
    EXPECT_EQ(detail::ScoreAccess::PageRanges(*score).size(), 1u);
    EXPECT_FALSE(score->Changed());

    // Doing it again leaves one staff, no change and an empty selection.
    detail::ScoreAccess::Selected(*score).push_back(score->AddNote(1, 0, 60, 16, 0));
    events->log.clear();
    score->CreateDefault();
    EXPECT_EQ(score->Staffs(), 1);
    EXPECT_EQ(score->AllVoices()->Count(), 1);
    EXPECT_EQ(score->SelCount(), 0);
    EXPECT_EQ(events->Count("ChangeNotify true"), 0u);
}

TEST_F(ScoreCreate, AHostKeepsItsStaffAfterTheScoreIsGone) {
    NewScore();
    score->CreateDefault();
    auto staff = score->Staff(1);
    auto staffs = score->AllStaffs();
    auto voices = score->AllVoices();
    auto voice = voices->Item(1);
    score.reset();

    EXPECT_EQ(detail::StaffAccess::Parent(*staff), nullptr);
    EXPECT_EQ(staff->Description(), "New");
    EXPECT_EQ(staff->Voice(1), nullptr);
    EXPECT_EQ(detail::StaffsAccess::Parent(*staffs), nullptr);
    EXPECT_EQ(staffs->Count(), 0);
    EXPECT_EQ(detail::VoicesAccess::Parent(*voices), nullptr);
    EXPECT_EQ(detail::VoiceAccess::Parent(*voice), nullptr);
    staff->SetSelected(true);  // no owner to reach: must not crash
    EXPECT_TRUE(staff->Selected());
}

}  // namespace
}  // namespace corvendi::test
