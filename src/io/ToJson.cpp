#include "corvendi/ToJson.h"

#include <charconv>
#include <string_view>
#include <type_traits>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"

namespace corvendi {

namespace {

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += "\\u00";
                    out += kHex[byte >> 4];
                    out += kHex[byte & 15];
                } else {
                    out += c;
                }
        }
    }
    out += '"';
    return out;
}

// The shortest text that reads back as the same float, always with '.'.
std::string FloatText(float value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// Appends `"key":` pairs and values; the first member of an object or array gets no comma.
class JsonWriter {
  public:
    std::string Take() { return std::move(mText); }

    void Open(char bracket) {
        Separate();
        mText += bracket;
        mFirst = true;
    }
    void Close(char bracket) {
        mText += bracket;
        mFirst = false;
    }
    void Key(std::string_view key) {
        Separate();
        mText += JsonString(key);
        mText += ':';
        mAfterKey = true;
    }
    void Number(int64_t value) {
        Separate();
        mText += std::to_string(value);
    }
    void Float(float value) {
        Separate();
        mText += FloatText(value);
    }
    void Null() {
        Separate();
        mText += "null";
    }
    void Bool(bool value) {
        Separate();
        mText += value ? "true" : "false";
    }
    void String(std::string_view text) {
        Separate();
        mText += JsonString(text);
    }
    template <typename T>
    void Field(std::string_view key, const T& value) {
        Key(key);
        if constexpr (std::is_same_v<T, bool>) {
            Bool(value);
        } else if constexpr (std::is_integral_v<T>) {
            Number(value);
        } else if constexpr (std::is_floating_point_v<T>) {
            Float(value);
        } else {
            String(value);
        }
    }

  private:
    void Separate() {
        if (mAfterKey) {
            mAfterKey = false;
            return;
        }
        if (!mFirst) mText += ',';
        mFirst = false;
    }
    std::string mText;
    bool mFirst = true;
    bool mAfterKey = false;
};

void WriteEvent(JsonWriter& json, const GlobalEvent& event) {
    json.Open('{');
    json.Field("time", event.EventTime());
    json.Field("type", event.EventType());
    json.Field("value1", static_cast<int32_t>(event.Value1()));
    json.Field("value2", static_cast<int32_t>(event.Value2()));
    json.Field("text", event.Text());
    json.Close('}');
}

// Time signatures first, then the other events, each in stored order.
void WriteEvents(JsonWriter& json, const GlobalEvents* events) {
    json.Open('[');
    if (events) {
        for (int32_t i = 1; i <= events->TimeItemCount(); ++i) {
            if (const auto event = events->TimeItem(i)) WriteEvent(json, *event);
        }
        for (const auto& event : *events) {
            if (event) WriteEvent(json, *event);
        }
    }
    json.Close(']');
}

void WriteInstrument(JsonWriter& json, const Instrument& instrument) {
    json.Open('{');
    json.Field("id", instrument.ID());
    json.Field("value", static_cast<int32_t>(instrument.Value()));
    json.Field("channel", static_cast<int32_t>(instrument.Channel()));
    json.Field("category", instrument.Category());
    json.Field("description", instrument.Description());
    json.Field("offset", static_cast<int32_t>(instrument.Offset()));
    json.Field("pitch", static_cast<int32_t>(instrument.Pitch()));
    const auto range = instrument.Range();
    json.Field("rangeLow", range ? range->Low() : 0);
    json.Field("rangeHigh", range ? range->High() : 0);
    json.Field("defaultClef", instrument.DefaultClef());
    json.Key("drumMap");
    json.Open('[');
    for (int32_t slot = 1; slot <= Instrument::kDrumSlots; ++slot) {
        json.Open('{');
        json.Field("code", static_cast<int32_t>(instrument.DrumCode(slot)));
        json.Field("value", static_cast<int32_t>(instrument.DrumValue(slot)));
        json.Close('}');
    }
    json.Close(']');
    json.Close('}');
}

void WriteNote(JsonWriter& json, const Note& note) {
    json.Open('{');
    json.Field("time", note.NoteTime());
    json.Field("duration", static_cast<int32_t>(note.Duration()));
    json.Field("flags", note.Flags());
    json.Key("values");
    json.Open('[');
    for (int32_t i = 0; i < note.ValueCount(); ++i) json.Number(note.Value(i));
    json.Close(']');
    json.Close('}');
}

void WriteVoice(JsonWriter& json, const Voice& voice, int32_t number) {
    json.Open('{');
    json.Field("number", number);
    json.Field("id", voice.ID());
    json.Field("track", voice.Track());
    json.Field("description", voice.Description());
    json.Field("instrument", voice.InstrumentID());
    json.Key("notes");
    json.Open('[');
    if (const auto notes = voice.Notes()) {
        for (const auto& note : *notes) {
            if (note) WriteNote(json, *note);
        }
    }
    json.Close(']');
    json.Close('}');
}

void WriteStaff(JsonWriter& json, const Staff& staff) {
    json.Open('{');
    json.Field("index", staff.Index());
    json.Field("id", staff.ID());
    json.Field("description", staff.Description());
    json.Field("defaultClef", staff.DefaultClef());
    json.Field("flags", static_cast<int32_t>(staff.Flags()));
    json.Field("scalePct", staff.ScalePct());
    json.Field("brace", staff.Brace());
    json.Field("visible", staff.Visible());
    json.Field("mute", staff.Mute());
    json.Field("verses", static_cast<int32_t>(staff.Verses()));
    json.Field("groupID", staff.GroupID());
    json.Key("globals");
    WriteEvents(json, staff.GlobalEvents().get());
    json.Key("voices");
    json.Open('[');
    for (int32_t number = 1; number <= staff.Voices(); ++number) {
        if (const auto voice = staff.Voice(number)) WriteVoice(json, *voice, number);
    }
    json.Close(']');
    json.Close('}');
}

void WriteFont(JsonWriter& json, const Font* font) {
    if (!font) {
        json.Null();
        return;
    }
    json.Open('{');
    json.Field("name", font->Name());
    json.Field("size", font->Size());
    json.Field("bold", font->Bold());
    json.Field("italic", font->Italic());
    json.Field("underline", font->Underline());
    json.Close('}');
}

void WriteTexts(JsonWriter& json, const Score& score) {
    json.Field("title", score.Title());
    json.Field("subTitle", score.SubTitle());
    json.Field("heading", score.Heading());
    json.Field("composer", score.Composer());
    json.Field("arrangedBy", score.ArrangedBy());
    json.Key("copyright");
    json.Open('[');
    json.String(score.Copyright(0));
    json.String(score.Copyright(1));
    json.Close(']');
}

void WriteTempoKeyAndChords(JsonWriter& json, const Score& score) {
    json.Field("count", score.Count());
    json.Field("beat", score.Beat());
    json.Field("metronome", score.Metronome());
    json.Field("key", score.Key());
    json.Field("minor", score.Minor());
    json.Field("capo", score.Capo());
    json.Field("useCapo", score.UseCapo());
    json.Field("useChords", score.UseChords());
    json.Field("useChordMaps", score.UseChordMaps());
}

void WritePage(JsonWriter& json, const Score& score) {
    json.Field("pageSize", score.PageSize());
    json.Field("pageOrientation", score.PageOrientation());
    json.Field("pageWidth", score.PageWidth());
    json.Field("pageHeight", score.PageHeight());
    json.Key("margins");
    json.Open('{');
    json.Field("top", score.Margins(marTop));
    json.Field("bottom", score.Margins(marBottom));
    json.Field("left", score.Margins(marLeft));
    json.Field("right", score.Margins(marRight));
    json.Close('}');
    json.Field("staffHeight", score.StaffHeight());
    json.Field("staffSpace", score.StaffSpace());
    json.Field("systemSpace", score.SystemSpace());
    json.Field("pageNums", score.PageNums());
    json.Field("reverseEvenOdd", score.ReverseEvenOdd());
    json.Field("numberMeasures", score.NumberMeasures());
    json.Field("numberMeasuresBy", score.NumberMeasuresBy());
    json.Field("numberPos", score.NumberPos());
    json.Key("fonts");
    json.Open('[');
    for (int32_t index = 0; index < Score::kFontCount; ++index) {
        WriteFont(json, score.Fonts(index).get());
    }
    json.Close(']');
}

}  // namespace

std::string ToJson(const Score& score) {
    JsonWriter json;
    json.Open('{');
    WriteTexts(json, score);
    WriteTempoKeyAndChords(json, score);
    WritePage(json, score);
    const auto globals = score.AllGlobals();
    json.Field("pulse", globals ? globals->PulseValue() : 0);
    json.Field("defaultTimeValue", globals ? globals->DftTimeVal() : 0);
    json.Key("globals");
    WriteEvents(json, globals.get());
    json.Key("instruments");
    json.Open('[');
    if (const auto instruments = score.AllInstruments()) {
        for (const auto& instrument : *instruments) {
            if (instrument) WriteInstrument(json, *instrument);
        }
    }
    json.Close(']');
    json.Key("staffs");
    json.Open('[');
    if (const auto staffs = score.AllStaffs()) {
        for (const auto& staff : *staffs) {
            if (staff) WriteStaff(json, *staff);
        }
    }
    json.Close(']');
    json.Field("lastPage", score.LastPage());
    json.Close('}');
    return json.Take();
}

}  // namespace corvendi
