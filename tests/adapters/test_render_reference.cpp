// The pictures the programs draw at 96 dpi stay what they were: the bundled example (as PNG, and
// as PDF shown by a PDF viewer) and the pictures of docs/images are drawn again and compared with
// reference PNGs kept in tests/data/render-reference. Anti-aliasing may shift a little; at most 0.5
// % of the pixels may differ by more than 32 grey levels in any channel.
#include <gtest/gtest.h>

#include <cairo.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;

namespace corvendi::test {
namespace {

namespace fs = std::filesystem;

constexpr int kGreyTolerance = 32;
constexpr double kMostPixelsDiffering = 0.005;

// A program run and the pictures it writes, named as their references.
struct Drawing {
    std::vector<std::string> Command;  // the program and its arguments; "OUT/" is the folder
    std::vector<std::string> Pictures;
    std::vector<std::string> Then = {};  // a program turning what the first wrote into pictures
};

std::vector<Drawing> Drawings() {
    const std::string example = std::string(CORVENDI_TEST_DATA_DIR) + "/examples/example.sco";
    return {
        {{CORVENDI_TEST_CLI, "render", example, "-o", "OUT/example.png", "--dpi", "96", "--quiet"},
         {"example-1.png", "example-2.png"}},
        {{CORVENDI_TEST_CLI, "render", example, "-o", "OUT/example.pdf", "--quiet"},
         {"example-pdf-1.png", "example-pdf-2.png"},
         {"pdftoppm", "-r", "96", "-gray", "-png", "OUT/example.pdf", "OUT/example-pdf"}},
        {{CORVENDI_TEST_NOTES_PICTURE, "OUT/notes.png"}, {"notes.png"}},
        {{CORVENDI_TEST_MARKS_PICTURE, "OUT/marks.png", "0"}, {"marks.png"}},
        {{CORVENDI_TEST_MARKS_PICTURE, "OUT/marks-diagrams.png", "1"}, {"marks-diagrams.png"}},
        {{CORVENDI_TEST_LAYOUT_PAGE, "OUT/layout-page.png"}, {"layout-page.png"}},
        {{CORVENDI_TEST_MUSIC_FONT_PROOF, "OUT/music-font.png", "15"}, {"music-font.png"}},
    };
}

// Runs a program with its output silenced; true when it exits with 0.
bool RunProgram(std::vector<std::string> args, const std::string& folder) {
    std::vector<char*> argv;
    for (std::string& arg : args) {
        if (arg.rfind("OUT/", 0) == 0) arg = folder + arg.substr(3);
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return spawned == 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

struct Comparison {
    bool SameSize = false;
    double DifferingShare = 1.0;  // of all pixels
};

Comparison Compare(const std::string& expectedPath, const std::string& actualPath) {
    Comparison result;
    cairo_surface_t* expected = cairo_image_surface_create_from_png(expectedPath.c_str());
    cairo_surface_t* actual = cairo_image_surface_create_from_png(actualPath.c_str());
    const int width = cairo_image_surface_get_width(expected);
    const int height = cairo_image_surface_get_height(expected);
    result.SameSize = cairo_surface_status(expected) == CAIRO_STATUS_SUCCESS &&
                      cairo_surface_status(actual) == CAIRO_STATUS_SUCCESS &&
                      width == cairo_image_surface_get_width(actual) &&
                      height == cairo_image_surface_get_height(actual) && width > 0 && height > 0;
    if (result.SameSize) {
        const unsigned char* a = cairo_image_surface_get_data(expected);
        const unsigned char* b = cairo_image_surface_get_data(actual);
        const int strideA = cairo_image_surface_get_stride(expected);
        const int strideB = cairo_image_surface_get_stride(actual);
        long differing = 0;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const unsigned char* p = a + y * strideA + x * 4;
                const unsigned char* q = b + y * strideB + x * 4;
                for (int channel = 0; channel < 3; ++channel) {
                    if (std::abs(p[channel] - q[channel]) > kGreyTolerance) {
                        ++differing;
                        break;
                    }
                }
            }
        }
        result.DifferingShare = static_cast<double>(differing) / (double(width) * height);
    }
    cairo_surface_destroy(expected);
    cairo_surface_destroy(actual);
    return result;
}

TEST(RenderReference, EveryPictureMatchesItsReferenceWithinTheTolerance) {
    const fs::path folder =
        fs::temp_directory_path() / ("corvendi-reference-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    const std::string references =
        std::string(CORVENDI_TEST_SOURCE_DIR) + "/tests/data/render-reference/";
    for (const Drawing& drawing : Drawings()) {
        SCOPED_TRACE(drawing.Command[1]);
        ASSERT_TRUE(RunProgram(drawing.Command, folder.string()));
        if (!drawing.Then.empty()) {
            ASSERT_TRUE(RunProgram(drawing.Then, folder.string()));
        }
        for (const std::string& picture : drawing.Pictures) {
            SCOPED_TRACE(picture);
            const Comparison comparison =
                Compare(references + picture, (folder / picture).string());
            EXPECT_TRUE(comparison.SameSize);
            EXPECT_LE(comparison.DifferingShare, kMostPixelsDiffering);
        }
    }
    fs::remove_all(folder);
}

}  // namespace
}  // namespace corvendi::test
