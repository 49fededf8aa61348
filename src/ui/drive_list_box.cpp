// Drive list over QDir::drives().
#include "drive_list_box.h"

#include <QDir>
#include <QFileInfo>

namespace ordevo::ui {

DriveListBox::DriveListBox(QWidget* parent) : QComboBox(parent) {
    Refresh();
    SetDrive(QDir::currentPath());
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) emit driveChanged(itemText(index));
    });
}

QString DriveListBox::Drive() const { return currentText(); }

bool DriveListBox::SetDrive(const QString& pathOnDrive) {
    // The longest root that starts the path: "C:/" for "C:/data", "/" for "/home/user".
    const QString absolute = QDir(pathOnDrive).absolutePath();
    int best = -1;
    for (int i = 0; i < count(); ++i) {
        const QString root = itemText(i);
        if (absolute.startsWith(root, Qt::CaseInsensitive) &&
            (best < 0 || root.size() > itemText(best).size())) {
            best = i;
        }
    }
    if (best < 0) return false;
    setCurrentIndex(best);
    return true;
}

void DriveListBox::Refresh() {
    const QString chosen = currentText();
    const QSignalBlocker blocker(this);
    clear();
    for (const QFileInfo& root : QDir::drives()) addItem(root.absolutePath());
    const int index = findText(chosen);
    setCurrentIndex(index >= 0 ? index : 0);
}

}  // namespace ordevo::ui
