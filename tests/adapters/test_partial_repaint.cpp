// After an edit that keeps the layout the engine repaints only part of the page; on the screen
// that must look exactly as if the whole page had been painted again, at any zoom, on any staff,
// heading above the first system included.
#include <gtest/gtest.h>

#include <corvendi/cairo/CairoImageSurface.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include <corvendi/Enums.h>
#include <corvendi/Note.h>
#include <corvendi/Notes.h>
#include <corvendi/Platform.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/Voice.h>

#include "CairoTestSupport.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"

namespace corvendi::test {
namespace {

constexpr int32_t kStaffs = 3;
constexpr int32_t kMeasures = 8;

// An image window that counts the repaints it was asked to limit.
class CountingWindow : public CairoImageSurface {
  public:
    using CairoImageSurface::CairoImageSurface;
    bool LimitDrawingTo(double left, double top, double right, double bottom) override {
        ++Limits;
        return CairoImageSurface::LimitDrawingTo(left, top, right, bottom);
    }
    int Limits = 0;
};

enum class Edit { ChordTone, NoteInSlot, ChangeLast, Ornament, Delete };

struct RepaintCase {
    const char* Name;
    Edit Kind;
    int32_t Staff;
    int32_t Measure;  // of the first system; -1 for its last
    int32_t TwipsPerPixel;
    int32_t Step = 3;       // of a chord tone, in staff steps below the top line
    int32_t Shift = -3;     // of ChangeLast, in semitones
    int32_t ShiftBack = 0;  // of a second ChangeLast, if any
    // False where the repaint cannot be limited: drawing reaches into the title block, which
    // is not erased, so the whole system is drawn again without a limit.
    bool Limited = true;
};

void PrintTo(const RepaintCase& c, std::ostream* out) { *out << c.Name; }

// Three staffs under a heading. Staff k rests on beat k of each measure (so a note there takes
// a slot the other staffs already fill), has a chord on beat 0, and notes with ledger lines
// that reach towards the neighbouring staffs.
std::shared_ptr<Score> ThreeStaffScore() {
    auto score = Score::Create();
    score->CreateDefault();
    score->SetHeading("Allegro");
    auto staffs = score->AllStaffs();
    for (int32_t k = 1; k < kStaffs; ++k)
        detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Staff");
    for (int32_t k = 1; k <= kStaffs; ++k) {
        for (int32_t m = 0; m < kMeasures; ++m) {
            for (int32_t beat = 0; beat < 4; ++beat) {
                if (beat == k) continue;
                const int32_t t = m * durWhole + beat * durQuarter;
                const uint8_t value = beat == 2 ? (k == 3 ? 84 : 57) : 67;
                score->AddNote(k, t, value, durQuarter, 0);
                if (beat == 0) {
                    score->AddNote(k, t, 71, durQuarter, 0);
                    score->AddNote(k, t, 74, durQuarter, 0);
                }
            }
        }
    }
    return score;
}

class PartialRepaint : public MusicFontTest, public ::testing::WithParamInterface<RepaintCase> {
  protected:
    void SetUp() override {
        MusicFontTest::SetUp();
        const int32_t twips = GetParam().TwipsPerPixel;
        score = ThreeStaffScore();
        // Made as the studio makes it: an image holding only the top of the page.
        window = std::make_shared<CountingWindow>(1.0, 1.0, twips);
        const int32_t width = static_cast<int32_t>(score->SheetWidthTw()) / twips;
        window->CoverOnly(0, 0, width, std::min(2400, 12000 / twips));
        window->SetWidth(score->SheetWidthTw());
        window->SetHeight(score->SheetHeightTw());
        score->SetTwipsPerPixel(twips, twips);
        score->SetWindow(window);
        while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
        }
    }

    const Region& StaffRegion(int32_t staff) const {
        return *detail::ScoreAccess::Regions(*score)[static_cast<size_t>(staff - 1)];
    }

    // The measure of the first system the case edits, its start time and its left edge.
    struct Place {
        int32_t Index = 0;
        int32_t Start = 0;
        int32_t Left = 0;
    };
    Place MeasureOf(const Region& region) const {
        const int32_t j = GetParam().Measure < 0 ? region.Measures() - 1 : GetParam().Measure;
        int32_t left = region.Left;
        for (int32_t i = 0; i < j; ++i) left += region.Measure(i)->Low();
        return {j, region.Measure(j)->High(), left};
    }

    // A point on `beat` of the measure, `step` staff steps below the top line.
    std::pair<int32_t, int32_t> PointAt(int32_t beat, int32_t step) const {
        const Region& region = StaffRegion(GetParam().Staff);
        const Place m = MeasureOf(region);
        const int32_t pad = region.MeasurePad(m.Index);
        const int32_t tick = (region.Measure(m.Index)->Low() - pad) / durWhole;
        const int32_t x = m.Left + pad + beat * durQuarter * tick + tick / 2;
        return {x, region.Top + region.PadTop + step * region.IncY / 2};
    }

    int32_t TimeOf(int32_t beat) const {
        return MeasureOf(StaffRegion(GetParam().Staff)).Start + beat * durQuarter;
    }

    void Apply(Edit edit) {
        const int32_t staff = GetParam().Staff;
        const int32_t busyBeat = staff == 3 ? 1 : 3;  // a beat the staff holds a plain note on
        switch (edit) {
            case Edit::ChordTone: {
                const auto [x, y] = PointAt(busyBeat, GetParam().Step);
                score->AddNoteByHit(x, y, durQuarter, 0, durQuarter);
                break;
            }
            case Edit::NoteInSlot: {
                const auto [x, y] = PointAt(staff, 5);
                score->AddNoteByHit(x, y, durQuarter, 0, durQuarter);
                break;
            }
            case Edit::ChangeLast:
                Apply(Edit::ChordTone);
                window->Limits = 0;  // the case is about the change
                ASSERT_TRUE(score->ChangeLast(GetParam().Shift));
                if (GetParam().ShiftBack != 0) {
                    ASSERT_TRUE(score->ChangeLast(GetParam().ShiftBack));
                }
                break;
            case Edit::Ornament: {
                const auto note = score->Staff(staff)->Voice(1)->Notes()->Item(TimeOf(busyBeat));
                score->AddOrnamentByHit(note->X(), PointAt(busyBeat, 4).second, ornFermata);
                break;
            }
            case Edit::Delete: {
                const auto note = score->Staff(staff)->Voice(1)->Notes()->Item(TimeOf(busyBeat));
                int32_t time = 0, duration = 0;
                ASSERT_TRUE(score->OnNote(note->X(), PointAt(busyBeat, 4).second, time, duration));
                score->DelNote(time, 1, staff);
                break;
            }
        }
    }

    std::shared_ptr<Score> score;
    std::shared_ptr<CountingWindow> window;
};

TEST_P(PartialRepaint, LeavesTheWindowAsAWholePaintWould) {
    const std::vector<int32_t> before = window->Pixels();
    Apply(GetParam().Kind);
    ASSERT_FALSE(score->Paginating());
    EXPECT_EQ(window->Limits > 0, GetParam().Limited);
    const std::vector<int32_t> repainted = window->Pixels();
    EXPECT_NE(repainted, before) << "the edit showed nothing";
    score->PaintWindow();
    const std::vector<int32_t> whole = window->Pixels();
    ASSERT_EQ(repainted.size(), whole.size());
    size_t differing = 0;
    for (size_t i = 0; i < whole.size(); ++i) differing += repainted[i] != whole[i];
    EXPECT_EQ(differing, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, PartialRepaint,
    ::testing::Values(RepaintCase{"ChordToneFirstMeasureUnderTheHeading", Edit::ChordTone, 1, 0,
                                  15},
                      RepaintCase{"ChordToneMiddleStaffZoomed", Edit::ChordTone, 2, 1, 3},
                      RepaintCase{"NoteInSlotUnderTheHeadingZoomed", Edit::NoteInSlot, 1, 1, 3},
                      RepaintCase{"NoteInSlotLastMeasure", Edit::NoteInSlot, 2, -1, 15},
                      RepaintCase{"ChangeLastFirstStaff", Edit::ChangeLast, 1, 1, 15},
                      RepaintCase{"ChangeLastBottomStaffZoomed", Edit::ChangeLast, 3, 2, 3},
                      RepaintCase{"OrnamentFirstMeasureZoomed", Edit::Ornament, 1, 0, 3},
                      RepaintCase{"OrnamentLastMeasure", Edit::Ornament, 2, -1, 15},
                      RepaintCase{"DeleteMiddleStaff", Edit::Delete, 2, 1, 15},
                      RepaintCase{"DeleteUnderTheHeadingZoomed", Edit::Delete, 1, 1, 3},
                      // Heads far outside the staff, drawn and erased.
                      RepaintCase{"FarAboveMiddleStaff", Edit::ChangeLast, 2, 1, 15, 3, 26},
                      RepaintCase{"FarBelowAndBackZoomed", Edit::ChangeLast, 2, 2, 3, 3, -30, 30},
                      RepaintCase{"IntoTheHeading", Edit::ChangeLast, 1, 2, 15, 3, 24, 0, false}),
    [](const auto& param) { return std::string(param.param.Name); });

// The limit widens to whole pixels; clearing and drawing then change those pixels and no other.
using DrawingLimit = MusicFontTest;

TEST_F(DrawingLimit, AnImageLimitedToABoxClearsAndDrawsOnlyItsPixels) {
    CairoImageSurface image(1500, 1500);  // 100 x 100 pixels of 15 twips
    image.Line(0, 0, 1500, 1500, 0, LineFill::FilledBox);
    ASSERT_TRUE(image.LimitDrawingTo(100, 200, 400, 500));  // pixels 6..26 by 13..33
    image.SetBackColor(0xFFFFFF);
    image.Cls();
    image.Line(0, 330, 1500, 330, 0x0000FF, LineFill::None);  // red, along row 22
    image.EndDrawingLimit();
    const std::vector<int32_t> pixels = image.Pixels();
    for (int32_t y = 0; y < 100; ++y) {
        for (int32_t x = 0; x < 100; ++x) {
            const bool inside = x >= 6 && x < 27 && y >= 13 && y < 34;
            const int32_t expected = !inside ? 0 : y == 22 ? 0x0000FF : 0xFFFFFF;
            ASSERT_EQ(pixels[static_cast<size_t>(y * 100 + x)], expected) << x << ", " << y;
        }
    }
    image.Cls();  // the limit is gone
    EXPECT_EQ(image.PixelAt(0, 0), 0xFFFFFF);
}

}  // namespace
}  // namespace corvendi::test
