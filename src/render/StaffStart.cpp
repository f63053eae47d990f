// The start of a staff in a system: clef, key signature and (at the score's start or a change of
// time) the time signature.
#include <algorithm>
#include <cstdlib>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "engine/ScoreAccess.h"
#include "render/StaffDrawer.h"

namespace corvendi {

int32_t StaffDrawer::DrawStaffStart() {
    DrawClef(mFrame.MusicLeft + mS);
    int32_t x = mFrame.MusicLeft + mStaffHeight;
    if (!mDrumStaff) x = DrawKeySignature(std::clamp(mFrame.Staff->CurKey(mFrame.Start), -7, 7), x);
    x = DrawTimeSignature(x);
    return x - mFrame.MusicLeft + mS + IDiv(mS, 2);
}

void StaffDrawer::DrawClef(int32_t x) {
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Bars;
    switch (mClef) {
        case clfPercussion:
            if (mPercussionClef)
                Glyph(glyph::kPercussionClef, x, mG, color);
            else
                Glyph(glyph::kTrebleClef, x, mG, color);
            break;
        case clfBass: Glyph(glyph::kBassClef, x, mG, color); break;
        case clfAlto: Glyph(glyph::kCClef, x, mG, color); break;
        case clfTenor: Glyph(glyph::kCClef, x, mG - mS, color); break;
        default: Glyph(glyph::kTrebleClef, x, mG, color); break;
    }
}

// Sign heights above the bottom line follow the clef: flats descend a fourth and rise a fifth,
// sharps rise a fourth and fall a fifth, each kept within the staff.
int32_t StaffDrawer::DrawKeySignature(int32_t key, int32_t x, std::string_view sign) {
    if (key == 0) return x;
    const int32_t s = mS;
    const int32_t half = IDiv(s, 2);
    const int32_t oneAndHalf = NInt(1.5 * s);
    int32_t first = 0;
    const bool flats = key < 0;
    switch (mClef) {
        case clfBass: first = flats ? s : 3 * s; break;
        case clfAlto: first = flats ? oneAndHalf : NInt(3.5 * s); break;
        case clfTenor: first = flats ? NInt(2.5 * s) : NInt(4.5 * s); break;
        default: first = flats ? 2 * s : 4 * s; break;
    }
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Bars;
    int32_t h = first;
    x += s;
    for (int32_t n = 1; n <= std::abs(key); ++n) {
        if (sign.empty()) sign = flats ? glyph::kFlat : glyph::kSharp;
        Glyph(sign, x, mG - h, color);
        x += s;
        if (flats) {
            h = n % 2 == 1 ? h + oneAndHalf : first - IDiv(n, 2) * half;
        } else if (n == 2) {
            h = first + half;
        } else if (n == 5) {
            h = first - half;
        } else {
            h -= oneAndHalf;
        }
    }
    return x;
}

int32_t StaffDrawer::DrawTimeSignature(int32_t x) {
    const auto globals = mScore.AllGlobals();
    if (!globals) return x;
    const bool shown = mFrame.Start == 0 || globals->Find(mFrame.Start, evtTimeChange, true);
    if (!shown) return x;
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Bars;
    const int32_t value = globals->CurTimeVal(mFrame.Start);
    const int32_t at = x + mS;
    if (value == 0) {
        Glyph(glyph::kCommonTime, at, mG, color);
    } else if (value == 1) {
        Glyph(glyph::kCutTime, at, mG, color);
    } else {
        const int32_t numerator = IDiv(value, 128);
        const int32_t beat = IMod(value, 128);
        if (numerator >= 1 && numerator <= 9) {
            const char* denominator = beat == 64 ? "1" : beat == 32 ? "2" : beat == 8 ? "8" : "4";
            const char digit[2] = {static_cast<char>('0' + numerator), '\0'};
            Glyph(denominator, at, mG - mS, color);
            Glyph(digit, at, mG - 3 * mS, color);
        }
    }
    return x + NInt(0.7 * mStaffHeight);
}

}  // namespace corvendi
