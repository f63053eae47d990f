// Fitting one system onto the page and breaking the music into its measures. Both run while
// paginating and while drawing, so that a drawn page holds exactly what pagination found.
#include <algorithm>
#include <limits>

#include "common/Arith.h"
#include "corvendi/ChordMapper.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Notes.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

bool HasNotesBeyondFirstVoice(const Staff& staff) {
    for (int32_t v = 2; v <= staff.Voices(); ++v) {
        const auto voice = staff.Voice(v);
        if (voice && voice->Notes() && voice->Notes()->Count() > 0) return true;
    }
    return false;
}

// The smallest staff height an overfull page shrinks to: one screen pixel per line spacing.
int32_t MinimumShrunkStaffHeight() { return 4 * std::max(Process().gTwipsPerPixelY, 1); }

// Measures start no later than this, so that adding a measure's length cannot overflow.
constexpr int32_t kLastMeasureStart = std::numeric_limits<int32_t>::max() - 1024;

}  // namespace

std::vector<PageLayout::SystemStaff> PageLayout::VisibleStaffs() const {
    std::vector<SystemStaff> staffs;
    if (!detail::ScoreAccess::StaffsRef(mScore)) return staffs;
    staffs.reserve(static_cast<size_t>(detail::ScoreAccess::StaffsRef(mScore)->Count()));
    for (const auto& staff : *detail::ScoreAccess::StaffsRef(mScore)) {
        if (!staff || !staff->Visible()) continue;
        staffs.push_back(SystemStaff{staff, static_cast<float>(staff->ScalePct()) / 100.0f,
                                     staff->DefaultClef() == clfGrand});
    }
    return staffs;
}

int32_t PageLayout::ChordRowHeight() const {
    if (!mScore.UseChords() || !mScore.ChordMapper()) return 0;
    return std::clamp(mScore.ChordMapper()->RowHeight(mScore.UseChordMaps()), 0, kMaxSpacingTw);
}

int32_t PageLayout::FitSystem(const std::vector<SystemStaff>& staffs) {
    const int32_t staffHeight = LayoutStaffHeight(mScore);
    const int32_t staffSpace = LayoutStaffSpace(mScore);
    const bool measureDescriptions = mFirstSystem && mScore.CurPage() == 1;
    int64_t height = ChordRowHeight();
    int32_t units = 0;
    bool multiVoice = false;
    mDescWidth = 0;
    for (const auto& entry : staffs) {
        const Staff& staff = *entry.Staff;
        mStaffScale = entry.Scale;
        SetStaffMetrics(NInt(staffHeight / 4.0 * entry.Scale));
        multiVoice = multiVoice || HasNotesBeyondFirstVoice(staff);
        const int64_t band = static_cast<int64_t>(entry.Grand ? 3 : 1) * staffHeight + staffSpace;
        units += entry.Grand ? 3 : 1;
        height += SnapY(NInt(static_cast<double>(band) * entry.Scale)) +
                  static_cast<int64_t>(staff.Verses()) * kLyricLineTw;
        if (measureDescriptions && (staff.Flags() & stfShowStaffDesc) != 0) {
            mDescWidth = std::max(mDescWidth, TextWidth(staff.Description()));
        }
    }
    mSystemHeight = ClampCoord(height);
    const int32_t flags = detail::ScoreAccess::State(mScore).DrawFlags & ~kDrawMultiVoice;
    detail::ScoreAccess::State(mScore).DrawFlags = multiVoice ? flags | kDrawMultiVoice : flags;
    return units;
}

bool PageLayout::LayOutSystem() {
    const std::vector<SystemStaff> staffs = VisibleStaffs();
    int32_t units = 0;
    bool refit = true;
    while (refit) {
        refit = false;
        units = FitSystem(staffs);
        const int64_t free = static_cast<int64_t>(mBottomLimit) - mTop;
        if (mSystemHeight > free) {
            if (!mFirstSystem) {
                units = 0;
            } else if (units == 0) {
                detail::ScoreAccess::CurTimeSet(mScore, detail::ScoreAccess::HighNoteTime(mScore));
            } else if (mFitPasses == 0) {
                // Shrink the staffs once so that the first system fits; the height stays
                // reduced for the following pages. A system that still does not fit (lyric
                // lines, chord rows) is placed all the same, overhanging the bottom margin.
                const double shrunk =
                    static_cast<double>(free -
                                        static_cast<int64_t>(LayoutStaffSpace(mScore)) * units) /
                    units;
                detail::ScoreAccess::StaffHeightTwSet(
                    mScore,
                    std::clamp(NInt(shrunk), MinimumShrunkStaffHeight(), kMaxStaffHeightTw));
                refit = true;
            }
        }
        ++mFitPasses;
    }
    if (units == 0) return false;

    if (mDescWidth > 0) mDescWidth += TextWidth("xxx");
    auto& metrics = *detail::ScoreAccess::State(mScore).PageMetrics[mPage];
    detail::RangeAccess::LowSet(metrics, mDescWidth);
    detail::RangeAccess::HighSet(metrics, detail::ScoreAccess::State(mScore).StaffHeightTw);
    detail::ScoreAccess::UpdateBeamMetrics(mScore);

    mMusicLeft = ClampCoord(static_cast<int64_t>(mLeftEdge) + mDescWidth);
    BreakLine();

    const int32_t systemTop = mTop;
    if (mDrawing) {
        DrawSystem(staffs);
    } else {
        mTop = ClampCoord(static_cast<int64_t>(mTop) + mSystemHeight);
    }
    mFirstSystem = false;
    detail::RangeAccess::HighSet(*detail::ScoreAccess::State(mScore).PageRanges[mPage],
                                 mSystem.End);
    mTop = SnapY(ClampCoord(static_cast<int64_t>(mTop) - LayoutStaffSpace(mScore) +
                            LayoutSystemSpace(mScore)));
    // A system that takes no room (zero or negative spacing) would never fill the page.
    return mTop > systemTop;
}

void PageLayout::BreakLine() {
    mSystem = SystemMeasures{};
    const int32_t start0 = detail::ScoreAccess::State(mScore).PageRanges[mPage]->High();
    mSystem.Start = start0;
    mSystem.End = start0;
    if (!detail::ScoreAccess::GlobalsRef(mScore) || !detail::ScoreAccess::StaffsRef(mScore)) return;
    GlobalEvents& globals = *detail::ScoreAccess::GlobalsRef(mScore);
    const Staffs& staffs = *detail::ScoreAccess::StaffsRef(mScore);
    const int32_t staffHeight = LayoutStaffHeight(mScore);
    SetStaffMetrics(NInt(staffHeight / 4.0));
    const StaffMetrics& m = mMetrics;

    int32_t remaining = std::max(mRightLimit - mMusicLeft, 0);
    int32_t start = start0;
    for (int32_t i = 0; remaining >= 1 && start <= kLastMeasureStart; ++i) {
        int32_t number = 0;
        int32_t duration = 0;
        globals.MeasureInfo(start, number, duration);
        if (duration < 1) duration = 64;
        if (mDrawing && start == mScore.CurTime()) {
            detail::ScoreAccess::SelectedMeasureSet(mScore, number);
            detail::ScoreAccess::EventSource(mScore).Raise(&ScoreEvents::ActiveMeasure, number);
        }

        int32_t width = staffs.ItemCount(start, duration) * m.ItemWidth;
        if (i > 0 && globals.Find(start, evtLineEnd, true)) width = remaining + 1;
        if (width <= remaining) {
            if (const auto size = globals.Find(start, evtMeasureSize, true)) {
                if (size->Value1() > 0) {
                    width += size->Value1() * m.SizeUnit;
                } else {
                    width = std::max(width - size->Value2() * m.SizeUnit, m.MinMeasureWidth);
                }
            }
        }
        if (i == 0) {
            // Room for the clef and the key signature, and for the time signature at the start.
            width += staffHeight + m.LineSpacing * staffs.KeyCount(start, duration) * 2;
            if (start == 0) width += IDiv(staffHeight, 2);
        }

        const auto slot = static_cast<size_t>(i);
        if (width > remaining && i > 0) {
            // The system ends before this measure.
            SpreadLeftover(i, remaining);
            break;
        }
        // A first measure wider than the line is squeezed into it.
        mSystem.Width[slot] = std::min(width, remaining);
        remaining -= mSystem.Width[slot];
        mSystem.Time[slot] = start;
        mSystem.Flags[slot] = mScore.MeasureFlags(start);
        mSystem.Count = i + 1;
        start += duration;
        mSystem.End = start;
        if (i == kMaxSystemMeasures - 1) {
            mSystem.Width[slot] += remaining;  // the sixteenth measure reaches the right limit
            break;
        }
    }
}

void PageLayout::SpreadLeftover(int32_t placed, int32_t remaining) {
    const int32_t each = SnapX(IDiv(remaining, placed));
    for (int32_t j = 0; j < placed; ++j) mSystem.Width[static_cast<size_t>(j)] += each;
    mSystem.Width[static_cast<size_t>(placed - 1)] += remaining - each * placed;
}

void PageLayout::SetBarlinePositions() {
    int32_t x = mMusicLeft;
    for (int32_t j = 0; j < mSystem.Count; ++j) {
        const auto slot = static_cast<size_t>(j);
        x = ClampCoord(static_cast<int64_t>(x) + mSystem.Width[slot]);
        mSystem.BarX[slot] = x;
    }
    if (mSystem.Count > 0) mSystem.BarX[static_cast<size_t>(mSystem.Count - 1)] = mRightLimit;
}

}  // namespace corvendi
