#include "user_name_file.h"

#include <QDir>

#include "cp932_text.h"
#include "reference_files.h"

namespace ordevo {

namespace {

QString PrimaryPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kPrimaryFileName));
}

}  // namespace

std::optional<QString> ReadUserName(const QString& folder) {
    const auto bytes = ReadFileBytes(PrimaryPath(folder), kTableFileMaxBytes);
    if (!bytes) return std::nullopt;
    const auto lines = SplitLines(*bytes);
    if (static_cast<int>(lines.size()) < kUserNameLine) return std::nullopt;
    const auto name =
        DecodeCp932(lines[kUserNameLine - 1], QString::fromLatin1(kPrimaryFileName), kUserNameLine);
    if (!name) return std::nullopt;
    return *name;
}

FileResult<void> StoreUserName(const QString& folder, const QString& name) {
    const QString fileName = QString::fromLatin1(kPrimaryFileName);
    if (name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')))
        return FileError::AtLine(fileName, kUserNameLine,
                                 QStringLiteral("ユーザー名に改行は使えません"));
    const auto encodedName = EncodeCp932(name, fileName, kUserNameLine);
    if (!encodedName) return encodedName.error();

    const auto bytes = ReadFileBytes(PrimaryPath(folder), kTableFileMaxBytes);
    if (!bytes) return bytes.error();
    const auto lines = SplitLines(*bytes);
    constexpr int kKeptLines = kUserNameLine - 1;
    if (static_cast<int>(lines.size()) < kKeptLines)
        return FileError::AtLine(
            fileName, static_cast<int>(lines.size()) + 1,
            QStringLiteral("ありません（ユーザー名の前に %1 行必要です）").arg(kKeptLines));
    QByteArray out;
    for (int i = 0; i < kKeptLines; ++i) {
        out.append(lines[i]);
        out.append("\r\n", 2);
    }
    out.append(*encodedName);
    out.append("\r\n", 2);
    return WriteFileBytes(PrimaryPath(folder), out);
}

}  // namespace ordevo
