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

// A tempo meta event counts microseconds per quarter note; a score counts beats per minute of
// its beat (in ticks, a quarter being 16). Both directions: 60,000,000 × 16 / (the one × beat).
inline constexpr int64_t kMicrosecondsPerMinute = 60'000'000;
inline constexpr int64_t kQuarterTicks = 16;

// The clef numbers of a staff's "%" cue point.
inline constexpr int32_t kCueTreble = 1;
inline constexpr int32_t kCueBass = 2;
inline constexpr int32_t kCueAlto = 3;
inline constexpr int32_t kCueTenor = 4;
inline constexpr int32_t kCuePercussion = 5;
inline constexpr int32_t kCueGrand = 6;

// A conductor-track marker right after a time signature of 4/4 or 2/2 saying that the score shows
// it as the common-time or cut-time symbol.
inline constexpr const char* kCommonTimeMarker = "%C";
inline constexpr const char* kCutTimeMarker = "%c";

}  // namespace corvendi::midi
