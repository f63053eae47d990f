// Entering notes with the mouse: from a point of the drawn page to staff, measure, time and
// pitch, and what AddNoteByHit does with the notes already there.
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "engine/NoteEntryTestSupport.h"
#include "model/ProcessState.h"
#include "render/PageLayout.h"

namespace corvendi::test {
namespace {

using AddNoteByHit = NoteEntryTest;
using PitchFromY = NoteEntryTest;

TEST_F(AddNoteByHit, TheNoteLandsWhereTheClickWasAndOnlyItsSystemIsRepainted) {
    Open();
    const Region& r = R(1);
    const int32_t x = XAt(r, 1, 20);
    const int32_t y = YAt(r, 6);  // the second line: G4
    score->AddNoteByHit(x, y, durQuarter, 0);

    ExpectDocument([](Score& s) { s.AddNote(1, 64 + 20, 67, durQuarter, 0); });
    EXPECT_EQ(log->log, (std::vector<std::string>{"ActiveStaff 1", "ActiveMeasure 2",
                                                  "ChangeNotify true", "HistoryChanged true"}));
    EXPECT_TRUE(SystemErased());
    // Drawn again: within one tick (and a head) of the click, on the line clicked.
    const auto note = NoteOf(84);
    const int32_t s = r.IncY;
    EXPECT_LE(std::abs(note->X() - x), Tick(r, 1) + s);
    const float position = PageLayout::StaffPosition(67, clfTreble, 0);
    EXPECT_EQ(8 + 2 * position, 6);
    const int32_t glyphRef = r.Top + r.PadTop - detail::ScoreAccess::Layout(*score).GlyphDrop();
    EXPECT_EQ(note->Y(), glyphRef + static_cast<int32_t>(position * static_cast<float>(s)));

    EXPECT_EQ(detail::ScoreAccess::LastStaff(*score), 1);
    EXPECT_EQ(detail::ScoreAccess::LastVoice(*score), 1);
    EXPECT_EQ(detail::ScoreAccess::LastTime(*score), 84);
    EXPECT_EQ(detail::ScoreAccess::LastValue(*score), 67);
    EXPECT_EQ(detail::ScoreAccess::LastRegionIx(*score), 1);
    EXPECT_EQ(detail::ScoreAccess::HighNoteTime(*score), 84);
    EXPECT_EQ(score->SelectedMeasure(), 2);
}

TEST_F(AddNoteByHit, APointInsideANoteStartsAfterItAndAPointOnItAddsAChordTone) {
    Open([](Score& s) { s.AddNote(1, 0, 64, durQuarter, nteDot); });
    score->AddNoteByHit(XAt(R(1), 0, 5), YAt(R(1), 7), durEighth, 0);  // inside: after 24 ticks
    score->AddNoteByHit(XAt(R(1), 0, 0), YAt(R(1), 6), durEighth, 0);  // on its time
    ExpectDocument([](Score& s) {
        s.AddNote(1, 24, 65, durEighth, 0);
        s.AddNote(1, 0, 67, durEighth, 0);
    });
}

TEST_F(AddNoteByHit, TheMeasureEndIsTheLatestStartAndALongNoteReachesOver) {
    Open();
    const Region& r = R(1);
    const int32_t barline = r.Left + r.Measure(0)->Low();
    score->AddNoteByHit(barline, YAt(r, 8), durQuarter, 0);
    score->AddNoteByHit(XAt(r, 2, 49), YAt(r, 8), durHalf, 0, durQuarter);
    // Left of the notes (over the clef) is the measure's first tick.
    score->AddNoteByHit(r.Left + 1, YAt(r, 4), durEighth, 0);
    // The end of the system's last measure: the note starts the next system and is drawn there.
    const int32_t nextSystem = R(2).Measure(0)->High();
    score->AddNoteByHit(r.Right, YAt(r, 8), durQuarter, 0);
    EXPECT_GT(NoteOf(nextSystem)->X(), R(2).Left);
    ExpectDocument([&](Score& s) {
        s.AddNote(1, 64, 64, durQuarter, 0);
        s.AddNote(1, 128 + 48, 64, durHalf, 0);
        s.AddNote(1, 0, 71, durEighth, 0);
        s.AddNote(1, nextSystem, 64, durQuarter, 0);
    });
}

TEST_F(AddNoteByHit, OnlyTheFirstOverlappedNoteIsRemoved) {
    const auto twoSixteenths = [](Score& s) {
        s.AddNote(1, 20, 62, durSixteenth, 0);
        s.AddNote(1, 24, 62, durSixteenth, 0);
    };
    Open(twoSixteenths);
    score->AddNoteByHit(XAt(R(1), 0, 17), YAt(R(1), 8), durHalf, 0, durQuarter);
    ExpectDocument([](Score& s) {
        NotesOf(s)->Remove(20);
        s.AddNote(1, 16, 64, durHalf, 0);
    });
}

TEST_F(AddNoteByHit, ADrumVoiceEntersTheDrumSoundAnywhereOnTheStaff) {
    const auto drums = [](Score& s) {
        auto instruments = s.AllInstruments();
        auto kit = instruments->Add(instruments->NewID(), 130);
        s.Staff(1)->Clear();
        s.Staff(1)->AddVoice(kit);
        s.SetDrumIX(3);
    };
    Open(drums);
    const int32_t sound = score->Staff(1)->Voice(1)->Instrument()->DrumValue(3);
    score->AddNoteByHit(XAt(R(1), 0, 0), YAt(R(1), -1), durQuarter, 0, durQuarter);
    score->AddNoteByHit(XAt(R(1), 0, 16), YAt(R(1), 9), durQuarter, 0, durQuarter);
    ExpectDocument([&](Score& s) {
        s.AddNote(s.Staff(1)->Voice(1)->Track(), 0, static_cast<uint8_t>(sound), 16, 0);
        s.AddNote(s.Staff(1)->Voice(1)->Track(), 16, static_cast<uint8_t>(sound), 16, 0);
    });
}

TEST_F(AddNoteByHit, AVoiceTheStaffLacksEntersIntoItsLastVoiceAndMarksMultiVoice) {
    Open();
    score->SetVoice(3);
    score->AddNoteByHit(XAt(R(1), 0, 0), YAt(R(1), 8), durQuarter, 0);
    EXPECT_EQ(detail::ScoreAccess::LastVoice(*score), 1);
    EXPECT_NE(detail::ScoreAccess::DrawFlags(*score) & kDrawMultiVoice, 0);
    ExpectDocument([](Score& s) { s.AddNote(1, 0, 64, durQuarter, 0); });
}

// Lines and spaces of each clef map to the pitch the drawing puts there.
TEST_F(PitchFromY, MiddleCAndTheOuterLinesOfEachClef) {
    struct Case {
        int32_t clef;
        std::vector<std::pair<int32_t, int32_t>> stepValues;
    };
    const std::vector<Case> cases = {
        {clfTreble, {{10, 60}, {0, 77}, {8, 64}, {-2, 81}, {-1, 79}}},
        {clfBass, {{-2, 60}, {0, 57}, {8, 43}, {10, 40}}},
        {clfAlto, {{4, 60}, {0, 67}, {8, 53}}},
        {clfTenor, {{2, 60}, {0, 64}, {8, 50}}},
        {clfPercussion, {{10, 60}, {0, 77}}},
        // The grand staff: upper middle C, the split in the gap, lower middle C and lines.
        {clfGrand, {{10, 60}, {12, 57}, {13, 62}, {14, 60}, {16, 57}, {24, 43}}},
    };
    for (const auto& c : cases) {
        Open([&](Score& s) { s.Staff(1)->SetDefaultClef(c.clef); });
        for (const auto& [step, value] : c.stepValues) {
            EXPECT_EQ(score->GetNoteValueByHit(XAt(R(1), 0, 8), YAt(R(1), step)), value)
                << "clef " << c.clef << " step " << step;
            // A point a little off the line snaps to it.
            EXPECT_EQ(score->GetNoteValueByHit(XAt(R(1), 0, 8), YAt(R(1), step) + 20), value);
        }
    }
}

TEST_F(PitchFromY, TheKeyAltersItsLettersAcrossTheSemitoneSteps) {
    // Treble steps: 8 E4, 7 F4, 4 B4, 3 C5.
    const std::vector<std::pair<int32_t, std::vector<int32_t>>> keys = {
        {0, {64, 65, 71, 72}}, {3, {64, 66, 71, 73}}, {-4, {63, 65, 70, 72}}};
    for (const auto& [key, values] : keys) {
        Open([&](Score& s) { s.SetKey(key); });
        std::vector<int32_t> found;
        for (int32_t step : {8, 7, 4, 3}) {
            found.push_back(score->GetNoteValueByHit(XAt(R(1), 0, 8), YAt(R(1), step)));
        }
        EXPECT_EQ(found, values) << "key " << key;
    }
}

}  // namespace
}  // namespace corvendi::test
