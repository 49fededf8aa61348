// Modeless windows that hide when closed.
#include "modeless_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

#include "twips.h"

namespace ordevo::ui {

ModelessWindow::ModelessWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

void ModelessWindow::SetClientSizeTwips(int widthTwips, int heightTwips) {
    setFixedSize(TwipsToPixels(QSize(widthTwips, heightTwips)));
}

void ModelessWindow::ShowInFront() {
    show();
    raise();
    activateWindow();
}

void ModelessWindow::SetDialogKeys(QAbstractButton* ok, QAbstractButton* cancel,
                                   std::initializer_list<const QWidget*> ownEnter) {
    SetDialogKeys(ok, cancel, std::vector<const QWidget*>(ownEnter));
}

void ModelessWindow::SetDialogKeys(QAbstractButton* ok, QAbstractButton* cancel,
                                   const std::vector<const QWidget*>& ownEnter) {
    dialogKeys_ = true;
    ok_ = ok;
    cancel_ = cancel;
    // Outside a QDialog a button ignores Enter unless it is an auto-default one.
    for (QPushButton* button : findChildren<QPushButton*>())
        if (button->window() == this) button->setAutoDefault(true);
    // Enter is caught in the control itself: by the time it reached the window a box's own
    // step could have moved the focus on, and the window would no longer know where it came from.
    for (QWidget* control : findChildren<QWidget*>()) {
        const bool entersOk = qobject_cast<QLineEdit*>(control) != nullptr ||
                              qobject_cast<QComboBox*>(control) != nullptr ||
                              qobject_cast<QRadioButton*>(control) != nullptr ||
                              qobject_cast<QCheckBox*>(control) != nullptr;
        if (entersOk && control->window() == this &&
            std::find(ownEnter.begin(), ownEnter.end(), control) == ownEnter.end()) {
            control->installEventFilter(this);
        }
    }
}

bool ModelessWindow::eventFilter(QObject* watched, QEvent* event) {
    if (dialogKeys_ && ok_ != nullptr && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            if (ok_->isEnabled()) ok_->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Escape reaches the window because every control passes it on.
void ModelessWindow::keyPressEvent(QKeyEvent* event) {
    if (!dialogKeys_ || event->key() != Qt::Key_Escape || event->modifiers() != Qt::NoModifier) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (cancel_ == nullptr) {
        close();
    } else if (cancel_->isEnabled()) {
        cancel_->click();
    }
}

void ModelessWindow::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

void LetPendingEventsRun() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace ordevo::ui
