// The drive, folder and file lists of a save or load window, moving together: a drive chosen
// opens its root in the folder list, a folder chosen lists its files.
#pragma once

#include <QString>

namespace ordevo::ui {

class DirListBox;
class DriveListBox;
class FileListBox;

class FolderBrowser {
public:
    // Binds the three lists (which the window owns) and opens `startFolder`.
    FolderBrowser(DriveListBox& drives, DirListBox& folders, FileListBox& files,
                  const QString& startFolder);

    // The window is opened again: the file list shows the folder list's folder, read afresh.
    void Refresh();
    // The folder shown, and a file in it.
    QString Folder() const;
    QString PathOf(const QString& fileName) const;

private:
    DirListBox& folders_;
    FileListBox& files_;
};

}  // namespace ordevo::ui
