// corvendi: the command-line host of the engine. Renders scores and MIDI files to PDF, PNG and
// SVG, converts between the two file formats, describes and dumps documents, writes new ones,
// edits them through their properties dialogs, and shows the bundled example (`corvendi --help`).
#include <corvendi/Version.h>

#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "Sound.h"

using namespace corvendi::cli;

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string error;
    const auto line = ParseCommandLine(args, error);
    if (!line) {
        std::fprintf(stderr, "corvendi: %s\nTry 'corvendi --help' for more information.\n",
                     error.c_str());
        return kExitUsage;
    }
    if (line->Help) {
        std::fputs(UsageText(), stdout);
        return kExitOk;
    }
    if (line->Version) {
        std::printf("corvendi %s\n", corvendi::VersionString());
        return kExitOk;
    }
    if (line->Command == "render") return RunRender(*line);
    if (line->Command == "convert") return RunConvert(*line);
    if (line->Command == "info") return RunInfo(*line);
    if (line->Command == "dump") return RunDump(*line);
    if (line->Command == "new") return RunNew(*line);
    if (line->Command == "play") return RunPlay(*line);
    if (line->Command == "edit") return RunEdit(*line);
    return RunDemo(*line);
}
