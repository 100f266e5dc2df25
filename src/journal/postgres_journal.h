// Pecunette — apprendre à remplir un chèque.
// The school server: one PostgreSQL database that every machine's journal is
// forwarded to, and that an overview of the whole class reads. All the SQL
// that only PostgreSQL understands is in postgres_journal.cpp.
#pragma once

#include "journal_store.h"

#include <QString>

#include <optional>

class SettingsStore;

// Where the server is, as the settings store names it. The password is never
// here: libpq finds it in ~/.pgpass (or the file PGPASSFILE names).
struct ServerAddress {
    QString host;  // a host name, an address, or a folder holding the server's socket
    int port = 5432;
    QString database;
    QString user;

    // Names the server in the local journal's forwarding mark: another server,
    // or another database, starts from the first row again.
    QString name() const;
    // What a teacher recognizes in a message: "base « classe » sur ecole.lan:5432".
    QString shown() const;

    // The server named in "Serveur" (Hote, Port, Base, Utilisateur); nothing
    // when none is named or a value is not usable.
    static std::optional<ServerAddress> from(const SettingsStore &settings);

    bool operator==(const ServerAddress &) const = default;
};

class PostgresJournal final : public JournalStore {
public:
    // Bumped with each change of the server's tables, each with its step.
    static constexpr int SchemaVersion = 1;

    enum class Problem { None, Unreachable, Password, MissingDatabase, NewerSchema, Refused };
    struct Opening {
        bool ok = false;
        Problem problem = Problem::None;
        QString error;  // what to tell, in French
    };

    PostgresJournal();
    ~PostgresJournal() override;
    PostgresJournal(const PostgresJournal &) = delete;
    PostgresJournal &operator=(const PostgresJournal &) = delete;

    // Connects (giving up after `connectTimeoutSeconds`), then makes or brings
    // up to date the server's tables. A server whose tables come from a newer
    // program is refused and left exactly as it is. The connection belongs to
    // the thread that opens it.
    Opening open(const ServerAddress &address, int connectTimeoutSeconds = 5);
    void close();
    bool isOpen() const;

    // Writes all of `events` in one transaction, or none; those whose id is
    // there already (sent before, or by another machine's copy) are passed over.
    bool appendAll(const QList<JournalEvent> &events);
    // The last failure's kind: Unreachable when the connection broke.
    Problem lastProblem() const { return m_problem; }

    bool append(const JournalEvent &event) override;
    bool append(const QList<JournalEvent> &events) override { return appendAll(events); }
    // In the order the server received them, from every machine.
    QList<JournalEvent> events(qint64 offset = 0, qint64 limit = -1) override;
    // In the order they happened, from every machine.
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

    // The French message for a failure reported by the driver as `driverText`.
    static Opening classify(const ServerAddress &address, const QString &driverText);

private:
    bool migrate(Opening &opening);
    bool fail(const QString &driverText);
    QList<JournalEvent> select(const QString &tail, const QList<QVariant> &values);
    // Runs the statements in one transaction; the rows the last one changed, or -1.
    qint64 changeInOneGo(const QList<std::pair<QString, QVariantList>> &statements);

    QString m_connection;
    ServerAddress m_address;
    QString m_error;
    Problem m_problem = Problem::None;
};
