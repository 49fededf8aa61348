// The main window's layout table.
#include "form1_layout.h"

namespace ordevo {
namespace {

using ui::ControlSpec;
using ui::Font;
using ui::Kind;
using ui::Overlap;

constexpr double kText = 10;       // captions and values, points
constexpr double kButton = 10;     // button captions
constexpr double kSub = 7;         // sub- and superscripts
constexpr double kHeading = 10.5;  // the panel headings

constexpr ControlSpec kControls[] = {
    // Title band. Label27 is the grey shadow, Label34 the copy in front of it.
    {"Label27",
     Kind::Label,
     "Ordevo-V3",
     1800,
     120,
     0,
     0,
     Font::TimesNewRoman,
     28,
     {},
     {},
     Overlap::Allowed},
    {"Label34",
     Kind::Label,
     "Ordevo-V3",
     1770,
     105,
     0,
     0,
     Font::TimesNewRoman,
     28,
     {},
     {},
     Overlap::Allowed},
    {"Label45", Kind::Label, "Ordevo, version 3", 5160, 240, 0, 0, Font::TimesNewRoman, 16},
    {"Label37", Kind::Label, "Interventional Radiology (IVR)", 1080, 840, 0, 0, Font::TimesNewRoman,
     14},
    // Top right, apart from the case: the doses the X-ray units sent, per patient.
    {"Command11", Kind::Button, "線量登録簿", 13440, 240, 1815, 420, Font::Meiryo, 9,
     " 装置から受信した手技の線量、患者ごとの累積線量と警報を見る "},
    {"Label80", Kind::Label, "患者の入射表面皮膚組織吸収線量の算定", 7320, 840, 0, 0, Font::Meiryo,
     14},

    // ① Equipment panel.
    {"Label85", Kind::Label, "①", 120, 1680, 0, 0, Font::Meiryo, 12},
    {"Label61", Kind::Label, "Ｘ線装置の基本データを選択", 600, 1680, 0, 0, Font::Meiryo, kHeading},
    {"File1", Kind::FileList, "*.odv;*.odv2;*.odv3", 360, 2160, 4095, 2010, Font::MsPGothic, 11},
    {"Command7", Kind::Button, "新規作成", 360, 4320, 1695, 495, Font::Meiryo, kButton},
    {"Command4", Kind::Button, "削 除", 3240, 4320, 1215, 495, Font::Meiryo, kButton},
    {"Label1", Kind::Label, " Ｘ線管ターゲット角度", 360, 5400, 0, 0, Font::Meiryo, kText},
    {"Label23", Kind::Label, "", 3000, 5400, 780, 330, Font::Meiryo, kText},
    {"Label9", Kind::Label, "度", 3840, 5400, 0, 0, Font::Meiryo, kText},
    {"Label2", Kind::Label, " 固有フィルタ (Al 当量)", 360, 5880, 0, 0, Font::Meiryo, kText},
    {"Label25", Kind::Label, "", 3000, 5880, 780, 330, Font::Meiryo, kText},
    {"Label10", Kind::Label, "mm", 3840, 5880, 0, 0, Font::Meiryo, kText},
    {"Label3", Kind::Label, " 付加フィルタ (アルミ)", 360, 6360, 0, 0, Font::Meiryo, kText},
    {"Label50", Kind::Label, "", 3000, 6360, 780, 330, Font::Meiryo, kText},
    {"Label11", Kind::Label, "mm", 3840, 6360, 0, 0, Font::Meiryo, kText},
    {"Label4", Kind::Label, " 付加フィルタ（ 銅 ）", 360, 6840, 0, 0, Font::Meiryo, kText},
    {"Label51", Kind::Label, "", 3000, 6840, 780, 330, Font::Meiryo, kText},
    {"Label12", Kind::Label, "mm", 3840, 6840, 0, 0, Font::Meiryo, kText},
    {"Label66", Kind::Label, "付加フィルタ", 360, 7320, 0, 0, Font::Meiryo, kText},
    {"Label29", Kind::Label, "―", 1680, 7320, 1260, 330, Font::Meiryo, kText},
    {"Label26", Kind::Label, "", 3000, 7320, 780, 330, Font::Meiryo, kText},
    {"Label20", Kind::Label, "mm", 3840, 7320, 0, 0, Font::Meiryo, kText},
    {"Label8", Kind::Label, "　焦点-受像器間距離", 360, 7920, 0, 0, Font::Meiryo, kText},
    {"Label62", Kind::Label, "", 3000, 7920, 780, 330, Font::Meiryo, kText},
    {"Label16", Kind::Label, "cm", 3840, 7920, 0, 0, Font::Meiryo, kText},
    {"Label31", Kind::Label, "焦点-アイソセンター間距離", 360, 8400, 0, 0, Font::Meiryo, kText},
    {"Label64", Kind::Label, "", 3000, 8400, 780, 330, Font::Meiryo, kText},
    {"Label36", Kind::Label, "cm", 3840, 8400, 0, 0, Font::Meiryo, kText},
    // Below the equipment panel: the dose report the X-ray equipment wrote (a file dropped on the
    // window does the same).
    {"Command10", Kind::Button, "RDSR 読込", 360, 9000, 1815, 420, Font::Meiryo, 9,
     " 装置が書いた線量レポート (DICOM RDSR) を読み込み、照射ごとに皮膚線量を計算する "},
    // After "入力欄へ": the report's reference distance and filters that the case is computed with.
    {"DoseReportGeometryLabel", Kind::Label, "", 2280, 9060, 7170, 540, Font::Meiryo, 8},

    // ② Case inputs.
    {"Label86", Kind::Label, "②", 4680, 1680, 0, 0, Font::Meiryo, 12},
    {"Label49", Kind::Label, "以下の項目を入力して下さい", 5160, 1680, 0, 0, Font::Meiryo,
     kHeading},
    {"Label48", Kind::Label, "対象部位", 5040, 2160, 0, 0, Font::Meiryo, kText},
    {"Combo1", Kind::ComboBox, "", 7200, 2160, 1800, 390, Font::Meiryo, kText},
    {"Command5", Kind::Button, "管電圧設定", 5040, 2760, 1680, 360, Font::Meiryo, 9,
     " 管電圧を設定する "},
    {"Command9", Kind::Button, "Ｘ線スペクトル表示", 6840, 2760, 2160, 360, Font::Meiryo, 9},
    {"Label5", Kind::Label, "管電圧", 5040, 3240, 0, 0, Font::Meiryo, kText},
    {"Text5", Kind::TextBox, "", 6840, 3120, 1680, 390, Font::Meiryo, kText},
    {"Label13", Kind::Label, "kV", 8640, 3120, 0, 0, Font::Meiryo, kText},
    // "推定" after "入力欄へ" when the mean voltage stands partly on the typical one.
    {"TubeVoltageAssumedLabel", Kind::Label, "", 8970, 3150, 570, 330, Font::Meiryo, 9,
     " 線量レポートに管電圧の記載がない照射があり、装置ファイルの代表管電圧で補った平均です "},
    {"Label57", Kind::Label, "装置に表示された線量など", 5040, 3720, 0, 0, Font::Meiryo, kText},
    {"Label30", Kind::Label, "患者照射基準点線量 K", 5040, 4080, 0, 0, Font::Meiryo, kText},
    {"Label52", Kind::Label, "a,r", 7000, 4200, 0, 0, Font::Meiryo, kSub},
    {"Label78", Kind::Label, "（天板なし）", 5055, 4560, 0, 0, Font::Meiryo, kText},
    {"Text14", Kind::TextBox, "", 6480, 4560, 1320, 390, Font::Meiryo, kText},
    {"Label59", Kind::Label, "mGy", 7920, 4560, 0, 0, Font::Meiryo, kText},
    {"Label47", Kind::Label, "    面積空気カーマ積算値 P", 5040, 5040, 0, 0, Font::Meiryo, kText},
    {"Label53", Kind::Label, "KA", 7335, 5160, 0, 0, Font::Meiryo, kSub},
    {"Label79", Kind::Label, "（天板なし）", 5040, 5520, 0, 0, Font::Meiryo, kText},
    {"Text15", Kind::TextBox, "", 6480, 5520, 1320, 390, Font::Meiryo, kText},
    {"Label60", Kind::Label, "  Gy・cm", 7920, 5520, 0, 0, Font::Meiryo, kText},
    {"Label6", Kind::Label, "2", 8670, 5460, 0, 0, Font::Meiryo, kSub},
    {"Frame1", Kind::Frame, "照射野形状", 5040, 6000, 3960, 960, Font::Meiryo, kText},
    {"Option2",
     Kind::Option,
     "矩形(正方形)",
     360,
     480,
     1920,
     360,
     Font::Meiryo,
     kText,
     {},
     "Frame1"},
    {"Option1", Kind::Option, "円形", 2520, 480, 1200, 360, Font::Meiryo, kText, {}, "Frame1"},
    {"Label19", Kind::Label, "患者照射基準点における照射野サイズ", 5040, 7080, 0, 0, Font::Meiryo,
     kText},
    {"Label22", Kind::Label, "正 方 形", 5040, 7560, 1800, 330, Font::Meiryo, kText},
    {"Label65", Kind::Label, "", 6960, 7560, 1320, 330, Font::Meiryo, kText},
    {"Label24", Kind::Label, "cm", 8400, 7560, 0, 0, Font::Meiryo, kText},
    {"Label17", Kind::Label, "    実際の焦点-入射表面間距離", 5040, 8160, 0, 0, Font::Meiryo,
     kText},
    {"Label39", Kind::Label, "FAD - 15 cm  ?", 5040, 8640, 0, 0, Font::Meiryo, kText},
    {"Text9", Kind::TextBox, "", 7200, 8640, 1080, 390, Font::Meiryo, kText},
    {"Label18", Kind::Label, "cm", 8400, 8640, 0, 0, Font::Meiryo, kText},

    // Result column inside a double frame.
    {"Shape1", Kind::Shape, "", 9570, 1650, 5775, 7455},
    {"Shape2", Kind::Shape, "", 9630, 1710, 5655, 7335},
    {"Label14", Kind::Label, "  補正後の患者照射基準点線量 cK", 9960, 1920, 0, 0, Font::Meiryo,
     kText},
    {"Label7", Kind::Label, "a,r", 12915, 2040, 0, 0, Font::Meiryo, kSub},
    {"Label67", Kind::Label, "（天板なし）", 9960, 2400, 0, 0, Font::Meiryo, kText},
    {"Label68", Kind::Label, "", 12240, 2400, 1440, 330, Font::Meiryo, kText},
    {"Label40", Kind::Label, "mGy", 13800, 2400, 0, 0, Font::Meiryo, kText},
    {"Label33", Kind::Label, " 補正後の面積空気カーマ積算値 cP", 9960, 2880, 0, 0, Font::Meiryo,
     kText},
    {"Label15", Kind::Label, "KA", 12990, 3000, 0, 0, Font::Meiryo, kSub},
    {"Label76", Kind::Label, "（天板なし）", 9960, 3360, 0, 0, Font::Meiryo, kText},
    {"Label69", Kind::Label, "", 12240, 3360, 1440, 330, Font::Meiryo, kText},
    {"Label54", Kind::Label, "  Gy・cm", 13800, 3360, 0, 0, Font::Meiryo, kText},
    {"Label42", Kind::Label, "2", 14550, 3300, 0, 0, Font::Meiryo, kSub},
    {"Label56", Kind::Label, "天板の一次線透過率", 9960, 3960, 0, 0, Font::Meiryo, kText},
    {"Label70", Kind::Label, "", 13680, 3960, 1320, 330, Font::Meiryo, kText},
    {"Label43", Kind::Label, "入射表面における一次線空気カーマ", 9960, 4560, 0, 0, Font::Meiryo,
     kText},
    {"Label77", Kind::Label, "（天板あり）", 9960, 5040, 0, 0, Font::Meiryo, kText},
    {"Label71", Kind::Label, "", 12240, 5040, 1440, 330, Font::Meiryo, kText},
    {"Label55", Kind::Label, "mGy", 13800, 5040, 0, 0, Font::Meiryo, kText},
    {"Label35", Kind::Label, "一次線の吸収線量／空気カーマ比", 9960, 5640, 0, 0, Font::Meiryo,
     kText},
    {"Label41", Kind::Label, "皮膚組織", 9960, 6120, 0, 0, Font::Meiryo, kText},
    {"Label72", Kind::Label, "", 13320, 6120, 1320, 330, Font::Meiryo, kText},
    {"Label28", Kind::Label, " 軟部組織吸収線量に基づく入射面への", 9960, 6720, 0, 0, Font::Meiryo,
     kText},
    {"Label58", Kind::Label, "前方+後方散乱係数", 9960, 7200, 0, 0, Font::Meiryo, kText},
    {"Label73", Kind::Label, "", 13320, 7200, 1320, 330, Font::Meiryo, kText},
    {"Label38", Kind::Label, "入射表面皮膚組織吸収線量", 9960, 7800, 0, 0, Font::Meiryo, kHeading},
    {"Label74", Kind::Label, "", 11520, 8280, 2160, 480, Font::Meiryo, 14},
    {"Label44", Kind::Label, "mGy", 13800, 8400, 0, 0, Font::Meiryo, kText},
    // The skin dose's expanded uncertainty, in the free space under it.
    {"SkinDoseUncertaintyLabel", Kind::Label, "", 12480, 8760, 1800, 270, Font::Meiryo, kText},

    // ③ Actions.
    {"Label87", Kind::Label, "③", 840, 9960, 0, 0, Font::Meiryo, 12},
    {"Command2", Kind::Button, "この条件で計算する", 1440, 9840, 3480, 735, Font::Meiryo, 11},
    {"Command3", Kind::Button, "結果を表に追加する", 5280, 9840, 3600, 735, Font::Meiryo, 11},
    {"Command6", Kind::Button, "計算結果をクリアする", 9240, 9840, 3240, 735, Font::Meiryo, 11},
    {"Command1", Kind::Button, "終了する", 12840, 9840, 1695, 735, Font::Meiryo, 11},
    {"Picture1", Kind::PictureBox, "", 14880, 9960, 480, 480, Font::Meiryo, 9,
     " ダブルクリックで施設名変更  "},

    // The welcome banner lies over the middle of the window until a user is known.
    {"Command8",
     Kind::Button,
     "ようこそ Ordevo-V3 へ ： 最初にユーザー名を登録して下さい",
     1440,
     4920,
     12375,
     1335,
     Font::Meiryo,
     18,
     {},
     {},
     Overlap::Allowed},
};

}  // namespace

std::span<const ui::ControlSpec> Form1Controls() { return kControls; }

}  // namespace ordevo
