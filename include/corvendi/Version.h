#pragma once

#include "corvendi/Export.h"

namespace corvendi {

// The library's version, "major.minor.patch".
CORVENDI_API const char* VersionString();

}  // namespace corvendi
