// Pecunette — apprendre à remplir un chèque.
#include "journal_recorder.h"

#include <QUuid>

#include <algorithm>
#include <utility>

JournalSession::JournalSession()
    : m_id(QUuid::createUuid().toString(QUuid::WithoutBraces))
{ }

void JournalSession::stamp(JournalEvent &event, qint64 monotonicMs)
{
    event.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    event.session = m_id;
    event.sequence = ++m_sequence;
    event.monotonicMs = monotonicMs;
}

JournalRecorder::JournalRecorder(QString path, QObject *parent)
    : QObject(parent)
    , m_path(std::move(path))
    , m_retry(this)
{
    qRegisterMetaType<JournalEvent>();
    m_retry.setInterval(10000);
    connect(&m_retry, &QTimer::timeout, this, &JournalRecorder::flush);
}

JournalRecorder::~JournalRecorder() { finish(); }

void JournalRecorder::record(const JournalEvent &event)
{
    m_pending.push_back(event);
    flush();
}

void JournalRecorder::start()
{
    m_started = true;
    flush();
}

void JournalRecorder::finish()
{
    if (m_started)
        flush();
    m_retry.stop();
    m_store.close();
}

void JournalRecorder::flush()
{
    // A message shown while a row is written lets the event loop run: a row or
    // a tick arriving then waits for this pass, which takes it along.
    if (!m_started || m_flushing)
        return;
    m_flushing = true;
    if (!m_store.isOpen()) {
        const SqliteJournal::Opening opening = m_store.open(m_path, QDateTime::currentDateTime());
        if (!opening.setAside.isEmpty())
            Q_EMIT setAside(m_path, opening.setAside, opening.setAsideReason);
        if (!opening.ok) {
            fail(opening.error);
            m_flushing = false;
            return;
        }
    }
    while (!m_pending.empty()) {
        // A row as it happens commits alone; a backlog goes in batches, each
        // whole or not at all, as it would be lost whole from memory anyway.
        const qsizetype count = std::min<qsizetype>(qsizetype(m_pending.size()), 500);
        const bool ok = count == 1 ? m_store.append(m_pending.front())
                                   : m_store.append(QList<JournalEvent>(m_pending.begin(), m_pending.begin() + count));
        if (!ok) {
            // Opened afresh at the next try: after a full disk or a file moved
            // away, a new connection sees the journal as it now is.
            const QString reason = m_store.lastError();
            m_store.close();
            fail(reason);
            m_flushing = false;
            return;
        }
        for (qsizetype i = 0; i < count; ++i) {
            const JournalEvent done = std::move(m_pending.front());
            m_pending.pop_front();
            Q_EMIT written(done);
        }
    }
    m_retry.stop();
    if (m_failing) {
        m_failing = false;
        Q_EMIT writableAgain();
    }
    m_flushing = false;
}

void JournalRecorder::fail(const QString &reason)
{
    if (!m_retry.isActive())
        m_retry.start();
    if (m_failing)
        return;
    m_failing = true;
    Q_EMIT cannotWrite(reason);
}
