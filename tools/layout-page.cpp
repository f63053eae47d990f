// A page of a multi-staff score as the page layout draws it: title block, heading, staff
// descriptions, systems of staff lines and barlines, group brackets with a sub-bracket, a braced
// grand staff, the page number and the copyright footer. Writes a PNG.
//
//   corvendi_layout_page [output.png] [page]
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

#include "model/ModelAccess.h"

using namespace corvendi;

namespace {

struct Part {
    const char* Name;
    int32_t Instrument;  // catalogue entry
    int32_t Group;       // GroupTypes
    bool Grand;
};

constexpr Part kParts[] = {
    {"Flute", 74, grpWind, false},       {"Oboe", 69, grpWind, false},
    {"Trumpet", 57, grpBrass, false},    {"Violin I", 41, grpString, false},
    {"Violin II", 41, grpString, false}, {"Cello", 43, grpString, false},
    {"Piano", 1, grpPiano, true},
};

std::shared_ptr<Staff> AddPart(Score& score, const Part& part, bool first) {
    auto staffs = score.AllStaffs();
    std::shared_ptr<Staff> staff;
    if (first) {
        staff = staffs->Item(1);  // the default score's staff plays the flute
    } else {
        staff = detail::StaffsAccess::Add(*staffs, staffs->NewID(), part.Name, std::nullopt, true);
        auto instruments = score.AllInstruments();
        staff->AddVoice(instruments->Add(instruments->NewID(), part.Instrument));
    }
    staff->SetDescription(part.Name);
    staff->SetFlags(stfShowStaffDesc);
    detail::StaffAccess::GroupIDSet(*staff, part.Group);
    if (part.Grand) {
        staff->SetDefaultClef(clfGrand);
        detail::StaffAccess::BraceSet(*staff, 1);
    }
    return staff;
}

// Quarters, with a run of eighths or sixteenths here and there, so that measures differ in
// width.
void AddMusic(Score& score, int32_t voices) {
    for (int32_t voice = 1; voice <= voices; ++voice) {
        for (int32_t measure = 0; measure < 40; ++measure) {
            int32_t step = durQuarter;
            if (measure % 5 == 2 && voice == 4) step = durSixteenth;
            if (measure % 3 == 1 && voice == 1) step = durEighth;
            for (int32_t t = 0; t < durWhole; t += step) {
                score.AddNote(voice, measure * durWhole + t,
                              static_cast<uint8_t>(60 + (t / step) % 8), step, 0);
            }
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string output = argc > 1 ? argv[1] : "layout-page.png";
    const int32_t page = argc > 2 ? std::atoi(argv[2]) : 1;

    auto score = Score::Create();
    score->CreateDefault();
    score->SetRedraw(false);
    score->SetTitle("Layout Study");
    score->SetSubTitle("for winds, brass, strings and piano");
    score->SetComposer("A. Composer");
    score->SetArrangedBy("Arranged by B. Arranger");
    score->SetHeading("Allegro");
    score->SetCopyright(0, "Copyright 2026 Corvendi");
    score->SetPageNums(pgnAllPages);
    score->SetStaffHeight(0.25f);
    score->SetStaffSpace(0.25f);
    score->SetSystemSpace(0.5f);
    bool first = true;
    for (const Part& part : kParts) {
        AddPart(*score, part, first);
        first = false;
    }
    score->AllGlobals()->Add(0, evtGroupMark);
    score->AllGlobals()->Add(4 * durWhole, evtRepeatBegin);
    AddMusic(*score, static_cast<int32_t>(std::size(kParts)));
    score->SetRedraw(true);

    auto surface =
        std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw());
    score->SetWindow(surface);
    while (score->Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
    if (page != score->CurPage()) score->SetCurPage(page);
    if (!surface->WritePng(output)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: page %d of %d\n", output.c_str(), score->CurPage(), score->LastPage());
    return 0;
}
