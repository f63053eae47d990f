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
    // The notes of the default staff's voice after its names and channel settings.
    std::string NoteSectionOf(const std::string& body) {
        const std::string names = Meta(3, "New") + Meta(4, "Flute");
        const std::string start = names + TrackStart();
        EXPECT_EQ(body.substr(0, start.size()), start);
        return body.substr(start.size());
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
        Meta(81, B({0x08, 0xE6, 0xA5})) + Meta(7, "&0.4|0.5|0.65") + Meta(3, "Control") +
        Meta(4, "|Arial|10|1") + Meta(88, B({0, 2, 24, 8})) + kEndOfTrack;
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
    const std::string conductor = ExportTracks()[0];

    const std::string signatures =
        Meta(88, B({0, 2, 24, 8})) + B({0x84, 0x00, 255, 88, 4, 3, 3, 24, 8}) +  // 24 ticks later
        B({0x81, 0x40, 255, 88, 4, 2, 1, 24, 8}) + B({0x84, 0x00, 255, 88, 4, 5, 4, 24, 8}) +
        B({0x81, 0x20, 255, 88, 4, 7, 5, 24, 8}) + kEndOfTrack;
    EXPECT_EQ(conductor.substr(conductor.size() - signatures.size()), signatures);
    EXPECT_NE(conductor.find(Meta(81, B({255, 255, 255}))), std::string::npos);

    score->SetCount(0);
    EXPECT_EQ(ExportTracks()[0].find(B({255, 81})), std::string::npos);
}

TEST_F(MidiExport, SoundingLengthsAndChords) {
    score->AddNote(1, 0, 60, durQuarter, nteDot);       // sounds 24 ticks
    score->AddNote(1, 32, 62, durQuarter, nteStacato);  // 8
    score->AddNote(1, 64, 64, durQuarter, nteTriplet);  // 5.28 -> 5
    auto chord = score->AddNote(1, 80, 67, durEighth, 0);
    chord->AddValue(71);
    chord->AddValue(74);
    const std::string notes = NoteSectionOf(ExportTracks()[1]);
    EXPECT_EQ(notes, B({0x00, 0x90, 60,  127,  0x81, 0x40, 60,   0,  // 24 ticks = 192
                        0x40, 62,   127, 0x40, 62,   0,              // 8 = 64
                        0x81, 0x40, 64,  127,  0x28, 64,   0,        // 5 = 40
                        0x58, 67,   127, 0x00, 71,   127,  0x00, 74, 127,
                        0x40, 67,   0,   0x00, 71,   0,    0x00, 74, 0}) +
                         kEndOfTrack);
}

TEST_F(MidiExport, DynamicsBecomeVolumeAndDrumsKeepTheirProgram) {
    score->AddNote(1, 0, 60, durQuarter, 0);
    score->AddNote(1, 32, 62, durQuarter, 0);
    const auto events = score->Staff(1)->GlobalEvents();
    events->Add(16, evtDynamic, dynP);
    events->Add(32, evtDynamic, dynFF);
    events->Add(32, evtText, 0, 0, "ignored");
    events->Add(40, evtDynamic, dynPPP);  // after the last note: not written
    const std::string notes = NoteSectionOf(ExportTracks()[1]);
    EXPECT_EQ(notes, B({0x00, 0x90, 60, 127, 0x81, 0x00, 60, 0,   0x00, 0xB0, 7,  48,
                        0x81, 0x00, 7,  112, 0x00, 0x90, 62, 127, 0x81, 0x00, 62, 0}) +
                         kEndOfTrack);

    detail::InstrumentAccess::ChannelSet(*instrument, 9);
    const std::string drums = ExportTracks()[1];
    const std::string start = Meta(3, "New") + Meta(4, "Flute") + TrackStart(9);
    EXPECT_EQ(drums.substr(0, start.size()), start);
    EXPECT_EQ(drums.substr(start.size(), 4), B({0x00, 0x99, 60, 127}));
}

TEST_F(MidiExport, VoicesInTrackOrder) {
    const auto staffs = score->AllStaffs();
    const auto instruments = score->AllInstruments();
    std::vector<std::shared_ptr<Voice>> voices{voice};
    for (const int entry : {40, 56, 68}) {
        auto staff = detail::StaffsAccess::Add(*staffs, staffs->NewID(),
                                               "S" + std::to_string(entry), std::nullopt, true);
        voices.push_back(staff->AddVoice(instruments->Add(instruments->NewID(), entry)));
    }
    for (size_t i = 0; i < voices.size(); ++i) {
        detail::InstrumentAccess::ChannelSet(*voices[i]->Instrument(), 0);
        detail::InstrumentAccess::ValueSet(*voices[i]->Instrument(), static_cast<int32_t>(10 + i));
    }
    voices[0]->SetTrack(3);
    voices[1]->SetTrack(9999);
    voices[2]->SetTrack(1);
    voices[3]->SetTrack(3);  // the first voice numbered 3 is written

    const std::string file = Export();
    EXPECT_EQ(file.substr(10, 2), B({0, 5}));  // every voice counts in the header
    const auto tracks = TrackBodies(file);
    ASSERT_EQ(tracks.size(), 3u);
    auto programOf = [](const std::string& body) {
        const size_t at = body.find(B({0, 0xB0, 0, 0, 0}));
        return at == std::string::npos ? -1 : static_cast<uint8_t>(body[at + 6]);
    };
    EXPECT_EQ(programOf(tracks[1]), 12);
    EXPECT_EQ(programOf(tracks[2]), 10);
}

TEST_F(MidiExport, LongTextsAreLeftOutAndNamesCut) {
    score->SetTitle(std::string(300, 't'));
    score->Staff(1)->SetDescription("  " + std::string(300, 'n') + "  ");
    const auto tracks = ExportTracks();
    EXPECT_EQ(tracks[0].substr(0, 4), B({0, 255, 1, 11}));  // the subtitle comes first
    EXPECT_EQ(tracks[1].substr(0, 4 + 255), Meta(3, std::string(255, 'n')));
}

TEST_F(MidiExport, PlaybackFileHoldsOnlyWhatPlays) {
    score->SetHeading("Head");
    score->AddNote(1, 0, 60, durHalf, 0);
    const std::string path = PathOf("play.mid");
    ASSERT_TRUE(SaveMidiFile(*score, path, true));
    const auto tracks = TrackBodies(ReadFile(path));
    ASSERT_EQ(tracks.size(), 2u);
    EXPECT_EQ(tracks[0], Meta(81, B({0x08, 0xE6, 0xA5})) + Meta(3, "Control") +
                             Meta(4, "Head|Arial|10|1") + Meta(88, B({0, 2, 24, 8})) + kEndOfTrack);
    EXPECT_EQ(tracks[1], TrackStart() + B({0, 0x90, 60, 127, 0x82, 0x00, 60, 0}) + kEndOfTrack);
    // Neither the score's file nor its state changes.
    EXPECT_EQ(score->FileName(), "");
    EXPECT_EQ(score->FileType(), fmtQuavrix);
}

}  // namespace
}  // namespace corvendi::test
