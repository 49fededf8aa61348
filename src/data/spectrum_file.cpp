#include "spectrum_file.h"

#include <algorithm>
#include <cmath>

#include <vector>

#include "cp932_text.h"
#include "field_reader.h"
#include "number_format.h"

namespace ordevo {

std::string SpectrumFileLine(int j, double fluence) {
    return FormatNumber(BinEnergyKeV(j), "0.000E+00") + FormatNumber(fluence, "  0.000E+00");
}

std::string SpectrumFileText(const BinArray& spectrum) {
    std::string text;
    text.reserve(kBinCount * 24);
    for (int j = 1; j <= kBinCount; ++j) {
        text += SpectrumFileLine(j, spectrum[j]);
        text += "\r\n";
    }
    return text;
}

FileResult<void> WriteSpectrumFile(const QString& path, const BinArray& spectrum) {
    const std::string text = SpectrumFileText(spectrum);
    return WriteFileBytes(path, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

FileResult<SpectrumFileData> ReadSpectrumFile(const QString& path) {
    const QString name = FileNameOf(path);
    const auto bytes = ReadFileBytes(path, kDataFileMaxBytes);
    if (!bytes) return bytes.error();
    const auto lines = SplitLines(*bytes);
    SpectrumFileData data;
    std::vector<double> numbers;
    std::string problem;
    for (int j = 1; j <= kBinCount; ++j) {
        if (j > static_cast<int>(lines.size()))
            return FileError::AtLine(name, j,
                                     QStringLiteral("ありません（%1 行必要です）").arg(kBinCount));
        const QByteArrayView line = lines[j - 1];
        if (!ReadNumberLine(std::string_view(line.data(), line.size()), numbers, problem))
            return FileError::AtLine(name, j, QString::fromStdString(problem));
        if (numbers.size() != 2)
            return FileError::AtLine(
                name, j, QStringLiteral("数値が %1 個あります（2 個のはず）").arg(numbers.size()));
        data.EnergyKeV[j] = numbers[0];
        data.Fluence[j] = numbers[1];
        if (!std::isfinite(numbers[1]) || numbers[1] < 0)
            return FileError::AtLine(
                name, j,
                QStringLiteral("フルエンス %1 は 0 以上の有限の数ではありません").arg(numbers[1]));
    }
    if (std::all_of(data.Fluence.begin() + 1, data.Fluence.end(), [](double f) { return f == 0; }))
        return FileError::InFile(name,
                                 QStringLiteral("フルエンスがすべて 0 で、スペクトルがありません"));
    return data;
}

}  // namespace ordevo
