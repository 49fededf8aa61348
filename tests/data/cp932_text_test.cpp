#include "cp932_text.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <QTemporaryDir>

#include "test_files.h"
#include "tiny_disk.h"

namespace ordevo {
namespace {

using testing::ReadFile;
using testing::TinyDisk;
using testing::WriteFile;

// The characters where code page 932 and plain Shift_JIS disagree must keep their CP932 codes.
TEST(Cp932Text, SpecialCharactersRoundTripByteForByte) {
    QTemporaryDir dir;
    const QString path = dir.filePath("chars.txt");
    const QStringList lines = {QString::fromUtf8("～―①－￢"), QStringLiteral("abc")};
    ASSERT_TRUE(WriteTextLines(path, lines));
    const QByteArray expected("\x81\x60\x81\x5C\x87\x40\x81\x7C\x81\xCA\r\nabc\r\n", 17);
    EXPECT_EQ(ReadFile(path), expected);

    const auto read = ReadTextLines(path, kTableFileMaxBytes);
    ASSERT_TRUE(read) << read.error().what();
    EXPECT_EQ(*read, lines);
}

TEST(Cp932Text, LinesSplitAtCrLfOrLf) {
    auto texts = [](QByteArrayView bytes) {
        QStringList out;
        for (QByteArrayView line : SplitLines(bytes)) out << QString::fromLatin1(line);
        return out;
    };
    EXPECT_EQ(texts("a\r\nb\nc"), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(texts("a\r\n"), QStringList{"a"});
    EXPECT_EQ(texts("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(texts("a\rb\r"), QStringList{"a\rb"});  // only a CR at a line end is dropped
    EXPECT_TRUE(texts("").isEmpty());
}

TEST(Cp932Text, InvalidBytesAreAnErrorNamingTheLine) {
    QTemporaryDir dir;
    WriteFile(dir, "bad.txt", QByteArray("ok\r\nx\x81\x20y\r\n", 10));
    const auto read = ReadTextLines(dir.filePath("bad.txt"), kSmallFileMaxBytes);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().message(),
              QStringLiteral("bad.txt の 2 行目: CP932（シフト JIS）の文字として読めません"));

    // A lead byte cut off by the end of the file.
    WriteFile(dir, "cut.txt", QByteArray("ok\r\nab\x81", 7));
    EXPECT_FALSE(ReadTextLines(dir.filePath("cut.txt"), kSmallFileMaxBytes));
}

TEST(Cp932Text, UnencodableCharacterIsRefusedAndTheOldFileStays) {
    QTemporaryDir dir;
    WriteFile(dir, "old.txt", "old\r\n");
    const auto written = WriteTextLines(dir.filePath("old.txt"),
                                        {QStringLiteral("ok"), QString::fromUtf8("price €5")});
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().message(),
              QStringLiteral("old.txt の 2 行目: CP932（シフト JIS）で書けない文字があります"));
    EXPECT_EQ(ReadFile(dir.filePath("old.txt")), QByteArray("old\r\n"));
}

TEST(Cp932Text, LineBreakInsideALineIsRefused) {
    QTemporaryDir dir;
    EXPECT_FALSE(WriteTextLines(dir.filePath("x.txt"), {QStringLiteral("a\r\nb")}));
    EXPECT_FALSE(QFile::exists(dir.filePath("x.txt")));
}

// Root may write anywhere, so the refusal comes from a parent that is a regular file.
TEST(Cp932Text, WriteWhereNoFolderCanBeIsAnError) {
    QTemporaryDir dir;
    WriteFile(dir, "plain", "not a folder");
    const auto written = WriteTextLines(dir.filePath("plain/out.txt"), {QStringLiteral("x")});
    ASSERT_FALSE(written);
    EXPECT_TRUE(written.error().message().startsWith(QStringLiteral("out.txt: 書き込めません（")))
        << written.error().what();
    EXPECT_EQ(ReadFile(dir.filePath("plain")), QByteArray("not a folder"));
}

// A disk that fills up mid-write (here a file-size limit, which binds root too) must leave the
// old file whole: nothing replaces it until everything has been written.
TEST(Cp932Text, WriteCutShortLeavesTheOldFileWhole) {
    QTemporaryDir dir;
    const QByteArray old = "old contents\r\n";
    WriteFile(dir, "keep.txt", old);

    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 64;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto written = WriteFileBytes(dir.filePath("keep.txt"), QByteArray(100000, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previousHandler);

    EXPECT_FALSE(written);
    EXPECT_EQ(ReadFile(dir.filePath("keep.txt")), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files),
              QStringList{"keep.txt"});  // no temporary left
}

// A full disk refuses the last buffered bytes only when they are flushed; the old file must stay
// whole and the failure be reported, whether the new text fits Qt's buffer or not.
TEST(Cp932Text, AFullDiskLeavesTheOldFileWholeAndSaysSo) {
    TinyDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason().toStdString();
    const QString path = disk.FilePath(QStringLiteral("Primary.dat"));
    const QByteArray old(3000, 'o');
    ASSERT_TRUE(WriteFileBytes(path, old));
    disk.Fill();
    for (const qsizetype size : {100, 3000, 40000}) {
        const auto written = WriteFileBytes(path, QByteArray(size, 'n'));
        ASSERT_FALSE(written) << size;
        EXPECT_TRUE(
            written.error().message().startsWith(QStringLiteral("Primary.dat: 書き込めません")))
            << written.error().what();
        EXPECT_EQ(ReadFile(path), old) << size;
        EXPECT_EQ(QDir(disk.Path()).entryList(QDir::Files),
                  (QStringList{"filler", "Primary.dat"}));  // no temporary left
    }
}

// A read-only file system refuses root as well.
TEST(Cp932Text, AFolderThatRefusesWritingKeepsTheOldFile) {
    TinyDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason().toStdString();
    const QString path = disk.FilePath(QStringLiteral("old.txt"));
    ASSERT_TRUE(WriteTextLines(path, {QStringLiteral("old")}));
    ASSERT_TRUE(disk.MakeReadOnly());
    const auto written = WriteTextLines(path, {QStringLiteral("new")});
    ASSERT_FALSE(written);
    EXPECT_TRUE(written.error().message().startsWith(QStringLiteral("old.txt: 書き込めません")))
        << written.error().what();
    EXPECT_EQ(ReadFile(path), QByteArray("old\r\n"));
}

// Only a regular file of the format's size is read; a pipe or a device would block or never end.
TEST(Cp932Text, OnlyRegularFilesOfTheirFormatsSizeAreRead) {
    QTemporaryDir dir;
    WriteFile(dir, "big.odv3", QByteArray(kSmallFileMaxBytes + 1, '1'));
    WriteFile(dir, "fits.odv3", QByteArray(kSmallFileMaxBytes, '1'));
    ASSERT_EQ(mkfifo(dir.filePath("pipe").toLocal8Bit().constData(), 0600), 0);
    const struct {
        QString path;
        const char* problem;
    } refused[] = {
        {dir.filePath("big.odv3"),
         "big.odv3: 大きすぎます（16385 バイト。この種類のファイルは 16384 バイトまで）"},
        {dir.filePath("pipe"),
         "pipe: 通常のファイルではありません（フォルダー・装置・パイプは読めません）"},
        {QStringLiteral("/dev/zero"),
         "zero: 通常のファイルではありません（フォルダー・装置・パイプは読めません）"},
        {dir.path(), "通常のファイルではありません（フォルダー・装置・パイプは読めません）"},
    };
    for (const auto& r : refused) {
        const auto bytes = ReadFileBytes(r.path, kSmallFileMaxBytes);
        ASSERT_FALSE(bytes) << r.path.toStdString();
        EXPECT_TRUE(bytes.error().message().endsWith(QString::fromUtf8(r.problem)))
            << bytes.error().what();
    }
    EXPECT_TRUE(ReadFileBytes(dir.filePath("fits.odv3"), kSmallFileMaxBytes));
}

}  // namespace
}  // namespace ordevo
