// The drawing of notes, rests, signatures and beams on the recording surface. Glyph positions
// are recorded in pixels of 15 twips; the staff geometry is read back from the drawn staff lines.
#include <algorithm>
#include <string>
#include <vector>

#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutTestSupport.h"
#include "render/PageLayout.h"
#include "render/StaffPosition.h"

namespace corvendi::test {
namespace {

const std::string kFlat = "b";
const std::string kSharp = "#";
const std::string kBlackHead = "\xC3\x8F";
const std::string kPercussionHead = "\xC3\x80";
const std::string kQuarterRest = "\xC3\x8E";
const std::string kHalfRest = "\xC3\xAE";
const std::string kWholeRest = "\xC2\xB7";

class NotesDrawing : public StaffDrawingTest {
  protected:
    std::vector<DrawnText> All(const RecordingSurface& surface, const std::string& text) {
        return TextsNear(surface, text, 7, 4);
    }
    // Near the first staff of the page (its first system).
    bool OnFirstStaff(double y) const { return y > top - 7 * s && y < top + 4 * s; }
    // Lines drawn in the active voice's colour that are longer than a ledger line.
    std::vector<DrawnLine> BeamLines(const RecordingSurface& surface) {
        std::vector<DrawnLine> beams;
        for (const auto& line : LinesOf(surface)) {
            if (line.Color == detail::ScoreAccess::DrawColors(*score).Notes &&
                line.X2 - line.X1 > s + 130 && OnFirstStaff(line.Y1)) {
                beams.push_back(line);
            }
        }
        return beams;
    }
    std::shared_ptr<Note> NoteAt(int32_t time, int32_t voice = 1) {
        return score->Staff(1)->Voice(voice)->Notes()->Item(time);
    }
};

TEST(StaffPositionTest, AccidentalsRememberedForTheMeasure) {
    MeasureAccidentals list;
    std::string_view sign;
    PageLayout::StaffPosition(68, clfTreble, -3, &list, &sign);  // A-flat: in the key
    EXPECT_EQ(sign, "");
    PageLayout::StaffPosition(69, clfTreble, -3, &list, &sign);  // A-natural
    EXPECT_EQ(sign, "n");
    PageLayout::StaffPosition(69, clfTreble, -3, &list, &sign);  // again: remembered
    EXPECT_EQ(sign, "");
    PageLayout::StaffPosition(81, clfTreble, -3, &list, &sign);  // A5 is another octave
    EXPECT_EQ(sign, "n");
    PageLayout::StaffPosition(68, clfTreble, -3, &list, &sign);  // back to the key's flat
    EXPECT_EQ(sign, "b");
    list.Clear();  // next measure
    PageLayout::StaffPosition(68, clfTreble, -3, &list, &sign);
    EXPECT_EQ(sign, "");
    PageLayout::StaffPosition(66, clfTreble, 0, &list, &sign);  // F#4 in C
    EXPECT_EQ(sign, "#");
}

TEST_F(NotesDrawing, ThreeFlatsAndFourSharpsStandAtTheirHeights) {
    auto surface = Draw([&] { score->SetKey(-3); });
    auto flats = All(*surface, kFlat);
    ASSERT_EQ(flats.size(), 3u);
    const int32_t x0 = detail::ScoreAccess::MarginsTw(*score, marLeft) +
                       detail::ScoreAccess::StaffHeightTw(*score) + s;
    const std::vector<int32_t> flatHeights = {2 * s, NInt(3.5 * s), NInt(1.5 * s)};
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(flats[i].Y, IDiv(g - flatHeights[i], kPx)) << i;
        EXPECT_EQ(flats[i].X, IDiv(x0 + static_cast<int32_t>(i) * s, kPx)) << i;
    }

    surface = Draw([&] { score->SetKey(4); });
    auto sharps = All(*surface, kSharp);
    ASSERT_EQ(sharps.size(), 4u);
    const std::vector<int32_t> sharpHeights = {4 * s, 4 * s - NInt(1.5 * s), 4 * s + IDiv(s, 2),
                                               4 * s + IDiv(s, 2) - NInt(1.5 * s)};
    for (size_t i = 0; i < 4; ++i) EXPECT_EQ(sharps[i].Y, IDiv(g - sharpHeights[i], kPx)) << i;
}

TEST_F(NotesDrawing, RestsFillTheMeasureBeatByBeatQuarterThenHalfAndEmptyMeasuresGetAWholeRest) {
    auto surface = Draw([&] { score->AddNote(1, 0, 67, 16, 0); });
    const auto heads = All(*surface, kBlackHead);
    const auto quarters = All(*surface, kQuarterRest);
    const auto halves = All(*surface, kHalfRest);
    ASSERT_EQ(heads.size(), 1u);
    ASSERT_EQ(quarters.size(), 1u);
    ASSERT_EQ(halves.size(), 1u);
    const auto* head = &heads[0];
    const auto* quarter = &quarters[0];
    const auto* half = &halves[0];
    // A quarter rest on beat 2, a half rest on beat 3, spaced in proportion to time.
    EXPECT_LT(head->X, quarter->X);
    EXPECT_NEAR(half->X - quarter->X, quarter->X - head->X, 2);
    EXPECT_EQ(quarter->Y, IDiv(g, kPx));
    // Later measures of the system are empty: one whole rest each.
    EXPECT_EQ(All(*surface, kWholeRest).size(),
              static_cast<size_t>(detail::ScoreAccess::Regions(*score).front()->Measures() - 1));
}

TEST_F(NotesDrawing, APercussionStaffPlacesDrumKeysAsDrumNotationDoes) {
    auto surface = Draw([&] {
        score->Staff(1)->SetDefaultClef(clfPercussion);
        score->AddNote(1, 0, 36, 16, 0);   // bass drum: bottom space
        score->AddNote(1, 16, 38, 16, 0);  // snare: third space
        score->AddNote(1, 32, 42, 16, 0);  // closed hi-hat: above the staff, a cross
        score->AddNote(1, 48, 99, 16, 0);  // no kit piece: the middle line
    });
    auto y = [&](double spaces) { return NInt(g - spaces * s); };
    EXPECT_EQ(NoteAt(0)->Y(), y(0.5));
    EXPECT_EQ(NoteAt(16)->Y(), y(2.5));
    EXPECT_EQ(NoteAt(32)->Y(), y(4.5));
    EXPECT_EQ(NoteAt(48)->Y(), y(2));
    const auto heads = All(*surface, kBlackHead);
    ASSERT_EQ(heads.size(), 3u);
    EXPECT_EQ(heads[0].Y, IDiv(y(0.5), kPx));
    EXPECT_EQ(heads[1].Y, IDiv(y(2.5), kPx));
    const auto crosses = All(*surface, kPercussionHead);
    ASSERT_EQ(crosses.size(), 1u);
    EXPECT_EQ(crosses[0].X, IDiv(NoteAt(32)->X(), kPx));
    EXPECT_EQ(crosses[0].Y, IDiv(y(4.5), kPx));
}

TEST_F(NotesDrawing, OnlyTheUpperHeadOfASecondMovesBesideTheStem) {
    auto surface = Draw([&] {
        for (const uint8_t value : {60, 64, 67}) score->AddNote(1, 0, value, 16, 0);  // thirds
        for (const uint8_t value : {64, 65}) score->AddNote(1, 16, value, 16, 0);     // a second
    });
    const auto heads = All(*surface, kBlackHead);
    ASSERT_EQ(heads.size(), 5u);
    std::vector<int32_t> chordX, secondX;
    for (const auto& head : heads) {
        (head.X * kPx < NoteAt(16)->X() - s ? chordX : secondX).push_back(head.X);
    }
    ASSERT_EQ(chordX.size(), 3u);
    EXPECT_EQ(chordX[0], chordX[1]);
    EXPECT_EQ(chordX[1], chordX[2]);
    ASSERT_EQ(secondX.size(), 2u);
    // Stem up: the upper head of the second stands right of the stem.
    EXPECT_EQ(std::abs(secondX[0] - secondX[1]), IDiv(s, kPx));
}

TEST_F(NotesDrawing, BeamClearanceMovesBothEnds) {
    auto surface = Draw([&] {
        score->AddNote(1, 0, 64, 8, 0);   // E4
        score->AddNote(1, 8, 79, 8, 0);   // G5 in the middle, far above the line
        score->AddNote(1, 16, 64, 8, 0);  // E4
    });
    EXPECT_TRUE(NoteAt(0)->Up());
    const auto beams = BeamLines(*surface);
    ASSERT_EQ(beams.size(), static_cast<size_t>(detail::ScoreAccess::BeamLines(*score) + 1));
    const int32_t middleTop = g - NInt(4.5 * s);  // G5's cell
    // Level, and 2 S below the middle note's cell (the stem's top).
    EXPECT_EQ(beams[0].Y1, beams[0].Y2);
    EXPECT_EQ(beams[0].Y1, middleTop + 2 * s);
    // The beam runs from the first stem to the last.
    EXPECT_EQ(beams[0].X2, NoteAt(16)->X() + s);
}

TEST_F(NotesDrawing, SixteenthsGetTwoBeamsAndAMixedGroupAStub) {
    auto surface = Draw([&] {
        for (int32_t i = 0; i < 4; ++i) score->AddNote(1, i * 4, 67, 4, 0);
    });
    const size_t lines = static_cast<size_t>(detail::ScoreAccess::BeamLines(*score) + 1);
    auto beams = BeamLines(*surface);
    ASSERT_EQ(beams.size(), 2 * lines);
    EXPECT_EQ(beams[lines].Y1 - beams[0].Y1, detail::ScoreAccess::BeamGap(*score));

    surface = Draw([&] {
        score->AddNote(1, 0, 67, 8, nteDot);  // dotted eighth
        score->AddNote(1, 12, 67, 4, 0);      // sixteenth
    });
    std::vector<DrawnLine> all;
    for (const auto& line : LinesOf(*surface)) {
        if (line.Color == detail::ScoreAccess::DrawColors(*score).Notes && OnFirstStaff(line.Y1))
            all.push_back(line);
    }
    ASSERT_EQ(all.size(), 2 * lines);
    // The stub: S long, ending at the second note's stem.
    const auto& stub = all[lines];
    EXPECT_EQ(stub.X2 - stub.X1, s);
    EXPECT_EQ(stub.X2, NoteAt(12)->X() + s);
    EXPECT_EQ(stub.Y1 - all[0].Y1, detail::ScoreAccess::BeamGap(*score));
}

TEST_F(NotesDrawing, ATripletNumeralIsCentredInTheGapOfItsBracket) {
    auto surface = Draw([&] {
        score->AddNote(1, 0, 67, 16, nteTriplet);
        score->AddNote(1, 11, 69, 16, nteTriplet);
        score->AddNote(1, 21, 71, 16, nteTriplet);
    });
    EXPECT_EQ(NoteAt(11)->Up(), NoteAt(0)->Up());
    EXPECT_EQ(NoteAt(21)->Up(), NoteAt(0)->Up());
    // The bracket runs from the first head's left edge to the third stem, with a gap for the
    // numeral (8 points: 80 twips wide, 192 high) and 30 twips either side of it.
    const int32_t left = NoteAt(0)->X();
    const int32_t right = NoteAt(21)->X() + s;
    const int32_t centre = left + IDiv(right - left, 2);
    std::vector<DrawnLine> bracket;
    for (const auto& line : LinesOf(*surface)) {
        if (line.Color == detail::ScoreAccess::DrawColors(*score).Notes && line.Y1 == line.Y2 &&
            (line.X1 == left || line.X2 == right))
            bracket.push_back(line);
    }
    ASSERT_EQ(bracket.size(), 2u);
    // It stands a space above the highest stem's tip: B4's head on the middle line, its stem
    // 3.5 spaces up.
    EXPECT_EQ(bracket[0].Y1, top + 2 * s - NInt(3.5 * s) - s);
    EXPECT_EQ(bracket[0].X2, centre - 40 - 30);
    EXPECT_EQ(bracket[1].X1, centre + 40 + 30);
    const auto three = FindText(TextsOf(*surface), "3");
    ASSERT_TRUE(three);
    EXPECT_EQ(three->X, IDiv(centre - 40, kPx));
    EXPECT_EQ(three->Y, IDiv(static_cast<int32_t>(bracket[0].Y1) - 96, kPx));
}

}  // namespace
}  // namespace corvendi::test
