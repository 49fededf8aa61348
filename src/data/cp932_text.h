// Text files in code page 932: read whole, split into lines at CR LF or LF, decoded strictly;
// written encoded strictly, every line ended by CR LF, through QSaveFile.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QFileDevice>
#include <QString>
#include <QStringList>
#include <vector>

#include "file_error.h"

namespace ordevo {

// The largest file each format can reasonably be; anything larger is refused before it is read
// (a device such as /dev/zero would otherwise be read without end).
inline constexpr qint64 kSmallFileMaxBytes = 16 * 1024;   // equipment files
inline constexpr qint64 kTableFileMaxBytes = 64 * 1024;   // material, results CSV, Primary.dat
inline constexpr qint64 kDataFileMaxBytes = 1024 * 1024;  // kernels, attenuation, spectrum
inline constexpr qint64 kLargeDataFileMaxBytes = 4 * 1024 * 1024;  // the backscatter table

// The file's bytes, whole. Only a regular file of at most `maxBytes` bytes is read: a folder,
// a device or a named pipe is refused before it is opened. Errors name the file
// ("Primary.dat: 開けません (No such file…)"), as `nameInMessages` when given, else by its file
// name without the folder.
FileResult<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes,
                                     const QString& nameInMessages = {});

// Lines of raw bytes: split at LF, a CR right before the LF (or at the very end) dropped.
// A final line end does not start another line: "a\r\nb\r\n" is two lines, "" none.
std::vector<QByteArrayView> SplitLines(QByteArrayView bytes);

// Strict CP932 decoding: a byte sequence that is not CP932 (or one cut short) is an error,
// never a replacement character. `fileName` and `lineNumber` name the place in the error.
FileResult<QString> DecodeCp932(QByteArrayView bytes, const QString& fileName, int lineNumber);

// Strict CP932 encoding: a character without a CP932 code is an error, never a '?'.
FileResult<QByteArray> EncodeCp932(const QString& text, const QString& fileName, int lineNumber);

// ReadFileBytes + SplitLines + DecodeCp932 of every line.
FileResult<QStringList> ReadTextLines(const QString& path, qint64 maxBytes);

// Line 1 alone, for files whose first line is shown before the rest is read (a material's
// description, a results file's comment): the rest of the file may be damaged.
FileResult<QString> ReadFirstLine(const QString& path, qint64 maxBytes);

// Saves the bytes through QSaveFile: the old file is replaced only once everything has been
// written and flushed; on any failure (a full disk included) it is left whole, the temporary
// file is removed and the error is returned. Every file the program writes goes through here.
FileResult<void> WriteFileBytes(const QString& path, const QByteArray& bytes);

// Why a file could not be written, in Japanese words for the user.
QString WriteFailureReason(QFileDevice::FileError error);

// Encodes every line, appends CR LF to each and saves them through WriteFileBytes. A line
// holding CR or LF would break the file's line structure and is refused.
FileResult<void> WriteTextLines(const QString& path, const QStringList& lines);

// `text` without the ASCII blanks and tabs at either end (an ideographic space U+3000 is kept:
// it belongs to the text).
QString TrimBlanks(const QString& text);

// The name used in error messages: the file name without its folder.
QString FileNameOf(const QString& path);

}  // namespace ordevo
