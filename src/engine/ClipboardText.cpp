#include "engine/ClipboardText.h"

#include <limits>
#include <optional>

namespace corvendi::detail {

namespace {

constexpr int32_t kLowestPitch = 0;
constexpr int32_t kHighestPitch = 127;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Walks the text once; every read either succeeds and moves on or leaves the reader failed.
class NoteTextReader {
  public:
    explicit NoteTextReader(std::string_view text) : mText(text) {}

    std::vector<PastedValue> Read() {
        mAt = mText.find(':');
        while (mAt < mText.size()) {
            const char c = mText[mAt];
            bool ok = false;
            if (c == ':') ok = SkipVoice();
            if (c == '@') ok = ReadSourceStart();
            if (c == '#') ok = ReadNote();
            if (!ok) break;  // "S" (the next staff), anything unknown, or a bad token
        }
        return std::move(mValues);
    }

  private:
    // The longest run of digits at the position; none, or one past 32 bits, is a bad token.
    std::optional<int32_t> Number() {
        const size_t start = mAt;
        int64_t value = 0;
        while (mAt < mText.size() && IsDigit(mText[mAt])) {
            value = value * 10 + (mText[mAt] - '0');
            if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
            ++mAt;
        }
        if (mAt == start) return std::nullopt;
        return static_cast<int32_t>(value);
    }
    bool Skip(char c) {
        if (mAt >= mText.size() || mText[mAt] != c) return false;
        ++mAt;
        return true;
    }
    // The voice ID is read past: the paste goes to the active voice.
    bool SkipVoice() {
        mAt += 2;
        return Number().has_value();
    }
    bool ReadSourceStart() {
        ++mAt;
        const auto start = Number();
        if (!start) return false;
        mSourceStart = *start;
        return true;
    }
    bool ReadNote() {
        ++mAt;
        const auto time = Number();
        if (!time || !Skip('#')) return false;
        const auto duration = Number();
        if (!duration || !Skip('#')) return false;
        const auto flags = Number();
        if (!flags || !Skip('#')) return false;
        while (mAt < mText.size() && IsDigit(mText[mAt])) {
            const auto value = Number();
            if (!value) return false;
            if (*value >= kLowestPitch && *value <= kHighestPitch) {
                mValues.push_back(
                    {*time, mSourceStart, *duration, *flags, static_cast<uint8_t>(*value)});
            }
            if (!Skip('|')) break;
        }
        return true;
    }

    std::string_view mText;
    size_t mAt = 0;
    int32_t mSourceStart = 0;
    std::vector<PastedValue> mValues;
};

}  // namespace

std::string WriteNoteText(const std::vector<CopiedNote>& notes, int32_t firstMeasureStart) {
    std::string text;
    for (size_t i = 0; i < notes.size(); ++i) {
        const CopiedNote& note = notes[i];
        if (i == 0 || note.StaffID != notes[i - 1].StaffID) text += note.StaffID;
        if (i == 0 || note.VoiceID != notes[i - 1].VoiceID) text += ":" + note.VoiceID;
        if (i == 0) text += "@" + std::to_string(firstMeasureStart);
        text += "#" + std::to_string(note.Time) + "#" + std::to_string(note.Duration) + "#" +
                std::to_string(note.Flags) + "#";
        for (size_t v = 0; v < note.Values.size(); ++v) {
            if (v > 0) text += "|";
            text += std::to_string(note.Values[v]);
        }
    }
    return text;
}

bool IsNoteText(std::string_view text) {
    return text.size() >= 2 && text[0] == 'S' && IsDigit(text[1]) &&
           text.find(':') != std::string_view::npos;
}

std::vector<PastedValue> ReadNoteText(std::string_view text) {
    if (!IsNoteText(text)) return {};
    return NoteTextReader(text).Read();
}

}  // namespace corvendi::detail
