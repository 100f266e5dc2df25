// Pecunette — apprendre à remplir un chèque.
// Sends the local journal's rows to the school server, after they are safe on
// this machine, on a thread of its own. What went is marked in the local
// journal, by rank, once the server has committed it: a restart resumes there,
// and a crash between the two only sends again rows the server then passes
// over (their id is its key). While the server cannot be reached the rows wait
// in the local journal, and the server is tried again, less and less often.
#pragma once

#include "postgres_journal.h"
#include "sqlite_journal.h"

#include <QObject>
#include <QTimer>

#include <atomic>

class ServerForwarder : public QObject {
    Q_OBJECT
public:
    // Nothing is opened yet: the first wake() does, on the forwarder's thread.
    ServerForwarder(QString journalPath, ServerAddress server, QObject *parent = nullptr);
    ~ServerForwarder() override;

    // The wait before trying the server again: `first` after a failure, then
    // doubled each time, never more than `longest`.
    void setRetryIntervals(int firstMs, int longestMs);
    void setRowsPerBatch(int rows) { m_rowsPerBatch = qMax(1, rows); }
    void setConnectTimeout(int seconds) { m_connectTimeout = seconds; }
    // Safe from any thread: the pass in progress stops after its batch.
    void stop() { m_stopping = true; }

    const ServerAddress &server() const { return m_server; }

public Q_SLOTS:
    // New rows are in the local journal (or the program has just started):
    // sends what waits, unless the server is being left alone for a while.
    void wake();
    // Tries now, whatever the wait.
    void retry();
    void finish();

Q_SIGNALS:
    // A batch is on the server; the local journal is marked up to `rank`.
    void forwarded(qint64 rank, int rows);
    // Everything written locally so far is on the server.
    void caughtUp();
    // The server cannot take the rows: once, until it can (or the reason changes).
    void problem(PostgresJournal::Problem kind, const QString &message);
    void reachableAgain();

private:
    void pass();
    void serverFailed(PostgresJournal::Problem kind, const QString &message);
    void waitAndRetry();

    QString m_path;
    ServerAddress m_server;
    SqliteJournal m_local;
    PostgresJournal m_remote;
    QTimer m_retry;
    int m_firstDelay = 2000;
    int m_longestDelay = 120000;
    int m_delay = 2000;
    int m_rowsPerBatch = 1000;
    int m_connectTimeout = 5;
    bool m_failing = false;
    bool m_inPass = false;
    PostgresJournal::Problem m_told = PostgresJournal::Problem::None;
    std::atomic<bool> m_stopping {false};
};

Q_DECLARE_METATYPE(PostgresJournal::Problem)
