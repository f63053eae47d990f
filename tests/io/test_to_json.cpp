// The document dump: every stored property of a score appears under its key with its value.
#include <gmock/gmock.h>

#include "corvendi/Enums.h"
#include "corvendi/Font.h"
#include "corvendi/GlobalEvents.h"
#include "corvendi/Instrument.h"
#include "corvendi/Staff.h"
#include "corvendi/ToJson.h"
#include "corvendi/Voice.h"
#include "engine/ScoreTestSupport.h"

namespace corvendi::test {
namespace {

using ::testing::HasSubstr;
using ToJsonTest = ScoreTest;

// Every host-settable property of the document away from its default.
void SetEveryProperty(Score& s) {
    s.SetTitle("T \"quoted\"");
    s.SetSubTitle("Sub");
    s.SetHeading("Head");
    s.SetComposer("Comp");
    s.SetArrangedBy("Arr");
    s.SetCopyright(0, "C0");
    s.SetCopyright(1, "C1");
    s.SetCount(96);
    s.SetBeat(durEighth);
    s.SetMetronome(false);
    s.SetKey(-3);
    s.SetMinor(true);
    s.SetCapo(5);
    s.SetUseCapo(true);
    s.SetUseChordMaps(true);
    s.SetPageSize(pgsLegal);
    s.SetPageOrientation(pgeLandscape);
    s.SetMargins(marTop, 0.75f);
    s.SetMargins(marBottom, 0.5f);
    s.SetMargins(marLeft, 1.25f);
    s.SetMargins(marRight, 1.5f);
    s.SetStaffHeight(0.375f);
    s.SetStaffSpace(0.625f);
    s.SetSystemSpace(0.875f);
    s.SetPageNums(pgnAllPages);
    s.SetReverseEvenOdd(true);
    s.SetNumberMeasures(true);
    s.SetNumberMeasuresBy(4);
    s.SetNumberPos(1);
    const auto font = s.Fonts(fntComposer);
    font->SetName("Serif");
    font->SetSize(13.5f);
    font->SetBold(true);
    font->SetItalic(true);
    font->SetUnderline(true);
    s.AllGlobals()->SetDftTimeVal(3 * 128 + 16);
    s.AllGlobals()->SetPulseValue(8);
    s.AllGlobals()->Add(16, evtText, 1, 2, "words");

    const auto staff = s.Staff(1);
    staff->SetDescription("Flute");
    staff->SetDefaultClef(clfBass);
    staff->SetScalePct(75);
    staff->SetMute(true);
    staff->SetVisible(false);
    staff->GlobalEvents()->Add(48, evtClefChange, clfTreble);
    const auto voice = staff->Voice(1);
    voice->SetDescription("Melody");
    voice->Instrument()->SetDrumCode(2, 38);
    voice->Instrument()->SetDrumValue(2, 40);
    s.AddNote(1, 0, 60, durQuarter, 0);
    s.AddNote(1, 0, 64, durQuarter, 0);
}

TEST_F(ToJsonTest, EveryStoredPropertyIsDumpedUnderItsKey) {
    NewScore();
    score->CreateDefault();
    SetEveryProperty(*score);
    const std::string json = ToJson(*score);

    for (const char* expected :
         {R"("title":"T \"quoted\"")", R"("subTitle":"Sub")", R"("heading":"Head")",
          R"("composer":"Comp")", R"("arrangedBy":"Arr")", R"("copyright":["C0","C1"])",
          R"("count":96)", R"("beat":8)", R"("metronome":false)", R"("key":-3)", R"("minor":true)",
          R"("capo":5)", R"("useCapo":true)", R"("useChords":true)", R"("useChordMaps":true)",
          R"("pageSize":1)", R"("pageOrientation":1)",
          // Landscape legal paper: 14 inches across, 8.5 down.
          R"("pageWidth":14,"pageHeight":8.5)",
          R"("margins":{"top":0.75,"bottom":0.5,"left":1.25,"right":1.5})",
          R"("staffHeight":0.375,"staffSpace":0.625,"systemSpace":0.875)", R"("pageNums":2)",
          R"("reverseEvenOdd":true)", R"("numberMeasures":true)", R"("numberMeasuresBy":4)",
          R"("numberPos":1)",
          R"({"name":"Serif","size":13.5,"bold":true,"italic":true,"underline":true})",
          R"("pulse":8)", R"("defaultTimeValue":400)", R"({"time":16,"type":)",
          R"("value1":1,"value2":2,"text":"words"})",
          R"("drumMap":[{"code":0,"value":0},{"code":38,"value":40},)",
          R"("description":"Flute","defaultClef":)", R"("scalePct":75)",
          R"("visible":false,"mute":true)", R"({"time":48,"type":)", R"("description":"Melody")",
          R"("notes":[{"time":0,"duration":16,"flags":0,"values":[60,64]}])", R"("lastPage":)"}) {
        EXPECT_THAT(json, HasSubstr(expected));
    }
}

TEST_F(ToJsonTest, ControlCharactersAreEscaped) {
    NewScore();
    score->CreateDefault();
    score->SetTitle("a\tb\x01");
    EXPECT_THAT(ToJson(*score), HasSubstr(R"("title":"a\tb\u0001")"));
}

}  // namespace
}  // namespace corvendi::test
