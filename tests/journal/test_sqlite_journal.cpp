// Pecunette — apprendre à remplir un chèque.
// The class journal's SQLite file, on real files: every field comes back as
// written, files that are not a readable journal are moved aside and never
// written over, and two programs writing at once lose no row.
#include "journal_test_support.h"
#include "sqlite_journal.h"

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

#include <cstdio>

namespace {
const QDateTime Now(QDate(2026, 12, 11), QTime(15, 0, 0));
constexpr const char *WriterVariable = "PECUNETTE_TEST_JOURNAL_WRITER";

// Makes a real journal of `rows` events at `path` and closes it.
void writeJournal(const QString &path, int rows)
{
    SqliteJournal journal;
    QVERIFY(journal.open(path, Now).ok);
    JournalSession session;
    for (int i = 1; i <= rows; ++i)
        QVERIFY(journal.append(sampleEvent(session, i, QStringLiteral("ligne %1 ").arg(i).repeated(8))));
}

// The child: appends `count` events to the journal and says so.
int writeAsChild()
{
    const QStringList args = qEnvironmentVariable(WriterVariable).split(QLatin1Char('|'));
    SqliteJournal journal;
    if (!journal.open(args.value(0), Now).ok)
        return 3;
    JournalSession session;
    const int count = args.value(1).toInt();
    std::printf("pret\n");
    std::fflush(stdout);
    for (int i = 1; i <= count; ++i)
        if (!journal.append(sampleEvent(session, i, args.value(2) + QString::number(i)))) {
            std::fprintf(stderr, "%s\n", qPrintable(journal.lastError()));
            return 4;
        }
    return 0;
}
}  // namespace

class TestSqliteJournal : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyFieldComesBackAsWritten()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        JournalSession session;
        QList<JournalEvent> written;
        const QStringList hostile {QStringLiteral("tab\there\nline\r\nbreak"),
                                   QStringLiteral("O'Brien \"guillemets\" ; DROP TABLE evenement; --"),
                                   QStringLiteral("%1 ? :nom @x $y \\ é ü 🙂"), QString(100000, QChar(u'é')),
                                   QStringLiteral("   Espaces   ")};
        for (int i = 0; i < hostile.size(); ++i) {
            JournalEvent e = sampleEvent(session, i, hostile.at(i));
            e.nom = hostile.at(i);
            e.prenom = hostile.at((i + 1) % hostile.size());
            e.nomKey = matchingKey(e.nom);
            e.prenomKey = matchingKey(e.prenom);
            e.expected = hostile.at((i + 2) % hostile.size());
            e.block = hostile.at((i + 3) % hostile.size());
            e.duration = hostile.at((i + 4) % hostile.size());
            e.kind = HistoryEventKind(i % 12);
            written << e;
        }
        // The optional fields, absent and present, and the other kinds.
        JournalEvent bare = sampleEvent(session, 9);
        bare.amount.reset();
        bare.blockRight.reset();
        bare.mark.reset();
        bare.kind = HistoryEventKind::Clearing;
        JournalEvent marked = sampleEvent(session, 10);
        marked.kind = HistoryEventKind::Mark;
        marked.mark = 19.8;
        marked.currency = QStringLiteral("euro");
        marked.maxAmount = 99999;
        marked.monotonicMs = 9'000'000'000'000LL;
        // Nothing but its keys: every text left null, as a row before any cheque has them.
        JournalEvent nulls;
        session.stamp(nulls, 0);
        written << bare << marked << nulls;
        {
            SqliteJournal journal;
            QVERIFY(journal.open(path, Now).ok);
            for (const JournalEvent &e : written)
                QVERIFY2(journal.append(e), qPrintable(journal.lastError()));
            // Sent again (a retry after an unclear failure): not doubled.
            QVERIFY(journal.append(written.first()));
        }
        SqliteJournal journal;
        const SqliteJournal::Opening opening = journal.open(path, Now);
        QVERIFY(opening.ok);
        QVERIFY(opening.setAside.isEmpty());
        const QList<JournalEvent> read = journal.events();
        QCOMPARE(read.size(), written.size());
        for (int i = 0; i < read.size(); ++i)
            QVERIFY2(read.at(i) == written.at(i), qPrintable(QString::number(i)));
        QCOMPARE(journal.events(2, 3).size(), 3);
        QCOMPARE(journal.events(2, 3).first(), written.at(2));
    }

    void aNewFileIsMigratedToTheCurrentVersion_data()
    {
        QTest::addColumn<bool>("emptyFileFirst");
        QTest::newRow("no file, no folder") << false;
        QTest::newRow("an empty file") << true;
    }
    void aNewFileIsMigratedToTheCurrentVersion()
    {
        QFETCH(bool, emptyFileFirst);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("classe/cm1/journal.sqlite"));
        if (emptyFileFirst) {
            QDir().mkpath(QFileInfo(path).absolutePath());
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        {
            SqliteJournal journal;
            const SqliteJournal::Opening opening = journal.open(path, Now);
            QVERIFY2(opening.ok, qPrintable(opening.error));
            QVERIFY(opening.setAside.isEmpty());
            JournalSession session;
            QVERIFY(journal.append(sampleEvent(session, 1)));
        }
        QCOMPARE(readOne(path, QStringLiteral("PRAGMA user_version")).toInt(), SqliteJournal::SchemaVersion);
        QCOMPARE(readOne(path, QStringLiteral("PRAGMA application_id")).toInt(), SqliteJournal::ApplicationId);
        QCOMPARE(readOne(path, QStringLiteral("PRAGMA journal_mode")).toString(), QStringLiteral("wal"));
        QCOMPARE(readOne(path, QStringLiteral("SELECT count(*) FROM evenement")).toInt(), 1);
        QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList({QStringLiteral("*illisible*")}).size(), 0);
    }

    // Whatever stands at the journal's place and is no readable journal of
    // ours is moved aside whole, and a new journal starts there.
    void unreadableFilesAreSetAsideNeverOverwritten_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("reason");
        QTest::newRow("a text file") << "texte"
                                     << "pas un journal";
        QTest::newRow("another program's SQLite file") << "autre"
                                                       << "pas un journal";
        QTest::newRow("a newer journal (user_version 99)") << "version"
                                                           << "plus récente";
        QTest::newRow("a journal cut short") << "tronque"
                                             << "";
        QTest::newRow("a journal with pages overwritten") << "ecrase"
                                                          << "endommagé";
        QTest::newRow("a journal whose header is overwritten") << "entete"
                                                               << "pas un journal";
    }
    void unreadableFilesAreSetAsideNeverOverwritten()
    {
        QFETCH(QString, damage);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        if (damage == QStringLiteral("texte")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(QByteArray("Nom;Prénom;Note\nDupont;Léa;19\n").repeated(50));
        } else if (damage == QStringLiteral("autre") || damage == QStringLiteral("version")) {
            const QString name = QStringLiteral("autre");
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery q(db);
                QVERIFY(q.exec(QStringLiteral("CREATE TABLE carnet (nom TEXT)")));
                QVERIFY(q.exec(QStringLiteral("INSERT INTO carnet VALUES ('Dupont')")));
                if (damage == QStringLiteral("version")) {
                    QVERIFY(q.exec(QStringLiteral("PRAGMA application_id = %1").arg(SqliteJournal::ApplicationId)));
                    QVERIFY(q.exec(QStringLiteral("PRAGMA user_version = 99")));
                }
                db.close();
            }
            QSqlDatabase::removeDatabase(name);
        } else {
            writeJournal(path, 3000);
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadWrite));
            const qint64 size = file.size();
            QVERIFY(size > 64 * 4096);
            if (damage == QStringLiteral("tronque")) {
                QVERIFY(file.resize(size / 2));
            } else if (damage == QStringLiteral("ecrase")) {
                // Pages of the table's tree, in the middle of the file.
                for (qint64 page = 3; page < 40; page += 2) {
                    file.seek(page * 4096);
                    file.write(QByteArray(4096, char(0xA5)));
                }
            } else {
                file.seek(0);
                file.write(QByteArray(100, char(0x5A)));
            }
        }
        const QByteArray before = contentOf(path);
        QVERIFY(!before.isEmpty());

        SqliteJournal journal;
        const SqliteJournal::Opening opening = journal.open(path, Now);
        QVERIFY2(opening.ok, qPrintable(opening.error));
        QCOMPARE(opening.setAside, dir.filePath(QStringLiteral("journal.illisible-20261211-150000.sqlite")));
        QVERIFY2(opening.setAsideReason.contains(reason), qPrintable(opening.setAsideReason));
        QCOMPARE(contentOf(opening.setAside), before);
        // A new journal in its place, which works.
        QVERIFY(journal.events().isEmpty());
        JournalSession session;
        QVERIFY(journal.append(sampleEvent(session, 1)));
        QCOMPARE(journal.events().size(), 1);
        journal.close();
        QCOMPARE(contentOf(opening.setAside), before);

        // Set aside again in the same second: a second name, the first kept.
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::copy(opening.setAside, path);
        const SqliteJournal::Opening again = journal.open(path, Now);
        QVERIFY(again.ok);
        QCOMPARE(again.setAside, dir.filePath(QStringLiteral("journal.illisible-20261211-150000-2.sqlite")));
        QCOMPARE(contentOf(opening.setAside), before);
    }

    void setAsideNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("aside");
        QTest::newRow("journal.sqlite") << "journal.sqlite"
                                        << "journal.illisible-20261211-150000.sqlite";
        QTest::newRow("no suffix") << "classe"
                                   << "classe.illisible-20261211-150000";
        QTest::newRow("two dots") << "cm1.2026.db"
                                  << "cm1.2026.illisible-20261211-150000.db";
    }
    void setAsideNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, aside);
        QTemporaryDir dir;
        QCOMPARE(SqliteJournal::setAsideName(dir.filePath(name), Now), dir.filePath(aside));
    }

    void pupilsAreMatchedOnTheirKeysAndSummed()
    {
        QTemporaryDir dir;
        SqliteJournal journal;
        QVERIFY(journal.open(dir.filePath(QStringLiteral("journal.sqlite")), Now).ok);
        JournalSession session;
        auto add = [&](const QString &nom, const QString &prenom, HistoryEventKind kind, std::optional<bool> right = {},
                       std::optional<double> mark = {},
                       const QString &moment = QStringLiteral("2026-12-09T10:00:00+01:00")) {
            JournalEvent e = sampleEvent(session, 1);
            e.nom = nom;
            e.prenom = prenom;
            e.nomKey = matchingKey(nom);
            e.prenomKey = matchingKey(prenom);
            e.kind = kind;
            e.blockRight = right;
            e.mark = mark;
            e.moment = moment;
            QVERIFY(journal.append(e));
        };
        add({}, {}, HistoryEventKind::Launch);
        add(QStringLiteral("DUPONT"), QStringLiteral("Léa"), HistoryEventKind::Identification);
        add(QStringLiteral("DUPONT"), QStringLiteral("Léa"), HistoryEventKind::Drop, false);
        add(QStringLiteral("DUPONT"), QStringLiteral("Léa"), HistoryEventKind::Drop, true);
        add(QStringLiteral("DUPONT"), QStringLiteral("Léa"), HistoryEventKind::ChequeEnd);
        add(QStringLiteral("DUPONT"), QStringLiteral("Léa"), HistoryEventKind::Mark, {}, 18.0);
        add(QStringLiteral("Martin"), QStringLiteral("Noé"), HistoryEventKind::Identification);
        add(QStringLiteral(" dupont "), QStringLiteral("LÉA"), HistoryEventKind::Drop, false);
        add(QStringLiteral(" dupont "), QStringLiteral("LÉA"), HistoryEventKind::ChequeEnd);
        add(QStringLiteral(" dupont "), QStringLiteral("LÉA"), HistoryEventKind::Mark, {}, 19.5,
            QStringLiteral("2026-12-10T09:00:00+01:00"));

        const QList<JournalEvent> lea = journal.eventsOfPupil(QStringLiteral("Dupont"), QStringLiteral("léa"));
        QCOMPARE(lea.size(), 8);
        QCOMPARE(lea.first().nom, QStringLiteral("DUPONT"));
        QCOMPARE(lea.last().nom, QStringLiteral(" dupont "));

        const QList<PupilSummary> summary = journal.classSummary();
        QCOMPARE(summary.size(), 2);
        const PupilSummary &first = summary.at(0);
        QCOMPARE(first.nomKey, QStringLiteral("dupont"));
        QCOMPARE(first.nom, QStringLiteral(" dupont "));
        QCOMPARE(first.prenom, QStringLiteral("LÉA"));
        QCOMPARE(first.seriesDone, 2);
        QCOMPARE(first.cheques, 2);
        QCOMPARE(first.errors, 2);
        QCOMPARE(first.lastMark, std::optional<double>(19.5));
        QCOMPARE(first.meanMark, std::optional<double>(18.75));
        QCOMPARE(first.lastSeen, QStringLiteral("2026-12-10T09:00:00+01:00"));
        const PupilSummary &second = summary.at(1);
        QCOMPARE(second.nom, QStringLiteral("Martin"));
        QCOMPARE(second.seriesDone, 0);
        QVERIFY(!second.lastMark && !second.meanMark);
    }

    // Two programs on one journal at once: every row of both is there, each
    // program's in its order.
    void twoWritersAtOnceLoseNoRow()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("journal.sqlite"));
        constexpr int Count = 2000;
        QProcess children[2];
        for (int i = 0; i < 2; ++i) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QString::fromLatin1(WriterVariable),
                               path + QStringLiteral("|%1|enfant%2-").arg(Count).arg(i));
            children[i].setProcessEnvironment(environment);
            children[i].start(QCoreApplication::applicationFilePath(), {});
        }
        for (QProcess &child : children) {
            QVERIFY(child.waitForFinished(120000));
            QCOMPARE(child.exitStatus(), QProcess::NormalExit);
            QVERIFY2(child.exitCode() == 0, child.readAllStandardError().constData());
        }
        SqliteJournal journal;
        QVERIFY(journal.open(path, Now).ok);
        const QList<JournalEvent> events = journal.events();
        QCOMPARE(events.size(), 2 * Count);
        QHash<QString, qint64> lastOf;
        for (const JournalEvent &e : events) {
            QCOMPARE(e.sequence, lastOf.value(e.session) + 1);
            lastOf[e.session] = e.sequence;
        }
        QCOMPARE(lastOf.size(), 2);
    }
};

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (qEnvironmentVariableIsSet(WriterVariable))
        return writeAsChild();
    TestSqliteJournal test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_sqlite_journal.moc"
