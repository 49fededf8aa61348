// The read window: the comment of a clicked file, and the load that replaces the table only
// when the whole file is valid.
#include "form3.h"

#include <QLineEdit>
#include <QPushButton>

#include "dir_list_box.h"
#include "drive_list_box.h"
#include "file_list_box.h"
#include "messages.h"
#include "results_csv.h"

namespace ordevo {

Form3::Form3(ResultsTable& table, const QString& workingFolder, std::function<void()> onLoaded,
             QWidget* parent)
    : ui::ModelessWindow(parent), table_(table), onLoaded_(std::move(onLoaded)) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("  Data Read"));
    SetClientSizeTwips(kForm3ClientWidthTwips, kForm3ClientHeightTwips);
    controls_ = ui::CreateControls(*this, kForm3Controls);

    auto* drive1 = controls_.Get<ui::DriveListBox>("Drive1");
    auto* dir1 = controls_.Get<ui::DirListBox>("Dir1");
    auto* file1 = controls_.Get<ui::FileListBox>("File1");
    controls_.Get<QLineEdit>("Text2")->setReadOnly(true);

    dir1->SetPath(workingFolder);
    drive1->SetDrive(dir1->Path());
    file1->SetPath(dir1->Path());

    connect(drive1, &ui::DriveListBox::driveChanged, dir1,
            [dir1](const QString& root) { dir1->SetPath(root); });
    connect(dir1, &ui::DirListBox::pathChanged, file1, &ui::FileListBox::SetPath);
    connect(file1, &ui::FileListBox::fileClicked, this, &Form3::ShowComment);
    connect(controls_.Get<QPushButton>("Command1"), &QPushButton::clicked, this, &Form3::Load);
    connect(controls_.Get<QPushButton>("Command2"), &QPushButton::clicked, this, &QWidget::hide);
}

void Form3::Open() {
    auto* file1 = controls_.Get<ui::FileListBox>("File1");
    file1->SetPath(controls_.Get<ui::DirListBox>("Dir1")->Path());
    file1->Refresh();
    controls_.Get<QLineEdit>("Text2")->clear();
    ShowInFront();
}

void Form3::ShowComment(const QString& fileName) {
    const QString path =
        controls_.Get<ui::FileListBox>("File1")->Path() + QLatin1Char('/') + fileName;
    // Line 1 alone: it shows even when the rest of the file is damaged.
    const FileResult<QString> comment = ReadResultsComment(path);
    // A long comment shows from its start; the whole of it is in the tool tip.
    auto* text2 = controls_.Get<QLineEdit>("Text2");
    text2->setText(comment ? *comment : QString());
    text2->setCursorPosition(0);
    text2->setToolTip(text2->text());
}

void Form3::Load() {
    ui::Messages& messages = ui::AppMessages();
    const QString path = controls_.Get<ui::FileListBox>("File1")->SelectedFilePath();
    if (path.isEmpty()) {
        messages.Warning(QStringLiteral("　ファイルを選択して下さい　"), ui::WithBeep::Yes);
        return;
    }
    // The whole file is read and checked first: a damaged file leaves the table and the grid
    // as they were, and the window stays open for another choice.
    FileResult<ResultsCsvContents> contents = ReadResultsCsv(path);
    if (!contents) {
        messages.Warning(QString::fromUtf8(kUnreadableResultsFileMessage), ui::WithBeep::Yes);
        return;
    }
    table_ = contents->Table;
    if (onLoaded_) onLoaded_();
    hide();
}

}  // namespace ordevo
