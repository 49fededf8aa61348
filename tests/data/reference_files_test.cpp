#include "reference_files.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <cmath>

#include "test_files.h"

namespace ordevo {
namespace {

using testing::WriteFile;

TEST(ReferenceFiles, ReadsTheThreeTablesRecordByRecord) {
    QTemporaryDir dir;
    testing::WriteReferenceFiles(dir);
    const auto read = ReadReferenceData(dir.path());
    ASSERT_TRUE(read) << read.error().what();
    const ReferenceData& ref = *read;

    // The header line holds numbers and is still skipped: row 1 is the first data line.
    EXPECT_DOUBLE_EQ(ref.BackscatterTable[1][1], 1.01);
    EXPECT_DOUBLE_EQ(ref.BackscatterTable[300][31], 300.31);
    EXPECT_EQ(ref.BackscatterTable[0][0], 0.0);
    EXPECT_EQ(ref.BackscatterEnergyGrid[1], 1.0);
    EXPECT_EQ(ref.BackscatterEnergyGrid[31], 150.0);

    // The energy field is dropped; the six columns follow in file order.
    EXPECT_EQ(ref.Attenuation.Tungsten[7], 1007.0);
    EXPECT_EQ(ref.Attenuation.Aluminium[7], 2007.0);
    EXPECT_EQ(ref.Attenuation.Copper[7], 3007.0);
    EXPECT_EQ(ref.Attenuation.AirEnergyAbsorption[300], 4300.0);
    EXPECT_EQ(ref.Attenuation.TissueEnergyAbsorption[1], 5001.0);
    EXPECT_EQ(ref.Attenuation.TissueAttenuation[300], 6300.0);

    // P(k) = 0.01·k: bin 30 (15 keV) takes P(3) exactly, bin 300 P(30).
    EXPECT_NEAR(ref.PrimaryTable[30], 0.03, 1e-15);
    EXPECT_DOUBLE_EQ(ref.PrimaryTable[300], 0.30);
    EXPECT_EQ(ref.PrimaryTable[20], 0.0);
}

TEST(ReferenceFiles, LfLineEndsAreAccepted) {
    QTemporaryDir dir;
    testing::WriteReferenceFiles(dir);
    WriteFile(dir, "Att_coeff2021.dat", testing::AttenuationFileBytes().replace("\r\n", "\n"));
    EXPECT_TRUE(ReadReferenceData(dir.path()));
}

// One fixture per kind of broken file; each error names the file and the line.
TEST(ReferenceFiles, BrokenFilesAreNamedByFileAndLine) {
    struct Case {
        const char* file;
        QByteArray bytes;
        const char* message;
    };
    QByteArray shortAttenuation = testing::AttenuationFileBytes();
    shortAttenuation.truncate(shortAttenuation.indexOf("150, "));  // records 1..299
    QByteArray missingField = testing::AttenuationFileBytes();
    const qsizetype line212 = missingField.indexOf("\r\n106,") + 2;
    missingField.insert(line212, "junk\r\n");
    QByteArray notANumber = testing::BackscatterFileBytes();
    notANumber.replace(" 3.0099999999999998", " 3.01x");
    QByteArray zeroPrimary = testing::PrimaryFileBytes();
    zeroPrimary.replace("20, 0.04", "20, 0");

    const Case cases[] = {
        {"Att_coeff2021.dat", shortAttenuation,
         "Att_coeff2021.dat の 300 行目: 記録が足りません（1 行目から 300 "
         "個の記録が必要ですが、299 個しかありません）"},
        {"Att_coeff2021.dat", missingField,
         "Att_coeff2021.dat の 212 行目: 「junk」は数値ではありません"},
        {"dBSF-SoftDose-SoftPhantom.dat", notANumber,
         "dBSF-SoftDose-SoftPhantom.dat の 4 行目: 「3.01x」は数値ではありません"},
        {"dBSF-SoftDose-SoftPhantom.dat", "header only\r\n",
         "dBSF-SoftDose-SoftPhantom.dat の 2 行目: 記録が足りません（2 行目から 300 "
         "個の記録が必要ですが、0 個しかありません）"},
        {"Primary.dat", "10, 0.02\r\n15\r\n",
         "Primary.dat の 2 行目: 数値が 1 個しかありません（2 個必要）"},
        {"Primary.dat", zeroPrimary,
         "Primary.dat の 3 行目: 一次線量 0 は正の有限の数でなければなりません"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        testing::WriteReferenceFiles(dir);
        WriteFile(dir, c.file, c.bytes);
        const auto read = ReadReferenceData(dir.path());
        ASSERT_FALSE(read) << c.message;
        EXPECT_EQ(read.error().message().toStdString(), c.message);
    }
}

// Values a dose could be computed from but should not be: refused at start with file, line, value.
TEST(ReferenceFiles, ImplausibleValuesAreRefusedNamingFileLineAndValue) {
    auto changed = [](QByteArray bytes, const char* from, const char* to) {
        EXPECT_TRUE(bytes.contains(from)) << from;
        return bytes.replace(from, to);
    };
    const QByteArray att = testing::AttenuationFileBytes();
    const QByteArray bsf = testing::BackscatterFileBytes();
    const QByteArray primary = testing::PrimaryFileBytes();
    const struct {
        const char* file;
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {"Att_coeff2021.dat", changed(att, ", 5212E+00", ", -5212E+00"),
         "Att_coeff2021.dat の 212 行目: 6 番目の数値 -5212: 減弱係数・エネルギー吸収係数は 0 "
         "より大きく 1e9 以下でなければなりません"},
        {"Att_coeff2021.dat", changed(att, ", 1007E+00", ", 0"),
         "Att_coeff2021.dat の 7 行目: 2 番目の数値 0: 減弱係数・エネルギー吸収係数は 0 より大きく "
         "1e9 以下でなければなりません"},
        {"Att_coeff2021.dat", changed(att, ", 3007E+00", ", 1.7e308"),
         "Att_coeff2021.dat の 7 行目: 4 番目の数値 1.7e+308: 減弱係数・エネルギー吸収係数は 0 "
         "より大きく 1e9 以下でなければなりません"},
        // A tissue coefficient ten times the air one: within the bounds, but not soft tissue.
        {"Att_coeff2021.dat", changed(att, ", 5009E+00", ", 40090E+00"),
         "Att_coeff2021.dat の 9 行目: 軟部組織と空気のエネルギー吸収係数（5・6 番目の数値 4009, "
         "40090）の比 10 が 0.5〜2 の外です"},
        {"Att_coeff2021.dat", changed(att, "\r\n106,", "\r\n105,"),
         "Att_coeff2021.dat の 212 行目: エネルギー 105 が前の行（105.5）より大きくありません"},
        {"dBSF-SoftDose-SoftPhantom.dat", changed(bsf, " 3.0099999999999998", " -3.5"),
         "dBSF-SoftDose-SoftPhantom.dat の 4 行目: 2 番目の数値 -3.5: 後方散乱の値は 0 "
         "以上の有限の数でなければなりません"},
        {"Primary.dat", changed(primary, "20, 0.04", "20, -0.04"),
         "Primary.dat の 3 行目: 一次線量 -0.04 は正の有限の数でなければなりません"},
        // A record left out: the lines after the records move up into its place.
        {"Primary.dat", changed(primary, "25, 0.05\r\n", ""),
         "Primary.dat の 29 行目: 記録が足りません（1 行目から 29 個の記録が必要ですが、28 "
         "個しかありません）"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        testing::WriteReferenceFiles(dir);
        WriteFile(dir, c.file, c.bytes);
        const auto read = ReadReferenceData(dir.path());
        ASSERT_FALSE(read) << c.message;
        EXPECT_EQ(read.error().message().toStdString(), c.message);
    }
}

TEST(ReferenceFiles, RecordWithOneNumberTooFewNamesItsLine) {
    QTemporaryDir dir;
    testing::WriteReferenceFiles(dir);
    QByteArray bytes = testing::AttenuationFileBytes();
    bytes.replace(", 6212E+00\r\n", "\r\n");
    WriteFile(dir, "Att_coeff2021.dat", bytes);
    const auto read = ReadReferenceData(dir.path());
    ASSERT_FALSE(read);
    EXPECT_EQ(
        read.error().message(),
        QStringLiteral("Att_coeff2021.dat の 212 行目: 数値が 6 個しかありません（7 個必要）"));
}

TEST(ReferenceFiles, MissingFileIsNamed) {
    QTemporaryDir dir;
    testing::WriteReferenceFiles(dir);
    QFile::remove(dir.filePath("Primary.dat"));
    const auto read = ReadReferenceData(dir.path());
    ASSERT_FALSE(read);
    EXPECT_TRUE(read.error().message().startsWith(QStringLiteral("Primary.dat: 開けません")))
        << read.error().what();
}

}  // namespace
}  // namespace ordevo
