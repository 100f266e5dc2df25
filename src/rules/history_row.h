// Pecunette — apprendre à remplir un chèque.
// A row of the progress history as a plain value: what the grid shows, the
// CSV holds and, later, what a lasting record keeps.
#pragma once

#include <QString>

// One history row, cell by cell. Cells are stored as given: an event text may
// hold tabs, line breaks or any length and still stays one cell of one row.
struct HistoryRow {
    QString number;  // the row's index in the grid ("1" for the launch row)
    QString moment;  // date and time when the row was added
    QString event;  // the event text, exactly as the caller passed it
    QString duration;  // "hh:mm:ss", a caller's text, or empty (launch row)
    bool normal = true;  // black when true, red when false
    bool launch = false;  // the launch row keeps the grid's default colours
};
