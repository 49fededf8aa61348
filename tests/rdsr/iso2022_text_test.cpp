// Japanese names as Japanese units write them (ISO 2022 IR 87 kanji and kana, IR 13 half-width
// katakana, IR 6 ASCII), decoded to UTF-8 by the reader itself, and what the sets cannot hold
// refused rather than shown half-decoded. The byte sequences are DICOM PS3.5 Annex H's.
#include <gtest/gtest.h>

#include "dose_report_reader.h"
#include "iso2022_text.h"
#include "report_writer.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcitem.h>

#include <QTemporaryDir>

namespace ordevo::rdsr {
namespace {

// ESC $ B (JIS X 0208) and ESC ( B (ASCII), ESC ( J (JIS X 0201 romaji).
const std::string kKanji = "\x1b$B", kAscii = "\x1b(B", kRomaji = "\x1b(J";

TEST(Iso2022Japanese, DecodesKanjiKanaAndHalfWidthKatakana) {
    const struct {
        std::string bytes;
        bool katakanaInG1;
        std::optional<std::string> text;
    } cases[] = {
        // Yamada^Tarou=山田^太郎=やまだ^たろう (PS3.5 H.3.2, ISO 2022 IR 87)
        {"Yamada^Tarou=" + kKanji + ";3ED" + kAscii + "^" + kKanji + "B@O:" + kAscii + "=" +
             kKanji + "$d$^$@" + kAscii + "^" + kKanji + "$?$m$&" + kAscii,
         false, "Yamada^Tarou=山田^太郎=やまだ^たろう"},
        // ﾔﾏﾀﾞ^ﾀﾛｳ=山田^太郎 (PS3.5 H.3.1, ISO 2022 IR 13 \ ISO 2022 IR 87)
        {"\xd4\xcf\xc0\xde^\xc0\xdb\xb3=" + kKanji + ";3ED" + kRomaji + "^" + kKanji +
             "B@O:" + kRomaji,
         true, "ﾔﾏﾀﾞ^ﾀﾛｳ=山田^太郎"},
        {"P-123", false, "P-123"},
        // Row 1 (全角スペース 0x2121) and the last row of level 2 (0x7426 熙).
        {kKanji + "!!t&" + kAscii, false, "\u3000熙"},
        {"\xd4\xcf", false, std::nullopt},             // katakana bytes without IR 13
        {kKanji + ";" + kAscii, false, std::nullopt},  // half a kanji
        {"\x1b$(D", false, std::nullopt},              // JIS X 0212: not one of these sets
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeIso2022Japanese(c.bytes, c.katakanaInG1), c.text) << c.bytes;
    EXPECT_TRUE(IsIso2022Japanese("\\ISO 2022 IR 87"));
    EXPECT_TRUE(IsIso2022Japanese("ISO 2022 IR 13\\ISO 2022 IR 87"));
    EXPECT_TRUE(IsIso2022Japanese("ISO 2022 IR 6\\ISO 2022 IR 87"));
    EXPECT_FALSE(IsIso2022Japanese("ISO 2022 IR 6\\ISO 2022 IR 149"));
    EXPECT_FALSE(IsIso2022Japanese("ISO_IR 100"));
}

// Through the reader: the report's patient name comes out in UTF-8, escapes gone.
TEST(Iso2022Japanese, TheReaderGivesTheNameDecoded) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("report.dcm").toStdString();
    const std::string name =
        "Yamada^Tarou=" + kKanji + ";3ED" + kAscii + "^" + kKanji + "B@O:" + kAscii;
    ASSERT_TRUE(testing::WriteFixtureReport(
        testing::FixtureReport{}, path, nullptr, [&name](DcmItem& dataset) {
            dataset.putAndInsertString(DCM_SpecificCharacterSet, "\\ISO 2022 IR 87");
            dataset.putAndInsertString(DCM_PatientName, name.c_str());
        }));
    const ReportReading reading = ReadDoseReport(path);
    ASSERT_TRUE(reading.Report) << reading.Error;
    EXPECT_EQ(reading.Report->PatientName, "Yamada^Tarou=山田^太郎");
}

}  // namespace
}  // namespace ordevo::rdsr
