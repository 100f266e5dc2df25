// Pecunette — apprendre à remplir un chèque.
// One event of the class journal: a history row with what it happened to, kept
// beyond the session. A row is made on one machine and may be forwarded to a
// shared server later, so its key is an id made here, never a counter of a file.
#pragma once

#include "exercise_state.h"
#include "history_row.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

struct JournalEvent {
    QString id;  // a UUID made when the row happens: the same everywhere it goes
    QString session;  // a UUID per run of the program
    qint64 sequence = 0;  // 1, 2, ... within the session: its order, whatever the clock says
    QString moment;  // ISO 8601 with the UTC offset, "2026-12-09T10:58:30+01:00"
    qint64 monotonicMs = 0;  // the run's monotonic clock when the row happened

    QString nom;  // the pupil's names as typed, empty before any identification
    QString prenom;
    QString nomKey;  // matching keys: trimmed and case-folded
    QString prenomKey;

    HistoryEventKind kind = HistoryEventKind::Other;
    QString text;  // the history's event text, verbatim
    bool normal = true;  // black (true) or red row
    QString duration;  // the history's duration text

    std::optional<int> amount;  // the cheque's amount, when there was one
    QString expected;  // its wording (PhraseATrouver)
    QString block;  // the dropped block, for a drop
    std::optional<bool> blockRight;  // whether that drop was right
    int series = 0;  // series of the run, 0 before the first cheque
    QString currency;  // "franc" or "euro"
    double maxAmount = 0;  // the level: largest amount drawn (MontantMax)
    int chequesPerSeries = 0;
    std::optional<double> mark;  // out of 20, on the series' mark row

    bool operator==(const JournalEvent &) const = default;
};

// What an overview of the class shows for one pupil (rows before any
// identification belong to no one and are left out).
struct PupilSummary {
    QString nomKey;
    QString prenomKey;
    QString nom;  // as last typed
    QString prenom;
    int seriesDone = 0;  // series that got a mark
    int cheques = 0;  // cheques completed
    int errors = 0;  // wrong drops
    std::optional<double> lastMark;
    std::optional<double> meanMark;
    QString lastSeen;  // moment of the pupil's latest row

    bool operator==(const PupilSummary &) const = default;
};

// Days, both ends included, read on the local date each row was written with;
// an invalid end leaves that side open.
struct DayRange {
    QDate from;
    QDate to;
    bool operator==(const DayRange &) const = default;
};

// One series of one pupil, as a class export lists it.
struct SeriesSummary {
    QString nomKey;
    QString prenomKey;
    QString nom;  // as typed on the series' last row
    QString prenom;
    QString session;
    int series = 0;  // the series' number within its session
    QString started;  // moment of its first row
    QString currency;  // the settings it was played with
    double maxAmount = 0;
    int chequesPerSeries = 0;
    int cheques = 0;  // cheques completed
    int errors = 0;  // wrong drops
    std::optional<double> mark;  // none for a series left unfinished
    QString duration;  // its "Durée totale", empty when unfinished

    bool operator==(const SeriesSummary &) const = default;
};

// The kind as the journal stores it ("depot", "note", ...), and back; an
// unknown text reads as Other.
QString kindName(HistoryEventKind kind);
HistoryEventKind kindFromName(const QString &name);

// Trimmed and case-folded: "  DUPONT " and "dupont" are one pupil.
QString matchingKey(const QString &name);

QString currencyName(Monnaie monnaie);

// ISO 8601 with the offset from UTC in force at that moment.
QString isoWithOffset(const QDateTime &moment);

// The journal's event for a history row, read with the exercise state as it
// stands when the row is added. Id, session and sequence are the caller's.
JournalEvent journalEventFor(const HistoryRow &row, const ExerciseState &state);
