// The command line of the corvendi program: the subcommand, its operands and the options.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvendi::cli {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitUsage = 1;
constexpr int kExitFile = 2;

struct CommandLine {
    std::string Command;  // render, convert, info, dump, new, demo, play, edit; empty for none
    std::vector<std::string> Operands;  // the files named after the command
    std::string Output;                 // -o
    std::string Format;                 // --format: pdf, png, svg (render), sco, mid (convert)
    std::optional<int32_t> FromPage;    // --pages A or A-B
    std::optional<int32_t> ToPage;
    int32_t Dpi = 96;
    std::optional<int32_t> FromMeasure;  // play --from
    std::string SoundFont;               // --soundfont (play, and render to audio)
    bool Quiet = false;
    bool FixedClock = false;
    bool Print = false;  // --print: hand the PDF to lp
    bool Help = false;
    bool Version = false;
    // edit: the dialog ("score", "staff", "measure"), the staff or measure it opens on, the
    // answers ("KEY=VALUE") and whether only to list the controls.
    std::string Dialog;
    int32_t DialogTarget = 0;
    std::vector<std::string> Sets;
    bool List = false;
};

// Reads the arguments (without the program name). On a usage error returns nullopt and sets
// `error` to the message.
std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error);

// Twips per pixel of a resolution in dots per inch; 0 when 1440 is not a whole multiple of it.
int32_t TwipsPerPixelForDpi(int32_t dpi);

// The text of --help.
const char* UsageText();

}  // namespace corvendi::cli
