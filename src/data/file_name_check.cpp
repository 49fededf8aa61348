#include "file_name_check.h"

namespace ordevo {

std::optional<QString> FileNameProblem(const QString& name) {
    if (name.trimmed().isEmpty()) return QStringLiteral("名前が空です");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("「%1」は名前に使えません").arg(name);
    for (const QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return QStringLiteral(
                       "名前「%1」にフォルダーの区切り（'/' または '\\'）が含まれています。"
                       "ファイルは作業フォルダーにだけ保存できます")
                .arg(name);
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return QStringLiteral("名前に制御文字が含まれています");
    }
    return std::nullopt;
}

}  // namespace ordevo
