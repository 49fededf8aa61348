// The registration window's texts and layout.
#include "form15.h"

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

const UserNameWindowDesign kRegistrationWindow{"Form15",
                                               "　ユーザー名登録",
                                               kControls,
                                               kForm15ClientWidthTwips,
                                               kForm15ClientHeightTwips,
                                               UserNameCancel::GoOnAsGuest};

}  // namespace ordevo
