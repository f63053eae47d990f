// The long score the editing benchmarks share (EditingScore.h) at the default staff height,
// paginated and drawn on a cairo image surface at 96 dpi (15 twips per pixel), with
// `shownPage` the page shown and edited.
#pragma once

#include <corvendi/cairo/CairoImageSurface.h>
#include <corvendi/cairo/MusicFontCatalog.h>

#include <cstdint>
#include <memory>
#include <string>

#include "EditingScore.h"
#include "corvendi/Enums.h"
#include "corvendi/Platform.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"
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
        FillEditingScore(*score, staffs, measures);
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
