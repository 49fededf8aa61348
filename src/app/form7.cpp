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
    {"Label2", Kind::Label, "※ 保存していない計算結果は失われます", 480, 960, 4335, 330,
     Font::Meiryo, 9},
    {"Picture1", Kind::PictureBox, "", 5040, 480, 480, 480},
    {"Command1", Kind::Button, "はい", 1320, 1320, 1455, 615, Font::Meiryo, 11},
    {"Command2", Kind::Button, "いいえ", 3240, 1320, 1455, 615, Font::Meiryo, 11},
};

}  // namespace

// The controls the window works with, bound once from the layout table.
struct Form7::Ui {
    explicit Ui(const ui::Controls& c)
        : unsavedRowsNote(c.Get<QLabel>("Label2")),
          mascot(c.Get<ui::PictureBox>("Picture1")),
          yesButton(c.Get<QPushButton>("Command1")),
          noButton(c.Get<QPushButton>("Command2")) {}

    QLabel* unsavedRowsNote;  // Label2
    ui::PictureBox* mascot;   // Picture1
    QPushButton* yesButton;   // Command1 "はい"
    QPushButton* noButton;    // Command2 "いいえ"
};

ui::WindowLayout Form7::Layout() {
    return {kControls, kForm7ClientWidthTwips, kForm7ClientHeightTwips};
}

Form7::Form7(QWidget* parent)
    : ModelessWindow(parent),
      controls_(ui::CreateControls(*this, kControls)),
      ui_(std::make_unique<const Ui>(controls_)) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("END"));
    SetClientSizeTwips(kForm7ClientWidthTwips, kForm7ClientHeightTwips);
    DrawMascot(*ui_->mascot, ui_->mascot->contentsRect().width() * ui::kTwipsPerPixel);
    ui_->unsavedRowsNote->setStyleSheet(QStringLiteral("color: #b00000;"));
    ui_->unsavedRowsNote->hide();
    connect(ui_->yesButton, &QPushButton::clicked, this, &Form7::yesClicked);
    connect(ui_->noButton, &QPushButton::clicked, this, &Form7::noClicked);
    SetDialogKeys(ui_->yesButton, ui_->noButton);
}

Form7::~Form7() = default;

void Form7::ShowUnsavedRowsNote(bool unsavedRows) { ui_->unsavedRowsNote->setVisible(unsavedRows); }

void Form7::closeEvent(QCloseEvent* event) {
    event->ignore();
    hide();
    emit noClicked();
}

}  // namespace ordevo
