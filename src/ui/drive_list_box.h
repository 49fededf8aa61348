// A drive list: the file system roots (drive letters on Windows, "/" elsewhere).
#pragma once

#include <QComboBox>

namespace ordevo::ui {

class DriveListBox : public QComboBox {
    Q_OBJECT

public:
    explicit DriveListBox(QWidget* parent = nullptr);  // the working folder's drive is chosen

    QString Drive() const;  // the chosen root, e.g. "/" or "C:/"
    // Chooses the root of the given path; false when it is not in the list.
    bool SetDrive(const QString& pathOnDrive);
    void Refresh();  // reads the roots again, keeping the choice when it still exists

signals:
    // The user or SetDrive chose another root.
    void driveChanged(const QString& root);
};

}  // namespace ordevo::ui
