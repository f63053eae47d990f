#pragma once

namespace corvendi {

// The library's version, "major.minor.patch".
const char* VersionString();

}  // namespace corvendi
