#include "FontPathCache.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace corvendi::cairoimpl {

namespace {

constexpr const char* kHeader = "corvendi-font-paths 1";
// A hostile or damaged file cannot make the cache large.
constexpr size_t kMaxLines = 100000;

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, '\t')) fields.push_back(field);
    return fields;
}

std::optional<int64_t> ParseInt(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 10);
    if (*end != '\0') return std::nullopt;
    return value;
}

// Tabs and line feeds cannot be stored; names holding them are simply not cached.
bool Storable(const std::string& text) { return text.find_first_of("\t\n\r") == std::string::npos; }

}  // namespace

FontPathCache::FontPathCache(std::string file) : mFile(std::move(file)) {}

std::string FontPathCache::DefaultFile() {
    if (const char* cache = std::getenv("XDG_CACHE_HOME"); cache && *cache == '/')
        return std::string(cache) + "/corvendi/font-paths";
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return std::string(home) + "/.cache/corvendi/font-paths";
    return {};
}

FontPathCache::Stamp FontPathCache::StampOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {path, -1};
    return {path, static_cast<int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

void FontPathCache::Load() {
    mLoaded = true;
    if (mFile.empty()) return;
    std::ifstream in(mFile);
    std::string line;
    if (!std::getline(in, line) || line != kHeader) return;
    size_t lines = 0;
    while (std::getline(in, line) && ++lines < kMaxLines) {
        const std::vector<std::string> f = SplitTabs(line);
        if (f.size() == 3 && f[0] == "stamp") {
            if (auto time = ParseInt(f[2])) mStamps.push_back({f[1], *time});
        } else if (f.size() == 7 && f[0] == "font") {
            const auto index = ParseInt(f[5]);
            if (!index || *index < 0 || *index > INT32_MAX) continue;
            FontFile file{f[4], static_cast<int32_t>(*index), f[6]};
            mFonts[Key{f[1], f[2] == "1", f[3] == "1"}] = file;
        }
    }
    mValid = !mStamps.empty() && StampsHold();
    if (!mValid) mFonts.clear();
}

bool FontPathCache::StampsHold() const {
    for (const Stamp& stamp : mStamps) {
        if (!(StampOf(stamp.Path) == stamp)) return false;
    }
    return true;
}

std::optional<FontFile> FontPathCache::Find(const std::string& family, bool bold, bool italic) {
    if (!mLoaded) Load();
    if (!mValid) return std::nullopt;
    auto found = mFonts.find(Key{family, bold, italic});
    if (found == mFonts.end()) return std::nullopt;
    return found->second;
}

void FontPathCache::Store(const std::string& family, bool bold, bool italic, const FontFile& file,
                          const std::vector<std::string>& stampedPaths) {
    if (!mLoaded) Load();
    std::vector<Stamp> stamps;
    for (const std::string& path : stampedPaths) stamps.push_back(StampOf(path));
    if (!mValid || stamps != mStamps) {
        // The world changed since the entries were found (or nothing was cached): start over.
        mFonts.clear();
        mStamps = std::move(stamps);
        mValid = !mStamps.empty();
    }
    if (!Storable(family) || !Storable(file.Path) || !Storable(file.Family)) return;
    mFonts[Key{family, bold, italic}] = file;
    Save();
}

void FontPathCache::Save() const {
    if (mFile.empty() || !mValid) return;
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_directories(fs::path(mFile).parent_path(), error);
    // Written beside and renamed over, so a reader never sees half a file.
    const std::string temporary = mFile + "." + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << kHeader << '\n';
        for (const Stamp& stamp : mStamps)
            out << "stamp\t" << stamp.Path << '\t' << stamp.Time << '\n';
        for (const auto& [key, file] : mFonts) {
            const auto& [family, bold, italic] = key;
            out << "font\t" << family << '\t' << (bold ? 1 : 0) << '\t' << (italic ? 1 : 0) << '\t'
                << file.Path << '\t' << file.Index << '\t' << file.Family << '\n';
        }
        if (!out) {
            out.close();
            fs::remove(temporary, error);
            return;
        }
    }
    fs::rename(temporary, mFile, error);
    if (error) fs::remove(temporary, error);
}

}  // namespace corvendi::cairoimpl
