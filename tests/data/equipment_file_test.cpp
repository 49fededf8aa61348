#include "equipment_file.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QTemporaryDir>

#include "test_files.h"

namespace ordevo {
namespace {

using testing::Cp932;
using testing::ReadFile;
using testing::WriteFile;

QByteArray Lines(const QStringList& lines) {
    return Cp932(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

const QStringList kVersion3Lines = {"100.0", "65.0", "12.0", "2.50",  "0.00",  "0.10", " 1 ",
                                    "Mo",    "0.30", "80",   "0.780", "2.145", "1.046"};

TEST(EquipmentFile, VersionComesFromTheCaseSensitiveExtension) {
    EXPECT_EQ(EquipmentFileVersionOf("abc.odv3"), EquipmentFileVersion::Version2Or3);
    EXPECT_EQ(EquipmentFileVersionOf("abc.odv2"), EquipmentFileVersion::Version2Or3);
    EXPECT_EQ(EquipmentFileVersionOf("abc.odv"), EquipmentFileVersion::Version1);
    EXPECT_EQ(EquipmentFileVersionOf("ABC.ODV3"), EquipmentFileVersion::Version1);
    EXPECT_EQ(EquipmentFileLineCount(EquipmentFileVersion::Version1), 24);
    EXPECT_EQ(EquipmentFileLineCount(EquipmentFileVersion::Version2Or3), 13);
}

TEST(EquipmentFile, ReadsVersion3WithFiltrationsInCentimetres) {
    QTemporaryDir dir;
    WriteFile(dir, "Room 1.odv3", Lines(kVersion3Lines));
    const auto read = ReadEquipmentFile(dir.filePath("Room 1.odv3"));
    ASSERT_TRUE(read) << read.error().what();
    const EquipmentData& d = read->Data;
    EXPECT_EQ(d.FocusReceptorDistance, 100.0);
    EXPECT_EQ(d.FocusIsocentreDistance, 65.0);
    EXPECT_EQ(d.TargetAngle, 12.0);
    EXPECT_EQ(read->InherentFiltrationMm, 2.5);
    EXPECT_DOUBLE_EQ(d.InherentFiltration, 0.25);
    EXPECT_DOUBLE_EQ(d.AddedCopper, 0.01);
    EXPECT_EQ(d.OtherFilterFlag, 1);
    EXPECT_EQ(d.OtherFilterMaterial, "Mo");
    EXPECT_EQ(d.OtherFilterMaterial + ".ele", "Mo.ele");  // the material file in force
    EXPECT_DOUBLE_EQ(d.OtherFilterThickness, 0.03);
    EXPECT_EQ(read->TypicalTubeVoltageText, QStringLiteral("80"));
    EXPECT_EQ(d.CouchTransmission, 0.78);
    EXPECT_EQ(d.CouchSoftTissueThickness, 2.145);
    EXPECT_EQ(d.CalibrationConstant, 1.046);
}

// Version 1 holds each measured quantity at 60…100 kV; the 80 kV lines 12, 17, 22 are used.
TEST(EquipmentFile, ReadsVersion1AtEightyKilovolts) {
    QStringList lines = kVersion3Lines.mid(0, 9);
    for (int i = 10; i <= 24; ++i)
        lines << (i == 12 ? QStringLiteral("0.12") : QString::number(i * 0.05));
    QTemporaryDir dir;
    WriteFile(dir, "old.odv", Lines(lines).replace("\r\n", "\n"));
    const auto read = ReadEquipmentFile(dir.filePath("old.odv"));
    ASSERT_TRUE(read) << read.error().what();
    EXPECT_EQ(read->Version, EquipmentFileVersion::Version1);
    EXPECT_EQ(read->Data.CouchTransmission, 0.12);
    EXPECT_DOUBLE_EQ(read->Data.CouchSoftTissueThickness, 0.85);
    EXPECT_DOUBLE_EQ(read->Data.CalibrationConstant, 1.1);
    EXPECT_EQ(read->TypicalTubeVoltageText, QStringLiteral("80"));
}

// A line the computation uses holds one number and nothing else: a blank filtration read as 0, or
// "1,116" read as 1, would give a plausible but wrong dose. The flag is " 0 ", " 1 " or blank.
TEST(EquipmentFile, EveryUsedLineMustBeOneNumber) {
    const struct {
        int line;
        const char* text;
        const char* message;  // "" : read
    } cases[] = {
        {5, "  ", "の 5 行目: 付加フィルタ (アルミ)「」は一つの数値ではありません"},
        {4, "abc", "の 4 行目: 固有フィルタ (Al 当量)「abc」は一つの数値ではありません"},
        {11, "", "の 11 行目: 天板透過率「」は一つの数値ではありません"},
        {13, "1,116", "の 13 行目: 校正定数「1,116」は一つの数値ではありません"},
        {13, "1.1O6", "の 13 行目: 校正定数「1.1O6」は一つの数値ではありません"},
        {1, "abc", "の 1 行目: 焦点-受像器間距離「abc」は一つの数値ではありません"},
        {7, "NaN", "の 7 行目: 付加フィルタの有無「NaN」は 0 か 1 でなければなりません"},
        {7, "-1", "の 7 行目: 付加フィルタの有無「-1」は 0 か 1 でなければなりません"},
        {7, "abc", "の 7 行目: 付加フィルタの有無「abc」は 0 か 1 でなければなりません"},
        {7, "", ""},     // an old file's blank flag: no other filter
        {9, "abc", ""},  // the thickness of a filter not in use is not read
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        QStringList lines = kVersion3Lines;
        lines[6] = " 0 ";
        lines[7] = " 銅, 合金　";  // may hold a comma; ASCII blanks trimmed, U+3000 kept
        lines[c.line - 1] = QString::fromUtf8(c.text);
        WriteFile(dir, "x.odv2", Lines(lines));
        const auto read = ReadEquipmentFile(dir.filePath("x.odv2"));
        if (*c.message == '\0') {
            ASSERT_TRUE(read) << c.text << read.error().what();
            EXPECT_EQ(read->Data.OtherFilterFlag, 0);
            EXPECT_EQ(read->Data.OtherFilterMaterial, "銅, 合金　");
            continue;
        }
        ASSERT_FALSE(read) << c.text;
        EXPECT_EQ(read.error().message(), QStringLiteral("x.odv2 ") + QString::fromUtf8(c.message));
    }
}

TEST(EquipmentFile, TooShortFileNamesTheFirstMissingLine) {
    QTemporaryDir dir;
    WriteFile(dir, "abc.odv3", Lines(kVersion3Lines.mid(0, 10)));
    const auto read = ReadEquipmentFile(dir.filePath("abc.odv3"));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().message(),
              QStringLiteral("abc.odv3 の 11 行目: ありません（13 行必要です）"));

    // The same 13 lines are too few for a version-1 name.
    WriteFile(dir, "abc.odv", Lines(kVersion3Lines));
    EXPECT_EQ(ReadEquipmentFile(dir.filePath("abc.odv")).error().message(),
              QStringLiteral("abc.odv の 14 行目: ありません（24 行必要です）"));
}

// Every field is held to the limits the editor's "OK" enforces; the file is refused naming the
// line and the limit, and "inf", "NaN" or a number past the double range are never read.
TEST(EquipmentFile, ValuesOutsideTheEditorsLimitsAreRefusedNamingLineAndLimit) {
    const struct {
        int line;
        const char* text;
        const char* message;
    } cases[] = {
        {2, "15.0",
         "の 2 行目: 焦点-アイソセンター間距離 15 cm は範囲外です（15 cm より大きい有限の値）"},
        {1, "-100",
         "の 1 行目: 焦点-受像器間距離 -100 cm は範囲外です（焦点-アイソセンター間距離 65 cm "
         "より大きい有限の値）"},
        {1, "1e309", "の 1 行目: 焦点-受像器間距離「1e309」は一つの数値ではありません"},
        {3, "95.0",
         "の 3 行目: Ｘ線管ターゲット角度 95 度 は範囲外です（0 度より大きく 90 度未満）"},
        {4, "-50", "の 4 行目: 固有フィルタ (Al 当量) -50 mm は範囲外です（0 mm 以上の有限の値）"},
        {6, "-0.1", "の 6 行目: 付加フィルタ（銅） -0.1 mm は範囲外です（0 mm 以上の有限の値）"},
        {9, "-1", "の 9 行目: 任意フィルタの厚さ -1 mm は範囲外です（0 mm 以上の有限の値）"},
        {11, "8", "の 11 行目: 天板透過率 8 は範囲外です（0 より大きく 1 以下）"},
        {11, "-0.5", "の 11 行目: 天板透過率 -0.5 は範囲外です（0 より大きく 1 以下）"},
        {11, "0", "の 11 行目: 天板透過率 0 は範囲外です（0 より大きく 1 以下）"},
        {11, "NaN", "の 11 行目: 天板透過率が「NaN」です（有限の数値が必要です）"},
        {12, "-1", "の 12 行目: 天板の軟部組織等価厚 -1 cm は範囲外です（0 cm 以上の有限の値）"},
        {13, "-1.046", "の 13 行目: 校正定数 -1.046 は範囲外です（0.2 以上 5 以下）"},
        {13, "99999", "の 13 行目: 校正定数 99999 は範囲外です（0.2 以上 5 以下）"},
        {13, "inf", "の 13 行目: 校正定数が「inf」です（有限の数値が必要です）"},
        {13, "1e300x", "の 13 行目: 校正定数「1e300x」は一つの数値ではありません"},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        QStringList lines = kVersion3Lines;
        lines[6] = " 0 ";
        lines[c.line - 1] = QString::fromLatin1(c.text);
        WriteFile(dir, "x.odv3", Lines(lines));
        const auto read = ReadEquipmentFile(dir.filePath("x.odv3"));
        if (*c.message == '\0') {
            EXPECT_TRUE(read) << c.text;
            continue;
        }
        ASSERT_FALSE(read) << c.text;
        EXPECT_EQ(read.error().message(), QStringLiteral("x.odv3 ") + QString::fromUtf8(c.message));
    }
    // Version 1 holds the measured quantities on other lines.
    QStringList old = kVersion3Lines.mid(0, 9);
    for (int i = 10; i <= 24; ++i) old << (i == 22 ? QStringLiteral("0") : QStringLiteral("0.5"));
    WriteFile(dir, "old.odv", Lines(old));
    EXPECT_TRUE(ReadEquipmentFile(dir.filePath("old.odv"))
                    .error()
                    .message()
                    .startsWith(QString::fromUtf8("old.odv の 22 行目: 校正定数 0 は")));
}

EquipmentRecordTexts SampleRecord() {
    EquipmentRecordTexts r;
    r.FocusReceptorDistance = 100;
    r.FocusIsocentreDistance = 5;
    r.TargetAngle = 12;
    r.InherentFiltrationMm = 2.5;
    r.AddedAluminiumMm = 0;
    r.AddedCopperMm = 0.1;
    r.OtherFilterFlag = 1;
    r.OtherFilterMaterialText = QString::fromUtf8("Ｍｏ～");
    r.OtherFilterThicknessText = "0.3";
    r.TypicalTubeVoltageText = "80";
    r.CouchTransmission = 0.7804;
    r.CouchSoftTissueThickness = 3.2;
    r.CalibrationConstant = 1.0456;
    return r;
}

TEST(EquipmentFile, WritesVersion3ThroughThePictures) {
    QTemporaryDir dir;
    const auto written =
        WriteEquipmentFile(dir.path(), QString::fromUtf8("Ｘ線室１"), SampleRecord());
    ASSERT_TRUE(written) << written.error().what();
    EXPECT_EQ(*written, QString::fromUtf8("Ｘ線室１.odv3"));
    const QStringList expected = {
        "100.0", "05.0", "12.0",  "2.50",  "0.00", "0.10", " 1 ", QString::fromUtf8("Ｍｏ～"),
        "0.3",   "80",   "0.780", "3.200", "1.046"};
    EXPECT_EQ(ReadFile(dir.filePath(*written)), Lines(expected));

    // A focus–isocentre distance of 5 cm is outside the editor's limits: reading refuses it.
    const auto read = ReadEquipmentFile(dir.filePath(*written));
    ASSERT_FALSE(read);
    EXPECT_TRUE(read.error().message().startsWith(QString::fromUtf8("Ｘ線室１.odv3 の 2 行目: ")))
        << read.error().what();
}

TEST(EquipmentFile, NamesOutsideTheFolderAreRefusedAndNothingIsWritten) {
    QTemporaryDir dir;
    QDir(dir.path()).mkdir("sub");
    for (const QString& name :
         {QString(), QStringLiteral("  "), QStringLiteral("."), QStringLiteral(".."),
          QStringLiteral("sub/room"), QStringLiteral("..\\room"), QStringLiteral("../room"),
          QStringLiteral("a\nb")}) {
        const auto written = WriteEquipmentFile(dir.filePath("sub"), name, SampleRecord());
        EXPECT_FALSE(written) << name.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QDir(dir.filePath("sub"))
                    .entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot)
                    .isEmpty());
}

// A material row pair that is flat in log-log space gives the same μ everywhere: ρ·m.
QByteArray FlatMaterial() { return "flat\r\n2.0, 0\r\n0.001 1 2 3 0 0\r\n10 1 2 3 0 0\r\n"; }

TEST(EquipmentFile, LoadingWithTheFlagSetLoadsTheMaterialTable) {
    QTemporaryDir dir;
    WriteFile(dir, "Mo.ele", FlatMaterial());
    WriteFile(dir, "Room.odv3", Lines(kVersion3Lines));
    const auto loaded = LoadEquipmentFile(dir.filePath("Room.odv3"), dir.path());
    ASSERT_TRUE(loaded) << loaded.error().what();
    EXPECT_DOUBLE_EQ(loaded->Data.OtherFilterAttenuation[1], 12.0);
    EXPECT_DOUBLE_EQ(loaded->Data.OtherFilterAttenuation[300], 12.0);

    QFile::remove(dir.filePath("Mo.ele"));
    const auto missing = LoadEquipmentFile(dir.filePath("Room.odv3"), dir.path());
    ASSERT_FALSE(missing);
    EXPECT_TRUE(missing.error().message().startsWith(
        QStringLiteral("Room.odv3: 任意フィルタの材質ファイルを読み込めません")))
        << missing.error().what();
}

TEST(EquipmentFile, MaterialNameCannotLeaveTheFolder) {
    QTemporaryDir dir;
    WriteFile(dir, "Mo.ele", FlatMaterial());
    QStringList lines = kVersion3Lines;
    lines[7] = "../Mo";
    WriteFile(dir, "sub/Room.odv3", Lines(lines));
    const auto loaded = LoadEquipmentFile(dir.filePath("sub/Room.odv3"), dir.filePath("sub"));
    ASSERT_FALSE(loaded);
    EXPECT_TRUE(loaded.error().message().startsWith(QStringLiteral("Room.odv3 の 8 行目:")));
}

}  // namespace
}  // namespace ordevo
