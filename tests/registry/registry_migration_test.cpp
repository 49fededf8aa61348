// A registry written by each earlier schema opens at the latest one with everything kept:
// its procedures, their events (now keyed by device and event UID) and its alerts (told
// before, so announced).
#include <gtest/gtest.h>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>

#include "registry.h"
#include "registry_schema.h"

namespace ordevo::registry {
namespace {

// A SQLite file at schema `version`, made by that version's statements, with one patient, one
// procedure of two events and one alert.
void WriteFixture(const QString& path, int version) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "fixture");
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery q(db);
        ASSERT_TRUE(q.exec("CREATE TABLE schema_version (version INTEGER NOT NULL)"));
        for (const Migration& m : Migrations()) {
            if (m.Version > version) break;
            for (const QString& statement : m.Statements)
                ASSERT_TRUE(q.exec(ForDriver(statement, db))) << q.lastError().text().toStdString();
            ASSERT_TRUE(q.exec(QString("INSERT INTO schema_version VALUES (%1)").arg(m.Version)));
        }
        for (const char* row :
             {"INSERT INTO patients (id, patient_id) VALUES (1, 'P-1')",
              "INSERT INTO procedures (id, sop_instance_uid, patient_ref, status, received_at, "
              "study_date, psd_mgy, upper_bound_mgy, new_events) VALUES (1, '1.2.3', 1, "
              "'registered', '2024-01-15T10:00:00Z', '20240115', 40, 55, 2)",
              "INSERT INTO events (event_uid, procedure_ref, plane, skin_dose_mgy, status) VALUES "
              "('1.2.3.1', 1, 'single', 30, 'evaluated')",
              "INSERT INTO events (event_uid, procedure_ref, plane, skin_dose_mgy, status) VALUES "
              "('1.2.3.2', 1, 'single', 25, 'evaluated')",
              "INSERT INTO alerts (patient_ref, procedure_ref, kind, level_mgy, dose_mgy, "
              "created_at, message) VALUES (1, 1, 'procedure', 30, 40, '2024-01-15T10:00:00Z', "
              "'m')"})
            ASSERT_TRUE(q.exec(row)) << row << q.lastError().text().toStdString();
        db.close();
    }
    QSqlDatabase::removeDatabase("fixture");
}

ProcedureRecord Repeating(const std::string& sop, const std::string& serial) {
    ProcedureRecord r;
    r.SopInstanceUid = sop;
    r.PatientId = "P-1";
    r.StudyDate = "20240116";
    r.DeviceSerial = serial;
    r.Events = {{"1.2.3.1", "single", "fluoroscopy", "", 1, 1, 80, 30, "evaluated", ""}};
    return r;
}

TEST(RegistryMigration, EachEarlierSchemaOpensAtTheLatestWithEverythingKept) {
    for (const int version : {1, 2}) {
        QTemporaryDir dir;
        const QString path = dir.filePath("registry.sqlite");
        WriteFixture(path, version);
        auto opened = Registry::Open(path);
        ASSERT_TRUE(opened) << version << opened.error().what();
        Registry& registry = **opened;
        EXPECT_EQ(registry.SchemaVersion(), LatestSchemaVersion()) << version;
        const auto shown = registry.Show("1.2.3");
        ASSERT_TRUE(shown && *shown) << version;
        ASSERT_EQ((*shown)->Record.Events.size(), 2u) << version;
        EXPECT_EQ((*shown)->Record.Events[1].Uid, "1.2.3.2");
        EXPECT_EQ((*shown)->Summary.NewEvents, 2);
        const auto alerts = registry.Alerts();
        ASSERT_TRUE(alerts && alerts->size() == 1u) << version;
        EXPECT_TRUE((*alerts)[0].Announced) << "an alert of before was told when it was raised";
        // The old event's UID under a device's serial is another event (the old row has no
        // device); the same device sending it again is not.
        ASSERT_TRUE(registry.Register(Repeating("1.2.4", "SN-1")));
        ASSERT_TRUE(registry.Register(Repeating("1.2.5", "SN-1")));
        ASSERT_TRUE(registry.Register(Repeating("1.2.6", "SN-2")));
        const auto list = registry.List();
        ASSERT_TRUE(list && list->size() == 4u) << version;
        EXPECT_EQ((*list)[1].NewEvents, 1) << version;
        EXPECT_EQ((*list)[2].NewEvents, 0) << version;
        EXPECT_EQ((*list)[3].NewEvents, 1) << version;
        opened->reset();
    }
}

}  // namespace
}  // namespace ordevo::registry
