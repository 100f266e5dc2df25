// Pecunette — apprendre à remplir un chèque.
// The journal's writer on real places that refuse it: rows wait in memory
// until the journal is open, the refusal is said once, and when the place takes
// writes again the kept rows go in, in order, each once.
#include "journal_test_support.h"

#include <QSignalSpy>
#include <QtTest>

#include <sys/stat.h>

namespace {
const QDateTime Now(QDate(2026, 12, 11), QTime(15, 0, 0));

// Reads the journal back with a store of its own.
QList<JournalEvent> readBack(const QString &path)
{
    SqliteJournal journal;
    return journal.open(path, Now).ok ? journal.events() : QList<JournalEvent>();
}

QStringList idsOf(const QList<JournalEvent> &events)
{
    QStringList ids;
    for (const JournalEvent &e : events)
        ids << e.id;
    return ids;
}
}  // namespace

enum class Refusal { MissingFolder, ReadOnlyFolder, FullDisk };
Q_DECLARE_METATYPE(Refusal)

class TestJournalRecorder : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rowsWaitUntilTheJournalIsStarted()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        JournalRecorder recorder(path);
        JournalSession session;
        QList<JournalEvent> sent;
        for (int i = 1; i <= 3; ++i) {
            sent << sampleEvent(session, i);
            recorder.record(sent.last());
        }
        QVERIFY(!QFileInfo::exists(path));
        QCOMPARE(recorder.pending(), 3);
        QSignalSpy written(&recorder, &JournalRecorder::written);
        recorder.start();
        QCOMPARE(written.size(), 3);
        sent << sampleEvent(session, 4);
        recorder.record(sent.last());
        QCOMPARE(recorder.pending(), 0);
        recorder.finish();
        QCOMPARE(readBack(path), sent);
    }

    // A place that refuses the journal never loses a row: said once, kept, and
    // written when the place takes writes again.
    void aRefusedJournalKeepsItsRowsUntilItCanWrite_data()
    {
        QTest::addColumn<Refusal>("refusal");
        QTest::newRow("folder missing and not creatable") << Refusal::MissingFolder;
        QTest::newRow("read-only folder") << Refusal::ReadOnlyFolder;
        QTest::newRow("full disk") << Refusal::FullDisk;
    }
    void aRefusedJournalKeepsItsRowsUntilItCanWrite()
    {
        QFETCH(Refusal, refusal);
        TestMount mount(2 * 1024 * 1024);
        QTemporaryDir plain;
        QString path;
        std::function<void()> refuse;
        std::function<void()> allow;
        switch (refusal) {
        case Refusal::MissingFolder: {
            // A file stands where the folder should be made: no user may make it.
            const QString blocker = plain.filePath(QStringLiteral("classe"));
            path = blocker + QStringLiteral("/journal.sqlite");
            refuse = [blocker] {
                QFile file(blocker);
                QVERIFY(file.open(QIODevice::WriteOnly));
            };
            allow = [blocker] { QVERIFY(QFile::remove(blocker)); };
            break;
        }
        case Refusal::ReadOnlyFolder:
            // Read-only from the start: the journal cannot even be made.
            if (mount.mounted()) {
                path = mount.path() + QStringLiteral("/journal.sqlite");
                refuse = [&mount] { QVERIFY(mount.setReadOnly(true)); };
                allow = [&mount] { QVERIFY(mount.setReadOnly(false)); };
            } else if (::geteuid() != 0) {
                path = plain.filePath(QStringLiteral("journal.sqlite"));
                refuse = [&plain] { ::chmod(QFile::encodeName(plain.path()).constData(), 0555); };
                allow = [&plain] { ::chmod(QFile::encodeName(plain.path()).constData(), 0755); };
            } else {
                QSKIP("ni montage possible, ni utilisateur ordinaire : pas de dossier en lecture seule");
            }
            break;
        case Refusal::FullDisk:
            if (!mount.mounted())
                QSKIP("pas de tmpfs possible ici (il faut le droit de monter)");
            path = mount.path() + QStringLiteral("/journal.sqlite");
            refuse = [&mount] { QVERIFY(mount.fill()); };
            allow = [&mount] { mount.empty(); };
            break;
        }

        JournalRecorder recorder(path);
        recorder.setRetryInterval(60000);
        QSignalSpy written(&recorder, &JournalRecorder::written);
        QSignalSpy refused(&recorder, &JournalRecorder::cannotWrite);
        QSignalSpy again(&recorder, &JournalRecorder::writableAgain);
        JournalSession session;
        QList<JournalEvent> sent;
        auto send = [&](int n) {
            // Rows of a few kilobytes: on the full disk the log needs new pages at once.
            sent << sampleEvent(session, n, QStringLiteral("ligne %1 ").arg(n).repeated(400));
            recorder.record(sent.last());
        };
        // The full disk filled while the journal was working.
        if (refusal == Refusal::FullDisk) {
            recorder.start();
            send(1);
            QCOMPARE(written.size(), 1);
        }
        refuse();
        if (refusal != Refusal::FullDisk) {
            send(1);
            recorder.start();
        }
        for (int n = 2; n <= 40 && refused.isEmpty(); ++n)
            send(n);
        QCOMPARE(refused.size(), 1);
        const int kept = recorder.pending();
        QVERIFY(kept > 0);
        // More rows, and a retry, while it still refuses: nothing more is said.
        for (int i = 0; i < 5; ++i)
            send(int(sent.size()) + 1);
        recorder.flush();
        QCOMPARE(refused.size(), 1);
        QCOMPARE(recorder.pending(), kept + 5);
        QVERIFY(recorder.failing());

        allow();
        recorder.flush();
        QCOMPARE(again.size(), 1);
        QCOMPARE(recorder.pending(), 0);
        send(sent.size() + 1);
        recorder.finish();
        const QList<JournalEvent> stored = readBack(path);
        QCOMPARE(idsOf(stored), idsOf(sent));
        QCOMPARE(stored, sent);
    }

    // The retry timer alone brings the kept rows in.
    void theRetryTimerWritesTheKeptRows()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("classe"));
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        JournalRecorder recorder(blocker + QStringLiteral("/journal.sqlite"));
        recorder.setRetryInterval(20);
        QSignalSpy again(&recorder, &JournalRecorder::writableAgain);
        JournalSession session;
        recorder.record(sampleEvent(session, 1));
        recorder.start();
        QVERIFY(recorder.failing());
        QVERIFY(QFile::remove(blocker));
        QVERIFY(again.wait(10000));
        QCOMPARE(recorder.pending(), 0);
    }
};

QTEST_GUILESS_MAIN(TestJournalRecorder)
#include "test_journal_recorder.moc"
