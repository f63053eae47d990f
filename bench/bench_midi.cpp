// MIDI import and export on large inputs:
// - importing a 1 MB, 17-track Standard MIDI File made here (running status, chords, notes of
//   many lengths, a few held across measures, lyrics and controllers in between);
// - exporting a synthetic score of 250,000 notes: 16 staffs over 2,000 measures of 4/4, every
//   third beat in sixteenths and the others quarters, as an export (temporary file, flushed,
//   then renamed) and as the playback file.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "SyntheticScores.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Notes.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "io/MidiFiles.h"
#include "model/ProcessState.h"

namespace corvendi {
namespace {

constexpr int32_t kImportTracks = 16;
constexpr size_t kImportBytes = 1 << 20;

std::filesystem::path Folder() {
    std::filesystem::path base = "/dev/shm";
    if (!std::filesystem::is_directory(base)) base = std::filesystem::temp_directory_path();
    const auto folder = base / "corvendi-bench-midi";
    std::filesystem::create_directories(folder);
    return folder;
}

void PutVarLen(std::string& out, uint32_t value) {
    std::string bytes(1, static_cast<char>(value & 127));
    while ((value >>= 7) != 0) bytes.insert(bytes.begin(), static_cast<char>((value & 127) | 128));
    out += bytes;
}

void PutBytes(std::string& out, std::initializer_list<int> bytes) {
    for (const int b : bytes) out += static_cast<char>(b);
}

void PutMeta(std::string& out, uint32_t delta, int type, const std::string& text) {
    PutVarLen(out, delta);
    PutBytes(out, {255, type});
    PutVarLen(out, static_cast<uint32_t>(text.size()));
    out += text;
}

void PutChunk(std::string& file, const std::string& tag, const std::string& body) {
    file += tag;
    const auto length = static_cast<uint32_t>(body.size());
    PutBytes(file, {static_cast<int>(length >> 24), static_cast<int>((length >> 16) & 255),
                    static_cast<int>((length >> 8) & 255), static_cast<int>(length & 255)});
    file += body;
}

// One note track of about `bytes` bytes at 480 file ticks per quarter note.
std::string NoteTrack(int32_t track, size_t bytes) {
    std::string out;
    PutMeta(out, 0, 3, "Track " + std::to_string(track));
    PutBytes(out, {0, 0xC0 + track % 9, (track * 7) % 128, 0, 0xB0 + track % 9, 7, 100});
    static const uint32_t kLengths[] = {120, 240, 480, 360, 120, 960, 240, 1440, 120, 3000};
    uint32_t rest = 0;
    for (uint32_t i = 0; out.size() < bytes; ++i) {
        const int key = 40 + static_cast<int>((i * 7 + static_cast<uint32_t>(track)) % 48);
        const uint32_t length = kLengths[i % 10];
        const bool chord = i % 5 == 0;
        PutVarLen(out, rest);
        if (i == 0) PutBytes(out, {0x90 + track % 9});  // running status from here on
        PutBytes(out, {key, 90});
        if (chord) PutBytes(out, {0, key + 4, 90, 0, key + 7, 90});
        PutVarLen(out, length);
        PutBytes(out, {key, 0});
        if (chord) PutBytes(out, {0, key + 4, 0, 0, key + 7, 0});
        rest = i % 7 == 0 ? 240 : 0;
        if (i % 50 == 0) PutMeta(out, 0, 5, "la");
    }
    PutBytes(out, {0, 255, 47, 0});
    return out;
}

std::string LargeMidiFile() {
    std::string file = "MThd";
    PutBytes(file, {0, 0, 0, 6, 0, 1, 0, kImportTracks + 1, 480 >> 8, 480 & 255});
    std::string conductor;
    PutMeta(conductor, 0, 1, "Benchmark|Arial|14|1");
    PutMeta(conductor, 0, 81, std::string("\x07\xA1\x20", 3));
    PutMeta(conductor, 0, 88, std::string("\x04\x02\x18\x08", 4));
    PutMeta(conductor, 480 * 4 * 100, 88, std::string("\x03\x02\x18\x08", 4));
    PutBytes(conductor, {0, 255, 47, 0});
    PutChunk(file, "MTrk", conductor);
    const size_t perTrack = (kImportBytes - file.size()) / kImportTracks - 8;
    for (int32_t t = 1; t <= kImportTracks; ++t) PutChunk(file, "MTrk", NoteTrack(t, perTrack));
    return file;
}

const std::string& ImportFile() {
    static const std::string path = [] {
        ResetProcessState();
        const std::string p = (Folder() / "large.mid").string();
        std::ofstream out(p, std::ios::binary | std::ios::trunc);
        const std::string file = LargeMidiFile();
        out.write(file.data(), static_cast<std::streamsize>(file.size()));
        return p;
    }();
    return path;
}

void BM_ImportMultiTrack(benchmark::State& state) {
    const std::string& path = ImportFile();
    auto score = Score::Create();
    for (auto _ : state) benchmark::DoNotOptimize(score->OpenFile(path));
    int64_t notes = 0;
    for (int32_t s = 1; s <= score->Staffs(); ++s)
        notes += score->Staff(s)->Voice(1)->Notes()->Count();
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    state.counters["notes"] = static_cast<double>(notes);
}
BENCHMARK(BM_ImportMultiTrack)->Unit(benchmark::kMillisecond);

std::shared_ptr<Score> SyntheticScore() {
    static const std::shared_ptr<Score> built = bench::QuarterAndSixteenthScore(false);
    return built;
}

void BM_ExportSynthetic(benchmark::State& state) {
    const auto score = SyntheticScore();
    const std::string path = (Folder() / "export.mid").string();
    for (auto _ : state) benchmark::DoNotOptimize(SaveMidiFile(*score, path, false));
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_ExportSynthetic)->Unit(benchmark::kMillisecond);

void BM_ExportSyntheticForPlayback(benchmark::State& state) {
    const auto score = SyntheticScore();
    const std::string path = (Folder() / "play.mid").string();
    for (auto _ : state) benchmark::DoNotOptimize(SaveMidiFile(*score, path, true));
}
BENCHMARK(BM_ExportSyntheticForPlayback)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace corvendi
