// Many files in one run: `render IN... -o FOLDER/` and `convert IN... -o FOLDER/`. Each input
// is opened and written on a thread of its own platform, as a run with that input alone would
// write it; the files are spread over every core.
#pragma once

#include <string>
#include <vector>

#include "CommandLine.h"

namespace corvendi::cli {

// True when a render or convert command line writes into a folder: more than one input, or an
// output that ends in "/" or names an existing folder.
bool WritesToFolder(const CommandLine& line);

// The names the outputs of the inputs take in the folder, in order: each input's base name,
// unless an earlier input already took it, when the input keeps its extension ("a.mid"); a name
// still taken gets ".2", ".3" ... appended.
std::vector<std::string> FolderNames(const std::vector<std::string>& inputs);

int RunRenderFolder(const CommandLine& line);
int RunConvertFolder(const CommandLine& line);

}  // namespace corvendi::cli
