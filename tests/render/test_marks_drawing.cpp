// The marks of measures and the words around a staff, drawn on the recording surface: barline
// signs, key changes, endings and section signs, measure numbers, measure repeats, chord
// symbols, dynamics, free text and lyrics. Positions are recorded in pixels of 15 twips.
#include <string>
#include <vector>

#include "corvendi/ChordMapper.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Region.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutTestSupport.h"
#include "render/PageLayout.h"

namespace corvendi::test {
namespace {

// A chord mapper that remembers where it was asked to draw.
struct ChordCall {
    int32_t X, Y, Code, Capo, Time;
};
class RecordingChordMapper : public ChordMapper {
  public:
    void Draw(Surface&, int32_t x, int32_t y, int32_t code, const std::shared_ptr<GlobalEvents>&,
              bool, int32_t, std::string_view, int32_t capoFret, int32_t atTime) override {
        calls.push_back({x, y, code, capoFret, atTime});
    }
    std::vector<ChordCall> calls;
};

class MarksDrawing : public StaffDrawingTest {
  protected:
    // Texts drawn near the first staff of the page, its lyrics included.
    std::vector<DrawnText> All(const RecordingSurface& surface, const std::string& text) const {
        return TextsNear(surface, text, 8, 16);
    }
    // Left edge and right barline of measure j (0-based) of the page's first system.
    int32_t MeasureLeft(int32_t j) const {
        const auto& region = *detail::ScoreAccess::Regions(*score).front();
        int32_t x = region.Left;
        for (int32_t i = 0; i < j; ++i) x += region.Measure(i)->Low();
        return x;
    }
    int32_t MeasureRight(int32_t j) const { return MeasureLeft(j + 1); }
    std::shared_ptr<GlobalEvents> Events() const { return score->AllGlobals(); }
    std::shared_ptr<GlobalEvents> StaffEvents() const { return score->Staff(1)->GlobalEvents(); }
};

TEST_F(MarksDrawing, AKeyChangeInsideTheSystemGetsItsSignsAndADoubleBarBeforeIt) {
    auto surface = Draw([&] {
        score->AddNote(1, 128, 67, 16, 0);
        StaffEvents()->Add(128, evtKeyChange, 2);  // D major from measure 3
    });
    std::vector<DrawnText> sharps;
    for (const auto& t : All(*surface, "#")) {
        if (t.Y * kPx < top + 4 * s) sharps.push_back(t);  // the first system only
    }
    ASSERT_EQ(sharps.size(), 2u);
    EXPECT_GT(sharps[0].X * kPx, MeasureLeft(2) - kPx);
    const auto doubles = All(*surface, "[");
    ASSERT_EQ(doubles.size(), 1u);
    EXPECT_LT(doubles[0].X * kPx, MeasureRight(1));
    EXPECT_GT(doubles[0].X * kPx, MeasureLeft(1));
    // The note stands after the signature.
    EXPECT_GT(score->Staff(1)->Voice(1)->Notes()->Item(128)->X(), sharps[1].X * kPx + s);
}

TEST_F(MarksDrawing, EndingsWithAContinuationAndSectionSigns) {
    auto surface = Draw([&] {
        Events()->Add(0, evtSectionDefine, sctEnding1);
        Events()->Add(64, evtSectionDefine, sctEnding, 0, "+");
        Events()->Add(128, evtSectionDefine, sctEnding2);
        Events()->Add(192, evtSectionDefine, sctToCoda);
    });
    const int32_t lineY = top - SnapY(NInt(2.2 * s));
    std::vector<DrawnLine> horizontal, legs;
    for (const auto& line : LinesOf(*surface)) {
        if (line.Color != detail::ScoreAccess::DrawColors(*score).Bars || line.Y1 != lineY)
            continue;
        (line.Y1 == line.Y2 ? horizontal : legs).push_back(line);
    }
    ASSERT_EQ(horizontal.size(), 3u);
    EXPECT_EQ(legs.size(), 2u);                   // the "+" measure has no leg
    EXPECT_LT(horizontal[1].X1, MeasureLeft(1));  // and reaches back over the barline
    EXPECT_EQ(All(*surface, "1").size(), 1u);
    EXPECT_EQ(All(*surface, "2").size(), 1u);
    EXPECT_TRUE(All(*surface, "+").empty());
    const auto toCoda = All(*surface, "D");
    ASSERT_EQ(toCoda.size(), 1u);
    EXPECT_EQ(toCoda[0].X, IDiv(MeasureRight(3) - 2 * s, kPx));

    surface = Draw([&] {
        Events()->Add(0, evtSectionDefine, sctCoda);
        Events()->Add(64, evtSectionDefine, sctSegundo);
        Events()->Add(128, evtSectionDefine, sctToSegundo);
    });
    const auto coda = All(*surface, "\xC3\x9E");
    const auto segno = All(*surface, "%");
    const auto toSegno = All(*surface, "d");
    ASSERT_EQ(coda.size(), 1u);
    ASSERT_EQ(segno.size(), 1u);
    ASSERT_EQ(toSegno.size(), 1u);
    EXPECT_GT(coda[0].X * kPx, MeasureLeft(0) + 2 * s);  // after the clef
    EXPECT_LT(segno[0].X * kPx, MeasureLeft(1) + s);
    EXPECT_GE(segno[0].X * kPx, MeasureLeft(1));
    EXPECT_EQ(toSegno[0].X, IDiv(MeasureRight(2) - 2 * s, kPx));
}

TEST_F(MarksDrawing, MeasureNumbersCentredBelowSkipSectionMarksAndCountBy) {
    auto surface = Draw([&] {
        score->SetNumberMeasures(true);
        score->SetNumberPos(4);
        Events()->Add(64, evtSectionDefine, sctCoda);
    });
    const auto one = All(*surface, "1");
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].Y, IDiv(g + 6 * s, kPx));
    EXPECT_GT(one[0].X * kPx, MeasureLeft(0) + s);
    EXPECT_TRUE(All(*surface, "2").empty());  // the coda measure
    EXPECT_EQ(All(*surface, "3").size(), 1u);

    surface = Draw([&] {
        score->SetNumberMeasures(true);
        score->SetNumberMeasuresBy(2);
    });
    EXPECT_TRUE(All(*surface, "1").empty());
    EXPECT_TRUE(All(*surface, "3").empty());
    EXPECT_EQ(All(*surface, "2").size(), 1u);
}

TEST_F(MarksDrawing, ChordSymbolsRiseOverAnEndingAndKnowTheirTime) {
    auto mapper = std::make_shared<RecordingChordMapper>();
    auto surface = Draw([&] {
        score->SetChordMapper(mapper);
        score->SetUseChords(true);
        score->SetCapo(3);
        score->SetUseCapo(true);
        Events()->Add(0, evtSectionDefine, sctEnding1);
        Events()->Add(8, evtChord, 7);
        Events()->Add(64, evtChord, 9);
    });
    ASSERT_GE(mapper->calls.size(), 2u);
    const auto& over = mapper->calls[mapper->calls.size() - 2];
    const auto& plain = mapper->calls.back();
    EXPECT_EQ(over.Time, 8);
    EXPECT_EQ(over.Code, 7);
    EXPECT_EQ(over.Capo, 3);
    EXPECT_EQ(plain.Y, g);
    EXPECT_EQ(over.Y, g - 3 * s);
    EXPECT_GT(plain.X, MeasureLeft(1));
}

TEST_F(MarksDrawing, DynamicsTextAndLyrics) {
    auto surface = Draw([&] {
        score->SetDynAdjust(60);
        score->AddNote(1, 0, 67, 16, 0);
        score->AddNote(1, 16, 67, 16, 0);
        StaffEvents()->Add(16, evtDynamic, dynF);
        StaffEvents()->Add(16, evtTempo, tmpRitardando);
        StaffEvents()->Add(0, evtTempo, tmpATempo);
        StaffEvents()->Add(32, evtTempo, 96);
        StaffEvents()->Add(0, evtText, 2, 0, "above");
        StaffEvents()->Add(16, evtText, 0, 3, "below");
        StaffEvents()->Add(0, evtLyric, 0, 0, "Hal-\rSing");
        StaffEvents()->Add(16, evtLyric, 0, 0, "lo\ring");
    });
    const auto forte = All(*surface, "f");
    ASSERT_EQ(forte.size(), 1u);
    EXPECT_EQ(forte[0].Y, IDiv(g + NInt(3.5 * s) + 60, kPx));
    // Tempo marks are words on the dynamics' line, after a dynamic at the same time; a mark
    // outside the list of words shows nothing.
    const auto ritard = All(*surface, "ritard.");
    const auto aTempo = All(*surface, "a tempo");
    ASSERT_EQ(ritard.size(), 1u);
    ASSERT_EQ(aTempo.size(), 1u);
    EXPECT_EQ(ritard[0].Y, aTempo[0].Y);
    EXPECT_GT(ritard[0].Y * kPx, top + 4 * s);
    EXPECT_GT(ritard[0].X, forte[0].X);
    EXPECT_EQ(All(*surface, "Error").size(), 0u);
    const auto above = All(*surface, "above");
    const auto below = All(*surface, "below");
    ASSERT_EQ(above.size(), 1u);
    ASSERT_EQ(below.size(), 1u);
    EXPECT_EQ(above[0].Y, IDiv(top + 2 * s - 2 * IDiv(s, 2), kPx));
    EXPECT_EQ(below[0].Y, IDiv(top + 2 * s + 3 * IDiv(s, 2), kPx));

    const auto hal = All(*surface, "Hal");
    const auto lo = All(*surface, "lo");
    const auto sing = All(*surface, "Sing");
    const auto hyphen = All(*surface, "-");
    ASSERT_EQ(hal.size(), 1u);
    ASSERT_EQ(lo.size(), 1u);
    ASSERT_EQ(sing.size(), 1u);
    ASSERT_EQ(hyphen.size(), 1u);
    EXPECT_EQ(sing[0].Y - hal[0].Y, kLyricLineTw / kPx);
    EXPECT_EQ(hal[0].Y, hyphen[0].Y);
    EXPECT_GT(hyphen[0].X, hal[0].X);
    EXPECT_LT(hyphen[0].X, lo[0].X);
    EXPECT_GT(hal[0].Y * kPx, top + 4 * s);
}

// The seven points of each tie drawn, in pixels.
std::vector<std::vector<int32_t>> Ties(const RecordingSurface& surface) {
    std::vector<std::vector<int32_t>> ties;
    for (const auto& call : surface.CallsNamed("PolyBezier")) {
        std::vector<int32_t> points;
        for (const double n : call.Numbers) points.push_back(static_cast<int32_t>(n));
        ties.push_back(points);
    }
    return ties;
}

TEST_F(MarksDrawing, ATieLiesBelowAOneVoiceStemUpNoteAndAboveAMultiVoiceOne) {
    auto surface = Draw([&] {
        score->AddNote(1, 0, 64, 16, 0);
        score->AddNote(1, 16, 64, 16, 0);
        StaffEvents()->Add(0, evtTie, 0, 16, "1");
    });
    auto start = score->Staff(1)->Voice(1)->Notes()->Item(0);
    ASSERT_TRUE(start->Up());
    auto ties = Ties(*surface);
    ASSERT_EQ(ties.size(), 1u);
    ASSERT_EQ(ties[0].size(), 14u);
    EXPECT_EQ(ties[0][0], IDiv(start->X() + s, kPx));
    EXPECT_EQ(ties[0][1], IDiv(start->Y() + 4 * s + IDiv(s, 2) + 2 * s, kPx));
    EXPECT_GT(ties[0][3], ties[0][1]);  // bows downward
    EXPECT_EQ(ties[0][6], IDiv(score->Staff(1)->Voice(1)->Notes()->Item(16)->X(), kPx));
    EXPECT_EQ(ties[0][12], ties[0][0]);  // the lens closes on its start

    score->SetRedraw(false);
    start->SetMultiVoice(true);
    score->SetRedraw(true);
    surface->ClearCalls();
    score->PaintWindow();
    ties = Ties(*surface);
    ASSERT_EQ(ties.size(), 1u);
    EXPECT_EQ(ties[0][1], IDiv(start->Y() + 4 * s + IDiv(s, 2), kPx));
    EXPECT_LT(ties[0][3], ties[0][1]);  // bows upward
}

TEST_F(MarksDrawing, ASlopedTieBendsAroundItsMiddleAndATooShortOneIsAStraightLine) {
    auto surface = Draw([&] {
        score->AddNote(1, 0, 64, 32, 0);   // E4
        score->AddNote(1, 32, 67, 32, 0);  // G4
        StaffEvents()->Add(0, evtTie, 0, 32, "1");
    });
    auto& list = *score->Staff(1)->Voice(1)->Notes();
    const int32_t x1 = list.Item(0)->X() + s, y1 = list.Item(0)->Y() + 6 * s + IDiv(s, 2);
    const int32_t x2 = list.Item(32)->X(), y2 = list.Item(32)->Y() + 6 * s + IDiv(s, 2);
    ASSERT_EQ(x2 - x1, 891);
    ASSERT_EQ(y1 - y2, s);
    // The ends are 1.06 apart in height ratio, so the control points stand 891 / 3 = 297 twips
    // either side of the middle; the arc's depth grows with the log of 297 - 15 = 282: below the
    // start 24 ln 282 = 135 twips, below the end 41 ln 282 = 231, 225 on whole pixels.
    const int32_t mid = x1 + 445;
    auto ties = Ties(*surface);
    ASSERT_EQ(ties.size(), 1u);
    EXPECT_EQ(std::vector<int32_t>(ties[0].begin(), ties[0].begin() + 8),
              (std::vector<int32_t>{x1 / kPx, y1 / kPx, (mid - 297) / kPx, (y1 + 135) / kPx,
                                    (mid + 297) / kPx, (y2 + 225) / kPx, x2 / kPx, y2 / kPx}));

    surface = Draw([&] {
        score->AddNote(1, 0, 64, 2, 0);
        score->AddNote(1, 2, 64, 2, 0);
        StaffEvents()->Add(0, evtTie, 0, 2, "1");
    });
    EXPECT_TRUE(Ties(*surface).empty());
    int32_t straight = 0;
    for (const auto& line : LinesOf(*surface))
        straight += line.Color == detail::ScoreAccess::DrawColors(*score).Ties;
    EXPECT_EQ(straight, 1);
}

TEST_F(MarksDrawing, ATieAcrossASystemBreakIsDrawnAsTwoStubs) {
    auto notes = [&] {
        for (int32_t m = 0; m < 32; ++m) score->AddNote(1, m * 64, 67, 64, 0);
    };
    auto surface = Draw(notes);
    const auto& first = *detail::ScoreAccess::Regions(*score).front();
    const int32_t breakTime = first.Measure(first.Measures() - 1)->High() + 64;
    surface = Draw([&] {
        notes();
        StaffEvents()->Add(breakTime - 64, evtTie, static_cast<uint8_t>(breakTime / 256),
                           static_cast<uint8_t>(breakTime % 256), "1");
    });
    const auto ties = Ties(*surface);
    ASSERT_EQ(ties.size(), 2u);
    auto& list = *score->Staff(1)->Voice(1)->Notes();
    const auto before = list.Item(breakTime - 64);
    const auto after = list.Item(breakTime);
    // A level stub 2 S right of the start point, then one from 2 S before the end note.
    EXPECT_EQ(ties[0][0], IDiv(before->X() + s, kPx));
    EXPECT_EQ(ties[0][6], IDiv(before->X() + 3 * s, kPx));
    EXPECT_EQ(ties[0][7], ties[0][1]);
    EXPECT_EQ(ties[1][0], IDiv(after->X() - 2 * s, kPx));
    EXPECT_EQ(ties[1][6], IDiv(after->X(), kPx));
    EXPECT_LT(ties[1][3], ties[1][1]);  // above the notes: no start note says otherwise
}

TEST_F(MarksDrawing, ATieEndingAtTime40000IsDrawnLikeAnyOther) {
    auto surface = Draw([&] {
        score->AddNote(1, 39984, 67, 16, 0);
        score->AddNote(1, 40000, 67, 16, 0);
        StaffEvents()->Add(39984, evtTie, 156, 64, "1");
    });
    // The page showing the end note; a system break before it leaves the continuation there.
    int32_t page = 0;
    for (size_t p = 0; p < detail::ScoreAccess::PageRanges(*score).size(); ++p) {
        if (detail::ScoreAccess::PageRanges(*score)[p]->Low() <= 40000)
            page = static_cast<int32_t>(p) + 1;
    }
    ASSERT_GT(page, 0);
    score->SetCurPage(page);
    surface->ClearCalls();
    score->PaintWindow();
    const auto ties = Ties(*surface);
    ASSERT_GE(ties.size(), 1u);
    EXPECT_EQ(ties.back()[6], IDiv(score->Staff(1)->Voice(1)->Notes()->Item(40000)->X(), kPx));
}

}  // namespace
}  // namespace corvendi::test
