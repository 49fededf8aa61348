#include "file_name_check.h"

namespace ordevo {

std::optional<QString> FileNameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) return QStringLiteral("the name is empty");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("\"%1\" is not a usable name").arg(name);
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QStringLiteral(
                       "the name \"%1\" holds a path separator ('/' or '\\'); "
                       "a file can only be saved in the working folder")
                .arg(name);
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("the name holds a control character");
    }
    return std::nullopt;
}

}  // namespace ordevo
