#include "report_table.h"

#include "cp932_text.h"
#include "number_format.h"

namespace ordevo::rdsr {
namespace {

QString Number(double value, const char* picture) {
    return QString::fromStdString(FormatNumber(value, picture));
}

QString Optional(const std::optional<double>& value, const char* picture) {
    return value ? Number(*value, picture) : QString();
}

bool AllDigits(const std::string& text, std::size_t from, std::size_t count) {
    if (text.size() < from + count) return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    return true;
}

// A field as the CSV holds it: quoted when it must be, characters without a CP932 code as "?",
// line breaks (a report's free text may hold them) as blanks, so that a row stays one line.
QString CsvField(const QString& text) {
    QString field;
    for (QChar ch : text) {
        if (ch == u'\r' || ch == u'\n') ch = u' ';
        const bool encodable =
            !ch.isSurrogate() && EncodeCp932(QString(ch), QString(), 0).has_value();
        field += encodable ? ch : QChar(u'?');
    }
    if (field.contains(u',') || field.contains(u'"'))
        field = QStringLiteral("\"") +
                QString(field).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                QStringLiteral("\"");
    return field;
}

}  // namespace

std::string IsoDate(const std::string& d) {
    if (d.size() != 8 || !AllDigits(d, 0, 8)) return d;
    return d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2);
}

std::string IsoDateTime(const std::string& dt) {
    if (!AllDigits(dt, 0, 14)) return dt;
    return IsoDate(dt.substr(0, 8)) + "T" + dt.substr(8, 2) + ":" + dt.substr(10, 2) + ":" +
           dt.substr(12, 2);
}

QStringList ReportCsvHeader() {
    return {QStringLiteral("ファイル"),
            QStringLiteral("平面"),
            QStringLiteral("装置ファイル"),
            QStringLiteral("照射 UID"),
            QStringLiteral("種類"),
            QStringLiteral("開始日時"),
            QStringLiteral("管電圧 (kV)"),
            QStringLiteral("管電圧推定"),
            QStringLiteral("Cu (mm)"),
            QStringLiteral("Al (mm)"),
            QStringLiteral("Kar (mGy)"),
            QStringLiteral("P_KA (Gy･cm2)"),
            QStringLiteral("基準点距離 (cm)"),
            QStringLiteral("照射野 (cm)"),
            QStringLiteral("FSD (cm)"),
            QStringLiteral("皮膚線量 (mGy)"),
            QStringLiteral("状態"),
            QStringLiteral("備考")};
}

std::vector<QStringList> ReportRows(const QString& fileName, const DoseReport& report,
                                    const ReportEvaluation& evaluation) {
    std::vector<QStringList> rows;
    for (const PlaneEvaluation& plane : evaluation.Planes) {
        for (const EventEvaluation& e : plane.Events) {
            const IrradiationEvent& event = report.Events.at(e.EventIndex);
            const EventCase& c = e.Case;
            const bool evaluated = c.Status == EventStatus::Evaluated;
            rows.push_back(
                {fileName, QString::fromUtf8(PlaneName(plane.Plane)),
                 QString::fromStdString(plane.EquipmentName), QString::fromStdString(event.Uid),
                 QString::fromUtf8(EventTypeName(event.Type)),
                 QString::fromStdString(IsoDateTime(event.DateTime)),
                 c.TubeVoltageKv > 0 ? Number(c.TubeVoltageKv, "##0.0") : QString(),
                 c.KvAssumed ? QStringLiteral("推定") : QString(), Number(c.CopperMm, "0.00"),
                 Number(c.AluminiumMm, "0.00"), Optional(event.ReferenceAirKermaMGy, "###0.000"),
                 Optional(event.KermaAreaProductGyCm2, "###0.0000"),
                 Number(c.ReferenceDistanceCm, "##0.0"), QString::fromStdString(c.FieldSizeText),
                 Number(c.FocusSkinDistanceCm, "##0.0"),
                 evaluated ? Number(e.SkinDoseMGy, "####0.00") : QString(),
                 QString::fromUtf8(EventStatusName(c.Status)), QString::fromStdString(c.Note)});
        }
    }
    return rows;
}

FileResult<void> WriteReportCsv(const QString& path, const std::vector<ReportCsvFile>& files) {
    auto line = [](const QStringList& fields) {
        QStringList out;
        for (const QString& f : fields) out << CsvField(f);
        return out.join(u',');
    };
    QStringList lines{line(ReportCsvHeader())};
    for (const ReportCsvFile& file : files)
        for (const QStringList& row : ReportRows(file.FileName, *file.Report, *file.Evaluation))
            lines << line(row);
    return WriteTextLines(path, lines);
}

}  // namespace ordevo::rdsr
