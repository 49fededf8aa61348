// Reading a number box.
#include "number_box.h"

#include "number_format.h"

namespace ordevo {
namespace {

// Full-width ASCII forms, which Japanese input methods type ("１００", "．", "－"), and the
// ideographic space become their ASCII characters; every other character is kept.
QString ToHalfWidth(const QString& text) {
    QString result = text;
    for (QChar& c : result) {
        const char16_t u = c.unicode();
        if (u >= 0xFF01 && u <= 0xFF5E)
            c = QChar(static_cast<char16_t>(u - 0xFF01 + 0x21));
        else if (u == 0x3000)
            c = QLatin1Char(' ');
    }
    return result;
}

}  // namespace

NumberBoxText ReadNumberBox(const QString& typed) {
    NumberBoxText box;
    box.Text = ToHalfWidth(typed);
    box.Blank = box.Text.trimmed().isEmpty();
    QString withoutBlanks = box.Text;
    withoutBlanks.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    double value = 0;
    if (!box.Blank && ParseWholeNumber(withoutBlanks.toStdString(), value)) box.Value = value;
    return box;
}

NumberBoxText ReadNumberBox(const std::string& typedUtf8) {
    return ReadNumberBox(QString::fromStdString(typedUtf8));
}

}  // namespace ordevo
