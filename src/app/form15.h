// The registration window: the first user name, or going on as a guest.
#pragma once

#include <memory>
#include <span>

#include "control_table.h"
#include "modeless_window.h"

class QPushButton;

namespace ordevo {

inline constexpr int kForm15ClientWidthTwips = 7200;
inline constexpr int kForm15ClientHeightTwips = 5640;

class Form15 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    explicit Form15(QWidget* parent = nullptr);
    ~Form15() override;

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

signals:
    void okClicked(const QString& name);  // "OK": register the text of Text1
    void cancelClicked();                 // "Cancel": go on as a guest

private:
    struct Ui;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
};

}  // namespace ordevo
