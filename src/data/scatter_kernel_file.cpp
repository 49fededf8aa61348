#include "scatter_kernel_file.h"

#include <QDir>
#include <string_view>

#include "cp932_text.h"
#include "field_reader.h"

namespace ordevo {

QString ScatterKernelPath(const QString& folder, int energyKeV) {
    return QDir(folder).filePath(QString::fromLatin1(kScatterKernelFolder) + QLatin1Char('/') +
                                 QString::number(energyKeV) + QStringLiteral(".dat"));
}

ScatterKernel LoadScatterKernel(const QString& folder, int energyKeV) {
    const QString name = QString::fromLatin1(kScatterKernelFolder) + QLatin1Char('/') +
                         QString::number(energyKeV) + QStringLiteral(".dat");
    if (energyKeV <= 0)
        throw FileError::InFile(name, QStringLiteral("no kernel for a non-positive energy"));
    const auto bytes = ReadFileBytes(ScatterKernelPath(folder, energyKeV), name);
    if (!bytes) throw bytes.error();

    constexpr int kNumbers = kKernelRows * kKernelColumns;
    ScatterKernel kernel{};
    FieldReader reader(
        std::string_view(bytes->constData(), static_cast<std::size_t>(bytes->size())));
    double value = 0;
    for (int row = 1; row <= kKernelRows; ++row) {
        for (int column = 1; column <= kKernelColumns; ++column) {
            switch (reader.Next(value)) {
                case FieldReader::Outcome::Number:
                    kernel[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)] = value;
                    break;
                case FieldReader::Outcome::End:
                    throw FileError::AtLine(name, reader.LineNumber(),
                                            QStringLiteral("ends after %1 numbers, %2 expected")
                                                .arg(reader.NumberCount())
                                                .arg(kNumbers));
                case FieldReader::Outcome::Bad:
                    throw FileError::AtLine(name, reader.LineNumber(),
                                            QStringLiteral("number %1: %2")
                                                .arg(reader.NumberCount() + 1)
                                                .arg(QString::fromStdString(reader.Problem())));
            }
        }
    }
    switch (reader.Next(value)) {
        case FieldReader::Outcome::End:
            break;
        case FieldReader::Outcome::Number:
            throw FileError::AtLine(name, reader.LineNumber(),
                                    QStringLiteral("more than %1 numbers").arg(kNumbers));
        case FieldReader::Outcome::Bad:
            throw FileError::AtLine(name, reader.LineNumber(),
                                    QStringLiteral("after the %1 numbers: %2")
                                        .arg(kNumbers)
                                        .arg(QString::fromStdString(reader.Problem())));
    }
    return kernel;
}

ScatterKernelLoader MakeScatterKernelLoader(const QString& folder) {
    return [folder](int energyKeV) { return LoadScatterKernel(folder, energyKeV); };
}

}  // namespace ordevo
