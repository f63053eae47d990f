// Creating and destroying a score, and building the default document.
#include <filesystem>

#include "corvendi/ChordMapper.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Platform.h"
#include "corvendi/Range.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "engine/ScoreInternal.h"
#include "model/HostTimer.h"
#include "model/InstrumentCatalog.h"
#include "model/ProcessState.h"

namespace corvendi {

namespace {

struct FontDefault {
    float Size;
    bool Bold;
};

// Sizes and weights of the five ScoreFonts: title, subtitle, heading, composer, copyright.
constexpr FontDefault kScoreFontDefaults[] = {
    {14.0f, true}, {12.0f, true}, {10.0f, true}, {10.0f, true}, {8.0f, false}};

std::filesystem::path ConfigFolder() {
    return std::filesystem::path(CurrentPlatform().AppFolder()) / "Common" / "Config";
}

void ResetDefaultColors() {
    const ProcessState defaults;
    ProcessState& p = Process();
    p.gColorLines = defaults.gColorLines;
    p.gColorBars = defaults.gColorBars;
    p.gColorNotes = defaults.gColorNotes;
    p.gColorNotesAlt = defaults.gColorNotesAlt;
    p.gColorTies = defaults.gColorTies;
    p.gColorChords = defaults.gColorChords;
}

}  // namespace

std::shared_ptr<Score> Score::Create() { return std::make_shared<Score>(); }

Score::Score()
    : mPaginator(std::make_unique<Paginator>(*this)), mEventTimer(std::make_unique<HostTimer>()) {
    ReadScreenMetrics();
    CreateChordMapperFromData();
    CreateRanges();
    // A missing catalogue leaves the previous one; the score works without it.
    ReadInstrumentCatalog(CurrentPlatform().AppFolder());
    mLoading = true;
    mRedraw = false;
    ResetDefaultColors();
    CreateFonts();
    CreateCollections();
    SetPageDefaults();
    mRedraw = true;
    mChanged = false;
    mPlayFileStale = true;
    mLoading = false;
}

void Score::ReadScreenMetrics() {
    ProcessState& p = Process();
    p.gTwipsPerPixelX = CurrentPlatform().TwipsPerPixelX();
    p.gTwipsPerPixelY = CurrentPlatform().TwipsPerPixelY();
    mTwipsPerPixelX = static_cast<float>(p.gTwipsPerPixelX);
    mTwipsPerPixelY = static_cast<float>(p.gTwipsPerPixelY);
    mMidiEvtIx = -1;
}

void Score::CreateChordMapperFromData() {
    mChordMapper = CreateChordMapper();
    if (!mChordMapper) mChordMapper = std::make_shared<corvendi::ChordMapper>();
    mChordMapper->SetDataFolder(ConfigFolder());
    mChordMapper->Load();  // a chord mapper without data still works: it knows no chords
}

void Score::CreateRanges() {
    for (auto& range : mRanges) range = std::make_shared<Range>();
}

void Score::CreateFonts() {
    for (int i = 0; i < 5; ++i) mFonts[static_cast<size_t>(i)] = std::make_shared<Font>("Arial");
    mFonts[5] = std::make_shared<Font>("Quavrix");
    mFonts[6] = std::make_shared<Font>("Verdana", 10.0f, true, true);
}

void Score::CreateCollections() {
    mGlobals = std::make_shared<corvendi::GlobalEvents>();
    mGlobals->SetParent(this);
    mInstruments = std::make_shared<corvendi::Instruments>();
    mInstruments->SetParent(this);
    mVoices = std::make_shared<corvendi::Voices>();
    mVoices->SetParent(this);
    mStaffs = std::make_shared<corvendi::Staffs>(this);
    mSelected.clear();
    mSelVoiceIDs.clear();
    mSelStaffs.clear();
}

void Score::SetPageDefaults() {
    SetPageWidth(8.5f);
    SetPageHeight(11.0f);
    SetMargins(marTop, 1.0f);
    SetMargins(marBottom, 0.5f);
    SetMargins(marLeft, 0.75f);
    SetMargins(marRight, 0.5f);
    SetStaffHeight(0.4f);
    SetStaffSpace(0.5f);
    SetSystemSpace(0.65f);
    for (size_t i = 0; i < std::size(kScoreFontDefaults); ++i) {
        mFonts[i]->SetSize(kScoreFontDefaults[i].Size);
        mFonts[i]->SetBold(kScoreFontDefaults[i].Bold);
    }
}

Score::~Score() {
    mEventTimer.reset();
    if (PaginationTimerIsOurs()) StopPaginationTimer();
    mChordMapper.reset();
    mSelected.clear();
    mSelVoiceIDs.clear();
    mSelStaffs.clear();
    DetachDocument();
    mWindow.reset();
    mLastValue = 0;
    mLastRegionIx = 0;
}

// Empties the collections and cuts their back references, so that objects a host still holds
// no longer reach this score.
void Score::DetachDocument() {
    if (mStaffs) {
        mStaffs->Clear();
        mStaffs->SetParent(nullptr);
    }
    if (mVoices) {
        mVoices->Clear();
        mVoices->SetParent(nullptr);
    }
    if (mInstruments) {
        mInstruments->Clear();
        mInstruments->SetParent(nullptr);
    }
    if (mGlobals) {
        mGlobals->Clear();
        mGlobals->SetParent(nullptr);
    }
}

void Score::CreateDefault() {
    const bool redraw = mRedraw;
    mRedraw = false;
    mLoading = true;
    ScopeExit restore([this, redraw] {
        mRedraw = redraw;
        mPlayFileStale = true;
        mLoading = false;
    });

    ResetDocument();
    mMidiEvtIx = -1;
    mFileName.clear();

    // Common time: a symbol signature of 64-tick measures.
    mGlobals->Add(0, evtTimeChange, 0, 0, "");
    mStaffs->Add(mStaffs->NewID(), "New");

    mTitle = "New Score";
    mSubTitle.clear();
    mHeading.clear();
    mComposer = "Composer";
    mArrangedBy = "Arranged By";
    mCopyright = {};

    mBeat = 16;
    mCount = 120;
    mMetronome = true;
    SetChanged(false);

    mVoice = 1;
    mVerse = 1;
    mEvents.Raise(&ScoreEvents::ActiveVoice, 1);

    if (auto first = mStaffs->Item(1)) {
        first->SetSelected(true);
        mEvents.Raise(&ScoreEvents::ActiveStaff, first);
    }
    PaintWindow();
}

void Score::ResetDocument() {
    mStaffs->Clear();
    mVoices->Clear();
    mInstruments->Clear();
    mGlobals->Clear();
    // Selected notes belong to the document being replaced.
    mSelected.clear();
    mSelVoiceIDs.clear();
    mSelStaffs.clear();

    mCurPage = 1;
    mLastPage = 1;
    mCurTime = 0;
    mHighNoteTime = 0;
    mLastValue = 0;
    mLastRegionIx = 0;
    mPageRanges.assign(1, std::make_shared<Range>());
    mPageMetrics.assign(1, std::make_shared<Range>());
}

}  // namespace corvendi
