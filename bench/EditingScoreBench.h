// The long score the editing benchmarks share: `staffs` staffs at the default staff height of
// `measures` measures, every measure eight eighth notes of which every other one is a three-note
// chord, paginated and drawn on a cairo image surface at 96 dpi (15 twips per pixel), with
// `shownPage` the page shown and edited.
#pragma once

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <cstdint>
#include <memory>
#include <string>

#include "corvendi/Enums.h"
#include "corvendi/Platform.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staffs.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

namespace corvendi::bench {

inline void Paginate(Score& score) {
    while (score.Paginating() && CurrentPlatform().ProcessPendingEvents()) {
    }
}

struct EditingScoreBench {
    std::shared_ptr<Score> score;
    std::shared_ptr<CairoImageSurface> surface;

    EditingScoreBench(int32_t staffs, int32_t measures, int32_t shownPage) {
        ResetProcessState();
        SetMusicFontMapFile(std::string(CORVENDI_BENCH_DATA_DIR) + "/Common/Config/MusicFont.txt");
        score = Score::Create();
        score->CreateDefault();
        score->SetRedraw(false);
        auto all = score->AllStaffs();
        for (int32_t i = 1; i < staffs; ++i) detail::StaffsAccess::Add(*all, all->NewID(), "Staff");
        for (int32_t voice = 1; voice <= staffs; ++voice) {
            for (int32_t time = 0; time < measures * durWhole; time += durEighth) {
                score->AddNote(voice, time, 67, durEighth, 0);
                if ((time / durEighth) % 2 == 0) {
                    score->AddNote(voice, time, 71, durEighth, 0);
                    score->AddNote(voice, time, 74, durEighth, 0);
                }
            }
        }
        surface =
            std::make_shared<CairoImageSurface>(score->SheetWidthTw(), score->SheetHeightTw(), 15);
        score->SetRedraw(true);
        score->SetWindow(surface);
        Paginate(*score);
        score->SetCurPage(shownPage);
    }

    const Region& FirstRegion() const { return *detail::ScoreAccess::Regions(*score).front(); }
    // The x of the n-th eighth (from 0) of the first region's first measure.
    int32_t EighthX(int32_t n) const {
        const Region& r = FirstRegion();
        const int32_t pad = r.MeasurePad(0);
        return r.Left + pad + n * durEighth * ((r.Measure(0)->Low() - pad) / durWhole);
    }
    // The y of a staff step (half a line spacing) from the first region's top line.
    int32_t StepY(int32_t step) const {
        const Region& r = FirstRegion();
        return r.Top + r.PadTop + step * r.IncY / 2;
    }
};

}  // namespace corvendi::bench
