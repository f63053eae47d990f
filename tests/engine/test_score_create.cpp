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

TEST_F(ScoreCreate, ANewScoreIsEmptyWithLetterPageDefaults) {
    NewScore();
    EXPECT_EQ(score->Staffs(), 0);
    EXPECT_FALSE(score->Changed());
    EXPECT_TRUE(score->Redraw());
    EXPECT_FALSE(detail::ScoreAccess::Loading(*score));
    EXPECT_TRUE(detail::ScoreAccess::PlayFileStale(*score));
    EXPECT_EQ(detail::ScoreAccess::MidiEvtIx(*score), -1);

    EXPECT_EQ(score->PageSize(), pgsLeter);
    EXPECT_FLOAT_EQ(score->PageWidth(), 8.5f);
    EXPECT_FLOAT_EQ(score->PageHeight(), 11.0f);
    EXPECT_EQ(detail::ScoreAccess::PageWidthTw(*score), 12240);
    EXPECT_EQ(detail::ScoreAccess::PageHeightTw(*score), 15840);
    EXPECT_EQ(detail::ScoreAccess::MarginsTw(*score, marTop), 1440);
    EXPECT_EQ(detail::ScoreAccess::MarginsTw(*score, marBottom), 720);
    EXPECT_EQ(detail::ScoreAccess::MarginsTw(*score, marLeft), 1080);
    EXPECT_EQ(detail::ScoreAccess::MarginsTw(*score, marRight), 720);
    EXPECT_FLOAT_EQ(score->Margins(marLeft), 0.75f);
    EXPECT_EQ(detail::ScoreAccess::StaffHeightTw(*score), 576);
    EXPECT_EQ(detail::ScoreAccess::BeamLines(*score), 4);
    EXPECT_EQ(detail::ScoreAccess::BeamGap(*score), 105);
    EXPECT_EQ(detail::ScoreAccess::StaffSpaceTw(*score), 720);
    EXPECT_EQ(detail::ScoreAccess::SystemSpaceTw(*score), 936);
    EXPECT_EQ(detail::ScoreAccess::Ranges(*score).size(), 32u);
    EXPECT_NE(detail::ScoreAccess::Ranges(*score)[31], nullptr);
    EXPECT_NE(score->ChordMapper(), nullptr);
    EXPECT_FALSE(detail::ScoreAccess::EventTimer(*score).Enabled());
    EXPECT_TRUE(events->log.empty());
}

TEST_F(ScoreCreate, TheSevenFontsAndTheirDefaults) {
    NewScore();
    struct Expected {
        const char* name;
        float size;
        bool bold;
        bool italic;
    };
    const Expected expected[] = {{"Arial", 14, true, false}, {"Arial", 12, true, false},
                                 {"Arial", 10, true, false}, {"Arial", 10, true, false},
                                 {"Arial", 8, false, false}, {"Quavrix", 10, false, false},
                                 {"Verdana", 10, true, true}};
    for (int i = 0; i < 7; ++i) {
        auto font = score->Fonts(i);
        ASSERT_NE(font, nullptr) << i;
        EXPECT_EQ(font->Name(), expected[i].name) << i;
        EXPECT_FLOAT_EQ(font->Size(), expected[i].size) << i;
        EXPECT_EQ(font->Bold(), expected[i].bold) << i;
        EXPECT_EQ(font->Italic(), expected[i].italic) << i;
    }
    EXPECT_EQ(score->Fonts(7), nullptr);
    EXPECT_EQ(score->Fonts(-1), nullptr);
}

TEST_F(ScoreCreate, CreationReadsTheCatalogueAndResetsTheDefaultColours) {
    Process().gColorBars = 1;
    NewScore();
    EXPECT_EQ(Process().gColorBars, PackRGB(48, 48, 192));
    EXPECT_EQ(score->InsDesc(74), "Recorder");
    EXPECT_EQ(score->InsDesc(175), "");
    EXPECT_EQ(score->InsDesc(-1), "");
}

TEST_F(ScoreCreate, AMissingCatalogueIsNotAnError) {
    Headless().SetAppFolder("/nonexistent/corvendi");
    NewScore();
    EXPECT_EQ(score->InsDesc(74), "");
}

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
    EXPECT_EQ(score->SubTitle(), "");
    EXPECT_EQ(score->Composer(), "Composer");
    EXPECT_EQ(score->ArrangedBy(), "Arranged By");
    EXPECT_EQ(score->Copyright(0), "");
    EXPECT_EQ(score->Beat(), 16);
    EXPECT_EQ(score->Count(), 120);
    EXPECT_TRUE(score->Metronome());
    EXPECT_EQ(score->Voice(), 1);
    EXPECT_EQ(score->Verse(), 1);
    EXPECT_EQ(score->CurPage(), 1);
    EXPECT_EQ(score->LastPage(), 1);
    EXPECT_EQ(detail::ScoreAccess::PageRanges(*score).size(), 1u);
    EXPECT_EQ(detail::ScoreAccess::PageMetrics(*score).size(), 1u);
    EXPECT_FALSE(score->Changed());
    EXPECT_FALSE(detail::ScoreAccess::Loading(*score));
    EXPECT_TRUE(score->Redraw());
}

TEST_F(ScoreCreate, CreateDefaultTwiceLeavesOneStaffAndNoChange) {
    NewScore();
    score->CreateDefault();
    score->CreateDefault();
    EXPECT_EQ(score->Staffs(), 1);
    EXPECT_EQ(score->AllVoices()->Count(), 1);
    EXPECT_EQ(events->Count("ChangeNotify true"), 0u);
}

TEST_F(ScoreCreate, MarkingChangedWhileTheDocumentIsBuiltIsIgnored) {
    struct MarksOnActiveVoice : EventLog {
        Score* target = nullptr;
        void ActiveVoice(int32_t n) override {
            EventLog::ActiveVoice(n);
            target->SetChanged(true);
        }
    };
    NewScore();
    auto listener = std::make_shared<MarksOnActiveVoice>();
    listener->target = score.get();
    score->SetEvents(listener);
    score->CreateDefault();
    EXPECT_FALSE(score->Changed());
    EXPECT_EQ(listener->Count("ChangeNotify true"), 0u);
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

TEST_F(ScoreCreate, DestructionStopsItsOwnPaginationOnly) {
    NewScore();
    score->CreateDefault();
    Attach();
    detail::ScoreAccess::StartPagination(*score);
    ASSERT_TRUE(PaginationTimerRunning());
    score.reset();
    EXPECT_FALSE(PaginationTimerRunning());

    auto paginating = Score::Create();
    paginating->SetWindow(std::make_shared<RecordingSurface>());
    detail::ScoreAccess::StartPagination(*paginating);
    { auto other = Score::Create(); }
    EXPECT_TRUE(PaginationTimerRunning());
}

TEST_F(ScoreCreate, CreateDefaultEmptiesTheSelection) {
    NewScore();
    score->CreateDefault();
    detail::ScoreAccess::Selected(*score).push_back(score->AddNote(1, 0, 60, 16, 0));
    EXPECT_EQ(score->SelCount(), 1);
    score->CreateDefault();
    EXPECT_EQ(score->SelCount(), 0);
}

}  // namespace
}  // namespace corvendi::test
