// Pecunette — apprendre à remplir un chèque.
// The journal's rows going to a real school server (PostgreSQL, started by the
// test): every row arrives once, from one machine or two at a time, across a
// server that stops and comes back, and across a restart of the program; a
// server that refuses is told in French and the local journal goes on.
#include "journal_test_support.h"
#include "postgres_server.h"
#include "server_forwarder.h"
#include "services.h"
#include "settings_keys.h"

#include <QSet>
#include <QThread>
#include <QtTest>

#include <map>
#include <memory>

namespace {
const QDateTime Now(QDate(2026, 12, 11), QTime(15, 0, 0));

// A settings store in memory, for the reading of the server's address.
class MapSettings final : public SettingsStore {
public:
    std::map<QString, QString> values;
    QString Read(const QString &, const QString &section, const QString &key,
                 const QString &defaultValue) const override
    {
        const auto it = values.find(section + QLatin1Char('/') + key);
        return it == values.end() ? defaultValue : it->second;
    }
    void Write(const QString &, const QString &section, const QString &key, const QString &value) override
    {
        values[section + QLatin1Char('/') + key] = value;
    }
};

// One machine: its local journal written by the journal's writer, and a
// forwarder on a thread of its own, woken by each row written, as in the program.
class Machine {
public:
    Machine(const QString &path, const ServerAddress &server, QObject *context)
        : recorder(path)
        , forwarder(new ServerForwarder(path, server))
    {
        forwarder->setRetryIntervals(50, 400);
        forwarder->setRowsPerBatch(64);
        forwarder->setConnectTimeout(2);
        forwarder->moveToThread(&thread);
        QObject::connect(&thread, &QThread::finished, forwarder, &QObject::deleteLater);
        QObject::connect(&recorder, &JournalRecorder::written, forwarder, &ServerForwarder::wake);
        QObject::connect(forwarder, &ServerForwarder::problem, context,
                         [this](PostgresJournal::Problem kind, const QString &message) {
                             problems << std::make_pair(kind, message);
                         });
        QObject::connect(forwarder, &ServerForwarder::reachableAgain, context, [this] { ++reachableAgain; });
        thread.start();
        recorder.start();
    }
    ~Machine()
    {
        QMetaObject::invokeMethod(forwarder, &ServerForwarder::finish, Qt::BlockingQueuedConnection);
        thread.quit();
        thread.wait();
        recorder.finish();
    }
    Machine(const Machine &) = delete;
    Machine &operator=(const Machine &) = delete;

    QList<JournalEvent> write(int count, const QString &label)
    {
        QList<JournalEvent> written;
        for (int i = 0; i < count; ++i) {
            ++made;
            written << sampleEvent(session, made, label + QString::number(made));
            recorder.record(written.last());
        }
        return written;
    }
    void retryNow() { QMetaObject::invokeMethod(forwarder, &ServerForwarder::retry, Qt::BlockingQueuedConnection); }

    JournalRecorder recorder;
    JournalSession session;
    int made = 0;
    QThread thread;
    ServerForwarder *forwarder;
    QList<std::pair<PostgresJournal::Problem, QString>> problems;
    int reachableAgain = 0;
};

QStringList idsOf(const QList<JournalEvent> &events)
{
    QStringList ids;
    for (const JournalEvent &e : events)
        ids << e.id;
    return ids;
}

QList<JournalEvent> localEvents(const QString &path)
{
    SqliteJournal journal;
    return journal.open(path, Now).ok ? journal.events() : QList<JournalEvent>();
}
}  // namespace

class TestServerForwarding : public QObject {
    Q_OBJECT

    std::unique_ptr<PostgresServer> m_server;
    int m_databases = 0;

    ServerAddress freshDatabase()
    {
        const QString name = QStringLiteral("classe%1").arg(++m_databases);
        if (!m_server->createDatabase(name))
            qWarning("%s", qPrintable(m_server->error()));
        return ServerAddress {m_server->socketDir(), PostgresServer::Port, name, PostgresServer::Role};
    }
    qint64 rowsOn(const ServerAddress &a) const
    {
        return m_server->adminQuery(a.database, QStringLiteral("SELECT count(*) FROM evenement")).toLongLong();
    }
    qint64 idsOn(const ServerAddress &a) const
    {
        return m_server->adminQuery(a.database, QStringLiteral("SELECT count(DISTINCT id) FROM evenement"))
            .toLongLong();
    }
    QList<JournalEvent> readServer(const ServerAddress &a)
    {
        PostgresJournal reader;
        const PostgresJournal::Opening opening = reader.open(a);
        return opening.ok ? reader.events() : QList<JournalEvent>();
    }

private Q_SLOTS:
    void initTestCase()
    {
        m_server = std::make_unique<PostgresServer>();
        QVERIFY2(m_server->ok(),
                 qPrintable(QStringLiteral("the test's PostgreSQL server did not start: ") + m_server->error()));
    }
    void cleanupTestCase() { m_server.reset(); }

    void theServerIsReadFromTheSettings_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("base");
        QTest::addColumn<QString>("user");
        QTest::addColumn<bool>("named");
        QTest::addColumn<int>("expectedPort");
        QTest::newRow("all given") << "ecole.lan"
                                   << "5433"
                                   << "classe"
                                   << "ecole" << true << 5433;
        QTest::newRow("no port: 5432") << "10.0.0.2"
                                       << ""
                                       << "classe"
                                       << "ecole" << true << 5432;
        QTest::newRow("a socket folder") << "/run/postgresql"
                                         << " 5432 "
                                         << "classe"
                                         << "ecole" << true << 5432;
        QTest::newRow("nothing") << ""
                                 << ""
                                 << ""
                                 << "" << false << 0;
        QTest::newRow("no database") << "ecole.lan"
                                     << ""
                                     << ""
                                     << "ecole" << false << 0;
        QTest::newRow("no user") << "ecole.lan"
                                 << ""
                                 << "classe"
                                 << "" << false << 0;
        QTest::newRow("port out of range") << "ecole.lan"
                                           << "70000"
                                           << "classe"
                                           << "ecole" << false << 0;
        QTest::newRow("port not a number") << "ecole.lan"
                                           << "cinq"
                                           << "classe"
                                           << "ecole" << false << 0;
        QTest::newRow("blanks around the host") << " ecole.lan"
                                                << ""
                                                << "classe"
                                                << "ecole" << false << 0;
        QTest::newRow("a line break in the database") << "ecole.lan"
                                                      << ""
                                                      << "classe\nsslmode=disable"
                                                      << "ecole" << false << 0;
    }
    void theServerIsReadFromTheSettings()
    {
        QFETCH(QString, host);
        QFETCH(QString, port);
        QFETCH(QString, base);
        QFETCH(QString, user);
        QFETCH(bool, named);
        QFETCH(int, expectedPort);
        MapSettings settings;
        settings.Write(Keys::AppPecunette, Keys::SectionServeur, Keys::ServeurHote, host);
        settings.Write(Keys::AppPecunette, Keys::SectionServeur, Keys::ServeurPort, port);
        settings.Write(Keys::AppPecunette, Keys::SectionServeur, Keys::ServeurBase, base);
        settings.Write(Keys::AppPecunette, Keys::SectionServeur, Keys::ServeurUtilisateur, user);
        const std::optional<ServerAddress> address = ServerAddress::from(settings);
        QCOMPARE(address.has_value(), named);
        if (named)
            QCOMPARE(*address, (ServerAddress {host, expectedPort, base, user}));
    }

    // Every row arrives once, whole, whether it is the first sending, a restart
    // resuming at its mark, or a restart that lost its mark (a crash between
    // the server's commit and the mark): then the rows go again and are passed over.
    void aJournalsRowsArriveOnce_data()
    {
        QTest::addColumn<QString>("restart");
        QTest::newRow("one run") << "";
        QTest::newRow("a restart resumes at the mark") << "mark kept";
        QTest::newRow("a restart that lost its mark") << "mark lost";
    }
    void aJournalsRowsArriveOnce()
    {
        QFETCH(QString, restart);
        const ServerAddress server = freshDatabase();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        {
            Machine machine(path, server, this);
            machine.write(300, QStringLiteral("a"));
            QTRY_COMPARE_WITH_TIMEOUT(rowsOn(server), 300, 15000);
            QVERIFY(machine.problems.isEmpty());
            if (!restart.isEmpty())
                machine.write(20, QStringLiteral("b"));
        }
        qint64 expected = restart.isEmpty() ? 300 : 320;
        if (restart == QStringLiteral("mark lost")) {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("mark"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("UPDATE envoi SET dernier_rang = 0")));
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(QStringLiteral("mark"));
        }
        if (!restart.isEmpty()) {
            Machine again(path, server, this);
            again.write(5, QStringLiteral("c"));
            expected += 5;
            QTRY_COMPARE_WITH_TIMEOUT(rowsOn(server), expected, 15000);
            QVERIFY(again.problems.isEmpty());
        }
        const QList<JournalEvent> local = localEvents(path);
        QCOMPARE(local.size(), expected);
        QCOMPARE(idsOn(server), expected);
        // Every field as it was written here, in the order it was written.
        QCOMPARE(readServer(server), local);
        SqliteJournal journal;
        QVERIFY(journal.open(path, Now).ok);
        QCOMPARE(journal.forwardedUpTo(server.name()), std::optional<qint64>(expected));
    }

    // Two machines writing and forwarding at once to a new server, both making
    // its tables at the same moment: every row of both there, once.
    void twoMachinesForwardingAtOnce()
    {
        const ServerAddress server = freshDatabase();
        QTemporaryDir dir;
        QList<JournalEvent> written;
        {
            Machine one(dir.filePath(QStringLiteral("poste1.sqlite")), server, this);
            Machine two(dir.filePath(QStringLiteral("poste2.sqlite")), server, this);
            for (int round = 0; round < 10; ++round) {
                written << one.write(40, QStringLiteral("un"));
                written << two.write(40, QStringLiteral("deux"));
                QCoreApplication::processEvents();
            }
            QTRY_COMPARE_WITH_TIMEOUT(rowsOn(server), written.size(), 20000);
            QVERIFY(one.problems.isEmpty());
            QVERIFY(two.problems.isEmpty());
        }
        QCOMPARE(idsOn(server), written.size());
        QStringList sent = idsOf(written);
        QStringList there = idsOf(readServer(server));
        sent.sort();
        there.sort();
        QCOMPARE(there, sent);
    }

    // The server stops in the middle of a series: the rows wait in the local
    // journal, the trouble is told once, and when the server is back every row
    // arrives exactly once.
    void aServerThatStopsAndComesBackGetsEveryRowOnce()
    {
        const ServerAddress server = freshDatabase();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        Machine machine(path, server, this);
        machine.write(100, QStringLiteral("avant"));
        QTRY_COMPARE_WITH_TIMEOUT(rowsOn(server), 100, 15000);

        QVERIFY2(m_server->stop(), qPrintable(m_server->error()));
        machine.write(150, QStringLiteral("pendant"));
        QTRY_COMPARE_WITH_TIMEOUT(machine.problems.size(), 1, 15000);
        QCOMPARE(machine.problems.first().first, PostgresJournal::Problem::Unreachable);
        QVERIFY2(machine.problems.first().second.contains(QStringLiteral("ne répond")),
                 qPrintable(machine.problems.first().second));
        QCOMPARE(machine.recorder.pending(), 0);  // the local journal goes on
        QCOMPARE(localEvents(path).size(), 250);
        machine.retryNow();
        machine.retryNow();
        QCoreApplication::processEvents();
        QCOMPARE(machine.problems.size(), 1);  // told once

        QVERIFY2(m_server->start(), qPrintable(m_server->error()));
        machine.write(50, QStringLiteral("apres"));
        QTRY_COMPARE_WITH_TIMEOUT(rowsOn(server), 300, 15000);
        QTRY_COMPARE_WITH_TIMEOUT(machine.reachableAgain, 1, 5000);
        QCOMPARE(idsOn(server), 300);
        QCOMPARE(readServer(server), localEvents(path));
    }

    // A server that refuses this machine: a clear French message, once; the
    // local journal keeps every row; nothing is written on the server.
    void aRefusingServerIsToldAndTheJournalGoesOn_data()
    {
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<PostgresJournal::Problem>("problem");
        QTest::addColumn<QString>("says");
        QTest::newRow("wrong password") << "password" << PostgresJournal::Problem::Password << "mot de passe";
        QTest::newRow("no password in .pgpass") << "none" << PostgresJournal::Problem::Password << "mot de passe";
        QTest::newRow("unknown user") << "user" << PostgresJournal::Problem::Password << "utilisateur";
        QTest::newRow("missing database") << "database" << PostgresJournal::Problem::MissingDatabase << "n'existe pas";
        QTest::newRow("no server at that place") << "place" << PostgresJournal::Problem::Unreachable << "ne répond";
    }
    void aRefusingServerIsToldAndTheJournalGoesOn()
    {
        QFETCH(QString, refusal);
        QFETCH(PostgresJournal::Problem, problem);
        QFETCH(QString, says);
        ServerAddress server = freshDatabase();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        const QByteArray goodPassFile = qgetenv("PGPASSFILE");
        const QString wrongPassFile = dir.filePath(QStringLiteral("pgpass"));
        QFile pass(wrongPassFile);
        QVERIFY(pass.open(QIODevice::WriteOnly));
        if (refusal == QStringLiteral("password"))
            pass.write(QStringLiteral("*:*:*:%1:pas-le-bon\n").arg(PostgresServer::Role).toUtf8());
        pass.close();
        QFile::setPermissions(wrongPassFile, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        if (refusal == QStringLiteral("password") || refusal == QStringLiteral("none"))
            qputenv("PGPASSFILE", QFile::encodeName(wrongPassFile));
        if (refusal == QStringLiteral("user"))
            server.user = QStringLiteral("inconnu");
        if (refusal == QStringLiteral("database"))
            server.database = QStringLiteral("absente");
        if (refusal == QStringLiteral("place"))
            server.host = dir.path();
        {
            Machine machine(path, server, this);
            machine.write(30, QStringLiteral("r"));
            QTRY_COMPARE_WITH_TIMEOUT(machine.problems.size(), 1, 15000);
            machine.write(10, QStringLiteral("s"));
            machine.retryNow();
            machine.retryNow();
            QCoreApplication::processEvents();
            qputenv("PGPASSFILE", goodPassFile);
            QCOMPARE(machine.problems.size(), 1);
            QCOMPARE(machine.problems.first().first, problem);
            QVERIFY2(machine.problems.first().second.contains(says), qPrintable(machine.problems.first().second));
            QVERIFY2(machine.problems.first().second.contains(QStringLiteral("restent dans le journal de ce poste")),
                     qPrintable(machine.problems.first().second));
            QCOMPARE(machine.recorder.pending(), 0);
            QVERIFY(!machine.recorder.failing());
        }
        qputenv("PGPASSFILE", goodPassFile);
        QCOMPARE(localEvents(path).size(), 40);
        if (refusal != QStringLiteral("database"))
            QVERIFY(!m_server
                         ->adminQuery(QStringLiteral("classe%1").arg(m_databases),
                                      QStringLiteral("SELECT to_regclass('evenement') IS NOT NULL"))
                         .toBool());
    }

    // A server whose tables a newer program made is refused and not touched;
    // the rows wait here.
    void aNewerServerIsRefusedUntouched()
    {
        const ServerAddress server = freshDatabase();
        QVERIFY(
            m_server->adminExec(server.database, QStringLiteral("CREATE TABLE pecunette_schema (version INTEGER)")));
        QVERIFY(m_server->adminExec(server.database, QStringLiteral("INSERT INTO pecunette_schema VALUES (99)")));
        QVERIFY(m_server->adminExec(server.database, QStringLiteral("CREATE TABLE evenement_v99 (id TEXT)")));
        QVERIFY(m_server->adminExec(
            server.database, QStringLiteral("ALTER TABLE pecunette_schema OWNER TO %1").arg(PostgresServer::Role)));
        const auto tables = [&] {
            return m_server
                ->adminQuery(server.database,
                             QStringLiteral("SELECT string_agg(tablename, ',' ORDER BY tablename) FROM "
                                            "pg_tables WHERE schemaname = 'public'"))
                .toString();
        };
        const QString before = tables();
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        {
            Machine machine(path, server, this);
            machine.write(12, QStringLiteral("n"));
            QTRY_COMPARE_WITH_TIMEOUT(machine.problems.size(), 1, 15000);
            QCOMPARE(machine.problems.first().first, PostgresJournal::Problem::NewerSchema);
            QVERIFY2(machine.problems.first().second.contains(QStringLiteral("version plus récente")),
                     qPrintable(machine.problems.first().second));
        }
        QCOMPARE(tables(), before);
        QCOMPARE(
            m_server->adminQuery(server.database, QStringLiteral("SELECT max(version) FROM pecunette_schema")).toInt(),
            99);
        QCOMPARE(localEvents(path).size(), 12);
    }

    // The overview read from the server: every machine's rows of a pupil, in
    // the order they happened, and one line per pupil over all machines.
    void theOverviewReadsEveryMachine()
    {
        const ServerAddress server = freshDatabase();
        QTemporaryDir dir;
        auto event = [](JournalSession &session, int minute, const QString &nom, const QString &prenom,
                        HistoryEventKind kind, std::optional<double> mark = std::nullopt) {
            JournalEvent e = sampleEvent(session, minute);
            e.moment = QStringLiteral("2026-12-09T10:%1:00+01:00").arg(minute, 2, 10, QLatin1Char('0'));
            e.nom = nom;
            e.prenom = prenom;
            e.nomKey = matchingKey(nom);
            e.prenomKey = matchingKey(prenom);
            e.kind = kind;
            e.blockRight = kind == HistoryEventKind::Drop ? std::optional<bool>(minute % 2 == 0) : std::nullopt;
            e.mark = mark;
            return e;
        };
        JournalSession a;
        JournalSession b;
        JournalEvent quoted = event(a, 1, QStringLiteral("Dupont"), QStringLiteral("Léa"), HistoryEventKind::Drop);
        // Quotes, backslashes and what looks like SQL are text like any other.
        quoted.text = QStringLiteral("l'élève a dit \"non\" \\' ; DROP TABLE evenement; -- 💶 $$");
        const QList<JournalEvent> first {
            quoted, event(a, 3, QStringLiteral("Dupont"), QStringLiteral("Léa"), HistoryEventKind::ChequeEnd),
            event(a, 4, QStringLiteral("Dupont"), QStringLiteral("Léa"), HistoryEventKind::Mark, 15.0),
            event(a, 9, QStringLiteral("DUPONT "), QStringLiteral("léa"), HistoryEventKind::Mark, 12.0)};
        const QList<JournalEvent> second {
            event(b, 5, QStringLiteral("Martin"), QStringLiteral("Paul"), HistoryEventKind::Drop),
            event(b, 6, QStringLiteral("Dupond"), QStringLiteral("Lea"), HistoryEventKind::ChequeEnd),
            event(b, 7, QStringLiteral("dupont"), QStringLiteral("Léa"), HistoryEventKind::Drop),
            event(b, 8, QStringLiteral("Dupont"), QStringLiteral("Léa"), HistoryEventKind::ChequeEnd)};
        // The second machine's rows reach the server first.
        PostgresJournal writer;
        QVERIFY2(writer.open(server).ok, qPrintable(writer.lastError()));
        QVERIFY(writer.appendAll(second));
        QVERIFY(writer.appendAll(first));
        QVERIFY(writer.appendAll(first));  // sent again: passed over

        QCOMPARE(writer.events().size(), 8);
        QCOMPARE(writer.events(2, 3), (QList<JournalEvent> {second.at(2), second.at(3), first.at(0)}));
        QCOMPARE(
            writer.eventsOfPupil(QStringLiteral(" dupont"), QStringLiteral("LÉA")),
            (QList<JournalEvent> {first.at(0), first.at(1), first.at(2), second.at(2), second.at(3), first.at(3)}));
        const QList<PupilSummary> summary = writer.classSummary();
        QCOMPARE(summary.size(), 3);
        const PupilSummary lea {QStringLiteral("dupont"),
                                QStringLiteral("léa"),
                                QStringLiteral("DUPONT "),
                                QStringLiteral("léa"),
                                2,
                                2,
                                2,
                                12.0,
                                13.5,
                                first.at(3).moment};
        QCOMPARE(summary.at(0).nomKey, QStringLiteral("dupond"));
        QCOMPARE(summary.at(1), lea);
        QCOMPARE(summary.at(2).nomKey, QStringLiteral("martin"));
        QCOMPARE(summary.at(2).errors, 1);

        // Over a span of days, and the teacher's corrections, on the server as on a journal.
        const QDate day(2026, 12, 9);
        QCOMPARE(writer.classSummary(DayRange {day, day}), summary);
        QVERIFY(writer.classSummary(DayRange {day.addDays(1), QDate()}).isEmpty());
        QCOMPARE(writer.eventsOfKind(HistoryEventKind::Mark, DayRange {}).size(), 2);
        QCOMPARE(writer.eventsOfPupil(QStringLiteral("Dupont"), QStringLiteral("Léa"), DayRange {QDate(), day}).size(),
                 6);
        QCOMPARE(writer.rowsOfPupil(QStringLiteral("dupont"), QStringLiteral("léa")), 6);
        QCOMPARE(writer.mergePupils(QStringLiteral("Dupond"), QStringLiteral("Lea"), QStringLiteral("Dupont"),
                                    QStringLiteral("Léa")),
                 1);
        QCOMPARE(writer.rowsOfPupil(QStringLiteral("dupont"), QStringLiteral("léa")), 7);
        QCOMPARE(writer.renamePupil(QStringLiteral("Martin"), QStringLiteral("Paul"), QStringLiteral("Martin"),
                                    QStringLiteral("Pierre")),
                 1);
        QCOMPARE(writer.classSummary().at(1).prenom, QStringLiteral("Pierre"));
        QCOMPARE(writer.deletePupil(QStringLiteral("martin"), QStringLiteral("pierre")), 1);
        QCOMPARE(writer.classSummary().size(), 1);
        QCOMPARE(writer.events().size(), 7);
    }
};

QTEST_GUILESS_MAIN(TestServerForwarding)
#include "test_server_forwarding.moc"
