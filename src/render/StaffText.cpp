// The words and signs over and under a staff: chord symbols through the score's chord mapper,
// dynamics and tempo marks, free text and the verses of the lyrics.
#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "common/Arith.h"
#include "common/Cp1252.h"
#include "corvendi/ChordMapper.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"
#include "render/StaffDrawer.h"

namespace corvendi {

namespace {

// The events of one type in [from, to), in list (time) order.
std::vector<std::shared_ptr<GlobalEvent>> EventsIn(const GlobalEvents* events, int32_t type,
                                                   int32_t from, int32_t to) {
    std::vector<std::shared_ptr<GlobalEvent>> found;
    if (!events) return found;
    // The list is in time order: start at the first event of the range.
    auto it = std::partition_point(events->begin(), events->end(), [&](const auto& event) {
        return !event || event->EventTime() < from;
    });
    for (; it != events->end(); ++it) {
        const auto& event = *it;
        if (!event) continue;
        if (event->EventTime() >= to) break;
        if (event->EventType() == type) found.push_back(event);
    }
    return found;
}

// A lyric event holds at most this many verses worth drawing.
constexpr size_t kMaxVerses = 255;

// Verse texts of a lyric event, verse 1 first.
std::vector<std::string> Verses(const std::string& text) {
    std::vector<std::string> verses(1);
    for (const char c : text) {
        if (c == '\r') {
            verses.emplace_back();
        } else {
            verses.back() += c;
        }
    }
    return verses;
}

}  // namespace

void Score::TextPosByOffset(int32_t& Y, int32_t Offset1, int32_t Offset2, int32_t Inc,
                            bool UseActive) const {
    const int64_t inc = Inc;
    if (UseActive) {
        if (Offset1 > 0) Y = ClampCoord(mState->TextMidY - Offset1 * inc);
        if (Offset2 > 0) Y = ClampCoord(mState->TextMidY + Offset2 * inc);
        return;
    }
    if (Offset1 >= 1) Y = ClampCoord(Y - Offset1 * inc);
    if (Offset2 > 0) Y = ClampCoord(Y + Offset2 * inc);
}

int32_t StaffDrawer::EventX(int32_t time, const MeasureFrame& m) const {
    return ClampCoord(static_cast<int64_t>(time - m.Start) * m.Tick + m.Left - mS + m.Pad);
}

// Chord symbols stand over the top staff of the system, higher over an ending's bracket.
void StaffDrawer::DrawChordSymbols(const MeasureFrame& m) {
    if (!mScore.UseChords() || !mRegion.First || mFrame.Part != 1) return;
    const auto& mapper = mScore.ChordMapper();
    auto* surface = mLayout.Target();
    const auto globals = mScore.AllGlobals();
    if (!mapper || !surface || !globals) return;
    const auto chords = EventsIn(globals.get(), evtChord, m.Start, m.Start + m.Duration);
    if (chords.empty()) return;
    int32_t y = mG - mLayout.PrintOffsetY();
    if (((m.Flags >> 4) & (sctEnding1 | sctEnding2)) != 0) y -= 3 * mS;
    const int32_t capo = mScore.UseCapo() ? mScore.Capo() : 0;
    for (const auto& chord : chords) {
        const int64_t x = static_cast<int64_t>(chord->EventTime() - m.Start) * m.Tick + m.Left +
                          m.Pad - mLayout.PrintOffsetX();
        mapper->Draw(*surface, ClampCoord(x), y, chord->Value1(), globals, mScore.UseChordMaps(),
                     detail::ScoreAccess::DrawColors(mScore).Chords, chord->Text(), capo,
                     chord->EventTime());
    }
    mLayout.SelectFont(kMusicFontIndex);
}

// Dynamics are music-font characters; a tempo mark ("ritard.", "a tempo" ...) is italic words on
// the same line, after a dynamic that stands at the same time.
void StaffDrawer::DrawDynamicsAndTempo(const MeasureFrame& m) {
    // A grand staff's marks serve both hands: drawn once, between its two staffs.
    if (mGrand && mFrame.Part != 1) return;
    const auto events = mFrame.Staff->GlobalEvents();
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Ties;
    const int32_t y = mG + NInt(3.5 * mS) + mScore.DynAdjust();
    const int32_t end = m.Start + m.Duration;
    std::vector<std::pair<int32_t, int32_t>> dynamicEnds;  // time, right edge
    for (const auto& event : EventsIn(events.get(), evtDynamic, m.Start, end)) {
        const int32_t code = event->Value1();
        if (code < 32) continue;
        const std::string glyph = MusicChar(static_cast<uint8_t>(code));
        const int32_t x = EventX(event->EventTime(), m);
        Glyph(glyph, x, y, color);
        dynamicEnds.emplace_back(event->EventTime(), x + mLayout.TextWidth(glyph));
    }
    const auto tempos = EventsIn(events.get(), evtTempo, m.Start, end);
    if (tempos.empty()) return;
    // The words share the dynamics' baseline, which lies as far below the glyph cell's top as
    // the bottom staff line lies below G.
    const int32_t baseline = y + (mFrame.BottomLine - mG);
    SelectTextFont(9.0f, false, true);
    const int32_t top = baseline - NInt(0.8 * mLayout.TextHeight("S"));
    for (const auto& event : tempos) {
        const int32_t mark = event->Value1();
        const std::string words = !event->Text().empty()                           ? event->Text()
                                  : mark >= tmpRitardando && mark <= tmpLungaPausa ? TempoText(mark)
                                                                                   : std::string();
        if (words.empty()) continue;
        int32_t x = EventX(event->EventTime(), m);
        for (const auto& [time, right] : dynamicEnds) {
            if (time == event->EventTime()) x = std::max(x, right + mS);
        }
        Glyph(words, x, top, color);
    }
    mLayout.SelectFont(kMusicFontIndex);
}

void StaffDrawer::DrawFreeText(const MeasureFrame& m) {
    if (mFrame.Part != 1) return;
    const auto events = mFrame.Staff->GlobalEvents();
    const auto texts = EventsIn(events.get(), evtText, m.Start, m.Start + m.Duration);
    if (texts.empty()) return;
    mLayout.SelectFont(fntCopyright);
    for (const auto& text : texts) {
        int32_t y = mFrame.TopLine + 2 * mS;
        mScore.TextPosByOffset(y, text->Value1(), text->Value2(), IDiv(mS, 2));
        Glyph(text->Text(), EventX(text->EventTime(), m), y,
              detail::ScoreAccess::DrawColors(mScore).Bars);
    }
    mLayout.SelectFont(kMusicFontIndex);
}

// Lyrics stand under the lowest staff of the part: verse v one lyric line (225 twips) lower
// per verse, each syllable centred under its note. A syllable ending in "-" is joined to the
// next by a hyphen centred between them.
void StaffDrawer::DrawLyrics(const MeasureFrame& m) {
    if (mGrand && mFrame.Part != 2) return;
    const auto events = mFrame.Staff->GlobalEvents();
    const int32_t end = m.Start + m.Duration;
    const auto lyrics = EventsIn(events.get(), evtLyric, m.Start, end);
    if (lyrics.empty()) return;
    const int32_t headHalf = IDiv(mLayout.TextWidth(glyph::kBlackHead), 2);
    SelectTextFont(8.0f, false);
    const int32_t height = mLayout.TextHeight("Ag");
    const int32_t ascent = NInt(0.8 * height);
    detail::StaffAccess::LyricOffsetSet(*mFrame.Staff, mRegion.PadBottom + ascent);
    const int32_t firstLine = mFrame.BottomLine + mFrame.Staff->LyricOffset() - ascent;
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Chords;
    const int32_t hyphenWidth = mLayout.TextWidth("-");
    const int32_t barX = m.Left + m.Width;
    for (size_t i = 0; i < lyrics.size(); ++i) {
        const int32_t centre = NoteX(lyrics[i]->EventTime(), m) + headHalf;
        const int32_t nextCentre =
            i + 1 < lyrics.size() ? NoteX(lyrics[i + 1]->EventTime(), m) + headHalf : barX;
        const auto verses = Verses(lyrics[i]->Text());
        const auto nextVerses =
            i + 1 < lyrics.size() ? Verses(lyrics[i + 1]->Text()) : std::vector<std::string>{};
        for (size_t v = 0; v < verses.size() && v < kMaxVerses; ++v) {
            std::string syllable = verses[v];
            const bool hyphen = !syllable.empty() && syllable.back() == '-';
            if (hyphen) syllable.pop_back();
            const int32_t y = firstLine + static_cast<int32_t>(v) * kLyricLineTw;
            const int32_t width = mLayout.TextWidth(syllable);
            if (!syllable.empty()) Glyph(syllable, centre - IDiv(width, 2), y, color);
            if (!hyphen) continue;
            int32_t right = nextCentre;
            if (v < nextVerses.size() && !nextVerses[v].empty() && i + 1 < lyrics.size()) {
                right -= IDiv(mLayout.TextWidth(nextVerses[v]), 2);
            }
            const int32_t left = centre + IDiv(width, 2);
            Glyph("-", left + IDiv(right - left - hyphenWidth, 2), y, color);
        }
    }
    mLayout.SelectFont(kMusicFontIndex);
    if (auto* surface = mLayout.Target()) surface->SetForeColor(mVoiceColor);
}

}  // namespace corvendi
