// One line of notes (a track) played by one instrument. A staff shows one to four voices; the
// score keeps all of them in its Voices collection.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

#include "corvendi/DocumentOwner.h"
#include "corvendi/Export.h"
#include "corvendi/Notes.h"

namespace corvendi {

class Instrument;

namespace detail {
struct VoiceAccess;
}  // namespace detail

class CORVENDI_API Voice {
  public:
    Voice();
    ~Voice();
    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    const std::string& Description() const { return mDescription; }
    void SetDescription(std::string text) { mDescription = std::move(text); }
    const std::string& ID() const { return mID; }
    // 1-based number of the voice in the score's voices.
    int32_t Track() const { return mTrack; }
    void SetTrack(int32_t track) { mTrack = track; }

    std::shared_ptr<corvendi::Notes> Notes() const { return mNotes; }
    // The voice takes over `notes` (a null pointer is ignored).
    void SetNotes(std::shared_ptr<corvendi::Notes> notes);

    // The voice's instrument in the owning score; nothing without one.
    std::shared_ptr<corvendi::Instrument> Instrument() const;

    // Sequential reading: GetInit positions at the first note at or after `startTime`, each
    // GetNext returns one note and moves on; nothing once the notes are used up.
    void GetInit(int32_t startTime);
    std::shared_ptr<Note> GetNext();

    // The ID of the voice's instrument in the owning score's instruments.
    const std::string& InstrumentID() const { return mInstrumentID; }

  private:
    friend struct detail::VoiceAccess;

    void Adopt(const std::shared_ptr<corvendi::Notes>& notes);
    void Release();

    std::string mDescription;
    std::string mID;
    std::string mInstrumentID;
    std::shared_ptr<corvendi::Notes> mNotes;
    DocumentOwner* mParent = nullptr;
    int32_t mTrack = 0;
    int32_t mNextIx = 0;
    int32_t mNextTime = -1;
    bool mProgramPending = false;
};

}  // namespace corvendi
