// Pecunette — apprendre à remplir un chèque.
// The school server named in the settings, behind the real windows: the rows
// of a pupil's work reach it from the journal while the exercise goes on, and
// a server that refuses this machine is told once, in French, with the
// exercise and the local journal going on.
#include "../exercise/main_window_fixture.h"
#include "class_journal.h"
#include "postgres_server.h"

#include <QSignalSpy>
#include <QStatusBar>
#include <QtTest>

#include <memory>

class TestSchoolServer : public QObject {
    Q_OBJECT
    std::unique_ptr<PostgresServer> m_server;

    void nameServer(MainWindow &w, const QString &database)
    {
        SettingsStore &settings = w.services.settings;
        settings.Write(Keys::AppPecunette, Keys::SectionServeur, Keys::ServeurHote, m_server->socketDir());
        settings.Write(Keys::AppPecunette, Keys::SectionServeur, Keys::ServeurPort,
                       QString::number(PostgresServer::Port));
        settings.Write(Keys::AppPecunette, Keys::SectionServeur, Keys::ServeurBase, database);
        settings.Write(Keys::AppPecunette, Keys::SectionServeur, Keys::ServeurUtilisateur, PostgresServer::Role);
    }
    qint64 rowsOn(const QString &database) const
    {
        return m_server->adminQuery(database, QStringLiteral("SELECT count(*) FROM evenement")).toLongLong();
    }

private Q_SLOTS:
    void initTestCase()
    {
        isolateSettings();
        m_server = std::make_unique<PostgresServer>();
        QVERIFY2(m_server->ok(),
                 qPrintable(QStringLiteral("the test's PostgreSQL server did not start: ") + m_server->error()));
        QVERIFY2(m_server->createDatabase(QStringLiteral("classe")), qPrintable(m_server->error()));
    }
    void cleanupTestCase() { m_server.reset(); }
    void init() { clearSettings(); }

    void thePupilsRowsReachTheServer()
    {
        QTemporaryDir dir;
        MainWindow w;
        nameServer(w, QStringLiteral("classe"));
        const std::optional<ServerAddress> server = ServerAddress::from(w.services.settings);
        QVERIFY(server);
        ClassJournal journal(w.state, w.services.services, dir.filePath(QStringLiteral("journal.sqlite")));
        journal.attach(w.history(), *w.frm);
        journal.forwardTo(*server);
        QSignalSpy written(&journal, &ClassJournal::written);
        journal.start();
        w.newCheque(QStringLiteral("un franc"));
        w.completeCheque();
        // The grid holds a title row.
        QTRY_COMPARE_WITH_TIMEOUT(written.size(), w.rows() - 1, 10000);
        QTRY_COMPARE_WITH_TIMEOUT(rowsOn(QStringLiteral("classe")), written.size(), 10000);
        QVERIFY(w.services.prompts.shown.isEmpty());
    }

    void aRefusingServerIsToldOnceAndTheExerciseGoesOn()
    {
        QTemporaryDir dir;
        MainWindow w;
        nameServer(w, QStringLiteral("absente"));
        ClassJournal journal(w.state, w.services.services, dir.filePath(QStringLiteral("journal.sqlite")));
        journal.attach(w.history(), *w.frm);
        journal.forwardTo(*ServerAddress::from(w.services.settings));
        QSignalSpy problem(&journal, &ClassJournal::serverProblem);
        QSignalSpy written(&journal, &ClassJournal::written);
        journal.start();
        QVERIFY(problem.wait(10000));
        w.newCheque(QStringLiteral("un franc"));
        w.completeCheque();
        // The grid holds a title row.
        QTRY_COMPARE_WITH_TIMEOUT(written.size(), w.rows() - 1, 10000);
        QCOMPARE(problem.size(), 1);
        QCOMPARE(w.services.prompts.shown.size(), 1);
        QVERIFY2(w.services.prompts.shown.first().text.contains(QStringLiteral("« absente » n'existe pas")),
                 qPrintable(w.services.prompts.shown.first().text));
        QVERIFY(w.frm->statusBar()->currentMessage().contains(QStringLiteral("Serveur de l'école")));
    }
};

QTEST_MAIN(TestSchoolServer)
#include "test_school_server.moc"
