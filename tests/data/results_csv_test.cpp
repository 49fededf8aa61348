#include "results_csv.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "cp932_text.h"
#include "number_format.h"
#include "test_files.h"

namespace ordevo {
namespace {

using testing::Cp932;
using testing::ReadFile;
using testing::WriteFile;

// A row as an addition stores it: formatted texts, and the number 0 for "no other filter".
ResultsRow AddedRow(const std::string& bodyPart, const std::string& skinDose, bool otherFilter) {
    ResultsRow row;
    const std::string texts[] = {"",     bodyPart, "75 - 85", "2.50",       "0.00",  "0.10",
                                 "",     "",       "08",      "12.0cm平方", "05.3",  "123.4",
                                 "06.1", "130.2",  "1.046",   "1.352",      skinDose};
    for (int c = 1; c <= kResultsColumnCount; ++c) row[c] = texts[c];
    row[ResultsColumn::OtherFilterName] = std::string(otherFilter ? "Ｍｏ" : "-");
    if (otherFilter)
        row[ResultsColumn::OtherFilterMm] = std::string("0.50");
    else
        row[ResultsColumn::OtherFilterMm] = 0.0;
    return row;
}

ResultsTable TableOf(int rows) {
    ResultsTable table;
    for (int r = 1; r <= rows; ++r)
        table.Rows[r] = AddedRow(r % 2 ? "胸部背面" : "頭部", std::to_string(r) + ".5", r % 2 == 0);
    table.NextRowIndex = rows + 1;
    return table;
}

TEST(ResultsCsv, WritesTheTransposedTable) {
    QTemporaryDir dir;
    const QString path = dir.filePath("r.csv");
    ASSERT_TRUE(WriteResultsCsv(path, QString::fromUtf8("症例, 2024 ～①"), TableOf(2)));
    const QString expected = QString::fromUtf8(
        "症例, 2024 ～①\r\n"
        " 2 \r\n"
        "対象部位,胸部背面,頭部\r\n"
        "管電圧 (kV),75 - 85,75 - 85\r\n"
        "固有濾過(mmAL),2.50,2.50\r\n"
        "ｱﾙﾐ付加 (mm),0.00,0.00\r\n"
        "銅付加 (mm),0.10,0.10\r\n"
        "その他フィルタ,-,Ｍｏ\r\n"
        "上記厚(mm),0,0.50\r\n"
        "FSD (cm),08,08\r\n"
        "照射野 at 基準点,12.0cm平方,12.0cm平方\r\n"
        "Kar (mGy),05.3,05.3\r\n"
        "P_KA (Gy･cm2),123.4,123.4\r\n"
        "補正 kar (mGy),06.1,06.1\r\n"
        "補正 P_KA (Gy･cm2),130.2,130.2\r\n"
        "皮膚線量/空気カーマ比,1.046,1.046\r\n"
        "前方・後方散乱係数,1.352,1.352\r\n"
        "入射表面皮膚吸収線量 (mGy),1.5,2.5\r\n");
    EXPECT_EQ(ReadFile(path), Cp932(expected));
}

// A loaded file keeps its cell texts, so saving it again gives the same bytes.
TEST(ResultsCsv, LoadAndSaveAgainIsByteIdentical) {
    QTemporaryDir dir;
    for (int rows : {0, 1, 15}) {
        const QString first = dir.filePath(QStringLiteral("first%1.csv").arg(rows));
        ASSERT_TRUE(WriteResultsCsv(first, QStringLiteral("comment, with commas"), TableOf(rows)));
        if (rows == 15) {
            const QList<QByteArray> lines = ReadFile(first).split('\n');
            for (int line = 3; line <= 18; ++line)
                EXPECT_EQ(lines[line - 1].count(','), 15) << line;
        }
        const auto loaded = ReadResultsCsv(first);
        ASSERT_TRUE(loaded) << loaded.error().what();
        EXPECT_EQ(loaded->Comment, QStringLiteral("comment, with commas"));
        EXPECT_EQ(loaded->Table.NextRowIndex, rows + 1);
        const QString second = dir.filePath(QStringLiteral("second%1.csv").arg(rows));
        ASSERT_TRUE(WriteResultsCsv(second, loaded->Comment, loaded->Table));
        EXPECT_EQ(ReadFile(second), ReadFile(first)) << rows << " rows";
    }
}

TEST(ResultsCsv, LoadedCellsKeepTextsAndNumbersAndRowsBeyondNStayReset) {
    QTemporaryDir dir;
    WriteFile(dir, "r.csv",
              Cp932(QString::fromUtf8(
                  "c\r\n 1 \r\n対象部位, 頭部 \r\n管電圧 (kV),80\r\n"
                  "固有濾過(mmAL),2.50\r\nｱﾙﾐ付加 (mm),0\r\n銅付加 (mm),0\r\n"
                  "その他フィルタ,-\r\n上記厚(mm),0\r\nFSD (cm),\t65\r\n"
                  "照射野 at 基準点,8.5cm直径\r\nKar (mGy),1e2\r\nP_KA (Gy･cm2),1\r\n"
                  "補正 kar (mGy),1\r\n補正 P_KA (Gy･cm2),1\r\n皮膚線量/空気カーマ比,1\r\n"
                  "前方・後方散乱係数,1\r\n入射表面皮膚吸収線量 (mGy),-0.5\r\n\r\n")));
    const auto loaded = ReadResultsCsv(dir.filePath("r.csv"));
    ASSERT_TRUE(loaded) << loaded.error().what();
    const ResultsTable& t = loaded->Table;
    EXPECT_EQ(CellText(t.Rows[1][ResultsColumn::BodyPart]),
              "頭部");  // blanks around a field dropped
    EXPECT_EQ(CellText(t.Rows[1][ResultsColumn::TubeVoltageText]),
              "80");  // numeric text in a text column
    EXPECT_EQ(CellNumber(t.Rows[1][ResultsColumn::FocusSkinDistance]), 65.0);
    EXPECT_EQ(CellNumber(t.Rows[1][ResultsColumn::ReferenceAirKerma]), 100.0);
    EXPECT_EQ(CellNumber(t.Rows[1][ResultsColumn::SkinDose]), -0.5);
    EXPECT_EQ(t.Rows[2][ResultsColumn::SkinDose], ResultsCell(0.0));
    EXPECT_EQ(t.NextRowIndex, 2);
}

// A spreadsheet set to quote text cells writes "頭部", "12.0cm平方" and the labels in quotes and
// the numbers bare; the file reads as the table it was saved from.
TEST(ResultsCsv, SpreadsheetWithQuotedTextCellsReadsAsTheSameTable) {
    QTemporaryDir dir;
    const QString plain = dir.filePath("plain.csv");
    ASSERT_TRUE(WriteResultsCsv(plain, QStringLiteral("comment, with commas"), TableOf(2)));
    QByteArray quoted;
    for (const QByteArray& line : ReadFile(plain).split('\n')) {
        const QString text = DecodeCp932(line, "plain.csv", 0).value().remove(QLatin1Char('\r'));
        if (text.isEmpty()) continue;
        QStringList fields = text.startsWith(QLatin1String("comment"))
                                 ? QStringList{text}
                                 : text.split(QLatin1Char(','));
        for (QString& field : fields) {
            double value = 0;
            if (!ParseWholeNumber(field.trimmed().toStdString(), value))
                field = QLatin1Char('"') + field + QLatin1Char('"');
        }
        quoted += Cp932(fields.join(QLatin1Char(','))) + "\r\n";
    }
    WriteFile(dir, "quoted.csv", quoted);
    const auto fromPlain = ReadResultsCsv(plain);
    const auto fromQuoted = ReadResultsCsv(dir.filePath("quoted.csv"));
    ASSERT_TRUE(fromPlain && fromQuoted) << fromQuoted.error().what();
    EXPECT_TRUE(quoted.contains("\"comment, with commas\""));
    EXPECT_EQ(fromQuoted->Comment, fromPlain->Comment);
    EXPECT_EQ(fromQuoted->Table.Rows, fromPlain->Table.Rows);
    EXPECT_EQ(fromQuoted->Table.NextRowIndex, 3);
}

// One fixture per kind of damaged file: an error, never part of a table.
TEST(ResultsCsv, DamagedFilesAreRefusedWhole) {
    QTemporaryDir dir;
    ASSERT_TRUE(WriteResultsCsv(dir.filePath("good.csv"), "c", TableOf(2)));
    ASSERT_TRUE(ReadResultsCsv(dir.filePath("good.csv")));
    const QByteArray bytes = ReadFile(dir.filePath("good.csv"));
    auto variant = [&](const char* from, const char* to) {
        QByteArray changed = bytes;
        const QByteArray f = Cp932(QString::fromUtf8(from));
        EXPECT_TRUE(changed.contains(f)) << from;
        return changed.replace(f, Cp932(QString::fromUtf8(to)));
    };
    const struct {
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {variant(" 2 \r\n", " 16 \r\n"), "bad.csv の 2 行目: 行数 16 は多すぎます（15 行まで）"},
        {variant(" 2 \r\n", " 2.0 \r\n"), "bad.csv の 2 行目: 「2.0」は行数ではありません"},
        {variant(" 2 \r\n", "\r\n"), "bad.csv の 2 行目: 「」は行数ではありません"},
        {variant("FSD (cm),08,08", "FSD (cm),08"),
         "bad.csv の 10 行目: データが 1 個あります（2 個のはず）"},
        {variant("FSD (cm),08,08", "FSD (cm),08,08,09"),
         "bad.csv の 10 行目: データが 3 個あります（2 個のはず）"},
        {variant("Kar (mGy)", "Kar(mGy)"), "bad.csv の 12 行目: 行の始めに「Kar (mGy)」が必要です"},
        {variant("1.046,1.046", "1.046,abc"),
         "bad.csv の 16 行目: 2 番目のデータ「abc」は数値ではありません"},
        {variant("上記厚(mm),0,", "上記厚(mm),,"),
         "bad.csv の 9 行目: 1 番目のデータ「」は数値ではありません"},
        {bytes.left(bytes.indexOf("Kar")), "bad.csv の 12 行目: ありません（18 行必要です）"},
        {bytes + "extra\r\n", "bad.csv の 19 行目: 表の後に余分な文字があります"},
        {bytes + QByteArray("\x81", 1),
         "bad.csv の 19 行目: CP932（シフト JIS）の文字として読めません"},
        // A CR inside a cell could not be written back: refused when loading, not when saving.
        {variant("対象部位,", "対象部位,\r"),
         "bad.csv の 3 行目: 行の途中に改行文字（CR）があります"},
    };
    for (const auto& c : cases) {
        WriteFile(dir, "bad.csv", c.bytes);
        const auto loaded = ReadResultsCsv(dir.filePath("bad.csv"));
        ASSERT_FALSE(loaded) << c.message;
        EXPECT_EQ(loaded.error().message().toStdString(), c.message);
        // The comment stays readable for the file list.
        EXPECT_EQ(ReadResultsComment(dir.filePath("bad.csv")).value(), QStringLiteral("c"));
    }
}

TEST(ResultsCsv, WriterRefusesWhatCouldNotBeReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("r.csv");
    EXPECT_FALSE(WriteResultsCsv(path, QStringLiteral("two\r\nlines"), TableOf(1)));
    ResultsTable comma = TableOf(1);
    comma.Rows[1][ResultsColumn::OtherFilterName] = std::string("Al,Cu");
    const auto written = WriteResultsCsv(path, "c", comma);
    ASSERT_FALSE(written);
    EXPECT_TRUE(
        written.error().message().startsWith(QStringLiteral("r.csv の 8 行目: 1 行目の計算結果")))
        << written.error().what();
    ResultsTable overfull = TableOf(1);
    overfull.NextRowIndex = 17;
    EXPECT_FALSE(WriteResultsCsv(path, "c", overfull));
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace ordevo
