#include "registry.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>
#include <QVariant>
#include <QtEndian>
#include <atomic>
#include <cstring>

#include "registry_schema.h"

namespace ordevo::registry {

namespace {

QVariant Optional(const std::optional<double>& value) {
    return value ? QVariant(*value) : QVariant(QMetaType(QMetaType::Double));
}
std::optional<double> OptionalOf(const QVariant& value) {
    if (value.isNull()) return std::nullopt;
    return value.toDouble();
}
QVariant Text(const std::string& text) { return QString::fromStdString(text); }
QVariant TextOrNull(const std::string& text) {
    return text.empty() ? QVariant(QMetaType(QMetaType::QString)) : Text(text);
}
std::string StdText(const QVariant& value) { return value.toString().toStdString(); }

QByteArray PackCells(const std::vector<double>& cells) {
    QByteArray bytes(static_cast<qsizetype>(cells.size() * sizeof(double)), Qt::Uninitialized);
    for (std::size_t i = 0; i < cells.size(); ++i)
        qToLittleEndian(cells[i], bytes.data() + i * sizeof(double));
    return qCompress(bytes);
}
std::vector<double> UnpackCells(const QByteArray& packed) {
    const QByteArray bytes = qUncompress(packed);
    std::vector<double> cells(static_cast<std::size_t>(bytes.size()) / sizeof(double));
    for (std::size_t i = 0; i < cells.size(); ++i)
        cells[i] = qFromLittleEndian<double>(bytes.constData() + i * sizeof(double));
    return cells;
}

std::string JoinNotes(const std::vector<std::string>& notes) {
    std::string joined;
    for (const std::string& note : notes) joined += (joined.empty() ? "" : "\n") + note;
    return joined;
}

// A failed statement: the error carries the registry's path and the database's reason.
class QueryFailed {
public:
    explicit QueryFailed(QString reason) : why(std::move(reason)) {}
    QString why;
};

QSqlQuery Run(QSqlDatabase& db, const QString& sql, const QVariantList& values = {}) {
    QSqlQuery query(db);
    if (!query.prepare(sql)) throw QueryFailed(query.lastError().text());
    for (const QVariant& value : values) query.addBindValue(value);
    if (!query.exec()) throw QueryFailed(query.lastError().text());
    return query;
}

std::optional<qint64> FindId(QSqlDatabase& db, const QString& sql, const QVariant& key) {
    QSqlQuery query = Run(db, sql, {key});
    if (!query.next()) return std::nullopt;
    return query.value(0).toLongLong();
}

// Inserts and returns the new row's id (PostgreSQL through RETURNING).
qint64 Insert(QSqlDatabase& db, const QString& sql, const QVariantList& values) {
    const bool postgres = db.driverName() == "QPSQL";
    QSqlQuery query = Run(db, postgres ? sql + " RETURNING id" : sql, values);
    if (postgres) return query.next() ? query.value(0).toLongLong() : -1;
    return query.lastInsertId().toLongLong();
}

QVariant PatientRef(QSqlDatabase& db, const ProcedureRecord& r) {
    if (r.PatientId.empty()) return QVariant(QMetaType(QMetaType::LongLong));
    if (auto id = FindId(db, "SELECT id FROM patients WHERE patient_id = ?", Text(r.PatientId)))
        return *id;
    return Insert(db, "INSERT INTO patients (patient_id, name, birth_date) VALUES (?, ?, ?)",
                  {Text(r.PatientId), Text(r.PatientName), Text(r.PatientBirthDate)});
}

QVariant StudyRef(QSqlDatabase& db, const ProcedureRecord& r, const QVariant& patient) {
    if (r.StudyInstanceUid.empty()) return QVariant(QMetaType(QMetaType::LongLong));
    if (auto id =
            FindId(db, "SELECT id FROM studies WHERE study_uid = ?", Text(r.StudyInstanceUid)))
        return *id;
    return Insert(db, "INSERT INTO studies (study_uid, patient_ref, study_date) VALUES (?, ?, ?)",
                  {Text(r.StudyInstanceUid), patient, Text(r.StudyDate)});
}

QString Now() { return QDateTime::currentDateTimeUtc().toString(Qt::ISODate); }

constexpr const char* kSummaryColumns =
    "p.sop_instance_uid, pt.patient_id, p.study_date, p.status, p.reason, p.received_at, "
    "p.calling_ae, p.psd_mgy, p.psd_low_mgy, p.psd_high_mgy, p.upper_bound_mgy, p.new_events, "
    "p.id, p.manufacturer, p.model, p.source, p.notes, pt.name, pt.birth_date, s.study_uid, "
    "p.mapped_kar_share, p.unplaced_bound_mgy, p.unplaced_unbounded "
    "FROM procedures p LEFT JOIN patients pt ON pt.id = p.patient_ref "
    "LEFT JOIN studies s ON s.id = p.study_ref";

ProcedureSummary SummaryOf(const QSqlQuery& q) {
    ProcedureSummary s;
    s.SopInstanceUid = StdText(q.value(0));
    s.PatientId = StdText(q.value(1));
    s.StudyDate = StdText(q.value(2));
    s.Status = StdText(q.value(3));
    s.Reason = StdText(q.value(4));
    s.ReceivedAt = StdText(q.value(5));
    s.CallingAe = StdText(q.value(6));
    s.PsdMGy = OptionalOf(q.value(7));
    s.PsdLowMGy = OptionalOf(q.value(8));
    s.PsdHighMGy = OptionalOf(q.value(9));
    s.UpperBoundMGy = OptionalOf(q.value(10));
    s.NewEvents = q.value(11).toInt();
    s.MappedKarShare = OptionalOf(q.value(20));
    s.UnplacedBoundMGy = OptionalOf(q.value(21));
    s.UnplacedUnbounded = q.value(22).toInt() != 0;
    return s;
}

}  // namespace

bool IsServerRegistry(const QString& registry) {
    return registry.startsWith("postgresql://") || registry.startsWith("postgres://");
}

Registry::Registry(QString connection, QString path)
    : connection_(std::move(connection)), path_(std::move(path)) {}

Registry::~Registry() {
    { QSqlDatabase::database(connection_, false).close(); }
    QSqlDatabase::removeDatabase(connection_);
}

FileResult<std::unique_ptr<Registry>> Registry::Open(const QString& path) {
    static std::atomic<int> opened{0};
    const QString connection = QString("ordevo-registry-%1").arg(opened++);
    const bool server = IsServerRegistry(path);
    // Messages name a server without its password.
    const QString where =
        server ? QUrl(path).toString(QUrl::RemovePassword | QUrl::RemoveQuery) : path;
    std::unique_ptr<Registry> registry(new Registry(connection, where));
    if (server && !QSqlDatabase::isDriverAvailable("QPSQL"))
        return FileError::InFile(
            where, "PostgreSQL のドライバ（パッケージ libqt6sql6-psql）がないため開けません");
    QSqlDatabase db = QSqlDatabase::addDatabase(server ? "QPSQL" : "QSQLITE", connection);
    if (server) {
        const QUrl url(path);
        db.setHostName(url.host());
        db.setPort(url.port(5432));
        db.setUserName(url.userName());
        db.setPassword(url.password());  // none: the user's ~/.pgpass
        db.setDatabaseName(url.path().mid(1));
        db.setConnectOptions("connect_timeout=10");
    } else {
        db.setDatabaseName(path);
        // Several processes (the node, the window, the command line) share the file.
        db.setConnectOptions("QSQLITE_BUSY_TIMEOUT=10000");
    }
    if (!db.open())
        return FileError::InFile(where, "線量登録簿を開けません（" + db.lastError().text() + "）");
    QSqlQuery query(db);
    if (!server &&
        (!query.exec("PRAGMA journal_mode=WAL") || !query.exec("PRAGMA foreign_keys=ON")))
        return FileError::InFile(where,
                                 "線量登録簿を開けません（" + query.lastError().text() + "）");
    const int version = ordevo::registry::SchemaVersion(db);
    if (version > LatestSchemaVersion())
        return FileError::InFile(
            where,
            QString("線量登録簿の版 %1 はこのプログラム（第 %2 版まで）より新しいため開けません")
                .arg(version)
                .arg(LatestSchemaVersion()));
    QString why;
    if (!Migrate(db, &why))
        return FileError::InFile(where, "線量登録簿を更新できません（" + why + "）");
    return registry;
}

int Registry::SchemaVersion() {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    return ordevo::registry::SchemaVersion(db);
}

FileResult<bool> Registry::IsRegistered(const std::string& sopInstanceUid) {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    try {
        return FindId(db, "SELECT id FROM procedures WHERE sop_instance_uid = ?",
                      Text(sopInstanceUid))
            .has_value();
    } catch (const QueryFailed& failed) {
        return FileError::InFile(path_, "線量登録簿を読めません（" + failed.why + "）");
    }
}

FileResult<Registration> Registry::Register(const ProcedureRecord& r) {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    if (!db.transaction())
        return FileError::InFile(path_, "線量登録簿に書けません（" + db.lastError().text() + "）");
    try {
        if (FindId(db, "SELECT id FROM procedures WHERE sop_instance_uid = ?",
                   Text(r.SopInstanceUid))) {
            db.rollback();
            return Registration::AlreadyRegistered;
        }
        const QVariant patient = PatientRef(db, r);
        const QVariant study = StudyRef(db, r, patient);
        const qint64 procedure = Insert(
            db,
            "INSERT INTO procedures (sop_instance_uid, patient_ref, study_ref, status, source, "
            "calling_ae, received_at, manufacturer, model, study_date, psd_mgy, psd_low_mgy, "
            "psd_high_mgy, upper_bound_mgy, new_events, notes, mapped_kar_share, "
            "unplaced_bound_mgy, unplaced_unbounded) VALUES (?, ?, ?, 'registered', ?, "
            "?, ?, ?, ?, ?, ?, ?, ?, ?, 0, ?, ?, ?, ?)",
            {Text(r.SopInstanceUid), patient, study, Text(r.Source), Text(r.CallingAe), Now(),
             Text(r.Manufacturer), Text(r.Model), Text(r.StudyDate), Optional(r.PsdMGy),
             Optional(r.PsdLowMGy), Optional(r.PsdHighMGy), r.UpperBoundMGy,
             Text(JoinNotes(r.Notes)), Optional(r.MappedKarShare), Optional(r.UnplacedBoundMGy),
             r.UnplacedUnbounded ? 1 : 0});
        for (const PlaneRecord& p : r.Planes)
            Run(db,
                "INSERT INTO planes (procedure_ref, plane, equipment, kar_mgy, pka_gycm2, "
                "skin_dose_sum_mgy, skin_dose_sum_expanded_mgy, evaluated, skipped, failed) "
                "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {procedure, Text(p.Plane), Text(p.Equipment), p.ReferenceAirKermaMGy,
                 p.KermaAreaProductGyCm2, p.SkinDoseSumMGy, Optional(p.SkinDoseSumExpandedMGy),
                 p.Evaluated, p.Skipped, p.Failed});
        int newEvents = 0;
        for (const EventRecord& e : r.Events) {
            QSqlQuery added = Run(
                db,
                "INSERT INTO events (event_uid, procedure_ref, plane, type, date_time, kar_mgy, "
                "pka_gycm2, kv, skin_dose_mgy, status, note) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
                "?, ?) ON CONFLICT (event_uid) DO NOTHING",
                {TextOrNull(e.Uid), procedure, Text(e.Plane), Text(e.Type), Text(e.DateTime),
                 Optional(e.ReferenceAirKermaMGy), Optional(e.KermaAreaProductGyCm2),
                 Optional(e.TubeVoltageKv), Optional(e.SkinDoseMGy), Text(e.Status), Text(e.Note)});
            newEvents += added.numRowsAffected() > 0 ? 1 : 0;
        }
        Run(db, "UPDATE procedures SET new_events = ? WHERE id = ?", {newEvents, procedure});
        const rdsr::ProcedureTexts& t = r.Texts;
        Run(db,
            "INSERT INTO procedure_texts (procedure_ref, study_description, "
            "performed_description, requested_description, procedure_reported, "
            "acquisition_protocols, station_name, institution_name, patient_sex) VALUES (?, ?, ?, "
            "?, ?, ?, ?, ?, ?)",
            {procedure, Text(t.StudyDescription), Text(t.PerformedProcedureStepDescription),
             Text(t.RequestedProcedureDescription), Text(t.ProcedureReported),
             Text(t.AcquisitionProtocols), Text(t.StationName), Text(t.InstitutionName),
             Text(t.PatientSex)});
        if (r.Map) {
            const MapRecord& m = *r.Map;
            Run(db,
                "INSERT INTO maps (procedure_ref, psd_mgy, psd_region, psd_from_top_cm, "
                "psd_angle_deg, phantom, cell_cm, rows_count, columns_count, cells, lying) VALUES "
                "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
                {procedure, m.PsdMGy, Text(m.PsdRegion), Optional(m.PsdFromTopCm),
                 Optional(m.PsdAngleDeg), Text(m.Phantom), m.CellCm, m.Rows, m.Columns,
                 PackCells(m.CellDoseMGy), TextOrNull(m.Lying)});
        }
        if (!db.commit()) throw QueryFailed(db.lastError().text());
        return Registration::Registered;
    } catch (const QueryFailed& failed) {
        db.rollback();
        return FileError::InFile(path_, "線量登録簿に書けません（" + failed.why + "）");
    }
}

FileResult<Registration> Registry::RegisterFailure(const std::string& sopInstanceUid,
                                                   const std::string& source,
                                                   const std::string& callingAe,
                                                   const std::string& reason) {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    try {
        QSqlQuery added =
            Run(db,
                "INSERT INTO procedures (sop_instance_uid, status, reason, source, "
                "calling_ae, received_at) VALUES (?, 'failed', ?, ?, ?, ?) "
                "ON CONFLICT (sop_instance_uid) DO NOTHING",
                {Text(sopInstanceUid), Text(reason), Text(source), Text(callingAe), Now()});
        return added.numRowsAffected() > 0 ? Registration::Registered
                                           : Registration::AlreadyRegistered;
    } catch (const QueryFailed& failed) {
        return FileError::InFile(path_, "線量登録簿に書けません（" + failed.why + "）");
    }
}

FileResult<std::vector<ProcedureSummary>> Registry::List() {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    try {
        QSqlQuery q = Run(db, QString("SELECT ") + kSummaryColumns + " ORDER BY p.id");
        std::vector<ProcedureSummary> list;
        while (q.next()) list.push_back(SummaryOf(q));
        return list;
    } catch (const QueryFailed& failed) {
        return FileError::InFile(path_, "線量登録簿を読めません（" + failed.why + "）");
    }
}

FileResult<std::optional<StoredProcedure>> Registry::Show(const std::string& sopInstanceUid) {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    try {
        QSqlQuery q =
            Run(db, QString("SELECT ") + kSummaryColumns + " WHERE p.sop_instance_uid = ?",
                {Text(sopInstanceUid)});
        if (!q.next()) return std::optional<StoredProcedure>();
        StoredProcedure s;
        s.Summary = SummaryOf(q);
        const qint64 id = q.value(12).toLongLong();
        ProcedureRecord& r = s.Record;
        r.SopInstanceUid = s.Summary.SopInstanceUid;
        r.PatientId = s.Summary.PatientId;
        r.StudyDate = s.Summary.StudyDate;
        r.CallingAe = s.Summary.CallingAe;
        r.PsdMGy = s.Summary.PsdMGy;
        r.PsdLowMGy = s.Summary.PsdLowMGy;
        r.PsdHighMGy = s.Summary.PsdHighMGy;
        r.UpperBoundMGy = s.Summary.UpperBoundMGy.value_or(0);
        r.MappedKarShare = s.Summary.MappedKarShare;
        r.UnplacedBoundMGy = s.Summary.UnplacedBoundMGy;
        r.UnplacedUnbounded = s.Summary.UnplacedUnbounded;
        r.Manufacturer = StdText(q.value(13));
        r.Model = StdText(q.value(14));
        r.Source = StdText(q.value(15));
        const QString notes = q.value(16).toString();
        if (!notes.isEmpty())
            for (const QString& note : notes.split('\n')) r.Notes.push_back(note.toStdString());
        r.PatientName = StdText(q.value(17));
        r.PatientBirthDate = StdText(q.value(18));
        r.StudyInstanceUid = StdText(q.value(19));

        QSqlQuery planes = Run(db,
                               "SELECT plane, equipment, kar_mgy, pka_gycm2, skin_dose_sum_mgy, "
                               "skin_dose_sum_expanded_mgy, evaluated, skipped, failed FROM "
                               "planes WHERE procedure_ref = ? ORDER BY id",
                               {id});
        while (planes.next())
            r.Planes.push_back({StdText(planes.value(0)), StdText(planes.value(1)),
                                planes.value(2).toDouble(), planes.value(3).toDouble(),
                                planes.value(4).toDouble(), OptionalOf(planes.value(5)),
                                planes.value(6).toInt(), planes.value(7).toInt(),
                                planes.value(8).toInt()});
        QSqlQuery events = Run(db,
                               "SELECT event_uid, plane, type, date_time, kar_mgy, pka_gycm2, kv, "
                               "skin_dose_mgy, status, note FROM events WHERE procedure_ref = ? "
                               "ORDER BY id",
                               {id});
        while (events.next())
            r.Events.push_back({StdText(events.value(0)), StdText(events.value(1)),
                                StdText(events.value(2)), StdText(events.value(3)),
                                OptionalOf(events.value(4)), OptionalOf(events.value(5)),
                                OptionalOf(events.value(6)), OptionalOf(events.value(7)),
                                StdText(events.value(8)), StdText(events.value(9))});
        QSqlQuery map = Run(db,
                            "SELECT psd_mgy, psd_region, psd_from_top_cm, psd_angle_deg, phantom, "
                            "cell_cm, rows_count, columns_count, cells, lying FROM maps WHERE "
                            "procedure_ref = ?",
                            {id});
        if (map.next())
            r.Map = MapRecord{map.value(0).toDouble(),
                              StdText(map.value(1)),
                              OptionalOf(map.value(2)),
                              OptionalOf(map.value(3)),
                              StdText(map.value(4)),
                              map.value(5).toDouble(),
                              map.value(6).toInt(),
                              map.value(7).toInt(),
                              UnpackCells(map.value(8).toByteArray()),
                              StdText(map.value(9))};
        return std::optional<StoredProcedure>(std::move(s));
    } catch (const QueryFailed& failed) {
        return FileError::InFile(path_, "線量登録簿を読めません（" + failed.why + "）");
    }
}

FileResult<void> Registry::AddAlert(const StoredAlert& a) {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    try {
        Run(db,
            "INSERT INTO alerts (patient_ref, procedure_ref, kind, level_mgy, dose_mgy, "
            "created_at, message) VALUES ((SELECT id FROM patients WHERE patient_id = ?), "
            "(SELECT id FROM procedures WHERE sop_instance_uid = ?), ?, ?, ?, ?, ?)",
            {Text(a.PatientId), Text(a.SopInstanceUid), Text(a.Kind), a.LevelMGy, a.DoseMGy, Now(),
             Text(a.Message)});
        return {};
    } catch (const QueryFailed& failed) {
        return FileError::InFile(path_, "線量登録簿に書けません（" + failed.why + "）");
    }
}

FileResult<std::vector<StoredAlert>> Registry::Alerts() {
    QSqlDatabase db = QSqlDatabase::database(connection_);
    try {
        QSqlQuery q = Run(db,
                          "SELECT a.kind, pt.patient_id, p.sop_instance_uid, a.created_at, "
                          "a.message, a.level_mgy, a.dose_mgy FROM alerts a LEFT JOIN patients "
                          "pt ON pt.id = a.patient_ref LEFT JOIN procedures p ON p.id = "
                          "a.procedure_ref ORDER BY a.id");
        std::vector<StoredAlert> alerts;
        while (q.next())
            alerts.push_back({StdText(q.value(0)), StdText(q.value(1)), StdText(q.value(2)),
                              StdText(q.value(3)), StdText(q.value(4)), q.value(5).toDouble(),
                              q.value(6).toDouble()});
        return alerts;
    } catch (const QueryFailed& failed) {
        return FileError::InFile(path_, "線量登録簿を読めません（" + failed.why + "）");
    }
}

}  // namespace ordevo::registry
