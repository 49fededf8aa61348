#include "test_folders.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <stdexcept>

#include "reference_files.h"
#include "synthetic_data.h"

namespace ordevo::testing {

const QString& SyntheticFolder() {
    static QTemporaryDir folder;
    static const QString path = [] {
        WriteSyntheticWorkingFolder(folder.path());
        return folder.path();
    }();
    return path;
}

const ReferenceData& SyntheticReference() {
    static const ReferenceData reference = [] {
        auto read = ReadReferenceData(SyntheticFolder());
        if (!read) throw std::runtime_error(read.error().what());
        return std::move(read).value();
    }();
    return reference;
}

void CopySyntheticFile(const QString& name, const QString& folder) {
    const QString target = QDir(folder).filePath(name);
    QFile::remove(target);
    if (!QFile::copy(QDir(SyntheticFolder()).filePath(name), target))
        throw std::runtime_error("cannot copy " + name.toStdString());
}

}  // namespace ordevo::testing
