// A file list: the names of the files of one folder that match a pattern, sorted.
#pragma once

#include <QListWidget>
#include <QStringList>

namespace ordevo::ui {

class FileListBox : public QListWidget {
    Q_OBJECT

public:
    explicit FileListBox(QWidget* parent = nullptr);

    // Patterns separated by ";", e.g. "*.odv;*.odv2;*.odv3" or "*.csv"; matched without regard
    // to case. The default is "*.*". Refreshes the list.
    void SetPattern(const QString& pattern);
    QString Pattern() const { return pattern_; }

    // The folder shown (absolute, "/" separators). Refreshes the list. A folder that does not
    // exist shows an empty list.
    void SetPath(const QString& folder);
    QString Path() const { return path_; }

    // Reads the folder again; the selected name stays selected while it still exists.
    void Refresh();

    QStringList FileNames() const;     // the names shown, in order
    QString SelectedFileName() const;  // "" when nothing is selected
    QString SelectedFilePath() const;  // folder + "/" + name, "" when nothing is selected
    // Selects the name without emitting fileClicked; false when it is not in the list.
    bool SelectFileName(const QString& name);

signals:
    // The user clicked a file name, moved the selection to it with the keys, or pressed Enter.
    void fileClicked(const QString& fileName);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString pattern_ = QStringLiteral("*.*");
    QString path_;
};

}  // namespace ordevo::ui
