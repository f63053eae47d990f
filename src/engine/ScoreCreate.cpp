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
#include "engine/ScoreAccess.h"
#include "engine/ScoreInternal.h"
#include "engine/UndoHistory.h"
#include "model/HostTimer.h"
#include "model/InstrumentCatalog.h"
#include "model/ModelAccess.h"
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

Score::Score() : mState(std::make_unique<detail::ScoreState>(*this)) {
    detail::ScoreAccess::ReadScreenMetrics(*this);
    detail::ScoreAccess::CreateChordMapperFromData(*this);
    detail::ScoreAccess::CreateRanges(*this);
    // A missing catalogue leaves the previous one; the score works without it.
    ReadInstrumentCatalog(CurrentPlatform().AppFolder());
    mState->Loading = true;
    mRedraw = false;
    ResetDefaultColors();
    detail::ScoreAccess::CreateFonts(*this);
    detail::ScoreAccess::CreateCollections(*this);
    detail::ScoreAccess::SetPageDefaults(*this);
    mState->EventStream = std::make_unique<MidiEventStream>(*this);
    mState->Player = std::make_unique<ScorePlayer>(*this);
    mRedraw = true;
    mChanged = false;
    mState->PlayFileStale = true;
    mState->Loading = false;
}

void detail::ScoreAccess::ReadScreenMetrics(Score& s) {
    ProcessState& p = Process();
    p.gTwipsPerPixelX = CurrentPlatform().TwipsPerPixelX();
    p.gTwipsPerPixelY = CurrentPlatform().TwipsPerPixelY();
    s.mState->TwipsPerPixelX = static_cast<float>(p.gTwipsPerPixelX);
    s.mState->TwipsPerPixelY = static_cast<float>(p.gTwipsPerPixelY);
    s.mState->MidiEvtIx = -1;
}

void detail::ScoreAccess::CreateChordMapperFromData(Score& s) {
    s.mChordMapper = CreateChordMapper();
    if (!s.mChordMapper) s.mChordMapper = std::make_shared<corvendi::ChordMapper>();
    s.mChordMapper->SetDataFolder(ConfigFolder());
    s.mChordMapper->Load();  // a chord mapper without data still works: it knows no chords
}

void detail::ScoreAccess::CreateRanges(Score& s) {
    for (auto& range : s.mState->Ranges) range = std::make_shared<Range>();
}

void detail::ScoreAccess::CreateFonts(Score& s) {
    for (int i = 0; i < 5; ++i) s.mFonts[static_cast<size_t>(i)] = std::make_shared<Font>("Arial");
    s.mFonts[5] = std::make_shared<Font>("Quavrix");
    s.mFonts[6] = std::make_shared<Font>("Verdana", 10.0f, true, true);
}

void detail::ScoreAccess::CreateCollections(Score& s) {
    s.mGlobals = std::make_shared<corvendi::GlobalEvents>();
    detail::GlobalEventsAccess::SetParent(*s.mGlobals, &s);
    s.mInstruments = std::make_shared<corvendi::Instruments>();
    detail::InstrumentsAccess::SetParent(*s.mInstruments, &s);
    s.mVoices = std::make_shared<corvendi::Voices>();
    detail::VoicesAccess::SetParent(*s.mVoices, &s);
    s.mStaffs = std::make_shared<corvendi::Staffs>(&s);
    s.mState->Selected.clear();
    s.mState->SelVoiceIDs.clear();
    s.mState->SelStaffs.clear();
    s.mState->Cursor = LyricCursor{};
}

void detail::ScoreAccess::SetPageDefaults(Score& s) {
    s.SetPageWidth(8.5f);
    s.SetPageHeight(11.0f);
    s.SetMargins(marTop, 1.0f);
    s.SetMargins(marBottom, 0.5f);
    s.SetMargins(marLeft, 0.75f);
    s.SetMargins(marRight, 0.5f);
    s.SetStaffHeight(0.4f);
    s.SetStaffSpace(0.5f);
    s.SetSystemSpace(0.65f);
    for (size_t i = 0; i < std::size(kScoreFontDefaults); ++i) {
        s.mFonts[i]->SetSize(kScoreFontDefaults[i].Size);
        s.mFonts[i]->SetBold(kScoreFontDefaults[i].Bold);
    }
}

Score::~Score() {
    detail::ForgetHistory(*this);
    mState->Player.reset();
    mState->EventStream.reset();
    mState->EventTimer.reset();
    if (detail::ScoreAccess::PaginationTimerIsOurs(*this)) StopPaginationTimer();
    mChordMapper.reset();
    mState->Selected.clear();
    mState->SelVoiceIDs.clear();
    mState->SelStaffs.clear();
    detail::ScoreAccess::DetachDocument(*this);
    mWindow.reset();
    mState->LastValue = 0;
    mState->LastRegionIx = 0;
}

// Empties the collections and cuts their back references, so that objects a host still holds
// no longer reach this score.
void detail::ScoreAccess::DetachDocument(Score& s) {
    if (s.mStaffs) {
        detail::StaffsAccess::Clear(*s.mStaffs);
        detail::StaffsAccess::SetParent(*s.mStaffs, nullptr);
    }
    if (s.mVoices) {
        s.mVoices->Clear();
        detail::VoicesAccess::SetParent(*s.mVoices, nullptr);
    }
    if (s.mInstruments) {
        s.mInstruments->Clear();
        detail::InstrumentsAccess::SetParent(*s.mInstruments, nullptr);
    }
    if (s.mGlobals) {
        s.mGlobals->Clear();
        detail::GlobalEventsAccess::SetParent(*s.mGlobals, nullptr);
    }
}

void Score::CreateDefault() {
    const bool redraw = mRedraw;
    mRedraw = false;
    mState->Loading = true;
    ScopeExit restore([this, redraw] {
        mRedraw = redraw;
        mState->PlayFileStale = true;
        mState->Loading = false;
    });

    detail::ClearHistory(*this);
    // Every setting of the document becomes a new document's.
    detail::ScoreAccess::AdoptDocumentSettings(*this, *detail::ScoreAccess::CreateDocument());
    detail::ScoreAccess::ResetDocument(*this);
    mState->MidiEvtIx = -1;
    mState->FileName.clear();

    // Common time: a symbol signature of 64-tick measures.
    mGlobals->Add(0, evtTimeChange, 0, 0, "");
    detail::StaffsAccess::Add(*mStaffs, mStaffs->NewID(), "New");

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

void detail::ScoreAccess::ResetDocument(Score& s) {
    detail::StaffsAccess::Clear(*s.mStaffs);
    s.mVoices->Clear();
    s.mInstruments->Clear();
    s.mGlobals->Clear();
    // Selected notes belong to the document being replaced.
    s.mState->Selected.clear();
    s.mState->SelVoiceIDs.clear();
    s.mState->SelStaffs.clear();

    s.mCurPage = 1;
    s.mLastPage = 1;
    s.mCurTime = 0;
    s.mState->HighNoteTime = 0;
    s.mState->LastValue = 0;
    s.mState->LastRegionIx = 0;
    s.mState->PageRanges.assign(1, std::make_shared<Range>());
    s.mState->PageMetrics.assign(1, std::make_shared<Range>());
}

}  // namespace corvendi
