// The music-font map reader on arbitrary text: it must skip what it cannot read, never crash.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "MusicFontMap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    corvendi::musicfont::Map map = corvendi::musicfont::ParseMap(text);
    std::vector<uint8_t> codes(data, data + (size < 8 ? size : 8));
    for (size_t i = 0; i < codes.size(); ++i) (void)map.Match(codes, i);
    for (const auto& font : map.Fonts) (void)map.FindFont(font.Alias);
    return 0;
}
