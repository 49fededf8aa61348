// Modeless windows that hide when closed.
#include "modeless_window.h"

#include <QCloseEvent>
#include <QCoreApplication>

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

void ModelessWindow::closeEvent(QCloseEvent* event) {
    hide();
    event->ignore();
}

void LetPendingEventsRun() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

}  // namespace ordevo::ui
