// A page of music showing the marks drawn around the notes: repeat, double and final barlines,
// first and second endings, coda and segno signs, an octave line, measure numbers, a key and a
// clef change, a measure repeat, chord symbols, dynamics, a tempo mark, free text, two verses
// of lyrics and ties within and across systems. Writes a PNG (docs/images/marks.png).
//
//   corvendi_marks_picture [output.png] [diagrams: 0 or 1]
#include <corvendi/ChordMapper.h>
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

using namespace corvendi;

namespace {

constexpr int32_t Q = durQuarter, H = durHalf, E = durEighth, W = durWhole;

int32_t ChordCodeNamed(const ChordMapper& mapper, const std::string& name) {
    for (int32_t i = 0; i < mapper.ChordCount(); ++i) {
        if (mapper.ChordName(i) == name) return mapper.ChordCode(i);
    }
    return 0;
}

void Tie(GlobalEvents& events, int32_t from, int32_t to) {
    events.Add(from, evtTie, static_cast<uint8_t>(to / 256), static_cast<uint8_t>(to % 256), "1");
}

}  // namespace

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "marks.png";
    auto score = Score::Create();
    score->CreateDefault();
    score->SetRedraw(false);
    score->SetTitle("Marks, Words and Ties");
    score->SetSubTitle("");
    score->SetComposer("");
    score->SetArrangedBy("");
    score->SetMetronome(false);
    score->SetStaffHeight(0.22f);
    score->SetStaffSpace(0.5f);
    score->SetSystemSpace(0.5f);
    score->SetNumberMeasures(true);
    score->SetNumberPos(0);
    score->SetUseChords(true);
    score->SetUseChordMaps(argc > 2 && std::atoi(argv[2]) != 0);

    auto staff = score->Staff(1);
    staff->SetFlags(0);
    auto events = staff->GlobalEvents();
    auto globals = score->AllGlobals();
    staff->VersesSet(2);

    // Melody: four measures per line, a tune with a repeat and two endings.
    const int32_t melody[] = {67, 69, 71, 72, 74, 72, 71, 69, 67, 67, 64, 62, 60, 62, 64, 67,
                              69, 71, 72, 74, 76, 74, 72, 71, 72, 72, 71, 69, 67, 65, 64, 62};
    int32_t t = 0;
    for (int32_t i = 0; i < 32; ++i, t += Q) {
        const int32_t measure = t / W;
        if (measure == 5) continue;  // the measure repeat shows the sign only
        score->AddNote(1, t, static_cast<uint8_t>(melody[i]), Q, i == 6 ? nteStacato : 0);
    }
    // Long notes tied within a system and across the break to the next system.
    score->AddNote(1, 8 * W, 67, H, 0);
    score->AddNote(1, 8 * W + H, 67, Q, 0);
    score->AddNote(1, 8 * W + H + Q, 72, Q, 0);
    score->AddNote(1, 9 * W, 72, H, 0);
    score->AddNote(1, 9 * W + H, 71, E, 0);
    score->AddNote(1, 9 * W + H + E, 69, E, 0);
    score->AddNote(1, 9 * W + H + Q, 67, Q, 0);
    for (int32_t m = 10; m < 16; ++m) score->AddNote(1, m * W, static_cast<uint8_t>(60 + m), W, 0);
    Tie(*events, 8 * W, 8 * W + H);
    Tie(*events, 8 * W + H + Q, 9 * W);
    Tie(*events, 7 * W - Q, 7 * W);  // a slur across the first system break
    Tie(*events, 11 * W, 12 * W);
    Tie(*events, 15 * W, 16 * W);
    score->AddNote(1, 16 * W, 75, W, 0);

    // Repeats, endings, coda and segno, the final bar.
    globals->Add(0, evtSectionDefine, sctSegundo);
    globals->Add(W, evtRepeatBegin);
    globals->Add(2 * W, evtSectionDefine, sctEnding1);
    globals->Add(2 * W, evtRepeatEnd);
    globals->Add(3 * W, evtSectionDefine, sctEnding2);
    globals->Add(6 * W, evtSectionDefine, sctToCoda);
    globals->Add(7 * W, evtSectionDefine, sctCoda);
    globals->Add(16 * W, evtScoreEnd);
    events->Add(5 * W, evtSectionDefine, sctRepeatMeasure);
    events->Add(12 * W, evtSectionDefine, 0, 1);  // 8va over two measures
    events->Add(13 * W, evtSectionDefine, 0, 1);
    // A key change and a clef change.
    events->Add(10 * W, evtKeyChange, 253);
    events->Add(14 * W, evtClefChange, clfBass);

    // Dynamics, tempo and text.
    events->Add(0, evtDynamic, dynP);
    events->Add(4 * W, evtDynamic, dynMF);
    events->Add(8 * W, evtDynamic, dynFF);
    events->Add(0, evtTempo, 96);
    events->Add(4 * W + H, evtText, 0, 9, "dolce");
    events->Add(8 * W + Q, evtText, 7, 0, "rit.");

    // Lyrics: two verses, with hyphens.
    const char* words[] = {"Sing\rNow", "to\rthe", "the\rriv-", "morn-\rer", "ing\rruns", "light\rdown",
                           "a-\rto", "bove\rthe", "the\rsea"};
    for (int32_t i = 0; i < 9; ++i) events->Add(i * Q, evtLyric, 0, 0, words[i]);

    // Chord symbols, names or diagrams.
    if (const auto& mapper = score->ChordMapper()) {
        const char* names[] = {"C", "G", "Am", "F", "C", "G7", "C", "Dm", "G", "C"};
        for (int32_t i = 0; i < 10; ++i) {
            const int32_t code = ChordCodeNamed(*mapper, names[i]);
            if (code > 0) globals->Add(i * W + (i % 2) * H, evtChord, static_cast<uint8_t>(code));
        }
    }
    score->SetRedraw(true);

    auto surface = std::make_shared<CairoImageSurface>(score->PageWidthTw(), score->PageHeightTw());
    score->SetWindow(surface);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
    score->PaintWindow();
    if (!surface->WritePng(output)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: page %d of %d\n", output.c_str(), score->CurPage(), score->LastPage());
    return 0;
}
