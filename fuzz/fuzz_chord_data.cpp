// Feeds arbitrary bytes to the chord vocabulary reader as the contents of Chords.txt, then lists,
// names, looks up and draws every chord it produced.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/Cp1252.h"
#include "corvendi/ChordLibrary.h"
#include "corvendi/RecordingSurface.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    corvendi::ChordLibrary library;
    library.Vocabulary().Read(corvendi::Cp1252ToUtf8(bytes));
    corvendi::RecordingSurface surface;
    surface.SetRecordMetrics(false);
    int32_t sum = 0;
    for (int32_t i = 0; i < library.ChordCount(); ++i) {
        const int32_t code = library.ChordCode(i);
        const std::string name = library.ChordName(i);
        // Every listed name reads back as some chord ("Cb5" may be C(b5) or Cb with suffix 5).
        if (!library.Vocabulary().CodeOfName(name)) __builtin_trap();
        library.DrawInKey(surface, 0, 1000, code, (i % 15) - 7, true, 0, "", i % 14);
        surface.ClearCalls();
        sum += code + static_cast<int32_t>(name.size());
    }
    // The raw bytes as a fret text and as a chord name.
    sum += library.Vocabulary().ParseFrets(bytes) ? 1 : 0;
    sum += library.Vocabulary().CodeOfName(bytes).value_or(0);
    static volatile int32_t sink;
    sink = sum;
    return 0;
}
