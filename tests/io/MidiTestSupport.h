// MIDI file tests: Standard MIDI Files built byte by byte, and a look at the notes a score holds.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <tuple>
#include <vector>

#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "io/FileTestSupport.h"

namespace corvendi::test {

// A variable-length number: seven bits per byte, most significant first.
inline std::string VarLen(uint32_t value) {
    std::string bytes(1, static_cast<char>(value & 127));
    while ((value >>= 7) != 0) bytes.insert(bytes.begin(), static_cast<char>((value & 127) | 128));
    return bytes;
}

// The body of one track, event by event.
class TrackBuilder {
  public:
    TrackBuilder& Raw(std::initializer_list<int> bytes) {
        for (int b : bytes) mBody += static_cast<char>(static_cast<uint8_t>(b));
        return *this;
    }
    TrackBuilder& Delta(uint32_t ticks) {
        mBody += VarLen(ticks);
        return *this;
    }
    TrackBuilder& Meta(uint32_t delta, int type, const std::string& data) {
        Delta(delta).Raw({255, type});
        mBody += VarLen(static_cast<uint32_t>(data.size())) + data;
        return *this;
    }
    TrackBuilder& On(uint32_t delta, int key, int velocity = 100, int channel = 0) {
        return Delta(delta).Raw({0x90 + channel, key, velocity});
    }
    TrackBuilder& Off(uint32_t delta, int key, int channel = 0) {
        return Delta(delta).Raw({0x80 + channel, key, 64});
    }
    TrackBuilder& End() { return Raw({0, 255, 47, 0}); }
    const std::string& Body() const { return mBody; }

  private:
    std::string mBody;
};

inline std::string U16(int value) {
    return {static_cast<char>((value >> 8) & 255), static_cast<char>(value & 255)};
}

inline std::string TrackChunk(const std::string& body) {
    return Bytes().Text("MTrk").U32(static_cast<uint32_t>(body.size())).Data() + body;
}

// A format-1 file with these tracks; `trackCount` overrides the header's count.
inline std::string MidiFileOf(int division, const std::vector<TrackBuilder>& tracks,
                              int trackCount = -1) {
    std::string file = Bytes().Text("MThd").U32(6).Data() + U16(1) +
                       U16(trackCount >= 0 ? trackCount : static_cast<int>(tracks.size())) +
                       U16(division);
    for (const auto& track : tracks) file += TrackChunk(track.Body());
    return file;
}

// (time, values, duration, flags) of every note of a voice.
using NoteRow = std::tuple<int32_t, std::vector<int>, int32_t, int32_t>;

inline std::vector<NoteRow> NoteRows(const Voice& voice) {
    std::vector<NoteRow> rows;
    for (const auto& note : *voice.Notes()) {
        std::vector<int> values;
        for (int32_t i = 0; i < note->ValueCount(); ++i) values.push_back(note->Value(i));
        rows.emplace_back(note->NoteTime(), values, note->Duration(), note->Flags());
    }
    return rows;
}

class MidiTest : public FileTest {
  protected:
    void SetUp() override {
        FileTest::SetUp();
        NewFileScore();
        score->CreateDefault();
        fileEvents->log.clear();
    }

    // Writes the bytes as a file and opens it.
    bool Open(const std::string& bytes, const std::string& name = "in.mid") {
        WriteFile(PathOf(name), bytes);
        return score->OpenFile(PathOf(name));
    }

    std::vector<NoteRow> NotesOfStaff(int32_t index) const {
        const auto staff = score->Staff(index);
        return staff && staff->Voice(1) ? NoteRows(*staff->Voice(1)) : std::vector<NoteRow>{};
    }
};

}  // namespace corvendi::test
