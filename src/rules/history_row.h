// Pecunette — apprendre à remplir un chèque.
// A row of the progress history as a plain value: what the grid shows, the
// CSV holds and, later, what a lasting record keeps.
#pragma once

#include <QDateTime>
#include <QString>

// What a history row records, for whatever keeps the rows beyond the grid
// (the class journal): the grid and the CSV do not show it.
enum class HistoryEventKind {
    Other,  // a row no caller named
    Launch,  // "Lancement du programme"
    Identification,  // "Elève NOM Prénom"
    ChequeStart,  // "Début de l'exercice : ..."
    Drop,  // a block dropped on the cheque, right or wrong
    ChequeEnd,  // the cheque's wording is complete
    Hint,  // a block lit in blue
    Mark,  // the series' mark
    TotalDuration,  // "Durée totale"
    Abandon,  // "Chèque abandonné"
    SessionEnd,  // "Fin"
    Clearing,  // the teacher empties the window ("Vider")
};

// One history row, cell by cell. Cells are stored as given: an event text may
// hold tabs, line breaks or any length and still stays one cell of one row.
struct HistoryRow {
    QString number;  // the row's index in the grid ("1" for the launch row)
    QString moment;  // date and time when the row was added
    QString event;  // the event text, exactly as the caller passed it
    QString duration;  // "hh:mm:ss", a caller's text, or empty (launch row)
    bool normal = true;  // black when true, red when false
    bool launch = false;  // the launch row keeps the grid's default colours
    HistoryEventKind kind = HistoryEventKind::Other;
    QDateTime at;  // the moment the row was added, with its time zone
};
