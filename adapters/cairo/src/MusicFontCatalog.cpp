#include <corvendi/cairo/MusicFontCatalog.h>

#include "MusicFont.h"
#include "common/Cp1252.h"

namespace corvendi {

using cairoimpl::MusicFont;

std::vector<MusicFontCharacter> MusicFontCharacters() {
    std::vector<MusicFontCharacter> characters;
    for (const musicfont::Entry& entry : MusicFont::ForThread()->Map().Entries) {
        MusicFontCharacter character;
        for (uint8_t code : entry.Key) character.Text += MusicChar(code);
        character.Label = entry.Label;
        characters.push_back(std::move(character));
    }
    return characters;
}

std::vector<std::string> MusicFontDiagnostics() {
    const MusicFont& font = *MusicFont::ForThread();
    std::vector<std::string> all = font.Map().Diagnostics;
    all.insert(all.end(), font.Problems().begin(), font.Problems().end());
    return all;
}

std::string MusicFontMapFile() { return cairoimpl::CurrentMapFile(); }

void SetMusicFontMapFile(std::string path) { cairoimpl::SetMapFileOverride(std::move(path)); }

}  // namespace corvendi
