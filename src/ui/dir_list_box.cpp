// Folder list: a chain of parents down to the current folder, whose subfolders hang below it.
#include "dir_list_box.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHeaderView>
#include <QStyle>

namespace ordevo::ui {
namespace {

constexpr int kPathRole = Qt::UserRole;

}  // namespace

DirListBox::DirListBox(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setIndentation(12);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemsExpandable(false);
    path_ = QDir::currentPath();
    auto follow = [this](QTreeWidgetItem* item) {
        if (item != nullptr) SetPath(item->data(0, kPathRole).toString());
    };
    connect(this, &QTreeWidget::itemClicked, this, follow);
    connect(this, &QTreeWidget::itemActivated, this, follow);
    Refresh();
}

bool DirListBox::SetPath(const QString& folder) {
    const QFileInfo info(folder);
    if (!info.exists() || !info.isDir()) return false;
    const QString absolute = QDir(info.absoluteFilePath()).absolutePath();
    if (absolute == path_) return true;
    path_ = absolute;
    Refresh();
    emit pathChanged(path_);
    return true;
}

void DirListBox::Refresh() {
    clear();
    // The chain from the root down to the current folder.
    QStringList chain;
    QDir walker(path_);
    chain.prepend(walker.absolutePath());
    while (walker.cdUp()) chain.prepend(walker.absolutePath());

    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    QTreeWidgetItem* parentItem = nullptr;
    for (const QString& folder : chain) {
        const QString name = QDir(folder).dirName();
        auto* item =
            parentItem == nullptr ? new QTreeWidgetItem(this) : new QTreeWidgetItem(parentItem);
        item->setText(0, QDir(folder).isRoot() ? folder : name);
        item->setIcon(0, openIcon);
        item->setData(0, kPathRole, folder);
        item->setExpanded(true);
        parentItem = item;
    }
    const QDir current(path_);
    const QStringList subfolders =
        current.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase);
    for (const QString& name : subfolders) {
        auto* item = new QTreeWidgetItem(parentItem);
        item->setText(0, name);
        item->setIcon(0, closedIcon);
        item->setData(0, kPathRole, current.filePath(name));
    }
    expandAll();
    setCurrentItem(parentItem);
}

QStringList DirListBox::SubfolderNames() const {
    QStringList names;
    // The current folder is the deepest item of the chain; its children are the subfolders.
    QTreeWidgetItem* item = topLevelItemCount() > 0 ? topLevelItem(0) : nullptr;
    while (item != nullptr && item->data(0, kPathRole).toString() != path_) {
        item = item->childCount() > 0 ? item->child(0) : nullptr;
    }
    if (item == nullptr) return names;
    for (int i = 0; i < item->childCount(); ++i) names << item->child(i)->text(0);
    return names;
}

}  // namespace ordevo::ui
