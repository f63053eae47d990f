#include "InstrumentTestSupport.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Notes.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace corvendi {
namespace {

// Catalogue entries the tests use (a line numbered n fills entry n - 1).
constexpr int32_t kRecorder = 74;
constexpr int32_t kClarinetInA = 10;  // written three key steps above its sound
constexpr int32_t kCello = 42;
constexpr const char* kCatalogue =
    "2,75,\"Recorder\",1,72,98,0,0\n"
    "3,11,\"Clarinet\",1,50,94,3,3\n"
    "5,43,\"Cello\",2,36,76,0,0\n";

class StaffsTest : public ::testing::Test {
  protected:
    void SetUp() override { ReadInstrumentCatalogText(kCatalogue); }
    void TearDown() override { ResetProcessState(); }

    // A staff of `owner` with one voice per instrument.
    std::shared_ptr<Staff> StaffWith(const std::vector<int32_t>& entries,
                                     const std::string& id = "S1") {
        auto staff = detail::StaffsAccess::Add(*owner.staffs, id, "", std::nullopt, true);
        for (int32_t entry : entries) staff->AddVoice(owner.AddInstrument(entry));
        return staff;
    }

    static void AddNote(const std::shared_ptr<Staff>& staff, int32_t voice, int32_t atTime,
                        int32_t duration) {
        staff->Voice(voice)->Notes()->Add(atTime, 60, duration, 0);
    }

    test::FixedClock clock{TimeOfDay{9, 5, 7}};
    test::TestOwner owner;
};

TEST_F(StaffsTest, VoicesAreAddedUpToFourAndLookedUpByPosition) {
    auto staff = detail::StaffsAccess::Add(*owner.staffs, "S1", "", std::nullopt, true);
    EXPECT_EQ(staff->Voices(), 0);
    EXPECT_EQ(staff->GroupType(), 0);
    EXPECT_EQ(staff->AddVoice(nullptr), nullptr);

    auto cello = owner.AddInstrument(kCello);
    auto first = staff->AddVoice(cello);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->Description(), "New Voice");
    EXPECT_EQ(staff->DefaultClef(), clfBass);
    EXPECT_EQ(staff->GroupType(), kCello);
    EXPECT_EQ(staff->GroupID(), grpString);

    // Later voices leave the clef alone.
    for (int i = 0; i < 3; ++i) ASSERT_NE(staff->AddVoice(owner.AddInstrument(kRecorder)), nullptr);
    EXPECT_EQ(staff->DefaultClef(), clfBass);
    EXPECT_EQ(staff->Voices(), 4);
    EXPECT_EQ(staff->AddVoice(cello), nullptr);
    EXPECT_EQ(staff->Voices(), 4);
    EXPECT_EQ(owner.voices->Count(), 4);

    EXPECT_EQ(staff->Voice(1), first);
    EXPECT_EQ(staff->Voice(5), nullptr);
    EXPECT_TRUE(staff->ValidVoice(first->ID()));

    staff->Clear();
    EXPECT_EQ(staff->Voice(1), nullptr);
    EXPECT_FALSE(staff->ValidVoice(first->ID()));
    EXPECT_EQ(owner.voices->Count(), 4);
}

TEST_F(StaffsTest, CurKeyTakesStaffOrScoreKeyPlusTranspositionWrapped) {
    auto concert = StaffWith({kRecorder}, "S1");
    concert->GlobalEvents()->Add(0, evtKeyChange, 254);
    EXPECT_EQ(concert->CurKey(10), -2);

    owner.key = 6;
    auto clarinet = StaffWith({kClarinetInA}, "S2");
    EXPECT_EQ(clarinet->CurKey(0), 1);  // 6 + 3 = 9, wrapped by 8
    owner.key = -6;
    clarinet->GlobalEvents()->Add(64, evtKeyChange, 3);
    EXPECT_EQ(clarinet->CurKey(63), -3);
    EXPECT_EQ(clarinet->CurKey(64), 6);

    // Without a voice there is no transposition.
    auto empty = StaffWith({}, "S3");
    EXPECT_EQ(empty->CurKey(0), -6);
}

TEST_F(StaffsTest, CurClefAndNextChangeWalkTheStaffEvents) {
    auto staff = StaffWith({kRecorder});
    EXPECT_EQ(staff->CurClef(0), clfTreble);
    EXPECT_EQ(staff->NextChange(1000), -1);

    auto events = staff->GlobalEvents();
    events->Add(64, evtClefChange, clfBass);
    events->Add(80, evtKeyChange, 1);
    events->Add(100, evtClefChange, clfAlto);
    events->Add(300, evtClefChange, clfTreble);

    EXPECT_EQ(staff->CurClef(70), clfBass);
    EXPECT_EQ(staff->NextChange(64), 100);   // passes the key change at 80
    EXPECT_EQ(staff->NextChange(64), -1);    // 300 lies beyond 100 + 64
    EXPECT_EQ(staff->NextChange(1000), -1);  // the walk is at the end

    // No clef in force: the walk starts from the first event of the list.
    EXPECT_EQ(staff->CurClef(10), clfTreble);
    EXPECT_EQ(staff->NextChange(10), -1);  // the key change at 80 is beyond 64 + 10
    EXPECT_EQ(staff->CurClef(10), clfTreble);
    EXPECT_EQ(staff->NextChange(40), 100);
}

TEST_F(StaffsTest, ForceFlagLooksAtTheVoicesOfTheOtherParity) {
    auto solo = StaffWith({kRecorder}, "S1");
    AddNote(solo, 1, 0, 16);
    EXPECT_EQ(solo->ForceFlag(0, 15, 1), 0);

    auto shared = StaffWith({kRecorder, kRecorder}, "S2");
    AddNote(shared, 2, 8, 8);
    EXPECT_EQ(shared->ForceFlag(0, 15, 1), stmForceUp);
    EXPECT_EQ(shared->ForceFlag(0, 7, 1), 0);   // voice 2 starts after the span
    EXPECT_EQ(shared->ForceFlag(9, 15, 1), 0);  // and before it
    EXPECT_EQ(shared->ForceFlag(0, 15, 2), 0);  // voice 1 is silent
    AddNote(shared, 1, 0, 16);
    EXPECT_EQ(shared->ForceFlag(0, 15, 2), stmForceDown);
}

TEST_F(StaffsTest, ItemCountCountsNoteStartsAndFreeTicksBeforeThem) {
    auto staffs = owner.staffs;
    EXPECT_EQ(staffs->ItemCount(0, 64), 4);

    auto first = StaffWith({kRecorder, kRecorder}, "S1");
    auto second = StaffWith({kRecorder}, "S2");
    // Voice 1 and voice 2 of the first staff overlap; the measure is 64..127.
    for (auto [time, duration] : {std::pair{0, 16}, {16, 16}, {32, 8}, {56, 8}})
        AddNote(first, 1, 64 + time, duration);
    AddNote(first, 2, 64 + 4, 32);
    AddNote(first, 2, 64 + 40, 8);
    AddNote(second, 1, 64 + 50, 4);
    // Outside the measure.
    AddNote(second, 1, 0, 64);
    AddNote(second, 1, 128, 16);

    // Seven note starts; free ticks precede (in time) the starts at 50 and 56.
    EXPECT_EQ(staffs->ItemCount(64, 64), 8);

    // Only the first 96 ticks of an overlong measure are counted; nothing breaks.
    EXPECT_EQ(staffs->ItemCount(64, 500), staffs->ItemCount(64, 96));
    EXPECT_EQ(staffs->ItemCount(64, -5), 4);
}

TEST_F(StaffsTest, AddPlacesStaffsAndChoosesTheirInstrument) {
    auto staffs = owner.staffs;
    auto a = detail::StaffsAccess::Add(*staffs, "A", "first");
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(detail::StaffAccess::Parent(*a), &owner);
    auto recorder = a->Voice(1)->Instrument();
    ASSERT_NE(recorder, nullptr);
    EXPECT_EQ(recorder->Value(), kRecorder);

    auto b = detail::StaffsAccess::Add(*staffs, "B", "", std::nullopt, true);
    EXPECT_EQ(b->Voices(), 0);
    b->AddVoice(owner.AddInstrument(kCello));

    // A new staff plays what the staff before it plays, or staff 1 at the front.
    auto c = detail::StaffsAccess::Add(*staffs, "C", "", 3);
    EXPECT_EQ(c->Voice(1)->Instrument()->Value(), kCello);
    EXPECT_EQ(c->DefaultClef(), clfBass);
    auto d = detail::StaffsAccess::Add(*staffs, "D", "", 1);
    EXPECT_EQ(d->Voice(1)->Instrument(), recorder);
    detail::StaffsAccess::Add(*staffs, "E", "", 99);
    detail::StaffsAccess::Add(*staffs, "F", "", -5);
    EXPECT_EQ(owner.instruments->Count(), 2);

    std::vector<std::string> order;
    for (const auto& staff : *staffs) order.push_back(staff->ID());
    EXPECT_EQ(order, (std::vector<std::string>{"F", "D", "A", "B", "C", "E"}));
    for (int32_t i = 1; i <= staffs->Count(); ++i) EXPECT_EQ(staffs->Item(i)->Index(), i);

    EXPECT_EQ(detail::StaffsAccess::Add(*staffs, "A", "again"), nullptr);
    EXPECT_EQ(staffs->Count(), 6);
    EXPECT_EQ(staffs->Item("A"), a);
}

}  // namespace
}  // namespace corvendi
