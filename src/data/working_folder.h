// The folder the program works in: the folder it was started in when that holds the reference
// files, otherwise the user's own data folder, seeded from the installed reference data.
#pragma once

#include <QString>

#include "file_error.h"

namespace ordevo {

// The application name: it titles the message boxes and names the per-user data folder
// (QStandardPaths::AppDataLocation, "~/.local/share/Ordevo-V3"), shared by both executables.
inline constexpr const char* kApplicationName = "Ordevo-V3";

// True when `folder` holds the three reference files read at start.
bool HoldsReferenceFiles(const QString& folder);

// Copies every file under `source` (sub-folders included) into `target`, creating folders as
// needed. A file that already exists in `target` is left untouched, so a user's changed
// "Primary.dat", equipment files and materials survive. Each copy is saved through QSaveFile:
// an interrupted copy leaves no half file that a later seeding would keep.
FileResult<void> SeedFolder(const QString& source, const QString& target);

struct WorkingFolderPlaces {
    QString StartFolder;             // the current folder at start
    QString InstalledReferenceData;  // share/ordevo/refdata of the installation; may not exist
    QString UserDataFolder;          // the per-user data folder; may not exist yet
};

// The start folder when it holds the reference files (a working folder prepared by hand or by
// scripts/run). Otherwise the user data folder, created and seeded from the installed reference
// data, when the installation or that folder has the files. Otherwise the start folder again,
// whose missing files the start-up then reports. An error, naming the user data folder and
// the file, when that folder cannot be created or seeded.
FileResult<QString> ChooseWorkingFolder(const WorkingFolderPlaces& places);

// The places for a start in `startFolder`: the installed reference data next to the running
// executable and the per-user data folder. Needs the QCoreApplication and its name.
WorkingFolderPlaces PlacesForStartIn(const QString& startFolder);

// The installed reference data seen from the folder of the executable: both lie under one
// installation prefix, so an installation moved as a whole (or unpacked under DESTDIR) still
// finds its data.
QString InstalledReferenceDataFolder(const QString& executableFolder);

}  // namespace ordevo
