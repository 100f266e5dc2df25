// Pecunette — apprendre à remplir un chèque.
#pragma once

#include <QString>

// A name or a label as the program keeps it: one line, nothing invisible that
// could garble what is shown or saved. Line breaks and tabs become a blank;
// NUL and the other control characters are dropped, and so are the marks that
// override or isolate the text's direction (a right-to-left override shows
// "evil" as "live"). Everything else, right-to-left letters, emoji and their
// joiners, combining accents, is kept as it is.
QString cleanLine(const QString &text);

class QLineEdit;

// Cleans the field's text with cleanLine() as it is typed or pasted, so what
// the field shows is what will be kept.
void cleanAsTyped(QLineEdit *edit);
