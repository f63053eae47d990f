// Drawing a paginated score into files through the cairo adapter's render functions, with the
// host's progress and messages.
#pragma once

#include <corvendi/Score.h>
#include <corvendi/cairo/Render.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Host.h"

namespace corvendi::cli {

struct RenderRequest {
    std::string Output;  // the format by its extension
    std::optional<int32_t> FromPage;
    std::optional<int32_t> ToPage;
    int32_t Dpi = 0;  // 0: the host's resolution
};

// What a render did: the files written, or the exit code of its failure (kExitUsage for a page
// range outside the score, kExitFile for a file that could not be read or written), whose
// message is on standard error.
struct RenderOutcome {
    std::vector<std::string> Files;
    int Exit = kExitOk;
};

// Opens `input` and writes what `request` asks for.
RenderOutcome RenderFile(Host& host, const std::string& input, const RenderRequest& request);

// The same for a score already open; messages about the score name it by `name`.
RenderOutcome RenderScore(Host& host, Score& score, const std::string& name,
                          const RenderRequest& request);

// A window surface of the score's page size at the host's resolution, attached and paginated.
std::shared_ptr<Surface> PaginateOnImage(Host& host, Score& score);

}  // namespace corvendi::cli
