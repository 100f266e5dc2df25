// Pecunette — apprendre à remplir un chèque.
// How long 10 000 rows waiting in a local journal take to reach the school
// server: a PostgreSQL server of its own on this machine, writing to disk as a
// real one does. Goal: under 2 s.
#include "journal_recorder.h"
#include "postgres_server.h"
#include "server_forwarder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QUuid>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    constexpr int Rows = 10000;
    PostgresServer server(true);
    if (!server.ok() || !server.createDatabase(QStringLiteral("classe"))) {
        std::fprintf(stderr, "bench_forward: no PostgreSQL server: %s\n", qPrintable(server.error()));
        return 1;
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
    {
        SqliteJournal journal;
        if (!journal.open(path, QDateTime::currentDateTime()).ok)
            return 1;
        JournalSession session;
        for (int n = 0; n < Rows; ++n) {
            JournalEvent e;
            e.moment = isoWithOffset(QDateTime::currentDateTime());
            e.nom = QStringLiteral("Dupont");
            e.prenom = QStringLiteral("Léa");
            e.nomKey = matchingKey(e.nom);
            e.prenomKey = matchingKey(e.prenom);
            e.kind = HistoryEventKind::Drop;
            e.text = QStringLiteral("Bloc « mille » déposé");
            e.amount = 4521;
            e.expected = QStringLiteral("quatre mille cinq cent vingt et un francs");
            e.block = QStringLiteral("mille");
            e.blockRight = n % 3 != 0;
            e.series = 1 + n / 50;
            e.currency = QStringLiteral("franc");
            e.maxAmount = 9999;
            e.chequesPerSeries = 5;
            session.stamp(e, n);
            if (!journal.append(e))
                return 1;
        }
    }
    const ServerAddress address {server.socketDir(), PostgresServer::Port, QStringLiteral("classe"),
                                 PostgresServer::Role};
    for (const bool tablesThere : {false, true}) {
        if (tablesThere)
            server.adminExec(QStringLiteral("classe"), QStringLiteral("TRUNCATE evenement"));
        QTemporaryDir copyDir;
        const QString copy = copyDir.filePath(QStringLiteral("journal.sqlite"));
        QFile::copy(path, copy);
        ServerForwarder forwarder(copy, address);
        QEventLoop loop;
        QObject::connect(&forwarder, &ServerForwarder::caughtUp, &loop, &QEventLoop::quit);
        QObject::connect(&forwarder, &ServerForwarder::problem, &loop,
                         [&loop](PostgresJournal::Problem, const QString &message) {
                             std::fprintf(stderr, "%s\n", qPrintable(message));
                             loop.exit(1);
                         });
        QElapsedTimer timer;
        timer.start();
        QTimer::singleShot(0, &forwarder, &ServerForwarder::wake);
        if (loop.exec() != 0)
            return 1;
        const qint64 ms = timer.elapsed();
        const qint64 there =
            server.adminQuery(QStringLiteral("classe"), QStringLiteral("SELECT count(*) FROM evenement")).toLongLong();
        std::printf("%d rows forwarded (%s): %lld ms, %lld on the server (goal < 2000 ms)\n", Rows,
                    tablesThere ? "tables already there" : "tables made first", static_cast<long long>(ms),
                    static_cast<long long>(there));
        if (there != Rows)
            return 1;
    }
    return 0;
}
