// Feeds arbitrary bytes to the instrument catalogue reader as the contents of Instrument.txt.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "model/InstrumentCatalog.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    corvendi::ResetInstrumentCatalog();
    corvendi::ReadInstrumentCatalogText(
        std::string_view(reinterpret_cast<const char*>(data), size));
    int32_t sum = 0;
    for (int32_t i = 0; i < corvendi::kCatalogEntries; ++i) {
        const corvendi::CatalogEntry& entry = corvendi::InstrumentCatalogEntry(i);
        sum += entry.RangeLow + static_cast<int32_t>(entry.Description.size());
    }
    static volatile int32_t sink;
    sink = sum + corvendi::CategoryOfProgram(sum & 0xFF);
    return 0;
}
