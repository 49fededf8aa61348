#include "room_profile_file.h"

#include <QFileInfo>
#include <variant>

#include "cp932_text.h"

namespace ordevo {

FileResult<map::RoomProfile> ReadRoomProfileFile(const QString& path) {
    const auto lines = ReadTextLines(path, kSmallFileMaxBytes);
    if (!lines) return lines.error();
    const auto parsed = map::ParseRoomProfile(lines->join('\n').toStdString(),
                                              QFileInfo(path).completeBaseName().toStdString());
    if (const auto* error = std::get_if<std::string>(&parsed))
        return FileError::InFile(FileNameOf(path), QString::fromStdString(*error));
    return std::get<map::RoomProfile>(parsed);
}

FileResult<void> WriteRoomProfileFile(const QString& path, const QStringList& comment,
                                      const map::RoomProfile& profile, bool replace) {
    const QFileInfo existing(path);
    if (!replace && (existing.exists() || existing.isSymLink()))
        return FileError::InFile(FileNameOf(path),
                                 QStringLiteral("既にあるため置き換えませんでした"));
    QStringList lines;
    for (const QString& line : comment) {
        QString one = line;
        one.replace('\r', ' ').replace('\n', ' ');
        lines << QStringLiteral("# ") + one;
    }
    lines << QString::fromStdString(map::RoomProfileText(profile)).split('\n', Qt::SkipEmptyParts);
    return WriteTextLines(path, lines);
}

}  // namespace ordevo
