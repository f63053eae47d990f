// The public enumerations of the engine. They are plain enumerations with 32-bit values so that
// they combine with the integer fields they describe (flags are or-ed, event types compared).
#pragma once

#include <cstdint>

namespace corvendi {

enum ClefTypes : int32_t {
    clfPercussion = 0,
    clfTreble = 1,
    clfBass = 2,
    clfGrand = 3,
    clfAlto = 4,
    clfTenor = 5,
};

enum DialogTypes : int32_t {
    dlgScoreProperties = 0,
    dlgStaffProperties = 1,
    dlgMeasureProperties = 3,
};

enum DynamicTypes : int32_t {
    dynPPP = 184,
    dynPP = 185,
    dynP = 112,
    dynMP = 80,
    dynMF = 70,
    dynF = 102,
    dynFF = 196,
    dynFFF = 236,
};

enum EventTypes : int32_t {
    evtTimeChange = 1,
    evtKeyChange = 2,
    evtRepeatBegin = 3,
    evtRepeatEnd = 4,
    evtSectionDefine = 5,
    evtSectionGo = 6,
    evtClefChange = 7,
    evtSectionEnd = 8,
    evtScoreEnd = 9,
    evtChord = 10,
    evtTie = 11,
    evtLineEnd = 12,
    evtMeasureSize = 13,
    evtLyric = 14,
    evtDynamic = 15,
    evtTempo = 16,
    evtStaffSpace = 17,
    evtText = 18,
    evtPlayBack = 19,
};

// Internal event type at time 0 marking that staff-group brackets are set. It is stored with the
// other score-wide events but is not part of the public enumeration.
constexpr int32_t evtGroupMark = 101;

enum FileFormats : int32_t {
    fmtQuavrix = 0,
    fmtMIDI = 1,
};

enum GroupTypes : int32_t {
    grpSolo = 0,
    grpWind = 1,
    grpBrass = 2,
    grpPercussion = 3,
    grpPiano = 4,
    grpString = 5,
};

enum InstrumentCategories : int32_t {
    catSolo = 0,
    catVocal = 1,
    catWind = 2,
    catReed = 3,
    catBrass = 4,
    catString = 5,
    catGuitar = 6,
    catPercussion = 7,
    catGrand = 8,
    catDrums = 9,
};

enum MeasurementUnits : int32_t {
    uomInches = 0,
    uomMM = 1,
    uomTwips = 2,
};

enum MIDITypes : int32_t {
    midNoOp = 0,
    midAtTime = 64,
    midChannelAfterTouch = 208,
    midControlChange = 176,
    midKeyAfterTouch = 160,
    midMetaEvent = 255,
    midNoteOff = 128,
    midNoteOn = 144,
    midPitchChange = 224,
    midProgramChange = 192,
};

enum NoteDurations : int32_t {
    durSixtyFourth = 1,
    durThirtySecond = 2,
    durSixteenth = 4,
    durEighth = 8,
    durQuarter = 16,
    durHalf = 32,
    durWhole = 64,
};

enum NoteFlags : int32_t {
    nteDot = 1,
    nteDouble = 2,
    nteStacato = 4,
    nteAccent = 8,
    nteForceUp = 16,
    nteForceDown = 32,
    nteGrace = 48,
    nteBowUp = 64,
    nteBowDown = 128,
    nteTriplet = 256,
    nteTrill = 512,
    nteFermata = 1024,
    nteAccent2 = 2048,
    nteTurn = 4096,
    nteMordent = 8192,
    nteHalfMordent = 16384,
};

enum OrnamentTypes : int32_t {
    ornBowUp = 1,
    ornBowDown = 2,
    ornTrill = 4,
    ornAccent = 8,
    ornFermata = 16,
    ornStacato = 32,
    ornAccent2 = 64,
    ornTurn = 128,
    ornMordent = 256,
    ornHalfMordent = 512,
};

enum PageMargins : int32_t {
    marTop = 0,
    marBottom = 1,
    marLeft = 2,
    marRight = 3,
};

enum PageNumTypes : int32_t {
    pgnNoPageNumbers = 0,
    pgnNoPageOne = 1,
    pgnAllPages = 2,
};

enum PageOrient : int32_t {
    pgePortrait = 0,
    pgeLandscape = 1,
};

enum PageSizes : int32_t {
    pgsLeter = 0,
    pgsLegal = 1,
    pgsExecutive = 2,
    pgsA4 = 3,
    pgsA5 = 4,
    pgsCustom = 5,
};

enum ScoreFonts : int32_t {
    fntTitle = 0,
    fntSubTitle = 1,
    fntHeader = 2,
    fntComposer = 3,
    fntCopyright = 4,
};

enum SectionTypes : int32_t {
    sctEnding1 = 1,
    sctEnding2 = 2,
    sctEnding = 3,
    sctCoda = 4,
    sctSegundo = 8,
    sctToCoda = 16,
    sctToSegundo = 32,
    sctRepeatMeasure = 64,
    sctPickup = 128,
    sct8va = 256,
    sct8vb = 512,
};

enum StaffFlags : int32_t {
    stfShowStaffDesc = 1,
    stfShowInstrumentDesc = 2,
    stfPrintDynamics = 4,
    stfTranscribeKey = 8,
    stfEnforceRange = 16,
};

enum StemTypes : int32_t {
    stmForceUp = 1,
    stmForceDown = 2,
    stmReverse = 3,
    stmClearProp = 4,
    stmPropDot = 5,
    stmPropNoDot = 6,
    stmPropTrip = 7,
    stmPropNoTrip = 8,
};

enum TempoMarks : int32_t {
    tmpRitardando = 1,
    tmpRitenuto = 2,
    tmpRallentando = 3,
    tmpAccelerando = 4,
    tmpDioppioMovimento = 5,
    tmpATempo = 6,
    tmpTempoPrimo = 7,
    tmpLungaPausa = 8,
};

}  // namespace corvendi
