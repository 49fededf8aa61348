// Base of the program's windows: modeless, sized in twips, hidden (not destroyed) when closed
// so that every control keeps its state for the next showing.
#pragma once

#include <QWidget>

namespace ordevo::ui {

class ModelessWindow : public QWidget {
    Q_OBJECT

public:
    explicit ModelessWindow(QWidget* parent = nullptr);

    // Fixes the client area (the inside of the frame) to the size in twips.
    void SetClientSizeTwips(int widthTwips, int heightTwips);
    // Shows the window if hidden and brings it in front of the program's other windows.
    void ShowInFront();

protected:
    // Closing from the title bar hides the window. A window that must ask first (the main
    // window's exit) overrides this.
    void closeEvent(QCloseEvent* event) override;
};

// Lets pending repaints and other non-input events run during a long action, so the windows
// stay drawn while no click or key can start a second action. Input that arrives meanwhile is
// held back, not dropped: it is delivered when the action returns to the event loop, so a
// click on the button that started the action would start it again afterwards. Disable the
// inputs that must not run twice for the length of the action as well.
void LetPendingEventsRun();

}  // namespace ordevo::ui
