// Saving and opening a large score: 16 staffs of 2,000 measures of 4/4 in eighth notes (256,000
// notes, every fourth one a triad). The peak-memory benchmark counts the heap bytes held while
// the file is loaded against the bytes the loaded score keeps.
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <optional>
#include <string>

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/HeadlessPlatform.h"
#include "corvendi/Instruments.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Platform.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

namespace {

// Heap bytes in use and their peak, counted by the replaced global allocation functions below.
std::atomic<int64_t> gHeapInUse{0};
std::atomic<int64_t> gHeapPeak{0};

void CountAllocation(int64_t bytes) {
    const int64_t now = gHeapInUse.fetch_add(bytes) + bytes;
    int64_t peak = gHeapPeak.load();
    while (now > peak && !gHeapPeak.compare_exchange_weak(peak, now)) {
    }
}

constexpr int32_t kStaffs = 16;
constexpr int32_t kMeasures = 2000;
constexpr int32_t kEighthsPerMeasure = 8;

std::shared_ptr<corvendi::Score> BuildLargeScore() {
    using namespace corvendi;
    auto score = Score::Create();
    score->AllGlobals()->Add(0, evtTimeChange, 4, 16, "");
    score->AllGlobals()->Add(0, evtKeyChange, 1, 0, "");
    const auto staffs = score->AllStaffs();
    const auto instruments = score->AllInstruments();
    for (int32_t s = 0; s < kStaffs; ++s) {
        auto staff = detail::StaffsAccess::Add(
            *staffs, staffs->NewID(), "Staff " + std::to_string(s + 1), std::nullopt, true);
        auto voice = staff->AddVoice(instruments->Add(instruments->NewID(), 40 + s));
        auto notes = voice->Notes();
        for (int32_t m = 0; m < kMeasures; ++m) {
            for (int32_t e = 0; e < kEighthsPerMeasure; ++e) {
                const int32_t time = m * 64 + e * 8;
                const auto pitch = static_cast<uint8_t>(48 + (m + e + s) % 24);
                auto note = notes->Add(time, pitch, durEighth, e == 0 ? nteAccent : 0);
                if (e % 4 == 0) {
                    note->AddValue(static_cast<uint8_t>(pitch + 4));
                    note->AddValue(static_cast<uint8_t>(pitch + 7));
                }
            }
        }
        staff->GlobalEvents()->Add(0, evtClefChange, clfTreble, 0, "");
    }
    return score;
}

struct Fixture {
    Fixture() {
        corvendi::ResetProcessState();
        folder = std::filesystem::temp_directory_path() / "corvendi-bench-native-file";
        std::filesystem::create_directories(folder);
        path = (folder / "large.sco").string();
        score = BuildLargeScore();
        score->SaveFile(path);
    }
    std::filesystem::path folder;
    std::string path;
    std::shared_ptr<corvendi::Score> score;
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

void BM_SaveFile(benchmark::State& state) {
    Fixture& f = Shared();
    const std::string target = (f.folder / "saved.sco").string();
    for (auto _ : state) benchmark::DoNotOptimize(f.score->SaveFile(target));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(target));
}
BENCHMARK(BM_SaveFile)->Unit(benchmark::kMillisecond);

void BM_OpenFile(benchmark::State& state) {
    Fixture& f = Shared();
    auto score = corvendi::Score::Create();
    for (auto _ : state) benchmark::DoNotOptimize(score->OpenFile(f.path));
    state.counters["notes"] = kStaffs * kMeasures * kEighthsPerMeasure;
}
BENCHMARK(BM_OpenFile)->Unit(benchmark::kMillisecond);

// Peak heap bytes from the start of the load to its end, against the heap bytes the loaded
// score holds afterwards (both above what was in use before).
void BM_OpenFilePeakMemory(benchmark::State& state) {
    Fixture& f = Shared();
    double ratio = 0;
    double own = 0;
    double peak = 0;
    for (auto _ : state) {
        const int64_t before = gHeapInUse.load();
        gHeapPeak.store(before);
        auto score = corvendi::Score::Create();
        score->OpenFile(f.path);
        own = static_cast<double>(gHeapInUse.load() - before);
        peak = static_cast<double>(gHeapPeak.load() - before);
        ratio = peak / own;
    }
    state.counters["score_MB"] = own / 1e6;
    state.counters["peak_MB"] = peak / 1e6;
    state.counters["peak_per_score"] = ratio;
}
BENCHMARK(BM_OpenFilePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

// Heap counting: every allocation carries its size in a header in front of the block.
namespace {
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* CountedAllocate(std::size_t size) {
    void* block = std::malloc(size + kHeader);
    if (!block) throw std::bad_alloc();
    *static_cast<std::size_t*>(block) = size;
    CountAllocation(static_cast<int64_t>(size));
    return static_cast<char*>(block) + kHeader;
}

void CountedFree(void* pointer) {
    if (!pointer) return;
    void* block = static_cast<char*>(pointer) - kHeader;
    CountAllocation(-static_cast<int64_t>(*static_cast<std::size_t*>(block)));
    std::free(block);
}
}  // namespace

void* operator new(std::size_t size) { return CountedAllocate(size); }
void* operator new[](std::size_t size) { return CountedAllocate(size); }
void operator delete(void* pointer) noexcept { CountedFree(pointer); }
void operator delete[](void* pointer) noexcept { CountedFree(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { CountedFree(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { CountedFree(pointer); }
