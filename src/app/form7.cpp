// The exit confirmation window.
#include "form7.h"

#include <QCloseEvent>
#include <QLabel>
#include <QPushButton>

#include "mascot.h"
#include "picture_box.h"
#include "twips.h"

namespace ordevo {
namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr ControlSpec kControls[] = {
    {"Shape1", Kind::Shape, "", 120, 120, 5760, 2160},
    {"Label1", Kind::Label, "Ordevo-V3 を終了しますか ？", 480, 480, 4335, 465, Font::Meiryo, 13},
    // Shown only while the results table holds rows that were never saved.
    {"Label2", Kind::Label, "※ 保存していない計算結果は失われます", 480, 960, 4335, 330, Font::Meiryo, 9},
    {"Picture1", Kind::PictureBox, "", 5040, 480, 480, 480},
    {"Command1", Kind::Button, "はい", 1320, 1320, 1455, 615, Font::Meiryo, 11},
    {"Command2", Kind::Button, "いいえ", 3240, 1320, 1455, 615, Font::Meiryo, 11},
};

}  // namespace

std::span<const ui::ControlSpec> Form7Controls() { return kControls; }

Form7::Form7(QWidget* parent)
    : ModelessWindow(parent), controls_(ui::CreateControls(*this, kControls)) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("END"));
    SetClientSizeTwips(kForm7ClientWidthTwips, kForm7ClientHeightTwips);
    auto* picture = controls_.Get<ui::PictureBox>("Picture1");
    DrawMascot(*picture, picture->contentsRect().width() * ui::kTwipsPerPixel);
    auto* note = controls_.Get<QLabel>("Label2");
    note->setStyleSheet(QStringLiteral("color: #b00000;"));
    note->hide();
    connect(controls_.Get<QPushButton>("Command1"), &QPushButton::clicked, this,
            &Form7::yesClicked);
    connect(controls_.Get<QPushButton>("Command2"), &QPushButton::clicked, this,
            &Form7::noClicked);
}

void Form7::ShowUnsavedRowsNote(bool unsavedRows) {
    controls_.Get<QLabel>("Label2")->setVisible(unsavedRows);
}

void Form7::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    emit noClicked();
}

}  // namespace ordevo
