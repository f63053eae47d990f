// Redrawing one staff of one system after an edit that changed nothing else: the system's
// measures are rebuilt from the staff's hit region instead of by line breaking.
#include <algorithm>

#include "common/Arith.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

void PageLayout::RedrawRegion(Region& region) {
    if (!mScore.mWindow || !mScore.mStaffs || region.Measures() < 1) return;
    std::shared_ptr<corvendi::Staff> staff;
    for (const auto& candidate : *mScore.mStaffs) {
        if (candidate && candidate->Index() == region.Staff) staff = candidate;
    }
    const auto first = region.Measure(0);
    if (!staff || !first) return;

    mSurface = mScore.mWindow;
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
        if (mScore.mGlobals) duration = mScore.mGlobals->MeasureInfo(time).Duration;
        time = ClampCoord(static_cast<int64_t>(time) + std::max(duration, 1));
    }
    mSystem.End = time;
    SetBarlinePositions();

    const int32_t s = mMetrics.LineSpacing;
    const int32_t topLine = region.Top + region.PadTop;
    StaffSystemFrame frame{mMusicLeft, topLine, mRightLimit, topLine + 4 * s, 1, staff->Index(),
                           mSystem.Start, -1, staff};
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
