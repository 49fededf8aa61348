// Disables a window's inputs for the length of a long action and gives them back afterwards.
#pragma once

#include <QPointer>
#include <QWidget>

#include <utility>
#include <vector>

namespace ordevo {

class InputLock {
public:
    // Disables every widget of the list that is enabled now.
    explicit InputLock(const std::vector<QWidget*>& inputs);
    ~InputLock();  // Release()
    InputLock(const InputLock&) = delete;
    InputLock& operator=(const InputLock&) = delete;

    // Input that arrived while the action ran and was held back is delivered now, while the
    // inputs are still disabled, so a click on a locked button is dropped instead of starting
    // the action again afterwards.
    static void DropHeldBackInput();

    // Gives each widget the enabled state it had before; later calls do nothing.
    void Release();

private:
    std::vector<std::pair<QPointer<QWidget>, bool>> saved_;
};

}  // namespace ordevo
