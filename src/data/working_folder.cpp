// Choosing and preparing the working folder.
#include "working_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QStandardPaths>

#include "cp932_text.h"
#include "reference_files.h"

namespace ordevo {

bool HoldsReferenceFiles(const QString& folder) {
    const QDir dir(folder);
    for (const char* name : {kBackscatterFileName, kAttenuationFileName, kPrimaryFileName})
        if (!QFileInfo(dir.filePath(QString::fromLatin1(name))).isFile()) return false;
    return true;
}

FileResult<void> SeedFolder(const QString& source, const QString& target) {
    const QDir sourceDir(source);
    const QDir targetDir(target);
    if (!QDir().mkpath(target))
        return FileError::InFile(QDir::toNativeSeparators(target),
                                 QStringLiteral("フォルダーを作れません"));
    QDirIterator files(source, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString from = files.next();
        const QString relative = sourceDir.relativeFilePath(from);
        const QString to = targetDir.filePath(relative);
        const QFileInfo existing(to);
        if (existing.exists() || existing.isSymLink()) continue;
        const QString folder = existing.absolutePath();
        if (!QDir().mkpath(folder))
            return FileError::InFile(QDir::toNativeSeparators(folder),
                                     QStringLiteral("フォルダーを作れません"));
        const FileResult<QByteArray> bytes =
            ReadFileBytes(from, kLargeDataFileMaxBytes, QDir::toNativeSeparators(from));
        if (!bytes) return bytes.error();
        if (const FileResult<void> written = WriteFileBytes(to, *bytes); !written)
            return written.error();
    }
    return {};
}

FileResult<QString> ChooseWorkingFolder(const WorkingFolderPlaces& places) {
    if (HoldsReferenceFiles(places.StartFolder) || places.UserDataFolder.isEmpty())
        return places.StartFolder;
    const bool installed = !places.InstalledReferenceData.isEmpty() &&
                           HoldsReferenceFiles(places.InstalledReferenceData);
    if (!installed && !HoldsReferenceFiles(places.UserDataFolder)) return places.StartFolder;
    if (installed) {
        const FileResult<void> seeded =
            SeedFolder(places.InstalledReferenceData, places.UserDataFolder);
        if (!seeded)
            return FileError::InFile(QDir::toNativeSeparators(places.UserDataFolder),
                                     seeded.error().message());
    }
    return places.UserDataFolder;
}

// ORDEVO_REFDATA_FROM_BINDIR: the installed reference data relative to the installed
// executables ("../share/ordevo/refdata"), set by the build from the install folders.
QString InstalledReferenceDataFolder(const QString& executableFolder) {
    return QDir::cleanPath(
        QDir(executableFolder).filePath(QStringLiteral(ORDEVO_REFDATA_FROM_BINDIR)));
}

WorkingFolderPlaces PlacesForStartIn(const QString& startFolder) {
    return {.StartFolder = startFolder,
            .InstalledReferenceData =
                InstalledReferenceDataFolder(QCoreApplication::applicationDirPath()),
            .UserDataFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)};
}

}  // namespace ordevo
