// The fonts the windows ask for by their Japanese names, and how they resolve on this machine.
#pragma once

#include <QFont>
#include <QString>

namespace ordevo::ui {

enum class Font {
    Inherit,        // the parent's font (controls); not a family of its own
    Meiryo,         // "メイリオ"
    MsGothic,       // "ＭＳ ゴシック" (fixed pitch)
    MsPGothic,      // "ＭＳ Ｐゴシック"
    MsMincho,       // "ＭＳ 明朝"
    TimesNewRoman,  // "Times New Roman"
};

// The family name the program asks for, exactly as written in the layouts ("" for Inherit).
QString FontFamilyName(Font font);

// The installed family each name resolves to after InstallFontSubstitutions():
// IPAPGothic, IPAGothic, IPAPGothic, IPAMincho, Liberation Serif ("" for Inherit).
QString SubstituteFamilyName(Font font);

// Registers QFont substitutions so the names above (and their ASCII spellings "Meiryo",
// "MS Gothic", "MS PGothic", "MS Mincho") resolve to the installed IPA and Liberation fonts.
// Safe to call any number of times; the layers that create fonts call it themselves.
void InstallFontSubstitutions();

// A font of the given family name (one of the names above or any installed family) and size.
QFont MakeFont(const QString& familyName, double pointSize);
QFont MakeFont(Font font, double pointSize);  // Font::Inherit is not allowed here

}  // namespace ordevo::ui
