// A PostgreSQL server of the test's own: a new cluster in a temporary folder (Debian's
// postgresql), on a free loopback port, trusting local connections, removed at the end. Run as
// "nobody" when the test runs as root (the server refuses root).
#pragma once

#include <QString>
#include <QTemporaryDir>

namespace ordevo::testing {

class ThrowAwayPostgres {
public:
    ThrowAwayPostgres();
    ~ThrowAwayPostgres();
    ThrowAwayPostgres(const ThrowAwayPostgres&) = delete;
    ThrowAwayPostgres& operator=(const ThrowAwayPostgres&) = delete;

    bool Running() const { return running_; }
    QString Reason() const { return reason_; }  // why it is not running
    // A new, empty database; its "postgresql://" address, or "" with Reason() set.
    QString CreateDatabase(const QString& name);

private:
    bool Run(const QString& tool, const QStringList& arguments);
    QTemporaryDir dir_;
    QString bin_;
    int port_ = 0;
    bool running_ = false;
    QString reason_;
};

}  // namespace ordevo::testing
