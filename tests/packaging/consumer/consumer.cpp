// A program outside the project, built against an installed (or added) Corvendi: it makes the
// default score, saves it, reads it back, optionally draws it with the cairo adapter, and prints
// what it found for the packaging checks to compare:
//     version <library version>
//     app-folder <application folder the engine uses>
//     instrument <description of the first voice's instrument>
#include <corvendi/Instrument.h>
#include <corvendi/Platform.h>
#include <corvendi/Score.h>
#include <corvendi/Staff.h>
#include <corvendi/Version.h>
#include <corvendi/Voice.h>
#ifdef CONSUMER_WITH_CAIRO
#include <corvendi/cairo/CairoImageSurface.h>
#endif

#include <cstdio>
#include <memory>
#include <string>

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "consumer: %s\n", what);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return Fail("usage: consumer <output path without extension>");
    const std::string output = argv[1];

    auto score = corvendi::Score::Create();
    score->CreateDefault();
    score->SetTitle("Packaging check");
    if (!score->SaveFile(output + ".sco")) return Fail("SaveFile failed");

    auto reread = corvendi::Score::Create();
    if (!reread->OpenFile(output + ".sco")) return Fail("OpenFile failed");
    if (reread->Title() != "Packaging check") return Fail("the saved title did not come back");

#ifdef CONSUMER_WITH_CAIRO
    auto surface = std::make_shared<corvendi::CairoImageSurface>(8.5 * 1440, 11 * 1440);
    score->SetWindow(surface);
    score->PaintWindow();
    while (corvendi::CurrentPlatform().ProcessPendingEvents()) {
    }
    score->PaintWindow();
    if (!surface->WritePng(output + ".png")) return Fail("WritePng failed");
#endif

    auto staff = score->Staff(1);
    auto voice = staff ? staff->Voice(1) : nullptr;
    auto instrument = voice ? voice->Instrument() : nullptr;
    std::printf("version %s\n", corvendi::VersionString());
    std::printf("app-folder %s\n", corvendi::CurrentPlatform().AppFolder().c_str());
    std::printf("instrument %s\n", instrument ? instrument->Description().c_str() : "");
    return 0;
}
