#include "FolderRun.h"

#include <corvendi/Enums.h>
#include <corvendi/cairo/Render.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <mutex>
#include <optional>
#include <set>
#include <thread>

#include "Host.h"
#include "Output.h"

namespace corvendi::cli {

namespace fs = std::filesystem;

namespace {

constexpr int32_t kScreenTwipsPerPixel = 15;

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void UsageError(const std::string& text) {
    std::fprintf(stderr, "corvendi: %s\nTry 'corvendi --help' for more information.\n",
                 text.c_str());
}

std::string Absolute(const std::string& path) {
    std::error_code error;
    const auto absolute = fs::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

// What a run of many files tells the user: messages and written files as they come, and on a
// terminal one line of progress below them, redrawn after each. Called from every worker.
class FolderReport {
  public:
    FolderReport(size_t total, const char* verb, bool quiet)
        : mTotal(total), mVerb(verb), mShowProgress(!quiet && isatty(STDERR_FILENO) == 1) {}

    void Error(const std::string& text) {
        std::lock_guard<std::mutex> lock(mMutex);
        ClearProgress();
        std::fprintf(stderr, "corvendi: %s\n", text.c_str());
        ShowProgress();
    }

    void Finished(const std::vector<std::string>& written, bool ok) {
        std::lock_guard<std::mutex> lock(mMutex);
        ClearProgress();
        for (const std::string& file : written) std::printf("wrote %s\n", Absolute(file).c_str());
        std::fflush(stdout);
        ++mDone;
        if (!ok) ++mFailed;
        ShowProgress();
    }

    void End() {
        std::lock_guard<std::mutex> lock(mMutex);
        ClearProgress();
    }

    size_t Failed() const { return mFailed; }

  private:
    void ClearProgress() {
        if (!mShowProgress) return;
        std::fprintf(stderr, "\r\033[K");
        std::fflush(stderr);
    }
    void ShowProgress() {
        if (!mShowProgress) return;
        std::string line = std::string(mVerb) + " " + std::to_string(mDone) + " of " +
                           std::to_string(mTotal) + " files";
        if (mFailed > 0) line += " (" + std::to_string(mFailed) + " failed)";
        std::fprintf(stderr, "\r\033[K%s", line.c_str());
        std::fflush(stderr);
    }

    std::mutex mMutex;
    const size_t mTotal;
    const char* mVerb;
    const bool mShowProgress;
    size_t mDone = 0;
    size_t mFailed = 0;
};

// Runs job(0) ... job(count - 1) on as many threads as there are cores (at most one a job).
void RunOnEveryCore(size_t count, const std::function<void(size_t)>& job) {
    const size_t workers =
        std::min<size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next++; i < count; i = next++) job(i);
    };
    std::vector<std::thread> threads;
    for (size_t i = 1; i < workers; ++i) threads.emplace_back(work);
    work();
    for (std::thread& thread : threads) thread.join();
}

// The folder named by -o (the current folder without one), made when it is missing; nullopt,
// with the message written, when it cannot be.
std::optional<fs::path> PrepareFolder(const CommandLine& line) {
    const fs::path folder = line.Output.empty() ? fs::path(".") : fs::path(line.Output);
    std::error_code error;
    if (fs::is_directory(folder, error)) return folder;
    fs::create_directories(folder, error);
    if (error) {
        std::fprintf(stderr, "corvendi: %s: the folder could not be made: %s\n",
                     line.Output.c_str(), error.message().c_str());
        return std::nullopt;
    }
    return folder;
}

// Runs `one(host, input, output stem)` for every input, each on a host of its own made from
// `options`, and gives the exit code of the whole run.
int RunEachInput(const CommandLine& line, const fs::path& folder, HostOptions options,
                 const char* verb,
                 const std::function<std::optional<std::vector<std::string>>(
                     Host&, const std::string&, const std::string&)>& one) {
    const std::vector<std::string> names = FolderNames(line.Operands);
    FolderReport report(line.Operands.size(), verb, line.Quiet);
    options.Quiet = true;  // the report shows the progress of the whole run
    RunOnEveryCore(line.Operands.size(), [&](size_t i) {
        Host host(options);
        host.SetErrorSink([&report](const std::string& text) { report.Error(text); });
        const auto written = one(host, line.Operands[i], (folder / names[i]).string());
        report.Finished(written.value_or(std::vector<std::string>{}), written.has_value());
    });
    report.End();
    return report.Failed() > 0 ? kExitFile : kExitOk;
}

bool NamesFolder(const std::string& output) {
    std::error_code error;
    return !output.empty() && (output.back() == '/' || fs::is_directory(output, error));
}

// More than one input needs a folder to write into; false, with the message written, when -o
// names something else.
bool OutputFitsInputs(const CommandLine& line) {
    if (line.Operands.size() < 2 || line.Output.empty() || NamesFolder(line.Output)) return true;
    UsageError(line.Output + ": with more than one input, -o must be a folder (end it with /)");
    return false;
}

}  // namespace

bool WritesToFolder(const CommandLine& line) {
    return line.Operands.size() > 1 || NamesFolder(line.Output);
}

std::vector<std::string> FolderNames(const std::vector<std::string>& inputs) {
    std::set<std::string> taken;
    std::vector<std::string> names;
    for (const std::string& input : inputs) {
        const fs::path path(input);
        std::string name = path.stem().string();
        if (taken.count(name)) name = path.filename().string();
        const std::string kept = name;
        for (int n = 2; taken.count(name); ++n) name = kept + "." + std::to_string(n);
        taken.insert(name);
        names.push_back(name);
    }
    return names;
}

int RunRenderFolder(const CommandLine& line) {
    if (!OutputFitsInputs(line)) return kExitUsage;
    const std::string format = Lower(line.Format.empty() ? "pdf" : line.Format);
    if (!cairo::RenderFormatOf("." + format)) {
        UsageError("--format " + line.Format + ": render writes pdf, png or svg");
        return kExitUsage;
    }
    if (line.Print) {
        UsageError("--print prints one PDF: give one input and a PDF output");
        return kExitUsage;
    }
    const auto folder = PrepareFolder(line);
    if (!folder) return kExitFile;
    const bool png = format == "png";
    HostOptions options{png ? TwipsPerPixelForDpi(line.Dpi) : kScreenTwipsPerPixel, line.Quiet,
                        line.FixedClock};
    return RunEachInput(line, *folder, options, "rendered",
                        [&](Host& host, const std::string& input,
                            const std::string& stem) -> std::optional<std::vector<std::string>> {
                            const RenderRequest request{stem + "." + format, line.FromPage,
                                                        line.ToPage, png ? line.Dpi : 0};
                            auto outcome = RenderFile(host, input, request);
                            if (outcome.Exit != kExitOk) return std::nullopt;
                            return std::move(outcome.Files);
                        });
}

int RunConvertFolder(const CommandLine& line) {
    if (!OutputFitsInputs(line)) return kExitUsage;
    const std::string format = Lower(line.Format);
    if (format != "sco" && format != "mid" && format != "midi") {
        UsageError(line.Format.empty() ? "convert into a folder needs --format sco or mid"
                                       : "--format " + line.Format + ": convert writes sco or mid");
        return kExitUsage;
    }
    const auto folder = PrepareFolder(line);
    if (!folder) return kExitFile;
    const int32_t fileFormat = format == "sco" ? fmtQuavrix : fmtMIDI;
    const std::string extension = format == "sco" ? ".sco" : ".mid";
    HostOptions options{kScreenTwipsPerPixel, line.Quiet, line.FixedClock};
    // The file writers write through one temporary file of a fixed name in the target's folder,
    // so saves into one folder take turns; reading, the larger part, runs in parallel.
    std::mutex saving;
    return RunEachInput(line, *folder, options, "converted",
                        [&](Host& host, const std::string& input,
                            const std::string& stem) -> std::optional<std::vector<std::string>> {
                            auto score = host.NewScore();
                            if (!host.Open(*score, input)) return std::nullopt;
                            const std::string output = stem + extension;
                            std::unique_lock<std::mutex> turn(saving);
                            if (!score->SaveFile(output, fileFormat)) {
                                turn.unlock();
                                host.Error(output + ": the file could not be written");
                                return std::nullopt;
                            }
                            return std::vector<std::string>{output};
                        });
}

}  // namespace corvendi::cli
