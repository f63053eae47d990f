#include "FontFiles.h"

#include "FontPathCache.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <utility>

namespace corvendi::cairoimpl {

namespace fs = std::filesystem;

namespace {

// Compares dotted version texts ("2.24.1" < "2.26.0") part by part as numbers.
bool VersionLess(const std::string& a, const std::string& b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() || j < b.size()) {
        long x = 0;
        long y = 0;
        while (i < a.size() && a[i] >= '0' && a[i] <= '9')
            x = std::min(x * 10 + (a[i++] - '0'), 1000000L);
        while (j < b.size() && b[j] >= '0' && b[j] <= '9')
            y = std::min(y * 10 + (b[j++] - '0'), 1000000L);
        if (x != y) return x < y;
        if (i < a.size()) ++i;
        if (j < b.size()) ++j;
    }
    return false;
}

class FaceCache {
  public:
    FaceCache() {
        if (FT_Init_FreeType(&mLibrary) != 0) mLibrary = nullptr;
    }
    ~FaceCache() {
        for (auto& entry : mFaces) {
            if (entry.second) FT_Done_Face(entry.second);
        }
        if (mLibrary) FT_Done_FreeType(mLibrary);
    }
    FaceCache(const FaceCache&) = delete;
    FaceCache& operator=(const FaceCache&) = delete;

    FT_Face Get(const std::string& path, int32_t index) {
        auto key = std::make_pair(path, index);
        auto found = mFaces.find(key);
        if (found != mFaces.end()) return found->second;
        FT_Face face = nullptr;
        if (!mLibrary || path.empty() || FT_New_Face(mLibrary, path.c_str(), index, &face) != 0)
            face = nullptr;
        if (face && face->units_per_EM == 0) {
            FT_Done_Face(face);
            face = nullptr;
        }
        mFaces.emplace(key, face);
        return face;
    }

  private:
    FT_Library mLibrary = nullptr;
    std::map<std::pair<std::string, int32_t>, FT_Face> mFaces;
};

}  // namespace

std::string MusicFontDir() {
    if (const char* dir = std::getenv("CORVENDI_MUSIC_FONT_DIR"); dir && *dir) return dir;
    std::error_code ec;
    const fs::path root = "/usr/share/lilypond";
    std::string bestVersion;
    std::string best;
    for (fs::directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        fs::path otf = it->path() / "fonts" / "otf";
        if (!fs::is_directory(otf, ec)) continue;
        std::string version = it->path().filename().string();
        if (best.empty() || VersionLess(bestVersion, version)) {
            bestVersion = version;
            best = otf.string();
        }
    }
    return best;
}

int32_t NearestOpticalSize(const std::vector<int32_t>& sizes, double points) {
    int32_t best = sizes.front();
    for (int32_t size : sizes) {
        double d = std::abs(size - points);
        double bestD = std::abs(best - points);
        if (d < bestD || (d == bestD && size > best)) best = size;
    }
    return best;
}

FT_Face CachedFace(const std::string& path, int32_t index) {
    thread_local FaceCache cache;
    return cache.Get(path, index);
}

namespace {

void AddStrings(FcStrList* list, std::vector<std::string>& out) {
    if (!list) return;
    while (FcChar8* text = FcStrListNext(list)) out.emplace_back(reinterpret_cast<char*>(text));
    FcStrListDone(list);
}

// What decides fontconfig's answers: its configuration files and folders, the user's
// configuration folder (which may appear later), and every font folder with its subfolders.
std::vector<std::string> FontconfigStampedPaths() {
    std::vector<std::string> paths;
    AddStrings(FcConfigGetConfigFiles(nullptr), paths);
    AddStrings(FcConfigGetConfigDirs(nullptr), paths);
    std::vector<std::string> fontDirs;
    AddStrings(FcConfigGetFontDirs(nullptr), fontDirs);
    if (const char* home = std::getenv("HOME"); home && *home) {
        paths.push_back(std::string(home) + "/.config/fontconfig");
        fontDirs.push_back(std::string(home) + "/.local/share/fonts");
        fontDirs.push_back(std::string(home) + "/.fonts");
    }
    for (const std::string& dir : fontDirs) {
        paths.push_back(dir);
        std::error_code error;
        for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
             it.increment(error)) {
            if (it->is_directory(error)) paths.push_back(it->path().string());
        }
    }
    std::sort(paths.begin(), paths.end());
    paths.erase(std::unique(paths.begin(), paths.end()), paths.end());
    return paths;
}

FontFile MatchWithFontconfig(const std::string& family, bool bold, bool italic) {
    FontFile result;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return result;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult status = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &status);
    if (match) {
        FcChar8* file = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
            result.Path = reinterpret_cast<const char*>(file);
        }
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) result.Index = index;
        FcChar8* matchedFamily = nullptr;
        if (FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch &&
            matchedFamily) {
            result.Family = reinterpret_cast<const char*>(matchedFamily);
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return result;
}

}  // namespace

std::mutex& FontconfigMutex() {
    static std::mutex mutex;
    return mutex;
}

FontFile MatchFontFile(const std::string& family, bool bold, bool italic) {
    // fontconfig is process-wide, and so is the cache; surfaces on several threads share both.
    static FontPathCache cache(
        std::getenv("CORVENDI_NO_FONT_CACHE") ? std::string() : FontPathCache::DefaultFile());
    std::lock_guard<std::mutex> lock(FontconfigMutex());
    if (auto known = cache.Find(family, bold, italic)) return *known;
    FontFile result = MatchWithFontconfig(family, bold, italic);
    if (!result.Path.empty()) cache.Store(family, bold, italic, result, FontconfigStampedPaths());
    return result;
}

}  // namespace corvendi::cairoimpl
