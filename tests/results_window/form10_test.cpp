// The results window driven as a user drives it: additions, the total, clear, "背面へ",
// closing, the name panel, printing and the layout.
#include "form10.h"

#include <QDateTime>
#include <QLabel>
#include <QSignalSpy>

#include "form2.h"
#include "form3.h"
#include "layout_check.h"
#include "print_service.h"
#include "results_window_fixture.h"

namespace ordevo {
namespace {

using testing::ResultsCase;
using Form10Test = testing::ResultsWindowTest;

constexpr const char* kFullMessage =
    "　これ以上の計算結果は保存できません。現在の結果表を一旦保存し、データ消去後、"
    "新たな結果表に保存して下さい。";

TEST_F(Form10Test, StartUpResetsTheTableAndShowsTheBannerWithoutGrid) {
    AddRows(4);  // left over from an earlier load of the main window
    form->BeginStartUp();
    form->FinishStartUp(QStringLiteral("ABC 総合病院"));
    EXPECT_EQ(Table().NextRowIndex, 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(GridShown(), 0);
    EXPECT_EQ(Control<QLabel>("Label1")->text(), QStringLiteral("ABC 総合病院"));
    EXPECT_EQ(form->UserName(), QStringLiteral("ABC 総合病院"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("    Calculation Results by Ordevo-V3"));
    EXPECT_GT(InkIn(500, 350, 800, 420), 0);  // "Ordevo-V3"
    EXPECT_GT(InkIn(500, 500, 800, 570), 0);  // the name
    EXPECT_EQ(form->Picture2()->ForeColor(), QColor(Qt::black));
    EXPECT_EQ(form->Picture2()->FontSize(), 9);
}

TEST_F(Form10Test, StartUpWithoutANameKeepsTheDesignLabel) {
    Form10 fresh(folder.path());
    fresh.BeginStartUp();
    fresh.FinishStartUp(std::nullopt);
    EXPECT_EQ(fresh.findChild<QLabel*>(QStringLiteral("Label1"))->text(),
              QStringLiteral("User name"));
    EXPECT_TRUE(fresh.UserName().isEmpty());
    EXPECT_EQ(fresh.Picture2()->ForeColor(), fresh.palette().color(QPalette::ButtonText));
}

TEST_F(Form10Test, FirstAdditionReplacesTheBannerWithGridHeadingsAndRow) {
    form->hide();
    ASSERT_TRUE(AddCase(ResultsCase(2)));
    EXPECT_EQ(Table().NextRowIndex, 2);
    EXPECT_EQ(GridShown(), 1);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(command3->isEnabled());
    EXPECT_EQ(Table().Rows[1][ResultsColumn::FieldSizeText],
              ResultsCell(std::string("12.0cm平方")));
    EXPECT_EQ(InkIn(500, 350, 800, 420), 0);    // banner gone
    EXPECT_GT(InkIn(10, 40, 80, 60), 0);        // "対象部位"
    EXPECT_GT(InkIn(1080, 120, 1140, 140), 0);  // row 1's skin dose
    EXPECT_TRUE(messages->Shown().empty());
}

TEST_F(Form10Test, FifteenthAdditionWarnsAndASixteenthChangesNothing) {
    AddRows(14);
    EXPECT_TRUE(messages->Shown().empty());
    ASSERT_TRUE(AddCase(ResultsCase(15)));
    EXPECT_EQ(Table().NextRowIndex, 16);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, QString::fromUtf8(kFullMessage));
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_TRUE(messages->Shown()[0].afterBeep);
    EXPECT_FALSE(command3->isEnabled());

    const ResultsTable full = Table();
    const QImage before = Picture();
    EXPECT_FALSE(AddCase(ResultsCase(16)));
    EXPECT_EQ(Table().NextRowIndex, 16);
    EXPECT_EQ(Table().Rows, full.Rows);
    EXPECT_EQ(Picture(), before);
    ASSERT_EQ(messages->Shown().size(), 2u);
    EXPECT_EQ(messages->Shown()[1].text, QString::fromUtf8(kFullMessage));
    EXPECT_TRUE(messages->Shown()[1].afterBeep);
}

TEST_F(Form10Test, TotalIsWrittenOnceHoweverOftenItIsPressed) {
    for (const double dose : {12.3, 4.5, 100.0}) AddCase(ResultsCase(2, dose));
    const QImage blank = Picture();
    EXPECT_EQ(InkIn(1045, 860, 1150, 900), 0);
    Click("Command1");
    const QImage once = Picture();
    EXPECT_GT(InkIn(1080, 860, 1150, 900), 0);
    Click("Command1");
    EXPECT_EQ(Picture(), once);  // the same pixels: one total, not two overlapping
    EXPECT_NE(once, blank);

    // A later addition keeps a written total the sum of the rows (166.8 now): pressing the
    // button again changes nothing.
    AddCase(ResultsCase(2, 50.0));
    const QPoint from = form->Picture2()->ToImagePixels(1045, 860).toPoint();
    const QPoint to = form->Picture2()->ToImagePixels(1150, 900).toPoint();
    const QRect cell(from, to);
    const QImage added = Picture();
    EXPECT_NE(added.copy(cell), once.copy(cell));
    Click("Command1");
    EXPECT_EQ(Picture().copy(cell), added.copy(cell));
}

TEST_F(Form10Test, AnAdditionWritesNoTotalThatWasNotAskedFor) {
    AddRows(2);
    AddRows(1);
    EXPECT_EQ(InkIn(1045, 860, 1150, 900), 0);
}

TEST_F(Form10Test, ClearAsksAndCancelKeepsEverything) {
    AddRows(2);
    const QImage before = Picture();
    messages->QueueAnswer(ui::Answer::Cancel);
    Click("Command7");
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text,
              QStringLiteral("　現在表示されている計算結果は削除されます　"));
    EXPECT_EQ(messages->Shown()[0].buttons, ui::MessageButtons::OkCancelDefaultCancel);
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::None);
    EXPECT_TRUE(messages->Shown()[0].afterBeep);
    EXPECT_EQ(Table().NextRowIndex, 3);
    EXPECT_EQ(GridShown(), 1);
    EXPECT_EQ(Picture(), before);
}

TEST_F(Form10Test, ClearEmptiesTableHidesGridShowsBannerAndDisablesAdding) {
    AddRows(2);
    Click("Command1");
    command3->setEnabled(true);  // an evaluation was just made
    QSignalSpy cleared(form.get(), &Form10::ResultsCleared);
    messages->QueueAnswer(ui::Answer::Ok);
    Click("Command7");
    EXPECT_EQ(Table().NextRowIndex, 1);
    EXPECT_EQ(Table().Rows, ResultsTable().Rows);
    EXPECT_EQ(GridShown(), 0);
    EXPECT_FALSE(command3->isEnabled());
    EXPECT_EQ(cleared.count(), 1);
    EXPECT_EQ(InkIn(1045, 860, 1150, 900), 0);  // the total went with the picture
    EXPECT_EQ(InkIn(0, 100, 1157, 300), 0);     // rows gone
    EXPECT_GT(InkIn(500, 350, 800, 420), 0);    // banner back
    EXPECT_EQ(form->Picture2()->ForeColor(), form->palette().color(QPalette::ButtonText));
    // The next addition starts a new grid at row 1.
    AddCase(ResultsCase(3));
    EXPECT_EQ(Table().NextRowIndex, 2);
    EXPECT_EQ(GridShown(), 1);
}

TEST_F(Form10Test, BackButtonShowsTheMainWindowAndChangesNothingElse) {
    AddRows(1);
    mainWindow.hide();
    Click("Command2");
    EXPECT_TRUE(mainWindow.isVisible());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Table().NextRowIndex, 2);
    EXPECT_TRUE(messages->Shown().empty());
}

TEST_F(Form10Test, ClosingHidesTheWindowAndTheTableSurvives) {
    AddRows(3);
    const QImage before = Picture();
    EXPECT_TRUE(form->close() || !form->isVisible());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(Table().NextRowIndex, 4);
    AddCase(ResultsCase(4));  // the next addition shows it again, grid intact
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(Table().NextRowIndex, 5);
    EXPECT_EQ(Picture().copy(0, 0, Picture().width(), 100), before.copy(0, 0, before.width(), 100));
}

TEST_F(Form10Test, NameChangeRedrawsThePanelOfAnEmptyTable) {
    form->ShowUserName(QStringLiteral("ゲストユーザー"));
    EXPECT_EQ(Control<QLabel>("Label1")->text(), QStringLiteral("ゲストユーザー"));
    EXPECT_EQ(form->UserName(), QStringLiteral("ゲストユーザー"));
    EXPECT_GT(InkIn(500, 200, 800, 270), 0);  // title moved up
    EXPECT_GT(InkIn(500, 350, 800, 420), 0);  // name
    EXPECT_EQ(InkIn(500, 500, 800, 570), 0);  // the old name is gone
    EXPECT_EQ(form->Picture2()->FontSize(), 9);
}

// The rows are drawn once, when added; a name change must not wipe them from the grid.
TEST_F(Form10Test, NameChangeKeepsTheRowsOfAFilledGrid) {
    AddRows(2);
    const QImage before = Picture();
    form->ShowUserName(QStringLiteral("新しい名前"));
    EXPECT_EQ(Picture(), before);
    EXPECT_EQ(GridShown(), 1);
    EXPECT_EQ(Control<QLabel>("Label1")->text(), QStringLiteral("新しい名前"));
    // It is the name of the next banner and of the printout.
    messages->QueueAnswer(ui::Answer::Ok);
    Click("Command7");
    EXPECT_GT(InkIn(500, 500, 800, 570), 0);
}

// A row selected in the grid can be deleted alone: the rows below move up, and the total that
// was written is the sum of the rows left, as if the deleted row had never been added.
TEST_F(Form10Test, DataClearCanDeleteTheSelectedRowAlone) {
    const double doses[] = {12.3, 4.5, 100.0};
    for (int i = 1; i <= 3; ++i) AddCase(ResultsCase(i, doses[i - 1]));
    Click("Command1");
    ClickRow(2);
    messages->QueueAnswer(ui::Answer::Yes);
    Click("Command7");
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].buttons, ui::MessageButtons::YesNo);
    EXPECT_TRUE(messages->Shown()[0].text.contains(QStringLiteral("2 行目")));
    EXPECT_TRUE(form->HasUnsavedRows());

    Form10 reference(folder.path());
    reference.BeginStartUp();
    reference.FinishStartUp(QStringLiteral("ABC 総合病院"));
    for (int i : {1, 3})
        reference.AddCurrentResult(ResultsCase(i, doses[i - 1]), equipmentFileName);
    QTest::mouseClick(reference.findChild<QPushButton*>(QStringLiteral("Command1")),
                      Qt::LeftButton);
    EXPECT_EQ(Table().NextRowIndex, 3);
    EXPECT_EQ(Table().Rows, reference.Table().Rows);
    EXPECT_EQ(Picture(), reference.Picture2()->Image());
}

// With a row selected, "いいえ" deletes nothing; the whole table goes only after the selection
// is released and OK chosen: Enter (the default answer) at either question keeps every row.
TEST_F(Form10Test, DataClearWithARowSelectedNeverEmptiesTheTable) {
    AddRows(2);
    const QImage before = Picture();
    ClickRow(1);
    const QImage selected = Picture();
    messages->QueueAnswer(ui::Answer::No);
    Click("Command7");
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(Table().NextRowIndex, 3);
    EXPECT_EQ(Picture(), selected);

    ClickRow(1);  // released
    EXPECT_EQ(Picture(), before);
    messages->Forget();
    Click("Command7");  // no answer queued: what Enter answers
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text,
              QStringLiteral("　現在表示されている計算結果は削除されます　"));
    EXPECT_EQ(messages->Shown()[0].answer, ui::Answer::Cancel);
    EXPECT_EQ(Table().NextRowIndex, 3);

    messages->QueueAnswer(ui::Answer::Ok);
    Click("Command7");
    EXPECT_EQ(Table().NextRowIndex, 1);
    EXPECT_EQ(GridShown(), 0);
}

class Form10PrintTest : public testing::ResultsWindowTest {
protected:
    void SetUp() override {
        ResultsWindowTest::SetUp();
        auto recording = std::make_unique<ui::RecordingPrintService>();
        printer = recording.get();
        previous = ui::SetAppPrintService(std::move(recording));
    }
    void TearDown() override { ui::SetAppPrintService(std::move(previous)); }

    ui::RecordingPrintService* printer = nullptr;
    std::unique_ptr<ui::PrintService> previous;
};

// The page names the equipment each row was computed with, however many there were, and prints
// each row's own other filter.
TEST_F(Form10PrintTest, PrintsTheRowsOwnFilterAndEquipment) {
    AddCase(ResultsCase(2));  // without another filter
    equipmentFileName = QStringLiteral("Room2.odv3");
    AddCase(ResultsCase(1));  // with Ta 0.50 mm
    Click("Command4");
    ASSERT_EQ(printer->Pages().size(), 1u);
    EXPECT_TRUE(printer->LastPage().HasTextAt(QStringLiteral("―"), 84, 43));
    EXPECT_TRUE(printer->LastPage().HasTextAt(QStringLiteral("Ta"), 80, 51));
    EXPECT_TRUE(
        printer->LastPage().HasTextAt(QStringLiteral("ABC 総合病院  with  Ordevo-V3"), 200, 12));
    EXPECT_TRUE(printer->LastPage().HasTextAt(QStringLiteral("基本データ Room1.odv3、Room2.odv3"),
                                              60, 192));
    const auto dated = printer->LastPage().TextsAt(0, 192);
    ASSERT_EQ(dated.size(), 1u);
    EXPECT_TRUE(dated[0].startsWith(
        QDate::currentDate().toString(QStringLiteral("印刷日時 yyyy年MM月dd日"))));
    EXPECT_EQ(messages->Texts().size(), 1u);  // the question only
}

// Texts of free length stay inside their cells: the other filter's two lines between the row
// rules, "40 - 150" and a long body part before their column rules (the rules themselves are
// line elements, not ink of the picture).
TEST_F(Form10Test, RowTextsStayInsideTheirCells) {
    EvaluatedCase c = ResultsCase(1);  // with another filter
    ASSERT_EQ(c.Case.Equipment.OtherFilterFlag, 1);
    c.Entry.TubeVoltage = "40 - 150";
    c.Entry.BodyPart = "胸部背面左側上部";
    ASSERT_TRUE(AddCase(c));
    EXPECT_GT(InkIn(330, 100, 392, 148), 0);  // name and thickness are there
    EXPECT_EQ(InkIn(326, 148, 392, 152), 0);  // row 1's lower rule at y 150
    EXPECT_EQ(InkIn(152, 100, 156, 150), 0);  // tube voltage's rule at x 155
    EXPECT_EQ(InkIn(86, 100, 91, 150), 0);    // body part's rule at x 90
}

// A name too long for its place: cut with "…" on the label, the whole of it in the tool tip,
// and made smaller on the picture's name panel so that it ends inside the picture.
TEST_F(Form10Test, ALongUserNameFitsItsLabelAndThePanel) {
    const QString name = QStringLiteral("医療法人社団 放射線総合医療センター 循環器内科 IVR 室");
    form->ShowUserName(name);
    auto* label = Control<QLabel>("Label1");
    EXPECT_TRUE(label->text().endsWith(QStringLiteral("…")));
    EXPECT_EQ(label->toolTip(), name);
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
    EXPECT_GT(InkIn(500, 350, 700, 420), 0);
    EXPECT_EQ(InkIn(1150, 300, 1157, 450), 0);  // nothing at the picture's right edge
    form->ShowUserName(QStringLiteral("ABC"));
    EXPECT_EQ(label->text(), QStringLiteral("ABC"));
    EXPECT_TRUE(label->toolTip().isEmpty());
}

TEST_F(Form10Test, ControlsLieInsideTheirWindowsWithoutOverlapping) {
    for (const QWidget* window : std::initializer_list<const QWidget*>{
             form.get(), form->findChild<Form2*>(), form->findChild<Form3*>()}) {
        ASSERT_NE(window, nullptr);
        for (const auto& problem : ui::FindLayoutProblems(*window, window->size())) {
            ADD_FAILURE() << window->objectName().toStdString() << ": "
                          << problem.ToString().toStdString();
        }
    }
    // The totals button lies over the picture's lower right, left of the total's cell.
    const QRect button = Control("Command1")->geometry();
    const QRect picture = form->Picture2()->geometry();
    EXPECT_TRUE(picture.intersects(button));
    const QPointF totalCell = form->Picture2()->ToImagePixels(1045, 860) +
                              QPointF(form->Picture2()->InsideOrigin()) +
                              QPointF(picture.topLeft());
    EXPECT_LE(button.right(), totalCell.x());
}

}  // namespace
}  // namespace ordevo
