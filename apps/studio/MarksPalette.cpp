#include "MarksPalette.h"

#include <corvendi/ChordList.h>
#include <corvendi/Enums.h>

#include <vector>

namespace corvendi::studio {

namespace {

struct Value {
    const char* Label;
    int32_t SubType;
};

struct Mark {
    const char* Label;
    int32_t EventType;
    std::vector<Value> Values;
    bool ViaMeasureProperties = false;
    bool TakesText = false;
};

std::vector<Value> Keys() {
    std::vector<Value> keys;
    static const char* const kNames[] = {"7 flats",  "6 flats",  "5 flats",  "4 flats",
                                         "3 flats",  "2 flats",  "1 flat",   "No sharps or flats",
                                         "1 sharp",  "2 sharps", "3 sharps", "4 sharps",
                                         "5 sharps", "6 sharps", "7 sharps"};
    for (int32_t key = -7; key <= 7; ++key) keys.push_back({kNames[key + 7], key});
    return keys;
}

const std::vector<Mark>& Marks() {
    static const std::vector<Mark> marks = {
        {"Notes", 0, {}},
        {"Dynamic",
         evtDynamic,
         {{"ppp", dynPPP},
          {"pp", dynPP},
          {"p", dynP},
          {"mp", dynMP},
          {"mf", dynMF},
          {"f", dynF},
          {"ff", dynFF},
          {"fff", dynFFF}}},
        {"Chord", evtChord, {}},
        {"Key Change", evtKeyChange, Keys()},
        {"Clef Change",
         evtClefChange,
         {{"Treble", clfTreble},
          {"Bass", clfBass},
          {"Alto", clfAlto},
          {"Tenor", clfTenor},
          {"Percussion", clfPercussion}}},
        {"Tempo Mark",
         evtTempo,
         {{"ritardando", tmpRitardando},
          {"ritenuto", tmpRitenuto},
          {"rallentando", tmpRallentando},
          {"accelerando", tmpAccelerando},
          {"doppio movimento", tmpDioppioMovimento},
          {"a tempo", tmpATempo},
          {"tempo primo", tmpTempoPrimo},
          {"lunga pausa", tmpLungaPausa}}},
        {"Repeat Begin", evtRepeatBegin, {}},
        {"Repeat End", evtRepeatEnd, {}},
        {"Section End", evtSectionEnd, {}},
        {"Score End", evtScoreEnd, {}},
        {"Line End", evtLineEnd, {}},
        {"Octave Line", evtSectionDefine, {{"8va", sct8va}, {"8vb", sct8vb}}},
        {"Repeat Measure", evtSectionDefine, {{"Repeat the previous measure", sctRepeatMeasure}}},
        {"Measure Width", evtMeasureSize, {{"Wider", 2}, {"Narrower", -2}}},
        {"Staff Spacing", evtStaffSpace, {{"More space", 2}, {"Less space", -2}}},
        {"Text", evtText, {}, false, true},
        {"Time Signature…", evtTimeChange, {}, true},
        {"Endings…", evtSectionDefine, {}, true},
        {"Coda…", evtSectionDefine, {}, true},
        {"Segno…", evtSectionDefine, {}, true},
    };
    return marks;
}

std::vector<Glib::ustring> LabelsOf(const std::vector<Value>& values) {
    std::vector<Glib::ustring> labels;
    for (const Value& value : values) labels.emplace_back(value.Label);
    return labels;
}

// The chord mapper's chords as the palette lists them.
class ChordNames : public ChordList {
  public:
    ChordNames(std::vector<std::string>& names, std::vector<int32_t>& codes)
        : mNames(names), mCodes(codes) {}
    void Clear() override {
        mNames.clear();
        mCodes.clear();
    }
    void AddItem(const std::string& text) override {
        mNames.push_back(text);
        mCodes.push_back(0);
    }
    void SetItemData(int32_t index, int32_t code) override {
        if (index >= 0 && static_cast<size_t>(index) < mCodes.size())
            mCodes[static_cast<size_t>(index)] = code;
    }

  private:
    std::vector<std::string>& mNames;
    std::vector<int32_t>& mCodes;
};

}  // namespace

MarksPalette::MarksPalette() : Gtk::Box(Gtk::Orientation::HORIZONTAL, 6) {
    set_margin(4);
    std::vector<Glib::ustring> labels;
    for (const Mark& mark : Marks()) labels.emplace_back(mark.Label);
    mMark.set_model(Gtk::StringList::create(labels));
    mMark.set_tooltip_text("What a click on the page places");
    mText.set_placeholder_text("Text to place");
    mText.set_width_chars(16);
    append(*Gtk::make_managed<Gtk::Label>("Marks:"));
    append(mMark);
    append(mValue);
    append(mText);
    mMark.property_selected().signal_changed().connect([this] { ShowValues(); });
    ShowValues();
}

void MarksPalette::LoadChords(const Score& score) {
    const std::vector<std::string> before = mChordNames;
    ChordNames names(mChordNames, mChordCodes);
    score.LoadChordList(names);
    if (IsChordMark() && mChordNames != before) ShowValues();
}

bool MarksPalette::IsChordMark() const {
    const guint index = mMark.get_selected();
    return index < Marks().size() && Marks()[index].EventType == evtChord;
}

void MarksPalette::ShowValues() {
    const guint index = mMark.get_selected();
    const Mark& mark = Marks()[index < Marks().size() ? index : 0];
    std::vector<Glib::ustring> labels = LabelsOf(mark.Values);
    if (IsChordMark()) labels.assign(mChordNames.begin(), mChordNames.end());
    mValue.set_model(Gtk::StringList::create(labels));
    mValue.set_selected(0);
    mValue.set_visible(!labels.empty());
    mText.set_visible(mark.TakesText);
}

MarkChoice MarksPalette::Choice() const {
    const guint index = mMark.get_selected();
    if (index >= Marks().size()) return {};
    const Mark& mark = Marks()[index];
    MarkChoice choice;
    choice.EventType = mark.EventType;
    choice.ViaMeasureProperties = mark.ViaMeasureProperties;
    const guint value = mValue.get_selected();
    if (value < mark.Values.size()) choice.SubType = mark.Values[value].SubType;
    if (IsChordMark() && value < mChordCodes.size()) choice.SubType = mChordCodes[value];
    if (mark.TakesText) choice.Text = mText.get_text();
    return choice;
}

bool MarksPalette::Choose(const std::string& mark, const std::string& value) {
    for (size_t m = 0; m < Marks().size(); ++m) {
        if (mark != Marks()[m].Label) continue;
        mMark.set_selected(static_cast<guint>(m));
        if (value.empty()) return true;
        if (IsChordMark()) {
            for (size_t c = 0; c < mChordNames.size(); ++c) {
                if (value != mChordNames[c]) continue;
                mValue.set_selected(static_cast<guint>(c));
                return true;
            }
            return false;
        }
        const std::vector<Value>& values = Marks()[m].Values;
        for (size_t v = 0; v < values.size(); ++v) {
            if (value != values[v].Label) continue;
            mValue.set_selected(static_cast<guint>(v));
            return true;
        }
        return false;
    }
    return false;
}

}  // namespace corvendi::studio
