// Drawing a paginated score into files: a PDF through printing, PNG or SVG one file per page.
#pragma once

#include <corvendi/Score.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Host.h"

namespace corvendi::cli {

enum class OutputKind { None, Pdf, Png, Svg };

// By the file's extension, in any letter case.
OutputKind OutputKindOf(const std::string& path);
// The name of page `page` of a picture output: "out.png" gives "out-<page>.png".
std::string PageFileName(const std::string& path, int32_t page);
// The pages a range selects, by the same rules as printing: no first page means from page 1
// (and with no last page either, to the last page); a first page alone selects that page;
// pages beyond the score are left out.
std::vector<int32_t> SelectedPages(std::optional<int32_t> fromPage, std::optional<int32_t> toPage,
                                   int32_t lastPage);

// Opens `input`, paginates it on a window of the platform's resolution and writes `output`.
// Returns the files written; nullopt when the input could not be read or an output not
// written (the message is on standard error).
std::optional<std::vector<std::string>> RenderFile(Host& host, const std::string& input,
                                                   const std::string& output,
                                                   std::optional<int32_t> fromPage,
                                                   std::optional<int32_t> toPage);

// The same for a score already paginated on an image window of the host's resolution.
std::optional<std::vector<std::string>> RenderScore(Host& host, Score& score,
                                                    const std::string& output,
                                                    std::optional<int32_t> fromPage,
                                                    std::optional<int32_t> toPage);

// A window surface of the score's page size at the host's resolution, attached and paginated.
std::shared_ptr<Surface> PaginateOnImage(Host& host, Score& score);

}  // namespace corvendi::cli
