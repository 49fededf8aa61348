#include "tiny_disk.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

namespace ordevo::testing {

TinyDisk::TinyDisk(int sizeKiB) {
    if (!dir_.isValid()) {
        reason_ = QStringLiteral("no temporary folder");
        return;
    }
    const std::string options = "size=" + std::to_string(sizeKiB) + "k";
    if (mount("tmpfs", dir_.path().toLocal8Bit().constData(), "tmpfs", 0, options.c_str()) != 0) {
        reason_ =
            QStringLiteral("cannot mount a %1 KiB tmpfs here (%2); a full disk is tested as root")
                .arg(sizeKiB)
                .arg(QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    mounted_ = true;
}

TinyDisk::~TinyDisk() {
    if (mounted_) umount2(dir_.path().toLocal8Bit().constData(), MNT_DETACH);
}

void TinyDisk::Fill() {
    const int fd = open(FilePath(QStringLiteral("filler")).toLocal8Bit().constData(),
                        O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return;
    const char block[512] = {};
    while (write(fd, block, sizeof block) > 0) {
    }
    // Whatever is left is smaller than a block: fill it byte by byte.
    while (write(fd, block, 1) > 0) {
    }
    close(fd);
}

bool TinyDisk::MakeReadOnly() {
    return mounted_ && mount("tmpfs", dir_.path().toLocal8Bit().constData(), "tmpfs",
                             MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

}  // namespace ordevo::testing
