// Font names of the layouts mapped onto the fonts that Debian ships (fonts-ipafont,
// fonts-liberation2).
#include "fonts.h"

#include <QStringList>

#include <mutex>
#include <stdexcept>

namespace ordevo::ui {

QString FontFamilyName(Font font) {
    switch (font) {
    case Font::Inherit: return {};
    case Font::Meiryo: return QStringLiteral("メイリオ");
    case Font::MsGothic: return QStringLiteral("ＭＳ ゴシック");
    case Font::MsPGothic: return QStringLiteral("ＭＳ Ｐゴシック");
    case Font::MsMincho: return QStringLiteral("ＭＳ 明朝");
    case Font::TimesNewRoman: return QStringLiteral("Times New Roman");
    }
    return {};
}

QString SubstituteFamilyName(Font font) {
    switch (font) {
    case Font::Inherit: return {};
    case Font::Meiryo: return QStringLiteral("IPAPGothic");  // proportional gothic, like Meiryo
    case Font::MsGothic: return QStringLiteral("IPAGothic");
    case Font::MsPGothic: return QStringLiteral("IPAPGothic");
    case Font::MsMincho: return QStringLiteral("IPAMincho");
    case Font::TimesNewRoman: return QStringLiteral("Liberation Serif");  // metric-compatible
    }
    return {};
}

void InstallFontSubstitutions() {
    static std::once_flag once;
    std::call_once(once, [] {
        struct Alias {
            Font font;
            const char* asciiName;
        };
        const Alias aliases[] = {
            {Font::Meiryo, "Meiryo"},        {Font::MsGothic, "MS Gothic"},
            {Font::MsPGothic, "MS PGothic"}, {Font::MsMincho, "MS Mincho"},
            {Font::TimesNewRoman, nullptr},
        };
        for (const Alias& alias : aliases) {
            // The substitute comes first; the generic family is the last resort.
            const QStringList substitutes{SubstituteFamilyName(alias.font),
                                          alias.font == Font::TimesNewRoman
                                              ? QStringLiteral("serif")
                                              : QStringLiteral("sans-serif")};
            QFont::insertSubstitutions(FontFamilyName(alias.font), substitutes);
            if (alias.asciiName != nullptr) {
                QFont::insertSubstitutions(QString::fromLatin1(alias.asciiName), substitutes);
            }
        }
    });
}

QFont MakeFont(const QString& familyName, double pointSize) {
    InstallFontSubstitutions();
    QFont font(familyName);
    font.setPointSizeF(pointSize);
    return font;
}

QFont MakeFont(Font font, double pointSize) {
    if (font == Font::Inherit) {
        throw std::invalid_argument("MakeFont: Font::Inherit names no family");
    }
    return MakeFont(FontFamilyName(font), pointSize);
}

}  // namespace ordevo::ui
