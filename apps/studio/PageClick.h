// What a primary click on the page does: places the mark chosen in the marks palette, or with the
// select tool makes the staff and measure under it the active ones, or enters a note of the
// duration chosen in the note palette.
#pragma once

#include <corvendi/Score.h>

#include <cstdint>

#include "MarkPlacement.h"
#include "ViewGeometry.h"

namespace corvendi::studio {

struct EntryChoice {
    bool Selecting = false;  // the select tool instead of a duration
    int32_t Duration = 16;   // NoteDurations
    int32_t Flags = 0;       // NoteFlags: dot, triplet, grace
    int32_t Snap = 0;        // NoteDurations, 0 for none
};

enum class PageClick { Mark, Activate, Note };

PageClick ClickOnPage(Score& score, PagePoint point, const MarkChoice& mark,
                      const EntryChoice& entry);

}  // namespace corvendi::studio
