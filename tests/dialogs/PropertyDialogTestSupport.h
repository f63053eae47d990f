// Presenting a property dialog on the test score and reading its controls back.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/MeasureTestSupport.h"

namespace corvendi::test {

class PropertyDialogTest : public MeasureTest {
  protected:
    // Presents a fresh `Form` loaded from the score, answered by `answer`; every answer must
    // go through. The dialog is returned for inspection.
    template <class Form>
    std::unique_ptr<Form> PresentNew(const std::string& answer) {
        Answer(answer);
        auto dialog = std::make_unique<Form>();
        dialog->Init(*score);
        CurrentPlatform().PresentDialog(*dialog);
        EXPECT_EQ(presenter->Problems(), std::vector<std::string>{});
        return dialog;
    }

    static std::string Text(const Dialog& dialog, std::string_view control) {
        return dialog.Find(control)->Text;
    }
    static bool Checked(const Dialog& dialog, std::string_view control) {
        return dialog.Find(control)->Value;
    }
};

}  // namespace corvendi::test
