#include "file_name_check.h"

namespace ordevo {

std::optional<QString> FileNameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) return QStringLiteral("名前が入力されていません");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("「%1」はファイルの名前に使えません").arg(name);
    // Qt takes a path that starts with ":" for one of its resources, not a file of the folder.
    if (name.startsWith(QLatin1Char(':')))
        return QStringLiteral("名前「%1」は「:」で始められません").arg(name);
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QStringLiteral(
                       "名前「%1」にフォルダーの区切り文字（/ または \\）が含まれています")
                .arg(name);
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("名前に制御文字が含まれています");
    }
    return std::nullopt;
}

std::optional<QString> ManufacturerRoomFileName(const std::string& manufacturer) {
    const QString word =
        QString::fromStdString(manufacturer).trimmed().section(' ', 0, 0).toLower();
    if (word.isEmpty()) return std::nullopt;
    for (const QChar c : word)
        if (!(c.isLetterOrNumber() || c == '-' || c == '_')) return std::nullopt;
    return word + ".room";
}

}  // namespace ordevo
