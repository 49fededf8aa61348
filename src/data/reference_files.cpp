#include "reference_files.h"

#include <QDir>
#include <QLocale>
#include <array>
#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cp932_text.h"
#include "field_reader.h"

namespace ordevo {

namespace {

// No material attenuates more than this at any energy of the grid (1/cm, or cm²/g for the
// energy-absorption columns): tungsten below 1 keV stays near 3·10⁵, so this leaves room.
constexpr double kMaxCoefficient = 1e9;
// Soft tissue and air have nearly the same effective atomic number: their energy-absorption
// coefficients stay within a few per cent of each other from 0.5 to 150 keV.
constexpr double kMinTissueToAirRatio = 0.5;
constexpr double kMaxTissueToAirRatio = 2.0;

// Checks one record; returns why it cannot be used (Japanese), or nothing.
using RecordSink =
    std::function<std::optional<QString>(int record, const std::vector<double>& numbers)>;

QString ValueText(double value) {
    return QString::number(value, 'g', QLocale::FloatingPointShortest);
}

bool StartsWithNumber(QByteArrayView line) {
    FieldReader reader(std::string_view(line.data(), line.size()));
    double value = 0;
    return reader.Next(value) == FieldReader::Outcome::Number;
}

// Reads records 1..count from lines firstLine.. of the file, each line holding exactly
// `numbersPerRecord` numbers, and hands each to `sink`, which may refuse it.
FileResult<void> ReadRecords(const QString& path, qint64 maxBytes, int firstLine, int count,
                             std::size_t numbersPerRecord, const RecordSink& sink) {
    const QString fileName = FileNameOf(path);
    const auto bytes = ReadFileBytes(path, maxBytes);
    if (!bytes) return bytes.error();
    const std::vector<QByteArrayView> lines = SplitLines(*bytes);
    const int lineCount = static_cast<int>(lines.size());
    // A record missing: the file ends early, or the records stop and only text follows
    // (Primary.dat's unit and source lines move up into the place of the last record).
    auto missing = [&](int record, int lineNumber) {
        return FileError::AtLine(
            fileName, lineNumber,
            QStringLiteral(
                "記録が足りません（%1 行目から %2 個の記録が必要ですが、%3 個しかありません）")
                .arg(firstLine)
                .arg(count)
                .arg(record - 1));
    };
    std::vector<double> numbers;
    std::string problem;
    for (int record = 1; record <= count; ++record) {
        const int lineNumber = firstLine + record - 1;
        if (lineNumber > lineCount) return missing(record, lineNumber);
        const QByteArrayView line = lines[lineNumber - 1];
        if (!ReadNumberLine(std::string_view(line.data(), line.size()), numbers, problem)) {
            bool recordsFollow = false;
            for (int later = lineNumber + 1; later <= lineCount && !recordsFollow; ++later)
                recordsFollow = StartsWithNumber(lines[later - 1]);
            if (!StartsWithNumber(line) && !recordsFollow) return missing(record, lineNumber);
            return FileError::AtLine(fileName, lineNumber, QString::fromStdString(problem));
        }
        if (numbers.size() != numbersPerRecord)
            return FileError::AtLine(fileName, lineNumber,
                                     numbers.size() < numbersPerRecord
                                         ? QStringLiteral("数値が %1 個しかありません（%2 個必要）")
                                               .arg(numbers.size())
                                               .arg(numbersPerRecord)
                                         : QStringLiteral("数値が %1 個あります（%2 個のはず）")
                                               .arg(numbers.size())
                                               .arg(numbersPerRecord));
        if (const auto refused = sink(record, numbers))
            return FileError::AtLine(fileName, lineNumber, *refused);
    }
    return {};
}

}  // namespace

FileResult<std::vector<BackscatterRow>> ReadBackscatterFile(const QString& path) {
    std::vector<BackscatterRow> table(kBackscatterRingCount + 1);
    // One header line, then per ring: a number that is not used and the 31 energies. A ring's
    // backscatter is a dose: it may be zero (far rings at low energy), never negative.
    const auto read = ReadRecords(
        path, kLargeDataFileMaxBytes, 2, kBackscatterRingCount, 1 + kBackscatterEnergyCount,
        [&](int row, const std::vector<double>& numbers) -> std::optional<QString> {
            for (int column = 1; column <= kBackscatterEnergyCount; ++column) {
                const double value = numbers[column];
                if (!(value >= 0.0) || !std::isfinite(value))
                    return QStringLiteral(
                               "%1 番目の数値 %2: 後方散乱の値は 0 "
                               "以上の有限の数でなければなりません")
                        .arg(column + 1)
                        .arg(ValueText(value));
                table[row][column] = value;
            }
            return std::nullopt;
        });
    if (!read) return read.error();
    return table;
}

FileResult<AttenuationTable> ReadAttenuationFile(const QString& path) {
    // Every coefficient enters an exponential or a ratio: a negative or zero one would give a
    // plausible-looking but wrong dose, so each must be positive; the energies must rise.
    AttenuationTable att;
    const std::array<BinArray*, 6> columns = {&att.Tungsten,
                                              &att.Aluminium,
                                              &att.Copper,
                                              &att.AirEnergyAbsorption,
                                              &att.TissueEnergyAbsorption,
                                              &att.TissueAttenuation};
    double previousEnergy = 0.0;
    const auto read = ReadRecords(
        path, kDataFileMaxBytes, 1, kBinCount, 7,
        [&](int bin, const std::vector<double>& numbers) -> std::optional<QString> {
            const double energy = numbers[0];
            if (!(energy > previousEnergy) || !std::isfinite(energy))
                return QStringLiteral("エネルギー %1 が前の行（%2）より大きくありません")
                    .arg(ValueText(energy), ValueText(previousEnergy));
            previousEnergy = energy;
            for (std::size_t c = 0; c < columns.size(); ++c) {
                const double value = numbers[c + 1];
                if (!(value > 0.0 && value <= kMaxCoefficient))
                    return QStringLiteral(
                               "%1 番目の数値 %2: 減弱係数・エネルギー吸収係数は 0 より大きく 1e9 "
                               "以下でなければなりません")
                        .arg(c + 2)
                        .arg(ValueText(value));
                (*columns[c])[bin] = value;
            }
            const double ratio = numbers[5] / numbers[4];
            if (!(ratio >= kMinTissueToAirRatio && ratio <= kMaxTissueToAirRatio))
                return QStringLiteral(
                           "軟部組織と空気のエネルギー吸収係数（5・6 番目の数値 %1, %2）の比 %3 が "
                           "0.5〜2 の外です")
                    .arg(ValueText(numbers[4]), ValueText(numbers[5]), ValueText(ratio));
            return std::nullopt;
        });
    if (!read) return read.error();
    return att;
}

FileResult<BinArray> ReadPrimaryFile(const QString& path) {
    // The table interpolates the logarithm of these values.
    std::array<double, kPrimaryValueCount> primary{};
    const auto read =
        ReadRecords(path, kTableFileMaxBytes, 1, kPrimaryValueCount, 2,
                    [&](int record, const std::vector<double>& numbers) -> std::optional<QString> {
                        if (!(numbers[1] > 0.0) || !std::isfinite(numbers[1]))
                            return QStringLiteral("一次線量 %1 は正の有限の数でなければなりません")
                                .arg(ValueText(numbers[1]));
                        primary[record - 1] = numbers[1];
                        return std::nullopt;
                    });
    if (!read) return read.error();
    return MakePrimaryTable(primary);
}

FileResult<ReferenceData> ReadReferenceData(const QString& folder) {
    const QDir dir(folder);
    ReferenceData data;
    data.BackscatterEnergyGrid = MakeBackscatterEnergyGrid();
    auto backscatter = ReadBackscatterFile(dir.filePath(QString::fromLatin1(kBackscatterFileName)));
    if (!backscatter) return backscatter.error();
    data.BackscatterTable = std::move(*backscatter);
    auto attenuation = ReadAttenuationFile(dir.filePath(QString::fromLatin1(kAttenuationFileName)));
    if (!attenuation) return attenuation.error();
    data.Attenuation = *attenuation;
    auto primary = ReadPrimaryFile(dir.filePath(QString::fromLatin1(kPrimaryFileName)));
    if (!primary) return primary.error();
    data.PrimaryTable = *primary;
    return data;
}

}  // namespace ordevo
