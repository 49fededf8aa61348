// Base of the program's windows: modeless, sized in twips, hidden (not destroyed) when closed
// so that every control keeps its state for the next showing.
#pragma once

#include <QWidget>

#include <initializer_list>
#include <vector>

class QAbstractButton;
class QPainter;
class QScrollArea;

namespace ordevo::ui {

class ModelessWindow : public QWidget {
    Q_OBJECT

public:
    explicit ModelessWindow(QWidget* parent = nullptr);

    // Fixes the client area (the inside of the frame) to the size in twips.
    void SetClientSizeTwips(int widthTwips, int heightTwips);
    // Fits the window into `available`, a screen's free area (frame included). A window that
    // fits keeps its designed fixed size. One that does not (a large display scaling on a small
    // screen) shows its client area, laid out as designed, in a scroll area, and can be resized
    // up to its designed size. Showing the window does this for its screen.
    void FitIntoScreenArea(const QRect& available);
    // The scroll area the client area was moved into, or null while the window fits.
    QScrollArea* ClientScrollArea() const { return scrollArea_; }
    // Shows the window if hidden and brings it in front of the program's other windows.
    void ShowInFront();

    // The keys of a dialog: Escape presses `cancel` (or closes the window, as its title bar
    // does, when there is none); Enter presses the focused button, or `ok` from a box, drop-down
    // list or option, except the boxes in `ownEnter`, whose Enter has a step of its own (a
    // focus walk), and the file and folder lists. Call it once the controls exist.
    void SetDialogKeys(QAbstractButton* ok, QAbstractButton* cancel,
                       std::initializer_list<const QWidget*> ownEnter = {});
    void SetDialogKeys(QAbstractButton* ok, QAbstractButton* cancel,
                       const std::vector<const QWidget*>& ownEnter);

    void setVisible(bool visible) override;

protected:
    // What the window draws on its client area under its controls (a frame, say); the default
    // draws nothing. Drawn on the window, or on the scrolled client area.
    virtual void PaintClient(QPainter& painter);
    void paintEvent(QPaintEvent* event) override;
    // Escape as SetDialogKeys says; other keys as any widget.
    void keyPressEvent(QKeyEvent* event) override;
    // Enter in the controls that press `ok`.
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Closing from the title bar hides the window. A window that must ask first (the main
    // window's exit) overrides this.
    void closeEvent(QCloseEvent* event) override;

private:
    void MoveClientIntoScrollArea();

    QSize designedSize_;  // the client area as laid out, pixels; empty: not fixed
    QScrollArea* scrollArea_ = nullptr;
    bool dialogKeys_ = false;
    QAbstractButton* ok_ = nullptr;
    QAbstractButton* cancel_ = nullptr;
};

// Lets pending repaints and other non-input events run during a long action, so the windows
// stay drawn while no click or key can start a second action. Input that arrives meanwhile is
// held back, not dropped: it is delivered when the action returns to the event loop, so a
// click on the button that started the action would start it again afterwards. Disable the
// inputs that must not run twice for the length of the action as well.
void LetPendingEventsRun();

}  // namespace ordevo::ui
