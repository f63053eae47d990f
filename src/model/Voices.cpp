#include "corvendi/Voices.h"

#include "model/ModelAccess.h"

#include <algorithm>

#include "corvendi/Instrument.h"
#include "corvendi/Platform.h"

namespace corvendi {

Voices::~Voices() { DetachAll(); }

std::shared_ptr<Voice> Voices::Add(const std::string& id,
                                   const std::shared_ptr<Instrument>& instrument,
                                   const std::string& description) {
    if (auto existing = Item(id)) return existing;
    auto voice = std::make_shared<Voice>();
    detail::VoiceAccess::SetParent(*voice, mParent);
    detail::VoiceAccess::IDSet(*voice, id);
    voice->SetTrack(Count() + 1);
    detail::VoiceAccess::SetInstrumentID(*voice, instrument ? instrument->ID() : std::string());
    voice->SetDescription(description);
    mList.push_back(voice);
    return voice;
}

std::shared_ptr<Voice> Voices::Item(int32_t index) const {
    if (index < 1 || index > Count()) return nullptr;
    return mList[static_cast<size_t>(index - 1)];
}

std::shared_ptr<Voice> Voices::Item(const std::string& id) const {
    for (const auto& voice : mList)
        if (voice->ID() == id) return voice;
    return nullptr;
}

void Voices::RemoveAt(size_t position) {
    detail::VoiceAccess::SetParent(*mList[position], nullptr);
    mList.erase(mList.begin() + static_cast<std::ptrdiff_t>(position));
    for (size_t i = 0; i < mList.size(); ++i) mList[i]->SetTrack(static_cast<int32_t>(i + 1));
}

void Voices::Remove(int32_t index) {
    if (index >= 1 && index <= Count()) RemoveAt(static_cast<size_t>(index - 1));
}

void Voices::Remove(const std::string& id) {
    const auto it = std::find_if(mList.begin(), mList.end(),
                                 [&](const auto& voice) { return voice->ID() == id; });
    if (it != mList.end()) RemoveAt(static_cast<size_t>(it - mList.begin()));
}

void Voices::Clear() {
    DetachAll();
    mList.clear();
}

void Voices::DetachAll() {
    for (const auto& voice : mList) detail::VoiceAccess::SetParent(*voice, nullptr);
}

std::string Voices::NewID() const {
    const TimeOfDay now = CurrentPlatform().Now();
    int64_t n = int64_t{now.Hour} * 10000 + now.Minute * 100 + now.Second;
    std::string candidate = "V" + std::to_string(n);
    while (Item(candidate)) candidate = "V" + std::to_string(++n);
    return candidate;
}

}  // namespace corvendi
