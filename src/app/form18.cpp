// The name-change window's texts and layout.
#include "form18.h"

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

const UserNameWindowDesign kNameChangeWindow{"Form18",
                                             "　ユーザー名変更",
                                             kControls,
                                             kForm18ClientWidthTwips,
                                             kForm18ClientHeightTwips,
                                             UserNameCancel::Close};

}  // namespace ordevo
