#include "cp932_text.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

namespace ordevo {

namespace {

// ICU knows this name as Microsoft's code page 932 (Windows-31J), with "～" at 81 60,
// "－" at 81 7C and the NEC special characters such as "①" at 87 40.
constexpr const char* kCodePage = "CP932";

}  // namespace

QString FileNameOf(const QString& path) { return QFileInfo(path).fileName(); }

QString TrimBlanks(const QString& text) {
    auto blank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    qsizetype start = 0;
    qsizetype end = text.size();
    while (start < end && blank(text[start])) ++start;
    while (end > start && blank(text[end - 1])) --end;
    return text.mid(start, end - start);
}

FileResult<QByteArray> ReadFileBytes(const QString& path, qint64 maxBytes,
                                     const QString& nameInMessages) {
    const QString name = nameInMessages.isEmpty() ? FileNameOf(path) : nameInMessages;
    // Checked before opening: opening a named pipe blocks until someone writes to it, and a
    // device has no end.
    const QFileInfo info(path);
    if (info.exists() && !info.isFile())
        return FileError::InFile(
            name,
            QStringLiteral("通常のファイルではありません（フォルダー・装置・パイプは読めません）"));
    if (info.exists() && info.size() > maxBytes)
        return FileError::InFile(
            name, QStringLiteral("大きすぎます（%1 バイト。この種類のファイルは %2 バイトまで）")
                      .arg(info.size())
                      .arg(maxBytes));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return FileError::InFile(name, QStringLiteral("開けません（%1）").arg(file.errorString()));
    // At most one byte more than allowed: a file that grew since the check is still refused.
    QByteArray bytes = file.read(maxBytes + 1);
    if (file.error() != QFileDevice::NoError)
        return FileError::InFile(name,
                                 QStringLiteral("読み込めません（%1）").arg(file.errorString()));
    if (bytes.size() > maxBytes)
        return FileError::InFile(
            name,
            QStringLiteral("大きすぎます（この種類のファイルは %1 バイトまで）").arg(maxBytes));
    return bytes;
}

std::vector<QByteArrayView> SplitLines(QByteArrayView bytes) {
    std::vector<QByteArrayView> lines;
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    while (start < size) {
        qsizetype end = bytes.indexOf('\n', start);
        const qsizetype next = end < 0 ? size : end + 1;
        if (end < 0) end = size;
        qsizetype stop = end;
        if (stop > start && bytes[stop - 1] == '\r') --stop;
        lines.push_back(bytes.sliced(start, stop - start));
        start = next;
    }
    return lines;
}

FileResult<QString> DecodeCp932(QByteArrayView bytes, const QString& fileName, int lineNumber) {
    QStringDecoder decoder(kCodePage);
    if (!decoder.isValid())
        return FileError::InFile(fileName, QStringLiteral("CP932 の文字変換が使えません"));
    // CP932 never uses LF as a trail byte, so a lead byte cut short by the end of the text
    // shows up as an invalid pair with the LF appended here.
    QByteArray terminated(bytes.data(), bytes.size());
    terminated.append('\n');
    QString text = decoder.decode(terminated);
    if (decoder.hasError() || !text.endsWith(QLatin1Char('\n')))
        return FileError::AtLine(fileName, lineNumber,
                                 QStringLiteral("CP932（シフト JIS）の文字として読めません"));
    text.chop(1);
    return text;
}

FileResult<QByteArray> EncodeCp932(const QString& text, const QString& fileName, int lineNumber) {
    QStringEncoder encoder(kCodePage);
    if (!encoder.isValid())
        return FileError::InFile(fileName, QStringLiteral("CP932 の文字変換が使えません"));
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return FileError::AtLine(fileName, lineNumber,
                                 QStringLiteral("CP932（シフト JIS）で書けない文字があります"));
    return bytes;
}

FileResult<QStringList> ReadTextLines(const QString& path, qint64 maxBytes) {
    auto bytes = ReadFileBytes(path, maxBytes);
    if (!bytes) return bytes.error();
    const QString name = FileNameOf(path);
    QStringList lines;
    int lineNumber = 0;
    for (QByteArrayView raw : SplitLines(*bytes)) {
        auto text = DecodeCp932(raw, name, ++lineNumber);
        if (!text) return text.error();
        lines.append(std::move(*text));
    }
    return lines;
}

QString WriteFailureReason(QFileDevice::FileError error) {
    // The system's own texts are English; the user is told in Japanese what usually lies behind.
    switch (error) {
    case QFileDevice::PermissionsError: return QStringLiteral("書き込みが許可されていません");
    case QFileDevice::ResourceError: return QStringLiteral("ディスクの空きが足りません");
    case QFileDevice::OpenError:
        return QStringLiteral("フォルダーが存在しないか、書き込みが許可されていません");
    default: return QStringLiteral("書き込み中にエラーが起きました");
    }
}

FileResult<void> WriteFileBytes(const QString& path, const QByteArray& bytes) {
    const QString name = FileNameOf(path);
    // A device or a pipe (/dev/stdout, /dev/full) is written as it is: a temporary file
    // renamed over it would replace the device itself (and report nothing of the device's own
    // failure). Its errors are reported all the same.
    if (const QFileInfo info(path); info.exists() && !info.isFile() && !info.isDir()) {
        QFile device(path);
        if (!device.open(QIODevice::WriteOnly) || device.write(bytes) != bytes.size() ||
            !device.flush())
            return FileError::InFile(
                name,
                QStringLiteral("書き込めません（%1）").arg(WriteFailureReason(device.error())));
        return {};
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return FileError::InFile(
            name, QStringLiteral("書き込めません（%1）").arg(WriteFailureReason(file.error())));
    // Small writes only fill Qt's buffer; the disk refuses them at flush(). commit() flushes too
    // but does not report that failure (Qt 6.4 replaces the old file with a cut-off one and
    // returns true), so the flush is checked here, before anything replaces the old file.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString why = WriteFailureReason(file.error());
        file.cancelWriting();
        return FileError::InFile(name, QStringLiteral("書き込めません（%1）").arg(why));
    }
    if (!file.commit())
        return FileError::InFile(
            name,
            QStringLiteral("保存を完了できません（%1）").arg(WriteFailureReason(file.error())));
    return {};
}

FileResult<void> WriteTextLines(const QString& path, const QStringList& lines) {
    const QString name = FileNameOf(path);
    QByteArray bytes;
    int lineNumber = 0;
    for (const QString& line : lines) {
        ++lineNumber;
        if (line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            return FileError::AtLine(name, lineNumber, QStringLiteral("1 行の中に改行があります"));
        auto encoded = EncodeCp932(line, name, lineNumber);
        if (!encoded) return encoded.error();
        bytes.append(*encoded);
        bytes.append("\r\n", 2);
    }
    return WriteFileBytes(path, bytes);
}

FileResult<QString> ReadFirstLine(const QString& path, qint64 maxBytes) {
    const auto bytes = ReadFileBytes(path, maxBytes);
    if (!bytes) return bytes.error();
    const auto lines = SplitLines(*bytes);
    if (lines.empty())
        return FileError::AtLine(FileNameOf(path), 1,
                                 QStringLiteral("ありません（ファイルが空です）"));
    return DecodeCp932(lines.front(), FileNameOf(path), 1);
}

}  // namespace ordevo
