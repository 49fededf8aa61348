#include "material_file.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "calculation_error.h"
#include "calculation_messages.h"
#include "cp932_text.h"
#include "field_reader.h"

namespace ordevo {

namespace {

// The byte offset where line 2 starts (the size when there is no line 2).
qsizetype SecondLineStart(const QByteArray& bytes) {
    const qsizetype end = bytes.indexOf('\n');
    return end < 0 ? bytes.size() : end + 1;
}

}  // namespace

FileResult<QString> ReadMaterialDescription(const QString& path) {
    return ReadFirstLine(path, kTableFileMaxBytes);
}

FileResult<MaterialFileContents> ReadMaterialFile(const QString& path) {
    const QString name = FileNameOf(path);
    const auto bytes = ReadFileBytes(path, kTableFileMaxBytes);
    if (!bytes) return bytes.error();
    MaterialFileContents contents;
    const auto lines = SplitLines(*bytes);
    if (lines.empty())
        return FileError::AtLine(name, 1, QStringLiteral("ありません（ファイルが空です）"));
    auto description = DecodeCp932(lines.front(), name, 1);
    if (!description) return description.error();
    contents.Description = *description;

    const qsizetype start = SecondLineStart(*bytes);
    FieldReader reader(std::string_view(bytes->constData() + start,
                                        static_cast<std::size_t>(bytes->size() - start)),
                       2);
    // The next number, or an error naming what was being read.
    auto next = [&](double& value, const QString& what) -> std::optional<FileError> {
        switch (reader.Next(value)) {
        case FieldReader::Outcome::Number: return std::nullopt;
        case FieldReader::Outcome::End:
            return FileError::AtLine(name, reader.LineNumber(),
                                     QStringLiteral("%1の前でファイルが終わっています").arg(what));
        case FieldReader::Outcome::Bad:
            return FileError::AtLine(
                name, reader.LineNumber(),
                QStringLiteral("%1: %2").arg(what, QString::fromStdString(reader.Problem())));
        }
        return std::nullopt;
    };

    double unused = 0;
    if (auto error = next(contents.DensityGPerCm3, QStringLiteral("密度"))) return *error;
    if (!(contents.DensityGPerCm3 > 0.0))
        return FileError::AtLine(
            name, reader.LineNumber(),
            QStringLiteral("密度 %1 は正の数でなければなりません").arg(contents.DensityGPerCm3));
    if (auto error = next(unused, QStringLiteral("2 番目の数値"))) return *error;

    for (int r = 1;; ++r) {
        if (r > kMaxMaterialRows)
            return FileError::AtLine(
                name, reader.LineNumber(),
                QStringLiteral("%1 行以内に 10 MeV 以上のエネルギーがありません")
                    .arg(kMaxMaterialRows));
        const QString row = QStringLiteral("%1 番目の行").arg(r);
        double energy = 0, coherent = 0, incoherent = 0, photoelectric = 0;
        if (auto error = next(energy, row)) return *error;
        const int energyLine = reader.LineNumber();
        if (auto error = next(coherent, row)) return *error;
        if (auto error = next(incoherent, row)) return *error;
        if (auto error = next(photoelectric, row)) return *error;
        if (auto error = next(unused, row)) return *error;
        if (auto error = next(unused, row)) return *error;
        if (r == 1 && energy > kMaterialFirstEnergyMaxMeV)
            return FileError::AtLine(
                name, energyLine,
                QStringLiteral(
                    "最初のエネルギーが %1 MeV です（表は 0.001 MeV 以下から始まる必要があります）")
                    .arg(energy));
        if (!(energy > 0.0))
            return FileError::AtLine(
                name, energyLine,
                QStringLiteral("%1 番目の行: エネルギー %2 MeV は正の数でなければなりません")
                    .arg(r)
                    .arg(energy));
        // Attenuation coefficients: none negative, and a total above zero (the table
        // interpolates its logarithm).
        if (!(coherent >= 0.0 && incoherent >= 0.0 && photoelectric >= 0.0) ||
            !(coherent + incoherent + photoelectric > 0.0) ||
            !std::isfinite(coherent + incoherent + photoelectric))
            return FileError::AtLine(
                name, energyLine,
                QStringLiteral("%1 番目の行: 減弱係数 %2, %3, %4 は 0 "
                               "以上で、合計が正の有限の数でなければなりません")
                    .arg(r)
                    .arg(coherent)
                    .arg(incoherent)
                    .arg(photoelectric));
        if (r > 1 && energy < contents.Rows.back().EnergyMeV)
            return FileError::AtLine(
                name, energyLine,
                QStringLiteral("%1 番目の行: エネルギーが前の行より小さくなっています").arg(r));
        contents.Rows.push_back({energy, coherent + incoherent + photoelectric});
        if (energy >= kMaterialLastEnergyMeV) break;
    }
    // A table may go on past 10 MeV; those rows are not used, but they must still be rows of
    // numbers with energies that keep rising. One energy written 1E+02 for 1E-02 ends the table
    // at 100 MeV and the next row falls: that is refused, with where the table ended. A line
    // that starts with text (a remark) ends the check.
    const int endRow = static_cast<int>(contents.Rows.size());
    const double endEnergy = contents.Rows.back().EnergyMeV;
    double previous = endEnergy;
    for (int r = endRow + 1;; ++r) {
        double energy = 0;
        if (reader.Next(energy) != FieldReader::Outcome::Number) break;
        const int energyLine = reader.LineNumber();
        const QString row = QStringLiteral("%1 番目の行").arg(r);
        double value = 0;
        for (int column = 2; column <= 6; ++column)
            if (auto error = next(value, row)) return *error;
        if (!(energy >= previous))
            return FileError::AtLine(
                name, energyLine,
                QStringLiteral("%1 番目の行: エネルギーが前の行より小さくなっています"
                               "（表は %2 番目の行のエネルギー %3 MeV で終わっています。"
                               "エネルギーの桁を確認して下さい）")
                    .arg(r)
                    .arg(endRow)
                    .arg(endEnergy));
        previous = energy;
    }
    return contents;
}

FileResult<BinArray> LoadMaterialTable(const QString& path) {
    const auto contents = ReadMaterialFile(path);
    if (!contents) return contents.error();
    try {
        return BuildOtherFilterAttenuation(contents->DensityGPerCm3, contents->Rows);
    } catch (const CalculationError& error) {
        return FileError::InFile(
            FileNameOf(path), QString::fromStdString(DescribeCalculationFailure(error.Failure())));
    }
}

}  // namespace ordevo
