#include "CommandLine.h"

#include <charconv>
#include <set>
#include <string_view>

namespace corvendi::cli {

namespace {

constexpr int32_t kTwipsPerInch = 1440;

// How many files each command takes (render and convert take any number of inputs with -o).
struct CommandShape {
    const char* Name;
    size_t Operands;
    bool Many = false;
};
constexpr CommandShape kCommands[] = {
    {"render", 1, true}, {"convert", 2, true}, {"info", 1}, {"dump", 1},
    {"new", 1},          {"demo", 0},          {"play", 1}, {"edit", 1},
};

// The operands a command was given fit its shape: render takes one input or more; convert
// takes IN OUT, or with -o one input or more.
bool OperandsFit(const CommandShape& shape, const CommandLine& line) {
    const size_t count = line.Operands.size();
    if (!shape.Many) return count == shape.Operands;
    if (line.Command == "convert" && line.Output.empty()) return count == 2;
    return count >= 1;
}

bool ParseInt(std::string_view text, int32_t& value) {
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// "A" or "A-B".
bool ParsePages(std::string_view text, CommandLine& line) {
    const size_t dash = text.find('-');
    int32_t from = 0;
    if (dash == std::string_view::npos) {
        if (!ParseInt(text, from) || from < 1) return false;
        line.FromPage = from;
        return true;
    }
    int32_t to = 0;
    if (!ParseInt(text.substr(0, dash), from) || !ParseInt(text.substr(dash + 1), to) || from < 1 ||
        to < 1) {
        return false;
    }
    line.FromPage = from;
    line.ToPage = to;
    return true;
}

// "score", or "staff N" / "measure N" with N read from the next argument.
bool ParseDialog(const std::string& name, const std::vector<std::string>& args, size_t& i,
                 CommandLine& line, std::string& error) {
    line.Dialog = name;
    if (name == "score") return true;
    if (name != "staff" && name != "measure") {
        error = "--dialog " + name + ": give score, staff N or measure N";
        return false;
    }
    if (i + 1 >= args.size() || !ParseInt(args[i + 1], line.DialogTarget) ||
        line.DialogTarget < 1) {
        error = "--dialog " + name + " needs a " + name + " number from 1";
        return false;
    }
    ++i;
    return true;
}

const CommandShape* FindCommand(std::string_view name) {
    for (const CommandShape& shape : kCommands) {
        if (name == shape.Name) return &shape;
    }
    return nullptr;
}

}  // namespace

int32_t TwipsPerPixelForDpi(int32_t dpi) {
    if (dpi < 1 || dpi > kTwipsPerInch || kTwipsPerInch % dpi != 0) return 0;
    return kTwipsPerInch / dpi;
}

std::optional<CommandLine> ParseCommandLine(const std::vector<std::string>& args,
                                            std::string& error) {
    CommandLine line;
    std::set<std::string> seen;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // An option's value, from "--name=value" or the next argument.
        auto value = [&](std::string_view name, std::string& out) {
            if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 &&
                arg[name.size()] == '=') {
                out = arg.substr(name.size() + 1);
                return true;
            }
            if (arg != name) return false;
            if (i + 1 >= args.size()) {
                error = "option " + std::string(name) + " needs a value";
                out.clear();
                return true;
            }
            out = args[++i];
            return true;
        };
        std::string text;
        if (arg == "-h" || arg == "--help") {
            line.Help = true;
        } else if (arg == "-V" || arg == "--version") {
            line.Version = true;
        } else if (arg == "-q" || arg == "--quiet") {
            line.Quiet = true;
        } else if (arg == "--fixed-clock") {
            line.FixedClock = true;
        } else if (arg == "--print") {
            line.Print = true;
        } else if (value("-o", text) || value("--output", text)) {
            if (!error.empty()) return std::nullopt;
            line.Output = text;
            seen.insert("-o");
        } else if (value("--pages", text)) {
            if (!error.empty()) return std::nullopt;
            if (!ParsePages(text, line)) {
                error = "--pages " + text + ": give a page number A or a range A-B (pages from 1)";
                return std::nullopt;
            }
            seen.insert("--pages");
        } else if (value("--dpi", text)) {
            if (!error.empty()) return std::nullopt;
            if (!ParseInt(text, line.Dpi) || TwipsPerPixelForDpi(line.Dpi) == 0) {
                error = "--dpi " + text +
                        ": the resolution must divide 1440 evenly (a whole number of twips per "
                        "pixel), e.g. 96, 120, 144, 180, 240, 288, 360, 480, 720 or 1440";
                return std::nullopt;
            }
            seen.insert("--dpi");
        } else if (value("--format", text)) {
            if (!error.empty()) return std::nullopt;
            line.Format = text;
            seen.insert("--format");
        } else if (value("--from", text)) {
            if (!error.empty()) return std::nullopt;
            int32_t measure = 0;
            if (!ParseInt(text, measure) || measure < 1) {
                error = "--from " + text + ": give a measure number from 1";
                return std::nullopt;
            }
            line.FromMeasure = measure;
            seen.insert("--from");
        } else if (value("--soundfont", text)) {
            if (!error.empty()) return std::nullopt;
            line.SoundFont = text;
            seen.insert("--soundfont");
        } else if (value("--dialog", text)) {
            if (!error.empty() || !ParseDialog(text, args, i, line, error)) return std::nullopt;
            seen.insert("--dialog");
        } else if (value("--set", text)) {
            if (!error.empty()) return std::nullopt;
            if (text.find('=') == std::string::npos) {
                error = "--set " + text + ": give KEY=VALUE";
                return std::nullopt;
            }
            line.Sets.push_back(text);
            seen.insert("--set");
        } else if (arg == "--list") {
            line.List = true;
            seen.insert("--list");
        } else if (arg.size() > 1 && arg[0] == '-') {
            error = "unknown option " + arg;
            return std::nullopt;
        } else if (line.Command.empty()) {
            line.Command = arg;
        } else {
            line.Operands.push_back(arg);
        }
    }
    if (line.Help || line.Version) return line;
    if (line.Command.empty()) {
        error = "no command given";
        return std::nullopt;
    }
    const CommandShape* shape = FindCommand(line.Command);
    if (!shape) {
        error = "unknown command " + line.Command;
        return std::nullopt;
    }
    if (!OperandsFit(*shape, line)) {
        error = shape->Many ? line.Command + " takes " +
                                  (line.Command == "convert" ? "IN OUT, or IN... -o FOLDER/"
                                                             : "one input or more")
                            : line.Command + " takes " + std::to_string(shape->Operands) +
                                  (shape->Operands == 1 ? " file" : " files");
        return std::nullopt;
    }
    const bool renders = line.Command == "render";
    const bool converts = line.Command == "convert";
    const bool edits = line.Command == "edit";
    for (const char* option : {"--pages", "--dpi"}) {
        if (seen.count(option) && !renders) {
            error = std::string(option) + " is an option of render";
            return std::nullopt;
        }
    }
    for (const char* option : {"--dialog", "--set", "--list"}) {
        if (seen.count(option) && !edits) {
            error = std::string(option) + " is an option of edit";
            return std::nullopt;
        }
    }
    if (edits && line.Dialog.empty()) {
        error = "edit needs --dialog score, staff N or measure N";
        return std::nullopt;
    }
    if (line.List && !line.Sets.empty()) {
        error = "--list shows the dialog and changes nothing: leave out --set";
        return std::nullopt;
    }
    if (seen.count("-o") && !renders && !converts && !edits) {
        error = "-o is an option of render, convert and edit";
        return std::nullopt;
    }
    if (seen.count("--format") && !renders && !converts) {
        error = "--format is an option of render and convert";
        return std::nullopt;
    }
    const bool plays = line.Command == "play";
    if (seen.count("--from") && !plays) {
        error = "--from is an option of play";
        return std::nullopt;
    }
    if (seen.count("--soundfont") && !plays && !renders) {
        error = "--soundfont is an option of play and render";
        return std::nullopt;
    }
    if (line.Print && !renders) {
        error = "--print is an option of render";
        return std::nullopt;
    }
    return line;
}

const char* UsageText() {
    return R"(Usage: corvendi [--quiet] [--fixed-clock] COMMAND ...

Commands:
  render IN [-o OUT] [--pages A-B] [--dpi N] [--print] [--soundfont SF2]
        Open a score (.sco) or a MIDI file and draw it. OUT ending in .pdf (the
        default: IN's name with .pdf, in the current folder) prints the selected
        pages into one PDF; .png and .svg write one file per page, OUT-1.png,
        OUT-2.png, ... PNG resolution --dpi (default 96) must divide 1440. --pages
        A prints page A alone, A-B pages A to B. --print hands the PDF to lp.
        OUT ending in .wav (or .flac, .ogg) renders the music to an audio file.
  play IN [--from MEASURE] [--soundfont SF2]
        Play a score or MIDI file on the sound card, from MEASURE (default 1),
        showing the measure now sounding. Ctrl-C stops. The soundfont is SF2, else
        $CORVENDI_SOUNDFONT, else FluidR3_GM.sf2 or TimGM6mb.sf2 in
        /usr/share/sounds/sf2.
  edit IN --dialog score|staff N|measure N [--set KEY=VALUE]... [--list] [-o OUT]
        Open a properties dialog on a score or MIDI file, answer its controls and
        press Ok: the Score Properties, or the Staff Properties of staff N, or the
        Measure Properties of measure N. Each --set types, chooses or ticks one
        control, named by its key or a caption (see --list); a Font button takes
        "FACE, SIZE, bold, italic". The score is saved to OUT, or over IN when IN
        is a score file (a MIDI input needs -o). --list prints the controls with
        their keys, captions and values and changes nothing.
  render IN... -o FOLDER/ [--format pdf|png|svg] [--pages A-B] [--dpi N]
        Draw each input into FOLDER (made when missing): FOLDER/<name>.pdf, or
        FOLDER/<name>-1.png ... Inputs sharing a name keep their extension in it
        (a.sco gives a.pdf, a.mid then a.mid.pdf). Files are drawn in parallel; a
        file that fails is reported and the others go on (exit 2 at the end).
  convert IN OUT
        Score file <-> MIDI file, chosen by OUT's extension (.sco, .mid, .midi).
  convert IN... -o FOLDER/ --format sco|mid
        Each input converted into FOLDER, named as render names them.
  info IN
        Title, composer, staffs with instruments and voices, measures, notes, pages.
  dump IN
        The whole document as JSON on standard output.
  new OUT
        Write a new default score (.sco, or .mid/.midi).
  demo
        Render the bundled example to demo.pdf and demo-1.png ... in the current
        folder.

Options:
  -q, --quiet      no progress on standard error
  --fixed-clock    identifiers from a fixed time of day (reproducible output)
  -h, --help       this text
  -V, --version    the version

Exit codes: 0 success, 1 bad usage, 2 a file could not be read or written (or
no soundfont or audio device was found).
)";
}

}  // namespace corvendi::cli
