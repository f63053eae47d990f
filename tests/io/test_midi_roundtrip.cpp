// Exporting a score as MIDI and importing it again: what the file carries comes back, and what
// it cannot carry is lost in the ways pinned here.
#include <tuple>

#include "corvendi/Enums.h"
#include "corvendi/Font.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Staffs.h"
#include "corvendi/ToJson.h"
#include "io/MidiFiles.h"
#include "io/MidiTestSupport.h"
#include "model/ModelAccess.h"

namespace corvendi::test {
namespace {

class MidiRoundTrip : public MidiTest {
  protected:
    // Exports the score, then imports the file into the same score.
    void ExportAndImport() {
        ASSERT_TRUE(score->SaveFile(PathOf("trip.mid"), fmtMIDI));
        ASSERT_TRUE(score->OpenFile(PathOf("trip.mid")));
    }

    std::shared_ptr<Voice> AddStaffWithVoice(const std::string& description, int32_t entry) {
        const auto staffs = score->AllStaffs();
        const auto instruments = score->AllInstruments();
        auto staff =
            detail::StaffsAccess::Add(*staffs, staffs->NewID(), description, std::nullopt, true);
        return staff->AddVoice(instruments->Add(instruments->NewID(), entry));
    }
};

TEST_F(MidiRoundTrip, WhatTheFileCarriesComesBack) {
    score->SetTitle("Sonata");
    score->SetSubTitle("Op. 1");
    score->SetComposer("Someone");
    score->SetCopyright(0, "(c) 2024");
    score->SetHeading("Allegro");
    score->Fonts(fntTitle)->SetName("Times");
    score->Fonts(fntTitle)->SetSize(16.5f);
    score->Fonts(fntTitle)->SetBold(false);
    score->SetStaffHeight(0.45f);
    score->SetStaffSpace(0.55f);
    score->SetSystemSpace(0.7f);
    score->SetCount(100);
    const auto globals = score->AllGlobals();
    globals->Remove(0, evtTimeChange);
    globals->Add(0, evtTimeChange, 3, 16);
    globals->Add(96, evtTimeChange, 6, 8);

    const auto first = score->Staff(1)->Voice(1);
    first->Notes()->Add(0, 60, durQuarter, 0);
    first->Notes()->Add(16, 62, durEighth, nteDot);
    first->Notes()->Add(28, 64, durSixteenth, 0);
    first->Notes()->Add(48, 65, durHalf, nteDot);
    first->Notes()->Add(96, 67, durEighth, 0)->AddValue(71);
    first->Notes()->Add(104, 69, durSixteenth, 0);
    first->Notes()->Add(108, 70, durThirtySecond, 0);
    first->Notes()->Add(110, 72, durSixtyFourth, 0);
    const auto second = AddStaffWithVoice("Bass", 32);
    second->Notes()->Add(0, 36, durHalf, nteDot);
    second->Notes()->Add(96, 43, durQuarter, nteDot);
    const std::vector<NoteRow> melody = NoteRows(*first);
    const std::vector<NoteRow> bass = NoteRows(*second);
    auto carried = [](const Score& s) {
        const auto font = s.Fonts(fntTitle);
        return std::tuple(s.Title(), s.SubTitle(), s.Composer(), s.Copyright(0), s.Heading(),
                          font->Name(), font->Size(), font->Bold(), s.StaffHeight(), s.StaffSpace(),
                          s.SystemSpace(), s.Count());
    };
    const auto before = carried(*score);

    ExportAndImport();

    EXPECT_EQ(carried(*score), before);
    EXPECT_EQ(score->Title(), "Sonata");
    const auto signatures = score->AllGlobals();
    ASSERT_EQ(signatures->TimeItemCount(), 2);
    EXPECT_EQ(signatures->CurTimeVal(0), 3 * 128 + 16);
    EXPECT_EQ(signatures->CurTimeVal(96), 6 * 128 + 8);
    EXPECT_EQ(signatures->TimeItem(2)->EventTime(), 96);

    ASSERT_EQ(score->Staffs(), 2);
    EXPECT_EQ(NotesOfStaff(1), melody);
    EXPECT_EQ(NotesOfStaff(2), bass);
}

TEST_F(MidiRoundTrip, AnImportedBandComesBackFromItsExport) {
    // Programs, channels, drum keys, clefs, common time and titles: the whole document.
    Headless().SetFixedTime(TimeOfDay{9, 0, 0});
    ASSERT_TRUE(Open(BandFile(), "band.mid"));
    score->AllGlobals()->TimeItem(1)->SetValue1(0);  // shown as common time
    score->AllGlobals()->TimeItem(1)->SetValue2(0);
    score->SetSubTitle("");
    score->SetComposer("Someone");
    const std::string imported = ToJson(*score);
    ASSERT_TRUE(score->SaveFile(PathOf("band.mid"), fmtMIDI));
    ASSERT_TRUE(score->OpenFile(PathOf("band.mid")));
    EXPECT_EQ(ToJson(*score), imported);
}

TEST_F(MidiRoundTrip, PinnedLosses) {
    score->SetTitle("T");
    score->SetSubTitle("");
    score->SetComposer("C");
    score->SetArrangedBy("Arranger");
    score->Staff(1)->SetDescription("Melody");
    detail::InstrumentAccess::DescriptionSet(*score->Staff(1)->Voice(1)->Instrument(), "Flute");
    const auto notes = score->Staff(1)->Voice(1)->Notes();
    notes->Add(0, 60, durQuarter, nteTriplet);
    notes->Add(16, 62, durQuarter, nteStacato);
    notes->Add(32, 64, durWhole, 0);

    ExportAndImport();

    // Common time, the titles (an empty subtitle among them) and both names come back.
    const auto globals = score->AllGlobals();
    ASSERT_EQ(globals->TimeItemCount(), 1);
    EXPECT_EQ(globals->CurTimeVal(0), 0);
    EXPECT_EQ(score->Title(), "T");
    EXPECT_EQ(score->SubTitle(), "");
    EXPECT_EQ(score->Composer(), "C");
    EXPECT_EQ(score->ArrangedBy(), "Arranger");
    EXPECT_EQ(score->Staff(1)->Description(), "Melody");
    EXPECT_EQ(score->Staff(1)->Voice(1)->Instrument()->Description(), "Flute");

    // What is lost: triplet and staccato notes come back as the note values of their sounding
    // lengths.
    EXPECT_EQ(NotesOfStaff(1), (std::vector<NoteRow>{
                                   {0, {60}, 8, nteTriplet}, {16, {62}, 8, 0}, {32, {64}, 64, 0}}));
}

}  // namespace
}  // namespace corvendi::test
