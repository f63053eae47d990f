#include "corvendi/Instruments.h"

#include "model/ModelAccess.h"

#include <algorithm>
#include <array>
#include <optional>

#include "corvendi/Enums.h"
#include "corvendi/Platform.h"
#include "model/InstrumentCatalog.h"

namespace corvendi {

namespace {

constexpr int32_t kChannels = 16;
constexpr int32_t kDrumChannel = 9;
// Catalogue entries above the General MIDI programs are single drum sounds.
constexpr int32_t kFirstDrumSoundEntry = 128;
constexpr int32_t kLastCatalogEntry = kCatalogEntries - 1;

bool IsDrum(const Instrument& instrument) { return instrument.Category() == catDrums; }

// A program on channel 9 selects a drum kit, elsewhere a melodic sound: a drum instrument and a
// melodic one with the same Value are different sounds, so they never share a channel or an
// instrument. The channel table below therefore only holds melodic programs.
struct ChannelUse {
    bool used = false;
    int16_t value = 0;
};

void FillFromCatalog(Instrument& instrument, int32_t entryNumber) {
    const CatalogEntry& entry = InstrumentCatalogEntry(entryNumber);
    detail::InstrumentAccess::CategorySet(instrument, entry.Category);
    detail::InstrumentAccess::DefaultClefSet(instrument, entry.DefaultClef);
    detail::InstrumentAccess::DescriptionSet(instrument, entry.Description);
    detail::InstrumentAccess::OffsetSet(instrument, entry.Offset);
    detail::InstrumentAccess::PitchSet(instrument, entry.Pitch);
    detail::RangeAccess::HighSet(*instrument.Range(), entry.RangeHigh);
    detail::RangeAccess::LowSet(*instrument.Range(), entry.RangeLow);
    // A drum-sound entry makes a drum kit (program 0 on channel 9) that starts out playing that
    // sound in its first slot; its key is the entry's range.
    if (entryNumber >= kFirstDrumSoundEntry && IsDrum(instrument)) {
        instrument.SetDrumCode(1, static_cast<int16_t>(entryNumber));
        instrument.SetDrumValue(1, entry.RangeLow);
    }
}

}  // namespace

Instruments::~Instruments() { DetachAll(); }

std::shared_ptr<Instrument> Instruments::Add(const std::string& id, int32_t value) {
    if (value < 0 || value > kLastCatalogEntry) return nullptr;

    // Program numbers only exist for the General MIDI entries; a drum-sound entry matches no
    // instrument by Value.
    const bool requestsProgram = value < kFirstDrumSoundEntry;
    const bool requestsDrum = InstrumentCatalogEntry(value).Category == catDrums;
    for (const auto& instrument : mList) {
        if (instrument->ID() == id) return instrument;
        if (requestsProgram && instrument->Value() == value && IsDrum(*instrument) == requestsDrum)
            return instrument;
    }
    return Make(id, value);
}

std::shared_ptr<Instrument> detail::InstrumentsAccess::AddDistinct(Instruments& i,
                                                                   const std::string& id,
                                                                   int32_t value) {
    if (value < 0 || value > kLastCatalogEntry || i.Item(id)) return nullptr;
    return i.Make(id, value);
}

std::shared_ptr<Instrument> Instruments::Make(const std::string& id, int32_t value) {
    if (Count() >= kMaxInstruments) return nullptr;
    auto instrument = std::make_shared<Instrument>();
    detail::InstrumentAccess::SetParent(*instrument, mParent);
    detail::InstrumentAccess::IDSet(*instrument, id);
    detail::InstrumentAccess::ValueSet(*instrument, value);
    FillFromCatalog(*instrument, value);
    mList.push_back(instrument);
    AssignChannels();
    return instrument;
}

void Instruments::AssignChannels() {
    std::array<ChannelUse, kChannels> channels{};
    for (const auto& instrument : mList) {
        if (IsDrum(*instrument)) continue;
        for (int32_t c = 0; c < kChannels; ++c) {
            if (c == kDrumChannel) continue;
            ChannelUse& use = channels[static_cast<size_t>(c)];
            if (!use.used || use.value == instrument->Value()) {
                use = {true, instrument->Value()};
                break;
            }
        }
    }
    // Instruments that found no free channel keep the one they had.
    for (const auto& instrument : mList) {
        if (IsDrum(*instrument)) {
            detail::InstrumentAccess::ChannelSet(*instrument, kDrumChannel);
            continue;
        }
        for (int32_t c = 0; c < kChannels; ++c) {
            const ChannelUse& use = channels[static_cast<size_t>(c)];
            if (c != kDrumChannel && use.used && use.value == instrument->Value()) {
                detail::InstrumentAccess::ChannelSet(*instrument, c);
                break;
            }
        }
    }
}

std::shared_ptr<Instrument> Instruments::Item(int32_t index) const {
    if (index < 1 || index > Count()) return nullptr;
    return mList[static_cast<size_t>(index - 1)];
}

std::shared_ptr<Instrument> Instruments::Item(const std::string& id) const {
    for (const auto& instrument : mList)
        if (instrument->ID() == id) return instrument;
    return nullptr;
}

void Instruments::RemoveAt(size_t position) {
    detail::InstrumentAccess::SetParent(*mList[position], nullptr);
    mList.erase(mList.begin() + static_cast<std::ptrdiff_t>(position));
    for (size_t i = 0; i < mList.size(); ++i)
        detail::InstrumentAccess::ChannelSet(*mList[i], static_cast<int32_t>(i));
}

void Instruments::Remove(int32_t index) {
    if (index >= 1 && index <= Count()) RemoveAt(static_cast<size_t>(index - 1));
}

void Instruments::Remove(const std::string& id) {
    const auto it = std::find_if(mList.begin(), mList.end(),
                                 [&](const auto& instrument) { return instrument->ID() == id; });
    if (it != mList.end()) RemoveAt(static_cast<size_t>(it - mList.begin()));
}

void Instruments::Clear() {
    DetachAll();
    mList.clear();
}

void Instruments::DetachAll() {
    for (const auto& instrument : mList) detail::InstrumentAccess::SetParent(*instrument, nullptr);
}

std::string Instruments::NewID() const {
    const TimeOfDay now = CurrentPlatform().Now();
    int64_t n = int64_t{now.Hour} * 10000 + now.Minute * 100 + now.Second;
    std::string candidate = "I" + std::to_string(n);
    while (Item(candidate)) candidate = "I" + std::to_string(++n);
    return candidate;
}

}  // namespace corvendi
