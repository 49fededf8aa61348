// The follow-up words of a map that could not place all its dose: never "到達なし" while the PSD
// plus the unplaced bound reaches the lowest level, on the headline and on the drawn page alike;
// and the placed share in words that never round a partial map to 100 % or a placed one to 0 %.
#include <gtest/gtest.h>

#include "follow_up_judgement.h"
#include "recording_surface.h"
#include "skin_dose_report_page.h"

namespace ordevo::map {
namespace {

const std::vector<FollowUpLevel> kLevels = {{2000, "two"}, {3000, "three"}, {5000, "five"}};

struct Case {
    double psd, bound;
    bool unbounded;
    FollowUpStatus status;
    const char* headline;
};
// By hand against 2000 / 3000 / 5000 mGy.
const Case kCases[] = {
    {0, 3711, false, FollowUpStatus::Undetermined, "追跡レベル: 3000 mGy に到達の可能性あり"},
    {0, 0, false, FollowUpStatus::NotReached, "追跡レベル: 到達なし"},
    {1999, 0, false, FollowUpStatus::NotReached, "追跡レベル: 到達なし"},
    {1500, 500, false, FollowUpStatus::Undetermined, "追跡レベル: 2000 mGy に到達の可能性あり"},
    {1500, 499, false, FollowUpStatus::NotReached, "追跡レベル: 到達なし"},
    {2500, 100, false, FollowUpStatus::Reached, "追跡レベル: 2000 mGy に到達"},
    {2500, 2600, false, FollowUpStatus::Reached,
     "追跡レベル: 2000 mGy に到達（5000 mGy に到達の可能性あり）"},
    {6000, 9000, false, FollowUpStatus::Reached, "追跡レベル: 5000 mGy に到達"},
    {100, 0, true, FollowUpStatus::Undetermined, "追跡レベル: 2000 mGy に到達の可能性あり"},
    {3100, 0, true, FollowUpStatus::Reached,
     "追跡レベル: 3000 mGy に到達（5000 mGy に到達の可能性あり）"},
};

SkinDoseMap MapOf(const Case& c) {
    SkinDoseMap m;
    m.Model = MakePatientModel(PhantomKind::Torso, TorsoShape{}, 1.0);
    m.DoseMGy.assign(m.Model.Cells.size(), 0.0);
    if (c.psd > 0) {
        m.DoseMGy[100] = c.psd;
        m.PsdCell = 100;
        m.MappedEvents = 1;
    }
    m.PsdMGy = c.psd;
    m.UnmappedUpperBoundMGy = c.bound;
    m.UnmappedUnbounded = c.unbounded;
    m.UpperBoundMGy = c.psd + c.bound;
    m.MappedKarShare = c.bound > 0 ? 0.5 : 1.0;
    return m;
}

TEST(FollowUpJudgement, HeadlineSaysWhatThePlacedAndUnplacedDoseAllow) {
    for (const Case& c : kCases) {
        const FollowUpJudgement j = JudgeFollowUpLevels(kLevels, c.psd, c.bound, c.unbounded);
        EXPECT_EQ(j.Status, c.status) << c.psd << " + " << c.bound;
        EXPECT_EQ(j.LevelMGy, 2000.0);
        EXPECT_EQ(FollowUpHeadline(j).toStdString(), c.headline) << c.psd << " + " << c.bound;
    }
    EXPECT_EQ(FollowUpHeadline(JudgeFollowUpLevels({}, 9000, 0, false)).toStdString(),
              "追跡レベル: 定められていません");
}

TEST(FollowUpJudgement, NoPageSaysNoLevelReachedWhileTheBoundReachesOne) {
    for (const Case& c : kCases) {
        SkinDoseReportContent content;
        content.Levels = kLevels;
        content.LevelsSource = "skin_dose_levels.txt";
        ui::RecordingSurface page = ui::RecordingSurface::Millimetres();
        DrawSkinDoseReportPage(page, MapOf(c), content);
        QStringList texts;
        for (const ui::DrawOp& op : page.Texts()) texts << op.text;
        const QString text = texts.join('\n');
        const bool clear = c.psd + c.bound < 2000 && !c.unbounded;
        EXPECT_EQ(text.contains(QStringLiteral("到達なし")), clear) << c.psd << " + " << c.bound;
        // A long headline wraps within the frame (a blank at the break goes).
        EXPECT_TRUE(
            texts.join(QString()).remove(' ').contains(QString::fromUtf8(c.headline).remove(' ')))
            << c.headline;
        // The PSD of a partial map is named as such, with its bound beside it.
        EXPECT_EQ(text.contains(QStringLiteral("割り付けた照射のみ")), c.bound > 0 || c.unbounded)
            << c.psd << " + " << c.bound;
        if (c.bound > 0) {
            EXPECT_TRUE(text.contains(QStringLiteral("＋ 割り付けられない照射 最大 %1 mGy")
                                          .arg(static_cast<int>(c.bound))));
        }
    }
}

TEST(FollowUpJudgement, PlacedShareInWords) {
    const std::pair<double, const char*> cases[] = {
        {1.0, "照射の 100 %（Ka,r）を皮膚に割り付け"},
        {0.996, "照射の 99 %（Ka,r）を皮膚に割り付け"},  // not all: never 100
        {0.014, "照射の 1 %（Ka,r）を皮膚に割り付け"},
        {0.004, "照射の 1 % 未満（Ka,r）を皮膚に割り付け"},  // some: never 0
        {0.0, "照射の 0 %（Ka,r）を皮膚に割り付け"},
        {0.5, "照射の 50 %（Ka,r）を皮膚に割り付け"},
    };
    for (const auto& [share, text] : cases) EXPECT_EQ(MappedShareText(share).toStdString(), text);
}

TEST(FollowUpJudgement, PsdAboveTheBoundGivesItsReason) {
    SkinDoseMap m;
    m.PsdMGy = 1100;
    m.UpperBoundMGy = 1000;
    EXPECT_TRUE(PsdOverBoundText(m).startsWith(QStringLiteral("PSD / 上限 1.10（")));
    EXPECT_TRUE(PsdOverBoundText(m).contains(QStringLiteral("焦点に近い")));
    m.PsdMGy = 900;
    EXPECT_EQ(PsdOverBoundText(m), QStringLiteral("PSD / 上限 0.90"));
    m.UpperBoundMGy = 0;
    EXPECT_EQ(PsdOverBoundText(m), QString());
}

}  // namespace
}  // namespace ordevo::map
