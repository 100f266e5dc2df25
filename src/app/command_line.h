// Pecunette — apprendre à remplir un chèque.
#pragma once

#include "montant_en_lettres.h"

#include <QStringList>

class QTextStream;

// --wording: prints the wording of each amount, one a line; "-" reads amounts
// from `in`, one a line (blank lines skipped). An amount that is not a whole number from 1 to 99999
// gets a line on `err` naming it. Returns the exit status: 0, or 2 when an
// amount was refused (after every other one is printed).
int printWordings(const QStringList &amounts, QTextStream &in, QTextStream &out, QTextStream &err,
                  Monnaie monnaie = Monnaie::Franc);

// "franc"/"francs"/"frs" or "euro"/"euros"/"€" (any case); nothing for anything else.
std::optional<Monnaie> parseMonnaie(const QString &text);
