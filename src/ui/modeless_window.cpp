// Modeless windows that hide when closed.
#include "modeless_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <functional>

#include "twips.h"

namespace ordevo::ui {

ModelessWindow::ModelessWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

namespace {

// Room for the window manager's frame and title bar, which are not known before the first
// showing: a window is fitted so that its frame stays on the screen too.
constexpr QSize kFrameAllowance{16, 40};

// The client area once it scrolls: it draws what the window would draw under its controls.
class ScrolledClient : public QWidget {
public:
    ScrolledClient(QSize size, std::function<void(QPainter&)> paint) : paint_(std::move(paint)) {
        setFixedSize(size);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        paint_(painter);
    }

private:
    std::function<void(QPainter&)> paint_;
};

}  // namespace

void ModelessWindow::SetClientSizeTwips(int widthTwips, int heightTwips) {
    designedSize_ = TwipsToPixels(QSize(widthTwips, heightTwips));
    if (scrollArea_ == nullptr) setFixedSize(designedSize_);
}

void ModelessWindow::setVisible(bool visible) {
    if (visible && !isVisible() && screen() != nullptr)
        FitIntoScreenArea(screen()->availableGeometry());
    QWidget::setVisible(visible);
}

void ModelessWindow::FitIntoScreenArea(const QRect& available) {
    if (designedSize_.isEmpty()) return;
    const QSize room = available.size() - kFrameAllowance;
    if (scrollArea_ == nullptr) {
        if (designedSize_.width() <= room.width() && designedSize_.height() <= room.height())
            return;  // as designed
        MoveClientIntoScrollArea();
    }
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const QSize largest = designedSize_ + QSize(bar, bar);
    setMinimumSize(QSize(std::min(200, room.width()), std::min(150, room.height())));
    setMaximumSize(largest);
    resize(largest.boundedTo(room));
    if (!available.contains(QRect(pos(), size() + kFrameAllowance))) move(available.topLeft());
}

void ModelessWindow::MoveClientIntoScrollArea() {
    auto* client = new ScrolledClient(designedSize_, [this](QPainter& p) { PaintClient(p); });
    client->setFont(font());
    client->setPalette(palette());
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow()) continue;  // the windows this one owns stay windows
        const bool hidden =
            child->isHidden() && child->testAttribute(Qt::WA_WState_ExplicitShowHide);
        const QRect place = child->geometry();
        child->setParent(client);
        child->setGeometry(place);
        child->setVisible(!hidden);
    }
    scrollArea_ = new QScrollArea(this);
    scrollArea_->setObjectName(QStringLiteral("ClientScrollArea"));
    scrollArea_->setFrameShape(QFrame::NoFrame);
    scrollArea_->setWidget(client);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scrollArea_);
}

void ModelessWindow::PaintClient(QPainter&) {}

void ModelessWindow::paintEvent(QPaintEvent*) {
    if (scrollArea_ != nullptr) return;  // the client area draws itself
    QPainter painter(this);
    PaintClient(painter);
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
