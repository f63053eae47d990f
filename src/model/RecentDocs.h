// The freedesktop recently-used list (an XBEL file shared by the desktop's applications).
#pragma once

#include <chrono>
#include <string>

namespace corvendi {

// Adds documentPath (UTF-8; made absolute) to the XBEL list in listFile, replacing an earlier
// entry for the same file so that it becomes the most recent. The list is created when missing;
// a file that is not an XBEL list is left untouched. Returns whether the list was written.
bool AddToRecentlyUsedList(const std::string& listFile, const std::string& documentPath,
                           std::chrono::system_clock::time_point when);

// "file://" followed by the absolute path with every byte outside the unreserved set and "/"
// percent-encoded.
std::string FileUri(const std::string& absolutePath);

}  // namespace corvendi
