// The save window: the results table as a CSV file for a spreadsheet, in a folder the user
// picks, with a comment on its first line.
#pragma once

#include <QString>

#include "control_table.h"
#include "modeless_window.h"
#include "results_table.h"

namespace ordevo {

// Controls of the save window, positions in twips.
inline constexpr ui::ControlSpec kForm2Controls[] = {
    {"Label3", ui::Kind::Label, "計算結果表を保存します", 240, 180, 0, 0, ui::Font::Meiryo, 12},
    {"Label5", ui::Kind::Label, "エクセル csv フォーマットで", 240, 600, 0, 0, ui::Font::Meiryo},
    {"Drive1", ui::Kind::DriveList, "", 240, 1080, 3120, 330},
    {"Dir1", ui::Kind::DirList, "", 240, 1500, 3120, 2400},
    {"Label4", ui::Kind::Label, "既存ファイル名", 3600, 1080, 0, 0, ui::Font::Meiryo},
    {"File2", ui::Kind::FileList, "*.csv", 3600, 1380, 3120, 2520, ui::Font::MsGothic},
    {"Label2", ui::Kind::Label, "コメントを入力して下さい", 240, 4080, 0, 0, ui::Font::Meiryo},
    {"Text2", ui::Kind::TextBox, "", 240, 4380, 6480, 375, ui::Font::Meiryo},
    {"Label1", ui::Kind::Label, "ファイル名を拡張子なしで入力して下さい", 240, 4920, 0, 0,
     ui::Font::Meiryo},
    {"Text1", ui::Kind::TextBox, "", 240, 5220, 3840, 375, ui::Font::Meiryo},
    {"Command1", ui::Kind::Button, "OK", 4320, 5160, 1095, 495},
    {"Command2", ui::Kind::Button, "Cancel", 5625, 5160, 1095, 495},
};
inline constexpr int kForm2ClientWidthTwips = 6960;
inline constexpr int kForm2ClientHeightTwips = 5940;

class Form2 : public ui::ModelessWindow {
    Q_OBJECT
public:
    // Saves `table`; the folder list starts at `workingFolder`.
    Form2(const ResultsTable& table, const QString& workingFolder, QWidget* parent = nullptr);

    // The results window's "データ保存": file list at the folder list's folder, both boxes
    // empty, the window in front, the focus in the comment box.
    void Open();

    const ui::Controls& Controls() const { return controls_; }

signals:
    // The table was written whole to a file.
    void saved();

private:
    void Save();  // Command1 "OK"

    const ResultsTable& table_;
    ui::Controls controls_;
};

}  // namespace ordevo
