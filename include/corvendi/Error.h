// The one exception type of the engine. Errors that end a call and reach the host are thrown as
// corvendi::Error with a stable identifier and a readable message. The identifiers in use are
// listed under "Errors" in docs/ARCHITECTURE.md; once published an identifier is never renamed.
#pragma once

#include <stdexcept>
#include <string>

#include "corvendi/Export.h"

namespace corvendi {

class CORVENDI_API Error : public std::runtime_error {
  public:
    Error(std::string id, const std::string& message)
        : std::runtime_error("[corvendi." + id + "] " + message),
          mId(std::move(id)),
          mMessage(message) {}

    // A stable, dotted identifier such as "file.open" that tests and hosts may rely on.
    const std::string& Id() const noexcept { return mId; }
    // The message without the identifier, for showing to a user.
    const std::string& Message() const noexcept { return mMessage; }

  private:
    std::string mId;
    std::string mMessage;
};

}  // namespace corvendi
