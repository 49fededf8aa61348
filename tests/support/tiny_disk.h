// A tiny tmpfs mounted on a temporary folder, for tests of writes that meet a full disk or a
// read-only folder (which refuse root too, unlike file permissions). Mounting needs root; where
// it is not allowed, Mounted() is false and Reason() says why, for GTEST_SKIP.
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace ordevo::testing {

class TinyDisk {
public:
    explicit TinyDisk(int sizeKiB = 16);
    ~TinyDisk();
    TinyDisk(const TinyDisk&) = delete;
    TinyDisk& operator=(const TinyDisk&) = delete;

    bool Mounted() const { return mounted_; }
    QString Reason() const { return reason_; }
    QString Path() const { return dir_.path(); }
    QString FilePath(const QString& name) const { return dir_.filePath(name); }

    // Writes a filler file until the disk refuses another byte.
    void Fill();
    // Makes the whole disk read-only; false when the system refuses.
    bool MakeReadOnly();

private:
    QTemporaryDir dir_;
    bool mounted_ = false;
    QString reason_;
};

}  // namespace ordevo::testing
