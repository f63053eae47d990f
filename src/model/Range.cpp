#include "corvendi/Range.h"

namespace corvendi {

void Range::LowSet(int32_t value) {
    if (value >= 0) mLow = value;
}

void Range::HighSet(int32_t value) {
    if (value >= 0) mHigh = value;
}

}  // namespace corvendi
