#include "report_table.h"

#include <algorithm>

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

std::vector<EventRow> ReportRows(const DoseReport& report, const ReportEvaluation& evaluation) {
    std::vector<EventRow> rows;
    for (const PlaneEvaluation& plane : evaluation.Planes) {
        for (const EventEvaluation& e : plane.Events) {
            const IrradiationEvent& event = report.Events.at(e.EventIndex);
            const EventCase& c = e.Case;
            rows.push_back(EventRow{
                .Plane = plane.Plane,
                .EquipmentName = plane.EquipmentName,
                .Uid = event.Uid,
                .Type = event.Type,
                .DateTime = IsoDateTime(event.DateTime),
                .TubeVoltageKv =
                    c.TubeVoltageKv > 0 ? std::optional(c.TubeVoltageKv) : std::nullopt,
                .TubeVoltageAssumed = c.KvAssumed,
                .CopperMm = c.CopperMm,
                .AluminiumMm = c.AluminiumMm,
                .ReferenceAirKermaMGy = event.ReferenceAirKermaMGy,
                .KermaAreaProductGyCm2 = event.KermaAreaProductGyCm2,
                .ReferenceDistanceCm = c.ReferenceDistanceCm,
                .FieldSizeText = c.FieldSizeText,
                .FocusSkinDistanceCm = c.FocusSkinDistanceCm,
                .SkinDoseMGy = c.Status == EventStatus::Evaluated ? std::optional(e.SkinDoseMGy)
                                                                  : std::nullopt,
                .Status = c.Status,
                .Note = c.Note});
        }
    }
    return rows;
}

EventRowTexts FormatEventRow(const EventRow& row) {
    return {.TubeVoltage = Optional(row.TubeVoltageKv, "##0.0"),
            .Copper = Number(row.CopperMm, "0.00"),
            .Aluminium = Number(row.AluminiumMm, "0.00"),
            .ReferenceAirKerma = Optional(row.ReferenceAirKermaMGy, "###0.000"),
            .KermaAreaProduct = Optional(row.KermaAreaProductGyCm2, "###0.0000"),
            .ReferenceDistance = Number(row.ReferenceDistanceCm, "##0.0"),
            .FieldSize = QString::fromStdString(row.FieldSizeText),
            .FocusSkinDistance = Number(row.FocusSkinDistanceCm, "##0.0"),
            .SkinDose = Optional(row.SkinDoseMGy, "####0.00")};
}

QStringList ReportCsvFields(const QString& fileName, const EventRow& row) {
    const EventRowTexts t = FormatEventRow(row);
    return {fileName,
            QString::fromUtf8(PlaneName(row.Plane)),
            QString::fromStdString(row.EquipmentName),
            QString::fromStdString(row.Uid),
            QString::fromUtf8(EventTypeName(row.Type)),
            QString::fromStdString(row.DateTime),
            t.TubeVoltage,
            row.TubeVoltageAssumed ? QStringLiteral("推定") : QString(),
            t.Copper,
            t.Aluminium,
            t.ReferenceAirKerma,
            t.KermaAreaProduct,
            t.ReferenceDistance,
            t.FieldSize,
            t.FocusSkinDistance,
            t.SkinDose,
            QString::fromUtf8(EventStatusName(row.Status)),
            QString::fromStdString(row.Note)};
}

std::vector<std::string> ReportNotes(const DoseReport& report, const ReportEvaluation& evaluation) {
    std::vector<std::string> notes = report.Notes;
    if (evaluation.Cancelled) notes.push_back("中止しました: 途中までの照射のみ計算しています");
    for (const PlaneEvaluation& plane : evaluation.Planes) {
        if (!plane.Totals.SingleCaseNote.empty())
            notes.push_back(std::string("合計で一括 (") + PlaneLabel(plane.Plane) +
                            "): " + plane.Totals.SingleCaseNote);
    }
    // An event's note joins its parts with "; "; equal parts of several events are listed once.
    std::vector<std::pair<std::string, std::string>> byText;  // note, the rows it stands for
    int rowNumber = 0;
    for (const PlaneEvaluation& plane : evaluation.Planes) {
        for (const EventEvaluation& e : plane.Events) {
            ++rowNumber;
            const std::string& note = e.Case.Note;
            for (std::size_t from = 0; from < note.size();) {
                std::size_t end = note.find("; ", from);
                if (end == std::string::npos) end = note.size();
                const std::string part = note.substr(from, end - from);
                from = end + 2;
                auto found = std::find_if(byText.begin(), byText.end(),
                                          [&](const auto& entry) { return entry.first == part; });
                if (found == byText.end())
                    byText.emplace_back(part, std::to_string(rowNumber));
                else
                    found->second += ", " + std::to_string(rowNumber);
            }
        }
    }
    for (const auto& [text, rows] : byText) notes.push_back("照射 " + rows + ": " + text);
    return notes;
}

FileResult<void> WriteReportCsv(const QString& path, const std::vector<ReportCsvFile>& files) {
    auto line = [](const QStringList& fields) {
        QStringList out;
        for (const QString& f : fields) out << CsvField(f);
        return out.join(u',');
    };
    QStringList lines{line(ReportCsvHeader())};
    for (const ReportCsvFile& file : files)
        for (const EventRow& row : ReportRows(*file.Report, *file.Evaluation))
            lines << line(ReportCsvFields(file.FileName, row));
    return WriteTextLines(path, lines);
}

QString ShownPlaneName(AcquisitionPlane plane) {
    switch (plane) {
    case AcquisitionPlane::Single: return QStringLiteral("単一");
    case AcquisitionPlane::A: return QStringLiteral("A");
    case AcquisitionPlane::B: return QStringLiteral("B");
    }
    return {};
}

QString ShownEventTypeName(EventType type) {
    switch (type) {
    case EventType::Fluoroscopy: return QStringLiteral("透視");
    case EventType::StationaryAcquisition: return QStringLiteral("撮影");
    case EventType::RotationalAcquisition: return QStringLiteral("回転撮影");
    case EventType::SteppingAcquisition: return QStringLiteral("ステップ撮影");
    case EventType::Other: return QStringLiteral("その他");
    }
    return {};
}

}  // namespace ordevo::rdsr
