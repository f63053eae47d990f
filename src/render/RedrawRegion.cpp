// Redrawing one staff of one system after an edit that changed nothing else: the system's
// measures are rebuilt from the staff's hit region instead of by line breaking.
#include <algorithm>
#include <memory>
#include <vector>

#include "common/Arith.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

std::shared_ptr<Staff> StaffOfIndex(const Staffs& staffs, int32_t index) {
    for (const auto& candidate : staffs) {
        if (candidate && candidate->Index() == index) return candidate;
    }
    return nullptr;
}

// The top line of the brace that holds the region's staff, or -1: the braces of its system are
// replayed over the system's regions, which the page drawing appended in staff order.
int32_t BraceTopOf(const Region& target, const std::vector<std::shared_ptr<Region>>& regions,
                   const Staffs& staffs) {
    const auto at = std::find_if(regions.begin(), regions.end(),
                                 [&](const auto& r) { return r.get() == &target; });
    if (at == regions.end()) return -1;
    auto first = at;
    while (first != regions.begin() && !(*first)->First) --first;
    int32_t staffsLeft = 0;
    int32_t braceTop = -1;
    for (auto it = first; it != regions.end(); ++it) {
        const Region& region = **it;
        const auto staff = StaffOfIndex(staffs, region.Staff);
        if (staffsLeft == 0 && staff && staff->Brace() > 0) {
            staffsLeft = staff->Brace();
            braceTop = region.Top + region.PadTop;
        }
        if (it == at) return staffsLeft > 0 ? braceTop : -1;
        if (staffsLeft > 0) --staffsLeft;
    }
    return -1;
}

}  // namespace

void PageLayout::RedrawRegion(Region& region) {
    if (!detail::ScoreAccess::WindowRef(mScore) || !detail::ScoreAccess::StaffsRef(mScore) ||
        region.Measures() < 1)
        return;
    const auto staff = StaffOfIndex(*detail::ScoreAccess::StaffsRef(mScore), region.Staff);
    const auto first = region.Measure(0);
    if (!staff || !first) return;

    mSurface = detail::ScoreAccess::WindowRef(mScore);
    mDrawing = true;
    mMusicLeft = region.Left;
    mRightLimit = region.Right;
    mStaffScale = static_cast<float>(staff->ScalePct()) / 100.0f;
    SetStaffMetrics(NInt(LayoutStaffHeight(mScore) / 4.0 * mStaffScale));
    SelectFont(kMusicFontIndex);

    mSystem = SystemMeasures{};
    mSystem.Count = std::min(region.Measures(), kMaxSystemMeasures);
    mSystem.Start = first->High();
    int32_t time = mSystem.Start;
    for (int32_t j = 0; j < mSystem.Count; ++j) {
        const auto slot = static_cast<size_t>(j);
        const auto measure = region.Measure(j);
        mSystem.Width[slot] = measure ? measure->Low() : 0;
        mSystem.Time[slot] = time;
        mSystem.Flags[slot] = region.MeasureFlag(j);
        int32_t duration = 0;
        if (detail::ScoreAccess::GlobalsRef(mScore))
            duration = detail::ScoreAccess::GlobalsRef(mScore)->MeasureInfo(time).Duration;
        time = ClampCoord(static_cast<int64_t>(time) + std::max(duration, 1));
    }
    mSystem.End = time;
    SetBarlinePositions();

    const int32_t s = mMetrics.LineSpacing;
    const int32_t topLine = region.Top + region.PadTop;
    StaffSystemFrame frame{mMusicLeft,
                           topLine,
                           mRightLimit,
                           topLine + 4 * s,
                           1,
                           staff->Index(),
                           mSystem.Start,
                           BraceTopOf(region, detail::ScoreAccess::State(mScore).Regions,
                                      *detail::ScoreAccess::StaffsRef(mScore)),
                           staff};
    DrawStaffLines(topLine);
    DrawStaffSystem(frame, region);
    if (region.Split) {
        frame.TopLine = topLine + 8 * s;
        frame.BottomLine = frame.TopLine + 4 * s;
        frame.Part = 2;
        DrawStaffLines(frame.TopLine);
        DrawStaffSystem(frame, region);
    }
    mSurface.reset();
}

}  // namespace corvendi
