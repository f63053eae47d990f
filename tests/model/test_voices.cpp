#include <gtest/gtest.h>

#include "InstrumentTestSupport.h"
#include "corvendi/Instrument.h"
#include "corvendi/Notes.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "model/ModelAccess.h"

namespace corvendi {
namespace {

using test::LoadShippedCatalog;
using test::TestOwner;

class VoicesTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadShippedCatalog(); }
    void TearDown() override { ResetInstrumentCatalog(); }

    Voices& voices() { return *owner.AllVoices(); }
    std::shared_ptr<Instrument> AddInstrument(const std::string& id, int32_t entry) {
        return owner.AllInstruments()->Add(id, entry);
    }

    TestOwner owner;
};

TEST_F(VoicesTest, AddNumbersTheVoiceAndLinksItsInstrumentOnceAnId) {
    auto flute = AddInstrument("I1", 73);
    auto first = voices().Add("V1", flute, "Melody");
    auto second = voices().Add("V2", nullptr, "Empty");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ID(), "V1");
    EXPECT_EQ(first->Track(), 1);
    EXPECT_EQ(second->Track(), 2);
    EXPECT_EQ(first->Description(), "Melody");
    EXPECT_EQ(detail::VoiceAccess::Parent(*first), &owner);
    EXPECT_EQ(first->InstrumentID(), "I1");
    EXPECT_EQ(first->Instrument(), flute);
    EXPECT_EQ(second->Instrument(), nullptr);
    ASSERT_NE(first->Notes(), nullptr);
    EXPECT_EQ(detail::NotesAccess::Parent(*first->Notes()), first.get());
    // An existing id returns that voice unchanged.
    EXPECT_EQ(voices().Add("V1", nullptr, "Other"), first);
    EXPECT_EQ(voices().Count(), 2);
    EXPECT_EQ(first->Description(), "Melody");
}

class VoiceReadingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (int32_t t : {0, 16, 32})
            voice.Notes()->Add(t, static_cast<uint8_t>(60 + t / 16), 16, 0);
    }
    Voice voice;
};

TEST_F(VoiceReadingTest, GetNextWalksFromTheStartTimeToTheEnd) {
    voice.GetInit(10);
    EXPECT_TRUE(detail::VoiceAccess::ProgramPending(voice));
    EXPECT_EQ(detail::VoiceAccess::GetNextTime(voice), 16);
    auto note = voice.GetNext();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->NoteTime(), 16);
    EXPECT_EQ(detail::VoiceAccess::GetNextTime(voice), 32);
    note = voice.GetNext();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->NoteTime(), 32);
    EXPECT_EQ(detail::VoiceAccess::GetNextTime(voice), -1);
    EXPECT_EQ(voice.GetNext(), nullptr);
    EXPECT_EQ(voice.GetNext(), nullptr);

    detail::VoiceAccess::SetProgramPending(voice, false);
    voice.GetInit(0);
    EXPECT_TRUE(detail::VoiceAccess::ProgramPending(voice));
    EXPECT_EQ(voice.GetNext()->NoteTime(), 0);

    voice.GetInit(33);  // past the last note
    EXPECT_EQ(detail::VoiceAccess::GetNextTime(voice), -1);
    EXPECT_EQ(voice.GetNext(), nullptr);
}

}  // namespace
}  // namespace corvendi
