// Pecunette — apprendre à remplir un chèque.
// The progress history as a CSV file a spreadsheet can open.
#pragma once

#include "history_row.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// One field as RFC 4180 wants it: quoted (with doubled quotes) when it holds a
// comma, a quote, CR or LF. A text that a spreadsheet would take for a formula
// (starting with =, +, -, @, tab or CR) gets a leading apostrophe first, so
// opening the file never runs what a pupil's wording happens to contain.
QString CsvField(const QString &text);

// The title of the column added after the grid's own: whether the row is one
// the grid shows in red, which colour alone cannot carry into a file.
inline QString ErrorColumnTitle() { return QStringLiteral("Erreur"); }
inline QString ErrorColumnText(const HistoryRow &row)
{
    return row.normal ? QStringLiteral("non") : QStringLiteral("oui");
}

// UTF-8, comma-separated, CRLF line ends: the header row, then one line per
// history row. The "Erreur" column comes last, so that a reader of the first
// four columns (files and imports made before it) keeps working.
QByteArray HistoryCsv(const QStringList &header, const std::vector<HistoryRow> &rows);
