#include "scatter_kernel_file.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

#include "test_files.h"

namespace ordevo {
namespace {

using testing::WriteFile;

// Value (row, ring) = 1000·row + ring, seven numbers per line so that the line breaks fall
// inside the rows, with mixed separators and notations.
QByteArray KernelBytes(int count = kKernelRows * kKernelColumns) {
    QByteArray bytes;
    for (int n = 0; n < count; ++n) {
        const int row = n / kKernelColumns + 1;
        const int ring = n % kKernelColumns + 1;
        const double value = 1000.0 * row + ring;
        bytes += (n % 2 == 0) ? QByteArray::number(value, 'E', 6) : QByteArray::number(value);
        bytes += (n % 7 == 6) ? "\r\n" : (n % 3 == 0 ? ", " : "  ");
    }
    return bytes;
}

TEST(ScatterKernelFile, ReadsTheNumbersInRowOrder) {
    QTemporaryDir dir;
    WriteFile(dir, "PDS-data/95.dat", KernelBytes());
    const ScatterKernel kernel = LoadScatterKernel(dir.path(), 95);
    EXPECT_EQ(kernel[1][1], 1001.0);
    EXPECT_EQ(kernel[1][80], 1080.0);
    EXPECT_EQ(kernel[41][3], 41003.0);
    EXPECT_EQ(kernel[80][80], 80080.0);
    EXPECT_EQ(kernel[0][5], 0.0);

    WriteFile(dir, "PDS-data/100.dat", KernelBytes());
    const ScatterKernelLoader load = MakeScatterKernelLoader(dir.path());
    EXPECT_EQ(load(100)[2][2], 2002.0);
    EXPECT_TRUE(ScatterKernelPath(dir.path(), 100).endsWith(QStringLiteral("/PDS-data/100.dat")));
}

TEST(ScatterKernelFile, BrokenFilesThrowNamingFileAndPlace) {
    QByteArray notANumber = KernelBytes();
    notANumber.replace("1.005000E+03", "1.005000E+0x");
    QByteArray negative = KernelBytes();
    negative.replace("1.005000E+03", "-1.005000E+03");
    const struct {
        QByteArray bytes;
        const char* message;
    } cases[] = {
        {KernelBytes(6399),
         "PDS-data/40.dat の 915 行目: 数値が 6399 個で終わっています（6400 個必要）"},
        {KernelBytes() + " 7", "PDS-data/40.dat の 915 行目: 数値が 6400 個より多くあります"},
        {notANumber,
         "PDS-data/40.dat の 1 行目: 5 番目の数値: 「1.005000E+0x」は数値ではありません"},
        {negative,
         "PDS-data/40.dat の 1 行目: 5 番目の数値 -1005: 散乱線量は 0 "
         "以上の有限の数でなければなりません"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        WriteFile(dir, "PDS-data/40.dat", c.bytes);
        try {
            LoadScatterKernel(dir.path(), 40);
            ADD_FAILURE() << "no error for: " << c.message;
        } catch (const std::runtime_error& error) {
            EXPECT_STREQ(error.what(), c.message);
        }
    }
}

TEST(ScatterKernelFile, MissingFileThrows) {
    QTemporaryDir dir;
    const ScatterKernelLoader load = MakeScatterKernelLoader(dir.path());
    try {
        load(150);
        ADD_FAILURE() << "a missing kernel file was read";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("PDS-data/150.dat: 開けません")))
            << error.what();
    }
}

// The reader hands the same reason back as a result; only the loader throws it.
TEST(ScatterKernelFile, ReadingReturnsTheReasonTheLoaderThrows) {
    QTemporaryDir dir;
    WriteFile(dir, "PDS-data/20.dat", KernelBytes(kKernelRows * kKernelColumns - 1));
    for (int energyKeV : {20, 150}) {
        const FileResult<ScatterKernel> read = ReadScatterKernel(dir.path(), energyKeV);
        ASSERT_FALSE(read.has_value()) << energyKeV;
        try {
            LoadScatterKernel(dir.path(), energyKeV);
            ADD_FAILURE() << energyKeV;
        } catch (const FileError& error) {
            EXPECT_EQ(read.error().message(), error.message());
        }
    }
    WriteFile(dir, "PDS-data/30.dat", KernelBytes());
    const FileResult<ScatterKernel> read = ReadScatterKernel(dir.path(), 30);
    ASSERT_TRUE(read.has_value()) << read.error().what();
    EXPECT_EQ((*read)[3][4], 3004.0);
}

}  // namespace
}  // namespace ordevo
