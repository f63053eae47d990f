#include "corvendi/Notes.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "corvendi/Enums.h"
#include "model/ModelAccess.h"

namespace corvendi {
namespace {

std::vector<int> ValuesOf(const Note& note) {
    std::vector<int> values;
    for (int32_t i = 0; i < note.ValueCount(); ++i) values.push_back(note.Value(i));
    return values;
}

std::vector<int32_t> TimesOf(const Notes& notes) {
    std::vector<int32_t> times;
    for (const auto& note : notes) times.push_back(note->NoteTime());
    return times;
}

Notes NotesAt(const std::vector<int32_t>& times, int32_t duration = durSixtyFourth) {
    Notes notes;
    for (int32_t t : times) notes.Add(t, 60, duration, 0);
    return notes;
}

TEST(NoteValues, AddAndRemoveValueKeepTheChordSortedWithoutDuplicates) {
    Note note;
    EXPECT_EQ(note.ValueCount(), 0);  // a rest
    EXPECT_EQ(note.AddValue(67), 0);
    EXPECT_EQ(note.AddValue(60), 0);
    EXPECT_EQ(note.AddValue(64), 1);
    EXPECT_EQ(ValuesOf(note), (std::vector<int>{60, 64, 67}));

    EXPECT_EQ(note.AddValue(60), 0);
    EXPECT_EQ(note.AddValue(67), 2);
    EXPECT_EQ(ValuesOf(note), (std::vector<int>{60, 64, 67}));

    // Removing closes the gap.
    EXPECT_TRUE(note.RemoveValue(64));
    EXPECT_FALSE(note.RemoveValue(64));
    EXPECT_EQ(note.AddValue(62), 1);
    EXPECT_EQ(ValuesOf(note), (std::vector<int>{60, 62, 67}));
}

TEST(NoteValues, FullChordRefusesAnotherValue) {
    Note note;
    for (int v = 255; v >= 1; --v) note.AddValue(static_cast<uint8_t>(v));
    ASSERT_EQ(note.ValueCount(), 255);
    EXPECT_EQ(note.Value(0), 1);
    EXPECT_EQ(note.Value(254), 255);
    EXPECT_EQ(note.AddValue(0), -1);
    EXPECT_EQ(note.AddValue(100), 99);  // still found
    EXPECT_EQ(note.ValueCount(), 255);
    EXPECT_EQ(note.Value(0), 1);
}

TEST(NoteValues, ValueReadsZeroOutsideAndWriteMasksTo127) {
    Note note;
    for (uint8_t v : {60, 64, 67}) note.AddValue(v);
    EXPECT_EQ(note.Value(5), 0);
    EXPECT_EQ(note.Value(3), 0);
    EXPECT_EQ(note.Value(-1), 0);

    note.SetValue(1, 200);
    EXPECT_EQ(note.Value(1), 72);
    note.SetValue(3, 50);
    note.SetValue(-1, 50);
    EXPECT_EQ(ValuesOf(note), (std::vector<int>{60, 72, 67}));  // not re-sorted

    // A write may create a duplicate; adding that value finds its last occurrence.
    note.SetValue(0, 67);
    EXPECT_EQ(note.AddValue(67), 2);
    EXPECT_EQ(note.ValueCount(), 3);
}

TEST(NotesAdd, SameTimeMergesIntoOneChordTakingTheLastDurationAndFlags) {
    Notes notes;
    auto first = notes.Add(0, 64, durQuarter, nteAccent | nteDot);
    auto second = notes.Add(0, 60, 256 + durEighth, nteStacato);
    EXPECT_EQ(first, second);
    EXPECT_EQ(notes.Count(), 1);
    EXPECT_EQ(ValuesOf(*first), (std::vector<int>{60, 64}));
    EXPECT_EQ(first->Duration(), durEighth);  // only the low byte is kept
    EXPECT_EQ(first->Flags(), nteStacato);
}

TEST(NotesAdd, ThePreviousNoteIsShortenedToTheLongestValueThatFitsTheGap) {
    struct Case {
        int32_t duration;
        int32_t flags;
        int32_t nextAt;
        int32_t expectedDuration;
        int32_t expectedFlags;
    };
    const Case cases[] = {
        {durQuarter, 0, 1, 1, 0},
        {durQuarter, 0, 2, 2, 0},
        {durQuarter, 0, 3, 2, nteDot},
        {durQuarter, 0, 7, 4, nteDot},
        // A dotted quarter cut to exactly an eighth loses its dot, keeping its other flags.
        {durQuarter, nteDot | nteAccent, 8, 8, nteAccent},
        {durWhole, nteDot, 32, 32, 0},
        // Lengths beyond a whole note are cut to a whole note without a dot.
        {128, nteDot, 64, 64, 0},
        // Clearing the dot also drops flag bits above the low 16.
        {durHalf, 65536 | nteDot, 16, 16, 0},
        // A triplet sounds for half its duration.
        {durEighth, nteTriplet, 3, 2, nteTriplet | nteDot},
        {durQuarter, nteTriplet | nteDot, 4, 4, nteTriplet},
        // No overlap: the dot does not count towards the length; a triplet eighth lasts 4 ticks.
        {durQuarter, 0, 16, durQuarter, 0},
        {durQuarter, nteDot, 20, durQuarter, nteDot},
        {durEighth, nteTriplet, 4, durEighth, nteTriplet}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.duration << " " << c.flags << " " << c.nextAt);
        Notes notes;
        auto previous = notes.Add(0, 60, c.duration, c.flags);
        notes.Add(c.nextAt, 62, durQuarter, 0);
        EXPECT_EQ(previous->Duration(), c.expectedDuration);
        EXPECT_EQ(previous->Flags(), c.expectedFlags);
    }
}

TEST(NotesAdd, OnlyThePreviousNoteIsAdjusted) {
    Notes notes;
    auto late = notes.Add(12, 64, durEighth, 0);
    auto early = notes.Add(0, 60, durQuarter, 0);
    // Inserting before a note leaves that following note alone, even when they overlap.
    EXPECT_EQ(early->Duration(), durQuarter);
    EXPECT_EQ(late->Duration(), durEighth);

    // A chord tone joining the note at 12 shortens the note before it.
    notes.Add(12, 67, durEighth, 0);
    EXPECT_EQ(early->Duration(), durEighth);
    EXPECT_EQ(early->Flags(), nteDot);
}

TEST(NotesItem, SearchAgreesWithALinearScanForEveryTimeAndSize) {
    Notes empty;
    empty.Item(5);
    EXPECT_EQ(detail::NotesAccess::CurIndex(empty), 1);
    for (int32_t count = 0; count <= 17; ++count) {
        std::vector<int32_t> times;
        for (int32_t i = 0; i < count; ++i) times.push_back(i * 10 - 30);
        Notes notes = NotesAt(times);
        for (int32_t t = -45; t <= count * 10; ++t) {
            int32_t atOrAfter = 0;  // 0-based index of the first note at or after t
            while (atOrAfter < count && times[atOrAfter] < t) ++atOrAfter;
            int32_t atOrBefore =
                atOrAfter < count && times[atOrAfter] == t ? atOrAfter : atOrAfter - 1;
            int32_t before = atOrAfter - 1;

            auto found = notes.Item(t);
            EXPECT_EQ(detail::NotesAccess::CurIndex(notes), atOrAfter + 1) << count << " " << t;
            EXPECT_EQ(found, notes.ByIndex(atOrAfter + 1)) << count << " " << t;
            EXPECT_EQ(notes.Item(t, true), notes.ByIndex(atOrBefore + 1)) << count << " " << t;
            // The cursor keeps the searched position, not the one stepped back to.
            EXPECT_EQ(detail::NotesAccess::CurIndex(notes), atOrAfter + 1) << count << " " << t;
            EXPECT_EQ(notes.Item(t, false, true), notes.ByIndex(before + 1)) << count << " " << t;
            EXPECT_EQ(detail::NotesAccess::CurIndex(notes), atOrAfter + 1) << count << " " << t;
        }
    }
}

TEST(NotesCursor, StepsThroughNeighboursAndStopsAtBothEnds) {
    Notes notes = NotesAt({0, 16, 32});
    notes.Item(16);
    EXPECT_EQ(notes.NextItem()->NoteTime(), 32);
    EXPECT_EQ(notes.NextItem(), nullptr);
    EXPECT_EQ(detail::NotesAccess::CurIndex(notes), 3);
    EXPECT_EQ(notes.PrevItem()->NoteTime(), 16);
    EXPECT_EQ(notes.PrevItem()->NoteTime(), 0);
    EXPECT_EQ(notes.PrevItem(), nullptr);
    EXPECT_EQ(detail::NotesAccess::CurIndex(notes), 1);
    EXPECT_EQ(notes.ByIndex(0), nullptr);
    EXPECT_EQ(notes.ByIndex(-1), nullptr);

    detail::NotesAccess::Clear(notes);
    EXPECT_EQ(notes.Count(), 0);
    EXPECT_EQ(detail::NotesAccess::CurIndex(notes), 0);
    EXPECT_EQ(notes.NextItem(), nullptr);
    notes.Add(8, 60, durQuarter, 0);
    EXPECT_EQ(notes.NextItem()->NoteTime(), 8);

    // A cursor left past the end by a removal finds nothing.
    notes = NotesAt({0, 16, 32, 48, 64});
    notes.Item(64);
    notes.RemoveRange(16, 100);
    EXPECT_EQ(notes.PrevItem(), nullptr);
    EXPECT_EQ(notes.NextItem(), nullptr);
}

TEST(NotesRemoveRange, RemovesTheSpanAndMovesLaterNotesBack) {
    Notes notes = NotesAt({0, 16, 24, 32, 48});
    auto former32 = notes.Item(32);
    notes.RemoveRange(16, 32);
    EXPECT_EQ(TimesOf(notes), (std::vector<int32_t>{0, 16, 32}));
    EXPECT_EQ(notes.ByIndex(2), former32);

    Notes pastTheEnd = NotesAt({0, 16, 32});
    pastTheEnd.RemoveRange(10, 1000);
    EXPECT_EQ(TimesOf(pastTheEnd), (std::vector<int32_t>{0}));

    Notes fromTheStart = NotesAt({0, 16, 32});
    fromTheStart.RemoveRange(-8, 16);
    EXPECT_EQ(TimesOf(fromTheStart), (std::vector<int32_t>{-8, 8}));

    Notes emptySpan = NotesAt({0, 16});
    emptySpan.RemoveRange(4, 8);
    EXPECT_EQ(TimesOf(emptySpan), (std::vector<int32_t>{0, 12}));

    Notes empty;
    empty.RemoveRange(0, 64);
    EXPECT_EQ(empty.Count(), 0);
}

}  // namespace
}  // namespace corvendi
