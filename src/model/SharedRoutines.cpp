#include "model/SharedRoutines.h"

#include "common/Arith.h"
#include "common/NumberText.h"
#include "model/ProcessState.h"

#include <corvendi/Enums.h>
#include <corvendi/Platform.h>

#include <algorithm>
#include <cstdlib>

namespace corvendi {

// --- Shell -----------------------------------------------------------------------------------

void AddToRecentDocs(const std::string& path) { CurrentPlatform().AddToRecentDocs(path); }

// --- Keys and pitches ------------------------------------------------------------------------

int32_t KeyFromByte(int32_t keyByte) {
    const int32_t b = WrapToByte(keyByte);
    if (b < 128) return b & 7;
    return -std::min(256 - b, 7);
}

uint8_t ByteFromKey(int32_t key) {
    const int64_t magnitude = std::min<int64_t>(std::llabs(static_cast<int64_t>(key)), 7);
    if (key > 0) return static_cast<uint8_t>(magnitude);
    if (key < 0) return static_cast<uint8_t>(256 - magnitude);
    return 0;
}

std::string PitchName(int32_t value) {
    if (value < 0 || value > 127) return {};
    static constexpr std::string_view kLetters = "C#D#EF#G#A#B";
    const int32_t pitchClass = value % 12;
    const std::string octave = std::to_string(value / 12);
    const char letter = kLetters[static_cast<std::size_t>(pitchClass)];
    if (letter != '#') return std::string(1, letter) + octave;
    // A black key is named after the white key below it.
    return std::string(1, kLetters[static_cast<std::size_t>(pitchClass - 1)]) + "#" + octave;
}

std::string TempoText(int32_t mark) {
    switch (mark) {
        case tmpRitardando: return "ritard.";
        case tmpRitenuto: return "riten.";
        case tmpRallentando: return "rall.";
        case tmpAccelerando: return "accel.";
        case tmpDioppioMovimento: return "dioppio movimento";
        case tmpATempo: return "a tempo";
        case tmpTempoPrimo: return "tempo primo";
        case tmpLungaPausa: return "lunga pausa";
        default: return "Error";
    }
}

std::string VarLenText(int32_t ticks) {
    // Four groups of seven bits hold at most 2^28 - 1.
    constexpr int64_t kLargest = (int64_t{1} << 28) - 1;
    int64_t v = std::min<int64_t>(int64_t{ticks} * 8, kLargest);
    if (v <= 0) return std::string(1, '\0');

    std::string bytes;
    bool written = false;
    for (int shift : {21, 14, 7}) {
        const int64_t group = v >> shift;
        if (group > 0 || written) {
            bytes += static_cast<char>(static_cast<uint8_t>(group | 128));
            v -= group << shift;
            written = true;
        }
    }
    bytes += static_cast<char>(static_cast<uint8_t>(v));
    return bytes;
}

// --- Screen pixels and colours -----------------------------------------------------------------

int32_t SnapX(int32_t twips) {
    const int32_t perPixel = Process().gTwipsPerPixelX;
    return IDiv(twips, perPixel) * perPixel;
}

int32_t SnapY(int32_t twips) {
    const int32_t perPixel = Process().gTwipsPerPixelY;
    return IDiv(twips, perPixel) * perPixel;
}

int32_t DeriveNoteColor() {
    ProcessState& state = Process();
    const int64_t c = std::llabs(static_cast<int64_t>(state.gColorNotes));
    auto brighter = [](int64_t channel) {
        return std::min(NInt(static_cast<double>(channel) * 1.4), 255);
    };
    const int32_t red = brighter(c & 255);
    const int32_t green = brighter((c / 256) & 255);
    const int32_t blue = brighter(c / 65536);
    state.gColorNotesAlt = PackRGB(red, green, blue);
    return state.gColorNotesAlt;
}

// --- Measurements ------------------------------------------------------------------------------

std::string FormatMeasure(int32_t targetUnit, float value, int32_t sourceUnit) {
    const double v = value;
    double shown = v;
    std::string suffix;
    if (targetUnit == uomMM) {
        suffix = "mm";
        if (sourceUnit == uomInches)
            shown = NInt(v * 1000.0 / 3.94) / 10.0;
        else if (sourceUnit == uomTwips)
            shown = NInt(v * 100.0 / 567.0) / 10.0;
    } else {
        suffix = "\"";
        if (sourceUnit == uomMM)
            shown = NInt(v * 100.0 / 254.0) / 10.0;
        else if (sourceUnit == uomTwips)
            shown = NInt(v * 1000.0 / 1440.0) / 1000.0;
    }
    return NumberText(static_cast<float>(shown)) + suffix;
}

namespace {

bool IsUnitScanSkipped(char c) { return (c >= '0' && c <= '9') || c == '.'; }

std::string TrimmedUpper(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(" \t");
    std::string out(text.substr(first, last - first + 1));
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace

float ParseMeasure(int32_t targetUnit, std::string_view text, int32_t sourceUnit) {
    int32_t unit = sourceUnit < 0 ? Process().gUOM : sourceUnit;
    double value = LeadingNumber(text);

    // The unit follows the number: "2.5cm" is read as 25 millimetres.
    std::size_t pos = 0;
    while (pos < text.size() && IsUnitScanSkipped(text[pos])) ++pos;
    if (pos < text.size()) {
        const std::string suffix = TrimmedUpper(text.substr(pos));
        if (suffix == "CM") {
            value *= 10.0;
            unit = uomMM;
        } else if (suffix == "MM") {
            unit = uomMM;
        } else if (suffix == "\"" || suffix == "IN" || suffix == "INCH") {
            unit = uomInches;
        }
    }

    double result = value;
    if (targetUnit == uomInches) {
        if (unit == uomMM) result = NInt(value * 100.0 / 25.4) / 100.0;
    } else if (targetUnit == uomMM) {
        if (unit == uomInches) result = NInt(value * 25.4 * 10.0) / 10.0;
    } else if (unit == uomInches) {
        result = NInt(value * 1440.0);
    } else if (unit == uomTwips) {
        result = NInt(value);
    } else {
        result = NInt(value * 56.69);
    }
    return static_cast<float>(result);
}

}  // namespace corvendi
