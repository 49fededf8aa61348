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

    // "OK" keeps a valid setting and hands it back by tubeVoltageSet.
    explicit Form4(QWidget* parent = nullptr);
    ~Form4() override;
    // Shows the window modeless; once a setting is in force, its controls show that setting
    // (not what was typed before the window was closed without "OK").
    void Open();
    // A setting entered elsewhere (a dose report's mean voltage) is the one in force: the
    // controls show it, so that "OK" keeps it. A fixed voltage when low equals high.
    void ShowSetting(const TubeVoltageRange& range);

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }
    // The setting of the last valid "OK" (none yet: the default range).
    const TubeVoltageRange& Setting() const { return range_; }

signals:
    // "OK" accepted a valid setting.
    void tubeVoltageSet(const ordevo::TubeVoltageRange& range);

private:
    struct Ui;

    void Option1Click();
    void Option2Click();
    void Command1Click();  // "OK"

    TubeVoltageRange range_;
    bool hasSetting_ = false;  // an "OK" or a setting from elsewhere is in force
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
};

}  // namespace ordevo
