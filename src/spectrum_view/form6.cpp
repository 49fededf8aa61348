#include "form6.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>

#include "control_table.h"
#include "messages.h"
#include "picture_box.h"
#include "spectrum_file.h"
#include "spectrum_plot.h"

namespace ordevo {

namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr int kClientWidth = 14175;
constexpr int kClientHeight = 8535;

constexpr ControlSpec kForm6Controls[] = {
    {"Picture3", Kind::PictureBox, "", 240, 240, 13695, 7095, Font::TimesNewRoman, 15.75},
    {"Label1", Kind::Label, "入射Ｘ線スペクトル", 480, 7740, 0, 0, Font::Meiryo, 12},
    {"Command1", Kind::Button, "Close", 12240, 7680, 1335, 615, Font::Meiryo, 9},
};

}  // namespace

// The controls the window works with, bound once from the layout table.
struct Form6::Ui {
    explicit Ui(const ui::Controls& c)
        : plotPicture(c.Get<ui::PictureBox>("Picture3")),
          closeButton(c.Get<QPushButton>("Command1")) {}

    ui::PictureBox* plotPicture;  // Picture3
    QPushButton* closeButton;     // Command1 "Close"
};

ui::WindowLayout Form6::Layout() { return {kForm6Controls, kClientWidth, kClientHeight}; }

Form6::Form6(const QString& workingFolder, QWidget* parent)
    : ui::ModelessWindow(parent), workingFolder_(workingFolder) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("X-ray spectrum"));
    SetClientSizeTwips(kClientWidth, kClientHeight);
    controls_ = ui::CreateControls(*this, kForm6Controls);
    ui_ = std::make_unique<const Ui>(controls_);
    // The plot's coordinates, texts included, fill the picture's inside.
    ui_->plotPicture->SetScale(0, 0, kPlotWidth, kPlotHeight);
    connect(ui_->closeButton, &QPushButton::clicked, this, &QWidget::hide);
    SetDialogKeys(nullptr, ui_->closeButton);
}

Form6::~Form6() = default;

bool Form6::PlotSpectrum() {
    const QString path = QDir(workingFolder_).filePath(QString::fromLatin1(kSpectrumFileName));
    return ShowPlotted(
        DrawSpectrumPlot(*ui_->plotPicture, path, [] { ui::LetPendingEventsRun(); }));
}

bool Form6::PlotSpectrum(const BinArray& fluence) {
    return ShowPlotted(DrawSpectrumPlot(*ui_->plotPicture, fluence));
}

bool Form6::ShowPlotted(FileResult<SpectrumPlotData> plotted) {
    if (!plotted) {
        plot_ = SpectrumPlotData{};  // the picture holds the empty frame now
        ui::AppMessages().Warning(QStringLiteral(" Ｘ線スペクトルを表示できません \n") +
                                  plotted.error().message());
        return false;
    }
    plot_ = std::move(plotted).value();
    ShowInFront();
    return true;
}

}  // namespace ordevo
