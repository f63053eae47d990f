// The notes of the long score the editing benchmarks and the studio's timing share: `staffs`
// staffs of `measures` measures, every measure eight eighth notes of which every other one is a
// three-note chord.
#pragma once

#include <cstdint>

#include "corvendi/Enums.h"
#include "corvendi/Score.h"
#include "corvendi/Staffs.h"
#include "model/ModelAccess.h"

namespace corvendi::bench {

// Adds the staffs beyond the first and the notes to a new score; gives the number of notes.
inline int64_t FillEditingScore(Score& score, int32_t staffs, int32_t measures) {
    auto all = score.AllStaffs();
    for (int32_t i = 1; i < staffs; ++i) detail::StaffsAccess::Add(*all, all->NewID(), "Staff");
    int64_t notes = 0;
    for (int32_t voice = 1; voice <= staffs; ++voice) {
        for (int32_t time = 0; time < measures * durWhole; time += durEighth) {
            score.AddNote(voice, time, 67, durEighth, 0);
            ++notes;
            if ((time / durEighth) % 2 != 0) continue;
            score.AddNote(voice, time, 71, durEighth, 0);
            score.AddNote(voice, time, 74, durEighth, 0);
            notes += 2;
        }
    }
    return notes;
}

}  // namespace corvendi::bench
