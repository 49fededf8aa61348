// The registration window: the first user name, or going on as a guest.
#pragma once

#include <span>

#include "control_table.h"
#include "modeless_window.h"

class QLineEdit;
class QPushButton;

namespace ordevo {

inline constexpr int kForm15ClientWidthTwips = 7200;
inline constexpr int kForm15ClientHeightTwips = 5640;
std::span<const ui::ControlSpec> Form15Controls();

class Form15 : public ui::ModelessWindow {
    Q_OBJECT
public:
    explicit Form15(QWidget* parent = nullptr);

    QLineEdit* Text1() const { return text1_; }
    const ui::Controls& Controls() const { return controls_; }

signals:
    void okClicked(const QString& name);  // "OK": register the text of Text1
    void cancelClicked();                 // "Cancel": go on as a guest

private:
    ui::Controls controls_;
    QLineEdit* text1_;
};

}  // namespace ordevo
