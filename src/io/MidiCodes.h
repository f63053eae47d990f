// The Standard MIDI File codes both the importer and the exporter use: channel message types
// (the status byte's high nibble), the meta and system-exclusive status bytes, the meta event
// types, and the tempo conversion.
#pragma once

#include <cstdint>

namespace corvendi::midi {

inline constexpr uint8_t kNoteOff = 128;
inline constexpr uint8_t kNoteOn = 144;
inline constexpr uint8_t kControlChange = 176;
inline constexpr uint8_t kProgramChange = 192;
inline constexpr uint8_t kChannelPressure = 208;

inline constexpr uint8_t kSysExStatus = 0xF0;
inline constexpr uint8_t kSysExContinuation = 0xF7;
inline constexpr uint8_t kMetaStatus = 255;

enum MetaType : uint8_t {
    kMetaText = 1,
    kMetaCopyright = 2,
    kMetaTrackName = 3,
    kMetaInstrumentName = 4,
    kMetaLyric = 5,
    kMetaMarker = 6,
    kMetaCuePoint = 7,
    kMetaEndOfTrack = 47,
    kMetaTempo = 81,
    kMetaTimeSignature = 88,
    kMetaKeySignature = 89,
};

// Microseconds per quarter note × beats per minute, both as the tempo meta event counts them.
inline constexpr int32_t kTempoDividend = 70'000'000;

}  // namespace corvendi::midi
