#include "follow_up_levels.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "cp932_text.h"
#include "field_reader.h"
#include "number_format.h"

namespace ordevo::map {

QString DefaultFollowUpLevelsText() {
    return QStringLiteral(
        "# 皮膚線量報告書の追跡レベル: 1 行に 1 レベル「ピーク皮膚線量 mGy = 印刷する文」\n"
        "# 報告書には PSD "
        "が達した最も高いレベルの文を印刷します。施設の方針に合わせて編集して下さい。\n"
        "#\n"
        "# 出典:\n"
        "#  [1] S. Balter, J. W. Hopewell, D. L. Miller, L. K. Wagner, M. J. Zelefsky:\n"
        "#      Fluoroscopically guided interventional procedures: a review of radiation effects\n"
        "#      on patients' skin and hair. Radiology 254(2):326-341, 2010\n"
        "#      (単回照射の皮膚線量帯 0-2, 2-5, 5-10, 10-15, >15 Gy とその皮膚反応)\n"
        "#  [2] NCRP Report No. 168: Radiation dose management for fluoroscopically-guided\n"
        "#      interventional medical procedures, 2010, および M. S. Stecker ほか:\n"
        "#      Guidelines for patient radiation dose management. J Vasc Interv Radiol\n"
        "#      20(7 Suppl):S263-S273, 2009 (実質的線量レベル SRDL: ピーク皮膚線量 3000 mGy)\n"
        "#  [3] The Joint Commission: Sentinel event (透視での同一部位の累積皮膚線量 15 Gy 超)\n"
        "2000 = 2 Gy 以上: 一過性紅斑・脱毛の可能性があります (文献 [1] 2-5 Gy 帯)\n"
        "3000 = 3 Gy 以上: 実質的線量レベル (SRDL)。患者に説明し、照射部位の皮膚を術後に"
        "確認して下さい (文献 [2])\n"
        "5000 = 5 Gy 以上: 紅斑・脱毛の可能性があります。皮膚の追跡を続けて下さい (文献 [1] 5-10 "
        "Gy 帯)\n"
        "10000 = 10 Gy 以上: 遷延性紅斑・永久脱毛・皮膚萎縮の可能性。専門的な創傷処置を要することが"
        "あります (文献 [1] 10-15 Gy 帯)\n"
        "15000 = 15 Gy 以上: 潰瘍・壊死の可能性があります。医療安全上の重大事象として扱って下さい "
        "(文献 [1] >15 Gy 帯, [3])\n");
}

std::variant<std::vector<FollowUpLevel>, QString> ParseFollowUpLevels(const QString& text,
                                                                      const QString& fileName) {
    std::vector<FollowUpLevel> levels;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].section(QLatin1Char('#'), 0, 0).trimmed();
        if (line.isEmpty()) continue;
        auto error = [&](const QString& why) {
            return QStringLiteral("%1 %2 行目: %3").arg(fileName).arg(i + 1).arg(why);
        };
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0) return error(QStringLiteral("「mGy = 文」の形ではありません"));
        const QString number = line.left(equals).trimmed();
        bool ok = false;
        const double mgy = number.toDouble(&ok);
        if (!ok || !(mgy > 0) || mgy > 1e6)
            return error(
                QStringLiteral("線量 \"%1\" は 0 より大きい mGy の数値ではありません").arg(number));
        const QString words = line.mid(equals + 1).trimmed();
        if (words.isEmpty()) return error(QStringLiteral("印刷する文がありません"));
        if (std::any_of(levels.begin(), levels.end(),
                        [&](const FollowUpLevel& l) { return l.PsdMGy == mgy; }))
            return error(QStringLiteral("線量 %1 mGy が 2 度あります").arg(number));
        levels.push_back({mgy, words});
    }
    std::sort(levels.begin(), levels.end(),
              [](const FollowUpLevel& a, const FollowUpLevel& b) { return a.PsdMGy < b.PsdMGy; });
    return levels;
}

std::optional<FollowUpLevel> ReachedLevel(const std::vector<FollowUpLevel>& levels, double psdMGy) {
    std::optional<FollowUpLevel> reached;
    for (const FollowUpLevel& level : levels)
        if (psdMGy >= level.PsdMGy) reached = level;
    return reached;
}

std::variant<std::vector<FollowUpLevel>, QString> LoadFollowUpLevels(const QString& folder,
                                                                     bool writeDefaults) {
    const QString name = QString::fromLatin1(kFollowUpLevelsFileName);
    const QString path = QDir(folder).filePath(name);
    if (!QFileInfo::exists(path)) {
        // The user finds the defaults to edit; not being able to write them is no reason to
        // print no levels.
        if (writeDefaults)
            (void)WriteTextLines(path, DefaultFollowUpLevelsText().split(QLatin1Char('\n')));
        return ParseFollowUpLevels(DefaultFollowUpLevelsText(), name);
    }
    const auto lines = ReadTextLines(path, kSmallFileMaxBytes);
    if (!lines) return lines.error().message();
    return ParseFollowUpLevels(lines->join(QLatin1Char('\n')), name);
}

}  // namespace ordevo::map
