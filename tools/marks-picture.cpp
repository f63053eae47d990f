// Three systems of music showing the marks drawn around the notes: repeat, double and final
// barlines, first and second endings, coda and segno signs with "To Coda" and "D.S.", an octave
// line, measure numbers, a key and a clef change, a measure repeat, chord symbols, dynamics, a
// tempo heading and tempo marks, free text, two verses of lyrics, ties within and across
// systems and a slur. Writes the top of the page, down to the last system with music, as a PNG
// (docs/images/marks.png).
//
//   corvendi_marks_picture [output.png] [diagrams: 0 or 1]
#include <corvendi/ChordMapper.h>
#include <corvendi/Enums.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/Instruments.h>
#include <corvendi/Platform.h>
#include <corvendi/Region.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/cairo/CairoImageSurface.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"

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
    score->SetHeading("Moderato");
    score->SetMetronome(true);
    score->SetCount(96);
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
    detail::StaffAccess::VersesSet(*staff, 2);

    // A tune of thirteen measures in three systems of four or five measures, so that the
    // quarter notes under the lyrics have room for their syllables.
    struct Entry {
        int32_t Time, Value, Duration, Flags;
    };
    const Entry tune[] = {
        // 1-4: a repeat with a first and a second ending.
        {0, 67, Q, 0},
        {Q, 69, Q, 0},
        {H, 71, Q, 0},
        {H + Q, 72, Q, 0},
        {W, 74, Q, nteStacato},
        {W + Q, 72, Q, nteStacato},
        {W + H, 71, Q, 0},
        {W + H + Q, 69, Q, 0},
        {2 * W, 67, H, nteDot},
        {2 * W + H + Q, 62, Q, 0},
        {3 * W, 60, H, 0},
        {3 * W + H, 64, Q, 0},
        {3 * W + H + Q, 72, Q, 0},
        // 5-8: a measure repeat, the way to the coda and back to the sign, ties and a slur.
        {4 * W, 72, H, 0},
        {4 * W + H, 71, Q, 0},
        {4 * W + H + Q, 69, Q, 0},
        {6 * W, 76, H, 0},
        {6 * W + H, 74, Q, 0},
        {6 * W + H + Q, 72, Q, 0},
        {7 * W, 67, H, 0},
        {7 * W + H, 67, Q, 0},
        {7 * W + H + Q, 71, Q, 0},
        // 9-13: the coda, a key change, an octave line and a clef change.
        {8 * W, 72, H, 0},
        {8 * W + H, 71, E, 0},
        {8 * W + H + E, 69, E, 0},
        {8 * W + H + Q, 67, Q, 0},
        {9 * W, 70, H, 0},
        {9 * W + H, 72, Q, 0},
        {9 * W + H + Q, 74, Q, 0},
        {10 * W, 75, W, 0},
        {11 * W, 75, W, 0},
        {12 * W, 51, H, 0},
        {12 * W + H, 39, H, 0},
    };
    for (const auto& note : tune) {
        if (note.Duration > 0) {
            score->AddNote(1, note.Time, static_cast<uint8_t>(note.Value), note.Duration,
                           note.Flags);
        }
    }
    Tie(*events, 3 * W + H + Q, 4 * W);  // a tie over the first system break
    Tie(*events, 6 * W + H + Q, 7 * W);  // a slur over a barline
    Tie(*events, 7 * W, 7 * W + H);
    Tie(*events, 10 * W, 11 * W);

    // Three systems: measures 1-4, 5-8 and 9-13; the empty measures after the end start a
    // fourth one, which the picture leaves out.
    globals->Add(4 * W, evtLineEnd);
    globals->Add(8 * W, evtLineEnd);
    globals->Add(13 * W, evtLineEnd);

    // Repeats, endings, coda and segno, the final bar.
    globals->Add(W, evtRepeatBegin);
    globals->Add(W, evtSectionDefine, sctSegundo);
    globals->Add(2 * W, evtSectionDefine, sctEnding1);
    globals->Add(2 * W, evtRepeatEnd);
    globals->Add(3 * W, evtSectionDefine, sctEnding2);
    globals->Add(6 * W, evtSectionDefine, sctToCoda);
    globals->Add(7 * W, evtSectionDefine, sctToSegundo);
    globals->Add(8 * W, evtSectionDefine, sctCoda);
    globals->Add(12 * W, evtScoreEnd);
    events->Add(5 * W, evtSectionDefine, sctRepeatMeasure);
    events->Add(10 * W, evtSectionDefine, 0, 1);  // 8va over two measures
    events->Add(11 * W, evtSectionDefine, 0, 1);
    // A key change and a clef change.
    events->Add(9 * W, evtKeyChange, 253);
    events->Add(12 * W, evtClefChange, clfBass);

    // Dynamics, tempo and text.
    events->Add(0, evtDynamic, dynP);
    events->Add(4 * W, evtDynamic, dynMF);
    events->Add(8 * W, evtDynamic, dynFF);
    events->Add(7 * W + H, evtTempo, tmpRitardando);
    events->Add(8 * W, evtTempo, tmpATempo);
    events->Add(4 * W + H, evtText, 0, 9, "dolce");
    events->Add(8 * W + H, evtText, 7, 0, "espress.");

    // Lyrics: two verses, with hyphens.
    const char* words[] = {"Sing\rNow",   "to\rthe", "the\rriv-", "ear-\rer", "ly\rruns",
                           "light\rdown", "a-\rto",  "bove\rthe", "the\rsea"};
    for (int32_t i = 0; i < 9; ++i) events->Add(i * Q, evtLyric, 0, 0, words[i]);

    // Chord symbols, names or diagrams, one or two a measure.
    if (const auto& mapper = score->ChordMapper()) {
        struct Symbol {
            int32_t Time;
            const char* Name;
        };
        const Symbol chords[] = {
            {0, "C"},         {H, "G"},          {W, "Am"},         {W + H, "F"},
            {2 * W, "C"},     {2 * W + H, "G7"}, {3 * W, "C"},      {4 * W, "C"},
            {4 * W + H, "G"}, {6 * W, "Am"},     {6 * W + H, "Dm"}, {7 * W, "G7"},
            {8 * W, "C"},     {8 * W + H, "G"},  {9 * W, "Bb"},     {12 * W, "Eb"}};
        for (const auto& chord : chords) {
            const int32_t code = ChordCodeNamed(*mapper, chord.Name);
            if (code > 0) globals->Add(chord.Time, evtChord, static_cast<uint8_t>(code));
        }
    }
    score->SetRedraw(true);

    auto surface =
        std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw());
    score->SetWindow(surface);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
    score->PaintWindow();
    // The picture ends below the lyrics of the last system with music.
    int32_t bottom = 0;
    for (const auto& region : detail::ScoreAccess::Regions(*score)) {
        if (region->Time < 13 * W) bottom = std::max(bottom, region->Bottom + 2 * 225);
    }
    if (bottom > 0) surface->SetHeight(bottom + 360);
    if (!surface->WritePng(output)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: page %d of %d\n", output.c_str(), score->CurPage(), score->LastPage());
    return 0;
}
