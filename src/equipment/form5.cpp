#include "form5.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>

#include "control_table.h"
#include "file_list_box.h"
#include "number_box.h"
#include "material_file.h"
#include "messages.h"
#include "number_format.h"
#include "units.h"

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

// The controls the window works with, bound once from the layout table.
struct Form5::Ui {
    explicit Ui(const ui::Controls& c)
        : materialList(c.Get<ui::FileListBox>("File1")),
          descriptionLabel(c.Get<QLabel>("Label5")),
          thicknessBox(c.Get<QLineEdit>("Text2")),
          setButton(c.Get<QPushButton>("Command1")),
          releaseButton(c.Get<QPushButton>("Command2")),
          cancelButton(c.Get<QPushButton>("Command3")) {}

    ui::FileListBox* materialList;  // File1, the ".ele" files of the working folder
    QLabel* descriptionLabel;       // Label5, the material file's description
    QLineEdit* thicknessBox;        // Text2, mm
    QPushButton* setButton;         // Command1 "設 定"
    QPushButton* releaseButton;     // Command2 "解 除"
    QPushButton* cancelButton;      // Command3 "Cancel"
};

ui::WindowLayout Form5::Layout() {
    return {kForm5Controls, kClientWidth, kClientHeight, Font::Meiryo, 9};
}

Form5::Form5(const QString& workingFolder, QWidget* parent)
    : ui::ModelessWindow(parent), workingFolder_(workingFolder) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("  任意フィルター設定"));
    setFont(ui::MakeFont(Layout().windowFont, Layout().windowFontSizePt));
    SetClientSizeTwips(kClientWidth, kClientHeight);
    controls_ = ui::CreateControls(*this, kForm5Controls);
    ui_ = std::make_unique<const Ui>(controls_);
    ui_->descriptionLabel->setWordWrap(true);
    ui_->setButton->setAutoDefault(true);  // Enter on the focused "設 定" sets the filter

    connect(ui_->materialList, &ui::FileListBox::fileClicked, this, &Form5::File1Click);
    connect(ui_->thicknessBox, &QLineEdit::returnPressed, this, &Form5::Text2Return);
    connect(ui_->setButton, &QPushButton::clicked, this, &Form5::Command1Click);
    connect(ui_->releaseButton, &QPushButton::clicked, this, &Form5::Command2Click);
    connect(ui_->cancelButton, &QPushButton::clicked, this, &QWidget::hide);
    SetDialogKeys(ui_->setButton, ui_->cancelButton, {ui_->thicknessBox});
}

Form5::~Form5() = default;

void Form5::Open() {
    ui_->descriptionLabel->clear();
    ui_->thicknessBox->clear();
    ShowInFront();
    ui_->materialList->SetPath(workingFolder_);
}

void Form5::File1Click(const QString& fileName) {
    const auto description = ReadMaterialDescription(QDir(workingFolder_).filePath(fileName));
    if (!description) {
        ui_->descriptionLabel->clear();
        ui::AppMessages().Warning(QStringLiteral(" 材質ファイルを読み込めません \n") +
                                  description.error().message());
        return;
    }
    ui_->descriptionLabel->setText(*description);
    ui_->thicknessBox->setFocus();
}

void Form5::Text2Return() {
    if (!ui_->thicknessBox->text().isEmpty()) ui_->setButton->setFocus();
}

void Form5::Command1Click() {
    const QString fileName = ui_->materialList->SelectedFileName();
    if (fileName.isEmpty()) {
        ui::AppMessages().Warning(kNoMaterialMessage, ui::WithBeep::Yes);
        return;
    }
    // One number (full-width digits taken as ASCII): "O.5" typed for 0.5 is refused, never read
    // as 0 or as its leading digits.
    const NumberBoxText thickness = ReadNumberBox(ui_->thicknessBox->text());
    if (thickness.Text != ui_->thicknessBox->text()) ui_->thicknessBox->setText(thickness.Text);
    const double thicknessMm = thickness.Value.value_or(0);
    if (!(thicknessMm > 0) || !std::isfinite(thicknessMm)) {
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
    emit filterSet(OtherFilterChoice{material, ui_->thicknessBox->text(),
                                     thicknessMm * kCentimetresPerMillimetre, *table});
    hide();
}

void Form5::Command2Click() {
    emit filterReleased();
    hide();
}

}  // namespace ordevo
