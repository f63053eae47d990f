// Font files and FreeType faces shared by the surfaces of a thread.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include <ft2build.h>
#include FT_FREETYPE_H

namespace corvendi::cairoimpl {

// The folder of LilyPond's OpenType fonts: CORVENDI_MUSIC_FONT_DIR when set, else the
// newest /usr/share/lilypond/<version>/fonts/otf that exists; empty when there is none.
std::string MusicFontDir();

// The optical size of a list (sorted) nearest to a staff height in points; ties go to the
// larger design. The list must not be empty.
int32_t NearestOpticalSize(const std::vector<int32_t>& sizes, double points);

// A FreeType face opened once per thread and path, kept until the thread ends; null when the
// file cannot be opened as a font.
FT_Face CachedFace(const std::string& path, int32_t index = 0);

// The file and face index fontconfig matches for a family, weight and slant; empty when
// fontconfig finds nothing.
struct FontFile {
    std::string Path;
    int32_t Index = 0;
    std::string Family;  // the family of the matched face
};
FontFile MatchFontFile(const std::string& family, bool bold, bool italic);

// Held around the adapter's own calls into fontconfig, which surfaces on several threads (a
// run of many files) would otherwise make at once.
std::mutex& FontconfigMutex();

}  // namespace corvendi::cairoimpl
