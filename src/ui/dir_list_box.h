// A folder list: the current folder with its parents above it and its subfolders below it.
#pragma once

#include <QTreeWidget>

namespace ordevo::ui {

class DirListBox : public QTreeWidget {
    Q_OBJECT

public:
    explicit DirListBox(QWidget* parent = nullptr);  // starts at the working folder

    // Moves to the folder (made absolute, "/" separators). Returns false and stays where it
    // was when the folder does not exist. Emits pathChanged when the folder changes.
    bool SetPath(const QString& folder);
    QString Path() const { return path_; }

    // Reads the subfolders again.
    void Refresh();

    QStringList SubfolderNames() const;  // the subfolders shown, in order

signals:
    // The folder changed, by SetPath or by the user clicking a parent or a subfolder.
    void pathChanged(const QString& folder);

private:
    QString path_;
};

}  // namespace ordevo::ui
