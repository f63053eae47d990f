// The score's simple properties: texts, tempo and chord switches, numbering, fonts, the active
// voice, the modified flag, the key, and access to the document's collections.
#include <algorithm>

#include "common/Arith.h"
#include "common/NumberText.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "engine/EditStep.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"
#include "model/SharedRoutines.h"

namespace corvendi {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether the whole text is one decimal number (blanks around it allowed).
bool IsNumericText(std::string_view text) {
    size_t i = 0;
    const size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    };
    skipBlanks();
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    size_t digits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++digits;
    if (i < n && text[i] == '.') {
        ++i;
        while (i < n && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        size_t exponentDigits = 0;
        while (i < n && IsDigit(text[i])) ++i, ++exponentDigits;
        if (exponentDigits == 0) return false;
    }
    skipBlanks();
    return i == n;
}

size_t CopyrightLine(double index) {
    return static_cast<size_t>(NInt(std::clamp(index, 0.0, 1.0)));
}

size_t CopyrightLine(std::string_view index) {
    return IsNumericText(index) ? CopyrightLine(LeadingNumber(index)) : 0;
}

}  // namespace

// --- texts ----------------------------------------------------------------------------------

void detail::ScoreAccess::SetTextAndRelayout(Score& s, std::string& member, std::string text) {
    EditStep step(s);
    if (member == text) return;
    member = std::move(text);
    s.SetChanged(true);
    Relayout(s);
    s.PaintWindow();
}

void Score::SetTitle(std::string text) {
    detail::ScoreAccess::SetTextAndRelayout(*this, mTitle, std::move(text));
}
void Score::SetSubTitle(std::string text) {
    detail::ScoreAccess::SetTextAndRelayout(*this, mSubTitle, std::move(text));
}
void Score::SetComposer(std::string text) {
    detail::ScoreAccess::SetTextAndRelayout(*this, mComposer, std::move(text));
}
void Score::SetArrangedBy(std::string text) {
    detail::ScoreAccess::SetTextAndRelayout(*this, mArrangedBy, std::move(text));
}

void Score::SetHeading(std::string text) {
    detail::EditStep step(*this);
    if (mHeading == text) return;
    mHeading = std::move(text);
    SetChanged(true);
}

const std::string& Score::Copyright() const { return mCopyright[0]; }
const std::string& Score::Copyright(int32_t Index) const {
    return mCopyright[CopyrightLine(static_cast<double>(Index))];
}
const std::string& Score::Copyright(std::string_view Index) const {
    return mCopyright[CopyrightLine(Index)];
}

void Score::SetCopyright(std::string text) {
    detail::ScoreAccess::SetTextAndRelayout(*this, mCopyright[0], std::move(text));
}
void Score::SetCopyright(int32_t Index, std::string text) {
    detail::ScoreAccess::SetTextAndRelayout(
        *this, mCopyright[CopyrightLine(static_cast<double>(Index))], std::move(text));
}
void Score::SetCopyright(std::string_view Index, std::string text) {
    detail::ScoreAccess::SetTextAndRelayout(*this, mCopyright[CopyrightLine(Index)],
                                            std::move(text));
}

// --- tempo and chords ---------------------------------------------------------------------------

void Score::SetBeat(int32_t value) {
    detail::EditStep step(*this);
    if (value == mBeat) return;
    const bool valid =
        value == durEighth || value == durQuarter || value == durHalf || value == durWhole;
    mBeat = valid ? value : durQuarter;
    SetChanged(true);
}

void Score::SetCount(int32_t value) {
    detail::EditStep step(*this);
    if (InRange(value, 0, 255)) mCount = value;
}

void Score::SetMetronome(bool on) {
    detail::EditStep step(*this);
    if (on == mMetronome) return;
    mMetronome = on;
    SetChanged(true);
}

void Score::SetCapo(int32_t value) {
    detail::EditStep step(*this);
    if (InRange(value, 0, 15)) mCapo = value;
}

void Score::SetUseCapo(bool on) {
    detail::EditStep step(*this);
    if (on == mUseCapo) return;
    mUseCapo = on;
    if (on) {
        mUseChords = true;
        if (mCapo == 0) mCapo = 1;
    }
    SetChanged(true);
    PaintWindow();
}

void Score::SetUseChords(bool on) {
    detail::EditStep step(*this);
    if (on == mUseChords) return;
    mUseChords = on;
    if (!on) {
        mUseChordMaps = false;
        mUseCapo = false;
    }
    SetChanged(true);
    PaintWindow();
}

void Score::SetUseChordMaps(bool on) {
    detail::EditStep step(*this);
    if (on == mUseChordMaps) return;
    mUseChordMaps = on;
    if (on) mUseChords = true;
    SetChanged(true);
    PaintWindow();
}

bool Score::Paginating() const { return mState->Paginating; }
bool Score::Printing() const { return mState->Printing; }
const std::string& Score::FileName() const { return mState->FileName; }
int32_t Score::FileType() const { return mState->FileType; }
int32_t Score::SelCount() const { return static_cast<int32_t>(mState->Selected.size()); }

void Score::SetChordMapper(std::shared_ptr<corvendi::ChordMapper> mapper) {
    if (mapper) mChordMapper = std::move(mapper);
}

// --- numbering ----------------------------------------------------------------------------------

void Score::SetReverseEvenOdd(bool on) {
    detail::EditStep step(*this);
    if (on == mReverseEvenOdd) return;
    mReverseEvenOdd = on;
    SetChanged(true);
}

void Score::SetNumberMeasures(bool on) {
    detail::EditStep step(*this);
    if (on == mNumberMeasures) return;
    mNumberMeasures = on;
    if (on) mNumberMeasuresBy = 1;
    SetChanged(true);
    PaintWindow();
}

void Score::SetNumberMeasuresBy(int32_t value) {
    detail::EditStep step(*this);
    if (!mNumberMeasures || value == mNumberMeasuresBy) return;
    mNumberMeasuresBy = value;
    SetChanged(true);
    PaintWindow();
}

void Score::SetNumberPos(int32_t value) {
    detail::EditStep step(*this);
    if (value == mNumberPos) return;
    mNumberPos = value;
    SetChanged(true);
    if (mNumberMeasures) PaintWindow();
}

void Score::SetPageNums(int32_t value) {
    detail::EditStep step(*this);
    if (value == mPageNums) return;
    mPageNums = value;
    SetChanged(true);
    PaintWindow();
}

// --- fonts --------------------------------------------------------------------------------------

std::shared_ptr<Font> Score::Fonts(int32_t Index) const {
    if (!InRange(Index, 0, kFontCount - 1)) return nullptr;
    return mFonts[static_cast<size_t>(Index)];
}

void Score::SetFonts(int32_t Index, std::shared_ptr<Font> font) {
    detail::EditStep step(*this);
    if (!InRange(Index, 0, kFontCount - 1) || !font) return;
    mFonts[static_cast<size_t>(Index)] = std::move(font);
    SetChanged(true);
}

// --- active position and switches ---------------------------------------------------------------

void Score::SetVoice(int32_t value) {
    if (!InRange(value, 1, 4) || value == mVoice) return;
    mVoice = value;
    PaintWindow();
}

void Score::SetDrumIX(int32_t value) {
    if (InRange(value, 1, 8)) mDrumIX = value - 1;
}

int32_t Score::UOM() const { return Process().gUOM; }
void Score::SetUOM(int32_t value) { Process().gUOM = value; }

int32_t Score::SelectedMeasure() {
    if (mSelectedMeasure == 0) mSelectedMeasure = 1;
    return mSelectedMeasure;
}

void Score::SetSelectedMeasure(int32_t number) {
    if (number >= 1) mSelectedMeasure = number;
}

// --- the modified flag --------------------------------------------------------------------------

void Score::SetChanged(bool changed) {
    const bool before = mChanged;
    if (!changed) {
        mChanged = false;
    } else if (!mState->Loading) {
        mChanged = true;
        mState->PlayFileStale = true;
    }
    if (mChanged != before && !mState->ChangeNotifyMuted) {
        mEvents.Raise(&ScoreEvents::ChangeNotify, mChanged);
    }
}

// --- key ----------------------------------------------------------------------------------------

// The score's key event at time 0 carries the key and the mode; it is created when missing.
void detail::ScoreAccess::WriteScoreKeyEvent(Score& s) {
    auto event = s.mGlobals->Item(0, evtKeyChange);
    if (!event) event = s.mGlobals->Add(0, evtKeyChange, 0, 0, "");
    if (!event) return;
    event->SetValue1(ByteFromKey(s.mKey));
    event->SetValue2(static_cast<uint8_t>(s.mMinorVal));
}

void Score::SetKey(int32_t value) {
    detail::EditStep step(*this);
    if (value == mKey) return;
    mKey = std::clamp(value, -7, 7);
    detail::ScoreAccess::WriteScoreKeyEvent(*this);
    // The score's key replaces every staff's own key at the start.
    for (const auto& staff : *mStaffs) {
        auto events = staff ? staff->GlobalEvents() : nullptr;
        if (!events) continue;
        while (events->Item(0, evtKeyChange)) events->Remove(0, evtKeyChange);
    }
    SetChanged(true);
    PaintWindow();
}

void Score::SetMinor(bool on) {
    detail::EditStep step(*this);
    const int32_t value = on ? 1 : 0;
    if (value == mMinorVal) return;
    mMinorVal = value;
    detail::ScoreAccess::WriteScoreKeyEvent(*this);
    SetChanged(true);
}

// --- the document -------------------------------------------------------------------------------

void Score::SetAllStaffs(std::shared_ptr<corvendi::Staffs> staffs) {
    detail::EditStep step(*this);
    if (!staffs || staffs == mStaffs) return;
    if (mStaffs && detail::StaffsAccess::Parent(*mStaffs) == this)
        detail::StaffsAccess::SetParent(*mStaffs, nullptr);
    mStaffs = std::move(staffs);
    detail::StaffsAccess::SetParent(*mStaffs, this);
}

void Score::SetAllVoices(std::shared_ptr<corvendi::Voices> voices) {
    detail::EditStep step(*this);
    if (!voices || voices == mVoices) return;
    if (mVoices && detail::VoicesAccess::Parent(*mVoices) == this)
        detail::VoicesAccess::SetParent(*mVoices, nullptr);
    mVoices = std::move(voices);
    detail::VoicesAccess::SetParent(*mVoices, this);
}

void Score::SetAllInstruments(std::shared_ptr<corvendi::Instruments> instruments) {
    detail::EditStep step(*this);
    if (!instruments || instruments == mInstruments) return;
    if (mInstruments && detail::InstrumentsAccess::Parent(*mInstruments) == this)
        detail::InstrumentsAccess::SetParent(*mInstruments, nullptr);
    mInstruments = std::move(instruments);
    detail::InstrumentsAccess::SetParent(*mInstruments, this);
}

int32_t Score::Staffs() const { return mStaffs->Count(); }

std::shared_ptr<corvendi::Staff> Score::Staff(int32_t Index) const { return mStaffs->Item(Index); }

std::shared_ptr<corvendi::Staff> Score::SelectedStaff() const {
    for (const auto& staff : *mStaffs) {
        if (staff && staff->Selected()) return staff;
    }
    return nullptr;
}

std::string Score::InsDesc(int32_t InsCode) const {
    if (!InRange(InsCode, 0, kCatalogEntries - 1)) return {};
    return InstrumentCatalogEntry(InsCode).Description;
}

int32_t Score::TwipsToPixelsX(int32_t Value) const {
    return NInt(static_cast<double>(Value) / static_cast<double>(mState->TwipsPerPixelX));
}

int32_t Score::TwipsToPixelsY(int32_t Value) const {
    return NInt(static_cast<double>(Value) / static_cast<double>(mState->TwipsPerPixelY));
}

}  // namespace corvendi
