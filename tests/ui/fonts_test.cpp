// The layouts' Japanese and Latin font names resolve to installed fonts that have the glyphs.
#include <QFontInfo>
#include <QRawFont>

#include <gtest/gtest.h>

#include "fonts.h"

using namespace ordevo::ui;

TEST(Fonts, NamesAreTheProgramsOwn) {
    EXPECT_EQ(FontFamilyName(Font::Meiryo), QStringLiteral("メイリオ"));
    EXPECT_EQ(FontFamilyName(Font::MsGothic), QStringLiteral("ＭＳ ゴシック"));
    EXPECT_EQ(FontFamilyName(Font::MsPGothic), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(FontFamilyName(Font::MsMincho), QStringLiteral("ＭＳ 明朝"));
    EXPECT_EQ(FontFamilyName(Font::TimesNewRoman), QStringLiteral("Times New Roman"));
    // Full-width letters and an ASCII blank, not a full-width blank.
    EXPECT_EQ(FontFamilyName(Font::MsGothic).at(2), QChar(u' '));
    EXPECT_EQ(FontFamilyName(Font::MsGothic).at(0), QChar(0xFF2D));
}

TEST(Fonts, EveryNameResolvesToItsInstalledSubstitute) {
    InstallFontSubstitutions();
    InstallFontSubstitutions();  // a second call changes nothing
    for (Font font :
         {Font::Meiryo, Font::MsGothic, Font::MsPGothic, Font::MsMincho, Font::TimesNewRoman}) {
        const QFont asked = MakeFont(font, 9);
        EXPECT_EQ(QFontInfo(asked).family(), SubstituteFamilyName(font))
            << FontFamilyName(font).toStdString();
    }
}

TEST(Fonts, JapaneseNamesDrawKanjiAndKanaThemselves) {
    // QRawFont is the resolved font alone, without Qt's fallback to other fonts.
    for (Font font : {Font::Meiryo, Font::MsGothic, Font::MsPGothic, Font::MsMincho}) {
        const QRawFont raw = QRawFont::fromFont(MakeFont(font, 9));
        ASSERT_TRUE(raw.isValid()) << FontFamilyName(font).toStdString();
        for (char32_t glyph : {U'線', U'量', U'ア', U'ｱ', U'／', U'･'}) {
            EXPECT_TRUE(raw.supportsCharacter(glyph))
                << FontFamilyName(font).toStdString() << " lacks U+" << std::hex
                << static_cast<unsigned>(glyph);
        }
    }
    const QRawFont serif = QRawFont::fromFont(MakeFont(Font::TimesNewRoman, 28));
    EXPECT_TRUE(serif.supportsCharacter(U'O'));
}
