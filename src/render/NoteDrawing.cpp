// Notes and chords: heads with their accidentals and dots, stem direction, seconds, articulations,
// one ornament, ledger lines, the column stroke, grace notes and triplet marks.
#include <algorithm>
#include <vector>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/Font.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Note.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"
#include "render/DrumNotation.h"
#include "render/LayoutGeometry.h"
#include "render/StaffDrawer.h"

namespace corvendi {

namespace {

constexpr int32_t kLedgerOverhang = 60;
constexpr int32_t kAccidentalGap = 15;
// Grace notes are drawn at this fraction of the music font's size.
constexpr double kGraceScale = 0.6;
// The music font's baseline lies this many ems below the top of a character's cell.
constexpr double kMusicAscent = 1.39;

bool IsGrace(int32_t flags) { return (flags & nteGrace) == nteGrace; }

int16_t ToInt16(int32_t v) {
    return static_cast<int16_t>(std::clamp<int32_t>(v, INT16_MIN, INT16_MAX));
}

}  // namespace

float StaffDrawer::PositionOf(int32_t value, int32_t clef, int32_t key,
                              MeasureAccidentals* accidentals, std::string_view* sign) const {
    if (!mPercussionClef) return PageLayout::StaffPosition(value, clef, key, accidentals, sign);
    if (sign) *sign = {};
    return DrumNotationOf(value).Position;
}

std::string_view StaffDrawer::HeadOf(int32_t value, int32_t duration) const {
    const bool cross = mPercussionClef ? DrumNotationOf(value).Cross : mDrumVoice || mDrumStaff;
    if (cross) return glyph::kPercussionHead;
    if (duration >= 64) return glyph::kWholeHead;
    if (duration >= 32) return glyph::kHalfHead;
    return glyph::kBlackHead;
}

bool StaffDrawer::StemDirection(const Note& note, int32_t highestY) {
    if (mPercussionClef) return true;
    const int32_t flags = note.Flags();
    if ((flags & nteForceUp) != 0) return true;
    if ((flags & nteForceDown) != 0) return false;
    if (mMultiVoice) {
        if (mForced == 0) {
            int32_t pulse = 16;
            if (const auto globals = mScore.AllGlobals())
                pulse = std::max(1, globals->PulseValue());
            mForced =
                mFrame.Staff->ForceFlag(note.NoteTime(), note.NoteTime() + pulse, mVoiceNumber);
        }
        if (mForced == stmForceUp) return true;
        if (mForced == stmForceDown) return false;
    }
    return highestY > mG - 2 * mS;
}

void StaffDrawer::DrawNote(Note& note, const MeasureFrame& m) {
    if (IsGrace(note.Flags())) {
        DrawGraceNote(note, m);
        return;
    }
    const int32_t duration = note.Duration();
    const bool beamed = duration < 16;
    if (!beamed || mGroup.Count >= kMaxGroup) CloseGroup();

    const int32_t x = NoteX(note.NoteTime(), m);
    const int32_t clef = mDrumVoice ? clfBass : mClef;
    int32_t highestY = 0;
    for (int32_t i = note.ValueCount() - 1; i >= 0; --i) {
        if (!PartHolds(note.Value(i))) continue;
        highestY = HeadY(PositionOf(note.Value(i), clef, m.Key, nullptr, nullptr));
        break;
    }
    bool up = false;
    if (beamed && mGroup.Count > 0) {
        up = mGroup.Up;
    } else if ((note.Flags() & nteTriplet) != 0 && mTriplet.Count > 0) {
        up = mTriplet.Up;
    } else {
        up = StemDirection(note, highestY);
    }
    if ((note.Flags() & nteTriplet) != 0 && mTriplet.Count > 0) up = mTriplet.Up;

    const Column c = DrawHeads(note, x, up, m);
    DrawArticulation(note, c);
    if (duration < 64) DrawOrnament(note, c);
    if (auto* surface = mLayout.Target()) surface->SetForeColor(mVoiceColor);
    DrawLedgerLines(c);
    note.SetX(ToInt16(x));
    note.SetUp(up);
    note.SetY(ToInt16(up ? c.Lowest : c.Highest));
    if (duration < 64) DrawColumnStroke(c);
    if (beamed) AddToGroup(c, duration);
    CountTriplet(note, c);
}

StaffDrawer::Column StaffDrawer::DrawHeads(const Note& note, int32_t x, bool up,
                                           const MeasureFrame& m) {
    const bool drum = mDrumVoice || mDrumStaff;  // no accidentals
    const int32_t clef = mDrumVoice ? clfBass : mClef;
    std::string dots;
    if ((note.Flags() & nteDot) != 0) dots += glyph::kDot;
    if ((note.Flags() & nteDouble) != 0)
        dots += std::string(glyph::kDot) + std::string(glyph::kDot);

    Column c;
    c.X = x;
    c.Up = up;
    c.Highest = INT32_MAX;
    c.Lowest = INT32_MIN;
    // From the lowest head up: a head a second above an undisplaced one moves to the other side
    // of the stem, so the lower note of a second stays left of an up stem and the upper one
    // right of a down stem. The step is compared on the staff, not in rounded twips: a third
    // lies one line spacing away and keeps its column.
    bool previousDisplaced = true;
    float previousPosition = 0.0f;
    for (int32_t i = 0; i < note.ValueCount(); ++i) {
        if (!PartHolds(note.Value(i))) continue;
        std::string_view sign;
        const float position =
            PositionOf(note.Value(i), clef, m.Key, drum ? nullptr : &mAccidentals, &sign);
        const int32_t y = HeadY(position);
        const bool displaced = !previousDisplaced && std::abs(previousPosition - position) <= 0.5f;
        const int32_t headX = displaced ? (up ? x + mS : x - mS) : x;
        previousDisplaced = displaced;
        previousPosition = position;
        if (!sign.empty() && !drum) {
            Glyph(sign, x - mLayout.TextWidth(sign) - kAccidentalGap - (headX < x ? mS : 0), y,
                  mVoiceColor);
        }
        Glyph(std::string(HeadOf(note.Value(i), note.Duration())) + dots, headX, y, mVoiceColor);
        c.Highest = std::min(c.Highest, y);
        c.Lowest = std::max(c.Lowest, y);
    }
    return c;
}

void StaffDrawer::DrawArticulation(const Note& note, const Column& c) {
    const int32_t flags = note.Flags();
    std::string_view mark;
    int32_t shift = 0;
    if ((flags & nteStacato) != 0 && !IsGrace(flags)) {
        mark = ".";
        shift = IDiv(mS, 2);
    } else if ((flags & nteAccent) != 0) {
        mark = "-";
    } else if ((flags & nteAccent2) != 0) {
        mark = ">";
    }
    if (mark.empty()) return;
    const int32_t y = c.Up ? c.Lowest + (mark == ">" ? 2 * mS : mS) : c.Highest - mS;
    Glyph(mark, c.X + shift, y, mVoiceColor);
}

void StaffDrawer::DrawOrnament(const Note& note, const Column& c) {
    const int32_t flags = note.Flags();
    std::string_view mark;
    bool shifted = false;
    if ((flags & nteBowDown) != 0) {
        mark = "\xC2\xB3";  // ³
    } else if ((flags & nteBowUp) != 0) {
        mark = "v";
    } else if ((flags & nteHalfMordent) != 0) {
        mark = "M", shifted = true;
    } else if ((flags & nteMordent) != 0) {
        mark = "m", shifted = true;
    } else if ((flags & nteTrill) != 0) {
        mark = "`";
    } else if ((flags & nteTurn) != 0) {
        mark = "T", shifted = true;
    } else if ((flags & nteFermata) != 0) {
        mark = c.Up ? "u" : "U", shifted = true;
    }
    if (mark.empty()) return;
    const int32_t x = shifted ? c.X - IDiv(mS, 2) : c.X;
    int32_t y = 0;
    if (mark == "u") {
        y = std::max(c.Lowest + mS, mG + mS);
    } else {
        y = std::min(c.Highest - (c.Up ? 3 * mS : mS), mG - 4 * mS);
    }
    Glyph(mark, x, y, detail::ScoreAccess::DrawColors(mScore).Bars);
}

void StaffDrawer::DrawLedgerLines(const Column& c) {
    if (c.Highest > c.Lowest) return;
    const int32_t x1 = c.X - kLedgerOverhang;
    const int32_t x2 = c.X + mS + kLedgerOverhang;
    const int32_t bottom = mFrame.BottomLine;
    // Whole lines from the bottom line up to the highest head and down to the lowest one.
    const int32_t above = mS > 0 ? FloorDiv(mG - c.Highest, mS) : 0;
    for (int32_t k = 5; k <= std::min(above, 40); ++k) {
        mLayout.DrawLine(mVoiceColor, x1, bottom - k * mS, x2, bottom - k * mS);
    }
    const int32_t below = mS > 0 ? FloorDiv(c.Lowest - mG, mS) : 0;
    for (int32_t k = 1; k <= std::min(below, 40); ++k) {
        mLayout.DrawLine(mVoiceColor, x1, bottom + k * mS, x2, bottom + k * mS);
    }
}

// The stroke glyph reaches 3.5 line spacings from where it is drawn, so it is repeated every
// three along a chord, starting at the head the stem leaves from.
void StaffDrawer::DrawColumnStroke(const Column& c) {
    if (c.Highest > c.Lowest || mS <= 0) return;
    const int32_t step = 3 * mS;
    if (c.Up) {
        for (int32_t y = c.Lowest; y > c.Highest; y -= step)
            Glyph(glyph::kStemUp, c.X, y, mVoiceColor);
        Glyph(glyph::kStemUp, c.X, c.Highest, mVoiceColor);
    } else {
        for (int32_t y = c.Highest; y < c.Lowest; y += step)
            Glyph(glyph::kStemDown, c.X, y, mVoiceColor);
        Glyph(glyph::kStemDown, c.X, c.Lowest, mVoiceColor);
    }
}

// A grace note: small heads, an up stem with its flag and a slash through the stem. It takes no
// part in beams and leaves the spacing alone.
void StaffDrawer::DrawGraceNote(Note& note, const MeasureFrame& m) {
    auto* surface = mLayout.Target();
    const int32_t x = NoteX(note.NoteTime(), m);
    const int32_t clef = mDrumVoice ? clfBass : mClef;
    Column c;
    c.X = x;
    c.Up = true;
    c.Highest = INT32_MAX;
    c.Lowest = INT32_MIN;
    std::vector<std::pair<int32_t, std::string_view>> heads;
    for (int32_t i = 0; i < note.ValueCount(); ++i) {
        if (!PartHolds(note.Value(i))) continue;
        std::string_view sign;
        const int32_t y = HeadY(
            PositionOf(note.Value(i), clef, m.Key, mDrumVoice ? nullptr : &mAccidentals, &sign));
        if (!sign.empty() && !mDrumVoice) {
            Glyph(sign, x - mLayout.TextWidth(sign) - kAccidentalGap, y, mVoiceColor);
        }
        heads.push_back({y, HeadOf(note.Value(i), durQuarter)});
        c.Highest = std::min(c.Highest, y);
        c.Lowest = std::max(c.Lowest, y);
    }
    if (heads.empty() || !surface) return;
    DrawLedgerLines(c);

    const FontSpec normal = surface->Font();
    FontSpec small = normal;
    small.Size = static_cast<float>(normal.Size * kGraceScale);
    surface->SetFont(small);
    // Keeps the small glyph's baseline where the full-size one would have it.
    const int32_t drop = NInt(kMusicAscent * (1.0 - kGraceScale) * normal.Size * 20.0);
    for (const auto& [y, head] : heads) Glyph(head, x, y + drop, mVoiceColor);
    for (int32_t y = c.Lowest; y > c.Highest; y -= 2 * mS)
        Glyph(glyph::kStemUp, x, y + drop, mVoiceColor);
    Glyph(glyph::kStemUp, x, c.Highest + drop, mVoiceColor);
    if (note.Duration() < 16)
        Glyph(FlagGlyphFor(note.Duration(), true), x, c.Highest + drop, mVoiceColor);
    surface->SetFont(normal);

    // The slash crosses the stem from lower left to upper right.
    const int32_t headY = c.Highest + (mFrame.BottomLine - mG);
    const int32_t px = std::max(1, NInt(detail::ScoreAccess::TwipsPerPixelYf(mScore)));
    for (int32_t k = 0; k < 2; ++k) {
        mLayout.DrawLine(mVoiceColor, x + NInt(0.05 * mS), headY - NInt(0.7 * mS) + k * px,
                         x + NInt(1.05 * mS), headY - NInt(1.8 * mS) + k * px);
    }
    note.SetX(ToInt16(x));
    note.SetUp(true);
    note.SetY(ToInt16(c.Lowest));
}

void StaffDrawer::CountTriplet(const Note& note, const Column& c) {
    if ((note.Flags() & nteTriplet) == 0) {
        mTriplet.Count = 0;
        return;
    }
    if (c.Highest > c.Lowest) return;
    const int32_t drop = mFrame.BottomLine - mG;  // cell y to the head's page y
    const bool stem = note.Duration() < 64;
    const int32_t top = c.Highest + drop - (stem && c.Up ? NInt(3.5 * mS) : IDiv(mS, 2));
    const int32_t bottom = c.Lowest + drop + (stem && !c.Up ? NInt(3.5 * mS) : IDiv(mS, 2));
    if (mTriplet.Count == 0) {
        mTriplet.Up = c.Up;
        mTriplet.FirstX = c.X;
        mTriplet.Top = top;
        mTriplet.Bottom = bottom;
        mTriplet.Bracket = false;
    }
    mTriplet.Top = std::min(mTriplet.Top, top);
    mTriplet.Bottom = std::max(mTriplet.Bottom, bottom);
    // Beamed triplets show their numeral alone; others get a bracket.
    mTriplet.Bracket = mTriplet.Bracket || note.Duration() >= 16;
    if (++mTriplet.Count < 3) return;
    mTriplet.Count = 0;

    auto* surface = mLayout.Target();
    if (!surface) return;
    const int32_t fontIndex = mLayout.FontIndex();
    mLayout.SelectFont(fntCopyright);
    FontSpec font = surface->Font();
    font.Size = 8.0f;
    font.Bold = true;
    font.Italic = true;
    surface->SetFont(font);
    const int32_t width = mLayout.TextWidth("3");
    const int32_t height = mLayout.TextHeight("3");
    const int32_t left = mTriplet.FirstX;
    const int32_t right = c.X + mS;
    const int32_t centre = left + IDiv(right - left, 2);
    const int32_t markY = mTriplet.Up ? mTriplet.Top - mS : mTriplet.Bottom + mS;
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Notes;
    Glyph("3", centre - IDiv(width, 2), markY - IDiv(height, 2), color);
    mLayout.SelectFont(fontIndex);
    if (!mTriplet.Bracket) return;
    const int32_t leg = mTriplet.Up ? IDiv(mS, 2) : -IDiv(mS, 2);
    const int32_t gapLeft = centre - IDiv(width, 2) - 30;
    const int32_t gapRight = centre + IDiv(width, 2) + 30;
    mLayout.DrawLine(color, left, markY + leg, left, markY);
    mLayout.DrawLine(color, left, markY, gapLeft, markY);
    mLayout.DrawLine(color, gapRight, markY, right, markY);
    mLayout.DrawLine(color, right, markY, right, markY + leg);
    if (surface) surface->SetForeColor(mVoiceColor);
}

}  // namespace corvendi
