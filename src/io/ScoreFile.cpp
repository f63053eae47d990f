// The file members of Score: opening a score or MIDI file, saving in either format, reloading,
// the file's name and title, and emptying the score before a file is read into it.
#include "io/ScoreFile.h"
#include "engine/ScoreAccess.h"
#include "engine/UndoHistory.h"

#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instruments.h"
#include "corvendi/Platform.h"
#include "corvendi/Range.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voices.h"
#include "engine/ScoreInternal.h"
#include "io/FileHelpers.h"
#include "io/MidiFiles.h"
#include "model/SharedRoutines.h"

namespace corvendi {

void FinishLoading(Score& score) {
    score.SetVoice(1);
    detail::ScoreAccess::EventSource(score).Raise(&ScoreEvents::ActiveVoice, 1);
    // A score without staffs has no staff to make active.
    if (auto first = score.Staff(1)) {
        first->SetSelected(true);
        detail::ScoreAccess::EventSource(score).Raise(&ScoreEvents::ActiveStaff, first);
    }
    detail::ScoreAccess::LoadingSet(score, false);
    score.SetChanged(false);
    score.PaintWindow();
}

void ShowOpenMessage(const std::string& text) {
    CurrentPlatform().ShowMessage(text, "Open", MessageIcon::Exclamation);
}

bool Score::OpenFile(const std::string& Path) {
    if (mState->OpenBusy) return false;
    BusyScope busy(mState->OpenBusy);
    // The score may be the one that owns the path's text (Reload), and the readers rename it.
    const std::string path = Path;

    SetRedraw(false);
    CurrentPlatform().ProcessPendingEvents();
    bool result = false;
    FileReader file;
    std::string error;
    if (!file.Open(path, error)) {
        ShowOpenMessage(error);
    } else {
        // The file is read into a document of its own, which this score takes over only when
        // the whole file could be read: a damaged file leaves the open document as it was.
        const auto incoming = detail::ScoreAccess::CreateDocument();
        incoming->SetEvents(Events());
        file.ReadBytes(1, 4);
        const std::string magic = file.BytesToText(1, 4);
        if (magic == "Qx00") {
            result = OpenScoreFile(*incoming, file, path);
        } else if (magic == "MThd") {
            result = OpenMidiFile(*incoming, file, path);
        } else {
            ShowOpenMessage(kUnrecognisedFormatText);
        }
        file.Close();
        incoming->SetEvents(nullptr);
        if (result) {
            detail::ScoreAccess::AdoptDocument(*this, *incoming);
            detail::ClearHistory(*this);
            mState->MidiEvtIx = -1;
            mState->PlayFileStale = true;
            FinishLoading(*this);
            AddToRecentDocs(path);
        }
    }
    file.ReleaseBuffer();
    detail::ScoreAccess::StartPagination(*this, false);
    CurrentPlatform().ProcessPendingEvents();
    SetRedraw(true);
    return result;
}

bool Score::SaveFile(const std::string& Path, int32_t FileType) {
    const bool current = Path.empty();
    const std::string path = current ? mState->FileName : Path;
    const int32_t type = current ? mState->FileType : FileType;
    if (path.empty()) return false;

    bool written = false;
    if (type == fmtQuavrix) {
        written = SaveScoreFile(*this, path);
    } else if (type == fmtMIDI) {
        written = SaveMidiFile(*this, path, false);
    }
    if (!written) return false;

    mState->FileName = path;
    mState->FileType = type;
    SetChanged(false);
    detail::ClearHistory(*this);
    return true;
}

std::string Score::FileTitle() const {
    if (mState->FileName.empty()) return "New Score";
    std::string name = mState->FileName;
    if (const size_t backslash = name.rfind('\\'); backslash != std::string::npos) {
        name.erase(0, backslash + 1);
    } else if (const size_t slash = name.rfind('/'); slash != std::string::npos) {
        name.erase(0, slash + 1);
    } else if (name.size() >= 2 && name[1] == ':') {
        name.erase(0, 2);
    }
    if (const size_t dot = name.rfind('.'); dot != std::string::npos) name.erase(dot);
    return name;
}

void Score::Reload() {
    if (mState->FileName.empty()) {
        CreateDefault();
    } else {
        OpenFile(mState->FileName);
    }
}

void detail::ScoreAccess::ClearScore(Score& s, const std::string& path) {
    ResetDocument(s);
    s.mState->FileName = path;
    s.mKey = 0;
    s.mMinorVal = 0;
    s.mVoice = 1;
    s.mVerse = 1;

    s.mTitle.clear();
    s.mSubTitle.clear();
    s.mHeading.clear();
    s.mComposer.clear();
    s.mArrangedBy.clear();
    s.mCopyright = {};
    s.mBeat = 16;
    s.mCount = 120;
    s.mMetronome = true;
}

}  // namespace corvendi
