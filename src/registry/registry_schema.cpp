#include "registry_schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace ordevo::registry {

const std::vector<Migration>& Migrations() {
    static const std::vector<Migration> migrations = {
        {1,
         {
             "CREATE TABLE patients (id {id}, patient_id TEXT NOT NULL UNIQUE, name TEXT, "
             "birth_date TEXT)",
             "CREATE TABLE studies (id {id}, study_uid TEXT NOT NULL UNIQUE, "
             "patient_ref INTEGER REFERENCES patients(id), study_date TEXT)",
             // A failed report has no patient, study or numbers: only its reason.
             "CREATE TABLE procedures (id {id}, sop_instance_uid TEXT NOT NULL UNIQUE, "
             "patient_ref INTEGER REFERENCES patients(id), study_ref INTEGER REFERENCES "
             "studies(id), status TEXT NOT NULL, reason TEXT, source TEXT, calling_ae TEXT, "
             "received_at TEXT NOT NULL, manufacturer TEXT, model TEXT, study_date TEXT, "
             "psd_mgy {real}, psd_low_mgy {real}, psd_high_mgy {real}, upper_bound_mgy {real}, "
             "new_events INTEGER, notes TEXT)",
             "CREATE TABLE planes (id {id}, procedure_ref INTEGER NOT NULL REFERENCES "
             "procedures(id), plane TEXT NOT NULL, equipment TEXT, kar_mgy {real}, "
             "pka_gycm2 {real}, skin_dose_sum_mgy {real}, skin_dose_sum_expanded_mgy {real}, "
             "evaluated INTEGER, skipped INTEGER, failed INTEGER)",
             // An event repeated in a cumulative or continued report keeps its first row.
             "CREATE TABLE events (id {id}, event_uid TEXT UNIQUE, procedure_ref INTEGER NOT "
             "NULL REFERENCES procedures(id), plane TEXT, type TEXT, date_time TEXT, "
             "kar_mgy {real}, pka_gycm2 {real}, kv {real}, skin_dose_mgy {real}, status TEXT, "
             "note TEXT)",
             // The cells: row-major little-endian doubles (mGy), compressed.
             "CREATE TABLE maps (procedure_ref INTEGER PRIMARY KEY REFERENCES procedures(id), "
             "psd_mgy {real} NOT NULL, psd_region TEXT, psd_from_top_cm {real}, "
             "psd_angle_deg {real}, phantom TEXT, cell_cm {real}, rows_count INTEGER, "
             "columns_count INTEGER, cells {blob})",
             "CREATE TABLE alerts (id {id}, patient_ref INTEGER REFERENCES patients(id), "
             "procedure_ref INTEGER REFERENCES procedures(id), kind TEXT NOT NULL, "
             "level_mgy {real}, dose_mgy {real}, created_at TEXT NOT NULL, message TEXT)",
             "CREATE INDEX procedures_patient ON procedures(patient_ref)",
             "CREATE INDEX events_procedure ON events(procedure_ref)",
         }},
        // How the patient lay on every placed event ("HFS" …), so maps of the same lying add
        // cell by cell; NULL (earlier maps) adds only the peak.
        {2, {"ALTER TABLE maps ADD COLUMN lying TEXT"}},
        // What each procedure was called (its category is found from these by the user's
        // rules when reviewed, so a changed rule applies to every procedure), its room and
        // facility; and the categories the user set by hand, which the rules never override.
        {4,
         {
             "CREATE TABLE procedure_texts (procedure_ref INTEGER PRIMARY KEY REFERENCES "
             "procedures(id), study_description TEXT, performed_description TEXT, "
             "requested_description TEXT, procedure_reported TEXT, acquisition_protocols TEXT, "
             "station_name TEXT, institution_name TEXT, patient_sex TEXT)",
             "CREATE TABLE hand_categories (procedure_ref INTEGER PRIMARY KEY REFERENCES "
             "procedures(id), category TEXT NOT NULL, set_at TEXT NOT NULL)",
         }},
        // What the map could not place: the share of the Ka,r it placed, the unplaced events'
        // whole skin dose, and whether some dose could not be computed at all (1), so that the
        // cumulative dose adds the bound and no follow-up is called clear on a partial map.
        // NULL (earlier procedures): not known.
        {5,
         {"ALTER TABLE procedures ADD COLUMN mapped_kar_share {real}",
          "ALTER TABLE procedures ADD COLUMN unplaced_bound_mgy {real}",
          "ALTER TABLE procedures ADD COLUMN unplaced_unbounded INTEGER"}},
    };
    return migrations;
}

int LatestSchemaVersion() { return Migrations().back().Version; }

QString ForDriver(QString statement, const QSqlDatabase& db) {
    const bool postgres = db.driverName() == "QPSQL";
    statement.replace("{id}", postgres ? "BIGSERIAL PRIMARY KEY" : "INTEGER PRIMARY KEY");
    statement.replace("{real}", postgres ? "DOUBLE PRECISION" : "REAL");
    statement.replace("{blob}", postgres ? "BYTEA" : "BLOB");
    return statement;
}

int SchemaVersion(QSqlDatabase& db) {
    if (!db.tables().contains("schema_version")) return 0;
    QSqlQuery query(db);
    if (!query.exec("SELECT MAX(version) FROM schema_version") || !query.next()) return 0;
    return query.value(0).toInt();
}

bool Migrate(QSqlDatabase& db, QString* error) {
    QSqlQuery query(db);
    if (!query.exec("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)")) {
        *error = query.lastError().text();
        return false;
    }
    const int current = SchemaVersion(db);
    for (const Migration& migration : Migrations()) {
        if (migration.Version <= current) continue;
        if (!db.transaction()) {
            *error = db.lastError().text();
            return false;
        }
        // Workstations sharing a server may start together: one migrates, the others wait for
        // it and then find the version done.
        if (db.driverName() == "QPSQL") {
            if (!query.exec("LOCK TABLE schema_version IN EXCLUSIVE MODE")) {
                *error = query.lastError().text();
                db.rollback();
                return false;
            }
            if (SchemaVersion(db) >= migration.Version) {
                db.rollback();
                continue;
            }
        }
        QStringList statements = migration.Statements;
        statements
            << QString("INSERT INTO schema_version (version) VALUES (%1)").arg(migration.Version);
        for (const QString& statement : statements) {
            if (!query.exec(ForDriver(statement, db))) {
                *error = QString("第 %1 版への移行: %2")
                             .arg(migration.Version)
                             .arg(query.lastError().text());
                db.rollback();
                return false;
            }
        }
        if (!db.commit()) {
            *error = db.lastError().text();
            db.rollback();
            return false;
        }
    }
    return true;
}

}  // namespace ordevo::registry
