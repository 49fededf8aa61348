// Saving through Form2 and loading through Form3, opened from the results window: the round
// trip of 1 and 15 rows, every refusal with nothing written, and damaged files that leave the
// table and the grid as they were.
#include <QDir>
#include <QRegularExpression>
#include <QFile>
#include <QLineEdit>

#include "cp932_text.h"
#include "dir_list_box.h"
#include "file_list_box.h"
#include "form2.h"
#include "form3.h"
#include "print_service.h"
#include "results_csv.h"
#include "results_window_fixture.h"

namespace ordevo {
namespace {

using testing::ResultsCase;

const QString kSaved = QStringLiteral("　計算結果を エクセル csv形式 で保存しました　");
const QString kUnreadable = QString::fromUtf8(kUnreadableResultsFileMessage);

// Latin letters only in names (x.csv, "line" of a file position aside): no English reasons.
bool HasEnglishWords(const QString& text) {
    static const QRegularExpression kWord(QStringLiteral("[A-Za-z]{4,}"));
    QString rest = text;
    rest.remove(QStringLiteral(" line "));
    return kWord.match(rest).hasMatch();
}

class CsvWindowsTest : public testing::ResultsWindowTest {
protected:
    void SetUp() override {
        ResultsWindowTest::SetUp();
        form2 = form->findChild<Form2*>();
        form3 = form->findChild<Form3*>();
        ASSERT_NE(form2, nullptr);
        ASSERT_NE(form3, nullptr);
    }

    template <class W>
    W* In(QWidget* window, const char* name) {
        W* widget = window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }

    // "データ保存", the comment and the name typed, "OK".
    void SaveAs(const QString& comment, const QString& name) {
        QTest::mouseClick(Control("Command5"), Qt::LeftButton);
        ASSERT_TRUE(form2->isVisible());
        // As typed (keyClicks knows only ASCII keys; insert() is how an input method types).
        In<QLineEdit>(form2, "Text2")->insert(comment);
        In<QLineEdit>(form2, "Text1")->insert(name);
        QTest::mouseClick(In<QPushButton>(form2, "Command1"), Qt::LeftButton);
    }

    // "データ読込" (answering the question OK), the file chosen, "OK".
    void Load(const QString& fileName) {
        messages->QueueAnswer(ui::Answer::Ok);
        QTest::mouseClick(Control("Command6"), Qt::LeftButton);
        if (Table().NextRowIndex == 1)
            messages->Forget();  // no question was asked: drop the answer
        ASSERT_TRUE(form3->isVisible());
        ASSERT_TRUE(In<ui::FileListBox>(form3, "File1")->SelectFileName(fileName));
        QTest::mouseClick(In<QPushButton>(form3, "Command1"), Qt::LeftButton);
    }

    void ClearTable() {
        messages->QueueAnswer(ui::Answer::Ok);
        Click("Command7");
    }

    QByteArray Bytes(const QString& name) const {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList CsvFiles() const {
        return QDir(folder.path()).entryList({QStringLiteral("*.csv")}, QDir::Files);
    }

    void WriteLines(const QString& name, const QStringList& lines) {
        ASSERT_TRUE(WriteTextLines(folder.filePath(name), lines).has_value());
    }

    // The 18 lines of a valid file of `rows` rows from the cases 1..rows.
    QStringList ValidLines(int rows) {
        ResultsTable source;
        for (int i = 1; i <= std::min(rows, kResultsRowCount); ++i) {
            AppendResultsRow(source, testing::ResultsCaseRow(i));
        }
        return *ResultsCsvLines(QStringLiteral("コメント"), source, QStringLiteral("x.csv"));
    }

    Form2* form2 = nullptr;
    Form3* form3 = nullptr;
};

class RoundTrip : public CsvWindowsTest, public ::testing::WithParamInterface<int> {};

TEST_P(RoundTrip, SavedRowsLoadBackAndSaveAgainByteForByte) {
    const int rows = GetParam();
    AddRows(rows);
    messages->Forget();  // the warning of the 15th addition
    const ResultsTable original = Table();
    const QImage drawnByAdditions = Picture();

    SaveAs(QStringLiteral("症例, 2026年 ①"), QStringLiteral("結果"));
    ASSERT_EQ(messages->Texts(), std::vector<QString>{kSaved});
    EXPECT_TRUE(messages->Shown()[0].afterBeep);
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::None);
    EXPECT_FALSE(form2->isVisible());
    const QByteArray first = Bytes(QStringLiteral("結果.csv"));
    const QList<QByteArray> lines = first.split('\n');
    ASSERT_EQ(lines.size(), 19);  // 18 lines, each ended by CR LF
    for (int i = 2; i < 18; ++i) EXPECT_EQ(lines[i].count(','), rows) << "line " << i + 1;

    ClearTable();
    ASSERT_EQ(Table().NextRowIndex, 1);
    messages->Forget();
    Load(QStringLiteral("結果.csv"));
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_FALSE(form3->isVisible());
    ASSERT_EQ(Table().NextRowIndex, rows + 1);
    for (int r = 1; r <= rows; ++r) {
        for (int c = 1; c <= kResultsColumnCount; ++c) {
            EXPECT_EQ(CellText(Table().Rows[r][c]), CellText(original.Rows[r][c])) << r << "," << c;
            EXPECT_EQ(CellNumber(Table().Rows[r][c]), CellNumber(original.Rows[r][c]));
        }
    }
    // The grid is drawn again from the stored cells: as the additions drew it.
    EXPECT_EQ(GridShown(), 1);
    EXPECT_EQ(Picture(), drawnByAdditions);

    messages->Forget();
    SaveAs(QStringLiteral("症例, 2026年 ①"), QStringLiteral("again"));
    EXPECT_EQ(Bytes(QStringLiteral("again.csv")), first);
}

INSTANTIATE_TEST_SUITE_P(OneAndFifteenRows, RoundTrip, ::testing::Values(1, 15));

TEST_F(CsvWindowsTest, SaveOfAnEmptyTableSaysThereIsNothingToSave) {
    Click("Command5");
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, QStringLiteral("保存するデータがありません"));
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_FALSE(form2->isVisible());
}

TEST_F(CsvWindowsTest, SaveWindowOpensEmptyOnTheFolderListsFolder) {
    AddRows(1);
    WriteLines(QStringLiteral("前回.csv"), ValidLines(1));
    Click("Command5");
    EXPECT_TRUE(form2->isVisible());
    EXPECT_EQ(form2->windowTitle(), QStringLiteral("  Data Save"));
    auto* file2 = In<ui::FileListBox>(form2, "File2");
    EXPECT_EQ(file2->Path(), In<ui::DirListBox>(form2, "Dir1")->Path());
    EXPECT_EQ(file2->Pattern(), QStringLiteral("*.csv"));
    EXPECT_EQ(file2->FileNames(), QStringList{QStringLiteral("前回.csv")});  // refreshed
    EXPECT_TRUE(In<QLineEdit>(form2, "Text1")->text().isEmpty());
    EXPECT_TRUE(In<QLineEdit>(form2, "Text2")->text().isEmpty());
    EXPECT_EQ(form2->focusWidget(), In<QLineEdit>(form2, "Text2"));
}

// Enter in an empty box stays; in the comment it goes on to an empty name; once both are
// filled, Enter in either box presses OK and saves.
TEST_F(CsvWindowsTest, EnterGoesOnToTheNameThenPressesOk) {
    AddRows(1);
    Click("Command5");
    auto* text1 = In<QLineEdit>(form2, "Text1");
    auto* text2 = In<QLineEdit>(form2, "Text2");
    text2->setFocus();
    QTest::keyClick(text2, Qt::Key_Return);
    EXPECT_EQ(form2->focusWidget(), text2);  // empty: stays
    QTest::keyClicks(text2, QStringLiteral("c"));
    QTest::keyClick(text2, Qt::Key_Return);
    EXPECT_EQ(form2->focusWidget(), text1);
    QTest::keyClick(text1, Qt::Key_Return);
    EXPECT_EQ(form2->focusWidget(), text1);
    EXPECT_TRUE(CsvFiles().isEmpty());
    QTest::keyClicks(text1, QStringLiteral("n"));
    QTest::keyClick(text1, Qt::Key_Return);  // both filled: saved
    EXPECT_EQ(CsvFiles(), QStringList{QStringLiteral("n.csv")});
    EXPECT_FALSE(form2->isVisible());

    // The name taken from an existing file, the comment typed last: Enter there saves too.
    Click("Command5");
    text1->setText(QStringLiteral("m"));
    text2->setFocus();
    QTest::keyClicks(text2, QStringLiteral("d"));
    QTest::keyClick(text2, Qt::Key_Return);
    EXPECT_EQ(CsvFiles(), (QStringList{QStringLiteral("m.csv"), QStringLiteral("n.csv")}));
}

TEST_F(CsvWindowsTest, ANameTypedWithItsExtensionIsNotDoubled) {
    AddRows(1);
    SaveAs(QStringLiteral("c"), QStringLiteral("症例A.csv"));
    EXPECT_EQ(CsvFiles(), QStringList{QStringLiteral("症例A.csv")});
}

// An existing file is replaced only after the question that names it: "いいえ" keeps it (and
// the save window open), "はい" replaces it.
TEST_F(CsvWindowsTest, ClickingAnExistingFileTakesItsNameAndAsksBeforeReplacingIt) {
    AddRows(2);
    WriteLines(QStringLiteral("old.csv"), ValidLines(1));
    const QByteArray before = Bytes(QStringLiteral("old.csv"));
    Click("Command5");
    auto* file2 = In<ui::FileListBox>(form2, "File2");
    const QRect item = file2->visualItemRect(file2->item(0));
    QTest::mouseClick(file2->viewport(), Qt::LeftButton, {}, item.center());
    EXPECT_EQ(In<QLineEdit>(form2, "Text1")->text(), QStringLiteral("old"));
    QTest::keyClicks(In<QLineEdit>(form2, "Text2"), QStringLiteral("new comment"));
    const QString question = QStringLiteral(" old.csv は既にあります。置き換えますか？ ");
    messages->QueueAnswer(ui::Answer::No);
    QTest::mouseClick(In<QPushButton>(form2, "Command1"), Qt::LeftButton);
    EXPECT_EQ(messages->Texts(), std::vector<QString>{question});
    EXPECT_EQ(Bytes(QStringLiteral("old.csv")), before);
    EXPECT_TRUE(form2->isVisible());

    messages->Forget();
    messages->QueueAnswer(ui::Answer::Yes);
    QTest::mouseClick(In<QPushButton>(form2, "Command1"), Qt::LeftButton);
    EXPECT_EQ(messages->Texts(), (std::vector<QString>{question, kSaved}));
    const auto read = ReadResultsCsv(folder.filePath(QStringLiteral("old.csv")));
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Comment, QStringLiteral("new comment"));
    EXPECT_EQ(read->Table.NextRowIndex, 3);
}

TEST_F(CsvWindowsTest, EmptyCommentOrNameWarnsAndWritesNothing) {
    AddRows(1);
    for (const auto& [comment, name] :
         {std::pair{QString(), QStringLiteral("x")}, {QStringLiteral("c"), QString()}}) {
        messages->Forget();
        SaveAs(comment, name);
        ASSERT_EQ(messages->Shown().size(), 1u);
        EXPECT_EQ(messages->Shown()[0].text,
                  QStringLiteral("　コメントおよびファイル名を入力して下さい　"));
        EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Exclamation);
        EXPECT_TRUE(messages->Shown()[0].afterBeep);
        EXPECT_TRUE(form2->isVisible());
        EXPECT_TRUE(CsvFiles().isEmpty());
    }
}

TEST_F(CsvWindowsTest, NameThatLeavesTheFolderIsRefusedAndNothingIsWritten) {
    AddRows(1);
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("sub")));
    for (const QString& name :
         {QStringLiteral("sub/x"), QStringLiteral("..\\x"), QStringLiteral("../x")}) {
        messages->Forget();
        SaveAs(QStringLiteral("c"), name);
        ASSERT_EQ(messages->Shown().size(), 1u) << name.toStdString();
        EXPECT_TRUE(
            messages->Shown()[0].text.contains(QStringLiteral("このファイル名では保存できません")));
        EXPECT_TRUE(messages->Shown()[0].text.contains(QStringLiteral("区切り文字")));
        // Any folder can be chosen in the list: the message must not say otherwise.
        EXPECT_FALSE(messages->Shown()[0].text.contains(QStringLiteral("作業フォルダー")));
        EXPECT_FALSE(HasEnglishWords(messages->Shown()[0].text))
            << messages->Shown()[0].text.toStdString();
        EXPECT_TRUE(form2->isVisible());
    }
    EXPECT_TRUE(CsvFiles().isEmpty());
    EXPECT_TRUE(QDir(folder.filePath(QStringLiteral("sub"))).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(folder.path()).entryList({QStringLiteral("*x*")}, QDir::Files).isEmpty());
}

TEST_F(CsvWindowsTest, FolderThatCannotBeWrittenIsReportedAndTheTableKept) {
    AddRows(2);
    const QString gone = folder.filePath(QStringLiteral("gone"));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("gone")));
    Click("Command5");
    ASSERT_TRUE(In<ui::DirListBox>(form2, "Dir1")->SetPath(gone));
    ASSERT_TRUE(QDir(gone).removeRecursively());  // the folder vanished meanwhile
    QTest::keyClicks(In<QLineEdit>(form2, "Text2"), QStringLiteral("c"));
    QTest::keyClicks(In<QLineEdit>(form2, "Text1"), QStringLiteral("x"));
    QTest::mouseClick(In<QPushButton>(form2, "Command1"), Qt::LeftButton);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Critical);
    EXPECT_TRUE(messages->Shown()[0].text.contains(QStringLiteral("保存できませんでした")));
    EXPECT_FALSE(HasEnglishWords(messages->Shown()[0].text))
        << messages->Shown()[0].text.toStdString();
    EXPECT_TRUE(form2->isVisible());
    EXPECT_FALSE(QFile::exists(gone + QStringLiteral("/x.csv")));
    EXPECT_EQ(Table().NextRowIndex, 3);
}

TEST_F(CsvWindowsTest, ReadingAsksOnlyWhenTheTableHoldsRowsAndCancelKeepsIt) {
    Click("Command6");
    EXPECT_TRUE(messages->Shown().empty());
    EXPECT_TRUE(form3->isVisible());
    EXPECT_EQ(form3->windowTitle(), QStringLiteral("  Data Read"));
    form3->hide();

    AddRows(2);
    const QImage before = Picture();
    messages->QueueAnswer(ui::Answer::Cancel);
    Click("Command6");
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text,
              QStringLiteral("　ファイル読出を行うと、現在表示されている計算結果は削除されます。"));
    EXPECT_EQ(messages->Shown()[0].buttons, ui::MessageButtons::OkCancel);
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::None);
    EXPECT_TRUE(messages->Shown()[0].afterBeep);
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(Table().NextRowIndex, 3);
    EXPECT_EQ(Picture(), before);
}

TEST_F(CsvWindowsTest, LoadWithoutAFileChosenAsksForOne) {
    Click("Command6");
    QTest::mouseClick(In<QPushButton>(form3, "Command1"), Qt::LeftButton);
    ASSERT_EQ(messages->Shown().size(), 1u);
    EXPECT_EQ(messages->Shown()[0].text, QStringLiteral("　ファイルを選択して下さい　"));
    EXPECT_EQ(messages->Shown()[0].icon, ui::MessageIcon::Exclamation);
    EXPECT_TRUE(form3->isVisible());
}

TEST_F(CsvWindowsTest, ClickShowsTheCommentEvenOfADamagedFileAndCancelKeepsTheTable) {
    AddRows(2);
    QStringList lines = ValidLines(3);
    lines[0] = QStringLiteral("A, B, C");
    lines[5] = QStringLiteral("ｱﾙﾐ付加 (mm),1.00");  // fields missing
    WriteLines(QStringLiteral("damaged.csv"), lines);
    const ResultsTable before = Table();
    messages->QueueAnswer(ui::Answer::Ok);
    Click("Command6");
    auto* file1 = In<ui::FileListBox>(form3, "File1");
    ASSERT_EQ(file1->FileNames(), QStringList{QStringLiteral("damaged.csv")});
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, {},
                      file1->visualItemRect(file1->item(0)).center());
    EXPECT_EQ(In<QLineEdit>(form3, "Text2")->text(), QStringLiteral("A, B, C"));
    QTest::mouseClick(In<QPushButton>(form3, "Command2"), Qt::LeftButton);
    EXPECT_FALSE(form3->isVisible());
    EXPECT_EQ(Table().Rows, before.Rows);
    EXPECT_EQ(Table().NextRowIndex, 3);
}

// The table and the grid stay as they were whatever is wrong with the file; the window stays
// open for another choice.
TEST_F(CsvWindowsTest, DamagedFilesAreRefusedAndTheTableAndGridKept) {
    QStringList sixteen = ValidLines(15);
    sixteen[1] = QStringLiteral(" 16 ");
    for (int i = 2; i < 18; ++i)
        sixteen[i] += sixteen[i].section(QLatin1Char(','), -1).prepend(QLatin1Char(','));
    QStringList missingField = ValidLines(3);
    missingField[17] = missingField[17].section(QLatin1Char(','), 0, 2);
    QStringList textForNumber = ValidLines(3);
    textForNumber[11].replace(QStringLiteral(",101.0"), QStringLiteral(",abc"));
    QStringList truncated = ValidLines(3).mid(0, 10);
    QStringList wrongLabel = ValidLines(3);
    wrongLabel[9].replace(QStringLiteral("FSD (cm)"), QStringLiteral("FSD"));
    const std::pair<const char*, QStringList> files[] = {
        {"n16.csv", sixteen},
        {"missing_field.csv", missingField},
        {"text_for_number.csv", textForNumber},
        {"truncated.csv", truncated},
        {"wrong_label.csv", wrongLabel},
    };
    for (const auto& [name, lines] : files) WriteLines(QString::fromLatin1(name), lines);
    ASSERT_EQ(sixteen[3].count(QLatin1Char(',')), 16);
    ASSERT_NE(textForNumber, ValidLines(3));

    AddRows(2);
    Click("Command1");  // a total on the picture too
    const ResultsTable before = Table();
    const QImage grid = Picture();
    for (const auto& [name, lines] : files) {
        messages->Forget();
        Load(QString::fromLatin1(name));
        ASSERT_EQ(messages->Shown().size(), 2u) << name;  // the question, then the refusal
        EXPECT_TRUE(messages->Shown()[1].text.startsWith(kUnreadable + QStringLiteral("\n") +
                                                         QString::fromLatin1(name) +
                                                         QString::fromUtf8(" の ")))
            << messages->Shown()[1].text.toStdString();
        EXPECT_EQ(messages->Shown()[1].icon, ui::MessageIcon::Exclamation);
        EXPECT_TRUE(messages->Shown()[1].afterBeep);
        EXPECT_TRUE(form3->isVisible()) << name;
        EXPECT_EQ(Table().Rows, before.Rows) << name;
        EXPECT_EQ(Table().NextRowIndex, 3) << name;
        EXPECT_EQ(Picture(), grid) << name;
        EXPECT_EQ(GridShown(), 1) << name;
        form3->hide();
    }
}

// A file opened and saved again by a spreadsheet: every line padded with empty fields to the
// widest one ("2,,"). It loads as the file it came from; saving writes the program's own form.
TEST_F(CsvWindowsTest, AFilePaddedByASpreadsheetLoadsAndSavesInTheProgramsForm) {
    const QStringList own = ValidLines(2);
    QStringList padded;
    for (const QString& line : own)
        padded << QString(line).replace(QStringLiteral(" 2 "), QStringLiteral("2")) +
                      QStringLiteral(",,,");
    WriteLines(QStringLiteral("calc.csv"), padded);
    WriteLines(QStringLiteral("own.csv"), own);
    Load(QStringLiteral("calc.csv"));
    EXPECT_TRUE(messages->Shown().empty());
    ASSERT_EQ(Table().NextRowIndex, 3);
    ResultsTable fromPadded = Table();
    Load(QStringLiteral("own.csv"));
    EXPECT_EQ(fromPadded.Rows, Table().Rows);

    messages->Forget();
    SaveAs(QStringLiteral("コメント"), QStringLiteral("again"));
    EXPECT_EQ(Bytes(QStringLiteral("again.csv")), Bytes(QStringLiteral("own.csv")));
}

// A comment longer than the box shows from its start, the whole of it in the tool tip.
TEST_F(CsvWindowsTest, ALongCommentShowsFromItsStart) {
    QStringList lines = ValidLines(1);
    lines[0] = QStringLiteral(
        "2026年12月 心臓カテーテル室 冠動脈インターベンション 症例 1 から 15 までの記録 担当 山田");
    WriteLines(QStringLiteral("long.csv"), lines);
    Click("Command6");
    auto* file1 = In<ui::FileListBox>(form3, "File1");
    const auto items = file1->findItems(QStringLiteral("long.csv"), Qt::MatchExactly);
    ASSERT_EQ(items.size(), 1);
    QTest::mouseClick(file1->viewport(), Qt::LeftButton, {},
                      file1->visualItemRect(items.front()).center());
    auto* text2 = In<QLineEdit>(form3, "Text2");
    EXPECT_EQ(text2->text(), lines[0]);
    EXPECT_EQ(text2->cursorPosition(), 0);
    EXPECT_EQ(text2->toolTip(), lines[0]);
}

TEST_F(CsvWindowsTest, AFullTableLoadsCompletelyAndIsFull) {
    WriteLines(QStringLiteral("full.csv"), ValidLines(15));
    AddRows(1);
    Load(QStringLiteral("full.csv"));
    EXPECT_EQ(messages->Texts().size(), 1u);  // the question only
    EXPECT_EQ(Table().NextRowIndex, 16);
    messages->Forget();
    EXPECT_FALSE(AddCase(ResultsCase(2)));  // full: refused with the warning
    EXPECT_EQ(messages->Shown().size(), 1u);
}

// Loaded rows carry no equipment: the page says which file they came from, and names the
// equipment of the rows computed after the load.
TEST_F(CsvWindowsTest, ThePageNamesTheFileRowsWereLoadedFrom) {
    auto recording = std::make_unique<ui::RecordingPrintService>();
    ui::RecordingPrintService& printer = *recording;
    auto previous = ui::SetAppPrintService(std::move(recording));
    WriteLines(QStringLiteral("症例A.csv"), ValidLines(2));
    AddRows(1);  // replaced by the load
    Load(QStringLiteral("症例A.csv"));
    AddRows(1);
    Click("Command4");
    ASSERT_EQ(printer.Pages().size(), 1u);
    EXPECT_TRUE(printer.LastPage().HasTextAt(
        QStringLiteral("基本データ Room1.odv3　読込 症例A.csv（1–2 行目）"), 60, 192));
    ui::SetAppPrintService(std::move(previous));
}

}  // namespace
}  // namespace ordevo
