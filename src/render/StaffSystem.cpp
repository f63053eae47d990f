// The contents of one staff in one system: the measures at the widths line breaking gave them,
// each recorded in the staff's region (width, start time, note pad) and closed by its barline.
#include <algorithm>
#include <cstdlib>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

bool IsDrumStaff(const Staff& staff) {
    const auto voice = staff.Voice(1);
    const auto instrument = voice ? voice->Instrument() : nullptr;
    return instrument && instrument->Category() == catDrums;
}

}  // namespace

int32_t PageLayout::FirstMeasurePad(const StaffSystemFrame& frame) const {
    const int32_t s = mMetrics.LineSpacing;
    const int32_t staffHeight = LayoutStaffHeight(mScore);
    // The clef takes a staff height; a key signature a line spacing before its first sign and
    // after each.
    int32_t x = staffHeight;
    if (frame.Staff && !IsDrumStaff(*frame.Staff)) {
        const int32_t signs = std::abs(std::clamp(frame.Staff->CurKey(frame.Start), -7, 7));
        if (signs > 0) x += (signs + 1) * s;
    }
    const bool timeSignature =
        frame.Start == 0 ||
        (mScore.mGlobals && mScore.mGlobals->Find(frame.Start, evtTimeChange, true) != nullptr);
    if (timeSignature) x += NInt(0.7 * staffHeight);
    return x + s + IDiv(s, 2);
}

void PageLayout::DrawStaffSystem(const StaffSystemFrame& frame, Region& region) {
    const int32_t s = mMetrics.LineSpacing;
    const int32_t barColor = mScore.mColors.Bars;
    for (int32_t j = 0; j < mSystem.Count; ++j) {
        const auto slot = static_cast<size_t>(j);
        if (const auto measure = region.Measure(j)) {
            measure->LowSet(mSystem.Width[slot]);
            measure->HighSet(mSystem.Time[slot]);
        }
        region.SetMeasurePad(j, j == 0 ? FirstMeasurePad(frame) : 2 * s);
        const int32_t x = mSystem.BarX[slot];
        DrawLine(barColor, x, frame.TopLine, x, frame.BottomLine);
    }
}

}  // namespace corvendi
