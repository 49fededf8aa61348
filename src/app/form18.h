// The window that changes the registered user name.
#pragma once

#include <memory>
#include <span>

#include "control_table.h"
#include "modeless_window.h"

namespace ordevo {

inline constexpr int kForm18ClientWidthTwips = 6600;
inline constexpr int kForm18ClientHeightTwips = 4440;

class Form18 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    explicit Form18(QWidget* parent = nullptr);
    ~Form18() override;

    // Puts the current name into Text1 and shows the window.
    void Open(const QString& currentName);

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

signals:
    void okClicked(const QString& name);  // "OK": register the text of Text1

private:
    struct Ui;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
};

}  // namespace ordevo
