// Where the measure sounding at a time stands on the current page: the rectangle over that
// measure across every staff of its system, for the highlight drawn during playback.
#pragma once

#include <corvendi/Score.h>

#include <cstdint>
#include <optional>

#include "ViewGeometry.h"

namespace corvendi::studio {

struct PageBox {
    PagePoint From;  // top left, page twips
    PagePoint To;    // bottom right
};

enum class MeasurePlace { OnPage, LaterPage, EarlierPage };

struct PlayingMeasure {
    MeasurePlace Place = MeasurePlace::LaterPage;
    PageBox Box;  // when OnPage
};

// Finds the measure holding `time` among the staff regions the score recorded while painting
// its current page.
PlayingMeasure FindPlayingMeasure(const Score& score, int32_t time);

}  // namespace corvendi::studio
