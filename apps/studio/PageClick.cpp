#include "PageClick.h"

namespace corvendi::studio {

PageClick ClickOnPage(Score& score, PagePoint point, const MarkChoice& mark,
                      const EntryChoice& entry) {
    if (PlaceMark(score, point, mark)) return PageClick::Mark;
    if (entry.Selecting) {
        score.SetActiveByHit(point.X, point.Y);
        return PageClick::Activate;
    }
    score.AddNoteByHit(point.X, point.Y, entry.Duration, entry.Flags, entry.Snap);
    return PageClick::Note;
}

}  // namespace corvendi::studio
