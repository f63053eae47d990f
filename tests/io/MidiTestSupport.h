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

// A file as a sequencer writes it: division 96, a conductor track (4/4, one sharp, 120 beats per
// minute, a title), a flute melody on channel 0, a bass line on channel 1 (program 33) and drums
// on channel 9 (bass drum 36, snare 38, closed hi-hat 42), each track with a program change
// and a name but no clef.
inline std::string BandFile() {
    TrackBuilder conductor;
    conductor.Meta(0, 3, "Tempo track")
        .Meta(0, 1, "Hello")
        .Meta(0, 88, std::string("\x04\x02\x18\x08", 4))
        .Meta(0, 89, std::string("\x01\x00", 2))
        .Meta(0, 81, std::string("\x07\xA1\x20", 3))
        .End();
    TrackBuilder melody;
    melody.Meta(0, 3, "Melody").Delta(0).Raw({0xC0, 73});
    for (const int key : {72, 74, 76, 77}) melody.On(0, key, 90, 0).Off(96, key, 0);
    melody.End();
    TrackBuilder bass;
    bass.Meta(0, 3, "Bass").Delta(0).Raw({0xC1, 33});
    for (const int key : {40, 43, 45, 64}) bass.On(0, key, 90, 1).Off(96, key, 1);
    bass.End();
    TrackBuilder drums;
    drums.Meta(0, 3, "Drums").Delta(0).Raw({0xC9, 0});
    for (const int key : {36, 42, 38, 42}) drums.On(0, key, 90, 9).Off(96, key, 9);
    drums.End();
    return MidiFileOf(96, {conductor, melody, bass, drums});
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
