// The save window: the results table as a CSV file for a spreadsheet, in a folder the user
// picks, with a comment on its first line.
#pragma once

#include <QString>
#include <memory>

#include "control_table.h"
#include "modeless_window.h"
#include "results_table.h"

namespace ordevo {
namespace ui {
class FolderBrowser;
}

inline constexpr int kForm2ClientWidthTwips = 6960;
inline constexpr int kForm2ClientHeightTwips = 5940;

class Form2 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // The layout table and the client area.
    static ui::WindowLayout Layout();

    // Saves `table`; the folder list starts at `workingFolder`.
    Form2(const ResultsTable& table, const QString& workingFolder, QWidget* parent = nullptr);
    ~Form2() override;

    // The results window's "データ保存": file list at the folder list's folder, both boxes
    // empty, the window in front, the focus in the comment box.
    void Open();

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

signals:
    // The table was written whole to a file.
    void saved();

private:
    void Save();  // Command1 "OK"
    struct Ui;

    const ResultsTable& table_;
    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
    std::unique_ptr<ui::FolderBrowser> browser_;
};

}  // namespace ordevo
