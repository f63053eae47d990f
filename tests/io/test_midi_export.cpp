// Exporting scores as Standard MIDI Files: the bytes of the header, the conductor track and the
// voice tracks and the playback variant.
#include <filesystem>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Instruments.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "io/MidiFiles.h"
#include "io/MidiTestSupport.h"
#include "model/ModelAccess.h"

namespace corvendi::test {
namespace {

std::string B(std::initializer_list<int> bytes) {
    std::string out;
    for (int b : bytes) out += static_cast<char>(static_cast<uint8_t>(b));
    return out;
}

// A meta event at delta 0.
std::string Meta(int type, const std::string& text) {
    return B({0, 255, type, static_cast<int>(text.size())}) + text;
}

const std::string kEndOfTrack = B({0, 255, 47, 0});

// The track bodies of a Standard MIDI File, after checking the chunk heads.
std::vector<std::string> TrackBodies(const std::string& file) {
    std::vector<std::string> bodies;
    size_t at = 14;
    while (at + 8 <= file.size()) {
        EXPECT_EQ(file.substr(at, 4), "MTrk");
        uint32_t length = 0;
        for (size_t i = 4; i < 8; ++i) length = length * 256 + static_cast<uint8_t>(file[at + i]);
        bodies.push_back(file.substr(at + 8, length));
        at += 8 + length;
    }
    EXPECT_EQ(at, file.size());
    return bodies;
}

class MidiExport : public MidiTest {
  protected:
    void SetUp() override {
        MidiTest::SetUp();
        voice = score->Staff(1)->Voice(1);
        instrument = voice->Instrument();
        detail::InstrumentAccess::ChannelSet(*instrument, 0);
        detail::InstrumentAccess::ValueSet(*instrument, 74);
        detail::InstrumentAccess::DescriptionSet(*instrument, "Flute");
    }

    // Exports and returns the file's bytes.
    std::string Export() {
        EXPECT_TRUE(score->SaveFile(PathOf("out.mid"), fmtMIDI));
        return ReadFile(PathOf("out.mid"));
    }
    std::vector<std::string> ExportTracks() { return TrackBodies(Export()); }

    // What a voice track on channel 0 with program 74 holds before its notes.
    static std::string TrackStart(int channel = 0, int program = 74) {
        const std::string volumeAndPan = B({0, 0xB0 + channel, 7, 127, 0, 0xB0 + channel, 10, 64});
        if (channel == 9) return volumeAndPan;
        return B({0, 0xB0 + channel, 0, 0, 0, 0xC0 + channel, program}) + volumeAndPan;
    }

    std::shared_ptr<Voice> voice;
    std::shared_ptr<Instrument> instrument;
};

TEST_F(MidiExport, HeaderAndConductorTrack) {
    const auto staffs = score->AllStaffs();
    detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Second");  // a second voice
    const std::string file = Export();

    EXPECT_EQ(file.substr(0, 14), std::string("MThd") + B({0, 0, 0, 6, 0, 1, 0, 3, 0, 128}));
    const auto tracks = TrackBodies(file);
    ASSERT_EQ(tracks.size(), 3u);
    const std::string conductor =
        Meta(1, "New Score|Arial|14|1") + Meta(1, "|Arial|12|1") + Meta(1, "Composer|Arial|10|1") +
        Meta(1, "Arranged By") + Meta(2, "|Arial|8|0") + Meta(2, "|Arial|8|0") +
        Meta(81, B({0x07, 0xA1, 0x20})) + Meta(7, "&0.4|0.5|0.65") + Meta(3, "Control") +
        Meta(4, "|Arial|10|1") + Meta(88, B({4, 2, 24, 8})) + Meta(6, "%C") + kEndOfTrack;
    EXPECT_EQ(tracks[0], conductor);
    EXPECT_EQ(score->FileType(), fmtMIDI);
    EXPECT_FALSE(std::filesystem::exists(PathOf("$QX$.sco")));

    EXPECT_FALSE(score->SaveFile(PathOf("missing/out.mid"), fmtMIDI));
    EXPECT_EQ(score->FileName(), PathOf("out.mid"));
}

TEST_F(MidiExport, TimeSignaturesAndTempoLimits) {
    const auto globals = score->AllGlobals();
    globals->Add(64, evtTimeChange, 3, 8);
    globals->Add(88, evtTimeChange, 2, 32);
    globals->Add(152, evtTimeChange, 5, 4);
    globals->Add(172, evtTimeChange, 7, 2);
    score->SetCount(1);  // slower than three bytes can say
    std::string conductor = ExportTracks()[0];

    // Common time is 4/4 and says so in a marker.
    const std::string signatures = Meta(88, B({4, 2, 24, 8})) + Meta(6, "%C") +
                                   B({0x84, 0x00, 255, 88, 4, 3, 3, 24, 8}) +  // 24 ticks later
                                   B({0x81, 0x40, 255, 88, 4, 2, 1, 24, 8}) +
                                   B({0x84, 0x00, 255, 88, 4, 5, 4, 24, 8}) +
                                   B({0x81, 0x20, 255, 88, 4, 7, 5, 24, 8}) + kEndOfTrack;
    EXPECT_EQ(conductor.substr(conductor.size() - signatures.size()), signatures);
    EXPECT_NE(conductor.find(Meta(81, B({255, 255, 255}))), std::string::npos);

    // Cut time is 2/2; beats per minute count the score's beat: 96 eighths a minute.
    globals->TimeItem(1)->SetValue2(1);
    score->SetCount(96);
    score->SetBeat(durEighth);
    conductor = ExportTracks()[0];
    EXPECT_NE(conductor.find(Meta(88, B({2, 1, 24, 8})) + Meta(6, "%c")), std::string::npos);
    EXPECT_NE(conductor.find(Meta(81, B({0x13, 0x12, 0xD0}))), std::string::npos);  // 1,250,000

    score->SetCount(0);
    EXPECT_EQ(ExportTracks()[0].find(B({255, 81})), std::string::npos);
}

TEST_F(MidiExport, PlaybackFileHoldsOnlyWhatPlays) {
    score->SetHeading("Head");
    score->AddNote(1, 0, 60, durHalf, 0);
    const std::string path = PathOf("play.mid");
    ASSERT_TRUE(SaveMidiFile(*score, path, true));
    const auto tracks = TrackBodies(ReadFile(path));
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0], Meta(81, B({0x07, 0xA1, 0x20})) + Meta(3, "Control") +
                             Meta(4, "Head|Arial|10|1") + Meta(88, B({4, 2, 24, 8})) +
                             Meta(6, "%C") + kEndOfTrack);
    EXPECT_EQ(tracks[1], TrackStart() + B({0, 0x90, 60, 127, 0x82, 0x00, 60, 0}) + kEndOfTrack);
    // Neither the score's file nor its state changes.
    EXPECT_EQ(score->FileName(), "");
    EXPECT_EQ(score->FileType(), fmtQuavrix);
}

// --- An independent reader ---------------------------------------------------------------------

// Runs the dump script of the test sources on a file: one line per event.
std::string Dump(const std::string& path) {
    const std::string command =
        "/usr/bin/python3 " CORVENDI_TEST_SOURCE_DIR "/tests/io/midi_dump.py '" + path + "' 2>&1";
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t n = 0;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, n);
        ::pclose(pipe);
    }
    return output;
}

bool MidoAvailable() {
    return std::filesystem::exists("/usr/bin/python3") &&
           std::system("/usr/bin/python3 -c 'import mido' >/dev/null 2>&1") == 0;
}

// Every event the score should produce, as "track tick description", sorted within each track.
class ExpectedEvents {
  public:
    void Add(int track, int32_t ticks, const std::string& text) {
        mLines[track].push_back(std::to_string(ticks * 8) + " " + text);
    }
    std::map<int, std::vector<std::string>> Sorted() const {
        auto lines = mLines;
        for (auto& [track, list] : lines) std::sort(list.begin(), list.end());
        return lines;
    }

  private:
    std::map<int, std::vector<std::string>> mLines;
};

std::map<int, std::vector<std::string>> ParseDump(const std::string& dump, std::string& heading) {
    std::map<int, std::vector<std::string>> lines;
    std::istringstream in(dump);
    std::getline(in, heading);
    std::string line;
    while (std::getline(in, line)) {
        // Anything but "<track> ..." (a message of the script) is kept under track -1.
        const size_t space = line.find(' ');
        const bool numbered = space != std::string::npos && space > 0 &&
                              line.find_first_not_of("0123456789") == space;
        if (numbered) {
            lines[std::stoi(line.substr(0, space))].push_back(line.substr(space + 1));
        } else {
            lines[-1].push_back(line);
        }
    }
    for (auto& [track, list] : lines) std::sort(list.begin(), list.end());
    return lines;
}

TEST_F(MidiExport, AnIndependentReaderSeesWhatTheScoreHolds) {
    if (!MidoAvailable()) GTEST_SKIP() << "python3 with mido is not installed";

    const auto staffs = score->AllStaffs();
    const auto instruments = score->AllInstruments();
    auto drums = detail::StaffsAccess::Add(*staffs, staffs->NewID(), "Kit", std::nullopt, true)
                     ->AddVoice(instruments->Add(instruments->NewID(), 120));
    detail::InstrumentAccess::ChannelSet(*drums->Instrument(), 9);
    drums->Notes()->Add(0, 36, durEighth, 0);
    drums->Notes()->Add(8, 36, durEighth, nteTriplet);
    detail::InstrumentAccess::ChannelSet(*instrument, 1);
    detail::InstrumentAccess::ValueSet(*instrument, 40);
    score->SetTitle("Etude");
    score->SetCount(96);
    score->AllGlobals()->Add(128, evtTimeChange, 3, 16);
    score->AddNote(1, 0, 60, durQuarter, 0);
    score->AddNote(1, 16, 64, durEighth, nteDot)->AddValue(67);
    score->AddNote(1, 40, 62, durQuarter, nteStacato);
    score->AddNote(1, 128, 65, durHalf, 0);
    score->Staff(1)->GlobalEvents()->Add(40, evtDynamic, dynMF);
    const std::string path = PathOf("out.mid");
    ASSERT_TRUE(score->SaveFile(path, fmtMIDI));

    ExpectedEvents expected;
    expected.Add(0, 0, "text Etude|Arial|14|1");
    expected.Add(0, 0, "text |Arial|12|1");
    expected.Add(0, 0, "text Composer|Arial|10|1");
    expected.Add(0, 0, "text Arranged By");
    expected.Add(0, 0, "copyright |Arial|8|0");
    expected.Add(0, 0, "copyright |Arial|8|0");
    expected.Add(0, 0, "tempo 625000");  // 96 quarters a minute
    expected.Add(0, 0, "cue_marker &0.4|0.5|0.65");
    expected.Add(0, 0, "track_name Control");
    expected.Add(0, 0, "instrument_name |Arial|10|1");
    for (int32_t i = 1; i <= score->AllGlobals()->TimeItemCount(); ++i) {
        const auto signature = score->AllGlobals()->TimeItem(i);
        if (signature->Value1() == 0) {  // common time
            expected.Add(0, signature->EventTime(), "time_signature 4 4");
            expected.Add(0, signature->EventTime(), "marker %C");
            continue;
        }
        const int denominator = signature->Value2() == 16 ? 4 : 0;
        expected.Add(0, signature->EventTime(),
                     "time_signature " + std::to_string(signature->Value1()) + " " +
                         std::to_string(denominator));
    }
    expected.Add(0, 128, "end_of_track");

    int track = 0;
    for (const auto& v : *score->AllVoices()) {
        ++track;
        const auto staff = score->Staff(track);
        const auto ins = v->Instrument();
        const std::string channel = std::to_string(ins->Channel());
        expected.Add(track, 0, "track_name " + staff->Description());
        if (!ins->Description().empty()) {
            expected.Add(track, 0, "instrument_name " + ins->Description());
        }
        const std::map<int32_t, std::string> cueOfClef = {{clfPercussion, "5"}, {clfTreble, "1"},
                                                          {clfBass, "2"},       {clfGrand, "6"},
                                                          {clfAlto, "3"},       {clfTenor, "4"}};
        expected.Add(track, 0, "cue_marker %" + cueOfClef.at(staff->DefaultClef()));
        if (ins->Channel() != 9) {
            expected.Add(track, 0, "control " + channel + " 0 0");
            expected.Add(track, 0, "program " + channel + " " + std::to_string(ins->Value()));
        }
        expected.Add(track, 0, "control " + channel + " 7 127");
        expected.Add(track, 0, "control " + channel + " 10 64");
        int32_t end = 0;
        for (const auto& note : *v->Notes()) {
            const double factor = (note->Flags() & nteDot)       ? 1.5
                                  : (note->Flags() & nteStacato) ? 0.5
                                  : (note->Flags() & nteTriplet) ? 0.33
                                                                 : 1.0;
            const int32_t off =
                note->NoteTime() + static_cast<int32_t>(note->Duration() * factor + 0.5);
            for (int32_t i = 0; i < note->ValueCount(); ++i) {
                const std::string key = std::to_string(note->Value(i));
                expected.Add(track, note->NoteTime(), "note_on " + channel + " " + key + " 127");
                expected.Add(track, off, "note_on " + channel + " " + key + " 0");
            }
            end = std::max(end, off);
        }
        for (const auto& event : *staff->GlobalEvents()) {
            if (event->EventType() == evtDynamic) {
                expected.Add(track, event->EventTime(), "control " + channel + " 7 80");
            }
        }
        expected.Add(track, end, "end_of_track");
    }

    std::string heading;
    const std::string dump = Dump(path);
    const auto seen = ParseDump(dump, heading);
    EXPECT_EQ(heading, "format 1 division 128 tracks 3") << dump;
    EXPECT_EQ(seen, expected.Sorted());
    // The drum struck again ends before it sounds anew.
    const size_t off = dump.find("\n2 64 note_on 9 36 0\n");
    const size_t on = dump.find("\n2 64 note_on 9 36 127\n");
    EXPECT_LT(off, on);
    EXPECT_NE(on, std::string::npos);
}

}  // namespace
}  // namespace corvendi::test
