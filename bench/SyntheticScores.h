// Large scores the benchmarks share.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

namespace corvendi::bench {

// 250,000 notes: 16 staffs over 2,000 measures of 4/4, every third beat in sixteenths and the
// others quarters. With `chords`, the second beat of every measure is a chord of two keys (the
// second key counted in the 250,000).
inline std::shared_ptr<Score> QuarterAndSixteenthScore(bool chords) {
    constexpr int32_t kStaffs = 16;
    constexpr int32_t kMeasures = 2000;
    constexpr int32_t kNotesPerStaff = 250'000 / kStaffs;
    ResetProcessState();
    auto score = Score::Create();
    score->AllGlobals()->Add(0, evtTimeChange, 4, 16);
    const auto staffs = score->AllStaffs();
    const auto instruments = score->AllInstruments();
    for (int32_t s = 0; s < kStaffs; ++s) {
        auto staff = detail::StaffsAccess::Add(
            *staffs, staffs->NewID(), "Staff " + std::to_string(s + 1), std::nullopt, true);
        auto notes = staff->AddVoice(instruments->Add(instruments->NewID(), 40 + s))->Notes();
        int32_t count = 0;
        for (int32_t beat = 0; beat < kMeasures * 4 && count < kNotesPerStaff; ++beat) {
            const bool sixteenths = beat % 3 == 0;
            const int32_t step = sixteenths ? durSixteenth : durQuarter;
            for (int32_t t = 0; t < durQuarter && count < kNotesPerStaff; t += step, ++count) {
                const auto key = static_cast<uint8_t>(48 + (beat + s) % 24);
                notes->Add(beat * durQuarter + t, key, step, 0);
                if (chords && beat % 4 == 1 && ++count < kNotesPerStaff) {
                    notes->Add(beat * durQuarter + t, key + 4, step, 0);
                }
            }
        }
    }
    return score;
}

}  // namespace corvendi::bench
