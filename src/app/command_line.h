// Pecunette — apprendre à remplir un chèque.
#pragma once

#include <QStringList>

class QTextStream;

// --wording: prints the wording of each amount, one a line; "-" reads amounts
// from `in`, one a line. An amount that is not a whole number from 1 to 99999
// gets a line on `err` naming it. Returns the exit status: 0, or 2 when an
// amount was refused (after every other one is printed).
int printWordings(const QStringList &amounts, QTextStream &in, QTextStream &out, QTextStream &err);
