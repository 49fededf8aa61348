// CP932 text files through Qt Core's encoder, saved whole.
#include "text_output.h"

#include <QByteArray>
#include <QSaveFile>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>

#include <charconv>
#include <stdexcept>
#include <system_error>

namespace ordevo::refdata {

std::string FormatScientific(double value, int digits) {
    char buffer[64];
    const auto [end, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, digits);
    if (ec != std::errc()) throw std::runtime_error("number does not fit its text");
    std::string text(buffer, end);
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    return text;
}

std::string FormatPlain(double value) {
    char buffer[64];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, value);
    if (ec != std::errc()) throw std::runtime_error("number does not fit its text");
    return std::string(buffer, end);
}

std::string EncodeCp932Lines(const std::vector<std::string>& utf8Lines) {
    QStringEncoder encoder("CP932");
    QStringDecoder decoder("CP932");
    if (!encoder.isValid() || !decoder.isValid())
        throw std::runtime_error("no CP932 converter available");
    QByteArray bytes;
    for (const std::string& line : utf8Lines) {
        const QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        const QByteArray encoded = encoder.encode(text);
        // A character without a CP932 form would be replaced silently; the round trip shows it.
        const QString decoded = decoder.decode(encoded);
        if (encoder.hasError() || decoder.hasError() || decoded != text)
            throw std::runtime_error("text has no CP932 form: " + line);
        bytes += encoded;
        bytes += "\r\n";
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void WriteCp932Lines(const std::string& path, const std::vector<std::string>& utf8Lines) {
    const std::string bytes = EncodeCp932Lines(utf8Lines);
    QSaveFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error(path + ": cannot write (" + file.errorString().toStdString() +
                                 ")");
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) !=
            static_cast<qint64>(bytes.size()) ||
        !file.commit())
        throw std::runtime_error(path + ": cannot write (" + file.errorString().toStdString() +
                                 ")");
}

}  // namespace ordevo::refdata
