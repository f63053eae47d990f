// The host API calls a script makes most, through the public headers only: the C++ side of the
// Python module's speed goals (bench/python_host_api.py times the same calls from Python).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>

#include "corvendi/Enums.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "corvendi/Voices.h"

namespace corvendi {
namespace {

constexpr int32_t kStaffs = 16;
constexpr int32_t kNotesPerStaff = 250'000 / kStaffs;

// 250,000 quarter notes on 16 staffs of one voice each, built as the Python benchmark builds it.
std::shared_ptr<Score> QuarterNoteScore() {
    auto score = Score::Create();
    score->CreateDefault();
    for (int32_t s = 1; s < kStaffs; ++s) score->AddStaff();
    for (const auto& voice : *score->AllVoices()) {
        for (int32_t i = 0; i < kNotesPerStaff; ++i) {
            voice->Notes()->Add(i * durQuarter, static_cast<uint8_t>(48 + i % 24), durQuarter, 0);
        }
    }
    return score;
}

// Every note of every voice, reading each note's duration.
void BM_IterateAllNotes(benchmark::State& state) {
    const auto score = QuarterNoteScore();
    for (auto _ : state) {
        int64_t total = 0;
        for (const auto& voice : *score->AllVoices()) {
            for (const auto& note : *voice->Notes()) total += note->Duration();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * kStaffs * kNotesPerStaff);
}
BENCHMARK(BM_IterateAllNotes)->Unit(benchmark::kMillisecond);

void BM_NoteDuration(benchmark::State& state) {
    auto score = Score::Create();
    score->CreateDefault();
    const std::shared_ptr<Note> note = score->AddNote(1, 0, 60, durQuarter, 0);
    for (auto _ : state) benchmark::DoNotOptimize(note->Duration());
}
BENCHMARK(BM_NoteDuration);

// Appending notes to voice 1 of a default score.
void BM_AddNote(benchmark::State& state) {
    auto score = Score::Create();
    score->CreateDefault();
    int32_t time = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(score->AddNote(1, time, 60, durQuarter, 0));
        time += durQuarter;
    }
}
BENCHMARK(BM_AddNote);

}  // namespace
}  // namespace corvendi
