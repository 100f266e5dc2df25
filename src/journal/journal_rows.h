// Pecunette — apprendre à remplir un chèque.
// What the local journal and the school server's store read back the same
// way: the span of days a question covers, and the summaries' rows. Each
// store keeps its own SQL; the columns of a summary come in this order.
#pragma once

#include "journal_event.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <utility>

class QSqlDatabase;
class QSqlQuery;

// The local date a row was written on is the first ten characters of its
// moment, on whichever machine: this condition, bound to dayBounds(range).
QString dayInRange();
// An open end reads as a date no row can pass.
QVariantList dayBounds(const DayRange &range);

// Keys, names, series done, cheques, errors, last mark, mean mark, last seen.
PupilSummary pupilSummaryFrom(const QSqlQuery &q);
// Keys, names, session, series, start, currency, largest amount, cheques per
// series, cheques, errors, mark, duration.
SeriesSummary seriesSummaryFrom(const QSqlQuery &q);

// Runs each statement with its bound values on `db`, inside a transaction the
// caller has begun and will end: the rows the last one changed, or -1 with
// the driver's `reason` (the caller rolls back).
qint64 runStatements(QSqlDatabase &db, const QList<std::pair<QString, QVariantList>> &statements, QString &reason);
