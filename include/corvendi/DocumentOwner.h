// What the document's collections and items need from the score that owns them. `Score`
// implements it; model classes hold a non-owning pointer to it (null once detached).
#pragma once

#include <cstdint>
#include <memory>

#include "corvendi/Export.h"

namespace corvendi {

class Voices;
class Instruments;
class Staffs;
class GlobalEvents;

class CORVENDI_API DocumentOwner {
  public:
    virtual ~DocumentOwner() = default;

    virtual std::shared_ptr<Voices> AllVoices() const = 0;
    virtual std::shared_ptr<Instruments> AllInstruments() const = 0;
    virtual std::shared_ptr<Staffs> AllStaffs() const = 0;
    virtual std::shared_ptr<GlobalEvents> AllGlobals() const = 0;
    // The key of the active position: sharps positive, flats negative.
    virtual int32_t Key() const = 0;
};

}  // namespace corvendi
