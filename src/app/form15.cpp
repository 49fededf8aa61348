// The registration window.
#include "form15.h"

#include <QLineEdit>
#include <QPushButton>

namespace ordevo {
namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;

constexpr ControlSpec kControls[] = {
    {"Label2", Kind::Label, "ようこそ Ordevo-V3 へ", 1680, 600, 3900, 540, Font::Meiryo, 16},
    {"Label1", Kind::Label, "ユーザー名を入力して下さい", 1560, 1200, 4095, 465, Font::Meiryo, 13},
    {"Label8", Kind::Label, "施設名，使用者名など", 1080, 1920, 2400, 360, Font::Meiryo, 10},
    {"Label3", Kind::Label, "漢字，アルファベット，数字，記号 何でも OK", 1080, 2280, 5055, 360,
     Font::Meiryo, 10},
    {"Text1", Kind::TextBox, "ABC 総合病院", 1440, 2880, 4455, 540, Font::Meiryo, 12},
    {"Command1", Kind::Button, "OK", 1920, 3600, 1335, 615, Font::TimesNewRoman, 12},
    {"Command2", Kind::Button, "Cancel", 4080, 3600, 1335, 615, Font::TimesNewRoman, 12},
    {"Label6", Kind::Label, "初期画面右下のマスコット犬をダブルクリックすると", 720, 4440, 5760,
     360, Font::Meiryo, 10},
    {"Label5", Kind::Label, "ユーザー名を変更できます", 2040, 4800, 2880, 360, Font::Meiryo, 10},
};

}  // namespace

// The controls the window works with, bound once from the layout table.
struct Form15::Ui {
    explicit Ui(const ui::Controls& c)
        : userNameBox(c.Get<QLineEdit>("Text1")),
          okButton(c.Get<QPushButton>("Command1")),
          guestButton(c.Get<QPushButton>("Command2")) {}

    QLineEdit* userNameBox;    // Text1
    QPushButton* okButton;     // Command1 "OK"
    QPushButton* guestButton;  // Command2 "Cancel": go on as a guest
};

ui::WindowLayout Form15::Layout() {
    return {kControls, kForm15ClientWidthTwips, kForm15ClientHeightTwips};
}

Form15::Form15(QWidget* parent)
    : ModelessWindow(parent),
      controls_(ui::CreateControls(*this, kControls)),
      ui_(std::make_unique<const Ui>(controls_)) {
    setObjectName(QStringLiteral("Form15"));
    setWindowTitle(QStringLiteral("　ユーザー名登録"));
    SetClientSizeTwips(kForm15ClientWidthTwips, kForm15ClientHeightTwips);
    connect(ui_->okButton, &QPushButton::clicked, this,
            [this] { emit okClicked(ui_->userNameBox->text()); });
    connect(ui_->guestButton, &QPushButton::clicked, this, &Form15::cancelClicked);
}

Form15::~Form15() = default;

}  // namespace ordevo
