// Pecunette — apprendre à remplir un chèque.
// Where the class journal's events are kept: the one interface the program
// writes through and an overview of the class reads through. SQLite on this
// machine today; a forwarder to a shared server can stand beside it.
#pragma once

#include "journal_event.h"

#include <QList>
#include <QString>

class JournalStore {
public:
    virtual ~JournalStore() = default;

    // Writes one event, whole or not at all. An event whose id is there already
    // is not written twice, and that counts as written. False when it could not
    // be written (full disk, read-only, locked too long): lastError() says why.
    virtual bool append(const JournalEvent &event) = 0;
    // Writes several events in one transaction, all or none: for a backlog
    // kept in memory, whose rows are not safer one by one.
    virtual bool append(const QList<JournalEvent> &events) = 0;

    // The events in the order they were written; `offset` and `limit` page
    // through them (limit < 0: all), as a forwarder walks the journal.
    virtual QList<JournalEvent> events(qint64 offset = 0, qint64 limit = -1) = 0;
    // One pupil's events, matched on the keys of the names (trimmed, case-folded).
    virtual QList<JournalEvent> eventsOfPupil(const QString &nom, const QString &prenom) = 0;
    // One line per pupil, in the order of their matching keys.
    virtual QList<PupilSummary> classSummary() = 0;

    // The reason of the last failure, in French.
    virtual QString lastError() const = 0;
};
