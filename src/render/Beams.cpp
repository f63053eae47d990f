// Beam groups: a lone short note gets a flag; two or more get stems to a common beam, cleared
// above (or below) every head of the group, with one beam per level of the shortest values.
#include <algorithm>
#include <cmath>

#include "common/Arith.h"
#include "corvendi/Score.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"
#include "render/StaffDrawer.h"

namespace corvendi {

namespace {

// How far each further beam lies from the previous one, beyond its own lines.
constexpr int32_t kBeamStep = 30;

}  // namespace

void StaffDrawer::AddToGroup(const Column& c, int32_t duration) {
    if (mGroup.Count >= kMaxGroup) CloseGroup();
    const auto i = static_cast<size_t>(mGroup.Count);
    if (mGroup.Count == 0) mGroup.Up = c.Up;
    mGroup.X[i] = c.X;
    mGroup.Duration[i] = duration;
    mGroup.Top[i] = c.Highest;
    mGroup.Bottom[i] = c.Lowest;
    ++mGroup.Count;
}

void StaffDrawer::CloseGroup() {
    if (mGroup.Count == 1) DrawFlag();
    if (mGroup.Count >= 2) DrawBeams();
    mGroup.Count = 0;
    mForced = 0;
}

void StaffDrawer::DrawFlag() {
    const bool up = mGroup.Up;
    Glyph(FlagGlyphFor(mGroup.Duration[0], up), mGroup.X[0], up ? mGroup.Top[0] : mGroup.Bottom[0],
          mVoiceColor);
}

std::string_view StaffDrawer::FlagGlyphFor(int32_t duration, bool up) {
    if (duration == 2) return up ? "r" : "R";
    if (duration == 4) return up ? "k" : "K";
    return up ? "j" : "J";
}

void StaffDrawer::DrawBeams() {
    const int32_t n = mGroup.Count;
    const bool up = mGroup.Up;
    auto X = [&](int32_t i) { return mGroup.X[static_cast<size_t>(i)]; };
    auto D = [&](int32_t i) { return mGroup.Duration[static_cast<size_t>(i)]; };
    // The end of each note's column the stem leaves from: the top for up stems.
    auto& end = up ? mGroup.Top : mGroup.Bottom;
    auto E = [&](int32_t i) -> int32_t& { return end[static_cast<size_t>(i)]; };

    const int32_t dx = X(n - 1) - X(0);
    if (dx <= 0) return;
    int32_t y0 = E(0);
    int32_t y1 = E(n - 1);
    const int32_t dy = y1 - y0;
    auto lineAt = [&](int32_t x) { return NInt(static_cast<double>(x - X(0)) / dx * dy + y0); };

    // Move the whole beam away from the heads until no inner note reaches past it.
    for (int32_t i = 1, guard = 0; i <= n - 2 && guard < 64 * kMaxGroup; ++i, ++guard) {
        const int32_t line = lineAt(X(i));
        const int32_t diff = E(i) - line;
        if ((up && diff < 0) || (!up && diff > 0)) {
            y0 += diff;
            y1 += diff;
            i = 0;
        }
    }

    bool uniform = true;
    for (int32_t i = 1; i < n; ++i) uniform = uniform && D(i) == D(0);

    // Stems from each beam end back to the heads.
    const int32_t step = 3 * mS;
    for (int32_t i = 0; i < n; ++i) {
        const int32_t e = i == 0 || dy == 0 ? y0 : i == n - 1 ? y1 : lineAt(X(i));
        const int32_t other =
            up ? mGroup.Bottom[static_cast<size_t>(i)] : mGroup.Top[static_cast<size_t>(i)];
        E(i) = e;
        if (step <= 0) continue;
        if (up) {
            for (int32_t y = e; y <= other; y += step) Glyph(glyph::kStemUp, X(i), y, mVoiceColor);
        } else {
            Glyph(glyph::kStemDown, X(i), e, mVoiceColor);
            for (int32_t y = e - step; y >= other; y -= step)
                Glyph(glyph::kStemDown, X(i), y, mVoiceColor);
        }
    }

    // Up stems stand at the right edge of the heads: the beams run from stem to stem.
    const int32_t px = std::max(1, NInt(detail::ScoreAccess::TwipsPerPixelYf(mScore)));
    const int32_t stemWidth = NInt(1.5 * detail::ScoreAccess::TwipsPerPixelXf(mScore));
    const int32_t stemX = up ? mS : 0;
    const int32_t firstX = up ? SnapX(X(0) + mS - stemWidth) : X(0);
    const int32_t lastX = up ? X(n - 1) + mS : X(n - 1);
    const int32_t towardHeads = up ? 1 : -1;
    int32_t o = up ? 2 * mS : NInt(9.1 * mS);
    const int32_t lines = detail::ScoreAccess::BeamLines(mScore) + 1;
    auto beam = [&](int32_t xa, int32_t ya, int32_t xb, int32_t yb, int32_t offset) {
        for (int32_t k = 0; k < lines; ++k) {
            mLayout.DrawLine(mVoiceColor, xa, ya + offset + k * px * towardHeads, xb,
                             yb + offset + k * px * towardHeads);
        }
    };
    auto slopeY = [&](int32_t from, int32_t x, int32_t at) {
        return at + NInt(static_cast<double>(x - from) * dy / dx);
    };

    int32_t level = 3;
    while (level > 0) {
        if (level == 3 || uniform) {
            beam(firstX, y0, lastX, y1, o);
            o += lines * px * towardHeads;
        }
        if (uniform) {
            if (D(0) == 8)
                level = 0;
            else if (D(0) == 4)
                level = level == 3 ? 2 : 0;
            else
                level -= 1;
            y0 += kBeamStep * towardHeads;
            y1 += kBeamStep * towardHeads;
            continue;
        }
        if (level == 3) {
            o += kBeamStep * towardHeads;
            level = 2;
            continue;
        }
        const int32_t threshold = level == 2 ? 8 : 4;
        for (int32_t i = 0; i < n; ++i) {
            if (D(i) >= threshold) continue;
            const int32_t xi = X(i) + stemX;
            const int32_t yi = E(i);
            if (i == n - 1) {
                beam(xi - mS, slopeY(xi, xi - mS, yi), xi, yi, o);
            } else if (D(i + 1) < threshold) {
                beam(xi, yi, X(i + 1) + stemX, E(i + 1), o);
                if (i + 1 == n - 1 || D(i + 2) >= threshold) ++i;
            } else {
                beam(xi, yi, xi + mS, slopeY(xi, xi + mS, yi), o);
            }
        }
        o += detail::ScoreAccess::BeamGap(mScore) * towardHeads;
        level -= 1;
    }
}

}  // namespace corvendi
