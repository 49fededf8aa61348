#include "spool.h"

#include <dcmtk/dcmdata/dcdeftag.h>
#include <dcmtk/dcmdata/dcfilefo.h>
#include <dcmtk/dcmdata/dcmetinf.h>
#include <dcmtk/dcmdata/dcostrmb.h>
#include <dcmtk/dcmdata/dcxfer.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

#include "source_header.h"

namespace ordevo::node {

namespace {

constexpr const char* kTemporarySuffix = ".part";

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

// Every byte written, then flushed to the disk; a short write (a full disk) is an error.
std::string WriteWhole(const std::string& path, const char* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return SystemError(path);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            const std::string why = SystemError(path);
            ::close(fd);
            return why;
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const std::string why = SystemError(path);
        ::close(fd);
        return why;
    }
    return ::close(fd) == 0 ? "" : SystemError(path);
}

std::string SyncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return SystemError(folder);
    const bool synced = ::fsync(fd) == 0;
    const std::string why = synced ? "" : SystemError(folder);
    ::close(fd);
    return why;
}

}  // namespace

bool IsUid(const std::string& uid) {
    return !uid.empty() && uid.size() <= 64 && std::all_of(uid.begin(), uid.end(), [](char c) {
        return c == '.' || (c >= '0' && c <= '9');
    });
}

std::string ApartFolder(const std::string& spool) { return spool + "/apart"; }

namespace {

bool SameContent(const std::string& path, const char* data, std::size_t size) {
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly) || file.size() != static_cast<qint64>(size)) return false;
    return file.readAll() == QByteArray::fromRawData(data, static_cast<qsizetype>(size));
}

// Links `temporary` to `target`, or when the name is taken by other content to a free name in
// the apart folder (*apart). The temporary is removed either way.
std::string LinkNew(const std::string& spool, const std::string& temporary,
                    const std::string& target, const std::string& sop, const char* data,
                    std::size_t size, std::string* apart) {
    if (::link(temporary.c_str(), target.c_str()) == 0) {
        std::remove(temporary.c_str());
        return "";
    }
    if (errno != EEXIST) {
        const std::string why = SystemError(target);
        std::remove(temporary.c_str());
        return why;
    }
    // The same object sent again (a unit that lost the answer): nothing new.
    if (SameContent(target, data, size)) {
        std::remove(temporary.c_str());
        return "";
    }
    const std::string folder = ApartFolder(spool);
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        std::remove(temporary.c_str());
        return SystemError(folder);
    }
    for (int n = 2; n < 10000; ++n) {
        const std::string other = folder + "/" + sop + "." + std::to_string(n) + ".dcm";
        if (::link(temporary.c_str(), other.c_str()) == 0) {
            std::remove(temporary.c_str());
            *apart = other;
            return SyncFolder(folder);
        }
        if (errno != EEXIST) break;
        if (SameContent(other, data, size)) {
            std::remove(temporary.c_str());
            *apart = other;
            return "";
        }
    }
    const std::string why = SystemError(folder);
    std::remove(temporary.c_str());
    return why;
}

}  // namespace

std::string SpoolObject(const std::string& spool, const std::string& sopInstanceUid,
                        DcmDataset& dataset, const std::string& callingAe, std::string* keptApart) {
    std::string apart;
    if (!IsUid(sopInstanceUid)) return "SOP Instance UID \"" + sopInstanceUid + "\" is not a UID";
    // The object is encoded in memory first: DCMTK's file writer does not report every failed
    // write of a full disk, ours does.
    DcmFileFormat file(&dataset);
    const E_TransferSyntax xfer = EXS_LittleEndianExplicit;
    file.getMetaInfo()->putAndInsertString(DCM_SourceApplicationEntityTitle, callingAe.c_str());
    OFCondition status = file.validateMetaInfo(xfer, EWM_updateMeta);
    if (status.bad()) return status.text();
    const std::size_t size = file.calcElementLength(xfer, EET_ExplicitLength) + 4096;
    std::vector<char> buffer(size);
    DcmOutputBufferStream out(buffer.data(), static_cast<offile_off_t>(size));
    file.transferInit();
    status = file.write(out, xfer, EET_ExplicitLength, nullptr, EGL_recalcGL, EPD_noChange, 0, 0, 0,
                        EWM_updateMeta);
    file.transferEnd();
    if (status.bad()) return status.text();
    void* written = nullptr;
    offile_off_t length = 0;
    out.flushBuffer(written, length);

    const std::string target = spool + "/" + sopInstanceUid + ".dcm";
    const std::string temporary = target + kTemporarySuffix;
    const auto* bytes = static_cast<const char*>(written);
    const auto encoded = static_cast<std::size_t>(length);
    std::string why = WriteWhole(temporary, bytes, encoded);
    if (!why.empty()) {
        std::remove(temporary.c_str());
        return why;
    }
    why = LinkNew(spool, temporary, target, sopInstanceUid, bytes, encoded, &apart);
    if (keptApart) *keptApart = apart;
    return why.empty() ? SyncFolder(spool) : why;
}

std::vector<std::string> SpooledObjects(const std::string& spool) {
    const QDir dir(QString::fromStdString(spool));
    for (const QString& name : dir.entryList({QString("*") + kTemporarySuffix}, QDir::Files))
        QFile::remove(dir.filePath(name));
    std::vector<std::string> files;
    for (const QString& name : dir.entryList({"*.dcm"}, QDir::Files, QDir::Name))
        files.push_back(dir.filePath(name).toStdString());
    return files;
}

SpooledHeader ReadSpooledHeader(const std::string& path) {
    const rdsr::SourceHeader read = rdsr::ReadSourceHeader(path);
    SpooledHeader header{read.SopInstanceUid, read.StudyInstanceUid, read.SourceAe, read.Error};
    // The file's own name is the identity it was acknowledged under.
    if (header.SopInstanceUid.empty())
        header.SopInstanceUid =
            QFileInfo(QString::fromStdString(path)).completeBaseName().toStdString();
    return header;
}

}  // namespace ordevo::node
