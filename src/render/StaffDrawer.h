// The drawing of one staff (or one part of a grand staff) in one system: the clef, key and time
// signature at the system start, then measure by measure the rests and the notes of every
// voice with their accidentals, stems, flags, beams, articulations, ornaments and triplets.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "render/PageLayout.h"
#include "render/StaffPosition.h"

namespace corvendi {

class Note;
class Region;
class Voice;

// Barline bits of the measure flags.
inline constexpr int32_t kBeginRepeatFlag = 1;
inline constexpr int32_t kEndRepeatFlag = 2;
inline constexpr int32_t kDoubleBarFlag = 4;
inline constexpr int32_t kFinalBarFlag = 8;

// Music-font characters (UTF-8 of their Windows-1252 codes).
namespace glyph {
inline constexpr std::string_view kTrebleClef = "&";
inline constexpr std::string_view kBassClef = "?";
inline constexpr std::string_view kCClef = "B";
inline constexpr std::string_view kPercussionClef = "\xC3\x96";  // Ö
inline constexpr std::string_view kFlat = "b";
inline constexpr std::string_view kSharp = "#";
inline constexpr std::string_view kNatural = "n";
inline constexpr std::string_view kCommonTime = "c";
inline constexpr std::string_view kCutTime = "C";
inline constexpr std::string_view kWholeHead = "w";
inline constexpr std::string_view kHalfHead = "\xC3\xBA";        // ú
inline constexpr std::string_view kBlackHead = "\xC3\x8F";       // Ï
inline constexpr std::string_view kPercussionHead = "\xC3\x80";  // À
inline constexpr std::string_view kDot = " .";
inline constexpr std::string_view kStemUp = "\\";
inline constexpr std::string_view kStemDown = "|";
inline constexpr std::string_view kWholeRest = "\xC2\xB7";         // ·
inline constexpr std::string_view kHalfRest = "\xC3\xAE";          // î
inline constexpr std::string_view kQuarterRest = "\xC3\x8E";       // Î
inline constexpr std::string_view kEighthRest = "\xC3\xA4";        // ä
inline constexpr std::string_view kSixteenthRest = "\xC3\x85";     // Å
inline constexpr std::string_view kThirtySecondRest = "\xC2\xA8";  // ¨
inline constexpr std::string_view kBeginRepeat = "\xC3\x92{";      // Ò{
inline constexpr std::string_view kBeginRepeatJoin = "\xC3\x92";   // Ò
inline constexpr std::string_view kEndRepeat = "{\xC3\x93";        // {Ó
inline constexpr std::string_view kEndRepeatJoin = "\xC3\x93";     // Ó
inline constexpr std::string_view kDoubleBar = "[";
inline constexpr std::string_view kFinalBar = "\xC3\x93";       // Ó
inline constexpr std::string_view kMeasureRepeat = "\xC3\x94";  // Ô
inline constexpr std::string_view kCoda = "\xC3\x9E";           // Þ
inline constexpr std::string_view kSegno = "%";
inline constexpr std::string_view kToCoda = "D";
inline constexpr std::string_view kToSegno = "d";
inline constexpr std::string_view kOttavaAlta = "\xC3\x83";   // Ã
inline constexpr std::string_view kOttavaBassa = "\xC3\x97";  // ×
}  // namespace glyph

class StaffDrawer {
  public:
    StaffDrawer(PageLayout& layout, const StaffSystemFrame& frame, Region& region);
    void Draw();

    // A beam group holds at most this many notes; a longer run starts a new group.
    static constexpr int32_t kMaxGroup = 32;

  private:
    // One measure as the notes are spaced in it.
    struct MeasureFrame {
        int32_t Left = 0;
        int32_t Width = 0;
        int32_t Start = 0;
        int32_t Duration = 0;
        int32_t Pad = 0;   // from Left to the first note
        int32_t Tick = 0;  // twips per tick
        int32_t Key = 0;
        int32_t Flags = 0;  // MeasureFlags, with the double bar before a key change
    };
    // The pending beam group of the voice being drawn.
    struct BeamGroup {
        int32_t Count = 0;
        bool Up = true;
        std::array<int32_t, kMaxGroup> X{};
        std::array<int32_t, kMaxGroup> Duration{};
        std::array<int32_t, kMaxGroup> Top{};     // cell y of the highest head, later stem end
        std::array<int32_t, kMaxGroup> Bottom{};  // cell y of the lowest head, later stem end
    };
    // The triplet being counted.
    struct Triplet {
        int32_t Count = 0;
        bool Up = true;
        bool Bracket = false;
        int32_t FirstX = 0;
        int32_t Top = 0;     // page y of the highest stem or head end
        int32_t Bottom = 0;  // page y of the lowest
    };
    // A note's heads as placed.
    struct Column {
        int32_t X = 0;
        int32_t Highest = 0;  // cell y of the highest head
        int32_t Lowest = 0;   // cell y of the lowest head
        bool Up = true;
    };

    // StaffStart.cpp
    int32_t DrawStaffStart();
    void DrawClef(int32_t x);
    // `sign` replaces the flats or sharps (naturals cancelling a key).
    int32_t DrawKeySignature(int32_t key, int32_t x, std::string_view sign = {});
    int32_t DrawTimeSignature(int32_t x);

    // StaffSystem.cpp
    void DrawMeasure(int32_t j, int32_t pad);
    // Draws the voice's notes and rests of the measure on this part; true when a note was drawn.
    bool DrawVoice(int32_t voiceNumber, const MeasureFrame& m);
    void DrawRests(int32_t from, int32_t to, const MeasureFrame& m);
    void DrawMeasureRest(const MeasureFrame& m);
    int32_t NoteX(int32_t time, const MeasureFrame& m) const;

    // NoteDrawing.cpp
    void DrawNote(Note& note, const MeasureFrame& m);
    bool StemDirection(const Note& note, int32_t highestY);
    Column DrawHeads(const Note& note, int32_t x, bool up, const MeasureFrame& m);
    void DrawArticulation(const Note& note, const Column& c);
    void DrawOrnament(const Note& note, const Column& c);
    void DrawLedgerLines(const Column& c);
    void DrawColumnStroke(const Column& c);
    void DrawGraceNote(Note& note, const MeasureFrame& m);
    void CountTriplet(const Note& note, const Column& c);

    // Beams.cpp
    void AddToGroup(const Column& c, int32_t duration);
    void CloseGroup();
    void DrawFlag();
    void DrawBeams();
    static std::string_view FlagGlyphFor(int32_t duration, bool up);
    void DrawBeamLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t offset);

    // MeasureMarks.cpp
    int32_t MeasureFlagsOf(int32_t j) const;
    int32_t DrawSignatureChanges(const MeasureFrame& m);
    int32_t DrawBeginRepeat(int32_t x);
    bool DrawEndBarline(int32_t flags, int32_t barX);
    void JoinAcrossBrace(std::string_view join, int32_t x);
    void DrawSectionMarks(const MeasureFrame& m, int32_t barX);
    void DrawBracketLine(const MeasureFrame& m, bool dotted, bool continued, bool leg);
    void DrawMeasureNumber(int32_t number, const MeasureFrame& m, int32_t barX);
    void DrawMeasureRepeat(const MeasureFrame& m);
    void SelectTextFont(float size, bool bold, bool italic = false);

    // StaffText.cpp
    void DrawChordSymbols(const MeasureFrame& m);
    void DrawDynamicsAndTempo(const MeasureFrame& m);
    void DrawFreeText(const MeasureFrame& m);
    void DrawLyrics(const MeasureFrame& m);
    int32_t EventX(int32_t time, const MeasureFrame& m) const;

    // Ties.cpp
    void DrawTies();
    void DrawTie(int32_t color, int32_t x1, int32_t y1, int32_t x2, int32_t y2, bool below);

    // Helpers.
    void Glyph(std::string_view text, int32_t x, int32_t y, int32_t color);
    int32_t NoteColor() const { return mVoiceColor; }
    bool PartHolds(int32_t value) const;
    int32_t HeadY(float position) const;
    // Where a value stands: on a percussion staff by the drum table, else by clef and key (the
    // accidental it needs, if any, goes to `sign`).
    float PositionOf(int32_t value, int32_t clef, int32_t key, MeasureAccidentals* accidentals,
                     std::string_view* sign) const;
    // The head of a value of a note of `duration` ticks.
    std::string_view HeadOf(int32_t value, int32_t duration) const;

    PageLayout& mLayout;
    Score& mScore;
    const StaffSystemFrame& mFrame;
    Region& mRegion;
    int32_t mS = 0;     // line spacing
    int32_t mG = 0;     // glyph reference: a cell drawn here sits on the bottom line
    int32_t mClef = 0;  // clef the notes are placed by
    bool mGrand = false;
    bool mPercussionClef = false;
    bool mDrumStaff = false;
    bool mMultiVoice = false;
    int32_t mStaffHeight = 0;
    int32_t mKey = 0;            // key in force, for key changes inside the system
    int32_t mMeasureNumber = 0;  // running measure number
    int32_t mOctave = 0;         // octave line of the previous measure: 0, sct8va or sct8vb

    // Per voice.
    int32_t mVoiceNumber = 1;
    int32_t mVoiceColor = 0;
    bool mDrumVoice = false;
    MeasureAccidentals mAccidentals;
    BeamGroup mGroup;
    Triplet mTriplet;
    int32_t mForced = 0;  // a ForceFlag decision kept until the beam group closes
};

}  // namespace corvendi
