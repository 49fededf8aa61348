#include "throwaway_postgres.h"

#include <pwd.h>
#include <unistd.h>

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include "free_port.h"

namespace ordevo::testing {

namespace {

constexpr const char* kUser = "ordevo";

}  // namespace

ThrowAwayPostgres::ThrowAwayPostgres() {
    // The newest installed server's tools.
    const QStringList versions =
        QDir("/usr/lib/postgresql").entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& version : versions)
        if (QFile::exists("/usr/lib/postgresql/" + version + "/bin/initdb"))
            bin_ = "/usr/lib/postgresql/" + version + "/bin/";
    if (bin_.isEmpty()) {
        reason_ = "PostgreSQL's server is not installed (package postgresql)";
        return;
    }
    if (!QSqlDatabase::isDriverAvailable("QPSQL")) {
        reason_ = "Qt's PostgreSQL driver is not installed (package libqt6sql6-psql)";
        return;
    }
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (!nobody ||
            ::chown(dir_.path().toLocal8Bit().constData(), nobody->pw_uid, nobody->pw_gid) != 0) {
            reason_ = "running as root, and the folder cannot be handed to the user nobody";
            return;
        }
    }
    port_ = FreeLoopbackPort();
    if (!Run("initdb", {"-D", dir_.filePath("data"), "-U", kUser, "--auth=trust", "-N", "-E",
                        "UTF8", "--locale=C"}))
        return;
    if (!Run("pg_ctl", {"-D", dir_.filePath("data"), "-l", dir_.filePath("server.log"), "-w", "-t",
                        "30", "-o",
                        QString("-p %1 -k %2 -c listen_addresses=127.0.0.1 -c fsync=off")
                            .arg(port_)
                            .arg(dir_.path()),
                        "start"}))
        return;
    running_ = true;
}

ThrowAwayPostgres::~ThrowAwayPostgres() {
    if (running_) Run("pg_ctl", {"-D", dir_.filePath("data"), "-m", "immediate", "-w", "stop"});
}

bool ThrowAwayPostgres::Run(const QString& tool, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (::geteuid() == 0)
        process.start("runuser", QStringList{"-u", "nobody", "--", bin_ + tool} + arguments);
    else
        process.start(bin_ + tool, arguments);
    if (process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return true;
    reason_ = tool + " failed: " + QString::fromLocal8Bit(process.readAll()).trimmed();
    return false;
}

QString ThrowAwayPostgres::CreateDatabase(const QString& name) {
    const QString address = QString("postgresql://%1@127.0.0.1:%2/").arg(kUser).arg(port_);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QPSQL", "throw-away-server");
        db.setHostName("127.0.0.1");
        db.setPort(port_);
        db.setUserName(kUser);
        db.setDatabaseName("postgres");
        if (!db.open()) {
            reason_ = "the server does not answer: " + db.lastError().text();
        } else if (QSqlQuery query(db); !query.exec("CREATE DATABASE " + name)) {
            reason_ = "CREATE DATABASE failed: " + query.lastError().text();
        }
    }
    QSqlDatabase::removeDatabase("throw-away-server");
    return reason_.isEmpty() ? address + name : QString();
}

}  // namespace ordevo::testing
