// The Score menu: the three property dialogs, inserting and deleting staffs, and the braces of
// the staff under the pointer. Every item is one engine call; the engine asks its own questions
// (how many, where, which instrument) through the platform's dialog presenter.
#pragma once

#include <corvendi/Score.h>
#include <gtkmm.h>

#include <functional>
#include <memory>

#include "ViewGeometry.h"

namespace corvendi::studio {

class ScoreMenu {
  public:
    // `score` names the window's score, `shown` runs after each call so the window shows what
    // changed.
    ScoreMenu(std::function<std::shared_ptr<Score>()> score, std::function<void()> shown);

    // Adds the menu's actions ("win.score-properties", ...) to the window.
    void AddActions(Gio::ActionMap& window);
    // The menu itself, for the menu bar.
    Glib::RefPtr<Gio::Menu> Menu() const;
    // The brace items of the staff under `point`, for the page's context menu.
    Glib::RefPtr<Gio::Menu> BraceSection(PagePoint point);

  private:
    void Run(const std::function<void(Score&)>& call);

    std::function<std::shared_ptr<Score>()> mScore;
    std::function<void()> mShown;
    PagePoint mBracePoint;
};

}  // namespace corvendi::studio
