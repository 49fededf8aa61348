// File list filtered by a multi-pattern.
#include "file_list_box.h"

#include <QDir>
#include <QKeyEvent>

namespace ordevo::ui {

FileListBox::FileListBox(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    path_ = QDir::currentPath();
    connect(this, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { emit fileClicked(item->text()); });
    Refresh();
}

void FileListBox::keyPressEvent(QKeyEvent* event) {
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (currentItem() != nullptr && (currentRow() != before || enter)) {
        emit fileClicked(currentItem()->text());
    }
}

void FileListBox::SetPattern(const QString& pattern) {
    pattern_ = pattern;
    Refresh();
}

void FileListBox::SetPath(const QString& folder) {
    path_ = QDir(folder).absolutePath();
    Refresh();
}

void FileListBox::Refresh() {
    const QString selected = SelectedFileName();
    QStringList filters;
    for (const QString& part : pattern_.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = part.trimmed();
        if (!trimmed.isEmpty()) filters << trimmed;
    }
    const QDir folder(path_);
    const QStringList names =
        folder.exists()
            ? folder.entryList(filters, QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase)
            : QStringList();
    clear();
    addItems(names);
    if (!selected.isEmpty()) SelectFileName(selected);
}

QStringList FileListBox::FileNames() const {
    QStringList names;
    for (int row = 0; row < count(); ++row) names << item(row)->text();
    return names;
}

QString FileListBox::SelectedFileName() const {
    const QList<QListWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? QString() : selected.front()->text();
}

QString FileListBox::SelectedFilePath() const {
    const QString name = SelectedFileName();
    return name.isEmpty() ? QString() : QDir(path_).filePath(name);
}

bool FileListBox::SelectFileName(const QString& name) {
    for (int row = 0; row < count(); ++row) {
        if (item(row)->text() == name) {
            setCurrentRow(row);
            return true;
        }
    }
    return false;
}

}  // namespace ordevo::ui
