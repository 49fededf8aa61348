// The save window: folder, file name and comment, then the CSV file through the data layer.
#include "form2.h"

#include <QLineEdit>
#include <QPushButton>

#include "dir_list_box.h"
#include "drive_list_box.h"
#include "file_list_box.h"
#include "file_name_check.h"
#include "folder_browser.h"
#include "messages.h"
#include "results_csv.h"

namespace ordevo {
namespace {

// Controls of the save window, positions in twips.
constexpr ui::ControlSpec kForm2Controls[] = {
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

}  // namespace

// The controls the window works with, bound once from the layout table.
struct Form2::Ui {
    explicit Ui(const ui::Controls& c)
        : driveList(c.Get<ui::DriveListBox>("Drive1")),
          folderList(c.Get<ui::DirListBox>("Dir1")),
          fileList(c.Get<ui::FileListBox>("File2")),
          fileNameBox(c.Get<QLineEdit>("Text1")),
          commentBox(c.Get<QLineEdit>("Text2")),
          okButton(c.Get<QPushButton>("Command1")),
          cancelButton(c.Get<QPushButton>("Command2")) {}

    ui::DriveListBox* driveList;  // Drive1
    ui::DirListBox* folderList;   // Dir1
    ui::FileListBox* fileList;    // File2, the folder's CSV files
    QLineEdit* fileNameBox;       // Text1, without ".csv"
    QLineEdit* commentBox;        // Text2, the file's first line
    QPushButton* okButton;        // Command1 "OK"
    QPushButton* cancelButton;    // Command2 "Cancel"
};

ui::WindowLayout Form2::Layout() {
    return {kForm2Controls, kForm2ClientWidthTwips, kForm2ClientHeightTwips};
}

Form2::~Form2() = default;

Form2::Form2(const ResultsTable& table, const QString& workingFolder, QWidget* parent)
    : ui::ModelessWindow(parent), table_(table) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("  Data Save"));
    SetClientSizeTwips(kForm2ClientWidthTwips, kForm2ClientHeightTwips);
    controls_ = ui::CreateControls(*this, kForm2Controls);
    ui_ = std::make_unique<const Ui>(controls_);

    ui::FileListBox* file2 = ui_->fileList;
    QLineEdit* text1 = ui_->fileNameBox;
    QLineEdit* text2 = ui_->commentBox;
    QPushButton* command1 = ui_->okButton;
    QPushButton* command2 = ui_->cancelButton;

    browser_ = std::make_unique<ui::FolderBrowser>(*ui_->driveList, *ui_->folderList, *file2,
                                                   workingFolder);
    // Enter on a focused button presses it.
    command1->setAutoDefault(true);
    command2->setAutoDefault(true);

    // An existing file is picked to be overwritten: its name less ".csv".
    connect(file2, &ui::FileListBox::fileClicked, text1, [text1](const QString& fileName) {
        QString name = fileName;
        name.chop(4);
        text1->setText(name);
    });
    // Enter in a filled box goes on to the name while it is empty, else presses OK: a user who
    // typed both and pressed Enter has asked to save.
    connect(text2, &QLineEdit::returnPressed, text1, [text1, text2, command1] {
        if (text2->text().isEmpty()) return;
        if (text1->text().isEmpty())
            text1->setFocus();
        else
            command1->click();
    });
    connect(text1, &QLineEdit::returnPressed, command1, [text1, command1] {
        if (!text1->text().isEmpty()) command1->click();
    });
    connect(command1, &QPushButton::clicked, this, &Form2::Save);
    connect(command2, &QPushButton::clicked, this, &QWidget::hide);
    SetDialogKeys(command1, command2, {text1, text2});
}

void Form2::Open() {
    browser_->Refresh();
    ui_->fileNameBox->clear();
    ui_->commentBox->clear();
    ShowInFront();
    ui_->commentBox->setFocus();
}

void Form2::Save() {
    ui::Messages& messages = ui::AppMessages();
    const QString comment = ui_->commentBox->text();
    QString name = ui_->fileNameBox->text();
    // A name typed with its extension ("症例A.csv") is saved as that file, not "症例A.csv.csv".
    if (name.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) name.chop(4);
    if (comment.isEmpty() || name.isEmpty()) {
        messages.Warning(QStringLiteral("　コメントおよびファイル名を入力して下さい　"),
                         ui::WithBeep::Yes);
        return;
    }
    // The name may not leave the chosen folder; the window stays open to correct it.
    if (const auto problem = FileNameProblem(name)) {
        messages.Warning(QStringLiteral("　このファイル名では保存できません　\n%"
                                        "1。\n保存先のフォルダーは左の一覧で選んで下さい。")
                             .arg(*problem),
                         ui::WithBeep::Yes);
        return;
    }
    const QString path = browser_->PathOf(name + QStringLiteral(".csv"));
    if (!ui::MayReplaceFile(path)) return;
    const FileResult<void> written = WriteResultsCsv(path, comment, table_);
    if (!written) {
        messages.Error(
            QStringLiteral("　計算結果を保存できませんでした　\n%1").arg(written.error().message()),
            ui::WithBeep::Yes);
        return;
    }
    messages.Notice(QStringLiteral("　計算結果を エクセル csv形式 で保存しました　"),
                    ui::WithBeep::Yes);
    emit saved();
    hide();
}

}  // namespace ordevo
