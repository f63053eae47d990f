// The contents of one staff in one system: the staff start, then each measure at the width line
// breaking gave it, recorded in the staff's region (width, start time, note pad), its voices'
// notes and rests spaced in proportion to time, closed by its barline.
#include <algorithm>
#include <cstdlib>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"
#include "render/StaffDrawer.h"

namespace corvendi {

namespace {

// A grand staff shows middle C and above on its upper staff, the values below on its lower one.
constexpr int32_t kMiddleC = 60;

bool IsDrumVoice(const Voice* voice) {
    const auto instrument = voice ? voice->Instrument() : nullptr;
    return instrument && instrument->Category() == catDrums;
}

// Drum staffs and percussion-clef staffs show no key: their notes are instruments, not pitches.
bool IsDrumStaff(Staff& staff, int32_t atTime) {
    return IsDrumVoice(staff.Voice(1).get()) || staff.CurClef(atTime) == clfPercussion;
}

// How long a note sounds, in ticks. A triplet's two thirds are rounded up so that three of them
// never leave a gap a rest would fill.
int32_t SoundingLength(const Note& note) {
    const int32_t d = note.Duration();
    const int32_t flags = note.Flags();
    if ((flags & nteTriplet) != 0) return IDiv(2 * d + 2, 3);
    if ((flags & nteDouble) != 0) return d + IDiv(d, 2) + IDiv(d, 4);
    if ((flags & nteDot) != 0) return d + IDiv(d, 2);
    return d;
}

}  // namespace

int32_t PageLayout::FirstMeasurePad(const StaffSystemFrame& frame) const {
    const int32_t s = mMetrics.LineSpacing;
    const int32_t staffHeight = LayoutStaffHeight(mScore);
    // The clef takes a staff height; a key signature a line spacing before its first sign and
    // after each.
    int32_t x = staffHeight;
    if (frame.Staff && !IsDrumStaff(*frame.Staff, frame.Start)) {
        const int32_t signs = std::abs(std::clamp(frame.Staff->CurKey(frame.Start), -7, 7));
        if (signs > 0) x += (signs + 1) * s;
    }
    const bool timeSignature =
        frame.Start == 0 || (detail::ScoreAccess::GlobalsRef(mScore) &&
                             detail::ScoreAccess::GlobalsRef(mScore)->Find(
                                 frame.Start, evtTimeChange, true) != nullptr);
    if (timeSignature) x += NInt(0.7 * staffHeight);
    return x + s + IDiv(s, 2);
}

void PageLayout::DrawStaffSystem(const StaffSystemFrame& frame, Region& region) {
    if (!frame.Staff) return;
    StaffDrawer drawer(*this, frame, region);
    drawer.Draw();
}

StaffDrawer::StaffDrawer(PageLayout& layout, const StaffSystemFrame& frame, Region& region)
    : mLayout(layout), mScore(layout.Owner()), mFrame(frame), mRegion(region) {
    mS = layout.Metrics().LineSpacing;
    mG = frame.TopLine - layout.GlyphDrop();
    mStaffHeight = LayoutStaffHeight(mScore);
    const int32_t clef = frame.Staff->CurClef(frame.Start);
    if (clef == clfGrand) {
        mClef = frame.Part == 2 ? clfBass : clfTreble;
    } else {
        mClef = clef;
    }
    mGrand = clef == clfGrand;
    mPercussionClef = clef == clfPercussion;
    mDrumStaff = IsDrumStaff(*frame.Staff, frame.Start);
    mMultiVoice = (detail::ScoreAccess::DrawFlags(mScore) & kDrawMultiVoice) != 0;
}

void StaffDrawer::Draw() {
    const int32_t firstPad = DrawStaffStart();
    mKey = mDrumStaff ? 0 : std::clamp(mFrame.Staff->CurKey(mFrame.Start), -7, 7);
    const SystemMeasures& system = mLayout.System();
    for (int32_t j = 0; j < system.Count; ++j) DrawMeasure(j, j == 0 ? firstPad : 2 * mS);
    // Ties are drawn once the notes of both parts of a grand staff have their places.
    if (!mGrand || mFrame.Part == 2) DrawTies();
}

void StaffDrawer::DrawMeasure(int32_t j, int32_t pad) {
    const SystemMeasures& system = mLayout.System();
    const auto slot = static_cast<size_t>(j);
    if (const auto measure = mRegion.Measure(j)) {
        detail::RangeAccess::LowSet(*measure, system.Width[slot]);
        detail::RangeAccess::HighSet(*measure, system.Time[slot]);
    }
    mRegion.SetMeasurePad(j, pad);

    MeasureFrame m;
    m.Left = j == 0 ? mFrame.MusicLeft : system.BarX[slot - 1];
    m.Width = system.Width[slot];
    m.Start = system.Time[slot];
    m.Flags = MeasureFlagsOf(j);
    MeasureInfoResult info;
    if (const auto globals = mScore.AllGlobals()) info = globals->MeasureInfo(m.Start);
    m.Duration = info.Duration;
    mMeasureNumber = j == 0 ? info.Number : mMeasureNumber + 1;
    const int32_t barX = system.BarX[slot];

    const int32_t shift = DrawSignatureChanges(m);
    if ((m.Flags & kBeginRepeatFlag) != 0) {
        // At the system start the repeat sign follows the signatures.
        const int32_t at = j == 0 ? m.Left + pad - mS - IDiv(mS, 2) : m.Left + shift;
        pad = DrawBeginRepeat(at) - m.Left;
    } else {
        pad += shift;
    }
    if (m.Duration > 0) {
        m.Tick = std::max(0, IDiv(m.Width - pad, m.Duration));
        m.Pad = pad + 2 * m.Tick;
        m.Key = mDrumStaff ? 0 : std::clamp(mFrame.Staff->CurKey(m.Start), -7, 7);
    } else {
        m.Pad = pad;
    }
    DrawSectionMarks(m, barX);
    DrawMeasureNumber(mMeasureNumber, m, barX);
    if (m.Duration > 0) {
        mAccidentals.Clear();
        if (mFrame.Staff->SameAsLast(m.Start)) {
            DrawMeasureRepeat(m);
        } else {
            const int32_t voices = mFrame.Staff->Voices();
            bool partHoldsNotes = false;
            for (int32_t v = 1; v <= voices; ++v)
                partHoldsNotes = DrawVoice(v, m) || partHoldsNotes;
            // Each staff of a grand staff shows its own whole rest when no voice plays on it.
            if (mGrand && !partHoldsNotes) {
                mVoiceColor = mScore.Voice() == 1
                                  ? detail::ScoreAccess::DrawColors(mScore).Notes
                                  : detail::ScoreAccess::DrawColors(mScore).NotesAlt;
                DrawMeasureRest(m);
            }
        }
        DrawChordSymbols(m);
        DrawDynamicsAndTempo(m);
        DrawFreeText(m);
        DrawLyrics(m);
    }
    if (!DrawEndBarline(m.Flags, barX)) {
        mLayout.DrawLine(detail::ScoreAccess::DrawColors(mScore).Bars, barX, mFrame.TopLine, barX,
                         mFrame.BottomLine);
    }
}

int32_t StaffDrawer::NoteX(int32_t time, const MeasureFrame& m) const {
    const int64_t x = static_cast<int64_t>(time - m.Start) * m.Tick + m.Left + m.Pad;
    return SnapX(ClampCoord(x));
}

bool StaffDrawer::PartHolds(int32_t value) const {
    if (mFrame.Part == 2) return value < kMiddleC;
    return !mGrand || value >= kMiddleC;
}

bool StaffDrawer::DrawVoice(int32_t voiceNumber, const MeasureFrame& m) {
    const auto voice = mFrame.Staff->Voice(voiceNumber);
    const auto notes = voice ? voice->Notes() : nullptr;
    if (!notes) return false;
    mVoiceNumber = voiceNumber;
    mVoiceColor = voiceNumber == mScore.Voice() ? detail::ScoreAccess::DrawColors(mScore).Notes
                                                : detail::ScoreAccess::DrawColors(mScore).NotesAlt;
    if (auto* surface = mLayout.Target()) surface->SetForeColor(mVoiceColor);
    mDrumVoice = IsDrumVoice(voice.get());
    mGroup = BeamGroup{};
    mTriplet = Triplet{};
    mForced = 0;

    const int32_t end = m.Start + m.Duration;
    const auto first = std::partition_point(
        notes->begin(), notes->end(), [&](const auto& note) { return note->NoteTime() < m.Start; });
    auto last = first;
    int32_t upperValues = 0;
    int32_t lowerValues = 0;
    for (; last != notes->end() && (*last)->NoteTime() < end; ++last) {
        for (int32_t i = 0; i < (*last)->ValueCount(); ++i) {
            ++((*last)->Value(i) >= kMiddleC ? upperValues : lowerValues);
        }
    }
    const bool sounds = upperValues + lowerValues > 0;
    // The voice's silences are shown once: on a grand staff in the part holding most of its
    // notes in this measure (the upper one on a tie).
    const int32_t restPart = !mGrand || upperValues >= lowerValues ? 1 : 2;
    const bool restsHere = restPart == mFrame.Part;

    int32_t cursor = m.Start;
    bool drawn = false;
    for (auto it = first; it != last; ++it) {
        Note& note = **it;
        if (note.ValueCount() == 0) continue;  // a rest record: its gap is filled below
        if (restsHere && note.NoteTime() > cursor) {
            CloseGroup();
            DrawRests(cursor, note.NoteTime(), m);
        }
        bool inPart = false;
        for (int32_t i = 0; i < note.ValueCount(); ++i) inPart = inPart || PartHolds(note.Value(i));
        if (inPart) {  // a chord wholly on the other part of a grand staff is drawn there
            DrawNote(note, m);
            drawn = true;
        }
        cursor = std::max(cursor, note.NoteTime() + SoundingLength(note));
    }
    CloseGroup();
    if (sounds) {
        if (restsHere) DrawRests(cursor, end, m);
    } else if (!mGrand && voiceNumber == 1) {
        DrawMeasureRest(m);
    }
    return drawn;
}

// Fills a gap with the largest rests that fit, from its start. A rest also starts on a multiple
// of its own length within the measure, so the beats stay visible: after a quarter on beat 1 of
// 4/4 come a quarter rest and a half rest, not a half rest on beat 2.
void StaffDrawer::DrawRests(int32_t from, int32_t to, const MeasureFrame& m) {
    if (auto* surface = mLayout.Target()) surface->SetForeColor(mVoiceColor);
    while (from < to) {
        const int32_t gap = to - from;
        const int32_t offset = from - m.Start;
        int32_t rest = 64;
        while (rest > 2 && (rest > gap || IMod(offset, rest) != 0)) rest /= 2;
        std::string_view text = glyph::kThirtySecondRest;
        switch (rest) {
            case 64: text = glyph::kWholeRest; break;
            case 32: text = glyph::kHalfRest; break;
            case 16: text = glyph::kQuarterRest; break;
            case 8: text = glyph::kEighthRest; break;
            case 4: text = glyph::kSixteenthRest; break;
            default: break;
        }
        if (gap == m.Duration) {
            DrawMeasureRest(m);
            return;
        }
        mLayout.DrawText(text, NoteX(from, m), mG);
        from += rest;
    }
}

void StaffDrawer::DrawMeasureRest(const MeasureFrame& m) {
    const std::string_view text = m.Duration == 32 ? glyph::kHalfRest : glyph::kWholeRest;
    const int32_t room = m.Width - m.Pad + 2 * m.Tick;
    const int32_t x = m.Left + m.Pad - 2 * m.Tick + IDiv(room - mLayout.TextWidth(text), 2);
    Glyph(text, x, mG, mVoiceColor);
}

void StaffDrawer::Glyph(std::string_view text, int32_t x, int32_t y, int32_t color) {
    if (auto* surface = mLayout.Target()) surface->SetForeColor(color);
    mLayout.DrawText(text, x, y);
}

int32_t StaffDrawer::HeadY(float position) const {
    return NInt(static_cast<double>(position) * mS + mG);
}

}  // namespace corvendi
