#include "ScoreJson.h"

#include <corvendi/GlobalEvent.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/Instrument.h>
#include <corvendi/Instruments.h>
#include <corvendi/Note.h>
#include <corvendi/Notes.h>
#include <corvendi/Range.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/Voice.h>

#include <string_view>

namespace corvendi::cli {

namespace {

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

}  // namespace

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

std::string ScoreJson(const Score& score, int32_t lastPage) {
    JsonWriter json;
    json.Open('{');
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
    json.Field("count", score.Count());
    json.Field("beat", score.Beat());
    json.Field("key", score.Key());
    json.Field("minor", score.Minor());
    json.Key("globals");
    WriteEvents(json, score.AllGlobals().get());
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
    json.Field("lastPage", lastPage);
    json.Close('}');
    return json.Take();
}

}  // namespace corvendi::cli
