// Pecunette — apprendre à remplir un chèque.
#include "server_forwarder.h"

#include <QDateTime>
#include <QFileInfo>

#include <utility>

ServerForwarder::ServerForwarder(QString journalPath, ServerAddress server, QObject *parent)
    : QObject(parent)
    , m_path(std::move(journalPath))
    , m_server(std::move(server))
    , m_retry(this)
{
    qRegisterMetaType<PostgresJournal::Problem>();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &ServerForwarder::retry);
}

ServerForwarder::~ServerForwarder() { finish(); }

void ServerForwarder::setRetryIntervals(int firstMs, int longestMs)
{
    m_firstDelay = qMax(1, firstMs);
    m_longestDelay = qMax(m_firstDelay, longestMs);
    m_delay = m_firstDelay;
}

void ServerForwarder::wake()
{
    // A server that failed is left alone until its wait is over: a row a
    // second must not become a connection attempt a second.
    if (m_retry.isActive())
        return;
    pass();
}

void ServerForwarder::retry()
{
    m_retry.stop();
    pass();
}

void ServerForwarder::finish()
{
    m_stopping = true;
    m_retry.stop();
    m_remote.close();
    m_local.close();
}

void ServerForwarder::pass()
{
    if (m_stopping || m_inPass)
        return;
    m_inPass = true;
    struct Leave {
        bool &flag;
        ~Leave() { flag = false; }
    } leave {m_inPass};

    // The journal's own writer makes the file and reports its troubles; here
    // a journal not there yet, or not readable now, is only tried again later.
    if (!m_local.isOpen()) {
        if (!QFileInfo::exists(m_path) || !m_local.open(m_path, QDateTime::currentDateTime()).ok) {
            m_local.close();
            waitAndRetry();
            return;
        }
    }
    if (!m_remote.isOpen()) {
        const PostgresJournal::Opening opening = m_remote.open(m_server, m_connectTimeout);
        if (!opening.ok) {
            serverFailed(opening.problem, opening.error);
            return;
        }
    }
    const QString key = m_server.name();
    const std::optional<qint64> mark = m_local.forwardedUpTo(key);
    if (!mark) {
        m_local.close();
        waitAndRetry();
        return;
    }
    qint64 rank = *mark;
    for (;;) {
        if (m_stopping)
            return;
        const std::optional<QList<SqliteJournal::Ranked>> batch = m_local.eventsAfter(rank, m_rowsPerBatch);
        if (!batch) {
            m_local.close();
            waitAndRetry();
            return;
        }
        if (batch->isEmpty())
            break;
        QList<JournalEvent> events;
        events.reserve(batch->size());
        for (const SqliteJournal::Ranked &r : *batch)
            events << r.event;
        if (!m_remote.appendAll(events)) {
            const PostgresJournal::Problem kind = m_remote.lastProblem();
            const QString why = m_remote.lastError();
            m_remote.close();
            serverFailed(kind, why);
            return;
        }
        // Committed on the server: from here a crash costs a resend, never a row.
        rank = batch->last().rank;
        if (!m_local.setForwardedUpTo(key, rank)) {
            m_local.close();
            waitAndRetry();
            return;
        }
        Q_EMIT forwarded(rank, int(batch->size()));
    }
    m_delay = m_firstDelay;
    if (m_failing) {
        m_failing = false;
        m_told = PostgresJournal::Problem::None;
        Q_EMIT reachableAgain();
    }
    Q_EMIT caughtUp();
}

void ServerForwarder::serverFailed(PostgresJournal::Problem kind, const QString &message)
{
    m_failing = true;
    if (kind != m_told) {
        m_told = kind;
        Q_EMIT problem(kind, message);
    }
    waitAndRetry();
}

void ServerForwarder::waitAndRetry()
{
    if (m_stopping)
        return;
    m_retry.start(m_delay);
    m_delay = qMin(m_longestDelay, m_delay * 2);
}
