// A page of music showing what the symbol drawing draws: every note value, rest, accidental,
// articulation, ornament, beam group and triplet, on treble, bass, alto, tenor, grand,
// percussion and drum staffs. Writes a PNG (docs/images/notes.png).
//
//   corvendi_notes_picture [output.png] [page] [staff height, inches]
#include <corvendi/Enums.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/Instruments.h>
#include <corvendi/Platform.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/cairo/CairoImageSurface.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "model/ModelAccess.h"

using namespace corvendi;

namespace {

constexpr int32_t W = durWhole, H = durHalf, Q = durQuarter, E = durEighth, X = durSixteenth,
                  T = durThirtySecond;

struct Writer {
    Score& score;
    int32_t voice;
    int32_t time = 0;
    // A note or chord at the running time, which then advances by `step` (the note's length
    // unless given).
    void Add(std::vector<int32_t> values, int32_t duration, int32_t flags = 0, int32_t step = -1) {
        for (int32_t v : values)
            score.AddNote(voice, time, static_cast<uint8_t>(v), duration, flags);
        if (step < 0) {
            step = duration;
            if (flags & nteDot) step += duration / 2;
        }
        time += step;
    }
    void Rest(int32_t ticks) { time += ticks; }
    void Bar() { time = (time + W - 1) / W * W; }
};

std::shared_ptr<Staff> NewStaff(Score& score, const char* name, int32_t clef, int32_t instrument,
                                bool first) {
    auto staffs = score.AllStaffs();
    std::shared_ptr<Staff> staff =
        first ? staffs->Item(1)
              : detail::StaffsAccess::Add(*staffs, staffs->NewID(), name, std::nullopt, true);
    if (!first) {
        auto instruments = score.AllInstruments();
        staff->AddVoice(instruments->Add(instruments->NewID(), instrument));
    }
    staff->SetDescription(name);
    staff->SetFlags(stfShowStaffDesc);
    staff->SetDefaultClef(clef);
    return staff;
}

void Treble(Score& score, int32_t voice) {
    Writer w{score, voice};
    // Note values and dots.
    w.Add({72}, Q, nteAccent);
    w.Add({74}, Q, nteStacato);
    w.Add({76}, H, nteFermata);
    w.Add({67}, W, 0);
    w.Add({65}, H, nteDot);
    w.Add({64}, Q, nteAccent2);
    // Beams: eighths up and down, sixteenths, thirty-seconds, mixed.
    w.Add({64}, E);
    w.Add({65}, E);
    w.Add({67}, E);
    w.Add({69}, E);
    w.Add({79}, E);
    w.Add({77}, E);
    w.Add({76}, E);
    w.Add({74}, E);
    w.Add({60}, X);
    w.Add({64}, X);
    w.Add({67}, X);
    w.Add({72}, X);
    w.Add({84}, X);
    w.Add({83}, X);
    w.Add({81}, X);
    w.Add({79}, X);
    w.Add({67}, E, nteDot);
    w.Add({69}, X);
    w.Add({71}, X);
    w.Add({72}, E);
    w.Add({74}, X);
    for (int i = 0; i < 8; ++i) w.Add({72 + (i % 4) * 2}, T);
    w.Add({67}, E);
    w.Add({69}, Q);
    w.Add({71}, E);
    w.Bar();
    // Accidentals across a measure and the next; chords with seconds; ledger lines.
    w.Add({66}, Q);
    w.Add({66}, Q);
    w.Add({65}, Q);
    w.Add({70}, Q);
    w.Add({60, 64, 67}, Q);
    w.Add({64, 65, 67}, Q);
    w.Add({71, 72, 76}, Q, 0);
    w.Add({84, 88}, Q);
    w.Add({57}, Q);
    w.Add({55, 59}, H);
    w.Add({89}, Q);
    // Triplets.
    w.Add({72}, E, nteTriplet, 5);
    w.Add({74}, E, nteTriplet, 6);
    w.Add({76}, E, nteTriplet, 5);
    w.Add({67}, Q, nteTriplet, 11);
    w.Add({69}, Q, nteTriplet, 10);
    w.Add({71}, Q, nteTriplet, 11);
    w.Add({72}, H);
    // Ornaments.
    w.Add({76}, Q, nteTrill);
    w.Add({74}, Q, nteTurn);
    w.Add({72}, Q, nteMordent);
    w.Add({71}, Q, nteHalfMordent);
    w.Add({67}, Q, nteBowDown);
    w.Add({69}, Q, nteBowUp);
    w.Add({79}, H, nteFermata);
    // Grace notes and rests.
    w.Add({74}, E, nteGrace, 4);
    w.Add({72}, Q, 0, 12);
    w.Add({71}, E);
    w.Rest(E);
    w.Add({67}, H);
    w.Add({72}, Q);
}

void Bass(Score& score, int32_t voice) {
    Writer w{score, voice};
    w.Add({43}, Q);
    w.Add({45}, Q);
    w.Add({47}, Q);
    w.Add({48}, Q);
    w.Add({36, 43}, H);
    w.Add({38, 42, 45}, H);
    w.Add({31}, E);
    w.Add({35}, E);
    w.Add({38}, E);
    w.Add({43}, E);
    w.Add({50}, X);
    w.Add({48}, X);
    w.Add({47}, X);
    w.Add({45}, X);
    w.Add({43}, Q);
    w.Add({28}, Q);
    w.Add({26}, Q);
    w.Add({60}, Q);
    w.Add({62}, Q);
    w.Rest(Q);
    w.Add({41}, Q);
    w.Rest(H);
    w.Add({36}, W);
}

void Alto(Score& score, int32_t voice) {
    Writer w{score, voice};
    w.Add({53}, Q);
    w.Add({55}, Q);
    w.Add({60}, Q);
    w.Add({64}, Q);
    w.Add({62}, E);
    w.Add({60}, E);
    w.Add({59}, E);
    w.Add({57}, E);
    w.Add({55}, H);
    w.Add({53, 57, 60}, W);
}

void Tenor(Score& score, int32_t voice) {
    Writer w{score, voice};
    w.Add({50}, Q);
    w.Add({53}, Q);
    w.Add({57}, Q);
    w.Add({62}, Q);
    w.Add({60}, E, nteDot);
    w.Add({58}, X);
    w.Add({57}, E, nteDot);
    w.Add({55}, X);
    w.Add({53}, H);
    w.Add({50}, W);
}

void Grand(Score& score, int32_t voice) {
    Writer w{score, voice};
    w.Add({48, 64, 67, 72}, Q);
    w.Add({55, 65, 69}, Q);
    w.Add({43, 62, 67, 71}, H);
    w.Add({36, 48, 60, 64, 67, 72}, W);
    w.Add({72}, X);
    w.Add({74}, X);
    w.Add({76}, X);
    w.Add({77}, X);
    w.Add({79}, Q);
    w.Add({41}, H);
}

void Percussion(Score& score, int32_t voice) {
    Writer w{score, voice};
    for (int i = 0; i < 4; ++i) w.Add({64}, Q, i == 0 ? nteAccent2 : 0);
    for (int i = 0; i < 8; ++i) w.Add({i % 2 ? 64 : 71}, E);
    w.Add({71}, H);
    w.Add({64}, Q);
    w.Rest(Q);
}

void Drums(Score& score, int32_t voice) {
    Writer w{score, voice};
    for (int i = 0; i < 4; ++i) w.Add({i % 2 ? 50 : 43}, Q);
    for (int i = 0; i < 8; ++i) w.Add({i % 2 ? 50 : 53}, E);
    w.Add({49}, W);
}

}  // namespace

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "notes.png";
    auto score = Score::Create();
    score->CreateDefault();
    score->SetRedraw(false);
    score->SetTitle("Notes, Rests and Beams");
    score->SetSubTitle("");
    score->SetComposer("");
    score->SetArrangedBy("");
    score->SetMetronome(false);
    score->SetStaffHeight(argc > 3 ? static_cast<float>(std::atof(argv[3])) : 0.22f);
    score->SetStaffSpace(0.3f);
    score->SetSystemSpace(0.4f);
    score->SetKey(-3);

    struct Part {
        const char* Name;
        int32_t Clef;
        int32_t Instrument;
        void (*Music)(Score&, int32_t);
    };
    const Part parts[] = {
        {"Treble", clfTreble, 74, Treble},    {"Bass", clfBass, 43, Bass},
        {"Alto", clfAlto, 42, Alto},          {"Tenor", clfTenor, 43, Tenor},
        {"Piano", clfGrand, 1, Grand},        {"Perc.", clfPercussion, 115, Percussion},
        {"Drums", clfPercussion, 130, Drums},
    };
    int32_t voice = 1;
    for (const Part& part : parts) {
        auto staff = NewStaff(*score, part.Name, part.Clef, part.Instrument, voice == 1);
        if (part.Clef == clfTenor) staff->GlobalEvents()->Add(0, evtKeyChange, 4);  // four sharps
        part.Music(*score, voice);
        ++voice;
    }
    score->SetRedraw(true);

    auto surface =
        std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw());
    score->SetWindow(surface);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
    const int32_t page = argc > 2 ? std::atoi(argv[2]) : 1;
    if (page != score->CurPage()) score->SetCurPage(page);
    score->PaintWindow();
    if (!surface->WritePng(output)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: page %d of %d\n", output.c_str(), score->CurPage(), score->LastPage());
    return 0;
}
