// Writes the long score of the editing benchmarks as a file, for timing the studio on it:
// `staffs` staffs of `measures` measures, every measure eight eighth notes of which every other
// one is a three-note chord (16 staffs of 1,000 measures: 256,000 notes, about 600 pages).
//
//   corvendi_make_editing_score output.sco [staffs] [measures]
#include <corvendi/Enums.h>
#include <corvendi/Score.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "EditingScore.h"
#include "ReproducibleScore.h"

using namespace corvendi;

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s output.sco [staffs] [measures]\n", argv[0]);
        return 2;
    }
    const std::string output = argv[1];
    const int32_t staffs = argc > 2 ? std::atoi(argv[2]) : 16;
    const int32_t measures = argc > 3 ? std::atoi(argv[3]) : 1000;
    if (staffs < 1 || measures < 1) {
        std::fprintf(stderr, "staffs and measures must be at least 1\n");
        return 2;
    }
    auto score = tools::NewReproducibleScore();
    const int64_t notes = bench::FillEditingScore(*score, staffs, measures);
    if (!score->SaveFile(output, fmtQuavrix)) {
        std::fprintf(stderr, "cannot write %s\n", output.c_str());
        return 1;
    }
    std::printf("%s: %d staffs, %d measures, %lld notes\n", output.c_str(), staffs, measures,
                static_cast<long long>(notes));
    return 0;
}
