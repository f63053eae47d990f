// Opening the property dialogs for a score: which form a DialogTypes value stands for, where the
// form goes on the screen, the chord-map hand-over of the Score Properties dialog, and the one
// changed notification after the dialog has closed.
#pragma once

#include <cstdint>
#include <optional>

namespace corvendi {

class Dialog;
class Score;

namespace detail {

class ScoreDialogs {
  public:
    explicit ScoreDialogs(Score& score) : mScore(score) {}

    // Opens the form for `dialog` (a DialogTypes value) and returns when it has closed; any
    // other value does nothing.
    void Show(int32_t dialog, std::optional<int32_t> left, std::optional<int32_t> top);

  private:
    // Places, loads (Init) and presents one property form, then raises ChangeNotify once when
    // the form changed a score that was unchanged before.
    template <class Form>
    void ShowForm(Form& form, std::optional<int32_t> left, std::optional<int32_t> top);

    Score& mScore;
};

// Moves the form to (left, top) in screen twips. A missing left centres it across the screen,
// a missing top puts it 42% of the free height down; both snapped to whole pixels.
void PlaceDialog(Dialog& form, std::optional<int32_t> left, std::optional<int32_t> top);

}  // namespace detail
}  // namespace corvendi
