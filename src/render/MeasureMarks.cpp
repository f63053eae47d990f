// The marks a measure carries besides its notes: key and clef changes at its start, repeat,
// double and final barlines (joined across a brace), endings, coda and segno signs, octave
// lines, the measure number and the measure-repeat sign.
#include <algorithm>
#include <string>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvent.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "engine/ScoreAccess.h"
#include "model/SharedRoutines.h"
#include "render/LayoutGeometry.h"
#include "render/PageLayout.h"
#include "render/StaffDrawer.h"

namespace corvendi {

namespace {

// Section bits 16..128 of the measure flags: endings, coda, segno and the "To" marks.
constexpr int32_t kSectionFlagMask = 0xF0;

int32_t PixelY(const Surface* surface) {
    return surface ? std::max(1, NInt(surface->TwipsPerPixelY())) : 15;
}

}  // namespace

// A measure at whose end the key changes closes with a double bar.
int32_t StaffDrawer::MeasureFlagsOf(int32_t j) const {
    const SystemMeasures& system = mLayout.System();
    const auto slot = static_cast<size_t>(j);
    int32_t flags = system.Flags[slot];
    if (mDrumStaff) return flags;
    const int32_t end =
        slot + 1 < static_cast<size_t>(system.Count) ? system.Time[slot + 1] : system.End;
    if (end > system.Time[slot] && mFrame.Staff->CurKey(end) != mFrame.Staff->CurKey(end - 1)) {
        flags |= kDoubleBarFlag;
    }
    return flags;
}

// A new key or clef at a measure start inside the system: its signs at the measure's left, the
// notes moved right by their width. Returns that width.
int32_t StaffDrawer::DrawSignatureChanges(const MeasureFrame& m) {
    if (m.Start == mFrame.Start) return 0;
    int32_t x = m.Left;
    if (!mGrand) {
        // A change inside an earlier measure shows at the next measure start, so the notes
        // never follow a clef that is not drawn.
        const int32_t clef = mFrame.Staff->CurClef(m.Start);
        if (clef != mClef && clef != clfGrand) {
            mClef = clef;
            mPercussionClef = clef == clfPercussion;
            DrawClef(x + mS);
            x += mS + mLayout.TextWidth(glyph::kTrebleClef);
        }
    }
    const int32_t key = mDrumStaff ? 0 : std::clamp(mFrame.Staff->CurKey(m.Start), -7, 7);
    if (key != mKey) {
        // A return to C major shows the old signature cancelled by naturals.
        x = key == 0 ? DrawKeySignature(mKey, x, glyph::kNatural) : DrawKeySignature(key, x);
        mKey = key;
    }
    return x - m.Left;
}

// The begin-repeat sign at x; the notes begin 1.5 line spacings after it.
int32_t StaffDrawer::DrawBeginRepeat(int32_t x) {
    Glyph(glyph::kBeginRepeat, x, mG, detail::ScoreAccess::DrawColors(mScore).Bars);
    JoinAcrossBrace(glyph::kBeginRepeatJoin, x);
    return x + mLayout.TextWidth(glyph::kBeginRepeat) + NInt(1.5 * mS);
}

// End-repeat, double and final barlines right-aligned on the barline. False when none is drawn.
bool StaffDrawer::DrawEndBarline(int32_t flags, int32_t barX) {
    std::string_view sign;
    std::string_view join;
    if ((flags & kEndRepeatFlag) != 0) {
        sign = glyph::kEndRepeat, join = glyph::kEndRepeatJoin;
    } else if ((flags & kFinalBarFlag) != 0) {
        sign = glyph::kFinalBar, join = glyph::kFinalBar;
    } else if ((flags & kDoubleBarFlag) != 0) {
        sign = glyph::kDoubleBar, join = glyph::kDoubleBar;
    } else {
        return false;
    }
    const int32_t x = barX - mLayout.TextWidth(sign);
    Glyph(sign, x, mG, detail::ScoreAccess::DrawColors(mScore).Bars);
    JoinAcrossBrace(join, barX - mLayout.TextWidth(join));
    return true;
}

// Inside a brace the barline runs on through the gaps between the staffs: the joining glyph is
// repeated from the brace's top staff down to this one.
void StaffDrawer::JoinAcrossBrace(std::string_view join, int32_t x) {
    if (mFrame.BraceTop < 0 || mFrame.BraceTop >= mFrame.TopLine) return;
    const int32_t step = mStaffHeight - PixelY(mLayout.Target());
    if (step <= 0) return;
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Bars;
    for (int32_t y = mFrame.BraceTop - mLayout.GlyphDrop(); y < mG; y += step) {
        Glyph(join, x, y, color);
    }
}

void StaffDrawer::DrawSectionMarks(const MeasureFrame& m, int32_t barX) {
    const int32_t section = m.Flags >> 4;
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Bars;
    // At the system start the signs stand after the clef and signatures, not over them.
    const int32_t signX = m.Start == mFrame.Start ? m.Left + m.Pad - 2 * m.Tick - mS - IDiv(mS, 2)
                                                  : m.Left + IDiv(mS, 2);
    if ((section & sctCoda) != 0) Glyph(glyph::kCoda, signX, mG, color);
    if ((section & sctSegundo) != 0) Glyph(glyph::kSegno, signX, mG, color);
    if ((section & sctToCoda) != 0) Glyph(glyph::kToCoda, barX - 2 * mS, mG, color);
    if ((section & sctToSegundo) != 0) Glyph(glyph::kToSegno, barX - 2 * mS, mG, color);

    const int32_t ending = section & sctEnding;
    if (ending != 0 && mRegion.First && mFrame.Part == 1) {
        std::string label = ending == sctEnding1 ? "1" : ending == sctEnding2 ? "2" : "";
        if (ending == sctEnding) {
            if (const auto globals = mScore.AllGlobals()) {
                if (const auto event = globals->Find(m.Start, evtSectionDefine, true)) {
                    label = event->Text();
                }
            }
        }
        const bool continued = label == "+";
        DrawBracketLine(m, false, continued, !continued);
        if (!continued && !label.empty()) {
            SelectTextFont(8.0f, true);
            const int32_t lineY = mFrame.TopLine - SnapY(NInt(2.2 * mS));
            Glyph(label, m.Left + m.Pad - mS + IDiv(mS, 2), lineY + 30, color);
            mLayout.SelectFont(kMusicFontIndex);
        }
    }

    // Octave lines come from the staff's own section events (Value2 = 1 for 8va, 2 for 8vb).
    int32_t octave = 0;
    if (const auto events = mFrame.Staff->GlobalEvents()) {
        auto it = std::partition_point(events->begin(), events->end(), [&](const auto& event) {
            return !event || event->EventTime() < m.Start;
        });
        for (; it != events->end(); ++it) {
            const auto& event = *it;
            if (!event) continue;
            if (event->EventTime() > m.Start) break;
            if (event->EventType() != evtSectionDefine) continue;
            if (event->Value2() == 1) octave = sct8va;
            if (event->Value2() == 2) octave = sct8vb;
        }
    }
    if (octave != 0) {
        const bool continued = octave == mOctave && m.Start != mFrame.Start;
        DrawBracketLine(m, true, continued, false);
        if (!continued) {
            const int32_t lineY = mFrame.TopLine - SnapY(NInt(2.2 * mS));
            auto* surface = mLayout.Target();
            if (surface) {
                FontSpec font = surface->Font();
                font.Size = 14.0f;
                surface->SetFont(font);
            }
            const std::string_view label =
                octave == sct8va ? glyph::kOttavaAlta : glyph::kOttavaBassa;
            // The label's glyph sits on the bottom line of a cell drawn at G: this cell puts
            // it across the line's left end.
            Glyph(label, m.Left + m.Pad - mS - mLayout.TextWidth(label),
                  lineY - mLayout.GlyphDrop() - 4 * mS + NInt(0.75 * mS), color);
            mLayout.SelectFont(kMusicFontIndex);
        }
    }
    mOctave = octave;
}

// The line of an ending or an octave mark over the measure; "+" continues the bracket of the
// previous measure 3 line spacings to the left, an octave line runs on from the barline.
void StaffDrawer::DrawBracketLine(const MeasureFrame& m, bool dotted, bool continued, bool leg) {
    const int32_t y = mFrame.TopLine - SnapY(NInt(2.2 * mS));
    int32_t x1 = m.Left + m.Pad - mS;
    const int32_t x2 = x1 + m.Width - m.Pad;
    // An octave line running on from the previous measure joins it at the barline.
    if (continued) x1 = dotted ? m.Left : x1 - 3 * mS;
    auto* surface = mLayout.Target();
    const int32_t color = detail::ScoreAccess::DrawColors(mScore).Bars;
    if (dotted && surface) surface->SetDrawStyle(2);
    mLayout.DrawLine(color, x1, y, x2, y);
    if (dotted && surface) surface->SetDrawStyle(0);
    if (leg) mLayout.DrawLine(color, x1, y, x1, y + 2 * mS);
}

// Numbered only on the top staff, and not where a section mark already stands.
void StaffDrawer::DrawMeasureNumber(int32_t number, const MeasureFrame& m, int32_t barX) {
    if (!mScore.NumberMeasures() || !mRegion.First || mFrame.Part != 1) return;
    if ((m.Flags & kSectionFlagMask) != 0) return;
    const int32_t every = mScore.NumberMeasuresBy();
    if (every > 1 && IMod(number, every) != 0) return;
    const int32_t pos = std::clamp(mScore.NumberPos(), 0, 5);
    if (pos < 3 && mOctave != 0) return;  // the octave line holds that place
    const std::string text = std::to_string(number);
    SelectTextFont(8.0f, false);
    const int32_t width = mLayout.TextWidth(text);
    const int32_t px = PixelY(mLayout.Target());
    int32_t x = m.Left + px;
    if (pos % 3 == 1) x = m.Left + IDiv(barX - m.Left - width, 2);
    if (pos % 3 == 2) x = barX - px - width;
    const int32_t y = pos < 3 ? mG - mS : mG + 6 * mS;
    Glyph(text, x, y, detail::ScoreAccess::DrawColors(mScore).Bars);
    mLayout.SelectFont(kMusicFontIndex);
}

void StaffDrawer::DrawMeasureRepeat(const MeasureFrame& m) {
    const int32_t width = mLayout.TextWidth(glyph::kMeasureRepeat);
    Glyph(glyph::kMeasureRepeat, m.Left + IDiv(m.Width - width, 2), mG - mS,
          detail::ScoreAccess::DrawColors(mScore).Bars);
}

void StaffDrawer::SelectTextFont(float size, bool bold, bool italic) {
    mLayout.SelectFont(fntCopyright);
    auto* surface = mLayout.Target();
    if (!surface) return;
    FontSpec font = surface->Font();
    font.Size = size;
    font.Bold = bold;
    font.Italic = italic;
    surface->SetFont(font);
}

}  // namespace corvendi
