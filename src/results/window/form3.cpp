// The read window: the comment of a clicked file, and the load that replaces the table only
// when the whole file is valid.
#include "form3.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "dir_list_box.h"
#include "drive_list_box.h"
#include "file_list_box.h"
#include "folder_browser.h"
#include "messages.h"
#include "results_csv.h"

namespace ordevo {
namespace {

// Controls of the read window, positions in twips.
constexpr ui::ControlSpec kForm3Controls[] = {
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

}  // namespace

// The controls the window works with, bound once from the layout table.
struct Form3::Ui {
    explicit Ui(const ui::Controls& c)
        : driveList(c.Get<ui::DriveListBox>("Drive1")),
          folderList(c.Get<ui::DirListBox>("Dir1")),
          fileList(c.Get<ui::FileListBox>("File1")),
          commentBox(c.Get<QLineEdit>("Text2")),
          okButton(c.Get<QPushButton>("Command1")),
          cancelButton(c.Get<QPushButton>("Command2")) {}

    ui::DriveListBox* driveList;  // Drive1
    ui::DirListBox* folderList;   // Dir1
    ui::FileListBox* fileList;    // File1, the folder's CSV files
    QLineEdit* commentBox;        // Text2, read only: the chosen file's first line
    QPushButton* okButton;        // Command1 "OK"
    QPushButton* cancelButton;    // Command2 "Cancel"
};

ui::WindowLayout Form3::Layout() {
    return {kForm3Controls, kForm3ClientWidthTwips, kForm3ClientHeightTwips};
}

Form3::~Form3() = default;

Form3::Form3(const QString& workingFolder, QWidget* parent) : ui::ModelessWindow(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("  Data Read"));
    SetClientSizeTwips(kForm3ClientWidthTwips, kForm3ClientHeightTwips);
    controls_ = ui::CreateControls(*this, kForm3Controls);
    ui_ = std::make_unique<const Ui>(controls_);

    ui_->commentBox->setReadOnly(true);
    browser_ = std::make_unique<ui::FolderBrowser>(*ui_->driveList, *ui_->folderList,
                                                   *ui_->fileList, workingFolder);
    connect(ui_->fileList, &ui::FileListBox::fileClicked, this, &Form3::ShowComment);
    connect(ui_->okButton, &QPushButton::clicked, this, &Form3::Load);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QWidget::hide);
    SetDialogKeys(ui_->okButton, ui_->cancelButton);
}

void Form3::Open() {
    browser_->Refresh();
    ui_->commentBox->clear();
    ShowInFront();
}

void Form3::ShowComment(const QString& fileName) {
    const QString path = browser_->PathOf(fileName);
    // Line 1 alone: it shows even when the rest of the file is damaged.
    const FileResult<QString> comment = ReadResultsComment(path);
    // A long comment shows from its start; the whole of it is in the tool tip.
    QLineEdit* text2 = ui_->commentBox;
    text2->setText(comment ? *comment : QString());
    text2->setCursorPosition(0);
    text2->setToolTip(text2->text());
}

void Form3::Load() {
    ui::Messages& messages = ui::AppMessages();
    const QString path = ui_->fileList->SelectedFilePath();
    if (path.isEmpty()) {
        messages.Warning(QStringLiteral("　ファイルを選択して下さい　"), ui::WithBeep::Yes);
        return;
    }
    // The whole file is read and checked first: a damaged file leaves the table and the grid
    // as they were, and the window stays open for another choice.
    FileResult<ResultsCsvContents> contents = ReadResultsCsv(path);
    if (!contents) {
        // The fixed message, then what is wrong and where.
        messages.Warning(QString::fromUtf8(kUnreadableResultsFileMessage) + QLatin1Char('\n') +
                             contents.error().message(),
                         ui::WithBeep::Yes);
        return;
    }
    emit loaded(contents->Table, QFileInfo(path).fileName());
    hide();
}

}  // namespace ordevo
