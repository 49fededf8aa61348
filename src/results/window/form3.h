// The read window: a results CSV file, read and checked whole, is handed to the results window,
// which replaces its table and redraws it.
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

inline constexpr int kForm3ClientWidthTwips = 6960;
inline constexpr int kForm3ClientHeightTwips = 5700;

inline constexpr const char* kUnreadableResultsFileMessage =
    "　*** このファイルは正しく読み込めません　***  ";

class Form3 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // A valid load hands the file's table back by `loaded`; the window holds no table.
    explicit Form3(const QString& workingFolder, QWidget* parent = nullptr);
    ~Form3() override;

    // The layout table and the client area.
    static ui::WindowLayout Layout();

    // The results window's "データ読込": file list at the folder list's folder, the comment box
    // empty, the window in front.
    void Open();

    // Every control by its objectName, for tests.
    const ui::Controls& Controls() const { return controls_; }

signals:
    // The file `fileName` (its name without the folder) was read whole and checked: its table.
    void loaded(const ordevo::ResultsTable& table, const QString& fileName);

private:
    void ShowComment(const QString& fileName);  // File1 click
    void Load();                                // Command1 "OK"
    struct Ui;

    ui::Controls controls_;
    std::unique_ptr<const Ui> ui_;
    std::unique_ptr<ui::FolderBrowser> browser_;
};

}  // namespace ordevo
