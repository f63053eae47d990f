// Builds a score through the C++ host API and prints its dump: the Python tests build the same
// score with the same calls and compare the two dumps.
#include <corvendi/Enums.h>
#include <corvendi/GlobalEvents.h>
#include <corvendi/HeadlessPlatform.h>
#include <corvendi/Platform.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/ToJson.h>

#include <cstdio>
#include <memory>

int main() {
    using namespace corvendi;
    auto platform = std::make_shared<HeadlessPlatform>();
    platform->SetFixedTime(TimeOfDay{12, 0, 0});
    SetPlatform(platform);

    auto score = Score::Create();
    score->CreateDefault();
    score->SetTitle("Evening Song");
    score->SetComposer("A. Composer");
    score->SetCopyright(1, "Public domain");
    score->SetKey(-2);
    score->SetMargins(marLeft, 1.25f);
    score->AddStaff();
    score->Staff(2)->SetDescription("Bass");
    score->Staff(2)->SetDefaultClef(clfBass);
    score->AllGlobals()->Add(64, evtKeyChange, 2);
    for (int32_t i = 0; i < 8; ++i) {
        score->AddNote(1, i * durEighth, static_cast<uint8_t>(60 + i), durEighth, 0);
    }
    score->AddNote(1, 64, 67, durHalf, nteDot | nteAccent);
    score->AddNote(1, 64, 71, durHalf, nteDot | nteAccent);
    score->AddNote(2, 0, 48, durWhole, 0);
    std::puts(ToJson(*score).c_str());
    return 0;
}
