// What a file's name says about it: its extension and the score format that asks for.
// Hosts use these to choose how to save or export by the name a user typed.
#pragma once

#include <optional>
#include <string>

#include "corvendi/Enums.h"
#include "corvendi/Export.h"

namespace corvendi {

// The name's extension with its dot, in lower case: ".sco" for "Song.SCO" (and for ".sco");
// empty when the last part of the path has no dot.
CORVENDI_API std::string FileExtension(const std::string& path);

// The format a file of this name is saved in: fmtQuavrix for ".sco", fmtMIDI for ".mid" and
// ".midi" (in any case); nullopt for other names.
CORVENDI_API std::optional<FileFormats> FileFormatOf(const std::string& path);

}  // namespace corvendi
