// The instruments a score uses (at most 16), in the order they were added, keyed by ID.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "corvendi/DocumentOwner.h"
#include "corvendi/Export.h"
#include "corvendi/Instrument.h"

namespace corvendi {

namespace detail {
struct InstrumentsAccess;
}  // namespace detail

class CORVENDI_API Instruments {
  public:
    static constexpr int32_t kMaxInstruments = 16;
    using List = std::vector<std::shared_ptr<corvendi::Instrument>>;

    Instruments() = default;
    ~Instruments();
    Instruments(const Instruments&) = delete;
    Instruments& operator=(const Instruments&) = delete;

    // Makes an instrument from catalogue entry `value` (0..174) and assigns MIDI channels to all
    // instruments. An instrument with the same ID, or playing the same program, is returned
    // instead of a new one. Nothing for an entry outside the catalogue or a full collection.
    std::shared_ptr<corvendi::Instrument> Add(const std::string& id, int32_t value);

    // By 1-based position or by ID; nothing when absent.
    std::shared_ptr<corvendi::Instrument> Item(int32_t index) const;
    std::shared_ptr<corvendi::Instrument> Item(const std::string& id) const;
    int32_t Count() const { return static_cast<int32_t>(mList.size()); }
    List::const_iterator begin() const { return mList.begin(); }
    List::const_iterator end() const { return mList.end(); }

    // Removing renumbers the channels of the others by position (0, 1, ...). Absent items are
    // ignored.
    void Remove(int32_t index);
    void Remove(const std::string& id);
    void Clear();

    // "I" followed by the time of day as a number (hhnnss), counted up until unused.
    std::string NewID() const;

  private:
    friend struct detail::InstrumentsAccess;

    std::shared_ptr<corvendi::Instrument> Make(const std::string& id, int32_t value);
    void RemoveAt(size_t position);
    void AssignChannels();
    void DetachAll();

    List mList;
    DocumentOwner* mParent = nullptr;
};

}  // namespace corvendi
