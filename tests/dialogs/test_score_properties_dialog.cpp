// The Score Properties dialog as a user works it, opened through Score::ShowDialog.
#include "corvendi/ChordLibrary.h"
#include "corvendi/ChordMapper.h"
#include "corvendi/RecordingSurface.h"
#include "corvendi/dialogs/ScorePropertiesDialog.h"
#include "engine/MeasureTestSupport.h"
#include "model/SharedRoutines.h"

namespace corvendi::test {
namespace {

// Answers like the scripted presenter and keeps what the dialog showed when it opened.
class SnapshotPresenter : public ScriptedPresenter {
  public:
    void Present(Dialog& dialog) override {
        shown = dialog.Controls();
        left = dialog.Left();
        top = dialog.Top();
        ScriptedPresenter::Present(dialog);
        after = dialog.Controls();
    }
    static std::string Text(const std::vector<DialogControl>& controls, std::string_view name) {
        for (const auto& control : controls) {
            if (control.Name == name)
                return control.Kind == ControlKind::List ? std::to_string(control.ListIndex)
                                                         : control.Text;
        }
        return "<none>";
    }
    static bool Value(const std::vector<DialogControl>& controls, std::string_view name) {
        for (const auto& control : controls) {
            if (control.Name == name) return control.Value;
        }
        return false;
    }

    std::vector<DialogControl> shown;
    std::vector<DialogControl> after;
    int32_t left = 0;
    int32_t top = 0;
};

class ScoreProperties : public MeasureTest {
  protected:
    void SetUp() override {
        MeasureTest::SetUp();
        snapshot = std::make_shared<SnapshotPresenter>();
        Headless().SetDialogPresenter(snapshot);
        NewScore();
        score->CreateDefault();
    }

    // Opens the dialog and answers it with the text form of an answer.
    void Show(const std::string& answer) {
        auto parsed = DialogAnswer::Parse(answer);
        ASSERT_TRUE(parsed) << answer;
        snapshot->Queue(*parsed);
        score->ShowDialog(dlgScoreProperties);
        EXPECT_EQ(snapshot->Problems(), std::vector<std::string>{});
    }
    std::string Shown(std::string_view name) const {
        return SnapshotPresenter::Text(snapshot->shown, name);
    }
    std::string After(std::string_view name) const {
        return SnapshotPresenter::Text(snapshot->after, name);
    }

    // A second default score, for the dump the dialog's edits should give.
    std::shared_ptr<Score> Expected() {
        auto expected = Score::Create();
        expected->CreateDefault();
        return expected;
    }

    std::shared_ptr<SnapshotPresenter> snapshot;
};

TEST_F(ScoreProperties, OpensCentredShowingTheScoresValues) {
    score->SetPageOrientation(pgeLandscape);
    score->SetPageSize(pgsA4);
    score->SetMargins(marTop, 1.0f);
    score->SetMinor(true);
    score->SetKey(-3);
    score->SetNumberMeasures(true);
    score->SetNumberMeasuresBy(5);
    score->SetNumberPos(2);
    score->SetPageNums(pgnNoPageOne);
    score->AllGlobals()->SetDftTimeVal(7 * 128 + 8);  // 7/8
    score->SetBeat(32);
    score->SetCount(90);
    score->SetCapo(3);
    score->SetUseCapo(true);
    score->SetTitle("Étude");
    score->SetUOM(uomMM);
    score->SetChanged(false);
    Show("Cancel");

    EXPECT_EQ(snapshot->left, (1920 * 15 - ScorePropertiesDialog().Width()) / 2 / 15 * 15);
    EXPECT_EQ(snapshot->top, (1080 * 15 - ScorePropertiesDialog().Height()) * 42 / 100 / 15 * 15);
    // A4 in landscape, in millimetres, locked as a named size.
    EXPECT_EQ(Shown("cboPage"), "3");
    EXPECT_EQ(Shown("txtPage(0)"), "296.7mm");
    EXPECT_EQ(Shown("txtPage(1)"), "209.9mm");
    EXPECT_TRUE(SnapshotPresenter::Value(snapshot->shown, "optPage(1)"));
    EXPECT_EQ(Shown("txtMargin(0)"), "25.4mm");
    // C minor, three flats, in the minor list.
    EXPECT_TRUE(SnapshotPresenter::Value(snapshot->shown, "chkMajMin"));
    EXPECT_EQ(Shown("cboMinor"), "4");
    EXPECT_EQ(Shown("cboMajor"), "4");
    EXPECT_TRUE(SnapshotPresenter::Value(snapshot->shown, "optNumber(0)"));
    EXPECT_EQ(Shown("txtNumber"), "5");
    EXPECT_TRUE(SnapshotPresenter::Value(snapshot->shown, "optPos(2)"));
    EXPECT_TRUE(SnapshotPresenter::Value(snapshot->shown, "chkPage(1)"));
    // 7/8 is no option of its own: the free entry shows it, and a pulse per eighth.
    EXPECT_TRUE(SnapshotPresenter::Value(snapshot->shown, "optTime(9)"));
    EXPECT_EQ(Shown("txtTime(0)"), "7");
    EXPECT_EQ(Shown("txtTime(1)"), "8");
    EXPECT_EQ(Shown("txtPulse"), "7");
    EXPECT_EQ(Shown("pctTempo"), "h");
    EXPECT_EQ(Shown("txtTempo"), "90");
    EXPECT_EQ(Shown("txtCapo"), "3");
    EXPECT_EQ(Shown("txtTitle(0)"), "Étude");
    EXPECT_FALSE(score->Changed());

    // A place given in twips is taken as it is; another dialog number opens nothing.
    snapshot->Queue(*DialogAnswer::Parse("Cancel"));
    score->ShowDialog(dlgScoreProperties, 300, 451);
    EXPECT_EQ(snapshot->left, 300);
    EXPECT_EQ(snapshot->top, 451);
    score->ShowDialog(2);
    EXPECT_EQ(snapshot->Presented().size(), 2u);
}

TEST_F(ScoreProperties, ChangesReachTheScoreOnlyThroughOkOrApply) {
    const std::string before = ToJson(*score);
    Show("txtTitle(0)=Air; txtMargin(0)=2cm; optTime(2); chkNumber=1; Cancel");
    EXPECT_EQ(ToJson(*score), before);
    Show("Ok");
    EXPECT_EQ(ToJson(*score), before);
    EXPECT_EQ(events->Count("ChangeNotify true"), 0u);

    Show("txtTitle(0)=Air; txtMargin(0)=2cm; optTime(2); chkNumber=1; cboMajor=G - 1 sharp; Ok");
    auto expected = Expected();
    expected->SetTitle("Air");
    expected->SetMargins(marTop, 0.79f);
    expected->AllGlobals()->SetDftTimeVal(528);
    expected->SetNumberMeasures(true);
    expected->SetNumberMeasuresBy(0);  // "First on each line", as the dialog opened
    expected->SetKey(1);
    EXPECT_EQ(ToJson(*score), ToJson(*expected));
    // The host hears of the change once, after the dialog closed.
    EXPECT_EQ(events->Count("ChangeNotify true"), 1u);
    EXPECT_EQ(events->Count("ChangeNotify false"), 0u);

    // The whole "Ok" is one step back.
    score->Undo();
    EXPECT_EQ(ToJson(*score), before);
    EXPECT_FALSE(score->CanUndo());
}

TEST_F(ScoreProperties, ApplyWritesAtOnceAndCancelKeepsWhatWasApplied) {
    Show("txtComposer(0)=Bach; cmdApply; txtComposer(0)=Händel; Cancel");
    EXPECT_EQ(score->Composer(), "Bach");
    // The arrows are an edit too.
    Show("chkNumber=1; Every; cmdApply; updNumber=2; cmdApply; Cancel");
    EXPECT_EQ(score->NumberMeasuresBy(), 2);  // from the empty box: 1, then 2
}

TEST_F(ScoreProperties, FreeTimePulseAndCapoAreCorrectedOnWriting) {
    Show("optTime(9); txtTime(0)=17; txtTime(1)=3; txtPulse=0; chkChords(0)=1; chkCapo=1; Ok");
    EXPECT_EQ(score->AllGlobals()->DftTimeVal(), 4 * 128 + 16);
    EXPECT_EQ(After("txtTime(0)"), "4");
    EXPECT_EQ(After("txtTime(1)"), "4");
    EXPECT_EQ(After("txtPulse"), "1");
    EXPECT_EQ(score->AllGlobals()->PulseValue(), 64);
    EXPECT_FALSE(score->UseCapo());

    Show("optTime(9); txtTime(0)=0; txtTime(1)=16; chkCapo=1; txtCapo=2; Ok");
    EXPECT_EQ(score->AllGlobals()->DftTimeVal(), 4 * 128 + 4);
    EXPECT_EQ(After("txtTime(0)"), "4");
    EXPECT_TRUE(score->UseCapo());
    EXPECT_EQ(score->Capo(), 2);
}

TEST_F(ScoreProperties, ANamedPageSizeFillsTheLockedBoxesTurnedWithTheOrientation) {
    Show("cboPage=A4 (8.27 x 11.69); Landscape; Landscape; Ok");
    EXPECT_EQ(After("txtPage(0)"), "11.69\"");
    EXPECT_EQ(After("txtPage(1)"), "8.27\"");
    EXPECT_EQ(score->PageSize(), pgsA4);
    EXPECT_EQ(score->PageOrientation(), pgeLandscape);
    EXPECT_FLOAT_EQ(score->PageWidth(), 11.69f);

    Show("cboPage=Custom; txtPage(0)=20 cm; txtPage(1)=12 inch; Ok");
    EXPECT_EQ(score->PageSize(), pgsCustom);
    EXPECT_FLOAT_EQ(score->PageWidth(), 7.87f);
    EXPECT_FLOAT_EQ(score->PageHeight(), 12.0f);
}

TEST_F(ScoreProperties, ALengthThatCannotBeReadKeepsThePreviousValue) {
    const float margins[] = {score->Margins(0), score->Margins(1), score->Margins(2)};
    const float staffHeight = score->StaffHeight();
    Show("txtMargin(0)=abc; txtMargin(1)=1e99 in; txtMargin(2)=-5 cm; txtDimension(0)=" +
         std::string(10000, '9') + "; txtMargin(3)=; Ok");
    EXPECT_EQ(score->Margins(0), margins[0]);
    EXPECT_EQ(score->Margins(1), margins[1]);
    EXPECT_EQ(score->Margins(2), margins[2]);
    EXPECT_EQ(score->StaffHeight(), staffHeight);
    EXPECT_EQ(After("txtMargin(0)"), FormatMeasure(uomInches, margins[0], uomInches));
}

TEST_F(ScoreProperties, GarbageInEveryTextBoxLeavesAScoreThatLaysOut) {
    score->SetWindow(std::make_shared<RecordingSurface>(SurfaceKind::Window));
    const ScorePropertiesDialog form;
    for (const std::string& garbage :
         std::vector<std::string>{"abc", "-5 cm", "1e99 in", "", std::string(10000, '7')}) {
        std::string answer = "optTime(9); chkNumber=1; Every; chkChords(0)=1; chkCapo=1; ";
        for (const auto& control : form.Controls()) {
            if (control.Kind == ControlKind::TextBox) answer += control.Name + "=" + garbage + "; ";
        }
        Show(answer + "Ok");
        while (score->Paginating() && Headless().ProcessPendingEvents()) {
        }
        EXPECT_FALSE(score->Paginating()) << garbage.substr(0, 10);
        EXPECT_GE(score->Margins(marTop), 0.0f);
        EXPECT_LE(score->PageWidth(), 100.0f);
        EXPECT_FALSE(ToJson(*score).empty());
    }
}

TEST_F(ScoreProperties, AFontAnswerReachesTheScoresFont) {
    const std::string before = ToJson(*score);
    Show("cmdFont(1)=Serif, 18, bold, italic; cmdFont(0); Ok");
    EXPECT_EQ(score->Fonts(fntSubTitle)->Name(), "Serif");
    EXPECT_EQ(score->Fonts(fntSubTitle)->Size(), 18.0f);
    EXPECT_TRUE(score->Fonts(fntSubTitle)->Bold());
    // The title's chooser was cancelled: its font is unchanged.
    EXPECT_EQ(score->Fonts(fntTitle)->Name(), Expected()->Fonts(fntTitle)->Name());
    EXPECT_TRUE(score->Changed());
    score->Undo();
    EXPECT_EQ(ToJson(*score), before);
}

// The C major diagram as the score's chord map draws it.
std::string DrawnC(const ChordMapper& map) {
    const auto& library = dynamic_cast<const ChordLibrary&>(map);
    RecordingSurface surface;
    library.DrawInKey(surface, 1000, 3000, *library.Vocabulary().CodeOfName("C"), 0, true, 0, "",
                      0);
    return surface.Transcript();
}

TEST_F(ScoreProperties, TheChordMapperEditsFingeringsThatOkGivesTheScoresMap) {
    auto& map = *score->ChordMapper();
    const std::string open = DrawnC(map);
    const std::string dump = ToJson(*score);
    score->SetChanged(false);

    // The list starts on C; a chosen chord shows its fingering, Remove clears it; Cancel.
    Show("cboChord=G; cboChord=C; Remove; Cancel");
    EXPECT_EQ(Shown("txtFrets"), "x32010");
    EXPECT_EQ(After("txtFrets"), "");
    EXPECT_EQ(DrawnC(map), open);
    EXPECT_FALSE(score->Changed());

    // Frets that cannot be read change nothing; a barre at the third fret, Ok.
    Show("cboChord=C; txtFrets=x3555; txtFrets=x,3,5,5,5,3; Ok");
    EXPECT_EQ(After("txtFrets"), "x35553");
    auto barre = ChordLibrary();
    barre.Vocabulary() = dynamic_cast<ChordLibrary&>(map).Vocabulary();
    const int32_t c = *barre.Vocabulary().CodeOfName("C");
    ASSERT_TRUE(barre.Vocabulary().SetFingering(c, *ChordVocabulary::ParseFrets("x35553")));
    EXPECT_EQ(DrawnC(map), DrawnC(barre));
    EXPECT_NE(DrawnC(map), open);
    // The file keeps no fingerings: the document is the same.
    EXPECT_EQ(ToJson(*score), dump);

    // Revert goes back to the chord data file.
    Show("cboChord=C; Revert; Ok");
    EXPECT_EQ(DrawnC(map), open);
}

}  // namespace
}  // namespace corvendi::test
