#include "material_file.h"

#include <optional>
#include <string_view>

#include "calculation_error.h"
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
    return ReadFirstLine(path);
}

FileResult<MaterialFileContents> ReadMaterialFile(const QString& path) {
    const QString name = FileNameOf(path);
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return bytes.error();
    MaterialFileContents contents;
    const auto lines = SplitLines(*bytes);
    if (lines.empty())
        return FileError::AtLine(name, 1, QStringLiteral("missing (the file is empty)"));
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
            case FieldReader::Outcome::Number:
                return std::nullopt;
            case FieldReader::Outcome::End:
                return FileError::AtLine(name, reader.LineNumber(),
                                         QStringLiteral("the file ends before %1").arg(what));
            case FieldReader::Outcome::Bad:
                return FileError::AtLine(
                    name, reader.LineNumber(),
                    QStringLiteral("%1: %2").arg(what, QString::fromStdString(reader.Problem())));
        }
        return std::nullopt;
    };

    double unused = 0;
    if (auto error = next(contents.DensityGPerCm3, QStringLiteral("the density"))) return *error;
    if (!(contents.DensityGPerCm3 > 0.0))
        return FileError::AtLine(name, reader.LineNumber(),
                                 QStringLiteral("the density must be positive"));
    if (auto error = next(unused, QStringLiteral("the second number"))) return *error;

    for (int r = 1;; ++r) {
        if (r > kMaxMaterialRows)
            return FileError::AtLine(
                name, reader.LineNumber(),
                QStringLiteral("no energy of 10 MeV or more within %1 rows").arg(kMaxMaterialRows));
        const QString row = QStringLiteral("row %1").arg(r);
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
                    "the first energy is %1 MeV (the table must start at 0.001 MeV or below)")
                    .arg(energy));
        if (r > 1 && energy < contents.Rows.back().EnergyMeV)
            return FileError::AtLine(name, energyLine,
                                     QStringLiteral("row %1: the energies must not fall").arg(r));
        contents.Rows.push_back({energy, coherent + incoherent + photoelectric});
        if (energy >= kMaterialLastEnergyMeV) break;
    }
    return contents;
}

FileResult<BinArray> LoadMaterialTable(const QString& path) {
    const auto contents = ReadMaterialFile(path);
    if (!contents) return contents.error();
    try {
        return BuildOtherFilterAttenuation(contents->DensityGPerCm3, contents->Rows);
    } catch (const CalculationError& error) {
        return FileError::InFile(FileNameOf(path), QString::fromUtf8(error.what()));
    }
}

}  // namespace ordevo
