#include "test_files.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringEncoder>

namespace ordevo::testing {

void WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes) {
    const QString path = dir.filePath(name);
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

QByteArray Cp932(const QString& text) {
    QStringEncoder encoder("CP932");
    QByteArray bytes = encoder.encode(text);
    EXPECT_FALSE(encoder.hasError());
    return bytes;
}

QByteArray BackscatterFileBytes() {
    QByteArray bytes = "ring, 1, 5, 10, 150\r\n";
    for (int r = 1; r <= 300; ++r) {
        bytes += QByteArray::number(0.1 * r);
        for (int c = 1; c <= 31; ++c) bytes += " " + QByteArray::number(r + c / 100.0, 'g', 17);
        bytes += "\r\n";
    }
    return bytes;
}

QByteArray AttenuationFileBytes() {
    QByteArray bytes;
    for (int i = 1; i <= 300; ++i) {
        bytes += QByteArray::number(0.5 * i);
        for (int k = 1; k <= 6; ++k) bytes += ", " + QByteArray::number(1000 * k + i) + "E+00";
        bytes += "\r\n";
    }
    return bytes;
}

QByteArray PrimaryFileBytes() {
    QByteArray bytes;
    for (int k = 2; k <= 30; ++k)
        bytes += QByteArray::number(5 * k) + ", " + QByteArray::number(0.01 * k) + "\r\n";
    return bytes + "x\r\ny\r\n";
}

void WriteReferenceFiles(const QTemporaryDir& dir) {
    WriteFile(dir, "dBSF-SoftDose-SoftPhantom.dat", BackscatterFileBytes());
    WriteFile(dir, "Att_coeff2021.dat", AttenuationFileBytes());
    WriteFile(dir, "Primary.dat", PrimaryFileBytes());
}

}  // namespace ordevo::testing
