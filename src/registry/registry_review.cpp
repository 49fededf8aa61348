// The registry's queries for the review against the diagnostic reference levels and the
// categories set by hand. A procedure's Ka,r and P_KA are the sums over its events as the report
// gives them, every event whether its skin dose could be evaluated or not (the planes' totals
// count evaluated events only); a record without events falls back to the planes' totals.
#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include "registry.h"

namespace ordevo::registry {

namespace {

std::string StdText(const QVariant& value) { return value.toString().toStdString(); }

// The room a procedure stands for: the unit that sent it over the network, else the station
// name its report gives, else its maker and model.
std::string RoomOf(const std::string& callingAe, const std::string& station,
                   const std::string& manufacturer, const std::string& model) {
    if (!callingAe.empty()) return callingAe;
    if (!station.empty()) return station;
    std::string room = manufacturer;
    if (!model.empty()) {
        if (!room.empty()) room += ' ';
        room += model;
    }
    return room.empty() ? std::string("（不明）") : room;
}

}  // namespace

FileResult<std::vector<ReviewSource>> Registry::ReviewSources(const std::string& fromDate,
                                                              const std::string& toDate) {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    QString sql =
        "SELECT p.sop_instance_uid, pt.patient_id, p.study_date, p.calling_ae, p.manufacturer, "
        "p.model, t.study_description, t.performed_description, t.requested_description, "
        "t.procedure_reported, t.acquisition_protocols, t.station_name, t.institution_name, "
        "t.patient_sex, h.category, COALESCE((SELECT SUM(kar_mgy) FROM events WHERE "
        "procedure_ref = p.id), (SELECT SUM(kar_mgy) FROM planes WHERE procedure_ref = p.id)), "
        "COALESCE((SELECT SUM(pka_gycm2) FROM events WHERE procedure_ref = p.id), (SELECT "
        "SUM(pka_gycm2) FROM planes WHERE procedure_ref = p.id)) FROM procedures p "
        "LEFT JOIN patients pt ON pt.id = p.patient_ref LEFT JOIN procedure_texts t ON "
        "t.procedure_ref = p.id LEFT JOIN hand_categories h ON h.procedure_ref = p.id WHERE "
        "p.status = 'registered'";
    QVariantList values;
    if (!fromDate.empty()) {
        sql += " AND p.study_date >= ?";
        values << QString::fromStdString(fromDate);
    }
    if (!toDate.empty()) {
        sql += " AND p.study_date <= ?";
        values << QString::fromStdString(toDate);
    }
    // A date-limited review leaves out what has no date ("" would sort before any date).
    if (!fromDate.empty() || !toDate.empty()) sql += " AND p.study_date <> ''";
    sql += " ORDER BY p.study_date, p.id";
    QSqlQuery q(db);
    if (!q.prepare(sql))
        return FileError::InFile(path_, "線量登録簿を読めません（" + q.lastError().text() + "）");
    for (const QVariant& value : values) q.addBindValue(value);
    if (!q.exec())
        return FileError::InFile(path_, "線量登録簿を読めません（" + q.lastError().text() + "）");
    std::vector<ReviewSource> sources;
    while (q.next()) {
        ReviewSource s;
        s.SopInstanceUid = StdText(q.value(0));
        s.PatientId = StdText(q.value(1));
        s.StudyDate = StdText(q.value(2));
        s.Texts.StudyDescription = StdText(q.value(6));
        s.Texts.PerformedProcedureStepDescription = StdText(q.value(7));
        s.Texts.RequestedProcedureDescription = StdText(q.value(8));
        s.Texts.ProcedureReported = StdText(q.value(9));
        s.Texts.AcquisitionProtocols = StdText(q.value(10));
        s.Texts.StationName = StdText(q.value(11));
        s.Texts.InstitutionName = StdText(q.value(12));
        s.Texts.PatientSex = StdText(q.value(13));
        s.Room = RoomOf(StdText(q.value(3)), s.Texts.StationName, StdText(q.value(4)),
                        StdText(q.value(5)));
        s.HandCategory = StdText(q.value(14));
        s.KarMGy = q.value(15).toDouble();
        s.PkaGyCm2 = q.value(16).toDouble();
        sources.push_back(std::move(s));
    }
    return sources;
}

FileResult<void> Registry::SetHandCategory(const std::string& sopInstanceUid,
                                           const std::string& category) {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    QSqlQuery q(db);
    const QString sop = QString::fromStdString(sopInstanceUid);
    const bool removing = category.empty();
    const QString sql = removing
                            ? QStringLiteral(
                                  "DELETE FROM hand_categories WHERE procedure_ref = (SELECT id "
                                  "FROM procedures WHERE sop_instance_uid = ?)")
                            : QStringLiteral(
                                  "INSERT INTO hand_categories (procedure_ref, category, set_at) "
                                  "SELECT id, ?, ? FROM procedures WHERE sop_instance_uid = ? "
                                  "ON CONFLICT (procedure_ref) DO UPDATE SET category = "
                                  "excluded.category, set_at = excluded.set_at");
    if (!q.prepare(sql))
        return FileError::InFile(path_, "線量登録簿に書けません（" + q.lastError().text() + "）");
    if (!removing) {
        q.addBindValue(QString::fromStdString(category));
        q.addBindValue(QDateTime::currentDateTimeUtc().toString(Qt::ISODate));
    }
    q.addBindValue(sop);
    if (!q.exec())
        return FileError::InFile(path_, "線量登録簿に書けません（" + q.lastError().text() + "）");
    if (!removing && q.numRowsAffected() < 1)
        return FileError::InFile(path_,
                                 sop + ": この SOP Instance UID の手技は線量登録簿にありません");
    return {};
}

FileResult<rdsr::ProcedureTexts> Registry::TextsOf(const std::string& sopInstanceUid) {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    QSqlQuery q(db);
    if (!q.prepare("SELECT t.study_description, t.performed_description, "
                   "t.requested_description, t.procedure_reported, t.acquisition_protocols, "
                   "t.station_name, t.institution_name, t.patient_sex FROM procedure_texts t "
                   "JOIN procedures p ON p.id = t.procedure_ref WHERE p.sop_instance_uid = ?"))
        return FileError::InFile(path_, "線量登録簿を読めません（" + q.lastError().text() + "）");
    q.addBindValue(QString::fromStdString(sopInstanceUid));
    if (!q.exec())
        return FileError::InFile(path_, "線量登録簿を読めません（" + q.lastError().text() + "）");
    rdsr::ProcedureTexts t;
    if (q.next()) {
        t.StudyDescription = StdText(q.value(0));
        t.PerformedProcedureStepDescription = StdText(q.value(1));
        t.RequestedProcedureDescription = StdText(q.value(2));
        t.ProcedureReported = StdText(q.value(3));
        t.AcquisitionProtocols = StdText(q.value(4));
        t.StationName = StdText(q.value(5));
        t.InstitutionName = StdText(q.value(6));
        t.PatientSex = StdText(q.value(7));
    }
    return t;
}

}  // namespace ordevo::registry
