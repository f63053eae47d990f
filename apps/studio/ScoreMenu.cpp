#include "ScoreMenu.h"

#include <corvendi/Enums.h>

namespace corvendi::studio {

namespace {

struct BraceChoice {
    const char* Label;
    int16_t Staffs;
};

constexpr BraceChoice kBraces[] = {
    {"Brace over _Two Staffs", 2},
    {"Brace over T_hree Staffs", 3},
    {"_No Brace", 0},
    {"Staff _Group Brackets On or Off", -1},
};

}  // namespace

ScoreMenu::ScoreMenu(std::function<std::shared_ptr<Score>()> score, std::function<void()> shown)
    : mScore(std::move(score)), mShown(std::move(shown)) {}

void ScoreMenu::Run(const std::function<void(Score&)>& call) {
    const std::shared_ptr<Score> score = mScore();
    if (!score) return;
    call(*score);
    mShown();
}

void ScoreMenu::AddActions(Gio::ActionMap& window) {
    window.add_action("score-properties",
                      [this] { Run([](Score& s) { s.ShowDialog(dlgScoreProperties); }); });
    window.add_action("staff-properties",
                      [this] { Run([](Score& s) { s.ShowDialog(dlgStaffProperties); }); });
    window.add_action("measure-properties",
                      [this] { Run([](Score& s) { s.ShowDialog(dlgMeasureProperties); }); });
    window.add_action("insert-staffs",
                      [this] { Run([](Score& s) { s.AddStaff(std::nullopt, true); }); });
    window.add_action("delete-staffs",
                      [this] { Run([](Score& s) { s.DelStaff(std::nullopt, true); }); });
    window.add_action_with_parameter(
        "brace", Glib::VARIANT_TYPE_INT32, [this](const Glib::VariantBase& value) {
            const auto staffs = static_cast<int16_t>(
                Glib::VariantBase::cast_dynamic<Glib::Variant<int32_t>>(value).get());
            const PagePoint at = mBracePoint;
            Run([&](Score& s) { s.SetBraceByHit(at.X, at.Y, staffs); });
        });
}

Glib::RefPtr<Gio::Menu> ScoreMenu::Menu() const {
    auto menu = Gio::Menu::create();
    auto properties = Gio::Menu::create();
    properties->append("_Score Properties…", "win.score-properties");
    properties->append("S_taff Properties…", "win.staff-properties");
    properties->append("_Measure Properties…", "win.measure-properties");
    menu->append_section(properties);
    auto staffs = Gio::Menu::create();
    staffs->append("_Insert Staffs…", "win.insert-staffs");
    staffs->append("_Delete Staffs…", "win.delete-staffs");
    menu->append_section(staffs);
    auto words = Gio::Menu::create();
    words->append("Choose a _Mark to Place", "win.marks");
    words->append("Type _Lyrics", "win.lyrics");
    menu->append_section(words);
    return menu;
}

Glib::RefPtr<Gio::Menu> ScoreMenu::BraceSection(PagePoint point) {
    mBracePoint = point;
    auto section = Gio::Menu::create();
    for (const BraceChoice& brace : kBraces) {
        auto item = Gio::MenuItem::create(brace.Label, "");
        item->set_action_and_target("win.brace", Glib::Variant<int32_t>::create(brace.Staffs));
        section->append_item(item);
    }
    return section;
}

}  // namespace corvendi::studio
