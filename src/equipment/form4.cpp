#include "form4.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

#include "control_table.h"
#include "number_box.h"
#include "case_messages.h"
#include "messages.h"
#include "number_format.h"
#include "picture_box.h"
#include "tube_voltage_text.h"

namespace ordevo {

namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr int kClientWidth = 5880;
constexpr int kClientHeight = 5520;

// Frame1 holds the voltage choice, Frame2 the weighting; their controls are placed in twips
// from the frame's corner.
constexpr ControlSpec kForm4Controls[] = {
    {"Frame1", Kind::Frame, "管電圧の設定", 240, 120, 5400, 1800},
    {"Label1",
     Kind::Label,
     "透視 / 撮影中のＸ線管電圧",
     240,
     360,
     0,
     0,
     Font::Inherit,
     9,
     {},
     "Frame1"},
    {"Option1", Kind::Option, "固 定", 360, 780, 1080, 0, Font::Inherit, 9, {}, "Frame1"},
    {"Text1", Kind::TextBox, "80", 1560, 750, 735, 330, Font::Inherit, 9, {}, "Frame1"},
    {"Label2", Kind::Label, "kV", 2400, 780, 0, 0, Font::Inherit, 9, {}, "Frame1"},
    {"Option2", Kind::Option, "変 動", 360, 1260, 1080, 0, Font::Inherit, 9, {}, "Frame1"},
    {"Text2", Kind::TextBox, "75", 1560, 1230, 735, 330, Font::Inherit, 9, {}, "Frame1"},
    {"Label4", Kind::Label, "～", 2400, 1260, 0, 0, Font::Inherit, 9, {}, "Frame1"},
    {"Text3", Kind::TextBox, "85", 2760, 1230, 735, 330, Font::Inherit, 9, {}, "Frame1"},
    {"Label3", Kind::Label, "kV", 3600, 1260, 0, 0, Font::Inherit, 9, {}, "Frame1"},
    {"Frame2", Kind::Frame, " 各管電圧の電流・時間積の変動状況 ", 240, 2040, 5400, 2760},
    {"Option3", Kind::Option, "均等に変動", 240, 360, 0, 0, Font::Inherit, 9, {}, "Frame2"},
    {"Option4",
     Kind::Option,
     "中央値を中心にして正規分布状に変動",
     240,
     720,
     0,
     0,
     Font::Inherit,
     9,
     {},
     "Frame2"},
    {"Picture1", Kind::PictureBox, "", 240, 1140, 4920, 1380, Font::Meiryo, 9, {}, "Frame2"},
    {"Command1", Kind::Button, "OK", 4320, 4920, 1320, 435},
};

// Picture1: a flat bar for "均等" and a bell curve for "正規分布状", in twips of the picture.
void DrawWeightingPicture(ui::Surface& surface) {
    const QColor ink(0, 0, 128);
    constexpr double baseline = 900;
    constexpr double height = 600;
    surface.Clear();
    surface.SetLineWidth(1);
    surface.Line(300, baseline, 2100, baseline, Qt::black);
    surface.Box(600, baseline - 0.6 * height, 1800, baseline, ink);
    surface.Line(2700, baseline, 4500, baseline, Qt::black);
    // The ends of the range lie 1.84 standard deviations from the centre, as the weights do.
    constexpr double centre = 3600;
    constexpr double halfWidth = 660;
    constexpr int segments = 44;
    surface.SetCurrentPosition(centre - halfWidth, baseline);
    for (int k = 0; k <= segments; ++k) {
        const double x = centre - halfWidth + 2 * halfWidth * k / segments;
        const double z = 1.84 * (x - centre) / halfWidth;
        surface.LineTo(x, baseline - height * std::exp(-0.5 * z * z), ink);
    }
    surface.LineTo(centre + halfWidth, baseline, ink);
    surface.SetForeColor(Qt::black);
    surface.SetCurrentPosition(1200 - surface.TextWidth(QStringLiteral("均等")) / 2, baseline + 60);
    surface.Print(QStringLiteral("均等"));
    surface.SetCurrentPosition(centre - surface.TextWidth(QStringLiteral("正規分布状")) / 2,
                               baseline + 60);
    surface.Print(QStringLiteral("正規分布状"));
}

}  // namespace

// The controls the window works with, bound once from the layout table.
struct Form4::Ui {
    explicit Ui(const ui::Controls& c)
        : fixedOption(c.Get<QRadioButton>("Option1")),
          rangeOption(c.Get<QRadioButton>("Option2")),
          equalOption(c.Get<QRadioButton>("Option3")),
          normalOption(c.Get<QRadioButton>("Option4")),
          fixedBox(c.Get<QLineEdit>("Text1")),
          lowBox(c.Get<QLineEdit>("Text2")),
          highBox(c.Get<QLineEdit>("Text3")),
          weightingPicture(c.Get<ui::PictureBox>("Picture1")),
          okButton(c.Get<QPushButton>("Command1")) {}

    QRadioButton* fixedOption;   // Option1 "固 定"
    QRadioButton* rangeOption;   // Option2 "変 動"
    QRadioButton* equalOption;   // Option3 "均等に変動"
    QRadioButton* normalOption;  // Option4 "中央値を中心にして正規分布状に変動"
    QLineEdit* fixedBox;         // Text1, kV
    QLineEdit* lowBox;           // Text2, kV
    QLineEdit* highBox;          // Text3, kV
    ui::PictureBox* weightingPicture;  // Picture1
    QPushButton* okButton;             // Command1 "OK"
};

ui::WindowLayout Form4::Layout() {
    return {kForm4Controls, kClientWidth, kClientHeight, Font::Meiryo, 9};
}

Form4::Form4(QWidget* parent) : ui::ModelessWindow(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("  管電圧の設定"));
    setFont(ui::MakeFont(Layout().windowFont, Layout().windowFontSizePt));
    SetClientSizeTwips(kClientWidth, kClientHeight);
    controls_ = ui::CreateControls(*this, kForm4Controls);
    ui_ = std::make_unique<const Ui>(controls_);
    QRadioButton* Option1 = ui_->fixedOption;
    QRadioButton* Option3 = ui_->equalOption;

    // Defaults: a fixed 80 kV; the range boxes and the weighting wait for "変 動".
    Option1->setChecked(true);
    Option3->setChecked(true);
    Option1Click();
    DrawWeightingPicture(*ui_->weightingPicture);

    connect(ui_->fixedOption, &QRadioButton::clicked, this, &Form4::Option1Click);
    connect(ui_->rangeOption, &QRadioButton::clicked, this, &Form4::Option2Click);
    connect(ui_->okButton, &QPushButton::clicked, this, &Form4::Command1Click);
    // No Cancel button: Escape closes the window as its title bar does.
    SetDialogKeys(ui_->okButton, nullptr);
}

Form4::~Form4() = default;

void Form4::Open() {
    // Controls left changed by a window closed without "OK" show the setting in force again.
    if (hasSetting_) ShowSetting(range_);
    ShowInFront();
}

void Form4::ShowSetting(const TubeVoltageRange& range) {
    range_ = range;
    hasSetting_ = true;
    const bool fixed = range.TubeVoltageLow == range.TubeVoltageHigh;
    if (fixed) {
        ui_->fixedOption->setChecked(true);
        Option1Click();
        ui_->fixedBox->setText(QString::fromStdString(TubeVoltageText(range)));
        return;
    }
    ui_->rangeOption->setChecked(true);
    Option2Click();
    ui_->lowBox->setText(QString::fromStdString(PlainNumber(range.TubeVoltageLow)));
    ui_->highBox->setText(QString::fromStdString(PlainNumber(range.TubeVoltageHigh)));
    (range.Weighting == TubeVoltageWeighting::Normal ? ui_->normalOption : ui_->equalOption)
        ->setChecked(true);
}

void Form4::Option1Click() {
    ui_->fixedBox->setEnabled(true);
    ui_->lowBox->setEnabled(false);
    ui_->highBox->setEnabled(false);
    ui_->equalOption->setEnabled(false);
    ui_->normalOption->setEnabled(false);
}

void Form4::Option2Click() {
    ui_->lowBox->setEnabled(true);
    ui_->highBox->setEnabled(true);
    ui_->equalOption->setEnabled(true);
    ui_->normalOption->setEnabled(true);
    ui_->fixedBox->setEnabled(false);
    ui_->equalOption->setChecked(true);
}

void Form4::Command1Click() {
    // Each box must hold one number (full-width digits taken as ASCII): "8O" typed for 80 is
    // refused like any unusable voltage, never read as its leading 8.
    QLineEdit* refusedBox = nullptr;
    auto valueOf = [&refusedBox](QLineEdit* box) {
        const NumberBoxText read = ReadNumberBox(box->text());
        if (read.Text != box->text()) box->setText(read.Text);
        if (!read.Value && refusedBox == nullptr) refusedBox = box;
        return read.Value.value_or(0);
    };
    std::optional<TubeVoltageRange> setting;
    if (ui_->fixedOption->isChecked()) {
        const double kv = valueOf(ui_->fixedBox);
        if (refusedBox == nullptr) setting = MakeFixedTubeVoltage(kv);
    } else {
        const double low = valueOf(ui_->lowBox);
        const double high = valueOf(ui_->highBox);
        if (refusedBox == nullptr)
            setting =
                MakeTubeVoltageRange(low, high,
                                     ui_->normalOption->isChecked() ? TubeVoltageWeighting::Normal
                                                                    : TubeVoltageWeighting::Equal);
    }
    // Not one number, empty, not positive, above the 150 kV the spectrum covers, or low not
    // below high.
    if (!setting) {
        ui::AppMessages().Warning(QString::fromUtf8(kTubeVoltageInputMessage));
        if (refusedBox != nullptr) {
            refusedBox->setFocus();
            refusedBox->selectAll();
        }
        return;
    }
    range_ = *setting;
    hasSetting_ = true;
    emit tubeVoltageSet(range_);
    hide();
}

}  // namespace ordevo
