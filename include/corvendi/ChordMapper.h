// The chord mapper: names, measures and draws chord symbols and guitar chord diagrams.
//
// A score creates one with CreateChordMapper(), points it at its data folder and loads it. The
// score and its editing, layout and drawing use it in this order:
//   1. SetDataFolder + Load when the score is created (a failure is not reported);
//   2. ChordCount / ChordName / ChordCode to list the chords (the code is what a chord event
//      stores in Value1);
//   3. NameRowHeight / DiagramRowHeight: the height reserved above every system for chord names
//      or for chord diagrams;
//   4. Draw, once per chord event;
//   5. ChordMapEditor::Init hands the score's chord map to an editor and takes back the map the
//      score keeps.
// This base class is the empty chord mapper: it holds no chords, reserves no room and draws
// nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "corvendi/Export.h"

namespace corvendi {

class Surface;
class GlobalEvents;

class CORVENDI_API ChordMapper {
  public:
    virtual ~ChordMapper() = default;

    // --- loading ----------------------------------------------------------------------------
    // The folder the chord data is read from (the application folder's Common/Config).
    void SetDataFolder(std::filesystem::path folder) { mDataFolder = std::move(folder); }
    const std::filesystem::path& DataFolder() const { return mDataFolder; }
    // Reads the chord data from the data folder; false when it could not be read.
    virtual bool Load() { return false; }

    // --- listing (index 0-based; out-of-range indexes give "" and 0) --------------------------
    virtual int32_t ChordCount() const { return 0; }
    virtual std::string ChordName(int32_t index) const {
        (void)index;
        return {};
    }
    virtual int32_t ChordCode(int32_t index) const {
        (void)index;
        return 0;
    }

    // --- row heights in twips ---------------------------------------------------------------
    virtual int32_t NameRowHeight() const { return 0; }
    virtual int32_t DiagramRowHeight() const { return 0; }
    int32_t RowHeight(bool diagrams) const {
        return diagrams ? DiagramRowHeight() : NameRowHeight();
    }

    // --- drawing ----------------------------------------------------------------------------
    // Draws the chord `code` (a chord event's Value1) at (x, y) twips: x is its left edge and y
    // its bottom, so it rises into the chord row reserved above the system. A diagram when
    // `diagrams` is true, else its name. `globals` are the score's events (the
    // key in force at the chord's time chooses the spelling), `text` is the event's text and
    // `capoFret` the capo's fret (0 without a capo): the chord is shown transposed down by it.
    // `atTime` is the chord event's time (the key in force there spells the chord).
    virtual void Draw(Surface& surface, int32_t x, int32_t y, int32_t code,
                      const std::shared_ptr<GlobalEvents>& globals, bool diagrams, int32_t color,
                      std::string_view text, int32_t capoFret, int32_t atTime) {
        (void)surface, (void)x, (void)y, (void)code, (void)globals, (void)diagrams, (void)color,
            (void)text, (void)capoFret, (void)atTime;
    }

  private:
    std::filesystem::path mDataFolder;
};

// The editor of a chord map (used by the Score Properties dialog).
class CORVENDI_API ChordMapEditor {
  public:
    virtual ~ChordMapEditor() = default;
    // Takes the score's chord map to edit; the map returned becomes the score's chord map.
    // This default edits nothing and hands the same map back.
    virtual std::shared_ptr<ChordMapper> Init(std::shared_ptr<ChordMapper> map) { return map; }
};

// The chord mapper a new score uses.
CORVENDI_API std::shared_ptr<ChordMapper> CreateChordMapper();

}  // namespace corvendi
