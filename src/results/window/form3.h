// The read window: a results CSV file replaces the results table, which the results window
// then redraws. A file is read and checked whole before the table is touched.
#pragma once

#include <QString>
#include <functional>

#include "control_table.h"
#include "modeless_window.h"
#include "results_table.h"

namespace ordevo {

// Controls of the read window, positions in twips.
inline constexpr ui::ControlSpec kForm3Controls[] = {
    {"Label3", ui::Kind::Label, "計算結果表を読み込みます", 240, 180, 0, 0, ui::Font::Meiryo, 12},
    {"Label1", ui::Kind::Label, "ファイルを選択して下さい", 240, 600, 0, 0, ui::Font::Meiryo},
    {"Drive1", ui::Kind::DriveList, "", 240, 1080, 3120, 330},
    {"Dir1", ui::Kind::DirList, "", 240, 1500, 3120, 2400},
    {"File1", ui::Kind::FileList, "*.csv", 3600, 1080, 3120, 2820, ui::Font::MsGothic},
    {"Label2", ui::Kind::Label, "このファイルのコメント", 240, 4080, 0, 0, ui::Font::Meiryo},
    {"Text2", ui::Kind::TextBox, "", 240, 4380, 6480, 375, ui::Font::Meiryo},
    {"Command1", ui::Kind::Button, "OK", 4320, 4920, 1095, 495},
    {"Command2", ui::Kind::Button, "Cancel", 5625, 4920, 1095, 495},
};
inline constexpr int kForm3ClientWidthTwips = 6960;
inline constexpr int kForm3ClientHeightTwips = 5700;

inline constexpr const char* kUnreadableResultsFileMessage =
    "　*** このファイルは正しく読み込めません　***  ";

class Form3 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // Replaces `table` on a valid load, then runs `onLoaded` (the redraw of the grid).
    Form3(ResultsTable& table, const QString& workingFolder, std::function<void()> onLoaded,
          QWidget* parent = nullptr);

    // The results window's "データ読込": file list at the folder list's folder, the comment box
    // empty, the window in front.
    void Open();

    const ui::Controls& Controls() const { return controls_; }

private:
    void ShowComment(const QString& fileName);  // File1 click
    void Load();                                // Command1 "OK"

    ResultsTable& table_;
    std::function<void()> onLoaded_;
    ui::Controls controls_;
};

}  // namespace ordevo
