#include "engine/DocumentFrame.h"

#include <algorithm>

#include "common/Arith.h"
#include "corvendi/Instrument.h"
#include "corvendi/Score.h"
#include "corvendi/Staff.h"
#include "corvendi/Voice.h"
#include "engine/ScoreAccess.h"

namespace corvendi::detail {

namespace {

constexpr float kTwipsPerInch = 1440.0f;

EventValues ValuesOf(const GlobalEvent& event) {
    return {event.EventTime(), event.EventType(), event.Text(), event.Value1(), event.Value2()};
}

void SwapValues(GlobalEvent& event, EventValues& values) {
    EventValues current = ValuesOf(event);
    event.SetEventTime(values.Time);
    event.SetEventType(values.Type);
    event.SetText(std::move(values.Text));
    event.SetValue1(values.Value1);
    event.SetValue2(values.Value2);
    values = std::move(current);
}

// The stretch where `before` and `after` differ, as the splice that puts `before` back; none
// when the lists hold the same items.
template <typename T>
std::optional<Splice<T>> Difference(const std::vector<std::shared_ptr<T>>& before,
                                    const std::vector<std::shared_ptr<T>>& after) {
    const size_t shorter = std::min(before.size(), after.size());
    size_t prefix = 0;
    while (prefix < shorter && before[prefix] == after[prefix]) ++prefix;
    if (prefix == before.size() && prefix == after.size()) return std::nullopt;
    size_t suffix = 0;
    while (suffix < shorter - prefix &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
        ++suffix;
    }
    Splice<T> splice;
    splice.Start = prefix;
    splice.Length = after.size() - suffix - prefix;
    splice.Items.assign(before.begin() + static_cast<std::ptrdiff_t>(prefix),
                        before.end() - static_cast<std::ptrdiff_t>(suffix));
    return splice;
}

// Records the items whose values differ from the picture's.
template <typename T, typename V, typename ValuesFn>
void CollectValueChanges(const std::vector<std::shared_ptr<T>>& items, const std::vector<V>& before,
                         ValuesFn valuesOf, std::vector<std::pair<std::shared_ptr<T>, V>>& out) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] && !(valuesOf(*items[i]) == before[i])) out.emplace_back(items[i], before[i]);
    }
}

// Items that went back into a collection belong to its owner; items that left it no longer do.
template <typename Item, typename Access>
void Reparent(const std::vector<std::shared_ptr<Item>>& gone,
              const std::vector<std::shared_ptr<Item>>& present, DocumentOwner* owner) {
    for (const auto& item : gone) {
        if (item && Access::Parent(*item) == owner) Access::SetParent(*item, nullptr);
    }
    for (const auto& item : present) {
        if (item) Access::SetParent(*item, owner);
    }
}

template <typename T>
std::vector<std::shared_ptr<T>> Stretch(const std::vector<std::shared_ptr<T>>& list, size_t start,
                                        size_t length) {
    return {list.begin() + static_cast<std::ptrdiff_t>(start),
            list.begin() + static_cast<std::ptrdiff_t>(start + length)};
}

}  // namespace

template <typename T>
void Splice<T>::Toggle(std::vector<std::shared_ptr<T>>& list) {
    // A list changed behind the history's back is left alone rather than cut wrongly.
    if (Start + Length > list.size()) return;
    auto leaving = Stretch(list, Start, Length);
    const auto first = list.begin() + static_cast<std::ptrdiff_t>(Start);
    list.erase(first, first + static_cast<std::ptrdiff_t>(Length));
    list.insert(list.begin() + static_cast<std::ptrdiff_t>(Start), Items.begin(), Items.end());
    Length = Items.size();
    Items = std::move(leaving);
}

// --- the picture ------------------------------------------------------------------------------

DocumentFrame::DocumentFrame(Score& score)
    : mSettings(ScoreAccess::Settings(score)),
      mStaffs(score.AllStaffs()),
      mVoices(score.AllVoices()),
      mInstruments(score.AllInstruments()) {
    if (mStaffs) mStaffList = StaffsAccess::Items(*mStaffs);
    if (mVoices) mVoiceList = VoicesAccess::Items(*mVoices);
    if (mInstruments) mInstrumentList = InstrumentsAccess::Items(*mInstruments);
    for (const auto& staff : mStaffList) mStaffValues.push_back(StaffAccess::Values(*staff));
    for (const auto& voice : mVoiceList) mVoiceValues.push_back(VoiceAccess::Values(*voice));
    for (const auto& instrument : mInstrumentList) {
        mInstrumentValues.push_back(InstrumentAccess::Values(*instrument));
    }
    if (const auto globals = score.AllGlobals()) mEvents.push_back(Picture(globals));
    for (const auto& staff : mStaffList) {
        const auto events = staff->GlobalEvents();
        const bool seen = std::any_of(mEvents.begin(), mEvents.end(), [&](const auto& picture) {
            return picture.Events == events;
        });
        if (events && !seen) mEvents.push_back(Picture(events));
    }
}

DocumentFrame::EventsPicture DocumentFrame::Picture(const std::shared_ptr<GlobalEvents>& events) {
    EventsPicture picture;
    picture.Events = events;
    picture.TimeList = GlobalEventsAccess::TimeItems(*events);
    picture.OtherList = GlobalEventsAccess::OtherItems(*events);
    for (const auto& event : picture.TimeList) picture.TimeValues.push_back(ValuesOf(*event));
    for (const auto& event : picture.OtherList) picture.OtherValues.push_back(ValuesOf(*event));
    picture.Pulse = GlobalEventsAccess::StoredPulse(*events);
    return picture;
}

// --- the differences --------------------------------------------------------------------------

FrameChanges DocumentFrame::ChangesSince(Score& score) const {
    FrameChanges changes;
    if (!(ScoreAccess::Settings(score) == mSettings)) {
        changes.mSettings = std::make_unique<ScoreSettings>(mSettings);
    }
    // Collections replaced as a whole show in the settings; these are the ones pictured.
    if (mStaffs) {
        changes.mStaffs = mStaffs;
        changes.mStaffList = Difference(mStaffList, StaffsAccess::Items(*mStaffs));
    }
    if (mVoices) {
        changes.mVoices = mVoices;
        changes.mVoiceList = Difference(mVoiceList, VoicesAccess::Items(*mVoices));
    }
    if (mInstruments) {
        changes.mInstruments = mInstruments;
        changes.mInstrumentList =
            Difference(mInstrumentList, InstrumentsAccess::Items(*mInstruments));
    }
    CollectValueChanges(mStaffList, mStaffValues, StaffAccess::Values, changes.mStaffValues);
    CollectValueChanges(mVoiceList, mVoiceValues, VoiceAccess::Values, changes.mVoiceValues);
    CollectValueChanges(mInstrumentList, mInstrumentValues, InstrumentAccess::Values,
                        changes.mInstrumentValues);
    for (const auto& picture : mEvents) {
        if (auto change = EventsChanges(picture)) changes.mEvents.push_back(std::move(*change));
    }
    return changes;
}

// The pulse is worked out and kept on first use; only a change between two known pulses is an
// edit.
std::optional<FrameChanges::EventsChange> DocumentFrame::EventsChanges(
    const EventsPicture& before) {
    GlobalEvents& events = *before.Events;
    FrameChanges::EventsChange change;
    change.Events = before.Events;
    change.TimeList = Difference(before.TimeList, GlobalEventsAccess::TimeItems(events));
    change.OtherList = Difference(before.OtherList, GlobalEventsAccess::OtherItems(events));
    CollectValueChanges(before.TimeList, before.TimeValues, ValuesOf, change.Values);
    CollectValueChanges(before.OtherList, before.OtherValues, ValuesOf, change.Values);
    const int32_t pulse = GlobalEventsAccess::StoredPulse(events);
    if (before.Pulse != 0 && pulse != 0 && pulse != before.Pulse) change.Pulse = before.Pulse;
    if (!change.TimeList && !change.OtherList && change.Values.empty() && !change.Pulse) {
        return std::nullopt;
    }
    return change;
}

bool FrameChanges::Empty() const {
    return !mSettings && !mStaffList && !mVoiceList && !mInstrumentList && mStaffValues.empty() &&
           mVoiceValues.empty() && mInstrumentValues.empty() && mEvents.empty();
}

// --- swapping -----------------------------------------------------------------------------------

void FrameChanges::Toggle(Score& score) {
    if (mSettings) ScoreAccess::SwapSettings(score, *mSettings);
    if (mStaffList && mStaffs) {
        auto& list = StaffsAccess::Items(*mStaffs);
        mStaffList->Toggle(list);
        Reparent<Staff, StaffAccess>(mStaffList->Items, {}, StaffsAccess::Parent(*mStaffs));
        StaffsAccess::Adopt(*mStaffs);
    }
    if (mVoiceList && mVoices) {
        mVoiceList->Toggle(VoicesAccess::Items(*mVoices));
        Reparent<Voice, VoiceAccess>(mVoiceList->Items, VoicesAccess::Items(*mVoices),
                                     VoicesAccess::Parent(*mVoices));
    }
    if (mInstrumentList && mInstruments) {
        mInstrumentList->Toggle(InstrumentsAccess::Items(*mInstruments));
        Reparent<Instrument, InstrumentAccess>(mInstrumentList->Items,
                                               InstrumentsAccess::Items(*mInstruments),
                                               InstrumentsAccess::Parent(*mInstruments));
    }
    for (auto& [staff, values] : mStaffValues) StaffAccess::SwapValues(*staff, values);
    for (auto& [voice, values] : mVoiceValues) VoiceAccess::SwapValues(*voice, values);
    for (auto& [instrument, values] : mInstrumentValues) {
        InstrumentAccess::SwapValues(*instrument, values);
    }
    for (auto& change : mEvents) {
        GlobalEvents& events = *change.Events;
        for (auto& [event, values] : change.Values) SwapValues(*event, values);
        if (change.TimeList) change.TimeList->Toggle(GlobalEventsAccess::TimeItems(events));
        if (change.OtherList) change.OtherList->Toggle(GlobalEventsAccess::OtherItems(events));
        if (change.Pulse) {
            const int32_t pulse = GlobalEventsAccess::StoredPulse(events);
            GlobalEventsAccess::StoredPulseSet(events, *change.Pulse);
            change.Pulse = pulse;
        }
        GlobalEventsAccess::Renumber(events);
    }
}

// --- the score's settings -----------------------------------------------------------------------

ScoreSettings ScoreAccess::Settings(const Score& s) {
    const ScoreState& state = *s.mState;
    ScoreSettings v;
    v.Title = s.mTitle;
    v.SubTitle = s.mSubTitle;
    v.Heading = s.mHeading;
    v.Composer = s.mComposer;
    v.ArrangedBy = s.mArrangedBy;
    v.Copyright = s.mCopyright;
    v.Beat = s.mBeat;
    v.Count = s.mCount;
    v.Metronome = s.mMetronome;
    v.Capo = s.mCapo;
    v.UseCapo = s.mUseCapo;
    v.UseChords = s.mUseChords;
    v.UseChordMaps = s.mUseChordMaps;
    v.ReverseEvenOdd = s.mReverseEvenOdd;
    v.Key = s.mKey;
    v.MinorVal = s.mMinorVal;
    v.NumberMeasures = s.mNumberMeasures;
    v.NumberMeasuresBy = s.mNumberMeasuresBy;
    v.NumberPos = s.mNumberPos;
    v.PageNums = s.mPageNums;
    v.PageOrientation = s.mPageOrientation;
    v.PageSize = s.mPageSize;
    v.PageWidthIn = s.mPageWidthIn;
    v.PageHeightIn = s.mPageHeightIn;
    v.Margins = s.mMargins;
    v.StaffHeight = s.mStaffHeight;
    v.StaffSpace = s.mStaffSpace;
    v.SystemSpace = s.mSystemSpace;
    v.PageWidthTw = state.PageWidthTw;
    v.PageHeightTw = state.PageHeightTw;
    v.MarginsTw = state.MarginsTw;
    v.StaffSpaceTw = state.StaffSpaceTw;
    v.SystemSpaceTw = state.SystemSpaceTw;
    for (size_t i = 0; i < ScoreSettings::kFonts; ++i) {
        const auto& font = s.mFonts[i];
        if (!font) continue;
        v.Fonts[i].Object = font;
        if (i >= ScoreSettings::kTextFonts) continue;
        v.Fonts[i] = {font,         font->Name(),   font->Size(),
                      font->Bold(), font->Italic(), font->Underline()};
    }
    v.StaffList = s.mStaffs;
    v.VoiceList = s.mVoices;
    v.InstrumentList = s.mInstruments;
    v.Globals = s.mGlobals;
    return v;
}

void ScoreAccess::SwapSettings(Score& s, ScoreSettings& settings) {
    ScoreSettings current = Settings(s);
    const ScoreSettings& v = settings;
    s.mTitle = v.Title;
    s.mSubTitle = v.SubTitle;
    s.mHeading = v.Heading;
    s.mComposer = v.Composer;
    s.mArrangedBy = v.ArrangedBy;
    s.mCopyright = v.Copyright;
    s.mBeat = v.Beat;
    s.mCount = v.Count;
    s.mMetronome = v.Metronome;
    s.mCapo = v.Capo;
    s.mUseCapo = v.UseCapo;
    s.mUseChords = v.UseChords;
    s.mUseChordMaps = v.UseChordMaps;
    s.mReverseEvenOdd = v.ReverseEvenOdd;
    s.mKey = v.Key;
    s.mMinorVal = v.MinorVal;
    s.mNumberMeasures = v.NumberMeasures;
    s.mNumberMeasuresBy = v.NumberMeasuresBy;
    s.mNumberPos = v.NumberPos;
    s.mPageNums = v.PageNums;
    s.mPageOrientation = v.PageOrientation;
    s.mPageSize = v.PageSize;
    s.mPageWidthIn = v.PageWidthIn;
    s.mPageHeightIn = v.PageHeightIn;
    s.mMargins = v.Margins;
    s.mStaffSpace = v.StaffSpace;
    s.mSystemSpace = v.SystemSpace;
    ScoreState& state = *s.mState;
    if (s.mStaffHeight != v.StaffHeight) {
        s.mStaffHeight = v.StaffHeight;
        state.StaffHeightTw = NInt(v.StaffHeight * kTwipsPerInch);
        UpdateBeamMetrics(s);
    }
    state.PageWidthTw = v.PageWidthTw;
    state.PageHeightTw = v.PageHeightTw;
    state.MarginsTw = v.MarginsTw;
    state.StaffSpaceTw = v.StaffSpaceTw;
    state.SystemSpaceTw = v.SystemSpaceTw;
    for (size_t i = 0; i < ScoreSettings::kFonts; ++i) {
        const FontValues& font = v.Fonts[i];
        if (!font.Object) continue;
        s.mFonts[i] = font.Object;
        if (i >= ScoreSettings::kTextFonts) continue;
        font.Object->SetName(font.Name);
        font.Object->SetSize(font.Size);
        font.Object->SetBold(font.Bold);
        font.Object->SetItalic(font.Italic);
        font.Object->SetUnderline(font.Underline);
    }
    if (v.StaffList != s.mStaffs) s.SetAllStaffs(v.StaffList);
    if (v.VoiceList != s.mVoices) s.SetAllVoices(v.VoiceList);
    if (v.InstrumentList != s.mInstruments) s.SetAllInstruments(v.InstrumentList);
    if (v.Globals && v.Globals != s.mGlobals) {
        if (s.mGlobals && GlobalEventsAccess::Parent(*s.mGlobals) == &s)
            GlobalEventsAccess::SetParent(*s.mGlobals, nullptr);
        s.mGlobals = v.Globals;
        GlobalEventsAccess::SetParent(*s.mGlobals, &s);
    }
    ApplyPageSizeToWindow(s);
    settings = std::move(current);
}

}  // namespace corvendi::detail
