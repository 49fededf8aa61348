#include "reference_files.h"

#include <QDir>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "cp932_text.h"
#include "field_reader.h"

namespace ordevo {

namespace {

using RecordSink = std::function<void(int record, const std::vector<double>& numbers)>;

// Reads records 1..count from lines firstLine.. of the file, each line holding exactly
// `numbersPerRecord` numbers, and hands each to `sink`.
FileResult<void> ReadRecords(const QString& folder, const QString& fileName, int firstLine,
                             int count, std::size_t numbersPerRecord, const RecordSink& sink) {
    const auto bytes = ReadFileBytes(QDir(folder).filePath(fileName));
    if (!bytes) return bytes.error();
    const std::vector<QByteArrayView> lines = SplitLines(*bytes);
    std::vector<double> numbers;
    std::string problem;
    for (int record = 1; record <= count; ++record) {
        const int lineNumber = firstLine + record - 1;
        if (lineNumber > static_cast<int>(lines.size()))
            return FileError::AtLine(fileName, lineNumber,
                                     QStringLiteral("missing (%1 records expected from line %2)")
                                         .arg(count)
                                         .arg(firstLine));
        const QByteArrayView line = lines[static_cast<std::size_t>(lineNumber - 1)];
        if (!ReadNumberLine(std::string_view(line.data(), static_cast<std::size_t>(line.size())),
                            numbers, problem))
            return FileError::AtLine(fileName, lineNumber, QString::fromStdString(problem));
        if (numbers.size() != numbersPerRecord)
            return FileError::AtLine(fileName, lineNumber,
                                     QStringLiteral("%1 numbers, %2 expected")
                                         .arg(numbers.size())
                                         .arg(numbersPerRecord));
        sink(record, numbers);
    }
    return {};
}

}  // namespace

FileResult<ReferenceData> ReadReferenceData(const QString& folder) {
    ReferenceData data;
    data.BackscatterEnergyGrid = MakeBackscatterEnergyGrid();

    // One header line, then per ring: a number that is not used and the 31 energies.
    const auto backscatter =
        ReadRecords(folder, QString::fromLatin1(kBackscatterFileName), 2, kBackscatterRingCount,
                    1 + kBackscatterEnergyCount, [&](int row, const std::vector<double>& numbers) {
                        for (int column = 1; column <= kBackscatterEnergyCount; ++column)
                            data.BackscatterTable[static_cast<std::size_t>(row)]
                                                 [static_cast<std::size_t>(column)] =
                                numbers[static_cast<std::size_t>(column)];
                    });
    if (!backscatter) return backscatter.error();

    AttenuationTable& att = data.Attenuation;
    const std::array<BinArray*, 6> columns = {&att.Tungsten,
                                              &att.Aluminium,
                                              &att.Copper,
                                              &att.AirEnergyAbsorption,
                                              &att.TissueEnergyAbsorption,
                                              &att.TissueAttenuation};
    const auto attenuation =
        ReadRecords(folder, QString::fromLatin1(kAttenuationFileName), 1, kBinCount, 7,
                    [&](int bin, const std::vector<double>& numbers) {
                        for (std::size_t c = 0; c < columns.size(); ++c)
                            (*columns[c])[static_cast<std::size_t>(bin)] = numbers[c + 1];
                    });
    if (!attenuation) return attenuation.error();

    std::array<double, kPrimaryValueCount> primary{};
    int nonPositiveLine = 0;
    const auto primaryRead =
        ReadRecords(folder, QString::fromLatin1(kPrimaryFileName), 1, kPrimaryValueCount, 2,
                    [&](int record, const std::vector<double>& numbers) {
                        primary[static_cast<std::size_t>(record - 1)] = numbers[1];
                        if (!(numbers[1] > 0.0) && nonPositiveLine == 0) nonPositiveLine = record;
                    });
    if (!primaryRead) return primaryRead.error();
    // The table interpolates the logarithm of these values.
    if (nonPositiveLine != 0)
        return FileError::AtLine(QString::fromLatin1(kPrimaryFileName), nonPositiveLine,
                                 QStringLiteral("the primary dose must be positive"));
    data.PrimaryTable = MakePrimaryTable(primary);
    return data;
}

}  // namespace ordevo
