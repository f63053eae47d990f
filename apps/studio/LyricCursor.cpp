#include "LyricCursor.h"

namespace corvendi::studio {

std::optional<LyricSpot>& LyricCursor::Keep(std::optional<LyricSpot> spot) {
    mSpot = std::move(spot);
    return mSpot;
}

std::optional<LyricSpot> LyricCursor::Start() {
    LyricSpot spot;
    if (!mScore.FirstActiveXY(spot.Time, spot.X, spot.Y, spot.Text)) return Keep(std::nullopt);
    return Keep(spot);
}

void LyricCursor::Store(const std::string& text) {
    if (!mSpot || text == mSpot->Text) return;
    if (mScore.AddLyric(mSpot->Time, text)) mSpot->Text = text;
}

std::optional<LyricSpot> LyricCursor::Next() { return Move(true); }
std::optional<LyricSpot> LyricCursor::Previous() { return Move(false); }

std::optional<LyricSpot> LyricCursor::Move(bool forward) {
    LyricSpot spot;
    const bool moved = forward ? mScore.NextActiveXY(spot.Time, spot.X, spot.Y, spot.Text)
                               : mScore.PrevActiveXY(spot.Time, spot.X, spot.Y, spot.Text);
    if (moved) return Keep(spot);
    const int32_t page = mScore.CurPage();
    const int32_t turnTo = forward ? page + 1 : page - 1;
    if (turnTo < 1 || (forward && !mScore.Paginating() && turnTo > mScore.LastPage())) return mSpot;
    mScore.SetCurPage(turnTo);
    if (mScore.CurPage() == page || !mScore.FirstActiveXY(spot.Time, spot.X, spot.Y, spot.Text)) {
        mScore.SetCurPage(page);
        return mSpot;
    }
    // Going back lands on the last note of the page before.
    if (!forward) {
        LyricSpot later;
        while (mScore.NextActiveXY(later.Time, later.X, later.Y, later.Text)) spot = later;
    }
    return Keep(spot);
}

}  // namespace corvendi::studio
