// Pecunette — apprendre à remplir un chèque.
// The class journal in a local SQLite file, through Qt SQL. All the SQL that
// only SQLite understands is in sqlite_journal.cpp.
#pragma once

#include "journal_store.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QString>

#include <memory>
#include <optional>

class SqliteJournal final : public JournalStore {
public:
    // Bumped with each change of the tables, each with its migration step.
    static constexpr int SchemaVersion = 2;
    // "PCNT": marks the file as Pecunette's own.
    static constexpr qint32 ApplicationId = 0x50434E54;

    struct Opening {
        bool ok = false;
        QString error;  // why the journal could not be opened, in French
        // A file that was no journal of ours, was damaged, or came from a newer
        // program: where it was moved (it is kept), and why.
        QString setAside;
        QString setAsideReason;
    };

    SqliteJournal();
    ~SqliteJournal() override;
    SqliteJournal(const SqliteJournal &) = delete;
    SqliteJournal &operator=(const SqliteJournal &) = delete;

    // Opens the journal at `path`, making its folder and tables when needed. A
    // file that is not a journal of ours, is damaged or newer is never written
    // over: it is renamed aside (named after `now`) and a new journal started.
    Opening open(const QString &path, const QDateTime &now);
    void close();
    bool isOpen() const;
    QString path() const { return m_path; }

    bool append(const JournalEvent &event) override;
    bool append(const QList<JournalEvent> &events) override;
    QList<JournalEvent> events(qint64 offset = 0, qint64 limit = -1) override;
    QList<JournalEvent> eventsOfPupil(const QString &nom, const QString &prenom) override;
    QList<PupilSummary> classSummary() override;
    QList<PupilSummary> classSummary(const DayRange &range) override;
    QList<JournalEvent> eventsOfPupil(const QString &nom, const QString &prenom, const DayRange &range) override;
    QList<JournalEvent> eventsOfKind(HistoryEventKind kind, const DayRange &range) override;
    QList<SeriesSummary> seriesOfClass(const DayRange &range) override;
    qint64 rowsOfPupil(const QString &nom, const QString &prenom) override;
    qint64 renamePupil(const QString &nom, const QString &prenom, const QString &newNom,
                       const QString &newPrenom) override;
    qint64 mergePupils(const QString &fromNom, const QString &fromPrenom, const QString &intoNom,
                       const QString &intoPrenom) override;
    qint64 deletePupil(const QString &nom, const QString &prenom) override;
    QString lastError() const override { return m_error; }

    // A row with its place in this file: what a forwarder marks its progress by.
    struct Ranked {
        qint64 rank = 0;
        JournalEvent event;
    };
    // Up to `limit` events written after the one of rank `rank`, in order;
    // nothing when the journal could not be read.
    std::optional<QList<Ranked>> eventsAfter(qint64 rank, qint64 limit);
    // How far the rows went to `server` (0: none yet). The mark never goes
    // back: two programs forwarding one journal cannot undo each other's.
    std::optional<qint64> forwardedUpTo(const QString &server);
    bool setForwardedUpTo(const QString &server, qint64 rank);

    // The name a set-aside file takes: "journal.sqlite" becomes
    // "journal.illisible-20261211-150000.sqlite".
    static QString setAsideName(const QString &path, const QDateTime &now);

private:
    enum class Check { Ok, Unreadable, Failed };
    Check openAndCheck(QString &reason);
    bool migrate();
    bool insert(const JournalEvent &event);
    QList<JournalEvent> select(const QString &where, const QList<QVariant> &values);
    // Runs `statements` (SQL, bound values) in one write transaction; the rows
    // changed by the last one, or -1.
    qint64 changeInOneGo(const QList<std::pair<QString, QVariantList>> &statements);

    QString m_connection;
    QString m_path;
    QString m_error;
    std::unique_ptr<QSqlQuery> m_insert;
};
