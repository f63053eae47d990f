// Drawing a paginated score into files through the cairo adapter's render functions, with the
// host's progress and messages.
#pragma once

#include <corvendi/Score.h>
#include <corvendi/cairo/Render.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Host.h"

namespace corvendi::cli {

// Opens `input` and writes `output` (the format by its extension) at `dpi` (0: the host's
// resolution). Returns the files written; nullopt when the input could not be read or an output
// not written (the message is on standard error).
std::optional<std::vector<std::string>> RenderFile(Host& host, const std::string& input,
                                                   const std::string& output,
                                                   std::optional<int32_t> fromPage,
                                                   std::optional<int32_t> toPage, int32_t dpi = 0);

// The same for a score already open.
std::optional<std::vector<std::string>> RenderScore(Host& host, Score& score,
                                                    const std::string& output,
                                                    std::optional<int32_t> fromPage,
                                                    std::optional<int32_t> toPage, int32_t dpi = 0);

// A window surface of the score's page size at the host's resolution, attached and paginated.
std::shared_ptr<Surface> PaginateOnImage(Host& host, Score& score);

}  // namespace corvendi::cli
