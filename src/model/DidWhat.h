// One entry of the undo history: what a mouse edit did, enough to take it back.
#pragma once

#include <cstdint>
#include <string>

namespace corvendi {

struct DidWhat {
    int32_t AtTime = 0;  // time of the edit in ticks
    int32_t What = 0;    // kind of edit: 1 note added; 3..8 score and staff events
    std::string Text;    // event text (the old text for removals and changes)
    int32_t Data1 = 0;   // note: staff index; event: event type
    int32_t Data2 = 0;   // note: voice number; event: first value (old value for changes)
    int32_t Data3 = 0;   // event: second value (old value for changes)
    int32_t Data4 = 0;   // staff event: staff index; otherwise 0

    bool operator==(const DidWhat&) const = default;
};

}  // namespace corvendi
