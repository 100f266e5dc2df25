// Pecunette — apprendre à remplir un chèque.
// What the class overview computes from the journal, apart from any window:
// the trend of the marks, the words a pupil misses, the exported files.
#pragma once

#include "journal_event.h"

#include <QByteArray>
#include <QList>
#include <QString>

enum class Trend { None, Up, Flat, Down };

struct TrendReading {
    Trend trend = Trend::None;
    QString arrow;  // "↗", "→", "↘", or empty
    QString explanation;  // the tooltip, in French
};

// How far the last mark stands from the mean of the (up to) three before it:
// a point or more up is ↗, a point or more down is ↘, anything less is →.
// Fewer than two marks tell nothing.
TrendReading trendOf(const QList<double> &marks);

// One kind of mistake: the word of the amount that was to come and the block
// dropped instead, with how often.
struct MissedBlock {
    QString expectedWord;
    QString dropped;
    int count = 0;
    bool operator==(const MissedBlock &) const = default;
};

// The word of `expected` that the next block had to make, once `wording` is
// on the cheque: the word the wording stops inside ("cents" after "deux
// cent"), or the next one. Empty when the wording is not a start of `expected`.
QString expectedWordAt(const QString &expected, const QString &wording);

// The wrong drops of `events` (one pupil's, in order), grouped by the word
// expected and the block dropped; most frequent first.
QList<MissedBlock> missedBlocks(const QList<JournalEvent> &events);

// "15,5" — marks as a French teacher writes them; empty for none.
QString frenchMark(const std::optional<double> &mark);
// "09/12/2026 10:58" from a journal moment, on the clock it was written with.
QString frenchMoment(const QString &isoMoment);

// The class file: one line per series. The pupil's file: every row, with
// whether it was an error. Both UTF-8, comma-separated, CRLF, every field
// through CsvField.
QByteArray classCsv(const QList<SeriesSummary> &series);
QByteArray pupilCsv(const QList<JournalEvent> &events);
