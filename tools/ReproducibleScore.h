// A new default score for the tools that write score files, on a headless platform whose clock
// stands still: identifiers come from the time of day, so a file comes out the same on every run.
#pragma once

#include <corvendi/HeadlessPlatform.h>
#include <corvendi/Platform.h>
#include <corvendi/Score.h>

#include <memory>

namespace corvendi::tools {

inline std::shared_ptr<Score> NewReproducibleScore() {
    auto platform = std::make_shared<HeadlessPlatform>();
    platform->SetFixedTime(TimeOfDay{9, 30, 0});
    SetPlatform(platform);
    auto score = Score::Create();
    score->CreateDefault();
    score->SetRedraw(false);
    return score;
}

}  // namespace corvendi::tools
