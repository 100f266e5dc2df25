// Pecunette — apprendre à remplir un chèque.
// The progress history as a CSV file a spreadsheet can open.
#pragma once

#include "history_model.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

// One field as RFC 4180 wants it: quoted (with doubled quotes) when it holds a
// comma, a quote, CR or LF. A text that a spreadsheet would take for a formula
// (starting with =, +, -, @, tab or CR) gets a leading apostrophe first, so
// opening the file never runs what a pupil's wording happens to contain.
QString CsvField(const QString &text);

// UTF-8, comma-separated, CRLF line ends: the header row, then one line per history row.
QByteArray HistoryCsv(const QStringList &header, const std::vector<HistoryRow> &rows);
