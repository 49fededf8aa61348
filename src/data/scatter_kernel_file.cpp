#include "scatter_kernel_file.h"

#include <QDir>
#include <QLocale>
#include <cmath>
#include <string_view>

#include "cp932_text.h"
#include "field_reader.h"

namespace ordevo {

QString ScatterKernelPath(const QString& folder, int energyKeV) {
    return QDir(folder).filePath(QString::fromLatin1(kScatterKernelFolder) + QLatin1Char('/') +
                                 QString::number(energyKeV) + QStringLiteral(".dat"));
}

FileResult<ScatterKernel> ReadScatterKernel(const QString& folder, int energyKeV) {
    const QString name = QString::fromLatin1(kScatterKernelFolder) + QLatin1Char('/') +
                         QString::number(energyKeV) + QStringLiteral(".dat");
    if (energyKeV <= 0)
        return FileError::InFile(name, QStringLiteral("0 以下のエネルギーのカーネルはありません"));
    const auto bytes = ReadFileBytes(ScatterKernelPath(folder, energyKeV), kDataFileMaxBytes, name);
    if (!bytes) return bytes.error();

    constexpr int kNumbers = kKernelRows * kKernelColumns;
    ScatterKernel kernel{};
    FieldReader reader(std::string_view(bytes->constData(), bytes->size()));
    double value = 0;
    for (int row = 1; row <= kKernelRows; ++row) {
        for (int column = 1; column <= kKernelColumns; ++column) {
            switch (reader.Next(value)) {
            case FieldReader::Outcome::Number:
                // A scatter dose: zero far from the axis, never negative.
                if (!(value >= 0.0) || !std::isfinite(value))
                    return FileError::AtLine(
                        name, reader.LineNumber(),
                        QStringLiteral(
                            "%1 番目の数値 %2: 散乱線量は 0 以上の有限の数でなければなりません")
                            .arg(reader.NumberCount())
                            .arg(QString::number(value, 'g', QLocale::FloatingPointShortest)));
                kernel[row][column] = value;
                break;
            case FieldReader::Outcome::End:
                return FileError::AtLine(name, reader.LineNumber(),
                                         QStringLiteral("数値が %1 個で終わっています（%2 個必要）")
                                             .arg(reader.NumberCount())
                                             .arg(kNumbers));
            case FieldReader::Outcome::Bad:
                return FileError::AtLine(name, reader.LineNumber(),
                                         QStringLiteral("%1 番目の数値: %2")
                                             .arg(reader.NumberCount() + 1)
                                             .arg(QString::fromStdString(reader.Problem())));
            }
        }
    }
    switch (reader.Next(value)) {
    case FieldReader::Outcome::End: break;
    case FieldReader::Outcome::Number:
        return FileError::AtLine(name, reader.LineNumber(),
                                 QStringLiteral("数値が %1 個より多くあります").arg(kNumbers));
    case FieldReader::Outcome::Bad:
        return FileError::AtLine(name, reader.LineNumber(),
                                 QStringLiteral("%1 個の数値の後: %2")
                                     .arg(kNumbers)
                                     .arg(QString::fromStdString(reader.Problem())));
    }
    return kernel;
}

ScatterKernel LoadScatterKernel(const QString& folder, int energyKeV) {
    return ReadScatterKernel(folder, energyKeV).value();
}

ScatterKernelLoader MakeScatterKernelLoader(const QString& folder) {
    return [folder](int energyKeV) { return LoadScatterKernel(folder, energyKeV); };
}

}  // namespace ordevo
