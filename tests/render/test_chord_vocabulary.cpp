// The chord vocabulary: reading Chords.txt, codes, names, spelling by key and capo transposition.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <tuple>

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

// Standard tuning, low E to high E.
constexpr int32_t kOpenStrings[6] = {40, 45, 50, 55, 59, 64};

TEST(ChordVocabularyFile, ShippedFileGivesTwentyOneQualitiesOnTwelveRootsWithUniqueByteCodes) {
    const ChordLibrary library = ShippedLibrary();
    ASSERT_EQ(library.ChordCount(), 252);
    std::set<int32_t> codes;
    std::set<std::string> names;
    for (int32_t i = 0; i < library.ChordCount(); ++i) {
        const int32_t code = library.ChordCode(i);
        EXPECT_GE(code, 1) << i;
        EXPECT_LE(code, 255) << i;
        codes.insert(code);
        names.insert(library.ChordName(i));
        // A listed name reads back as its own code.
        EXPECT_EQ(library.Vocabulary().CodeOfName(library.ChordName(i)), code) << i;
    }
    EXPECT_EQ(codes.size(), 252u);
    EXPECT_EQ(names.size(), 252u);
    // Root by root, code = quality × 12 + root + 1.
    const std::tuple<int32_t, const char*, int32_t> listed[] = {
        {0, "C", 1},      {1, "Cm", 13},       {16, "Cm7b5", 193}, {21, "Db", 2},
        {127, "F#m", 19}, {251, "Bmaj9", 252}, {252, "", 0},       {-1, "", 0}};
    for (const auto& [index, name, code] : listed) {
        EXPECT_EQ(library.ChordName(index), name) << index;
        EXPECT_EQ(library.ChordCode(index), code) << index;
    }
    EXPECT_EQ(library.Vocabulary().Name(253, 0), "");
}

TEST(ChordVocabularyFile, EveryShippedFingeringSoundsOnlyChordTonesAndTheRoot) {
    const ChordLibrary library = ShippedLibrary();
    const ChordVocabulary& vocabulary = library.Vocabulary();
    // Every major, minor and seventh chord has one.
    for (int32_t root = 0; root < 12; ++root) {
        for (int32_t quality : {0, 1, 2}) {
            EXPECT_NE(vocabulary.Fingering(ChordVocabulary::CodeOf(quality, root)), nullptr)
                << vocabulary.Name(ChordVocabulary::CodeOf(quality, root), 0);
        }
    }
    for (int32_t code = 1; code <= 255; ++code) {
        const ChordFrets* frets = vocabulary.Fingering(code);
        if (!frets) continue;
        const ChordQuality* quality = vocabulary.Quality(ChordVocabulary::QualityNumberOf(code));
        ASSERT_NE(quality, nullptr);
        const int32_t root = ChordVocabulary::RootOf(code);
        std::set<int32_t> tones;
        for (int32_t interval : quality->Intervals) tones.insert(PitchClassOf(root + interval));
        bool rootSounds = false;
        for (size_t string = 0; string < 6; ++string) {
            if ((*frets)[string] == kMutedString) continue;
            const int32_t pc = PitchClassOf(kOpenStrings[string] + (*frets)[string]);
            EXPECT_TRUE(tones.count(pc)) << vocabulary.Name(code, 0) << " string " << string;
            rootSounds = rootSounds || pc == root;
        }
        EXPECT_TRUE(rootSounds) << vocabulary.Name(code, 0);
    }
    // The three everyone knows.
    EXPECT_EQ(*vocabulary.Fingering(*vocabulary.CodeOfName("C")), (ChordFrets{-1, 3, 2, 0, 1, 0}));
    EXPECT_EQ(*vocabulary.Fingering(*vocabulary.CodeOfName("G")), (ChordFrets{3, 2, 0, 0, 0, 3}));
    EXPECT_EQ(*vocabulary.Fingering(*vocabulary.CodeOfName("E")), (ChordFrets{0, 2, 2, 1, 0, 0}));
}

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

TEST(ChordVocabularyFile, SuffixesStartingWithAnAccidentalStillResolve) {
    ChordVocabulary v;
    v.Read("quality 0 - 0,4,7\nquality 1 b5 0,4,6\nquality 2 5 0,7\n");
    EXPECT_EQ(v.CodeOfName("Cb5"), ChordVocabulary::CodeOf(2, 11));  // Cb power chord
    EXPECT_EQ(v.CodeOfName("Db5"), ChordVocabulary::CodeOf(2, 1));
    EXPECT_EQ(v.CodeOfName("Eb5"), ChordVocabulary::CodeOf(2, 3));
    EXPECT_EQ(v.CodeOfName("Gb5"), ChordVocabulary::CodeOf(2, 6));
    v.Read("quality 0 - 0,4,7\nquality 1 b5 0,4,6\n");
    EXPECT_EQ(v.CodeOfName("Cb5"), ChordVocabulary::CodeOf(1, 0));  // C with suffix "b5"
    EXPECT_EQ(v.CodeOfName("Cbb5"), ChordVocabulary::CodeOf(1, 11));
    EXPECT_FALSE(v.CodeOfName(""));
    EXPECT_FALSE(v.CodeOfName("#"));
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

TEST(ChordVocabularyFile, FileTextIsWindows1252) {
    ScratchFolder folder;
    folder.Write("Chords.txt", "quality 0 - 0,4,7\nquality 5 \xB0 0,3,6\n");
    ChordLibrary library;
    library.SetDataFolder(folder.Path());
    ASSERT_TRUE(library.Load());
    EXPECT_EQ(library.ChordName(1), "C\xC2\xB0");  // "C°" in UTF-8
    EXPECT_EQ(library.Vocabulary().CodeOfName("D\xC2\xB0"), ChordVocabulary::CodeOf(5, 2));
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

TEST(ChordSpelling, KeysMoveByTheirTonic) {
    EXPECT_EQ(TransposeKey(0, -2), -2);  // C down a tone: Bb
    EXPECT_EQ(TransposeKey(4, -1), -3);  // E down: Eb
    EXPECT_EQ(TransposeKey(1, -1), 6);   // G down: F#
    EXPECT_EQ(TransposeKey(-1, 1), 6);   // F up: F# rather than Gb
    EXPECT_EQ(TransposeKey(-7, -12), -7);
    EXPECT_EQ(TransposeKey(-7, -1), -2);  // Cb down: Bb
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
