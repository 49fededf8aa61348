// Enabled states saved and restored around a long action.
#include "input_lock.h"

#include <QCoreApplication>

namespace ordevo {

InputLock::InputLock(const std::vector<QWidget*>& inputs) {
    saved_.reserve(inputs.size());
    for (QWidget* input : inputs) {
        saved_.emplace_back(input, input->isEnabled());
        input->setEnabled(false);
    }
}

InputLock::~InputLock() { Release(); }

void InputLock::DropHeldBackInput() { QCoreApplication::processEvents(); }

void InputLock::Release() {
    for (auto& [input, wasEnabled] : saved_) {
        if (input) input->setEnabled(wasEnabled);
    }
    saved_.clear();
}

}  // namespace ordevo
