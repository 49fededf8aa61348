#include "file_error.h"

namespace ordevo {

FileError::FileError(const QString& message) : std::runtime_error(message.toStdString()) {}

FileError FileError::AtLine(const QString& fileName, int lineNumber, const QString& problem) {
    return FileError(
        QStringLiteral("%1 の %2 行目: %3").arg(fileName, QString::number(lineNumber), problem));
}

FileError FileError::InFile(const QString& fileName, const QString& problem) {
    return FileError(fileName + QStringLiteral(": ") + problem);
}

}  // namespace ordevo
