// What a score tells its host: the score events. A host derives from ScoreEvents,
// overrides the events it cares about (every event does nothing by default) and attaches the
// listener to its score with Score::SetEvents.
//
// The events arrive on the thread that called the score, in the middle of the operation that
// raised them; a handler may call the score again (read properties, detach itself).
#pragma once

#include <cstdint>
#include <memory>
#include <utility>

#include "corvendi/Export.h"

namespace corvendi {

class Staff;
class MIDIEvent;

class CORVENDI_API ScoreEvents {
  public:
    virtual ~ScoreEvents() = default;

    // The measure with this number became the active measure (drawn, hit or entered into).
    virtual void ActiveMeasure(int32_t Number) { (void)Number; }
    // The active staff changed.
    virtual void ActiveStaff(const std::shared_ptr<Staff>& CurStaff) { (void)CurStaff; }
    // The active voice number (1..4) changed.
    virtual void ActiveVoice(int32_t Number) { (void)Number; }
    // Loading a file ended.
    virtual void AfterOpenSave() {}
    // Loading a file of this size in bytes begins.
    virtual void BeforeOpenSave(int32_t Size) { (void)Size; }
    // The document's modified flag changed to IsChanged.
    virtual void ChangeNotify(bool IsChanged) { (void)IsChanged; }
    // Event stream: the end of a repeat was passed; playing goes on at NextTime.
    virtual void GoRepeat(int32_t NextTime) { (void)NextTime; }
    // The score's undo history became non-empty (true) or was emptied (false).
    virtual void HistoryChanged(bool CanUndo) { (void)CanUndo; }
    // Steps taken back became available to Redo (true), or none is left (false).
    virtual void RedoChanged(bool CanRedo) { (void)CanRedo; }
    // Event stream: the next MIDI event (nullptr once the stream is exhausted).
    virtual void LoadMIDI(const std::shared_ptr<MIDIEvent>& EventObj) { (void)EventObj; }
    // PlayScore with SendEvents: the score has played to its end.
    virtual void PlayDone() {}
    // A handle of kind HType at the page position Y (twips) was drawn.
    virtual void MarkHandle(int16_t HType, int32_t Y) { (void)HType, (void)Y; }
    // Event stream: the start of a repeat was passed at CurTime.
    virtual void MarkRepeat(int32_t CurTime) { (void)CurTime; }
    // Loading a file has read up to this byte position.
    virtual void ProgressReport(int32_t Position) { (void)Position; }
    // The selection was emptied.
    virtual void SelectionCleared() {}
    // Event stream: a section starting at CurTime is skipped; playing goes on at NextTime.
    virtual void SkipSection(int32_t CurTime, int32_t NextTime) { (void)CurTime, (void)NextTime; }
    // The drawing surface was cleared for a new paint.
    virtual void WindowCleared() {}
};

// The attached listener of one score. Raising with no listener attached does nothing.
// Engine code raises an event with, for example, `events.Raise(&ScoreEvents::ActiveVoice, 1)`.
class CORVENDI_API ScoreEventSource {
  public:
    void Attach(std::shared_ptr<ScoreEvents> listener) { mListener = std::move(listener); }
    const std::shared_ptr<ScoreEvents>& Listener() const { return mListener; }

    template <typename... Params, typename... Args>
    void Raise(void (ScoreEvents::*event)(Params...), Args&&... args) const {
        // A local reference keeps the listener alive even when its handler detaches it.
        std::shared_ptr<ScoreEvents> listener = mListener;
        if (listener) ((*listener).*event)(std::forward<Args>(args)...);
    }

  private:
    std::shared_ptr<ScoreEvents> mListener;
};

}  // namespace corvendi
