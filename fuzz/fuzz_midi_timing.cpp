// Feeds arbitrary bytes to MidiFileTiming::Read ("MThd" and a 6-byte header length are put in
// front of inputs that do not start with "MThd") and asks the timing for times and ticks across
// the file's extent.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "corvendi/MidiFileTiming.h"

namespace {
volatile int64_t sink;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string file = input.substr(0, 4) == "MThd"
                                 ? std::string(input)
                                 : std::string("MThd\0\0\0\6", 8) + std::string(input);
    const auto timing = corvendi::MidiFileTiming::Read(file);
    if (!timing) return 0;
    const int64_t end = timing->EndTick();
    for (const int64_t tick : {int64_t{0}, end / 3, end, end + 1, INT64_MAX}) {
        const int64_t us = timing->MicrosecondsAt(tick);
        sink = us + timing->TickAt(us) + timing->ToScoreTicks(tick) + timing->FromScoreTicks(tick);
    }
    sink = timing->TickAt(INT64_MAX) + timing->DurationMicroseconds();
    return 0;
}
