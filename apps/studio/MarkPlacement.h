// What a click on the page does with a mark chosen in the marks palette.
#pragma once

#include <corvendi/Score.h>

#include <cstdint>
#include <string>

#include "ViewGeometry.h"

namespace corvendi::studio {

struct MarkChoice {
    int32_t EventType = 0;  // EventTypes; 0 for note entry
    int32_t SubType = 0;
    std::string Text;
    bool ViaMeasureProperties = false;
};

// Places or toggles the mark at `point`, or opens Measure Properties on the measure under the
// point for the marks set there. A chord clicked in the chord row above a staff goes on that
// staff's top line. False for note entry (nothing done).
bool PlaceMark(Score& score, PagePoint point, const MarkChoice& choice);

}  // namespace corvendi::studio
