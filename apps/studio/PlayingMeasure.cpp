#include "PlayingMeasure.h"

#include <corvendi/GlobalEvents.h>
#include <corvendi/Range.h>
#include <corvendi/Region.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace corvendi::studio {

namespace {

// The page's staff regions, found by probing down the page: the score answers hit tests only.
constexpr int32_t kProbeStep = 30;

std::vector<std::shared_ptr<Region>> PageRegions(const Score& score) {
    std::vector<std::shared_ptr<Region>> regions;
    const int32_t x = score.SheetWidthTw() / 2;
    for (int32_t y = 0; y < score.SheetHeightTw(); y += kProbeStep) {
        const auto region = score.InRegion(x, y);
        if (region && (regions.empty() || regions.back() != region)) regions.push_back(region);
    }
    return regions;
}

}  // namespace

PlayingMeasure FindPlayingMeasure(const Score& score, int32_t time) {
    const auto regions = PageRegions(score);
    const auto globals = score.AllGlobals();
    if (regions.empty() || !globals) return {};
    const int32_t start = globals->MeasureTime(globals->MeasureInfo(std::max(time, 0)).Number);
    if (start < regions.front()->Time) return {MeasurePlace::EarlierPage, {}};
    for (const auto& region : regions) {
        int32_t x = region->Left;
        for (int32_t i = 0; i < region->Measures(); ++i) {
            const auto measure = region->Measure(i);
            if (!measure) break;
            if (measure->High() != start) {
                x += measure->Low();
                continue;
            }
            // Every staff of the system: the regions starting at the same time.
            int32_t top = region->Top;
            int32_t bottom = region->Bottom;
            for (const auto& other : regions) {
                if (other->Time != region->Time) continue;
                top = std::min(top, other->Top);
                bottom = std::max(bottom, other->Bottom);
            }
            return {MeasurePlace::OnPage, {{x, top}, {x + measure->Low(), bottom}}};
        }
    }
    return {};
}

}  // namespace corvendi::studio
