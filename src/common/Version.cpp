#include "corvendi/Version.h"

namespace corvendi {

const char* VersionString() { return CORVENDI_VERSION_STRING; }

}  // namespace corvendi
