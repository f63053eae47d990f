#include "corvendi/Region.h"

#include <utility>

namespace corvendi {

void Region::SetMeasures(int32_t count) {
    if (count < 0 || count > kMaxMeasures || count == Measures()) return;
    const auto n = static_cast<size_t>(count);
    mMeasure.resize(n);
    for (auto& range : mMeasure) range = std::make_shared<Range>();
    mMeasurePad.assign(n, 0);
    mMeasureFlag.assign(n, 0);
}

std::shared_ptr<Range> Region::Measure(int32_t i) const {
    return Valid(i) ? mMeasure[static_cast<size_t>(i)] : nullptr;
}

void Region::SetMeasure(int32_t i, std::shared_ptr<Range> range) {
    if (Valid(i) && range) mMeasure[static_cast<size_t>(i)] = std::move(range);
}

int32_t Region::MeasurePad(int32_t i) const {
    return Valid(i) ? mMeasurePad[static_cast<size_t>(i)] : 0;
}

void Region::SetMeasurePad(int32_t i, int32_t pad) {
    if (Valid(i)) mMeasurePad[static_cast<size_t>(i)] = pad;
}

int32_t Region::MeasureFlag(int32_t i) const {
    return Valid(i) ? mMeasureFlag[static_cast<size_t>(i)] : 0;
}

void Region::SetMeasureFlag(int32_t i, int32_t flags) {
    if (Valid(i)) mMeasureFlag[static_cast<size_t>(i)] = flags;
}

}  // namespace corvendi
