#include "form5.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

#include "control_table.h"
#include "file_list_box.h"
#include "material_file.h"
#include "messages.h"
#include "number_format.h"

namespace ordevo {

namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr int kClientWidth = 7560;
constexpr int kClientHeight = 4920;

constexpr ControlSpec kForm5Controls[] = {
    {"Label1", Kind::Label, "フィルター材質の選択", 360, 240},
    {"File1", Kind::FileList, "*.ele", 360, 600, 2415, 2535, Font::MsPGothic, 9},
    {"Label4", Kind::Label, "材質", 3120, 600},
    {"Label5", Kind::Label, "", 3120, 900, 4200, 840},  // up to three lines of description
    {"Label2", Kind::Label, "厚さ", 3120, 1905},
    {"Text2", Kind::TextBox, "", 3720, 1860, 975, 330},
    {"Label3", Kind::Label, "mm", 4800, 1905},
    {"Command1", Kind::Button, "設 定", 3120, 2640, 1215, 495},
    {"Command2", Kind::Button, "解 除", 4560, 2640, 1215, 495, Font::Inherit, 9,
     "任意フィルターの設定を解除します"},
    {"Command3", Kind::Button, "Cancel", 6000, 2640, 1215, 495},
    {"Label6", Kind::Label, "左のリストに含まれていない物質を", 360, 3480},
    {"Label7", Kind::Label, "付加フィルターに使用する方法は", 360, 3780},
    {"Label8", Kind::Label, "”はじめにお読み下さい.txt” ", 360, 4080},
    {"Label9", Kind::Label, "に記載してあります。", 360, 4380},
};

const QString kNoMaterialMessage = QStringLiteral("　フィルター材質が未選択です　");
const QString kThicknessMessage = QStringLiteral("　フィルターの厚さを入力して下さい　");

}  // namespace

Form5::Form5(EquipmentData& equipment, const QString& workingFolder, EditorHooks hooks,
             QWidget* parent)
    : ui::ModelessWindow(parent),
      equipment_(equipment),
      workingFolder_(workingFolder),
      hooks_(std::move(hooks)) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("  任意フィルター設定"));
    setFont(ui::MakeFont(Font::Meiryo, 9));
    SetClientSizeTwips(kClientWidth, kClientHeight);
    const ui::Controls controls = ui::CreateControls(*this, kForm5Controls);
    File1 = controls.Get<ui::FileListBox>("File1");
    Label5 = controls.Get<QLabel>("Label5");
    Text2 = controls.Get<QLineEdit>("Text2");
    Command1 = controls.Get<QPushButton>("Command1");
    Command2 = controls.Get<QPushButton>("Command2");
    Command3 = controls.Get<QPushButton>("Command3");
    Label5->setWordWrap(true);
    Command1->setAutoDefault(true);  // Enter on the focused "設 定" sets the filter

    connect(File1, &ui::FileListBox::fileClicked, this, &Form5::File1Click);
    connect(Text2, &QLineEdit::returnPressed, this, &Form5::Text2Return);
    connect(Command1, &QPushButton::clicked, this, &Form5::Command1Click);
    connect(Command2, &QPushButton::clicked, this, &Form5::Command2Click);
    connect(Command3, &QPushButton::clicked, this, &QWidget::hide);
}

void Form5::Open() {
    Label5->clear();
    Text2->clear();
    ShowInFront();
    File1->SetPath(workingFolder_);
}

void Form5::File1Click(const QString& fileName) {
    const auto description = ReadMaterialDescription(QDir(workingFolder_).filePath(fileName));
    if (!description) {
        Label5->clear();
        ui::AppMessages().Warning(QStringLiteral(" 材質ファイルを読み込めません \n") +
                                  description.error().message());
        return;
    }
    Label5->setText(*description);
    Text2->setFocus();
}

void Form5::Text2Return() {
    if (!Text2->text().isEmpty()) Command1->setFocus();
}

void Form5::Command1Click() {
    const QString fileName = File1->SelectedFileName();
    if (fileName.isEmpty()) {
        ui::AppMessages().Warning(kNoMaterialMessage, ui::WithBeep::Yes);
        return;
    }
    const double thicknessMm = LeadingNumber(Text2->text().toStdString());
    if (Text2->text().isEmpty() || !(thicknessMm > 0) || !std::isfinite(thicknessMm)) {
        ui::AppMessages().Warning(kThicknessMessage, ui::WithBeep::Yes);
        return;
    }
    // The material's name goes into the results table's CSV file, which has no quoting.
    const QString material = fileName.left(fileName.size() - 4);  // without ".ele"
    if (material.contains(QLatin1Char(','))) {
        ui::AppMessages().Warning(
            QStringLiteral(" 材質名 %1 にカンマ（,）があり、計算結果表に保存できません。"
                           "ファイル名を変えて下さい。付加フィルタは変更されていません ")
                .arg(material),
            ui::WithBeep::Yes);
        return;
    }
    // A file that cannot be used leaves the filter in force as it was.
    auto table = LoadMaterialTable(QDir(workingFolder_).filePath(fileName));
    if (!table) {
        ui::AppMessages().Warning(
            QStringLiteral(" この材質ファイルは使えません。付加フィルタは変更されていません \n") +
            table.error().message());
        return;
    }
    equipment_.OtherFilterAttenuation = *table;
    equipment_.OtherFilterThickness = thicknessMm * 0.1;  // mm to cm
    equipment_.OtherFilterMaterial = material.toStdString();
    equipment_.OtherFilterMaterialFile = fileName.toStdString();
    equipment_.OtherFilterFlag = 1;
    if (hooks_.filterSet) hooks_.filterSet(material, Text2->text());
    hide();
}

void Form5::Command2Click() {
    equipment_.OtherFilterMaterialFile.clear();
    equipment_.OtherFilterThickness = 0;
    equipment_.OtherFilterFlag = 0;
    if (hooks_.filterReleased) hooks_.filterReleased();
    hide();
}

}  // namespace ordevo
