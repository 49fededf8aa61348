// Controls made from a layout table: names, kinds, captions, fonts, tool tips and twips geometry.
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "control_table.h"
#include "file_list_box.h"
#include "picture_box.h"

using namespace ordevo::ui;

namespace {

constexpr ControlSpec kSample[] = {
    {"Label61", Kind::Label, "Ｘ線装置の基本データを選択", 600, 1680, 0, 0, Font::Meiryo},
    {"File1", Kind::FileList, "*.odv;*.odv2;*.odv3", 360, 2160, 4095, 2010, Font::MsPGothic},
    {"Command5", Kind::Button, "管電圧設定", 5040, 2760, 1695, 375, Font::Meiryo, 9,
     " 管電圧を設定する "},
    {"Text5", Kind::TextBox, "", 6840, 3120, 1695, 375},
    {"Frame1", Kind::Frame, "照射野形状", 5040, 6000, 4095, 975, Font::Meiryo},
    {"Option2", Kind::Option, "矩形(正方形)", 360, 480, 1800, 375, Font::Meiryo, 9, "", "Frame1"},
    {"Option1", Kind::Option, "円形", 2520, 480, 1200, 375, Font::Meiryo, 9, "", "Frame1"},
    {"Picture2", Kind::PictureBox, "", 120, 120, 15285, 6975, Font::Meiryo},
};

}  // namespace

TEST(ControlTable, EachControlGetsItsNameKindCaptionAndPlace) {
    QWidget window;
    const Controls controls = CreateControls(window, kSample);

    auto* command5 = controls.Get<QPushButton>("Command5");
    EXPECT_EQ(command5->objectName(), QStringLiteral("Command5"));
    EXPECT_EQ(command5->text(), QStringLiteral("管電圧設定"));
    EXPECT_EQ(command5->toolTip(), QStringLiteral(" 管電圧を設定する "));  // blanks kept
    EXPECT_EQ(command5->geometry(), QRect(336, 184, 113, 25));
    EXPECT_EQ(command5->font().family(), QStringLiteral("メイリオ"));
    EXPECT_EQ(command5->font().pointSizeF(), 9.0);
    EXPECT_EQ(command5->parentWidget(), &window);

    auto* file1 = controls.Get<FileListBox>("File1");
    EXPECT_EQ(file1->Pattern(), QStringLiteral("*.odv;*.odv2;*.odv3"));
    EXPECT_EQ(file1->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(file1->geometry(), QRect(24, 144, 273, 134));

    // Text5 has no font of its own and takes the window's.
    window.setFont(MakeFont(Font::MsMincho, 12));
    EXPECT_EQ(controls.Get<QLineEdit>("Text5")->font().family(), QStringLiteral("ＭＳ 明朝"));

    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("Label61")),
              controls.Get<QLabel>("Label61"));
}

TEST(ControlTable, ControlsOfAFrameArePlacedInsideIt) {
    QWidget window;
    const Controls controls = CreateControls(window, kSample);
    auto* frame = controls.Get<QGroupBox>("Frame1");
    auto* option2 = controls.Get<QRadioButton>("Option2");
    EXPECT_EQ(option2->parentWidget(), frame);
    EXPECT_EQ(option2->pos(), QPoint(24, 32));
    EXPECT_EQ(option2->mapTo(&window, QPoint(0, 0)), QPoint(336 + 24, 400 + 32));
}

TEST(ControlTable, ZeroSizeFitsTheCaptionInItsFont) {
    QWidget window;
    const Controls controls = CreateControls(window, kSample);
    auto* label = controls.Get<QLabel>("Label61");
    const QFontMetrics metrics(label->font());
    EXPECT_GE(label->width(), metrics.horizontalAdvance(label->text()));
    EXPECT_GE(label->height(), metrics.height());
    EXPECT_LE(label->width(), metrics.horizontalAdvance(label->text()) + 10);
}

TEST(ControlTable, PictureBoxTakesTheTablesFontAsItsDrawingFont) {
    QWidget window;
    const Controls controls = CreateControls(window, kSample);
    auto* picture = controls.Get<PictureBox>("Picture2");
    EXPECT_EQ(picture->FontName(), QStringLiteral("メイリオ"));
    EXPECT_EQ(picture->FontSize(), 9.0);
}

TEST(ControlTable, MistakesInATableOrALookupAreReported) {
    QWidget window;
    const Controls controls = CreateControls(window, kSample);
    EXPECT_THROW(controls.Widget("Command99"), std::out_of_range);
    EXPECT_THROW(controls.Get<QPushButton>("Text5"), std::logic_error);

    constexpr ControlSpec duplicate[] = {{"Label1", Kind::Label, "a"},
                                         {"Label1", Kind::Label, "b"}};
    QWidget other;
    EXPECT_THROW(CreateControls(other, duplicate), std::invalid_argument);

    constexpr ControlSpec parentLater[] = {
        {"Option1", Kind::Option, "円形", 0, 0, 0, 0, Font::Inherit, 9, "", "Frame1"},
        {"Frame1", Kind::Frame, "照射野形状"},
    };
    QWidget third;
    EXPECT_THROW(CreateControls(third, parentLater), std::invalid_argument);

    constexpr ControlSpec parentNotAContainer[] = {
        {"Label1", Kind::Label, "a"},
        {"Label2", Kind::Label, "b", 0, 0, 0, 0, Font::Inherit, 9, "", "Label1"},
    };
    QWidget fourth;
    EXPECT_THROW(CreateControls(fourth, parentNotAContainer), std::invalid_argument);
}

TEST(ControlTable, UncheckOptionClearsTheCheckedOptionOfAnExclusiveGroup) {
    QWidget window;
    const Controls controls = CreateControls(window, kSample);
    auto* option2 = controls.Get<QRadioButton>("Option2");
    auto* option1 = controls.Get<QRadioButton>("Option1");
    option2->setChecked(true);
    option2->setChecked(false);  // what Qt does with a plain request: nothing
    ASSERT_TRUE(option2->isChecked());

    UncheckOption(*option2);
    EXPECT_FALSE(option2->isChecked());
    EXPECT_FALSE(option1->isChecked());
    option1->setChecked(true);  // still exclusive afterwards
    option2->setChecked(true);
    EXPECT_FALSE(option1->isChecked());
}
