#include "MarkPlacement.h"

#include <corvendi/Enums.h>

namespace corvendi::studio {

bool PlaceMark(Score& score, PagePoint point, const MarkChoice& choice) {
    if (choice.EventType == 0) return false;
    if (choice.ViaMeasureProperties) {
        score.SetActiveByHit(point.X, point.Y);
        score.ShowDialog(dlgMeasureProperties);
        return true;
    }
    score.AddGlobalByHit(point.X, point.Y, choice.EventType, choice.SubType, choice.Text);
    return true;
}

}  // namespace corvendi::studio
