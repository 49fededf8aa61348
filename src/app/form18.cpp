// The name-change window.
#include "form18.h"

#include <QLineEdit>
#include <QPushButton>

namespace ordevo {
namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr ControlSpec kControls[] = {
    {"Label1", Kind::Label, "新しいユーザー名を入力して下さい", 720, 600, 5040, 315, Font::Meiryo,
     11},
    {"Label8", Kind::Label, "本名，ニックネーム，施設名，グループ名 など", 840, 1440, 5115, 240,
     Font::Meiryo, 9},
    {"Label3", Kind::Label, "漢字，アルファベット，数字，記号 何でも OK", 840, 1800, 5100, 240,
     Font::Meiryo, 9},
    {"Text1", Kind::TextBox, "", 1080, 2400, 4455, 540, Font::Meiryo, 12},
    {"Command1", Kind::Button, "OK", 1560, 3240, 1335, 615, Font::TimesNewRoman, 12},
    {"Command2", Kind::Button, "Cancel", 3720, 3240, 1335, 615, Font::TimesNewRoman, 12},
};

}  // namespace

// The controls the window works with, bound once from the layout table.
struct Form18::Ui {
    explicit Ui(const ui::Controls& c)
        : userNameBox(c.Get<QLineEdit>("Text1")),
          okButton(c.Get<QPushButton>("Command1")),
          cancelButton(c.Get<QPushButton>("Command2")) {}

    QLineEdit* userNameBox;     // Text1
    QPushButton* okButton;      // Command1 "OK"
    QPushButton* cancelButton;  // Command2 "Cancel"
};

ui::WindowLayout Form18::Layout() {
    return {kControls, kForm18ClientWidthTwips, kForm18ClientHeightTwips};
}

Form18::Form18(QWidget* parent)
    : ModelessWindow(parent),
      controls_(ui::CreateControls(*this, kControls)),
      ui_(std::make_unique<const Ui>(controls_)) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("　ユーザー名変更"));
    SetClientSizeTwips(kForm18ClientWidthTwips, kForm18ClientHeightTwips);
    connect(ui_->okButton, &QPushButton::clicked, this,
            [this] { emit okClicked(ui_->userNameBox->text()); });
    connect(ui_->cancelButton, &QPushButton::clicked, this, &Form18::hide);
    SetDialogKeys(ui_->okButton, ui_->cancelButton);
}

Form18::~Form18() = default;

void Form18::Open(const QString& currentName) {
    ui_->userNameBox->setText(currentName);
    ShowInFront();
}

}  // namespace ordevo
