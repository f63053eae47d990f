// Font files found through fontconfig, remembered between runs.
//
// Initialising fontconfig (reading its configuration and the caches of every font folder) costs
// more than drawing a page, so the font file each (family, bold, italic) resolved to is kept in
// a small text file in the user's cache folder ($XDG_CACHE_HOME/corvendi/font-paths, else
// ~/.cache/corvendi/font-paths) with the modification times of fontconfig's configuration files
// and of every font folder. The file is trusted only while all those times are unchanged: a
// font installed or removed, or a changed configuration, makes every entry a miss, and the
// next lookups ask fontconfig again and rewrite the file.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "FontFiles.h"

namespace corvendi::cairoimpl {

class FontPathCache {
  public:
    // A path and its modification time (nanoseconds; -1 when it does not exist).
    struct Stamp {
        std::string Path;
        int64_t Time = -1;
        bool operator==(const Stamp&) const = default;
    };

    explicit FontPathCache(std::string file);

    // The remembered file for a font; nullopt when it is unknown or the stamps are stale.
    std::optional<FontFile> Find(const std::string& family, bool bold, bool italic);
    // Remembers a lookup together with the paths whose times decide whether it still holds,
    // and writes the file (best effort: a cache that cannot be written only costs time).
    void Store(const std::string& family, bool bold, bool italic, const FontFile& file,
               const std::vector<std::string>& stampedPaths);

    // The modification time of a path now.
    static Stamp StampOf(const std::string& path);
    // The cache file of this user; empty when there is no home or cache folder.
    static std::string DefaultFile();

  private:
    using Key = std::tuple<std::string, bool, bool>;
    void Load();
    bool StampsHold() const;
    void Save() const;

    std::string mFile;
    bool mLoaded = false;
    bool mValid = false;
    std::vector<Stamp> mStamps;
    std::map<Key, FontFile> mFonts;
};

}  // namespace corvendi::cairoimpl
