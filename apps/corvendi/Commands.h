// The subcommands of the corvendi program; each returns the program's exit code.
#pragma once

#include "CommandLine.h"

namespace corvendi::cli {

int RunRender(const CommandLine& line);
int RunConvert(const CommandLine& line);
int RunInfo(const CommandLine& line);
int RunDump(const CommandLine& line);
int RunNew(const CommandLine& line);
int RunDemo(const CommandLine& line);
int RunEdit(const CommandLine& line);

}  // namespace corvendi::cli
