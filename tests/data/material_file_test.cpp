#include "material_file.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <cmath>

#include "test_files.h"

namespace ordevo {
namespace {

using testing::Cp932;
using testing::WriteFile;

// Rows at 1, 10 and 100 keV and 10 MeV with m = 1000, 10, 1, 1 (coherent + incoherent +
// photoelectric): log-log straight between the first three rows, so m(2 keV) = 1000·2^−2.
QByteArray SampleMaterial() {
    return Cp932(QString::fromUtf8("モリブデン（Mo）①, 説明\r\n")) +
           "10.2  0\r\n"
           "1.0E-03 100 200 700 0 0\r\n"
           "1.0E-02, 1, 2, 7, 0, 0\r\n"
           "0.1 0.1 0.2 0.7\r\n 0 0\r\n"  // a row may wrap onto the next line
           "10 0.1 0.2 0.7 0 0\r\n"
           "anything after the 10 MeV row is not read\r\n";
}

TEST(MaterialFile, ReadsRowsUpToTheFirstRowAtTenMeV) {
    QTemporaryDir dir;
    WriteFile(dir, "Mo.ele", SampleMaterial());
    const auto read = ReadMaterialFile(dir.filePath("Mo.ele"));
    ASSERT_TRUE(read) << read.error().what();
    EXPECT_EQ(read->Description, QString::fromUtf8("モリブデン（Mo）①, 説明"));
    EXPECT_EQ(read->DensityGPerCm3, 10.2);
    ASSERT_EQ(read->Rows.size(), 4u);
    EXPECT_EQ(read->Rows[0].EnergyMeV, 0.001);
    EXPECT_EQ(read->Rows[0].TotalCm2PerG, 1000.0);
    EXPECT_EQ(read->Rows[3].EnergyMeV, 10.0);

    const auto table = LoadMaterialTable(dir.filePath("Mo.ele"));
    ASSERT_TRUE(table) << table.error().what();
    // Log-log interpolation is exact on a power law; 1e-12 covers the logarithms' rounding.
    EXPECT_NEAR((*table)[2], 10.2 * 1000.0, 1e-9);
    EXPECT_NEAR((*table)[4] / 10.2, 250.0, 1e-9);
    EXPECT_NEAR((*table)[3], ((*table)[2] + (*table)[4]) / 2, 1e-12);
    EXPECT_EQ((*table)[1], (*table)[2]);
}

QByteArray RowsFrom(double firstEnergyMeV, int rowsBelowTenMeV) {
    QByteArray bytes = "description\r\n1.0 0\r\n";
    for (int r = 0; r < rowsBelowTenMeV; ++r)
        bytes += QByteArray::number(firstEnergyMeV * (1 + r)) + " 1 1 1 0 0\r\n";
    return bytes + "10 1 1 1 0 0\r\n";
}

// One fixture per kind of broken material file.
TEST(MaterialFile, BrokenFilesAreNamedByFileAndLine) {
    const struct {
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {RowsFrom(0.002, 3),
         "m.ele の 3 行目: 最初のエネルギーが 0.002 MeV です（表は 0.001 MeV "
         "以下から始まる必要があります）"},
        {RowsFrom(0.001, 100),
         "m.ele の 102 行目: 100 行以内に 10 MeV 以上のエネルギーがありません"},
        {"d\r\n1.0 0\r\n0.001 1 1 1 0 0\r\n1 1 1 1 0 0\r\n",
         "m.ele の 4 行目: 3 番目の行の前でファイルが終わっています"},
        {"d\r\n1.0 0\r\n0.001 1 1 1 0 0\r\n1 1 1 x 0 0\r\n",
         "m.ele の 4 行目: 2 番目の行: 「x」は数値ではありません"},
        {"d\r\n1.0 0\r\n0.001 1 1 1 0\r\n",
         "m.ele の 3 行目: 1 番目の行の前でファイルが終わっています"},
        {"d\r\n0 0\r\n0.001 1 1 1 0 0\r\n10 1 1 1 0 0\r\n",
         "m.ele の 2 行目: 密度 0 は正の数でなければなりません"},
        {"d\r\n1 0\r\n0.001 1 1 1 0 0\r\n0.01 1 1 1 0 0\r\n0.005 1 1 1 0 0\r\n",
         "m.ele の 5 行目: 3 番目の行: エネルギーが前の行より小さくなっています"},
        {"", "m.ele の 1 行目: ありません（ファイルが空です）"},
        {"d\r\n1 0\r\n0.001 1 1 1 0 0\r\n10 1 1 1 0 0\r\n20 1 1 x 0 0\r\n",
         "m.ele の 5 行目: 3 番目の行: 「x」は数値ではありません"},
        {"d\r\n1 0\r\n0.001 1 1 1 0 0\r\n10 1 1 1 0 0\r\n20 1 1 1\r\n",
         "m.ele の 5 行目: 3 番目の行の前でファイルが終わっています"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        WriteFile(dir, "m.ele", c.bytes);
        const auto table = LoadMaterialTable(dir.filePath("m.ele"));
        ASSERT_FALSE(table) << c.message;
        EXPECT_EQ(table.error().message().toStdString(), c.message);
    }
    QTemporaryDir dir;  // a remark after the last row is no row
    WriteFile(dir, "m.ele", RowsFrom(0.001, 3) + "end of table\r\n");
    EXPECT_TRUE(LoadMaterialTable(dir.filePath("m.ele")));
}

// The sample going on to 20 MeV, as tables taken whole from a database do: the rows past
// 10 MeV are not used, so the table equals the sample's.
QByteArray SampleToTwentyMeV() {
    QByteArray bytes = SampleMaterial();
    bytes.replace("anything after the 10 MeV row is not read\r\n",
                  "15 0.1 0.2 0.6 0 0\r\n2.0E+01 0.1 0.2 0.5 0 0\r\n");
    return bytes;
}

TEST(MaterialFile, RowsPastTenMeVWithRisingEnergiesAreReadAndNotUsed) {
    QTemporaryDir dir;
    WriteFile(dir, "Mo.ele", SampleToTwentyMeV());
    const auto read = ReadMaterialFile(dir.filePath("Mo.ele"));
    ASSERT_TRUE(read) << read.error().what();
    ASSERT_EQ(read->Rows.size(), 4u);
    EXPECT_EQ(read->Rows.back().EnergyMeV, 10.0);
    EXPECT_EQ(read->Rows.back().TotalCm2PerG, 1.0);
    const auto table = LoadMaterialTable(dir.filePath("Mo.ele"));
    ASSERT_TRUE(table) << table.error().what();
    // m(1 keV) = 1000, m(2 keV) = 1000·2^−2 = 250, m = 1 from 100 keV to 10 MeV (not the
    // 15 MeV row's 0.9), ρ = 10.2: as without the extra rows.
    EXPECT_NEAR((*table)[2], 10.2 * 1000.0, 1e-9);
    EXPECT_NEAR((*table)[4], 10.2 * 250.0, 1e-9);
    EXPECT_NEAR((*table)[300], 10.2, 1e-9);

    WriteFile(dir, "remark.ele", SampleToTwentyMeV() + "end of table\r\n");
    EXPECT_TRUE(LoadMaterialTable(dir.filePath("remark.ele")));
}

// 1.0E+02 typed for 1.0E-02: the 100 MeV row ends the table, the next row (0.1 MeV) falls.
TEST(MaterialFile, AnExponentTypedWithTheWrongSignIsRefused) {
    QTemporaryDir dir;
    QByteArray bytes = SampleToTwentyMeV();
    ASSERT_EQ(bytes.count("1.0E-02"), 1);
    WriteFile(dir, "Mo.ele", bytes.replace("1.0E-02", "1.0E+02"));
    const auto table = LoadMaterialTable(dir.filePath("Mo.ele"));
    ASSERT_FALSE(table);
    EXPECT_EQ(table.error().message().toStdString(),
              "Mo.ele の 5 行目: 3 番目の行: エネルギーが前の行より小さくなっています"
              "（表は 2 番目の行のエネルギー 100 MeV で終わっています。"
              "エネルギーの桁を確認して下さい）");
}

TEST(MaterialFile, HundredRowsEndingAtTenMeVAreAccepted) {
    QTemporaryDir dir;
    WriteFile(dir, "m.ele", RowsFrom(0.001, 99));
    const auto read = ReadMaterialFile(dir.filePath("m.ele"));
    ASSERT_TRUE(read) << read.error().what();
    EXPECT_EQ(read->Rows.size(), 100u);
}

// The table building refuses what it cannot interpolate; the error still names the file.
TEST(MaterialFile, RowsThatCannotBeInterpolatedNameTheFile) {
    QTemporaryDir dir;
    // Each number is finite, but density × coefficient is not.
    WriteFile(dir, "m.ele", "d\r\n1e300 0\r\n0.001 1e10 0 0 0 0\r\n10 1 1 1 0 0\r\n");
    const auto table = LoadMaterialTable(dir.filePath("m.ele"));
    ASSERT_FALSE(table);
    EXPECT_TRUE(table.error().message().startsWith(QStringLiteral("m.ele: ")))
        << table.error().what();
}

TEST(MaterialFile, DescriptionReadsEvenWhenTheNumbersAreDamaged) {
    QTemporaryDir dir;
    WriteFile(dir, "m.ele", Cp932(QString::fromUtf8("鉛 ～ 2.0\r\n")) + "garbage");
    const auto description = ReadMaterialDescription(dir.filePath("m.ele"));
    ASSERT_TRUE(description);
    EXPECT_EQ(*description, QString::fromUtf8("鉛 ～ 2.0"));
    EXPECT_FALSE(ReadMaterialFile(dir.filePath("m.ele")));
    EXPECT_FALSE(ReadMaterialDescription(dir.filePath("none.ele")));
}

}  // namespace
}  // namespace ordevo
