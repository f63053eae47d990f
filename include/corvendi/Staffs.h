// The score's ordered staffs, keyed by staff ID, with the two counts the measure layout needs:
// how many horizontal note slots a measure takes and how much room its key signatures take.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "corvendi/Export.h"

namespace corvendi {

class DocumentOwner;
class Staff;

namespace detail {
struct StaffsAccess;
}  // namespace detail

class CORVENDI_API Staffs {
  public:
    using List = std::vector<std::shared_ptr<Staff>>;

    explicit Staffs(DocumentOwner* parent = nullptr);
    ~Staffs();
    Staffs(const Staffs&) = delete;
    Staffs& operator=(const Staffs&) = delete;

    int32_t Count() const { return static_cast<int32_t>(mList.size()); }
    // By 1-based position or by ID; nothing when absent.
    std::shared_ptr<Staff> Item(int32_t index) const;
    std::shared_ptr<Staff> Item(const std::string& id) const;

    List::const_iterator begin() const { return mList.begin(); }
    List::const_iterator end() const { return mList.end(); }

    // Number of horizontal note slots the measure [atTime, atTime + duration) needs over all
    // staffs and voices: an even number, at least 4. Measures are at most 96 ticks long; a
    // longer duration is counted over its first 96 ticks.
    int32_t ItemCount(int32_t atTime, int32_t duration) const;
    // The largest number of sharps or flats among the owner's key and every staff's key at the
    // end of the measure.
    int32_t KeyCount(int32_t atTime, int32_t duration) const;

    // "S" followed by the time of day read as a number, increased until no staff has it.
    std::string NewID() const;

  private:
    friend struct detail::StaffsAccess;

    // 0-based position of the staff with this ID, or -1.
    int32_t PositionOf(const std::string& id) const;
    void RemoveAt(int32_t position);
    void ReplaceAt(int32_t position, const std::shared_ptr<Staff>& staff);
    void Renumber();

    List mList;
    DocumentOwner* mParent = nullptr;
};

}  // namespace corvendi
