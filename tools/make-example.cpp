// Writes the bundled example score, data/examples/example.sco: a short song for voice, flute
// and piano (a grand staff) with two verses of lyrics, a repeat with first and second endings, a
// key change and a time change, chords, rests, dotted and triplet notes, ties, dynamics and tempo
// marks. The score is built with the engine; where no editing call exists yet, the events go
// straight into the score's and the staffs' event lists, as the editing operations store them.
//
//   corvendi_make_example [output.sco]
#include <corvendi/Enums.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/Instruments.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/Voice.h>
#include <corvendi/Voices.h>

#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "ReproducibleScore.h"
#include "model/ModelAccess.h"

using namespace corvendi;

namespace {

constexpr int32_t kBar44 = 64;
constexpr int32_t kBar34 = 48;
constexpr int32_t kThreeFourFrom = 12;  // measures 13 to 16 are in 3/4

// Start time of measure `number` (1-based).
int32_t Measure(int32_t number) {
    if (number <= kThreeFourFrom + 1) return (number - 1) * kBar44;
    return kThreeFourFrom * kBar44 + (number - 1 - kThreeFourFrom) * kBar34;
}

// Pitches.
enum : uint8_t {
    C2 = 36,
    E2 = 40,
    G2 = 43,
    A2 = 45,
    B2 = 47,
    C3 = 48,
    D3 = 50,
    E3 = 52,
    Fs3 = 54,
    G3 = 55,
    A3 = 57,
    B3 = 59,
    C4 = 60,
    Cs4 = 61,
    D4 = 62,
    E4 = 64,
    Fs4 = 66,
    G4 = 67,
    A4 = 69,
    B4 = 71,
    C5 = 72,
    Cs5 = 73,
    D5 = 74,
    E5 = 76,
    Fs5 = 78,
    G5 = 79,
    A5 = 81
};

constexpr int32_t q = durQuarter, h = durHalf, e = durEighth, w = durWhole, s = durSixteenth;

struct Event {
    int32_t Offset;  // ticks from the measure's start
    int32_t Duration;
    int32_t Flags;
    std::vector<uint8_t> Pitches;  // empty: nothing (a rest is drawn in the gap)
};

class ExampleBuilder {
  public:
    explicit ExampleBuilder(Score& score) : mScore(score) {}

    void Notes(int32_t voice, int32_t measure, std::initializer_list<Event> events) {
        for (const Event& event : events) {
            for (const uint8_t pitch : event.Pitches) {
                mScore.AddNote(voice, Measure(measure) + event.Offset, pitch, event.Duration,
                               event.Flags);
            }
        }
    }

    // A tie from the note of `voice` (its number on the staff) at `from` to the one at `to`.
    static void Tie(Staff& staff, int32_t voice, int32_t from, int32_t to) {
        staff.GlobalEvents()->Add(from, evtTie, static_cast<uint8_t>(to / 256),
                                  static_cast<uint8_t>(to % 256), std::to_string(voice));
    }

    // One syllable of each verse at a time; verses are separated by a carriage return.
    static void Lyric(Staff& staff, int32_t time, const std::string& first,
                      const std::string& second) {
        staff.GlobalEvents()->Add(time, evtLyric, 0, 0, first + "\r" + second);
    }

  private:
    Score& mScore;
};

std::shared_ptr<Staff> AddStaff(Score& score, const std::string& name, int32_t catalogueEntry) {
    auto staffs = score.AllStaffs();
    auto staff = detail::StaffsAccess::Add(*staffs, staffs->NewID(), name, std::nullopt, true);
    auto instruments = score.AllInstruments();
    staff->AddVoice(instruments->Add(instruments->NewID(), catalogueEntry));
    return staff;
}

void WriteVoicePart(Score& score, Staff& staff) {
    ExampleBuilder b(score);
    constexpr int32_t v = 1;
    // Measures 1-8 under the repeat; measure 8 is the first ending, measure 9 the second.
    b.Notes(v, 1, {{0, q, 0, {D4}}, {16, q, 0, {G4}}, {32, q, nteDot, {A4}}, {56, e, 0, {B4}}});
    b.Notes(v, 2, {{0, h, 0, {B4}}, {32, q, 0, {A4}}, {48, q, 0, {G4}}});
    b.Notes(v, 3,
            {{0, q, 0, {E4}},
             {16, e, nteTriplet, {G4}},
             {21, e, nteTriplet, {Fs4}},
             {27, e, nteTriplet, {E4}},
             {32, h, 0, {D4}}});
    b.Notes(v, 4, {{0, h, nteDot, {D4}}});
    b.Notes(v, 5, {{0, q, 0, {D4}}, {16, q, 0, {B4}}, {32, q, nteDot, {C5}}, {56, e, 0, {B4}}});
    b.Notes(v, 6, {{0, h, 0, {A4}}, {32, q, 0, {G4}}, {48, q, 0, {A4}}});
    b.Notes(v, 7, {{0, q, 0, {B4}}, {16, q, 0, {A4}}, {32, h, 0, {G4}}});
    b.Notes(v, 8, {{0, h, 0, {A4}}, {48, q, 0, {D4}}});
    b.Notes(v, 9, {{0, w, 0, {G4}}});
    // After the key change to D major.
    b.Notes(v, 10, {{0, q, 0, {Fs4}}, {16, q, 0, {A4}}, {32, q, nteDot, {D5}}, {56, e, 0, {Cs5}}});
    b.Notes(v, 11, {{0, h, 0, {B4}}, {32, h, 0, {A4}}});
    b.Notes(v, 12, {{0, h, 0, {A4}}, {32, h, 0, {A4}}});
    // 3/4.
    b.Notes(v, 13, {{0, q, 0, {B4}}, {16, q, 0, {A4}}, {32, q, 0, {G4}}});
    b.Notes(v, 14, {{0, h, 0, {Fs4}}, {32, q, 0, {E4}}});
    b.Notes(v, 15, {{0, q, nteDot, {E4}}, {24, e, 0, {Fs4}}, {32, q, 0, {E4}}});
    b.Notes(v, 16, {{0, h, nteDot, {D4}}});

    ExampleBuilder::Tie(staff, 1, Measure(12), Measure(12) + 32);

    const std::vector<std::pair<std::string, std::string>> syllables = {
        {"When", "Through"}, {"the", "the"}, {"eve-", "si-"}, {"ning", "lent"},
        {"falls", "fields"}, {"on", "we"},   {"the", "will"}, {"hill", "roam"},
    };
    const int32_t times[] = {Measure(1), Measure(1) + 16, Measure(1) + 32, Measure(1) + 56,
                             Measure(2), Measure(2) + 32, Measure(2) + 48, Measure(3)};
    for (size_t i = 0; i < syllables.size(); ++i) {
        ExampleBuilder::Lyric(staff, times[i], syllables[i].first, syllables[i].second);
    }
    const std::vector<std::pair<std::string, std::string>> more = {
        {"and", "till"}, {"the", "the"},   {"stars", "lamps"}, {"come", "bring"},
        {"out", "us"},   {"one", "safe-"}, {"by", "ly"},       {"one", "home"},
    };
    const int32_t moreTimes[] = {Measure(5), Measure(5) + 16, Measure(5) + 32, Measure(5) + 56,
                                 Measure(6), Measure(6) + 32, Measure(6) + 48, Measure(7)};
    for (size_t i = 0; i < more.size(); ++i) {
        ExampleBuilder::Lyric(staff, moreTimes[i], more[i].first, more[i].second);
    }
    detail::StaffAccess::VersesSet(staff, 2);

    // The voice's dynamics stand where no lyric is sung under them.
    auto events = staff.GlobalEvents();
    events->Add(Measure(10), evtDynamic, dynF);
    events->Add(Measure(15), evtDynamic, dynP);
    events->Add(Measure(15), evtTempo, tmpRitardando);
}

void WriteFlutePart(Score& score, Staff& staff) {
    ExampleBuilder b(score);
    constexpr int32_t v = 2;
    b.Notes(v, 1, {{32, e, 0, {D5}}, {40, e, 0, {E5}}, {48, e, 0, {D5}}, {56, e, 0, {B4}}});
    b.Notes(
        v, 2,
        {{32, s, 0, {A4}}, {36, s, 0, {B4}}, {40, s, 0, {C5}}, {44, s, 0, {D5}}, {48, q, 0, {E5}}});
    b.Notes(v, 3, {{0, h, nteDot, {D5}}});
    b.Notes(v, 4,
            {{0, q, 0, {B4}},
             {16, e, nteTriplet, {C5}},
             {21, e, nteTriplet, {B4}},
             {27, e, nteTriplet, {A4}},
             {32, h, 0, {G4}}});
    b.Notes(v, 6, {{0, q, 0, {C5}}, {16, q, 0, {E5}}, {32, h, 0, {D5}}});
    b.Notes(v, 7, {{0, h, 0, {D5}}, {32, h, 0, {B4}}});
    b.Notes(v, 8, {{0, w, 0, {C5}}});
    b.Notes(v, 9, {{0, h, 0, {B4}}, {32, h, 0, {D5}}});
    b.Notes(
        v, 10,
        {{0, e, 0, {D5}}, {8, e, 0, {E5}}, {16, e, 0, {Fs5}}, {24, e, 0, {G5}}, {32, h, 0, {A5}}});
    b.Notes(v, 11, {{0, q, nteDot, {G5}}, {24, e, 0, {Fs5}}, {32, h, 0, {E5}}});
    b.Notes(v, 12, {{0, w, 0, {E5}}});
    b.Notes(v, 13, {{0, h, nteDot, {D5}}});
    b.Notes(v, 14, {{0, q, 0, {A4}}, {16, q, 0, {B4}}, {32, q, 0, {Cs5}}});
    b.Notes(v, 15, {{0, h, 0, {Cs5}}, {32, q, 0, {Cs5}}});
    b.Notes(v, 16, {{0, h, nteDot, {D5}}});

    ExampleBuilder::Tie(staff, 1, Measure(7), Measure(7) + 32);
    ExampleBuilder::Tie(staff, 1, Measure(15), Measure(15) + 32);
    staff.GlobalEvents()->Add(Measure(1) + 32, evtDynamic, dynP);
    staff.GlobalEvents()->Add(Measure(10), evtDynamic, dynMF);
}

void WritePianoPart(Score& score, Staff& staff) {
    ExampleBuilder b(score);
    constexpr int32_t right = 3;
    constexpr int32_t left = 4;
    // G major: G, C, D, G chords; then D major: D, G, A, D.
    // The right hand stays on the upper staff, leaving the space between the staffs to the
    // dynamics.
    const std::vector<uint8_t> gChord = {D4, G4, B4}, cChord = {E4, G4, C5}, dChord = {D4, Fs4, A4},
                               em = {E4, G4, B4}, aChord = {Cs4, E4, A4}, gInD = {D4, G4, B4};
    const std::vector<std::vector<uint8_t>> rightHand = {gChord, gChord, cChord, gChord, gChord,
                                                         dChord, em,     dChord, gChord};
    for (int32_t m = 1; m <= 9; ++m) {
        const auto& chord = rightHand[static_cast<size_t>(m - 1)];
        b.Notes(right, m, {{0, h, 0, chord}, {32, q, 0, chord}});
    }
    b.Notes(right, 10, {{0, h, 0, dChord}, {32, h, 0, gInD}});
    b.Notes(right, 11, {{0, h, 0, gInD}, {32, h, 0, aChord}});
    b.Notes(right, 12, {{0, w, 0, aChord}});
    b.Notes(right, 13, {{0, q, 0, gInD}, {16, q, 0, gInD}, {32, q, 0, gInD}});
    b.Notes(right, 14, {{0, h, 0, dChord}, {32, q, 0, {Cs4, E4, G4}}});
    b.Notes(right, 15, {{0, h, nteDot, aChord}});
    b.Notes(right, 16, {{0, h, nteDot, {D4, Fs4, A4}}});

    // Roots low enough that the octave above them stays on the lower staff.
    const uint8_t bass[] = {G2, G2, C2, G2, G2, D3, E2, D3, G2, D3, G2, A2, G2, D3, A2, D3};
    for (int32_t m = 1; m <= 16; ++m) {
        const uint8_t root = bass[m - 1];
        if (m >= 13) {
            b.Notes(left, m, {{0, h, nteDot, {root}}});
        } else if (m % 2 == 1) {
            b.Notes(left, m,
                    {{0, q, nteDot, {root}},
                     {24, e, 0, {static_cast<uint8_t>(root + 7)}},
                     {32, h, 0, {static_cast<uint8_t>(root + 12)}}});
        } else {
            b.Notes(left, m, {{0, w, 0, {root, static_cast<uint8_t>(root + 7)}}});
        }
    }
    staff.GlobalEvents()->Add(Measure(1), evtDynamic, dynP);
    staff.GlobalEvents()->Add(Measure(11), evtDynamic, dynMF);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "example.sco";
    auto score = tools::NewReproducibleScore();
    score->SetTitle("Evening Song");
    score->SetSubTitle("for voice, flute and piano");
    score->SetComposer("Traditional");
    score->SetArrangedBy("Arranged for the Corvendi example");
    score->SetStaffHeight(0.25f);
    score->SetStaffSpace(0.3f);
    score->SetSystemSpace(0.4f);
    score->SetHeading("Andante");
    score->SetCount(84);
    score->SetCopyright(0, "Example score of the Corvendi project, free to use");
    score->SetPageNums(pgnNoPageOne);
    score->SetKey(1);

    auto globals = score->AllGlobals();
    globals->SetDftTimeVal(4 * 128 + 16);
    globals->Add(Measure(kThreeFourFrom + 1), evtTimeChange, 3, 16);
    globals->Add(Measure(1), evtRepeatBegin);
    globals->Add(Measure(8), evtSectionDefine, sctEnding1);
    globals->Add(Measure(8), evtRepeatEnd);
    globals->Add(Measure(9), evtSectionDefine, sctEnding2);
    globals->Add(Measure(16), evtScoreEnd);
    // Four measures a system: the 3/4 signature then stands at a system start, where time
    // signatures are drawn, the four systems fill two pages, and the last one ends with the
    // final barline.
    for (const int32_t measure : {5, 9, 13, 17}) globals->Add(Measure(measure), evtLineEnd);

    // Staff 1 of the default score becomes the voice.
    auto voice = score->Staff(1);
    voice->SetDescription("Voice");
    voice->SetFlags(stfShowStaffDesc);
    auto instruments = score->AllInstruments();
    voice->Clear();
    score->AllVoices()->Clear();
    instruments->Clear();
    voice->AddVoice(instruments->Add(instruments->NewID(), 53));

    auto flute = AddStaff(*score, "Flute", 73);
    flute->SetFlags(stfShowStaffDesc);
    auto piano = AddStaff(*score, "Piano", 0);
    piano->SetFlags(stfShowStaffDesc);
    piano->SetDefaultClef(clfGrand);
    detail::StaffAccess::BraceSet(*piano, 1);
    piano->AddVoice(piano->Voice(1)->Instrument());

    WriteVoicePart(*score, *voice);
    WriteFlutePart(*score, *flute);
    WritePianoPart(*score, *piano);
    // The key changes to D major in measure 10 on every staff.
    for (const auto& staff : *score->AllStaffs()) {
        staff->GlobalEvents()->Add(Measure(10), evtKeyChange, 2);
    }
    score->SetRedraw(true);

    if (!score->SaveFile(output, fmtQuavrix)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: %d staffs, %d voices\n", output.c_str(), score->Staffs(),
                score->AllVoices()->Count());
    return 0;
}
