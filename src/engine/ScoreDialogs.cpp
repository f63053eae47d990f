#include "engine/ScoreDialogs.h"

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/Platform.h"
#include "corvendi/Score.h"
#include "corvendi/dialogs/MeasurePropertiesDialog.h"
#include "corvendi/dialogs/ScorePropertiesDialog.h"
#include "corvendi/dialogs/StaffPropertiesDialog.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"

namespace corvendi {

namespace {

// How far down the free height of the screen a form opens: a little above the middle.
constexpr double kTopShare = 0.42;
constexpr double kLeftShare = 0.5;

// ChangeNotify stays silent while a form writes to the score.
class MutedChangeNotify {
  public:
    explicit MutedChangeNotify(Score& score)
        : mState(detail::ScoreAccess::State(score)), mWasMuted(mState.ChangeNotifyMuted) {
        mState.ChangeNotifyMuted = true;
    }
    ~MutedChangeNotify() { mState.ChangeNotifyMuted = mWasMuted; }
    MutedChangeNotify(const MutedChangeNotify&) = delete;
    MutedChangeNotify& operator=(const MutedChangeNotify&) = delete;

  private:
    detail::ScoreState& mState;
    bool mWasMuted;
};

}  // namespace

void Score::ShowDialog(int32_t Dialog, std::optional<int32_t> Left, std::optional<int32_t> Top) {
    detail::ScoreDialogs(*this).Show(Dialog, Left, Top);
}

namespace detail {

void PlaceDialog(Dialog& form, std::optional<int32_t> left, std::optional<int32_t> top) {
    const Platform& platform = CurrentPlatform();
    if (!top) {
        const double free = static_cast<double>(platform.ScreenHeightTw()) - form.Height();
        top = SnapY(NInt(free * kTopShare));
    }
    if (!left) {
        const double free = static_cast<double>(platform.ScreenWidthTw()) - form.Width();
        left = SnapX(NInt(free * kLeftShare));
    }
    form.Move(*left, *top);
}

// Further forms are one case each: construct the form, then ShowForm(form, left, top).
void ScoreDialogs::Show(int32_t dialog, std::optional<int32_t> left, std::optional<int32_t> top) {
    switch (dialog) {
        case dlgScoreProperties: {
            ScorePropertiesDialog form;
            // The chord-map editor on the form works on the score's map and hands back the map
            // the score keeps.
            mScore.SetChordMapper(form.ChordEditor().Init(mScore.ChordMapper()));
            ShowForm(form, left, top);
            return;
        }
        case dlgStaffProperties: {
            StaffPropertiesDialog form;
            ShowForm(form, left, top);
            return;
        }
        case dlgMeasureProperties: {
            MeasurePropertiesDialog form;
            ShowForm(form, left, top);
            return;
        }
        default: return;
    }
}

template <class Form>
void ScoreDialogs::ShowForm(Form& form, std::optional<int32_t> left, std::optional<int32_t> top) {
    PlaceDialog(form, left, top);
    const bool changedBefore = mScore.Changed();
    {
        MutedChangeNotify muted(mScore);
        form.Init(mScore);
        CurrentPlatform().PresentDialog(form);
        if (changedBefore || !mScore.Changed()) return;
        mScore.SetChanged(false);
    }
    mScore.SetChanged(true);
}

}  // namespace detail
}  // namespace corvendi
