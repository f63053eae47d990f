// A scratch folder for fuzz targets that go through files: in memory where /dev/shm exists, one
// per target and process, so parallel fuzzing jobs never share a file.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

namespace corvendi::fuzz {

inline std::filesystem::path MakeScratchFolder(const std::string& target) {
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base)) base = std::filesystem::temp_directory_path();
    auto path = base / ("corvendi-fuzz-" + target + "-" + std::to_string(::getpid()));
    std::filesystem::create_directories(path);
    return path;
}

inline void WriteFile(const std::filesystem::path& path, std::string_view data) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
}

}  // namespace corvendi::fuzz
