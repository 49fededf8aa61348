// The tube-voltage window: one fixed voltage or a range with equal or normal weights.
#pragma once

#include <QString>
#include <functional>

#include "modeless_window.h"
#include "tube_voltage.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace ordevo::ui {
class PictureBox;
}

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

private:
    void Option1Click();
    void Option2Click();
    void Command1Click();  // "OK"

    TubeVoltageRange& range_;
    std::function<void(const QString&)> setTubeVoltageBoxText_;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QLineEdit* Text1 = nullptr;
    QLineEdit* Text2 = nullptr;
    QLineEdit* Text3 = nullptr;
    ui::PictureBox* Picture1 = nullptr;
    QPushButton* Command1 = nullptr;
};

}  // namespace ordevo
