// The registry's schema as numbered migrations, applied in order from the first schema on, each
// in its own transaction, so a registry of any earlier version is brought up to date.
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

class QSqlDatabase;

namespace ordevo::registry {

struct Migration {
    int Version;
    QStringList Statements;  // with {id}, {real} and {blob} standing for the driver's types
};

const std::vector<Migration>& Migrations();
int LatestSchemaVersion();

// The statement with the column types of the database's driver (SQLite or PostgreSQL).
QString ForDriver(QString statement, const QSqlDatabase& db);

// Applies what is missing; false with the reason in *error, the registry as it was.
bool Migrate(QSqlDatabase& db, QString* error);

// The version the registry is at; 0 for an empty database.
int SchemaVersion(QSqlDatabase& db);

}  // namespace ordevo::registry
