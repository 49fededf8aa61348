#include "spectrum_file.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "test_files.h"

namespace ordevo {
namespace {

using testing::ReadFile;
using testing::WriteFile;

BinArray SampleSpectrum() {
    BinArray s{};
    s[2] = 0.0123456;
    s[160] = 0.5;
    return s;
}

TEST(SpectrumFile, WritesThreeHundredLinesOfEnergyAndFluence) {
    QTemporaryDir dir;
    const QString path = dir.filePath("B_SPCTL.dat");
    ASSERT_TRUE(WriteSpectrumFile(path, SampleSpectrum()));
    const QByteArray bytes = ReadFile(path);
    EXPECT_EQ(bytes.count("\r\n"), 300);
    EXPECT_TRUE(bytes.startsWith("5.000E-01  0.000E+00\r\n1.000E+00  1.235E-02\r\n"));
    EXPECT_TRUE(bytes.contains("\r\n8.000E+01  5.000E-01\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\n1.500E+02  0.000E+00\r\n"));
    EXPECT_EQ(bytes.size(), 300 * 22);
}

TEST(SpectrumFile, ReadsBackThePairsAsWritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("B_SPCTL.dat");
    ASSERT_TRUE(WriteSpectrumFile(path, SampleSpectrum()));
    const auto read = ReadSpectrumFile(path);
    ASSERT_TRUE(read) << read.error().what();
    EXPECT_EQ(read->EnergyKeV[1], 0.5);
    EXPECT_EQ(read->EnergyKeV[300], 150.0);
    EXPECT_EQ(read->Fluence[2], 0.01235);  // as rounded in the file
    EXPECT_EQ(read->Fluence[160], 0.5);
    EXPECT_EQ(read->Fluence[300], 0.0);
}

TEST(SpectrumFile, BrokenFilesAreNamedByLine) {
    QByteArray shortFile = QByteArray::fromStdString(SpectrumFileText(SampleSpectrum()));
    shortFile.chop(22);
    QByteArray badLine = QByteArray::fromStdString(SpectrumFileText(SampleSpectrum()));
    badLine.replace("8.000E+01  5.000E-01", "8.000E+01  5.000E-01 7");
    const struct {
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {shortFile, "B_SPCTL.dat の 300 行目: ありません（300 行必要です）"},
        {badLine, "B_SPCTL.dat の 160 行目: 数値が 3 個あります（2 個のはず）"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        WriteFile(dir, "B_SPCTL.dat", c.bytes);
        const auto read = ReadSpectrumFile(dir.filePath("B_SPCTL.dat"));
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().message().toStdString(), c.message);
    }
    QTemporaryDir empty;
    EXPECT_FALSE(ReadSpectrumFile(empty.filePath("B_SPCTL.dat")));
}

}  // namespace
}  // namespace ordevo
