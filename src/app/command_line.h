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

// --wording with a number style: amounts from 0,01 to 999 999 999 999,99
// (LireMontant: "4521", "4521,30", "4521.30", "4 521,30"), each worded in
// `style` with its cents, whatever `style.centimes` says. A refused amount
// gets a line on `err` naming it and saying why; the status is as above.
int printWordings(const QStringList &amounts, QTextStream &in, QTextStream &out, QTextStream &err,
                  const NumberStyle &style);

// "traditional" or "1990" (any case); nothing for anything else.
std::optional<Orthographe> parseOrthographe(const QString &text);
// "fr", "be" or "ch" (any case); nothing for anything else.
std::optional<Pays> parsePays(const QString &text);

// "franc"/"francs"/"frs" or "euro"/"euros"/"€" (any case); nothing for anything else.
std::optional<Monnaie> parseMonnaie(const QString &text);

// Qt's parser takes "-5" for an unknown option; it is an amount, and should be
// refused as one. Moves each such argument (a "-" then a digit, not the value
// of `valueOptions`) behind a "--", where the parser reads it as an amount.
// No amount printed moves: a negative one is always refused.
QStringList negativeAmountsAsArguments(const QStringList &arguments, const QStringList &valueOptions);

// A text the user gave, fit to be quoted in a message: one line, nothing that
// could drive the terminal, at most 40 characters (a cut one ends with "…").
QString quotedInput(const QString &text);
