#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

#include "corvendi/Enums.h"
#include "corvendi/Notes.h"

namespace corvendi {
namespace {

void FillInTimeOrder(Notes& notes, int32_t count, int32_t step) {
    for (int32_t i = 0; i < count; ++i) {
        notes.Add(i * step, static_cast<uint8_t>(48 + i % 36), durQuarter, 0);
    }
}

// Loading a long voice: every note goes after the last one.
void BM_AddInTimeOrder(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    for (auto _ : state) {
        Notes notes;
        FillInTimeOrder(notes, count, durQuarter);
        benchmark::DoNotOptimize(notes.Count());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_AddInTimeOrder)->Arg(100000)->Unit(benchmark::kMillisecond);

// Entering notes into the middle of a 10,000-note voice; reports the time per inserted note.
void BM_InsertIntoMiddle(benchmark::State& state) {
    constexpr int32_t kVoiceLength = 10000;
    constexpr int32_t kInserted = 1000;
    const int32_t middleTime = (kVoiceLength / 2) * durWhole;
    for (auto _ : state) {
        state.PauseTiming();
        Notes notes;
        FillInTimeOrder(notes, kVoiceLength, durWhole);
        state.ResumeTiming();
        for (int32_t k = 0; k < kInserted; ++k) {
            benchmark::DoNotOptimize(notes.Add(middleTime + 1 + k, 60, durSixtyFourth, 0));
        }
    }
    state.counters["per_note"] = benchmark::Counter(
        kInserted, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_InsertIntoMiddle)->Unit(benchmark::kMicrosecond);

// Time lookups at random times, with and without the at-or-before stepping. Each probe of the
// binary search reads one note object, so the cost of a probe grows with the list's memory
// footprint (cache misses); the complexity fit covers voice lengths up to 65,536 notes and the
// far larger lists are shown on their own.
void ItemLookup(benchmark::State& state) {
    const auto count = static_cast<int32_t>(state.range(0));
    Notes notes;
    FillInTimeOrder(notes, count, durQuarter);
    std::mt19937 random(12345);
    std::uniform_int_distribution<int32_t> anyTime(0, count * durQuarter);
    std::vector<int32_t> times(4096);
    for (auto& t : times) t = anyTime(random);

    std::size_t next = 0;
    for (auto _ : state) {
        const int32_t t = times[next++ & 4095];
        benchmark::DoNotOptimize(notes.Item(t, (t & 1) != 0));
    }
    state.SetComplexityN(count);
}
void BM_ItemLookup(benchmark::State& state) { ItemLookup(state); }
BENCHMARK(BM_ItemLookup)->RangeMultiplier(4)->Range(1 << 6, 1 << 16)->Complexity(benchmark::oLogN);

void BM_ItemLookupUncached(benchmark::State& state) { ItemLookup(state); }
BENCHMARK(BM_ItemLookupUncached)->Arg(1 << 18)->Arg(1 << 21);

}  // namespace
}  // namespace corvendi
