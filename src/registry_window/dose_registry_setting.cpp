#include "dose_registry_setting.h"

#include <QDir>
#include <QFileInfo>

#include "cp932_text.h"
#include "number_format.h"

namespace ordevo {

namespace {

constexpr qint64 kMaxSettingBytes = 64 * 1024;

}  // namespace

std::variant<DoseRegistrySetting, QString> ReadDoseRegistrySetting(const QString& folder) {
    DoseRegistrySetting setting;
    const QString path = QDir(folder).filePath(QString::fromLatin1(kDoseRegistrySettingFileName));
    if (!QFileInfo::exists(path)) return setting;
    const FileResult<QStringList> lines = ReadTextLines(path, kMaxSettingBytes);
    if (!lines) return lines.error().message();
    const QString name = QString::fromLatin1(kDoseRegistrySettingFileName);
    for (int i = 0; i < static_cast<int>(lines->size()); ++i) {
        const QString line = lines->at(i).section('#', 0, 0).trimmed();
        if (line.isEmpty()) continue;
        const qsizetype equals = line.indexOf('=');
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        auto refuse = [&](const QString& why) {
            return FileError::AtLine(name, i + 1, why).message();
        };
        if (equals < 0) return refuse(QStringLiteral("「キー = 値」の形ではありません"));
        bool ok = false;
        if (key == QLatin1String("registry")) {
            setting.RegistryPath = value;
        } else if (key == QLatin1String("alert-window-days")) {
            setting.Levels.WindowDays = value.toInt(&ok);
            if (!ok || setting.Levels.WindowDays < 1 || setting.Levels.WindowDays > 36500)
                return refuse(QStringLiteral("日数は 1 から 36500 の整数です"));
        } else if (key == QLatin1String("alert-cumulative-mgy")) {
            setting.Levels.CumulativeMGy = value.toDouble(&ok);
            if (!ok || !(setting.Levels.CumulativeMGy > 0))
                return refuse(QStringLiteral("水準は 0 より大きい mGy の値です"));
        } else {
            return refuse(QStringLiteral("キー「%1」は使えません").arg(key));
        }
    }
    return setting;
}

FileResult<void> WriteDoseRegistrySetting(const QString& folder,
                                          const DoseRegistrySetting& setting) {
    return WriteTextLines(
        QDir(folder).filePath(QString::fromLatin1(kDoseRegistrySettingFileName)),
        {QStringLiteral("# 線量登録簿の窓が開く登録簿と、累積線量の期間と水準"),
         QStringLiteral("# 既定: %1").arg(QString::fromUtf8(registry::kAlertLevelsSource)),
         QStringLiteral("registry = %1").arg(setting.RegistryPath),
         QStringLiteral("alert-window-days = %1").arg(setting.Levels.WindowDays),
         QStringLiteral("alert-cumulative-mgy = %1")
             .arg(QString::fromStdString(FormatNumber(setting.Levels.CumulativeMGy, "0")))});
}

}  // namespace ordevo
