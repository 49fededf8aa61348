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
    {"Label1", Kind::Label, "新しいユーザー名を入力して下さい", 720, 600, 5040, 315, Font::Meiryo, 11},
    {"Label8", Kind::Label, "本名，ニックネーム，施設名，グループ名 など", 840, 1440, 5115, 240, Font::Meiryo, 9},
    {"Label3", Kind::Label, "漢字，アルファベット，数字，記号 何でも OK", 840, 1800, 5100, 240, Font::Meiryo, 9},
    {"Text1", Kind::TextBox, "", 1080, 2400, 4455, 540, Font::Meiryo, 12},
    {"Command1", Kind::Button, "OK", 1560, 3240, 1335, 615, Font::TimesNewRoman, 12},
    {"Command2", Kind::Button, "Cancel", 3720, 3240, 1335, 615, Font::TimesNewRoman, 12},
};

}  // namespace

std::span<const ui::ControlSpec> Form18Controls() { return kControls; }

Form18::Form18(QWidget* parent)
    : ModelessWindow(parent), controls_(ui::CreateControls(*this, kControls)),
      text1_(controls_.Get<QLineEdit>("Text1")) {
    setObjectName(QStringLiteral("Form18"));
    setWindowTitle(QStringLiteral("　ユーザー名変更"));
    SetClientSizeTwips(kForm18ClientWidthTwips, kForm18ClientHeightTwips);
    connect(controls_.Get<QPushButton>("Command1"), &QPushButton::clicked, this,
            [this] { emit okClicked(text1_->text()); });
    connect(controls_.Get<QPushButton>("Command2"), &QPushButton::clicked, this, &Form18::hide);
}

void Form18::Open(const QString& currentName) {
    text1_->setText(currentName);
    ShowInFront();
}

}  // namespace ordevo
