// Pecunette — apprendre à remplir un chèque.
// Writes the class journal as the rows come, and never makes the exercise wait
// on it: rows wait in memory until the journal is open, and while it cannot be
// written (full disk, read-only folder) they are kept and tried again, in
// order, until they go in — each once.
#pragma once

#include "journal_event.h"
#include "sqlite_journal.h"

#include <QObject>
#include <QTimer>

#include <deque>

// Stamps the events of one run of the program: a session id, and a sequence
// that orders them whatever the wall clock does.
class JournalSession {
public:
    JournalSession();
    QString id() const { return m_id; }
    // Gives `event` its own id, the session and the next sequence number.
    void stamp(JournalEvent &event, qint64 monotonicMs);

private:
    QString m_id;
    qint64 m_sequence = 0;
};

class JournalRecorder : public QObject {
    Q_OBJECT
public:
    // Nothing is opened yet: start() does, so that the program's start-up
    // never waits on the disk.
    explicit JournalRecorder(QString path, QObject *parent = nullptr);
    ~JournalRecorder() override;

    // How long to wait before trying again a journal that could not be written.
    void setRetryInterval(int milliseconds) { m_retry.setInterval(milliseconds); }
    int pending() const { return int(m_pending.size()); }
    bool failing() const { return m_failing; }
    QString path() const { return m_path; }

public Q_SLOTS:
    // Keeps `event` and writes it after those kept before it.
    void record(const JournalEvent &event);
    // Opens the journal and writes what waits.
    void start();
    // Tries now what waits (the retry timer does it too).
    void flush();
    // Last chance before the program goes; the journal is closed after.
    void finish();

Q_SIGNALS:
    void written(const JournalEvent &event);
    // The file at `path` was not a readable journal: it was moved to `aside`.
    void setAside(const QString &path, const QString &aside, const QString &reason);
    // The journal cannot be written: once, until it can again.
    void cannotWrite(const QString &reason);
    void writableAgain();

private:
    void fail(const QString &reason);

    QString m_path;
    SqliteJournal m_store;
    std::deque<JournalEvent> m_pending;
    QTimer m_retry;
    bool m_started = false;
    bool m_flushing = false;
    bool m_failing = false;
};

Q_DECLARE_METATYPE(JournalEvent)
