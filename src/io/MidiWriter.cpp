// Writes the score as a Standard MIDI File of format 1 with 128 file ticks per quarter note
// (ticks × 8): a conductor track with the texts, tempo, layout values and time signatures, then
// one track per voice with program, volume, pan, the notes and the dynamics of its staff.
//
// Texts follow the conventions the MIDI import reads back: a font spec after "|" in title texts
// and the staff dimensions in a cue point starting with "&". Every note-on has velocity 127;
// loudness is carried by the volume controller. Repeats are not unrolled.
#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "common/Arith.h"
#include "common/Cp1252.h"
#include "common/NumberText.h"
#include "corvendi/Enums.h"
#include "corvendi/Font.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"
#include "io/FileHelpers.h"
#include "io/MidiCodes.h"
#include "io/MidiFiles.h"
#include "model/SharedRoutines.h"

namespace corvendi {

namespace {

constexpr int32_t kDivision = 128;
constexpr int32_t kLargestTempo = 0xFFFFFF;  // what three bytes hold
constexpr size_t kLongestMetaText = 255;
constexpr int32_t kNoTrackAfter = 9999;  // voices numbered this high are not written
constexpr int32_t kDrumChannel = 9;
constexpr int32_t kNoStatus = -1;

constexpr uint8_t kBankSelect = 0;
constexpr uint8_t kVolume = 7;
constexpr uint8_t kPan = 10;
constexpr uint8_t kFullVolume = 127;
constexpr uint8_t kCentre = 64;
constexpr uint8_t kVelocity = 127;

using namespace midi;

char ByteChar(int32_t value) { return static_cast<char>(static_cast<uint8_t>(value)); }

std::string FileBytes(std::string_view utf8) { return Utf8ToCp1252(utf8, '?'); }

std::string Trimmed(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

// Delta, FF, type, one length byte, the text. A text too long for the length byte is left out.
void PutMeta(std::string& out, int32_t deltaTicks, uint8_t type, std::string_view text) {
    if (text.size() > kLongestMetaText) return;
    out += VarLenText(deltaTicks);
    out += ByteChar(255);
    out += ByteChar(type);
    out += ByteChar(static_cast<int32_t>(text.size()));
    out += text;
}

void PutEndOfTrack(std::string& out) { PutMeta(out, 0, kMetaEndOfTrack, {}); }

// The text, then the font's name, size and bold flag, each after a "|".
std::string FontSpecText(const Score& score, std::string_view text, int32_t fontIndex) {
    std::string spec = FileBytes(text);
    const auto font = score.Fonts(fontIndex);
    if (!font) return spec;
    spec += '|';
    spec += FileBytes(font->Name());
    spec += '|';
    spec += NumberText(font->Size());
    spec += '|';
    spec += font->Bold() ? '1' : '0';
    return spec;
}

// Microseconds per quarter note for `beatsPerMinute` beats of `beat` ticks, to the nearest.
std::string TempoBytes(int32_t beatsPerMinute, int32_t beat) {
    const double exact = static_cast<double>(kMicrosecondsPerMinute * kQuarterTicks) /
                         (static_cast<double>(beatsPerMinute) * std::max(beat, 1));
    const auto microseconds =
        static_cast<int32_t>(std::clamp<int64_t>(NInt64(exact), 1, kLargestTempo));
    std::string bytes;
    for (const int32_t shift : {16, 8, 0}) bytes += ByteChar((microseconds >> shift) & 255);
    return bytes;
}

// The time signature's beat in ticks as a power-of-two denominator.
int32_t DenominatorCode(int32_t beat) {
    switch (beat) {
        case 32: return 1;
        case 8: return 3;
        case 4: return 4;
        case 2: return 5;
        default: return 2;
    }
}

// The staff's clef as the number a "%" cue point carries.
int32_t CueNumberOfClef(const Staff& staff) {
    switch (staff.DefaultClef()) {
        case clfBass: return kCueBass;
        case clfAlto: return kCueAlto;
        case clfTenor: return kCueTenor;
        case clfPercussion: return kCuePercussion;
        case clfGrand: return kCueGrand;
        default: return kCueTreble;
    }
}

uint8_t VolumeOfDynamic(int32_t dynamic) {
    switch (dynamic) {
        case dynPPP: return 16;
        case dynPP: return 32;
        case dynP: return 48;
        case dynMP: return 64;
        case dynMF: return 80;
        case dynF: return 96;
        case dynFF: return 112;
        default: return 127;
    }
}

// How long a note sounds: dotted 1.5 times its duration, else staccato half, else triplet
// a third (0.33).
int32_t SoundingLength(const Note& note) {
    double length = note.Duration();
    if ((note.Flags() & nteDot) != 0) {
        length *= 1.5;
    } else if ((note.Flags() & nteStacato) != 0) {
        length *= 0.5;
    } else if ((note.Flags() & nteTriplet) != 0) {
        length *= 0.33;
    }
    return NInt(length);
}

std::string ConductorTrack(const Score& score, bool playback) {
    std::string out;
    if (!playback) {
        PutMeta(out, 0, kMetaText, FontSpecText(score, score.Title(), fntTitle));
        PutMeta(out, 0, kMetaText, FontSpecText(score, score.SubTitle(), fntSubTitle));
        PutMeta(out, 0, kMetaText, FontSpecText(score, score.Composer(), fntComposer));
        PutMeta(out, 0, kMetaText, FileBytes(score.ArrangedBy()));
        PutMeta(out, 0, kMetaCopyright, FontSpecText(score, score.Copyright(0), fntCopyright));
        PutMeta(out, 0, kMetaCopyright, FontSpecText(score, score.Copyright(1), fntCopyright));
    }
    if (score.Count() > 0) PutMeta(out, 0, kMetaTempo, TempoBytes(score.Count(), score.Beat()));
    if (!playback) {
        const std::string layout = "&" + NumberText(score.StaffHeight()) + "|" +
                                   NumberText(score.StaffSpace()) + "|" +
                                   NumberText(score.SystemSpace());
        PutMeta(out, 0, kMetaCuePoint, layout);
    }
    PutMeta(out, 0, kMetaTrackName, "Control");
    PutMeta(out, 0, kMetaInstrumentName, FontSpecText(score, score.Heading(), fntHeader));
    // The score's key, so that an import shows it again.
    if (score.Key() != 0 || score.Minor()) {
        const std::string key{ByteChar(ByteFromKey(score.Key())), ByteChar(score.Minor() ? 1 : 0)};
        PutMeta(out, 0, kMetaKeySignature, key);
    }

    const auto globals = score.AllGlobals();
    int32_t previous = 0;
    for (int32_t i = 1; i <= globals->TimeItemCount(); ++i) {
        const auto signature = globals->TimeItem(i);
        if (!signature || signature->EventType() != evtTimeChange) continue;
        const int32_t delta = signature->EventTime() - previous;
        previous = signature->EventTime();
        if (signature->Value1() == 0) {
            // The symbols: common time as 4/4, cut time as 2/2, each followed by its marker.
            const bool cut = signature->Value2() != 0;
            const std::string fields{ByteChar(cut ? 2 : 4), ByteChar(cut ? 1 : 2), ByteChar(24),
                                     ByteChar(8)};
            PutMeta(out, delta, kMetaTimeSignature, fields);
            PutMeta(out, 0, kMetaMarker, cut ? kCutTimeMarker : kCommonTimeMarker);
            continue;
        }
        const std::string fields{ByteChar(signature->Value1()),
                                 ByteChar(DenominatorCode(signature->Value2())), ByteChar(24),
                                 ByteChar(8)};
        PutMeta(out, delta, kMetaTimeSignature, fields);
    }
    PutEndOfTrack(out);
    return out;
}

// The note section of a voice track: notes and staff events merged in time order, note-offs
// (note-ons with velocity 0) held in order of their end until their time comes, and status
// bytes written only when they change.
class NoteSection {
  public:
    NoteSection(std::string& out, int32_t channel) : mOut(out), mChannel(channel) {}

    void Write(const Notes& notes, const GlobalEvents* staffEvents);

  private:
    void WriteNote(const Note& note);
    void WriteStaffEvent(const GlobalEvent& event);
    void WriteNoteOffsUntil(int32_t time);
    void WriteRemainingNoteOffs();
    void PutDelta(int32_t time);
    void PutStatus(int32_t base);
    void AddNoteOff(int32_t end, uint8_t key);

    struct NoteOff {
        int32_t End;
        uint8_t Key;
    };

    std::string& mOut;
    int32_t mChannel;
    int32_t mLastTime = 0;
    int32_t mRunningStatus = kNoStatus;
    // Pending note-offs from mFirstPending on, ascending by end.
    std::vector<NoteOff> mPending;
    size_t mFirstPending = 0;
};

void NoteSection::Write(const Notes& notes, const GlobalEvents* staffEvents) {
    const int32_t eventCount = staffEvents ? staffEvents->Count() : 0;
    int32_t eventIndex = 1;
    for (const auto& note : notes) {
        // Staff events at or before the note come first; those after the last note are not
        // written.
        while (eventIndex <= eventCount) {
            const auto event = staffEvents->ByIndex(eventIndex);
            if (event->EventTime() > note->NoteTime()) break;
            WriteNoteOffsUntil(event->EventTime());
            WriteStaffEvent(*event);
            ++eventIndex;
        }
        WriteNoteOffsUntil(note->NoteTime());
        WriteNote(*note);
    }
    WriteRemainingNoteOffs();
}

void NoteSection::WriteNote(const Note& note) {
    // A rest writes nothing, so the next event's delta still counts from the last one written.
    if (note.ValueCount() == 0) return;
    const int32_t end = note.NoteTime() + SoundingLength(note);
    for (int32_t i = 0; i < note.ValueCount(); ++i) {
        PutDelta(note.NoteTime());
        PutStatus(kNoteOn);
        const uint8_t key = std::min<uint8_t>(note.Value(i), 127);
        mOut += ByteChar(key);
        mOut += ByteChar(kVelocity);
        AddNoteOff(end, key);
    }
}

// Only dynamics sound: as the channel volume.
void NoteSection::WriteStaffEvent(const GlobalEvent& event) {
    if (event.EventType() != evtDynamic) return;
    PutDelta(event.EventTime());
    PutStatus(kControlChange);
    mOut += ByteChar(kVolume);
    mOut += ByteChar(VolumeOfDynamic(event.Value1()));
}

void NoteSection::WriteNoteOffsUntil(int32_t time) {
    for (; mFirstPending < mPending.size() && mPending[mFirstPending].End <= time;
         ++mFirstPending) {
        const NoteOff& off = mPending[mFirstPending];
        PutDelta(off.End);
        PutStatus(kNoteOn);
        mOut += ByteChar(off.Key);
        mOut += ByteChar(0);
    }
    // Drop the written ones once they are the larger part, so the list stays short.
    if (mFirstPending * 2 >= mPending.size()) {
        mPending.erase(mPending.begin(),
                       mPending.begin() + static_cast<std::ptrdiff_t>(mFirstPending));
        mFirstPending = 0;
    }
}

void NoteSection::WriteRemainingNoteOffs() {
    for (size_t i = mFirstPending; i < mPending.size(); ++i) {
        const NoteOff off = mPending[i];
        if (off.End < mLastTime) continue;
        PutDelta(off.End);
        PutStatus(kNoteOn);
        mOut += ByteChar(off.Key);
        mOut += ByteChar(0);
    }
    mPending.clear();
    mFirstPending = 0;
}

// The time since the last event written, as file ticks.
void NoteSection::PutDelta(int32_t time) {
    mOut += VarLenText(time - mLastTime);
    mLastTime = time;
}

void NoteSection::PutStatus(int32_t base) {
    const int32_t status = base + mChannel;
    if (status == mRunningStatus) return;
    mOut += ByteChar(status);
    mRunningStatus = status;
}

// After every pending note-off that ends at the same time or earlier.
void NoteSection::AddNoteOff(int32_t end, uint8_t key) {
    const auto place = std::upper_bound(
        mPending.begin() + static_cast<std::ptrdiff_t>(mFirstPending), mPending.end(), end,
        [](int32_t value, const NoteOff& off) { return value < off.End; });
    mPending.insert(place, NoteOff{end, key});
}

// The first staff that shows the voice.
const Staff* StaffOfVoice(const Score& score, const Voice& voice) {
    for (const auto& staff : *score.AllStaffs()) {
        if (staff && staff->ValidVoice(voice.ID())) return staff.get();
    }
    return nullptr;
}

void PutChannelEvent(std::string& out, uint8_t status, std::initializer_list<uint8_t> data) {
    out += ByteChar(0);
    out += ByteChar(status);
    for (const uint8_t b : data) out += ByteChar(b);
}

std::string VoiceTrack(const Score& score, const Voice& voice, bool playback) {
    std::string out;
    const Staff* staff = StaffOfVoice(score, voice);
    const auto instrument = voice.Instrument();
    const int32_t channel = instrument ? instrument->Channel() : 0;

    if (!playback) {
        // Names longer than a meta event holds are cut to fit.
        auto name = [](std::string_view text) {
            return FileBytes(Trimmed(text)).substr(0, kLongestMetaText);
        };
        const std::string trackName = staff ? name(staff->Description()) : std::string();
        if (!trackName.empty()) PutMeta(out, 0, kMetaTrackName, trackName);
        const std::string instrumentName = instrument ? name(instrument->Description()) : "";
        if (!instrumentName.empty()) PutMeta(out, 0, kMetaInstrumentName, instrumentName);
        if (staff) PutMeta(out, 0, kMetaCuePoint, "%" + std::to_string(CueNumberOfClef(*staff)));
    }
    const auto control = static_cast<uint8_t>(kControlChange + channel);
    if (channel != kDrumChannel) {
        PutChannelEvent(out, control, {kBankSelect, 0});
        const auto program = static_cast<uint8_t>(instrument ? instrument->Value() : 0);
        PutChannelEvent(out, static_cast<uint8_t>(kProgramChange + channel), {program});
    }
    PutChannelEvent(out, control, {kVolume, kFullVolume});
    PutChannelEvent(out, control, {kPan, kCentre});

    if (const auto notes = voice.Notes()) {
        const auto staffEvents = staff ? staff->GlobalEvents() : nullptr;
        NoteSection(out, channel).Write(*notes, staffEvents.get());
    }
    PutEndOfTrack(out);
    return out;
}

// The voices to write, by ascending track number; of several with one number the first in the
// collection, and none numbered 9999 or more.
std::vector<const Voice*> VoicesInTrackOrder(const Voices& voices) {
    std::vector<const Voice*> order;
    for (const auto& voice : voices) {
        if (voice && voice->Track() > 0 && voice->Track() < kNoTrackAfter) {
            order.push_back(voice.get());
        }
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Voice* a, const Voice* b) { return a->Track() < b->Track(); });
    order.erase(
        std::unique(order.begin(), order.end(),
                    [](const Voice* a, const Voice* b) { return a->Track() == b->Track(); }),
        order.end());
    return order;
}

class MidiWriter {
  public:
    explicit MidiWriter(FileWriter& file) : mFile(file) {}

    void Write(const Score& score, bool playback) {
        const int32_t tracks = score.AllVoices()->Count() + 1;
        std::string header = "MThd";
        header += LongToBytes(6);
        header += {ByteChar(0),
                   ByteChar(1),
                   ByteChar(tracks >> 8),
                   ByteChar(tracks),
                   ByteChar(kDivision >> 8),
                   ByteChar(kDivision)};
        Put(header);
        PutTrack(ConductorTrack(score, playback));
        for (const Voice* voice : VoicesInTrackOrder(*score.AllVoices())) {
            PutTrack(VoiceTrack(score, *voice, playback));
        }
    }

  private:
    void PutTrack(const std::string& body) {
        Put("MTrk" + LongToBytes(static_cast<int32_t>(body.size())));
        Put(body);
    }
    void Put(std::string_view bytes) { mPosition += mFile.PutText(mPosition, bytes); }

    FileWriter& mFile;
    int32_t mPosition = 1;
};

}  // namespace

bool SaveMidiFile(const Score& score, const std::string& path, bool playback) {
    // An export replaces its target only once complete; the playback file is written in place.
    const std::string target = playback ? path : TemporaryFileFor(path);
    std::error_code ec;
    std::filesystem::remove(std::filesystem::path(target), ec);
    FileWriter file;
    if (!file.Create(target)) return false;
    MidiWriter(file).Write(score, playback);
    return playback ? file.Finish() : file.ReplaceTarget(path);
}

}  // namespace corvendi
