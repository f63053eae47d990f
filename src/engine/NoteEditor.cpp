#include "engine/NoteEditor.h"

#include <algorithm>
#include <array>
#include <span>
#include <utility>
#include <vector>

#include "common/Arith.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Note.h"
#include "corvendi/Notes.h"
#include "corvendi/Range.h"
#include "corvendi/Region.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Staffs.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"
#include "model/ModelAccess.h"
#include "model/NoteJournal.h"
#include "model/SharedRoutines.h"
#include "render/PageLayout.h"
#include "render/StaffPosition.h"

namespace corvendi {

namespace {

using Access = detail::ScoreAccess;
using detail::NoteAccess;

// The pitch a hit stands for when it cannot be converted.
constexpr uint8_t kFallbackValue = 65;
// A note is found by OnNote within half a line spacing plus this many twips of its x.
constexpr int32_t kNoteHitSlack = 30;
// ChangeLast moves a note by this many ticks per unit of its value.
constexpr int32_t kMoveStep = 4;
// A note without a following note may move at most this far.
constexpr int32_t kMoveRoom = durWhole;
// Note flags are 16-bit values: clearing bits keeps the low 16 bits only.
constexpr int32_t kFlagWord = 65535;
constexpr int32_t kBowingFlags = nteBowUp | nteBowDown;

// Semitones of the natural letters C D E F G A B above C.
constexpr std::array<int32_t, 7> kNaturalSemitone = {0, 2, 4, 5, 7, 9, 11};
// A staff's bottom line lies eight diatonic steps below its top line; the lower staff of a grand
// staff begins eight line spacings (sixteen steps) below the upper staff's top line, and a point
// more than six line spacings (twelve steps) below it belongs to the lower staff.
constexpr int32_t kBottomLineStep = 8;
constexpr int32_t kLowerStaffStep = 16;
constexpr int32_t kGrandSplitStep = 12;
// Far beyond any staff the pitch no longer matters (it is a byte); counting stops there.
constexpr int32_t kStepLimit = 4096;

// Repaints what a change of the notes of staff `staffIndex` from `from` to `to` (exclusive)
// shows, given the region the edit came through: around those measures when the region is that
// staff's, else its whole system.
void RepaintNotes(Score& score, int32_t regionIndex, int32_t staffIndex, int32_t from, int32_t to,
                  std::span<const uint8_t> gone = {}) {
    const auto& regions = Access::Regions(score);
    const auto& region = regions[static_cast<size_t>(regionIndex - 1)];
    if (region && region->Staff == staffIndex) {
        Access::RepaintAround(score, regionIndex, from, to, gone);
    } else {
        Access::RepaintSystem(score, regionIndex);
    }
}

std::vector<uint8_t> ValuesOf(const Note& note) {
    std::vector<uint8_t> values;
    for (int32_t i = 0; i < note.ValueCount(); ++i) values.push_back(note.Value(i));
    return values;
}

// Length of a note for ChangeLast's bounds: a dot makes it half as long again.
int32_t MoveLength(const Note& note) {
    if ((note.Flags() & nteDot) != 0) return NInt(note.Duration() * 1.5);
    return note.Duration();
}

bool IsDrums(const Instrument* instrument) {
    return instrument && instrument->Category() == catDrums;
}

// The note starting exactly at `time`, or null.
std::shared_ptr<Note> NoteAt(Notes& notes, int32_t time) {
    auto note = notes.Item(time);
    return note && note->NoteTime() == time ? note : nullptr;
}

int32_t ClampToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// ChangeSel's dot and triplet properties; true when a flag changed (the note's length did).
bool ApplyLengthProperty(Note& note, int32_t stemDir) {
    const int32_t flags = note.Flags();
    int32_t changed = flags;
    switch (stemDir) {
        case stmClearProp: changed = 0; break;
        case stmPropDot: changed = flags | nteDot; break;
        case stmPropNoDot: changed = flags & (kFlagWord - nteDot); break;
        case stmPropTrip: changed = flags | nteTriplet; break;
        case stmPropNoTrip: changed = flags & (kFlagWord - nteTriplet); break;
        default: return false;
    }
    NoteAccess::FlagsSet(note, changed);
    // Clearing every flag changes the length only where a dot or triplet was among them.
    if (stemDir == stmClearProp) return (flags & (nteDot | nteTriplet)) != 0;
    return changed != flags;
}

void ApplyNewValue(Note& note, int32_t newValue) {
    if (newValue == 0) return;
    if (newValue >= 1 && newValue <= 255) {
        note.SetSingleValue();
        note.SetValue(0, newValue);
        return;
    }
    const int32_t shift = newValue > 0 ? IMod(newValue, 256) : newValue;
    for (int32_t i = 0; i < note.ValueCount(); ++i) note.SetValue(i, note.Value(i) + shift);
}

void ApplyStemDirection(Note& note, int32_t stemDir) {
    const int32_t flags = note.Flags();
    if (stemDir == stmForceUp)
        NoteAccess::FlagsSet(note, (flags | nteForceUp) & (kFlagWord - nteForceDown));
    if (stemDir == stmForceDown)
        NoteAccess::FlagsSet(note, (flags | nteForceDown) & (kFlagWord - nteForceUp));
}

void ToggleOrnaments(Note& note, int32_t ornaments) {
    int32_t flags = note.Flags();
    if ((ornaments & ornAccent) != 0) flags ^= nteAccent;
    if ((ornaments & ornStacato) != 0) flags ^= nteStacato;
    if ((ornaments & ornTrill) != 0) flags ^= nteTrill;
    if ((ornaments & ornFermata) != 0) flags ^= nteFermata;
    if ((ornaments & ornBowUp) != 0) flags = (flags & (kFlagWord - nteBowDown)) ^ nteBowUp;
    if ((ornaments & ornBowDown) != 0) flags = (flags & (kFlagWord - nteBowUp)) ^ nteBowDown;
    NoteAccess::FlagsSet(note, flags);
}

}  // namespace

// --- from a point to the music ---------------------------------------------------------------

MusicHit NoteEditor::HitAt(int32_t X, int32_t Y) {
    MusicHit hit;
    hit.Region = mScore.InRegion(X, Y);
    const auto globals = mScore.AllGlobals();
    if (!hit.Region || !globals) return hit;
    hit = WalkMeasures(hit.Region, X, *globals);
    if (hit.InMeasure) Access::SelectedMeasureSet(mScore, hit.MeasureNumber);
    return hit;
}

MusicHit NoteEditor::WalkMeasures(const std::shared_ptr<Region>& region, int32_t X,
                                  GlobalEvents& globals) {
    MusicHit hit;
    hit.Region = region;
    if (!region) return hit;
    int64_t left = region->Left;
    for (int32_t j = 0; j < region->Measures(); ++j) {
        const auto measure = region->Measure(j);
        if (!measure) return hit;
        int64_t width = measure->Low();
        if (X > left + width) {
            left += width;
            continue;
        }
        const MeasureInfoResult info = globals.MeasureInfo(measure->High());
        hit.InMeasure = true;
        hit.Measure = j;
        hit.MeasureStart = measure->High();
        hit.MeasureLength = info.Duration;
        hit.MeasureNumber = info.Number;

        const int64_t x = std::max<int64_t>(X, left);
        left += region->MeasurePad(j);
        width -= region->MeasurePad(j);
        // Each tick of the measure takes an equal share of the width after the note pad.
        const int64_t tick = info.Duration > 0 ? IDiv64(width, info.Duration) : 0;
        const int64_t offset = tick > 0 ? IDiv64(x - left, tick) : 0;
        hit.Time = ClampToInt32(hit.MeasureStart + std::clamp<int64_t>(offset, 0, info.Duration));
        return hit;
    }
    return hit;
}

uint8_t NoteEditor::PitchFromY(int32_t Y, int32_t clef, int32_t key, const Region& region) {
    const int32_t step = std::max(NInt(region.IncY / 2.0), 1);
    const int32_t topLine = region.Top + region.PadTop;
    // Lines and spaces below the top line, the point snapped to the nearest of them.
    const int32_t below =
        std::clamp(NInt((static_cast<double>(Y) - topLine) / step), -kStepLimit, kStepLimit);
    int32_t bottomLineStep = kBottomLineStep;
    int32_t staffClef = clef;
    if (clef == clfGrand) {
        const bool lower = below > kGrandSplitStep;
        staffClef = lower ? clfBass : clfTreble;
        if (lower) bottomLineStep += kLowerStaffStep;
    }
    // Diatonic steps from C of octave 0, as the drawing counts them (ClefBase: the bottom line).
    const int32_t diatonic = ClefBase(staffClef) + bottomLineStep - below;
    const int32_t letter = diatonic - FloorDiv(diatonic, 7) * 7;  // 0 = C ... 6 = B
    const int64_t value = int64_t{12} * FloorDiv(diatonic, 7) +
                          kNaturalSemitone[static_cast<size_t>(letter)] +
                          KeyAlteration(key, letter + 1);
    return WrapToByte(value);
}

// --- entering notes ---------------------------------------------------------------------------

void NoteEditor::AddNoteByHit(int32_t X, int32_t Y, int32_t duration, int32_t flags, int32_t snap) {
    const MusicHit hit = HitAt(X, Y);
    if (!hit.Found()) return;
    const Region& region = *hit.Region;
    const auto staff = StaffOf(region);
    const auto staffs = mScore.AllStaffs();
    if (!staff || !staffs) return;
    const int32_t voice = std::min(mScore.Voice(), staff->Voices());
    const auto& events = Access::EventSource(mScore);
    events.Raise(&ScoreEvents::ActiveStaff, staff);
    events.Raise(&ScoreEvents::ActiveMeasure, hit.MeasureNumber);

    const int32_t measureEnd = ClampToInt32(int64_t{hit.MeasureStart} + hit.MeasureLength);
    // The note may start at the measure's end or replace a note of the next measure, so the
    // slots of both measures decide whether the layout changes.
    const int32_t nextLength = mScore.AllGlobals()->MeasureInfo(measureEnd).Duration;
    const auto slots = [&] {
        return std::make_pair(staffs->ItemCount(hit.MeasureStart, hit.MeasureLength),
                              staffs->ItemCount(measureEnd, nextLength));
    };
    const auto slotsBefore = slots();
    const auto notes = VoiceNotes(staff.get(), voice);
    if (!notes) return;  // the staff has no voice to enter into
    const uint8_t value = EnteredValue(*staff, voice, hit, Y);

    int32_t t = hit.Time;
    if (snap > 0) t = IDiv(t, snap) * snap;
    // A point inside a note's span starts the new note where that one ends.
    if (const auto previous = notes->Item(t, true)) {
        const int64_t end = int64_t{previous->NoteTime()} + OccupiedLength(*previous);
        if (previous->NoteTime() < t && end > t) t = ClampToInt32(end);
    }
    t = std::min(t, measureEnd);
    std::vector<uint8_t> gone;
    if (const auto following = notes->Item(t)) {
        const int32_t length = (flags & nteTriplet) != 0 ? IDiv(duration, 2) : duration;
        const int32_t start = following->NoteTime();
        if (start > t && start < int64_t{t} + length) {
            gone = ValuesOf(*following);
            notes->Remove(start);
        }
    }

    // What the note changes: the notes it shortens, joins or replaces, and the rests after it.
    int32_t changedFrom = t;
    if (const auto before = notes->Item(t, false, true)) {
        if (int64_t{before->NoteTime()} + OccupiedLength(*before) > t)
            changedFrom = before->NoteTime();
    }
    int32_t changedLength = std::max(OccupiedLength(duration, flags), 1);
    if (const auto joined = notes->Item(t); joined && joined->NoteTime() == t)
        changedLength = std::max(changedLength, OccupiedLength(*joined));
    const int32_t changedTo = ClampToInt32(int64_t{t} + changedLength);

    const int32_t drawFlags = Access::DrawFlags(mScore);
    if (mScore.Voice() > 1) Access::DrawFlagsSet(mScore, drawFlags | kDrawMultiVoice);
    // Stems of every staff follow the voices once a second voice holds notes.
    const bool stemsChange = Access::DrawFlags(mScore) != drawFlags;
    notes->Add(t, value, duration, flags);
    Access::LastRegionIxSet(mScore, 0);
    Access::LastNoteSet(mScore, staff->Index(), voice, t, value);
    Access::RaiseHighNoteTime(mScore, t);

    const bool slotsChanged = slots() != slotsBefore;
    mScore.SetChanged(true);
    Access::LastRegionIxSet(mScore, RegionPosition(region));
    const bool inNextSystem = t >= measureEnd && hit.Measure == region.Measures() - 1;
    if (slotsChanged) {
        // A measure needs another width: lay the pages out again from this one.
        Access::StartPagination(mScore, true);
        mScore.PaintWindow();
    } else if (inNextSystem) {
        mScore.PaintWindow();
    } else if (stemsChange) {
        Access::RepaintSystem(mScore, region.Index);
    } else {
        Access::RepaintAround(mScore, region.Index, changedFrom, changedTo, gone);
    }
}

uint8_t NoteEditor::EnteredValue(Staff& staff, int32_t voice, const MusicHit& hit, int32_t Y) {
    const auto player = staff.Voice(voice);
    const auto instrument = player ? player->Instrument() : nullptr;
    if (IsDrums(instrument.get())) return WrapToByte(instrument->DrumValue(mScore.DrumIX()));
    if (!hit.Region) return kFallbackValue;
    return PitchFromY(Y, staff.CurClef(hit.Time), staff.CurKey(hit.Time), *hit.Region);
}

// --- finding and marking notes ----------------------------------------------------------------

bool NoteEditor::OnNote(int32_t X, int32_t Y, int32_t& noteTime, int32_t& noteDur) {
    std::shared_ptr<Region> region;
    int64_t windowLeft = 0;
    int64_t windowRight = 0;
    for (const auto& candidate : Access::Regions(mScore)) {
        if (!candidate) continue;
        const int32_t half = IDiv(candidate->IncY, 2) + kNoteHitSlack;
        windowLeft = int64_t{X} - half;
        windowRight = int64_t{X} + half;
        if (candidate->Left <= windowLeft && candidate->Right >= windowRight &&
            candidate->Top <= Y && Y <= candidate->Bottom) {
            region = candidate;
            break;
        }
    }
    const auto globals = mScore.AllGlobals();
    if (!region || !globals) return false;

    int64_t left = region->Left;
    std::shared_ptr<Range> measure;
    for (int32_t j = 0; j < region->Measures() && !measure; ++j) {
        const auto candidate = region->Measure(j);
        if (!candidate) return false;
        const int64_t right = left + candidate->Low();
        if (left <= windowLeft && windowRight <= right) measure = candidate;
        left = right;
    }
    const auto notes = measure ? VoiceNotes(StaffOf(*region).get(), mScore.Voice()) : nullptr;
    if (!notes) return false;

    const int32_t start = measure->High();
    const int64_t end = int64_t{start} + globals->MeasureInfo(start).Duration;
    auto it = std::partition_point(notes->begin(), notes->end(),
                                   [&](const auto& note) { return note->NoteTime() < start; });
    for (; it != notes->end() && (*it)->NoteTime() < end; ++it) {
        const Note& note = **it;
        if (note.X() > windowLeft && note.X() < windowRight) {
            Access::ActiveRegionIxSet(mScore, region->Index);
            noteTime = note.NoteTime();
            noteDur = note.Duration();
            return true;
        }
    }
    return false;
}

int32_t NoteEditor::GetNoteValueByHit(int32_t X, int32_t Y) {
    const MusicHit hit = HitAt(X, Y);
    if (!hit.Region) return 0;
    const auto staff = StaffOf(*hit.Region);
    if (!hit.InMeasure || !staff) return kFallbackValue;
    return PitchFromY(Y, staff->CurClef(hit.Time), staff->CurKey(hit.Time), *hit.Region);
}

int32_t NoteEditor::OrnamentFlag(int32_t ornament) {
    switch (ornament) {
        case ornBowUp: return nteBowUp;
        case ornBowDown: return nteBowDown;
        case ornTrill: return nteTrill;
        case ornAccent: return nteAccent;
        case ornFermata: return nteFermata;
        case ornStacato: return nteStacato;
        case ornAccent2: return nteAccent2;
        case ornTurn: return nteTurn;
        case ornMordent: return nteMordent;
        case ornHalfMordent: return nteHalfMordent;
        default: return 0;
    }
}

void NoteEditor::AddOrnamentByHit(int32_t X, int32_t Y, int32_t ornament) {
    int32_t time = 0;
    int32_t duration = 0;
    if (!OnNote(X, Y, time, duration)) return;
    const int32_t regionIndex = Access::ActiveRegionIx(mScore);
    if (!ValidRegionIndex(regionIndex)) return;
    const Region& region = *Access::Regions(mScore)[static_cast<size_t>(regionIndex - 1)];
    const auto notes = VoiceNotes(StaffOf(region).get(), mScore.Voice());
    const auto note = notes ? NoteAt(*notes, time) : nullptr;
    const int32_t flag = OrnamentFlag(ornament);
    if (!note || flag == 0) return;

    detail::NoteChanging(note);
    const int32_t flags = note->Flags();
    if ((flags & flag) == flag) {
        NoteAccess::FlagsSet(*note, flags & (kFlagWord - flag));
    } else {
        // A mark replaces the bowing: a note carries either a bowing or other marks.
        NoteAccess::FlagsSet(*note, (flags & (kFlagWord - kBowingFlags)) | flag);
    }
    mScore.SetChanged(true);
    RepaintNotes(mScore, regionIndex, region.Staff, time,
                 ClampToInt32(int64_t{time} + std::max(OccupiedLength(*note), 1)));
}

// --- changing notes ---------------------------------------------------------------------------

bool NoteEditor::ChangeLast(int32_t value, bool alignment) {
    const int32_t lastValue = Access::LastValue(mScore);
    if (lastValue == 0) return false;
    const int32_t staffIndex = Access::LastStaff(mScore);
    const int32_t voice = Access::LastVoice(mScore);
    const auto forget = [&] {
        Access::LastNoteSet(mScore, staffIndex, voice, Access::LastTime(mScore), 0);
        return false;
    };
    const auto notes = VoiceNotes(mScore.Staff(staffIndex).get(), voice);
    const auto note = notes ? NoteAt(*notes, Access::LastTime(mScore)) : nullptr;
    if (!note) return forget();

    if (alignment) {
        if (!MoveLastNote(*notes, *note, value)) return forget();
        mScore.SetChanged(true);
        return true;
    }
    detail::NoteChanging(note);
    if (!note->RemoveValue(WrapToByte(lastValue))) return forget();
    const auto transposed =
        static_cast<int32_t>(std::clamp<int64_t>(int64_t{lastValue} + value, 0, 127));
    note->AddValue(static_cast<uint8_t>(transposed));
    Access::LastNoteSet(mScore, staffIndex, voice, Access::LastTime(mScore), transposed);
    mScore.SetChanged(true);
    if (Access::LastRegionIx(mScore) >= 1 && ValidRegionIndex(Access::LastRegionIx(mScore))) {
        const int32_t time = Access::LastTime(mScore);
        const std::array<uint8_t, 1> gone{WrapToByte(lastValue)};
        RepaintNotes(mScore, Access::LastRegionIx(mScore), staffIndex, time,
                     ClampToInt32(int64_t{time} + std::max(OccupiedLength(*note), 1)), gone);
    }
    return true;
}

// Moves `note` by value x 4 ticks: no earlier than the previous note's end, and no later than
// where it still ends before the next note starts (a whole note on when there is none).
bool NoteEditor::MoveLastNote(Notes& notes, Note& note, int32_t value) {
    const int32_t old = note.NoteTime();
    const auto previous = notes.Item(old, false, true);
    const auto next = old < INT32_MAX ? notes.Item(old + 1) : nullptr;
    const int64_t lower = previous ? int64_t{previous->NoteTime()} + MoveLength(*previous) : 0;
    const int64_t upper =
        next ? int64_t{next->NoteTime()} - MoveLength(note) : int64_t{old} + kMoveRoom;
    const int64_t target =
        std::min(std::max(int64_t{old} + int64_t{value} * kMoveStep, lower), upper);
    if (target == old || target < lower) return false;
    const auto to = ClampToInt32(target);
    // A note of no length could land on a neighbour's time; notes never merge by a move.
    if (NoteAt(notes, to)) return false;

    const auto moved = notes.Add(to, note.Value(0), note.Duration(), note.Flags());
    moved->SetMultiVoice(note.MultiVoice());
    for (int32_t i = 1; i < note.ValueCount(); ++i) moved->AddValue(note.Value(i));
    notes.Remove(old);
    Access::LastNoteSet(mScore, Access::LastStaff(mScore), Access::LastVoice(mScore), to,
                        Access::LastValue(mScore));
    return true;
}

int32_t NoteEditor::ChangeSel(int32_t newDur, int32_t newValue, int32_t stemDir,
                              int32_t ornaments) {
    const auto globals = mScore.AllGlobals();
    std::vector<MeasureInfoResult> touched;
    int32_t processed = 0;
    for (const auto& note : Access::Selected(mScore)) {
        if (!note) continue;
        ++processed;
        detail::NoteChanging(note);
        bool lengthChanged = ApplyLengthProperty(*note, stemDir);
        if (newDur > 0 && newDur <= 255 && note->Duration() != newDur) {
            NoteAccess::DurationSet(*note, static_cast<uint8_t>(newDur));
            lengthChanged = true;
        }
        if (lengthChanged && globals) {
            const MeasureInfoResult measure = globals->MeasureInfo(note->NoteTime());
            const bool known = std::any_of(touched.begin(), touched.end(), [&](const auto& m) {
                return m.Number == measure.Number;
            });
            if (!known) touched.push_back(measure);
        }
        ApplyNewValue(*note, newValue);
        ApplyStemDirection(*note, stemDir);
        ToggleOrnaments(*note, ornaments);
    }
    for (const auto& measure : touched) ReflowMeasure(measure.Number, measure.Duration);
    if (processed > 0) {
        mScore.SetChanged(true);
        mScore.PaintWindow();
    }
    return processed;
}

// Notes only move later. A note pushed past the measure's end pushes the notes after it that it
// would overlap, so a voice stays in time order.
void NoteEditor::ReflowMeasure(int32_t number, int32_t length) {
    const auto globals = mScore.AllGlobals();
    const auto staffs = mScore.AllStaffs();
    if (!globals || !staffs) return;
    const int32_t start = globals->MeasureTime(number);
    const int64_t end = int64_t{start} + length;
    for (const auto& staff : *staffs) {
        for (int32_t v = 1; staff && v <= staff->Voices(); ++v) {
            const auto notes = VoiceNotes(staff.get(), v);
            if (!notes) continue;
            auto it = std::partition_point(notes->begin(), notes->end(), [&](const auto& note) {
                return note->NoteTime() < start;
            });
            int64_t previousEnd = INT64_MIN;
            for (; it != notes->end(); ++it) {
                Note& note = **it;
                if (note.NoteTime() >= end && note.NoteTime() >= previousEnd) break;
                if (note.NoteTime() < previousEnd) {
                    detail::NoteChanging(*it);
                    NoteAccess::NoteTimeSet(note, ClampToInt32(previousEnd));
                }
                previousEnd = note.NoteTime() + std::max<int64_t>(OccupiedLength(note), 1);
            }
        }
    }
}

void NoteEditor::DelNote(int32_t atTime, int32_t voice, int32_t staff) {
    const auto target =
        staff >= 1 && staff <= mScore.Staffs() ? mScore.Staff(staff) : mScore.SelectedStaff();
    const int32_t voiceNumber = voice >= 1 && voice <= Staff::kMaxVoices ? voice : mScore.Voice();
    const auto notes = VoiceNotes(target.get(), voiceNumber);
    const auto globals = mScore.AllGlobals();
    const auto staffs = mScore.AllStaffs();
    if (!notes || !globals || !staffs || !NoteAt(*notes, atTime)) return;

    const MeasureInfoResult measure = globals->MeasureInfo(atTime);
    const int32_t measureStart = globals->MeasureTime(measure.Number);
    const int32_t slotsBefore = staffs->ItemCount(measureStart, measure.Duration);
    const auto removed = NoteAt(*notes, atTime);
    const int32_t removedTo = ClampToInt32(int64_t{atTime} + std::max(OccupiedLength(*removed), 1));
    const std::vector<uint8_t> gone = ValuesOf(*removed);
    notes->Remove(atTime);
    mScore.SetChanged(true);
    if (staffs->ItemCount(measureStart, measure.Duration) != slotsBefore) {
        Access::StartPagination(mScore, true);
        mScore.PaintWindow();
    } else if (ValidRegionIndex(Access::ActiveRegionIx(mScore))) {
        RepaintNotes(mScore, Access::ActiveRegionIx(mScore), target->Index(), atTime, removedTo,
                     gone);
    } else {
        mScore.PaintWindow();
    }
}

// --- helpers ------------------------------------------------------------------------------------

int32_t NoteEditor::OccupiedLength(const Note& note) {
    return OccupiedLength(note.Duration(), note.Flags());
}

int32_t NoteEditor::OccupiedLength(int32_t duration, int32_t flags) {
    int32_t length = (flags & nteTriplet) != 0 ? IDiv(duration, 2) : duration;
    if ((flags & nteDot) != 0) length += IDiv(duration, 2);
    return length;
}

std::shared_ptr<Staff> NoteEditor::StaffOf(const Region& region) const {
    const auto staffs = mScore.AllStaffs();
    return staffs ? staffs->Item(region.Staff) : nullptr;
}

std::shared_ptr<Notes> NoteEditor::VoiceNotes(const Staff* staff, int32_t voice) {
    const auto player = staff ? staff->Voice(voice) : nullptr;
    return player ? player->Notes() : nullptr;
}

int32_t NoteEditor::RegionPosition(const Region& region) const {
    const auto& regions = Access::Regions(mScore);
    for (size_t i = 0; i < regions.size(); ++i) {
        if (regions[i] && regions[i]->Top == region.Top && regions[i]->Left == region.Left) {
            return static_cast<int32_t>(i + 1);
        }
    }
    return 0;
}

bool NoteEditor::ValidRegionIndex(int32_t index) const {
    const auto& regions = Access::Regions(mScore);
    return index >= 1 && static_cast<size_t>(index) <= regions.size() &&
           regions[static_cast<size_t>(index - 1)];
}

}  // namespace corvendi
