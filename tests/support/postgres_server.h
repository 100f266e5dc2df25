// Pecunette — apprendre à remplir un chèque.
// A real PostgreSQL server of the test's own: made with initdb in a temporary
// folder, listening only on a socket in that folder, stopped at the end. Run
// as the `postgres` user when the test runs as root, as PostgreSQL demands.
// The role the program logs in as has a password, found through a .pgpass
// file named by PGPASSFILE, as at a school.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <QVariant>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

class PostgresServer {
public:
    static constexpr const char *Bin = "/usr/lib/postgresql/15/bin/";
    static constexpr int Port = 5432;  // only names the socket file: nothing listens on the network
    static inline const QString Admin = QStringLiteral("pecunette_admin");
    static inline const QString Role = QStringLiteral("ecole");
    static inline const QString Password = QStringLiteral("Ch3que-et-s0us");

    // `durable`: fsync as a real server does (for measures); off in the tests.
    explicit PostgresServer(bool durable = false)
        : m_durable(durable)
    {
        if (!m_dir.isValid()) {
            m_error = QStringLiteral("no temporary folder");
            return;
        }
        if (::geteuid() == 0) {
            const passwd *pw = ::getpwnam("postgres");
            if (!pw) {
                m_error = QStringLiteral("running as root and there is no postgres user to run the server");
                return;
            }
            m_uid = pw->pw_uid;
            m_gid = pw->pw_gid;
            if (::chown(QFile::encodeName(m_dir.path()).constData(), m_uid, m_gid) != 0) {
                m_error = QStringLiteral("cannot give the folder to postgres");
                return;
            }
        }
        if (!run(QStringLiteral("initdb"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-U"), Admin,
                                            QStringLiteral("--no-locale"), QStringLiteral("-E"), QStringLiteral("UTF8"),
                                            QStringLiteral("--no-sync"), QStringLiteral("--auth-local=trust")}))
            return;
        // The administrator by trust, everyone else by password.
        QFile hba(dataDir() + QStringLiteral("/pg_hba.conf"));
        if (!hba.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            hba.write(QStringLiteral("local all %1 trust\nlocal all all scram-sha-256\n").arg(Admin).toUtf8()) < 0) {
            m_error = QStringLiteral("cannot write pg_hba.conf");
            return;
        }
        hba.close();
        if (!start())
            return;
        if (!adminExec(QStringLiteral("postgres"),
                       QStringLiteral("CREATE ROLE %1 LOGIN PASSWORD '%2'").arg(Role, Password)))
            return;
        m_passFile = m_dir.filePath(QStringLiteral("pgpass"));
        QFile pass(m_passFile);
        if (!pass.open(QIODevice::WriteOnly) ||
            pass.write(QStringLiteral("%1:%2:*:%3:%4\n").arg(socketDir()).arg(Port).arg(Role, Password).toUtf8()) < 0) {
            m_error = QStringLiteral("cannot write the .pgpass file");
            return;
        }
        pass.close();
        // libpq ignores a password file others can read.
        ::chmod(QFile::encodeName(m_passFile).constData(), 0600);
        qputenv("PGPASSFILE", QFile::encodeName(m_passFile));
        m_ok = true;
    }

    ~PostgresServer()
    {
        if (m_running)
            run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                                           QStringLiteral("immediate"), QStringLiteral("-w"), QStringLiteral("stop")});
        for (const QString &name : m_adminConnections)
            QSqlDatabase::removeDatabase(name);
    }
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    bool ok() const { return m_ok; }
    QString error() const { return m_error; }
    QString socketDir() const { return m_dir.path(); }
    QString passFile() const { return m_passFile; }

    bool start()
    {
        const QString options =
            QStringLiteral(
                "-k %1 -c listen_addresses='' -p %2 -c fsync=%3 -c synchronous_commit=%3 -c full_page_writes=%3")
                .arg(socketDir())
                .arg(Port)
                .arg(m_durable ? QStringLiteral("on") : QStringLiteral("off"));
        m_running = run(QStringLiteral("pg_ctl"),
                        {QStringLiteral("-D"), dataDir(), QStringLiteral("-l"), m_dir.filePath(QStringLiteral("log")),
                         QStringLiteral("-o"), options, QStringLiteral("-w"), QStringLiteral("-t"),
                         QStringLiteral("30"), QStringLiteral("start")});
        if (!m_running)
            m_error += QStringLiteral("\n") + QString::fromLocal8Bit(readLog());
        return m_running;
    }

    // Stops as an administrator would ("fast": connections are cut).
    bool stop()
    {
        const bool stopped =
            run(QStringLiteral("pg_ctl"), {QStringLiteral("-D"), dataDir(), QStringLiteral("-m"),
                                           QStringLiteral("fast"), QStringLiteral("-w"), QStringLiteral("stop")});
        m_running = !stopped;
        return stopped;
    }

    // A fresh database owned by the program's role.
    bool createDatabase(const QString &name)
    {
        return adminExec(QStringLiteral("postgres"), QStringLiteral("CREATE DATABASE %1 OWNER %2").arg(name, Role));
    }

    bool adminExec(const QString &database, const QString &sql) { return adminQuery(database, sql).isValid(); }

    // The first value of a query run by the administrator (an invalid
    // QVariant on failure; a statement with no result gives `true`).
    QVariant adminQuery(const QString &database, const QString &sql)
    {
        const QString name = QStringLiteral("admin-") + database;
        if (!QSqlDatabase::contains(name)) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
            db.setHostName(socketDir());
            db.setPort(Port);
            db.setDatabaseName(database);
            db.setUserName(Admin);
            m_adminConnections << name;
        }
        QSqlDatabase db = QSqlDatabase::database(name, false);
        // Twice: the connection may be from before a restart of the server.
        for (int attempt = 0; attempt < 2; ++attempt) {
            if (!db.isOpen() && !db.open()) {
                m_error = db.lastError().text();
                return {};
            }
            QSqlQuery q(db);
            if (q.exec(sql)) {
                if (q.isSelect())
                    return q.next() ? q.value(0) : QVariant();
                return true;
            }
            m_error = q.lastError().text();
            q = QSqlQuery();
            db.close();
        }
        return {};
    }

    QByteArray readLog() const
    {
        QFile log(m_dir.filePath(QStringLiteral("log")));
        return log.open(QIODevice::ReadOnly) ? log.readAll().right(2000) : QByteArray();
    }

private:
    QString dataDir() const { return m_dir.filePath(QStringLiteral("data")); }

    bool run(const QString &tool, const QStringList &arguments)
    {
        const QString binary = QString::fromLatin1(Bin) + tool;
        if (!QFile::exists(binary)) {
            m_error = binary + QStringLiteral(" is not there (postgresql-15 not installed?)");
            return false;
        }
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        process.setProcessChannelMode(QProcess::MergedChannels);
        if (::geteuid() == 0)
            process.start(QStringLiteral("runuser"),
                          QStringList {QStringLiteral("-u"), QStringLiteral("postgres"), QStringLiteral("--"), binary} +
                              arguments);
        else
            process.start(binary, arguments);
        // pg_ctl -w returns once the server is up or down; this only bounds a stuck tool.
        if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
            process.exitCode() != 0) {
            m_error =
                tool + QStringLiteral(" failed: ") + QString::fromLocal8Bit(process.readAll()) + process.errorString();
            return false;
        }
        return true;
    }

    QTemporaryDir m_dir;
    QString m_passFile;
    QString m_error;
    QStringList m_adminConnections;
    uid_t m_uid = 0;
    gid_t m_gid = 0;
    bool m_durable = false;
    bool m_ok = false;
    bool m_running = false;
};
