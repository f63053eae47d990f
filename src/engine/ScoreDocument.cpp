// Replacing a score's document with another's: a file is read into a fresh score and taken over
// only once the read succeeded, and a new document starts from a fresh score's settings.
#include <array>
#include <utility>

#include "corvendi/Font.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "engine/ScoreAccess.h"
#include "engine/ScoreState.h"
#include "model/ModelAccess.h"
#include "model/ProcessState.h"

namespace corvendi {

namespace {

// The default colours are shared by every score of the thread; making a score puts them back to
// their defaults, which a score made only to read a file into must not do.
struct SharedColors {
    SharedColors() {
        const ProcessState& p = Process();
        values = {p.gColorLines,    p.gColorBars, p.gColorNotes,
                  p.gColorNotesAlt, p.gColorTies, p.gColorChords};
    }
    void Restore() const {
        ProcessState& p = Process();
        p.gColorLines = values[0];
        p.gColorBars = values[1];
        p.gColorNotes = values[2];
        p.gColorNotesAlt = values[3];
        p.gColorTies = values[4];
        p.gColorChords = values[5];
    }
    std::array<int32_t, 6> values{};
};

void CopyFont(Font& to, const Font& from) {
    to.SetName(from.Name());
    to.SetSize(from.Size());
    to.SetBold(from.Bold());
    to.SetItalic(from.Italic());
    to.SetUnderline(from.Underline());
}

}  // namespace

std::shared_ptr<Score> detail::ScoreAccess::CreateDocument() {
    const SharedColors colors;
    auto document = Score::Create();
    colors.Restore();
    return document;
}

void detail::ScoreAccess::AdoptDocumentSettings(Score& to, const Score& from) {
    to.mTitle = from.mTitle;
    to.mSubTitle = from.mSubTitle;
    to.mHeading = from.mHeading;
    to.mComposer = from.mComposer;
    to.mArrangedBy = from.mArrangedBy;
    to.mCopyright = from.mCopyright;
    to.mBeat = from.mBeat;
    to.mCount = from.mCount;
    to.mMetronome = from.mMetronome;
    to.mCapo = from.mCapo;
    to.mUseCapo = from.mUseCapo;
    to.mUseChords = from.mUseChords;
    to.mUseChordMaps = from.mUseChordMaps;
    to.mReverseEvenOdd = from.mReverseEvenOdd;
    to.mDynAdjust = from.mDynAdjust;
    to.mKey = from.mKey;
    to.mMinorVal = from.mMinorVal;
    to.mNumberMeasures = from.mNumberMeasures;
    to.mNumberMeasuresBy = from.mNumberMeasuresBy;
    to.mNumberPos = from.mNumberPos;
    to.mPageNums = from.mPageNums;
    to.mPageOrientation = from.mPageOrientation;
    to.mPageSize = from.mPageSize;
    to.mPageWidthIn = from.mPageWidthIn;
    to.mPageHeightIn = from.mPageHeightIn;
    to.mMargins = from.mMargins;
    to.mStaffHeight = from.mStaffHeight;
    to.mStaffSpace = from.mStaffSpace;
    to.mSystemSpace = from.mSystemSpace;
    ScoreState& state = *to.mState;
    const ScoreState& source = *from.mState;
    state.PageWidthTw = source.PageWidthTw;
    state.PageHeightTw = source.PageHeightTw;
    state.MarginsTw = source.MarginsTw;
    state.StaffHeightTw = source.StaffHeightTw;
    state.StaffSpaceTw = source.StaffSpaceTw;
    state.SystemSpaceTw = source.SystemSpaceTw;
    state.BeamLines = source.BeamLines;
    state.BeamGap = source.BeamGap;
    // Hosts may hold the font objects: they keep theirs and take the new settings.
    for (size_t i = 0; i < to.mFonts.size(); ++i) CopyFont(*to.mFonts[i], *from.mFonts[i]);
    ApplyPageSizeToWindow(to);
}

void detail::ScoreAccess::AdoptDocument(Score& to, Score& from) {
    AdoptDocumentSettings(to, from);
    ResetDocument(to);  // the selection and the page records of the old document go
    std::swap(to.mStaffs, from.mStaffs);
    std::swap(to.mVoices, from.mVoices);
    std::swap(to.mInstruments, from.mInstruments);
    std::swap(to.mGlobals, from.mGlobals);
    for (Score* owner : {&to, &from}) {
        StaffsAccess::SetParent(*owner->mStaffs, owner);
        VoicesAccess::SetParent(*owner->mVoices, owner);
        InstrumentsAccess::SetParent(*owner->mInstruments, owner);
        GlobalEventsAccess::SetParent(*owner->mGlobals, owner);
    }
    to.mState->HighNoteTime = from.mState->HighNoteTime;
    to.mVerse = from.mVerse;
    to.mState->FileName = from.mState->FileName;
    to.mState->FileType = from.mState->FileType;
    to.mState->MidiEvtIx = from.mState->MidiEvtIx;
}

}  // namespace corvendi
