#include <benchmark/benchmark.h>

#include <cstdint>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"

namespace {

using corvendi::GlobalEvents;

// 1,000 time signatures cycling through 4/4, 3/4, 6/8 and cut time, one every three measures.
void FillSignatures(GlobalEvents& events, int32_t count) {
    const uint8_t meters[][2] = {{4, 16}, {3, 16}, {6, 8}, {0, 1}};
    const int32_t lengths[] = {64, 48, 48, 32};
    int32_t time = 0;
    for (int32_t i = 0; i < count; ++i) {
        const auto& meter = meters[i % 4];
        events.Add(time, corvendi::evtTimeChange, meter[0], meter[1]);
        time += 3 * lengths[i % 4];
    }
}

void BM_MeasureInfo(benchmark::State& state) {
    GlobalEvents events;
    FillSignatures(events, 1000);
    const int32_t end = events.TimeItem(1000)->EventTime();
    int32_t time = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(events.MeasureInfo(time));
        time = (time + 7919) % end;
    }
}
BENCHMARK(BM_MeasureInfo);

void BM_MeasureTime(benchmark::State& state) {
    GlobalEvents events;
    FillSignatures(events, 1000);
    int32_t measure = 1;
    for (auto _ : state) {
        benchmark::DoNotOptimize(events.MeasureTime(measure));
        measure = measure % 3000 + 97;
    }
}
BENCHMARK(BM_MeasureTime);

// Other events of mixed types, four per 16 ticks; the key change every 64 ticks keeps the walk
// back from the searched position short, so the time is the binary search.
void FillOthers(GlobalEvents& events, int64_t count) {
    for (int64_t i = 0; i < count; ++i) {
        const auto time = static_cast<int32_t>(i * 4);
        events.Add(time, i % 4 == 0 ? corvendi::evtKeyChange : corvendi::evtLyric);
    }
}

void BM_Find(benchmark::State& state) {
    GlobalEvents events;
    FillOthers(events, state.range(0));
    const auto span = static_cast<int32_t>(state.range(0) * 4);
    int32_t time = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(events.Find(time, corvendi::evtKeyChange));
        benchmark::DoNotOptimize(events.Find(time, corvendi::evtLyric, true));
        time = (time + 104729) % span;
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_Find)->RangeMultiplier(8)->Range(1 << 9, 1 << 21)->Complexity(benchmark::oLogN);

// Appending in time order: a search, an append and one renumbered event per call.
void BM_AddInTimeOrder(benchmark::State& state) {
    GlobalEvents events;
    FillOthers(events, state.range(0));
    int32_t time = static_cast<int32_t>(state.range(0) * 4);
    for (auto _ : state) {
        events.Add(time, corvendi::evtText);
        ++time;
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AddInTimeOrder)
    ->RangeMultiplier(8)
    ->Range(1 << 9, 1 << 21)
    ->Complexity(benchmark::oLogN);

// Inserting before the middle shifts and renumbers every later event: linear by nature.
void BM_AddInMiddle(benchmark::State& state) {
    GlobalEvents events;
    FillOthers(events, state.range(0));
    const auto middle = static_cast<int32_t>(state.range(0) * 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(events.Add(middle, corvendi::evtText));
        state.PauseTiming();
        events.Remove(middle, corvendi::evtText);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AddInMiddle)->RangeMultiplier(8)->Range(1 << 9, 1 << 18)->Complexity();

}  // namespace
