// Pecunette — apprendre à remplir un chèque.
// The class journal's costs on a real file: appending events one transaction
// each, as the program does, and opening a journal of a million rows (with its
// quick_check). Prints the figures; asserts nothing.
#include "journal_recorder.h"
#include "sqlite_journal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>

namespace {
JournalEvent event(JournalSession &session, int n)
{
    JournalEvent e;
    e.moment = QStringLiteral("2026-12-09T10:58:30+01:00");
    e.nom = QStringLiteral("Dupont");
    e.prenom = QStringLiteral("Léa");
    e.nomKey = QStringLiteral("dupont");
    e.prenomKey = QStringLiteral("léa");
    e.kind = HistoryEventKind::Drop;
    e.text = QStringLiteral("quatre mille cinq cent");
    e.duration = QStringLiteral("00:00:03");
    e.amount = 4521;
    e.expected = QStringLiteral("quatre mille cinq cent vingt et un francs");
    e.block = QStringLiteral("cent");
    e.blockRight = true;
    e.series = n / 100;
    e.currency = QStringLiteral("franc");
    e.maxAmount = 9999;
    e.chequesPerSeries = 5;
    session.stamp(e, n);
    return e;
}
}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int appends = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 100000;
    const int big = argc > 2 ? QString::fromLocal8Bit(argv[2]).toInt() : 1000000;
    QTemporaryDir dir(argc > 3 ? QString::fromLocal8Bit(argv[3]) + QStringLiteral("/bench-XXXXXX") : QString());
    const QDateTime now = QDateTime::currentDateTime();

    {
        // What start-up pays before the first frame: the writer and its thread; the file opens later.
        QElapsedTimer timer;
        timer.start();
        QThread thread;
        auto *recorder = new JournalRecorder(dir.filePath(QStringLiteral("demarrage.sqlite")));
        recorder->moveToThread(&thread);
        thread.start();
        const qint64 ready = timer.nsecsElapsed();
        std::printf("au démarrage (écrivain et son fil, sans ouvrir le fichier) : %.2f ms\n", double(ready) / 1e6);
        QMetaObject::invokeMethod(recorder, &QObject::deleteLater);
        thread.quit();
        thread.wait();
    }
    {
        SqliteJournal journal;
        journal.open(dir.filePath(QStringLiteral("ajouts.sqlite")), now);
        JournalSession session;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < appends; ++i)
            if (!journal.append(event(session, i))) {
                std::fprintf(stderr, "échec : %s\n", qPrintable(journal.lastError()));
                return 1;
            }
        std::printf("%d ajouts, une transaction chacun (comme en classe) : %lld ms\n", appends,
                    static_cast<long long>(timer.elapsed()));
    }
    {
        // A backlog, as the writer sends what waited: batches of 500.
        SqliteJournal journal;
        journal.open(dir.filePath(QStringLiteral("lots.sqlite")), now);
        JournalSession session;
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < appends; i += 500) {
            QList<JournalEvent> batch;
            for (int j = i; j < std::min(appends, i + 500); ++j)
                batch << event(session, j);
            if (!journal.append(batch))
                return 1;
        }
        std::printf("%d ajouts par lots de 500 : %lld ms (objectif < 2000 ms)\n", appends,
                    static_cast<long long>(timer.elapsed()));
    }

    const QString path = dir.filePath(QStringLiteral("grand.sqlite"));
    {
        // Filled in one transaction: only the opening afterwards is measured.
        SqliteJournal journal;
        journal.open(path, now);
        journal.close();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("remplissage"));
            db.setDatabaseName(path);
            db.open();
            QSqlQuery q(db);
            q.exec(QStringLiteral("BEGIN"));
            q.prepare(QStringLiteral(
                "INSERT INTO evenement (id, seance, numero, moment, monotone_ms, nom, prenom, nom_cle, prenom_cle, "
                "nature, texte, normal, duree, montant, phrase, bloc, bloc_juste, serie, monnaie, montant_max, "
                "cheques_par_serie) VALUES (?, 's', ?, '2026-12-09T10:58:30+01:00', ?, 'Dupont', 'Léa', 'dupont', "
                "?, 'depot', 'quatre mille cinq cent', 1, '00:00:03', 4521, "
                "'quatre mille cinq cent vingt et un francs', 'cent', 1, 1, 'franc', 9999, 5)"));
            for (int i = 0; i < big; ++i) {
                q.bindValue(0, QStringLiteral("%1").arg(i, 36, 10, QLatin1Char('0')));
                q.bindValue(1, i);
                q.bindValue(2, i);
                q.bindValue(3, QStringLiteral("élève%1").arg(i % 30));
                q.exec();
            }
            q.exec(QStringLiteral("COMMIT"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("remplissage"));
    }
    std::printf("journal de %d lignes : %lld Mo\n", big,
                static_cast<long long>(QFileInfo(path).size() / (1024 * 1024)));
    for (int run = 0; run < 3; ++run) {
        SqliteJournal journal;
        QElapsedTimer timer;
        timer.start();
        const SqliteJournal::Opening opening = journal.open(path, now);
        const qint64 opened = timer.elapsed();
        JournalSession session;
        journal.append(event(session, 1));
        std::printf("ouverture (avec quick_check) %s : %lld ms, puis un ajout : %lld ms (objectif < 100 ms)\n",
                    opening.ok ? "réussie" : "échouée", static_cast<long long>(opened),
                    static_cast<long long>(timer.elapsed() - opened));
    }
    return 0;
}
