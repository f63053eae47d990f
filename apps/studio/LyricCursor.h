// Typing lyrics note by note: where the next syllable goes, storing it, and moving on across page
// turns. The engine's lyric cursor stays on one page; this cursor turns the page itself when it
// runs past the last note of a page, and back when it runs before the first.
#pragma once

#include <corvendi/Score.h>

#include <cstdint>
#include <optional>
#include <string>

namespace corvendi::studio {

struct LyricSpot {
    int32_t Time = 0;
    int32_t X = 0;  // page twips, under the note
    int32_t Y = 0;
    std::string Text;  // the syllable already stored in the active verse
};

class LyricCursor {
  public:
    explicit LyricCursor(Score& score) : mScore(score) {}

    // The first note of the selected staff on the current page.
    std::optional<LyricSpot> Start();
    // Stores `text` as the syllable of the note at the cursor (a trailing "-" draws a hyphen).
    void Store(const std::string& text);
    // The next note; past a page's last note, the first note of the next page.
    std::optional<LyricSpot> Next();
    // The previous note; before a page's first note, the last note of the page before.
    std::optional<LyricSpot> Previous();
    const std::optional<LyricSpot>& Spot() const { return mSpot; }

  private:
    std::optional<LyricSpot> Move(bool forward);
    std::optional<LyricSpot>& Keep(std::optional<LyricSpot> spot);

    Score& mScore;
    std::optional<LyricSpot> mSpot;
};

}  // namespace corvendi::studio
