#include "corvendi/Note.h"

#include "model/ModelAccess.h"

#include <cstddef>

namespace corvendi {

namespace {
constexpr uint8_t kMaxValueCount = 255;  // the count is a byte
constexpr int32_t kValueMask = 127;
}  // namespace

Note::Note() : mValues(kInitialUpperBound + 1, 0) {}

int16_t Note::AddValue(uint8_t value) {
    if (mValueCount == 0) {
        mValues[0] = value;
        mValueCount = 1;
        return 0;
    }
    const int16_t existing = IndexOfLast(value);
    if (existing >= 0) return existing;
    if (mValueCount == kMaxValueCount) return -1;

    if (mValueCount > mValueUB) {
        mValueUB = static_cast<uint8_t>(mValueUB + kGrowStep);
        mValues.resize(static_cast<std::size_t>(mValueUB) + 1, 0);
    }
    const int16_t storedAt = InsertFromTop(value);
    ++mValueCount;
    return storedAt;
}

// Walks down from the highest value, moving each larger-or-equal value up one slot, and stores
// `value` just above the first smaller one (or at 0). Works on whatever order the values are in.
int16_t Note::InsertFromTop(uint8_t value) {
    for (int16_t j = static_cast<int16_t>(mValueCount - 1); j >= 0; --j) {
        if (value > mValues[j]) {
            mValues[j + 1] = value;
            return static_cast<int16_t>(j + 1);
        }
        mValues[j + 1] = mValues[j];
    }
    mValues[0] = value;
    return 0;
}

// Duplicates cannot come from AddValue, but SetValue may create them.
int16_t Note::IndexOfLast(uint8_t value) const {
    for (int16_t i = static_cast<int16_t>(mValueCount - 1); i >= 0; --i) {
        if (mValues[i] == value) return i;
    }
    return -1;
}

bool Note::RemoveValue(uint8_t value) {
    for (int32_t i = 0; i < mValueCount; ++i) {
        if (mValues[i] != value) continue;
        for (int32_t j = i; j + 1 < mValueCount; ++j) mValues[j] = mValues[j + 1];
        --mValueCount;
        return true;
    }
    return false;
}

void Note::SetSingleValue() {
    mValues.resize(kInitialUpperBound + 1, 0);
    mValueUB = kInitialUpperBound;
    mValueCount = 1;
}

uint8_t Note::Value(int32_t index) const {
    if (index < 0 || index >= mValueCount) return 0;
    return mValues[static_cast<std::size_t>(index)];
}

void Note::SetValue(int32_t index, int32_t value) {
    if (index < 0 || index >= mValueCount) return;
    mValues[static_cast<std::size_t>(index)] = static_cast<uint8_t>(value & kValueMask);
}

void Note::SetBit(uint8_t bit, bool on) {
    mBits = static_cast<uint8_t>(on ? (mBits | bit) : (mBits & ~bit));
}

}  // namespace corvendi
