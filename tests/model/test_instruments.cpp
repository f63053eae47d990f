#include <gtest/gtest.h>

#include "InstrumentTestSupport.h"
#include "corvendi/Enums.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "model/ModelAccess.h"

namespace corvendi {
namespace {

using test::LoadShippedCatalog;
using test::TestOwner;

// Catalogue entries used below (General MIDI programs and drum sounds).
constexpr int32_t kPiano = 0;
constexpr int32_t kGuitar = 24;
constexpr int32_t kViolin = 40;
constexpr int32_t kTrumpet = 56;
constexpr int32_t kFlute = 73;
constexpr int32_t kAcousticBassDrum = 128;
constexpr int32_t kAcousticSnare = 131;

TEST(Instrument, DrumCategoryMovesToChannelNineClearsTheMapAndFreesTheOffset) {
    Instrument instrument;
    detail::InstrumentAccess::ChannelSet(instrument, 3);
    instrument.SetDrumCode(1, 130);
    instrument.SetDrumValue(8, 38);
    detail::InstrumentAccess::CategorySet(instrument, catDrums);
    EXPECT_EQ(instrument.Channel(), 9);
    EXPECT_EQ(instrument.DrumCode(1), 0);
    EXPECT_EQ(instrument.DrumValue(8), 0);
    detail::InstrumentAccess::OffsetSet(instrument, 300);
    EXPECT_EQ(instrument.Offset(), 300);
    detail::InstrumentAccess::OffsetSet(instrument, 70000);  // does not fit the field
    EXPECT_EQ(instrument.Offset(), 300);

    // Other categories leave channel and map alone.
    instrument.SetDrumCode(2, 5);
    detail::InstrumentAccess::CategorySet(instrument, catBrass);
    EXPECT_EQ(instrument.Channel(), 9);
    EXPECT_EQ(instrument.DrumCode(2), 5);

    // The map has eight slots.
    instrument.SetDrumCode(8, 108);
    instrument.SetDrumCode(9, 5);
    instrument.SetDrumCode(0, 5);
    EXPECT_EQ(instrument.DrumCode(0), 0);
    EXPECT_EQ(instrument.DrumCode(9), 0);
    EXPECT_EQ(instrument.DrumCode(8), 108);
}

class InstrumentsTest : public ::testing::Test {
  protected:
    void SetUp() override { LoadShippedCatalog(); }
    void TearDown() override { ResetInstrumentCatalog(); }

    Instruments& instruments() { return *owner.AllInstruments(); }

    TestOwner owner;
};

TEST_F(InstrumentsTest, AddRefusesUnknownEntriesAndASeventeenthInstrument) {
    EXPECT_EQ(instruments().Add("A", -1), nullptr);
    EXPECT_EQ(instruments().Add("A", 175), nullptr);
    EXPECT_EQ(instruments().Count(), 0);
    for (int32_t i = 0; i < 16; ++i)
        ASSERT_NE(instruments().Add("I" + std::to_string(i), i), nullptr);
    EXPECT_EQ(instruments().Add("I16", 16), nullptr);
    EXPECT_EQ(instruments().Count(), 16);
    // An existing one is still found in a full collection.
    EXPECT_EQ(instruments().Add("other", 3), instruments().Item(4));
}

TEST_F(InstrumentsTest, ChannelsSkipNineWhichTheDrumsTake) {
    EXPECT_EQ(instruments().Add("M1", kPiano)->Channel(), 0);
    EXPECT_EQ(instruments().Add("M2", kViolin)->Channel(), 1);
    EXPECT_EQ(instruments().Add("D", kAcousticBassDrum)->Channel(), 9);
    for (int32_t i = 3; i <= 9; ++i)
        EXPECT_EQ(instruments().Add("M" + std::to_string(i), kTrumpet + i)->Channel(), i - 1);
    auto eleventh = instruments().Add("M10", kFlute);
    EXPECT_EQ(instruments().Count(), 11);
    EXPECT_EQ(eleventh->Channel(), 10);
    EXPECT_EQ(instruments().Item("D")->Channel(), 9);
    EXPECT_EQ(instruments().Item("M9")->Channel(), 8);
}

TEST_F(InstrumentsTest, InstrumentsPlayingTheSameProgramShareAChannel) {
    auto a = instruments().Add("A", kPiano);
    auto b = instruments().Add("B", kViolin);
    detail::InstrumentAccess::ValueSet(*b, kPiano);  // as a MIDI program change does
    auto c = instruments().Add("C", kFlute);
    EXPECT_EQ(a->Channel(), 0);
    EXPECT_EQ(b->Channel(), 0);
    EXPECT_EQ(c->Channel(), 1);
}

TEST_F(InstrumentsTest, DrumSoundEntriesMakeDrumKitsApartFromMelodicPrograms) {
    auto kick = instruments().Add("D1", kAcousticBassDrum);
    ASSERT_NE(kick, nullptr);
    EXPECT_EQ(kick->Value(), 0);
    EXPECT_EQ(kick->Category(), catDrums);
    EXPECT_EQ(kick->DrumCode(1), kAcousticBassDrum);
    EXPECT_EQ(kick->DrumValue(1), 35);
    EXPECT_EQ(kick->DrumCode(2), 0);

    // Program 0 as a melodic sound is a piano, not the kit.
    auto piano = instruments().Add("P", kPiano);
    ASSERT_NE(piano, kick);
    EXPECT_EQ(piano->Channel(), 0);
    EXPECT_EQ(kick->Channel(), 9);

    auto snare = instruments().Add("D2", kAcousticSnare);
    ASSERT_NE(snare, kick);
    EXPECT_EQ(snare->Channel(), 9);
    EXPECT_EQ(snare->DrumValue(1), 38);
    EXPECT_EQ(instruments().Count(), 3);
}

TEST_F(InstrumentsTest, RemoveRenumbersChannelsByPosition) {
    instruments().Add("A", kPiano);
    auto drums = instruments().Add("B", kAcousticBassDrum);
    auto guitar = instruments().Add("C", kGuitar);
    ASSERT_EQ(guitar->Channel(), 1);
    auto removed = instruments().Item(1);
    instruments().Remove(1);
    EXPECT_EQ(instruments().Count(), 2);
    EXPECT_EQ(detail::InstrumentAccess::Parent(*removed), nullptr);
    EXPECT_EQ(drums->Channel(), 0);
    EXPECT_EQ(guitar->Channel(), 1);

    instruments().Remove("B");
    EXPECT_EQ(instruments().Item(1), guitar);
    EXPECT_EQ(guitar->Channel(), 0);

    instruments().Remove(5);
    instruments().Remove("nothing");
    instruments().Remove(0);
    EXPECT_EQ(instruments().Count(), 1);
    instruments().Clear();
    EXPECT_EQ(detail::InstrumentAccess::Parent(*guitar), nullptr);
}

}  // namespace
}  // namespace corvendi
