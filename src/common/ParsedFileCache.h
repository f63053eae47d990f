// Configuration files parsed once per process. Every score and every thread asks for the same
// few files (the instrument catalogue, the chord data, the music-font map); the first asker
// reads and parses one, later askers share the result while the file keeps its modification
// time and size, and a changed file is parsed again.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace corvendi {

template <typename Parsed>
class ParsedFileCache {
  public:
    // The parsed contents of the regular file at `path`, made by `parse(bytes)` when the file is
    // new to the cache or has changed; null when it is not a readable regular file.
    template <typename Parse>
    std::shared_ptr<const Parsed> Get(const std::string& path, Parse&& parse) {
        namespace fs = std::filesystem;
        std::error_code error;
        if (!fs::is_regular_file(path, error)) return nullptr;
        const Stamp stamp{fs::last_write_time(path, error), fs::file_size(path, error)};
        if (error) return nullptr;
        std::lock_guard<std::mutex> lock(mMutex);
        auto found = mEntries.find(path);
        if (found != mEntries.end() && found->second.When == stamp) return found->second.Value;
        std::ifstream in(path, std::ios::binary);
        if (!in) return nullptr;
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        if (in.bad()) return nullptr;
        auto parsed = std::make_shared<const Parsed>(parse(std::string_view(bytes)));
        mEntries[path] = Entry{stamp, parsed};
        return parsed;
    }

  private:
    struct Stamp {
        std::filesystem::file_time_type Modified;
        std::uintmax_t Size = 0;
        bool operator==(const Stamp&) const = default;
    };
    struct Entry {
        Stamp When;
        std::shared_ptr<const Parsed> Value;
    };
    std::mutex mMutex;
    std::map<std::string, Entry> mEntries;
};

}  // namespace corvendi
