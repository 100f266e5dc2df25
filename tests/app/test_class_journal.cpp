// Pecunette — apprendre à remplir un chèque.
// The class journal behind the real windows: each history row goes in as it
// happens, with its pupil, cheque and series; problems are told once and never
// stop the exercise; a program killed outright loses no row it had written.
#include "../exercise/main_window_fixture.h"
#include "../journal/journal_test_support.h"
#include "class_journal.h"

#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QStatusBar>
#include <QtTest>

#include <csignal>

namespace {
const QDateTime Now(QDate(2026, 12, 11), QTime(15, 0, 0));

QList<JournalEvent> readBack(const QString &path)
{
    SqliteJournal journal;
    const SqliteJournal::Opening opening = journal.open(path, Now);
    if (!opening.ok || !opening.setAside.isEmpty())
        qWarning("%s %s", qPrintable(opening.error), qPrintable(opening.setAside));
    return opening.ok ? journal.events() : QList<JournalEvent>();
}

QWidget *shownWindow(const QString &name)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == name && w->isVisible())
            return w;
    return nullptr;
}

void identify(MainWindow &w, const QString &nom, const QString &prenom)
{
    w.frm->menuAction(QStringLiteral("mnuEleve"))->trigger();
    QWidget *dialog = shownWindow(QStringLiteral("frmEleve"));
    QVERIFY(dialog);
    dialog->findChild<QLineEdit *>(QStringLiteral("saisieNom"))->setText(nom);
    dialog->findChild<QLineEdit *>(QStringLiteral("saisiePrenom"))->setText(prenom);
    dialog->findChild<QPushButton *>(QStringLiteral("OK"))->click();
}

QProcessEnvironment programEnvironment(const QTemporaryDir &home, int steps)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
    environment.insert(QStringLiteral("PECUNETTE_ESSAI_JOURNAL"), QString::number(steps));
    return environment;
}

// The rows the program says it journalled, as (session, sequence, id), read as they come.
struct Told {
    QString session;
    qint64 sequence;
    QString id;
};
QList<Told> readTold(QProcess &child, QByteArray &buffer)
{
    QList<Told> told;
    buffer += child.readAllStandardOutput();
    int end = 0;
    while ((end = int(buffer.indexOf('\n'))) >= 0) {
        const QList<QByteArray> parts = buffer.left(end).split(' ');
        buffer.remove(0, end + 1);
        if (parts.size() == 4 && parts.at(0) == "journal")
            told << Told {QString::fromLatin1(parts.at(1)), parts.at(2).toLongLong(), QString::fromLatin1(parts.at(3))};
    }
    return told;
}
}  // namespace

class TestClassJournal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    // A whole morning of a pupil: every kind of row, in order, with its context.
    void everyHistoryRowGoesInAsItHappens()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        MainWindow w;
        ClassJournal journal(w.state, w.services.services, path);
        journal.attach(w.history(), *w.frm);
        QSignalSpy written(&journal, &ClassJournal::written);

        identify(w, QStringLiteral("Dupont"), QStringLiteral("Léa"));
        // Written before the journal opens: kept, then written in order.
        QVERIFY(!QFileInfo::exists(path));
        journal.start();
        w.newCheque(QStringLiteral("un franc"));
        for (int tick = 0; tick < 4; ++tick)
            w.frm->Timer_Timer(2);  // the hint
        w.drop(QStringLiteral("deux"));  // wrong
        w.completeCheque();
        w.newCheque(QStringLiteral("deux francs"));
        w.frm->Nouveau_Click();  // gives up the cheque
        for (int i = 0; i < 4; ++i) {
            w.completeCheque();
            if (i < 3)
                w.newCheque();
        }
        w.frm->Quitter_Click();  // "Fin"
        w.history().Vider_Click();
        const int gridRows = w.rows();
        QCOMPARE(gridRows, 2);  // the window is cleared, not the journal

        QTRY_VERIFY_WITH_TIMEOUT(
            !written.isEmpty() && written.last().at(0).value<JournalEvent>().kind == HistoryEventKind::Clearing, 10000);
        const QList<JournalEvent> events = readBack(path);
        QCOMPARE(events.size(), written.size());
        QList<HistoryEventKind> kinds;
        for (int i = 0; i < events.size(); ++i) {
            kinds << events.at(i).kind;
            QCOMPARE(events.at(i).sequence, i + 1);
            QCOMPARE(events.at(i).session, events.first().session);
        }
        using K = HistoryEventKind;
        QCOMPARE(kinds.mid(0, 6), (QList<K> {K::Launch, K::Identification, K::ChequeStart, K::Hint, K::Drop, K::Drop}));
        QCOMPARE(kinds.count(K::ChequeEnd), 5);
        QCOMPARE(kinds.count(K::Abandon), 1);
        QCOMPARE(kinds.mid(kinds.size() - 4), (QList<K> {K::Mark, K::TotalDuration, K::SessionEnd, K::Clearing}));

        const JournalEvent &wrong = events.at(4);
        QCOMPARE(wrong.nom, QStringLiteral("Dupont"));
        QCOMPARE(wrong.prenomKey, QStringLiteral("léa"));
        QCOMPARE(wrong.block, QStringLiteral("deux"));
        QCOMPARE(wrong.blockRight, std::optional<bool>(false));
        QVERIFY(!wrong.normal);
        QCOMPARE(wrong.expected, QStringLiteral("un franc"));
        QVERIFY(wrong.amount.has_value());
        QCOMPARE(wrong.series, 1);
        QCOMPARE(wrong.chequesPerSeries, 5);
        QCOMPARE(wrong.currency, QStringLiteral("franc"));
        QCOMPARE(wrong.maxAmount, w.state.MontantMax);
        QVERIFY(wrong.moment.contains(QLatin1Char('T')) &&
                (wrong.moment.endsWith(QLatin1Char('Z')) || wrong.moment.at(wrong.moment.size() - 6) == u'+' ||
                 wrong.moment.at(wrong.moment.size() - 6) == u'-'));
        const JournalEvent &right = events.at(5);
        QCOMPARE(right.block, QStringLiteral("un"));
        QCOMPARE(right.blockRight, std::optional<bool>(true));
        const JournalEvent mark = events.at(events.size() - 4);
        QCOMPARE(mark.text, QStringLiteral("Note de la série : ") + mark.text.mid(19));
        QVERIFY(mark.mark.has_value());
        const SeriesMark expected = MarkFor(w.state.ErreursSerie, w.state.MotsJustes);
        QCOMPARE(qRound(*mark.mark * 100), int(expected.hundredths));
        QCOMPARE(events.at(events.size() - 3).text, QStringLiteral("Durée totale"));
        QVERIFY(!events.at(events.size() - 3).duration.isEmpty());
        // The pupil still goes with the "Fin" row, cleared just after it.
        QCOMPARE(events.at(events.size() - 2).nom, QStringLiteral("Dupont"));
        QVERIFY(w.state.NomEleve.isEmpty());
        QVERIFY(events.first().nom.isEmpty());
    }

    // A journal that cannot be written: said once (box and status bar), the
    // exercise goes on, and the rows go in once it can be written.
    void anUnwritableJournalIsToldOnceAndCaughtUp()
    {
        QTemporaryDir dir;
        const QString blocker = dir.filePath(QStringLiteral("classe"));
        {
            QFile file(blocker);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString path = blocker + QStringLiteral("/journal.sqlite");
        MainWindow w;
        ClassJournal journal(w.state, w.services.services, path);
        journal.attach(w.history(), *w.frm);
        QSignalSpy refused(&journal, &ClassJournal::cannotWrite);
        QSignalSpy again(&journal, &ClassJournal::writableAgain);
        QSignalSpy written(&journal, &ClassJournal::written);
        journal.start();
        QVERIFY(refused.wait(10000));
        w.newCheque(QStringLiteral("un franc"));
        w.completeCheque();
        w.newCheque();
        QCOMPARE(w.services.prompts.shown.size(), 1);
        QVERIFY(w.services.prompts.shown.first().text.contains(QDir::toNativeSeparators(path)));
        QVERIFY(w.frm->statusBar()->currentMessage().contains(QStringLiteral("Journal de la classe")));
        QVERIFY(w.state.ChequeEnCours);  // the exercise goes on

        QVERIFY(QFile::remove(blocker));
        journal.retry();
        QVERIFY(again.wait(10000));
        QVERIFY(w.frm->statusBar()->currentMessage().isEmpty());
        QCOMPARE(w.services.prompts.shown.size(), 1);
        const QList<JournalEvent> events = readBack(path);
        QCOMPARE(events.size(), w.rows() - 1);
        for (int i = 0; i < events.size(); ++i) {
            QCOMPARE(events.at(i).sequence, i + 1);
            QCOMPARE(events.at(i).text, w.event(i + 1));
        }
    }

    // A newer journal is moved aside, and the box names both files.
    void aJournalSetAsideIsToldWithBothNames()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        {
            const QString name = QStringLiteral("plus-recent");
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery q(db);
                QVERIFY(q.exec(QStringLiteral("PRAGMA user_version = 99")));
                QVERIFY(q.exec(QStringLiteral("CREATE TABLE evenement (x)")));
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        }
        const QByteArray before = contentOf(path);
        MainWindow w;
        ClassJournal journal(w.state, w.services.services, path);
        journal.attach(w.history(), *w.frm);
        QSignalSpy written(&journal, &ClassJournal::written);
        journal.start();
        QVERIFY(written.wait(10000));
        QCOMPARE(w.services.prompts.shown.size(), 1);
        const QString text = w.services.prompts.shown.first().text;
        const QStringList aside = QDir(dir.path()).entryList({QStringLiteral("journal.illisible-*.sqlite")});
        QCOMPARE(aside.size(), 1);
        QVERIFY(text.contains(QDir::toNativeSeparators(path)));
        QVERIFY(text.contains(QDir::toNativeSeparators(dir.filePath(aside.first()))));
        QCOMPARE(contentOf(dir.filePath(aside.first())), before);
        QCOMPARE(readBack(path).size(), 1);
    }

    void theSettingsMayNameTheFile_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("taken");
        QTest::newRow("nothing stored") << "" << false;
        QTest::newRow("a whole path") << "/srv/classe/cm1.sqlite" << true;
        QTest::newRow("a relative path") << "classe/cm1.sqlite" << false;
        QTest::newRow("a folder") << "/tmp" << false;
        QTest::newRow("a trailing slash") << "/srv/classe/" << false;
        QTest::newRow("blanks around") << " /srv/classe/cm1.sqlite" << false;
    }
    void theSettingsMayNameTheFile()
    {
        QFETCH(QString, stored);
        QFETCH(bool, taken);
        TestServices ts;
        if (!stored.isEmpty())
            ts.settings.Write(Keys::AppPecunette, Keys::SectionJournal, Keys::JournalFichier, stored);
        QCOMPARE(ClassJournal::pathFrom(ts.settings), taken ? stored : ClassJournal::defaultPath());
        QVERIFY(ClassJournal::defaultPath().endsWith(QStringLiteral("/journal.sqlite")));
    }

    // The real program, killed outright while it plays: every row it said it
    // had journalled is there once, none missing between them, and it starts again.
    void aKilledProgramLosesNoWrittenRow()
    {
        QTemporaryDir home;
        const QString path = home.filePath(QStringLiteral("data/Pecunette/journal.sqlite"));
        QProcess child;
        child.setProcessEnvironment(programEnvironment(home, 100000));
        child.start(QStringLiteral(PECUNETTE_PROGRAM), QStringList());
        QVERIFY(child.waitForStarted());
        QList<Told> told;
        QByteArray buffer;
        while (told.size() < 60) {
            QVERIFY2(child.waitForReadyRead(30000), "le programme ne dit plus rien");
            told += readTold(child, buffer);
        }
        ::kill(pid_t(child.processId()), SIGKILL);
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::CrashExit);
        told += readTold(child, buffer);

        // Started again: it opens the same journal, nothing set aside.
        QProcess again;
        again.setProcessEnvironment(programEnvironment(home, 0));
        again.start(QStringLiteral(PECUNETTE_PROGRAM), QStringList());
        QList<Told> toldAgain;
        QByteArray bufferAgain;
        while (toldAgain.isEmpty()) {
            QVERIFY2(again.waitForReadyRead(30000), "le programme relancé n'écrit pas son journal");
            toldAgain += readTold(again, bufferAgain);
        }
        ::kill(pid_t(again.processId()), SIGKILL);
        QVERIFY(again.waitForFinished(30000));
        QVERIFY(QDir(QFileInfo(path).absolutePath()).entryList({QStringLiteral("*illisible*")}).isEmpty());

        const QList<JournalEvent> events = readBack(path);
        QHash<QString, int> seen;
        QList<qint64> firstRun;
        for (const JournalEvent &e : events) {
            seen[e.id] += 1;
            if (e.session == told.first().session)
                firstRun << e.sequence;
        }
        for (const Told &t : told)
            QCOMPARE(seen.value(t.id), 1);
        QVERIFY(firstRun.size() >= told.size());
        for (int i = 0; i < firstRun.size(); ++i)
            QCOMPARE(firstRun.at(i), i + 1);
        QCOMPARE(seen.value(toldAgain.first().id), 1);
        QCOMPARE(seen.size(), events.size());
    }
};

QTEST_MAIN(TestClassJournal)
#include "test_class_journal.moc"
