// Pecunette — apprendre à remplir un chèque.
// Logout, shutdown and a kill from the terminal end the program as its own
// "Quitter" does: the window's place is saved and no history row is lost.
#include "../exercise/main_window_fixture.h"
#include "history_csv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

QStringList keptFiles()
{
    return QDir(FrmProgression::keptFolder()).entryList({QStringLiteral("*.csv")}, QDir::Files, QDir::Name);
}

QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The signals a process catches, read from the kernel: the test waits for the
// program to be ready for a signal instead of sleeping.
bool catches(qint64 pid, int signal)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signal - 1)) & 1U;
    return false;
}

}  // namespace

class TestEndOfSession : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init()
    {
        clearSettings();
        QDir(FrmProgression::keptFolder()).removeRecursively();
    }

    // The real program, stopped as the system stops it.
    void theProgramEndsLikeQuitter_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGTERM, logout or shutdown") << int(SIGTERM);
        QTest::newRow("SIGHUP, its terminal closed") << int(SIGHUP);
        QTest::newRow("SIGINT, Ctrl+C") << int(SIGINT);
    }
    void theProgramEndsLikeQuitter()
    {
        QFETCH(int, signal);
        QTemporaryDir home;
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        child.setProcessEnvironment(environment);
        child.start(QStringLiteral(PECUNETTE_PROGRAM), QStringList());
        QVERIFY(child.waitForStarted());
        QVERIFY(QTest::qWaitFor([&] { return catches(child.processId(), signal); }, 30000));
        ::kill(pid_t(child.processId()), signal);
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        const QSettings stored(home.filePath(QStringLiteral("config/Pecunette/Pecunette.conf")), QSettings::IniFormat);
        for (const char *key : {"MainLeft", "MainTop", "MainWidth", "MainHeight"})
            QVERIFY2(stored.contains(QStringLiteral("Position/") + QLatin1String(key)), key);
        // Nothing but the launch row: nothing to keep.
        QVERIFY(QDir(home.filePath(QStringLiteral("data/Pecunette"))).entryList({QStringLiteral("*.csv")}).isEmpty());
    }

    // No one to ask: the unsaved rows are kept in the data folder, one file per
    // session, and the next start offers them until they are saved elsewhere.
    void unsavedRowsAreKeptForTheNextStart()
    {
        QByteArray first;
        {
            MainWindow w;
            w.newCheque(QStringLiteral("un franc"));
            w.drop(QStringLiteral("deux"));
            w.completeCheque();
            QVERIFY(w.frm->endOfSession(false));
            QVERIFY(w.services.prompts.shown.isEmpty());
            QCOMPARE(keptFiles().size(), 1);
            first = contentOf(QDir(FrmProgression::keptFolder()).filePath(keptFiles().first()));
            QCOMPARE(first, HistoryCsv(HistoryModel::headerTexts(), w.history().model().rows()));
            QVERIFY(first.contains("deux") && first.contains("oui"));
            QVERIFY(!w.history().hasUnsavedRows());
            QVERIFY(w.frm->endOfSession(false));  // a second signal changes nothing
            QCOMPARE(keptFiles().size(), 1);
        }
        {
            // Cut short in the same second: a second file, never over the first.
            MainWindow w;
            w.newCheque(QStringLiteral("un franc"));
            QVERIFY(w.frm->endOfSession(false));
            QCOMPARE(keptFiles().size(), 2);
        }
        const QStringList kept = keptFiles();
        const QByteArray second = contentOf(QDir(FrmProgression::keptFolder()).filePath(kept.last()));
        QTemporaryDir elsewhere;
        const QString saved = elsewhere.filePath(QStringLiteral("lundi.csv"));
        MainWindow w;
        // Put off, both stay for the start after.
        w.services.prompts.answers = {Prompts::Answer::Cancel};
        w.history().offerKeptHistories();
        QCOMPARE(w.services.prompts.shown.size(), 1);
        QVERIFY(w.services.prompts.shown.first().text.contains(kept.first()));
        QCOMPARE(keptFiles(), kept);
        // Saved, oldest first, each goes once it is written elsewhere.
        w.services.prompts.answers = {Prompts::Answer::Ok, Prompts::Answer::Ok};
        w.services.prompts.saveFileAnswer = saved;
        w.history().offerKeptHistories();
        QCOMPARE(w.services.prompts.shown.size(), 3);
        QVERIFY(keptFiles().isEmpty());
        QCOMPARE(contentOf(saved), second);
    }

    // A kept history saved where it cannot be written stays kept.
    void aKeptHistoryStaysUntilItIsSaved()
    {
        {
            MainWindow w;
            w.newCheque(QStringLiteral("un franc"));
            QVERIFY(w.frm->endOfSession(false));
        }
        const QString kept = QDir(FrmProgression::keptFolder()).filePath(keptFiles().value(0));
        const QByteArray bytes = contentOf(kept);
        MainWindow w;
        w.services.prompts.answers = {Prompts::Answer::Ok};
        w.services.prompts.saveFileAnswer = QStringLiteral("/dossier/absent/progression.csv");
        w.history().offerKeptHistories();
        QCOMPARE(w.services.prompts.shown.size(), 2);
        QVERIFY(w.services.prompts.shown.last().text.contains(QStringLiteral("Le dossier n'existe pas.")));
        QCOMPARE(contentOf(kept), bytes);

        // Saved over itself, it is still the only copy.
        w.services.prompts.answers = {Prompts::Answer::Ok};
        w.services.prompts.saveFileAnswer = kept;
        w.history().offerKeptHistories();
        QCOMPARE(contentOf(kept), bytes);
    }

    // The desktop session's end with leave to ask: the same question as on
    // quitting, and Annuler keeps the program going.
    void theSessionsEndAsksWhenItMay_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("saved");
        QTest::newRow("Enregistrer") << int(Prompts::Answer::Save) << true << true;
        QTest::newRow("Quitter sans enregistrer") << int(Prompts::Answer::Discard) << true << false;
        QTest::newRow("Annuler") << int(Prompts::Answer::Cancel) << false << false;
    }
    void theSessionsEndAsksWhenItMay()
    {
        QFETCH(int, answer);
        QFETCH(bool, ends);
        QFETCH(bool, saved);
        QTemporaryDir folder;
        MainWindow w;
        w.newCheque(QStringLiteral("un franc"));
        w.services.prompts.answers = {Prompts::Answer(answer)};
        w.services.prompts.saveFileAnswer = folder.filePath(QStringLiteral("progression.csv"));
        QCOMPARE(w.frm->endOfSession(true), ends);
        QCOMPARE(w.services.prompts.shown.size(), 1);
        QVERIFY(w.services.prompts.shown.first().offersSave);
        QCOMPARE(QFile::exists(w.services.prompts.saveFileAnswer), saved);
        // Nothing is kept behind the teacher's back once they were asked.
        QCOMPARE(keptFiles().size(), 0);
        if (!ends)
            QVERIFY(w.history().hasUnsavedRows());
    }
};

QTEST_MAIN(TestEndOfSession)
#include "test_end_of_session.moc"
