// The save window: folder, file name and comment, then the CSV file through the data layer.
#include "form2.h"

#include <QLineEdit>
#include <QPushButton>

#include "dir_list_box.h"
#include "drive_list_box.h"
#include "file_list_box.h"
#include "file_name_check.h"
#include "messages.h"
#include "results_csv.h"

namespace ordevo {

Form2::Form2(const ResultsTable& table, const QString& workingFolder, QWidget* parent)
    : ui::ModelessWindow(parent), table_(table) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("  Data Save"));
    SetClientSizeTwips(kForm2ClientWidthTwips, kForm2ClientHeightTwips);
    controls_ = ui::CreateControls(*this, kForm2Controls);

    auto* drive1 = controls_.Get<ui::DriveListBox>("Drive1");
    auto* dir1 = controls_.Get<ui::DirListBox>("Dir1");
    auto* file2 = controls_.Get<ui::FileListBox>("File2");
    auto* text1 = controls_.Get<QLineEdit>("Text1");
    auto* text2 = controls_.Get<QLineEdit>("Text2");
    auto* command1 = controls_.Get<QPushButton>("Command1");
    auto* command2 = controls_.Get<QPushButton>("Command2");

    dir1->SetPath(workingFolder);
    drive1->SetDrive(dir1->Path());
    file2->SetPath(dir1->Path());
    // Enter on a focused button presses it, as the focus walk Text2 → Text1 → OK expects.
    command1->setAutoDefault(true);
    command2->setAutoDefault(true);

    // A drive that cannot be entered leaves the folder list where it was.
    connect(drive1, &ui::DriveListBox::driveChanged, dir1,
            [dir1](const QString& root) { dir1->SetPath(root); });
    connect(dir1, &ui::DirListBox::pathChanged, file2, &ui::FileListBox::SetPath);
    // An existing file is picked to be overwritten: its name less ".csv".
    connect(file2, &ui::FileListBox::fileClicked, text1, [text1](const QString& fileName) {
        QString name = fileName;
        name.chop(4);
        text1->setText(name);
    });
    connect(text2, &QLineEdit::returnPressed, text1, [text1, text2] {
        if (!text2->text().isEmpty()) text1->setFocus();
    });
    connect(text1, &QLineEdit::returnPressed, command1, [text1, command1] {
        if (!text1->text().isEmpty()) command1->setFocus();
    });
    connect(command1, &QPushButton::clicked, this, &Form2::Save);
    connect(command2, &QPushButton::clicked, this, &QWidget::hide);
}

void Form2::Open() {
    auto* file2 = controls_.Get<ui::FileListBox>("File2");
    file2->SetPath(controls_.Get<ui::DirListBox>("Dir1")->Path());
    file2->Refresh();
    controls_.Get<QLineEdit>("Text1")->clear();
    controls_.Get<QLineEdit>("Text2")->clear();
    ShowInFront();
    controls_.Get<QLineEdit>("Text2")->setFocus();
}

void Form2::Save() {
    ui::Messages& messages = ui::AppMessages();
    const QString comment = controls_.Get<QLineEdit>("Text2")->text();
    const QString name = controls_.Get<QLineEdit>("Text1")->text();
    if (comment.isEmpty() || name.isEmpty()) {
        messages.Warning(QStringLiteral("　コメントおよびファイル名を入力して下さい　"),
                         ui::WithBeep::Yes);
        return;
    }
    // The name may not leave the chosen folder; the window stays open to correct it.
    if (const auto problem = FileNameProblem(name)) {
        messages.Warning(QStringLiteral("　このファイル名では保存できません　\n%1。\n保存先のフォルダーは左の一覧で選んで下さい。")
                             .arg(*problem),
                         ui::WithBeep::Yes);
        return;
    }
    const QString path = controls_.Get<ui::FileListBox>("File2")->Path() + QLatin1Char('/') +
                         name + QStringLiteral(".csv");
    const FileResult<void> written = WriteResultsCsv(path, comment, table_);
    if (!written) {
        messages.Error(QStringLiteral("　計算結果を保存できませんでした　\n%1")
                           .arg(written.error().message()),
                       ui::WithBeep::Yes);
        return;
    }
    messages.Notice(QStringLiteral("　計算結果を エクセル csv形式 で保存しました　"),
                    ui::WithBeep::Yes);
    emit saved();
    hide();
}

}  // namespace ordevo
