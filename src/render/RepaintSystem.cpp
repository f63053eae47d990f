// Repainting the systems of the drawn page after an edit that left the layout as it was: their
// band is erased with the surface's background and each staff is drawn again from its region.
#include <algorithm>
#include <memory>
#include <vector>

#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreState.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"

namespace corvendi {

namespace {

// Measure flags are 16-bit values.
constexpr int32_t kFlagWord = 65535;

int32_t TopLineOf(const Region& region) { return region.Top + region.PadTop; }

// The bottom line of the region's staff (of the lower staff of a grand staff).
int32_t BottomLineOf(const Region& region) {
    const int32_t spacings = region.Split ? 12 : 4;
    return ClampCoord(int64_t{TopLineOf(region)} + int64_t{spacings} * region.IncY);
}

}  // namespace

void PageLayout::RepaintSystem(int32_t regionIndex, bool toEndOfPage, int32_t measureIndex,
                               int32_t setBits, int32_t clearBits) {
    using detail::ScoreAccess;
    auto& regions = ScoreAccess::Regions(mScore);
    const auto& state = ScoreAccess::State(mScore);
    const auto& window = ScoreAccess::WindowRef(mScore);
    const auto count = static_cast<int32_t>(regions.size());
    if (regionIndex < 1 || regionIndex > count) return;
    if (std::any_of(regions.begin(), regions.end(), [](const auto& r) { return !r; })) return;
    if (!mScore.Redraw() && !state.Paginating) {
        ScoreAccess::PaintPendingSet(mScore, true);
        return;
    }
    if (state.Painting || state.PaginateBusy || !window) return;

    // The system: back to its first region, on to the region before the next system's first.
    auto first = static_cast<size_t>(regionIndex - 1);
    while (first > 0 && !regions[first]->First) --first;
    auto last = static_cast<size_t>(regionIndex - 1);
    if (toEndOfPage) {
        last = regions.size() - 1;
    } else {
        while (last + 1 < regions.size() && !regions[last + 1]->First) ++last;
    }

    int32_t left = regions[first]->Left;
    int32_t right = regions[first]->Right;
    for (size_t i = first; i <= last; ++i) {
        Region& region = *regions[i];
        if (measureIndex >= 0) {
            const int32_t flags = region.MeasureFlag(measureIndex);
            region.SetMeasureFlag(measureIndex, (flags | setBits) & (kFlagWord - clearBits));
        }
        left = std::min(left, region.Left);
        right = std::max(right, region.Right);
    }

    const Region& top = *regions[first];
    const Region& bottom = *regions[last];
    mSurface = window;
    // The band reaches half a staff space above the system's top: on page 1 the first system
    // stands right under the title block, whose last line (heading, composer) must stay.
    const int32_t bandTop = std::max(top.Top - top.PadTop, mShownTitleBottom);
    DrawLine(mSurface->BackColor(), left, bandTop, right, bottom.Bottom + bottom.PadBottom,
             LineFill::FilledBox);
    mSurface.reset();
    for (size_t i = first; i <= last; ++i) RedrawRegion(*regions[i]);

    // The erased band took the systems' left barlines with it.
    mSurface = window;
    for (size_t i = first; i <= last; ++i) {
        if (!regions[i]->First) continue;
        size_t end = i;
        while (end + 1 <= last && !regions[end + 1]->First) ++end;
        const Region& system = *regions[i];
        DrawLine(state.Colors.Bars, system.Left, TopLineOf(system), system.Left,
                 BottomLineOf(*regions[end]));
    }
    mSurface.reset();
}

}  // namespace corvendi
