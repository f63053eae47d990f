#include "MarkPlacement.h"

#include <corvendi/Enums.h>
#include <corvendi/Region.h>

namespace corvendi::studio {

namespace {

// How far above a staff the chord row reaches, in twips (an inch), and the step searched in.
constexpr int32_t kChordRowReach = 1440;
constexpr int32_t kSearchStep = 15;

// A click in the chord row above a staff counts as a click on that staff's top line.
PagePoint OntoChordStaff(const Score& score, PagePoint point) {
    if (score.InRegion(point.X, point.Y)) return point;
    for (int32_t y = point.Y; y <= point.Y + kChordRowReach; y += kSearchStep) {
        if (const auto region = score.InRegion(point.X, y))
            return PagePoint{point.X, region->Top + region->PadTop};
    }
    return point;
}

}  // namespace

bool PlaceMark(Score& score, PagePoint point, const MarkChoice& choice) {
    if (choice.EventType == 0) return false;
    if (choice.ViaMeasureProperties) {
        score.SetActiveByHit(point.X, point.Y);
        score.ShowDialog(dlgMeasureProperties);
        return true;
    }
    const PagePoint at = choice.EventType == evtChord ? OntoChordStaff(score, point) : point;
    score.AddGlobalByHit(at.X, at.Y, choice.EventType, choice.SubType, choice.Text);
    return true;
}

}  // namespace corvendi::studio
