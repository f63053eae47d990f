#include "corvendi/ChordLibrary.h"

#include "common/Cp1252.h"
#include "common/ParsedFileCache.h"
#include "corvendi/Enums.h"
#include "corvendi/GlobalEvents.h"
#include "model/SharedRoutines.h"
#include "render/ChordDrawing.h"
#include "render/ChordSpelling.h"

namespace corvendi {

namespace {

// The capo's fret as semitones to transpose down; no capo (or a nonsense negative fret) is 0.
int32_t CapoSemitones(int32_t capoFret) { return capoFret > 0 ? PitchClassOf(capoFret) : 0; }

// The key in force at a time, from the score's key events.
int32_t KeyAt(const GlobalEvents& globals, int32_t atTime) {
    const auto keyEvent = globals.Find(atTime, evtKeyChange);
    return keyEvent ? KeyFromByte(keyEvent->Value1()) : 0;
}

}  // namespace

bool ChordLibrary::Load() {
    // Every new score loads the chord data: it is parsed once, and each score takes a copy it
    // may edit.
    static ParsedFileCache<ChordVocabulary> parsed;
    const auto vocabulary =
        parsed.Get((DataFolder() / kDataFileName).string(), [](std::string_view bytes) {
            ChordVocabulary read;
            read.Read(Cp1252ToUtf8(bytes));
            return read;
        });
    if (!vocabulary) {
        mVocabulary.Clear();
        return false;
    }
    mVocabulary = *vocabulary;
    return true;
}

std::string ChordLibrary::ChordName(int32_t index) const {
    return mVocabulary.Name(mVocabulary.CodeAt(index), 0);
}

int32_t ChordLibrary::ShapeCode(int32_t code, int32_t capoFret) const {
    if (!mVocabulary.HasChord(code)) return 0;
    return ChordVocabulary::CodeOf(ChordVocabulary::QualityNumberOf(code),
                                   ChordVocabulary::RootOf(code) - CapoSemitones(capoFret));
}

std::string ChordLibrary::ShownName(int32_t code, int32_t key, std::string_view text,
                                    int32_t capoFret) const {
    const int32_t shape = ShapeCode(code, capoFret);
    if (shape == 0) return std::string(text);
    return mVocabulary.Name(shape, TransposeKey(key, -CapoSemitones(capoFret)));
}

int32_t ChordLibrary::ChordKey(const GlobalEvents* globals, int32_t code, std::string_view text) {
    if (!globals) return 0;
    std::shared_ptr<GlobalEvent> first;
    for (const auto& event : *globals) {
        if (!event || event->EventType() != evtChord || event->Value1() != code) continue;
        if (event->Text() == text) return KeyAt(*globals, event->EventTime());
        if (!first) first = event;
    }
    return KeyAt(*globals, first ? first->EventTime() : 0);
}

void ChordLibrary::Draw(Surface& surface, int32_t x, int32_t y, int32_t code,
                        const std::shared_ptr<GlobalEvents>& globals, bool diagrams, int32_t color,
                        std::string_view text, int32_t capoFret, int32_t atTime) {
    const int32_t key = globals ? KeyAt(*globals, atTime) : 0;
    DrawInKey(surface, x, y, code, key, diagrams, color, text, capoFret);
}

void ChordLibrary::DrawInKey(Surface& surface, int32_t x, int32_t y, int32_t code, int32_t key,
                             bool diagrams, int32_t color, std::string_view text,
                             int32_t capoFret) const {
    const std::string name = ShownName(code, key, text, capoFret);
    const ChordFrets* frets = diagrams ? mVocabulary.Fingering(ShapeCode(code, capoFret)) : nullptr;
    if (frets) {
        DrawChordDiagram(surface, x, y, name, *frets, color);
    } else {
        DrawChordName(surface, x, y, name, color);
    }
}

}  // namespace corvendi
