#include "room_commissioning.h"

#include <QDir>
#include <QFileInfo>

#include "file_name_check.h"
#include "number_format.h"
#include "room_profile_file.h"

namespace ordevo {

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

const char* MovedWords(map::TableDirection moved) {
    switch (moved) {
    case map::TableDirection::Head: return "頭側へ";
    case map::TableDirection::Left: return "患者の左へ";
    default: return "下へ";
    }
}

}  // namespace

QString FitStepText(const map::FitStep& step, double moveCm) {
    // Appended rather than concatenated: g++ 12 at -O3 takes "+" + a temporary for an
    // overlapping copy (-Wrestrict).
    std::string change = step.ChangeMm > 0 ? "+" : "";
    change += FormatNumber(step.ChangeMm, "0.0");
    return QStringLiteral("手順 %1 (%2 %3 cm): %4 %5 mm → %6")
        .arg(step.Number)
        .arg(QString::fromUtf8(MovedWords(step.Moved)), Text(PlainNumber(moveCm)),
             QString::fromLatin1(map::ReportedAxisName(step.Axis)), Text(change),
             QString::fromLatin1(map::TableDirectionName(step.Direction)));
}

RoomCommissioning CommissionRoom(const rdsr::DoseReport& report, double moveCm,
                                 const QString& reportPath, const QString& profileName,
                                 const QString& dataFolder) {
    RoomCommissioning c;
    c.Fit = map::FitRoomProfile(report, moveCm, QFileInfo(reportPath).fileName().toStdString(),
                                profileName.toStdString());
    if (!dataFolder.isEmpty())
        if (const std::optional<QString> name = ManufacturerRoomFileName(report.Manufacturer)) {
            const QString path = QDir(dataFolder).filePath(*name);
            if (QFileInfo(path).isFile())
                if (auto read = ReadRoomProfileFile(path);
                    read && read->Source == map::ProfileSource::Manufacturer) {
                    c.Manufacturer = std::move(*read);
                    c.ManufacturerFile = *name;
                }
        }
    if (!c.Fit.Profile) return c;
    map::RoomProfile& fitted = *c.Fit.Profile;

    const map::RoomProfile& p = fitted;
    c.Comment
        << QStringLiteral(
               "部屋の寝台の向きを実測して作ったプロファイル (ordevo-cli room-fit と同じ手順)")
        << QStringLiteral("線量レポート %1、%2、装置 %3")
               .arg(Text(p.CommissionedReport), Text(p.CommissionedOn), Text(p.CommissionedDevice));
    for (const map::FitStep& step : c.Fit.Steps) c.Comment << FitStepText(step, moveCm);
    c.Comment << QStringLiteral(
        "table_height_at_isocentre_mm は手順 1 (天板上面をアイソセンタに合わせた) の寝台高さ");
    if (c.Manufacturer) {
        fitted.Primary = c.Manufacturer->Primary;
        fitted.Secondary = c.Manufacturer->Secondary;
        const QString angles =
            QStringLiteral(
                "Cアームの角度の符号は測っていません: 製造者のプロファイル %1 から写しました。"
                "マーカーの画像で確かめて下さい (docs/map.md)")
                .arg(c.ManufacturerFile);
        c.Fit.Notes.push_back(angles.toStdString());
        c.Comment << angles;
        c.Contradictions = map::TableDifferences(*c.Manufacturer, fitted);
        if (c.Contradictions.empty()) {
            c.Comment << QStringLiteral(
                             "製造者のプロファイル %1 の寝台の向きはこの部屋で成り立ちました")
                             .arg(c.ManufacturerFile);
        } else {
            QStringList differences;
            for (const std::string& d : c.Contradictions) differences << Text(d);
            const QString failed =
                QStringLiteral(
                    "製造者のプロファイル %1 の寝台の向きはこの部屋では成り立ちません: %2")
                    .arg(c.ManufacturerFile, differences.join(QStringLiteral("、")));
            c.Fit.Notes.push_back(failed.toStdString());
            c.Comment << failed;
        }
    } else {
        c.Comment << QStringLiteral(
            "Cアームの角度の符号は測っていません: DICOM の定義のままです。"
            "マーカーの画像で確かめて下さい (docs/map.md)");
    }
    c.Comment << QStringLiteral("寝台天板とマットの寸法は既定値です: 部屋で測って直して下さい");
    return c;
}

}  // namespace ordevo
