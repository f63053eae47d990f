#include "corvendi/FileName.h"

#include <cctype>

namespace corvendi {

std::string FileExtension(const std::string& path) {
    // From the last dot of the last part of the path: ".pdf" alone is an extension too.
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string extension = path.substr(dot);
    for (char& c : extension) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::optional<FileFormats> FileFormatOf(const std::string& path) {
    const std::string extension = FileExtension(path);
    if (extension == ".sco") return fmtQuavrix;
    if (extension == ".mid" || extension == ".midi") return fmtMIDI;
    return std::nullopt;
}

}  // namespace corvendi
