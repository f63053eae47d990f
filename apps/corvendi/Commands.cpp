#include "Commands.h"

#include <corvendi/Enums.h>
#include <corvendi/FileName.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/Instrument.h>
#include <corvendi/Instruments.h>
#include <corvendi/Notes.h>
#include <corvendi/Staff.h>
#include <corvendi/Staffs.h>
#include <corvendi/ToJson.h>
#include <corvendi/Voice.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "FolderRun.h"
#include "Host.h"
#include "Output.h"
#include "Sound.h"

extern char** environ;

namespace corvendi::cli {

namespace {

constexpr int32_t kScreenTwipsPerPixel = 15;

HostOptions OptionsFor(const CommandLine& line, int32_t twipsPerPixel = kScreenTwipsPerPixel) {
    return HostOptions{twipsPerPixel, line.Quiet, line.FixedClock};
}

void UsageError(const std::string& text) {
    std::fprintf(stderr, "corvendi: %s\nTry 'corvendi --help' for more information.\n",
                 text.c_str());
}

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Absolute(const std::string& path) {
    std::error_code error;
    const auto absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

void ReportWritten(const std::vector<std::string>& files) {
    for (const std::string& file : files) std::printf("wrote %s\n", Absolute(file).c_str());
}

// Saves the score in the format the output's name chose and reports it.
int SaveAndReport(const Host& host, Score& score, const std::string& output, int32_t format) {
    if (!score.SaveFile(output, format)) {
        host.Error(output + ": the file could not be written");
        return kExitFile;
    }
    ReportWritten({output});
    return kExitOk;
}

// Hands a file to the CUPS client `lp`. False (with a message) when lp is missing or fails.
bool SendToPrinter(const Host& host, const std::string& file) {
    // A name starting with "-" would read as an option.
    const std::string path = !file.empty() && file[0] == '-' ? "./" + file : file;
    std::vector<char*> argv = {const_cast<char*>("lp"), const_cast<char*>(path.c_str()), nullptr};
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, "lp", nullptr, nullptr, argv.data(), environ);
    if (spawned != 0) {
        host.Error(spawned == ENOENT
                       ? "lp is not installed (the CUPS client); " + file + " was not printed"
                       : "lp could not be started: " + std::string(std::strerror(spawned)));
        return false;
    }
    int status = 0;
    if (waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        host.Error("lp could not print " + file);
        return false;
    }
    return true;
}

int32_t CountNotes(const Voice& voice) {
    const auto notes = voice.Notes();
    return notes ? notes->Count() : 0;
}

std::string ClefName(int32_t clef) {
    switch (clef) {
        case clfPercussion: return "percussion";
        case clfTreble: return "treble";
        case clfBass: return "bass";
        case clfGrand: return "grand";
        case clfAlto: return "alto";
        case clfTenor: return "tenor";
        default: return "clef " + std::to_string(clef);
    }
}

std::string TimeSignatureText(int32_t value) {
    if (value == 0) return "common time";
    if (value == 1) return "cut time";
    return std::to_string(value / 128) + "/" +
           std::to_string(value % 128 == 0 ? 0 : 64 / (value % 128));
}

}  // namespace

int RunRender(const CommandLine& line) {
    if (WritesToFolder(line)) return RunRenderFolder(line);
    if (IsAudioOutput(line.Output)) return RunRenderAudio(line);
    const std::string& input = line.Operands[0];
    std::string output = line.Output;
    if (output.empty()) {
        output = std::filesystem::path(input).stem().string() + "." +
                 (line.Format.empty() ? "pdf" : Lower(line.Format));
    }
    const auto format = cairo::RenderFormatOf(output);
    if (!format) {
        UsageError(output + ": the output must end in .pdf, .png, .svg or .wav (.flac, .ogg)");
        return kExitUsage;
    }
    if (!line.Format.empty() && cairo::RenderFormatOf("." + line.Format) != format) {
        UsageError("--format " + line.Format + " does not match the output " + output);
        return kExitUsage;
    }
    if (line.Print && format != cairo::RenderFormat::Pdf) {
        UsageError("--print needs a PDF output");
        return kExitUsage;
    }
    const bool png = format == cairo::RenderFormat::Png;
    Host host(OptionsFor(line, png ? TwipsPerPixelForDpi(line.Dpi) : kScreenTwipsPerPixel));
    const auto outcome =
        RenderFile(host, input, {output, line.FromPage, line.ToPage, png ? line.Dpi : 0});
    if (outcome.Exit != kExitOk) return outcome.Exit;
    ReportWritten(outcome.Files);
    if (line.Print && !SendToPrinter(host, output)) return kExitFile;
    return kExitOk;
}

int RunConvert(const CommandLine& line) {
    if (!line.Output.empty() && WritesToFolder(line)) return RunConvertFolder(line);
    const std::string& input = line.Operands[0];
    const std::string& output = line.Output.empty() ? line.Operands[1] : line.Output;
    const auto format = FileFormatOf(output);
    if (!format) {
        UsageError(output + ": the output must end in .sco, .mid or .midi");
        return kExitUsage;
    }
    Host host(OptionsFor(line));
    auto score = host.NewScore();
    if (!host.Open(*score, input)) return kExitFile;
    return SaveAndReport(host, *score, output, *format);
}

int RunInfo(const CommandLine& line) {
    const std::string& input = line.Operands[0];
    Host host(OptionsFor(line));
    auto score = host.NewScore();
    if (!host.Open(*score, input)) return kExitFile;
    PaginateOnImage(host, *score);

    std::printf("File: %s\n", input.c_str());
    std::printf("Title: %s\n", score->Title().c_str());
    if (!score->SubTitle().empty()) std::printf("Subtitle: %s\n", score->SubTitle().c_str());
    std::printf("Composer: %s\n", score->Composer().c_str());
    if (!score->ArrangedBy().empty()) std::printf("Arranged by: %s\n", score->ArrangedBy().c_str());
    const auto globals = score->AllGlobals();
    std::printf("Key: %d%s, time: %s, tempo: %d\n", score->Key(), score->Minor() ? " minor" : "",
                TimeSignatureText(globals->DftTimeVal()).c_str(), score->Count());

    int32_t notes = 0;
    std::printf("Staffs: %d\n", score->Staffs());
    for (const auto& staff : *score->AllStaffs()) {
        std::printf("  %d. %s (%s clef, %d voice%s)\n", staff->Index(),
                    staff->Description().c_str(), ClefName(staff->DefaultClef()).c_str(),
                    staff->Voices(), staff->Voices() == 1 ? "" : "s");
        for (int32_t number = 1; number <= staff->Voices(); ++number) {
            const auto voice = staff->Voice(number);
            if (!voice) continue;
            const auto instrument = voice->Instrument();
            const int32_t count = CountNotes(*voice);
            notes += count;
            std::printf("     voice %d: %s, %d notes\n", number,
                        instrument ? instrument->Description().c_str() : "(no instrument)", count);
        }
    }
    const int32_t measures = notes > 0 ? globals->MeasureInfo(score->HighTime()).Number : 0;
    std::printf("Measures: %d\n", measures);
    std::printf("Notes: %d\n", notes);
    std::printf("Pages: %d\n", score->LastPage());
    return kExitOk;
}

int RunDump(const CommandLine& line) {
    Host host(OptionsFor(line));
    auto score = host.NewScore();
    if (!host.Open(*score, line.Operands[0])) return kExitFile;
    PaginateOnImage(host, *score);
    const std::string json = ToJson(*score);
    std::fwrite(json.data(), 1, json.size(), stdout);
    std::fputc('\n', stdout);
    return kExitOk;
}

int RunNew(const CommandLine& line) {
    const std::string& output = line.Operands[0];
    const auto format = FileFormatOf(output);
    if (!format) {
        UsageError(output + ": the output must end in .sco, .mid or .midi");
        return kExitUsage;
    }
    Host host(OptionsFor(line));
    auto score = host.NewScore();
    score->CreateDefault();
    return SaveAndReport(host, *score, output, *format);
}

int RunDemo(const CommandLine& line) {
    Host host(OptionsFor(line));
    const std::string example = host.Platform()->AppFolder() + "/examples/example.sco";
    auto score = host.NewScore();
    if (!host.Open(*score, example)) return kExitFile;
    PaginateOnImage(host, *score);

    std::vector<std::string> files;
    for (const char* output : {"demo.pdf", "demo.png"}) {
        const auto outcome = RenderScore(host, *score, example, {output, {}, {}, 0});
        if (outcome.Exit != kExitOk) return outcome.Exit;
        files.insert(files.end(), outcome.Files.begin(), outcome.Files.end());
    }
    std::printf("The example %s, %d page%s:\n", Absolute(example).c_str(), score->LastPage(),
                score->LastPage() == 1 ? "" : "s");
    ReportWritten(files);
    return kExitOk;
}

}  // namespace corvendi::cli
