#include "follow_up_judgement.h"

#include <cmath>

#include "number_format.h"

namespace ordevo::map {
namespace {

QString Num(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

}  // namespace

FollowUpJudgement JudgeFollowUpLevels(const std::vector<FollowUpLevel>& levels, double psdMGy,
                                      double unplacedBoundMGy, bool unbounded) {
    FollowUpJudgement j;
    if (levels.empty()) return j;
    j.LevelMGy = levels.front().PsdMGy;
    j.Status = JudgeFollowUp(psdMGy, unplacedBoundMGy, unbounded, levels.front().PsdMGy);
    j.Reached = ReachedLevel(levels, psdMGy);
    for (const FollowUpLevel& level : levels) {
        if (j.Reached && level.PsdMGy <= j.Reached->PsdMGy) continue;
        const FollowUpStatus status =
            JudgeFollowUp(psdMGy, unplacedBoundMGy, unbounded, level.PsdMGy);
        if (status != FollowUpStatus::Undetermined) break;
        j.Possible = level;
        if (unbounded) break;  // no bound: the next level stands for every one above it
    }
    return j;
}

FollowUpJudgement JudgeFollowUpLevels(const std::vector<FollowUpLevel>& levels,
                                      const SkinDoseMap& map) {
    return JudgeFollowUpLevels(levels, map.PsdMGy, map.UnmappedUpperBoundMGy,
                               map.UnmappedUnbounded);
}

bool PsdOfPlacedOnly(const SkinDoseMap& map) {
    return map.UnmappedUpperBoundMGy > 0 || map.UnmappedUnbounded;
}

QString MappedShareText(double share) {
    const double percent = 100.0 * share;
    QString n = Num(percent, "0");
    if (percent < 100.0 && n == QLatin1String("100")) n = QStringLiteral("99");
    if (percent > 0.0 && n == QLatin1String("0"))
        n = QStringLiteral("1 % 未満");
    else
        n += QStringLiteral(" %");
    return QStringLiteral("照射の %1（Ka,r）を皮膚に割り付け").arg(n);
}

QString FollowUpHeadline(const FollowUpJudgement& j) {
    if (!j.LevelMGy) return QStringLiteral("追跡レベル: 定められていません");
    QString text;
    if (j.Reached)
        text = QStringLiteral("追跡レベル: %1 mGy に到達").arg(Num(j.Reached->PsdMGy, "0"));
    if (j.Possible) {
        const QString possible =
            QStringLiteral("%1 mGy に到達の可能性あり").arg(Num(j.Possible->PsdMGy, "0"));
        text = text.isEmpty() ? QStringLiteral("追跡レベル: ") + possible
                              : text + QStringLiteral("（") + possible + QStringLiteral("）");
    }
    return text.isEmpty() ? QStringLiteral("追跡レベル: 到達なし") : text;
}

QString FollowUpSentence(const FollowUpJudgement& j, double unplacedBoundMGy, bool unbounded) {
    if (!j.LevelMGy) return QStringLiteral("追跡レベルが定められていません");
    QStringList parts;
    if (j.Reached) parts << j.Reached->Text;
    if (j.Possible) {
        parts << (unbounded ? QStringLiteral("線量を計算できない照射があり、到達を否定できません。")
                            : QStringLiteral("割り付けられない照射 (上限 %1 mGy) を含めると"
                                             "到達を否定できません。")
                                  .arg(Num(unplacedBoundMGy, "0")))
              << j.Possible->Text;
    }
    if (parts.isEmpty())
        parts << QStringLiteral("最も低い追跡レベル (%1 mGy) 未満です").arg(Num(*j.LevelMGy, "0"));
    return parts.join(QLatin1Char(' '));
}

}  // namespace ordevo::map
