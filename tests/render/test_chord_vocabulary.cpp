// The chord vocabulary: reading Chords.txt, codes, names, spelling by key and capo transposition.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "corvendi/ChordLibrary.h"
#include "corvendi/ChordVocabulary.h"
#include "render/ChordSpelling.h"

namespace corvendi {
namespace {

const std::filesystem::path kConfigFolder =
    std::filesystem::path(CORVENDI_TEST_DATA_DIR) / "Common" / "Config";

ChordLibrary ShippedLibrary() {
    ChordLibrary library;
    library.SetDataFolder(kConfigFolder);
    EXPECT_TRUE(library.Load());
    return library;
}

// A scratch folder of the test's own, removed afterwards.
class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        mPath = std::filesystem::temp_directory_path() /
                (std::string("corvendi-chords-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(mPath);
        std::filesystem::create_directories(mPath);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }
    const std::filesystem::path& Path() const { return mPath; }
    void Write(const std::string& name, const std::string& bytes) const {
        std::ofstream(mPath / name, std::ios::binary) << bytes;
    }

  private:
    std::filesystem::path mPath;
};

TEST(ChordVocabularyFile, MalformedLinesAreSkippedAndTheRestIsRead) {
    ChordVocabulary v;
    v.Read(
        "; comment\r\n"
        "QUALITY 0 - 0,4,7   ; the major chord, keyword in capitals\r\n"
        "quality 1 m 0, 3, 7\r"
        "quality 21 big 0,4,7\n"             // number beyond 20
        "quality -1 neg 0,4,7\n"             // not a number
        "quality 2 7\n"                      // no intervals
        "quality 3 maj7 0,4,x\n"             // bad interval
        "quality 4 m7 0,3,,10\n"             // empty interval
        "quality 5 abcdefghijklmnopq 0,1\n"  // suffix longer than 16 bytes
        "quality 1 min 0,3,7\n"              // number taken
        "quality 6 m 0,3,7\n"                // suffix taken
        "chord C x32010\n"                   // unknown keyword
        "fingering C x32010\n"
        "fingering C 320003\n"         // second line for C: skipped
        "fingering Am x0221\n"         // five strings
        "fingering Dm xx0,2,3,1\n"     // mixed forms
        "fingering Em 0,2,2,0,0,25\n"  // fret beyond 24
        "fingering C7 x32310\n"        // no such quality
        "fingering Hm 022000\n"        // no such root
        "fingering F#m 2,4,4,2,2,2\n"
        "fingering Bbm x,1,3,3,2,1 ; comment\n"
        "quality 20 sus4 0,5,7\n");  // a quality after the fingerings still counts
    ASSERT_EQ(v.Qualities().size(), 3u);
    EXPECT_EQ(v.Qualities()[0], (ChordQuality{0, "", {0, 4, 7}}));
    EXPECT_EQ(v.Qualities()[1], (ChordQuality{1, "m", {0, 3, 7}}));
    EXPECT_EQ(v.Qualities()[2].Suffix, "sus4");
    EXPECT_EQ(v.ChordCount(), 36);
    EXPECT_EQ(v.FingeringCount(), 3);
    EXPECT_EQ(*v.Fingering(1), (ChordFrets{-1, 3, 2, 0, 1, 0}));
    EXPECT_EQ(*v.Fingering(*v.CodeOfName("Gbm")), (ChordFrets{2, 4, 4, 2, 2, 2}));
    EXPECT_NE(v.Fingering(*v.CodeOfName("A#m")), nullptr);
    EXPECT_EQ(v.Fingering(*v.CodeOfName("Am")), nullptr);
    EXPECT_FALSE(v.CodeOfName("C7"));
    EXPECT_EQ(v.CodeOfName("Csus4"), 20 * 12 + 1);
    EXPECT_EQ(ChordVocabulary::ParseFrets(" X, 10 ,12,12,12,24 "),
              (ChordFrets{-1, 10, 12, 12, 12, 24}));
    for (const char* bad : {"", "x320100", "x3201o", "1,2,3,4,5,-1", "1,2,3,4,5,"}) {
        EXPECT_FALSE(ChordVocabulary::ParseFrets(bad)) << bad;
    }
}

TEST(ChordVocabularyFile, MissingFileLeavesAnEmptyVocabulary) {
    ScratchFolder folder;
    ChordLibrary library = ShippedLibrary();
    library.SetDataFolder(folder.Path());
    EXPECT_FALSE(library.Load());
    EXPECT_EQ(library.ChordCount(), 0);
    EXPECT_EQ(library.ChordName(0), "");
    EXPECT_EQ(library.ChordCode(0), 0);
    std::filesystem::create_directory(folder.Path() / "Chords.txt");  // a folder, not a file
    EXPECT_FALSE(library.Load());
}

// --- spelling and the capo ---------------------------------------------------------------------

TEST(ChordSpelling, RootsFollowTheKey) {
    // C major spells the black keys as flats except F#; sharp keys use sharps, flat keys flats.
    const char* const black[] = {"Db", "Eb", "F#", "Ab", "Bb"};
    const char* const sharps[] = {"C#", "D#", "F#", "G#", "A#"};
    const char* const flats[] = {"Db", "Eb", "Gb", "Ab", "Bb"};
    int32_t i = 0;
    for (int32_t pc : {1, 3, 6, 8, 10}) {
        EXPECT_EQ(SpellPitchClass(pc, 0), black[i]) << pc;
        EXPECT_EQ(SpellPitchClass(pc, 2), sharps[i]) << pc;
        EXPECT_EQ(SpellPitchClass(pc, -3), flats[i++]) << pc;
    }
    EXPECT_EQ(SpellPitchClass(4, -3), "E");
    // Scale notes of the keys with six and seven accidentals keep their letters.
    EXPECT_EQ(SpellPitchClass(5, 6), "E#");
    EXPECT_EQ(SpellPitchClass(0, 7), "B#");
    EXPECT_EQ(SpellPitchClass(11, -6), "Cb");
    EXPECT_EQ(SpellPitchClass(4, -7), "Fb");
    EXPECT_EQ(SpellPitchClass(5, 5), "F");                     // not in B major: no E#
    EXPECT_EQ(SpellPitchClass(13, 9), SpellPitchClass(1, 7));  // out-of-range input is folded
}

TEST(ChordCapo, TheShapeIsTheSoundingChordMovedDownByTheCapo) {
    const ChordLibrary library = ShippedLibrary();
    const ChordVocabulary& v = library.Vocabulary();
    const int32_t c = *v.CodeOfName("C");
    EXPECT_EQ(library.ShownName(c, 0, "", 2), "Bb");  // a sounding C with the capo on fret 2
    EXPECT_EQ(library.ShownName(*v.CodeOfName("D"), 2, "", 2), "C");
    EXPECT_EQ(library.ShownName(*v.CodeOfName("Ab7"), -4, "", 4), "E7");
    // Fret 12 is an octave; no capo and a negative fret change nothing.
    EXPECT_EQ(library.ShownName(c, 0, "", 12), "C");
    EXPECT_EQ(library.ShownName(c, 0, "", -3), "C");
    EXPECT_EQ(library.ShapeCode(c, 14), *v.CodeOfName("Bb"));
    // An unknown code shows the event's text as it is.
    EXPECT_EQ(library.ShownName(0, 0, "N.C.", 2), "N.C.");
    EXPECT_EQ(library.ShownName(253, 0, "", 2), "");
    EXPECT_EQ(library.ShapeCode(0, 2), 0);
}

}  // namespace
}  // namespace corvendi
