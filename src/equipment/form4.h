// The tube-voltage window: one fixed voltage or a range with equal or normal weights.
#pragma once

#include <QString>
#include <functional>

#include "modeless_window.h"
#include "tube_voltage.h"

namespace ordevo {

class Form4 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // "OK" stores a valid setting into `range` and hands the main window's tube-voltage box
    // its new text ("80", "75 - 85").
    Form4(TubeVoltageRange& range, std::function<void(const QString&)> setTubeVoltageBoxText,
          QWidget* parent = nullptr);
    // Shows the window modeless, keeping its controls as the user left them.
    void Open();
};

}  // namespace ordevo
