// What the music-font map of the cairo adapter defines, for proof sheets and checks.
#pragma once

#include <string>
#include <vector>

#include "corvendi/Export.h"

namespace corvendi {

struct CORVENDI_API MusicFontCharacter {
    std::string Text;   // the character (or sequence) as engine text (UTF-8)
    std::string Label;  // what it stands for
};

// The characters of the map in map order.
CORVENDI_API std::vector<MusicFontCharacter> MusicFontCharacters();

// Problems found reading the map and, after drawing, missing fonts or glyphs.
CORVENDI_API std::vector<std::string> MusicFontDiagnostics();

// The map file this thread reads; SetMusicFontMapFile changes it (empty: the application
// folder's Common/Config/MusicFont.txt).
CORVENDI_API std::string MusicFontMapFile();
CORVENDI_API void SetMusicFontMapFile(std::string path);

}  // namespace corvendi
