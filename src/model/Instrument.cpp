#include "corvendi/Instrument.h"

#include "model/ModelAccess.h"

#include "common/Arith.h"
#include "corvendi/Enums.h"

namespace corvendi {

namespace {
constexpr int16_t kDrumChannel = 9;
}

std::shared_ptr<Range> Instrument::Range() const {
    if (!mRange) mRange = std::make_shared<corvendi::Range>();
    return mRange;
}

int32_t Instrument::Group() const {
    switch (mCategory) {
        case catWind:
        case catReed: return grpWind;
        case catBrass: return grpBrass;
        case catString:
        case catGuitar: return grpString;
        case catPercussion:
        case catDrums: return grpPercussion;
        case catGrand: return grpPiano;
        default: return grpSolo;
    }
}

int16_t Instrument::DrumCode(int32_t index) const {
    return IsDrumSlot(index) ? mDrumCode[static_cast<size_t>(index - 1)] : 0;
}

void Instrument::SetDrumCode(int32_t index, int16_t value) {
    if (IsDrumSlot(index)) mDrumCode[static_cast<size_t>(index - 1)] = value;
}

int16_t Instrument::DrumValue(int32_t index) const {
    return IsDrumSlot(index) ? mDrumValue[static_cast<size_t>(index - 1)] : 0;
}

void Instrument::SetDrumValue(int32_t index, int16_t value) {
    if (IsDrumSlot(index)) mDrumValue[static_cast<size_t>(index - 1)] = value;
}

void detail::InstrumentAccess::CategorySet(Instrument& i, int32_t category) {
    i.mCategory = category;
    if (category == catDrums) {
        i.mChannel = kDrumChannel;
        i.mDrumCode.fill(0);
        i.mDrumValue.fill(0);
    }
}

void detail::InstrumentAccess::ChannelSet(Instrument& i, int32_t channel) {
    if (InRange(channel, 0, 15)) i.mChannel = static_cast<int16_t>(channel);
}

void detail::InstrumentAccess::OffsetSet(Instrument& i, int32_t semitones) {
    const bool accepted = i.mCategory == catDrums
                              ? InRange<int32_t>(semitones, INT16_MIN, INT16_MAX)
                              : InRange(semitones, -12, 12);
    if (accepted) i.mOffset = static_cast<int16_t>(semitones);
}

void detail::InstrumentAccess::PitchSet(Instrument& i, int32_t keySteps) {
    if (InRange(keySteps, -7, 7)) i.mPitch = static_cast<int16_t>(keySteps);
}

void detail::InstrumentAccess::ValueSet(Instrument& i, int32_t program) {
    if (InRange(program, 0, 127)) i.mValue = static_cast<int16_t>(program);
}

// The range keeps its object (a host may hold it); only its values go back.
void detail::InstrumentAccess::SwapValues(Instrument& i, InstrumentValues& v) {
    std::swap(i.mCategory, v.Category);
    std::swap(i.mChannel, v.Channel);
    std::swap(i.mDefaultClef, v.DefaultClef);
    std::swap(i.mDescription, v.Description);
    std::swap(i.mDrumCode, v.DrumCode);
    std::swap(i.mDrumValue, v.DrumValue);
    std::swap(i.mID, v.ID);
    std::swap(i.mOffset, v.Offset);
    std::swap(i.mPitch, v.Pitch);
    std::swap(i.mValue, v.Value);
    const auto range = i.Range();
    const int32_t low = range->Low();
    const int32_t high = range->High();
    RangeAccess::LowSet(*range, v.RangeLow);
    RangeAccess::HighSet(*range, v.RangeHigh);
    v.RangeLow = low;
    v.RangeHigh = high;
}

}  // namespace corvendi
