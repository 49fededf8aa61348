// The tube-voltage window: one fixed voltage or a range with equal or normal weights.
#pragma once

#include <QString>
#include <memory>

#include "control_table.h"
#include "modeless_window.h"
#include "tube_voltage.h"

namespace ordevo {

class Form4 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    // "OK" stores a valid setting into `range` and emits its text for the main window's
    // tube-voltage box.
    explicit Form4(TubeVoltageRange& range, QWidget* parent = nullptr);
    ~Form4() override;
    // Shows the window modeless, keeping its controls as the user left them.
    void Open();
    // A setting entered elsewhere (a dose report's mean voltage): the controls show it, so that
    // "OK" keeps it instead of bringing back an older one. A fixed voltage when low equals high.
    void ShowSetting(const TubeVoltageRange& range);

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

signals:
    // "OK" stored a valid setting; its text ("80", "75 - 85").
    void tubeVoltageSet(const QString& text);

private:
    struct Ui;

    void Option1Click();
    void Option2Click();
    void Command1Click();  // "OK"

    TubeVoltageRange& range_;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
};

}  // namespace ordevo
