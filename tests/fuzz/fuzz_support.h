// Shared by the fuzz harnesses: a private scratch folder, writing the input as a file, and the
// check that stops the run when a property fails (libFuzzer then keeps the input as a crash).
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace ordevo::fuzz {

// The property failed: say which and abort, so libFuzzer saves the input that did it.
[[noreturn]] inline void Violated(const char* property, const char* file, int line) {
    std::fprintf(stderr, "property violated at %s:%d: %s\n", file, line, property);
    std::abort();
}

#define FUZZ_CHECK(condition) \
    ((condition) ? static_cast<void>(0) : ::ordevo::fuzz::Violated(#condition, __FILE__, __LINE__))

// One scratch folder per process, removed at exit.
inline const QTemporaryDir& Scratch() {
    static const QTemporaryDir dir;
    if (!dir.isValid()) Violated("a scratch folder", __FILE__, __LINE__);
    return dir;
}

// Writes `bytes` to `name` inside the scratch folder (creating a sub-folder), returns its path.
inline QString WriteInput(const QString& name, const QByteArray& bytes) {
    const QString path = Scratch().filePath(name);
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        Violated("the scratch file can be written", __FILE__, __LINE__);
    return path;
}

inline QByteArray Input(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

inline bool FiniteAtLeast(double value, double lowest) {
    return std::isfinite(value) && value >= lowest;
}
inline bool FiniteAbove(double value, double lowest) {
    return std::isfinite(value) && value > lowest;
}

}  // namespace ordevo::fuzz
