// Routines shared by the model, the score, the file layer and the dialogs: key-signature bytes,
// pitch names, tempo-mark texts, MIDI variable-length numbers, snapping to screen pixels, the
// derived note colour and measurements in inches, millimetres and twips.
// The state they use is the calling thread's (ProcessState.h).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvendi {

// --- Shell -----------------------------------------------------------------------------------

// Hands an opened or saved file to the platform's recent-documents list.
void AddToRecentDocs(const std::string& path);

// --- Keys and pitches ------------------------------------------------------------------------

// A key byte (0..7 sharps, 256 - n for n flats; only the low byte counts) as a signed key,
// -7..7. Bytes below 128 give their low three bits.
int32_t KeyFromByte(int32_t keyByte);
// A signed key as a key byte; keys beyond seven accidentals count as seven.
uint8_t ByteFromKey(int32_t key);

// "C5" for 60, "C#5" for 61 (sharps only); empty outside 0..127.
std::string PitchName(int32_t value);

// The printed text of a TempoMarks value; "Error" for any other value.
std::string TempoText(int32_t mark);

// The MIDI variable-length encoding of ticks * 8 (file ticks), as raw bytes. Zero and negative
// times give one 0 byte; times beyond the encodable range give the largest encodable number.
std::string VarLenText(int32_t ticks);

// --- Screen pixels and colours -----------------------------------------------------------------

// Twips truncated toward zero to a whole screen pixel.
int32_t SnapX(int32_t twips);
int32_t SnapY(int32_t twips);

// Derives the second note colour from gColorNotes (each channel times 1.4, at most 255), stores
// it in gColorNotesAlt and returns it.
int32_t DeriveNoteColor();

// --- Measurements (MeasurementUnits: 0 inches, 1 millimetres, 2 twips) ---------------------------

// value in sourceUnit shown in targetUnit: millimetres to one decimal with "mm"; any other
// target is inches (to 0.1 from millimetres, 0.001 from twips) followed by an inch mark (").
std::string FormatMeasure(int32_t targetUnit, float value, int32_t sourceUnit);

// Reads a measurement typed by the user: the leading number, in the unit its suffix names ("cm",
// "mm", or inches as ", "in" or "inch"; letter case ignored) or else in sourceUnit (gUOM when
// negative), converted to targetUnit. A converted value is rounded to 0.01 inch, 0.1 mm or a whole
// twip; a value already in the target unit is kept as typed, except that twips are always whole.
// Only inches and millimetres convert into inches or millimetres: a twips value read for those
// targets is returned unchanged.
float ParseMeasure(int32_t targetUnit, std::string_view text, int32_t sourceUnit = -1);

}  // namespace corvendi
