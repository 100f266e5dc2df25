// Pecunette — apprendre à remplir un chèque.
// Where the class journal's events are kept: the one interface the program
// writes through and an overview of the class reads through. SQLite on this
// machine today; a forwarder to a shared server can stand beside it.
#pragma once

#include "journal_event.h"

#include <QDate>
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

    // The same, over the rows written on the days of `range` only.
    virtual QList<PupilSummary> classSummary(const DayRange &range) = 0;
    virtual QList<JournalEvent> eventsOfPupil(const QString &nom, const QString &prenom, const DayRange &range) = 0;
    // The events of one kind within `range`, in the order they were written
    // (the marks of the class, for the trends).
    virtual QList<JournalEvent> eventsOfKind(HistoryEventKind kind, const DayRange &range) = 0;
    // One line per series a pupil began within `range`, by pupil then in order.
    virtual QList<SeriesSummary> seriesOfClass(const DayRange &range) = 0;

    // The teacher's corrections. Each runs in one transaction, touches the
    // rows of one pupil (matched on the keys) and returns how many rows it
    // changed, or -1 when it could not (lastError() says why).
    virtual qint64 rowsOfPupil(const QString &nom, const QString &prenom) = 0;
    // Every row of the pupil takes the new names (and their keys); a name
    // already there merges the two pupils.
    virtual qint64 renamePupil(const QString &nom, const QString &prenom, const QString &newNom,
                               const QString &newPrenom) = 0;
    // The rows of `from` become rows of `into`, under the names `into` was last typed with.
    virtual qint64 mergePupils(const QString &fromNom, const QString &fromPrenom, const QString &intoNom,
                               const QString &intoPrenom) = 0;
    virtual qint64 deletePupil(const QString &nom, const QString &prenom) = 0;

    // The reason of the last failure, in French.
    virtual QString lastError() const = 0;
};
