// All voices of a score, in the order they were added, keyed by ID.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "corvendi/DocumentOwner.h"
#include "corvendi/Export.h"
#include "corvendi/Voice.h"

namespace corvendi {

class Instrument;

namespace detail {
struct VoicesAccess;
}  // namespace detail

class CORVENDI_API Voices {
  public:
    using List = std::vector<std::shared_ptr<corvendi::Voice>>;

    Voices() = default;
    ~Voices();
    Voices(const Voices&) = delete;
    Voices& operator=(const Voices&) = delete;

    // A new voice numbered Count() + 1 that plays `instrument`. When a voice with this ID exists
    // it is returned unchanged and the other arguments are ignored.
    std::shared_ptr<corvendi::Voice> Add(const std::string& id,
                                         const std::shared_ptr<corvendi::Instrument>& instrument,
                                         const std::string& description);

    // By 1-based position or by ID; nothing when absent.
    std::shared_ptr<corvendi::Voice> Item(int32_t index) const;
    std::shared_ptr<corvendi::Voice> Item(const std::string& id) const;
    int32_t Count() const { return static_cast<int32_t>(mList.size()); }
    List::const_iterator begin() const { return mList.begin(); }
    List::const_iterator end() const { return mList.end(); }

    // Removing renumbers the tracks of the others by position. Absent items are ignored.
    void Remove(int32_t index);
    void Remove(const std::string& id);
    void Clear();

    // "V" followed by the time of day as a number (hhnnss), counted up until unused.
    std::string NewID() const;

  private:
    friend struct detail::VoicesAccess;

    void RemoveAt(size_t position);
    void DetachAll();

    List mList;
    DocumentOwner* mParent = nullptr;
};

}  // namespace corvendi
