// The lists of a save or load window, moving together.
#include "folder_browser.h"

#include <QObject>

#include "dir_list_box.h"
#include "drive_list_box.h"
#include "file_list_box.h"

namespace ordevo::ui {

FolderBrowser::FolderBrowser(DriveListBox& drives, DirListBox& folders, FileListBox& files,
                             const QString& startFolder)
    : folders_(folders), files_(files) {
    folders.SetPath(startFolder);
    drives.SetDrive(folders.Path());
    files.SetPath(folders.Path());
    // A drive that cannot be entered leaves the folder list where it was.
    QObject::connect(&drives, &DriveListBox::driveChanged, &folders,
                     [&folders](const QString& root) { folders.SetPath(root); });
    QObject::connect(&folders, &DirListBox::pathChanged, &files, &FileListBox::SetPath);
}

void FolderBrowser::Refresh() {
    files_.SetPath(folders_.Path());
    files_.Refresh();
}

QString FolderBrowser::Folder() const { return files_.Path(); }

QString FolderBrowser::PathOf(const QString& fileName) const {
    return Folder() + QLatin1Char('/') + fileName;
}

}  // namespace ordevo::ui
