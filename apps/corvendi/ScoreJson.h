// The whole document as JSON: texts, tempo and key, score-wide events, instruments, and the
// staffs with their events, voices and notes.
#pragma once

#include <corvendi/Score.h>

#include <string>

namespace corvendi::cli {

// `lastPage` is written as given (the caller paginates first).
std::string ScoreJson(const Score& score, int32_t lastPage);

// A JSON string literal of UTF-8 text, quotes included.
std::string JsonString(std::string_view text);

}  // namespace corvendi::cli
