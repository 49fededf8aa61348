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

Form6::Form6(const QString& workingFolder, QWidget* parent)
    : ui::ModelessWindow(parent), workingFolder_(workingFolder) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("X-ray spectrum"));
    SetClientSizeTwips(kClientWidth, kClientHeight);
    const ui::Controls controls = ui::CreateControls(*this, kForm6Controls);
    Picture3 = controls.Get<ui::PictureBox>("Picture3");
    Command1 = controls.Get<QPushButton>("Command1");
    // The plot's coordinates, texts included, fill the picture's inside.
    Picture3->SetScale(0, 0, kPlotWidth, kPlotHeight);
    connect(Command1, &QPushButton::clicked, this, &QWidget::hide);
}

bool Form6::PlotSpectrum() {
    const QString path = QDir(workingFolder_).filePath(QString::fromLatin1(kSpectrumFileName));
    auto plotted = DrawSpectrumPlot(*Picture3, path, [] { ui::LetPendingEventsRun(); });
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
