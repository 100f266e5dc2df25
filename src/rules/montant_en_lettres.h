// Pecunette — apprendre à remplir un chèque.
// The amount of a cheque in French words: plain C++, no Qt, so it can be
// tested exhaustively and fuzzed.
#pragma once

#include <optional>
#include <string>
#include <string_view>

constexpr int MontantMinimum = 1;
// The currency the cheques are written in: the franc of the original
// exercise, or the euro of cheques since 2002.
enum class Monnaie { Franc, Euro };

constexpr int MontantMaximum = 99999;

// The wording of a whole number of francs from 1 to 99999, in the traditional
// spelling with blanks between words and hyphens inside compounds, ending with
// "franc" or "francs": 81081 gives "quatre-vingt-un mille quatre-vingt-un francs".
// Throws std::invalid_argument for anything else (0, negative, fractional,
// six digits or more, not a number). In euros the last word is "euro" or "euros".
std::string MontantEnLettres(double amount, Monnaie monnaie = Monnaie::Franc);

// The currency word for `amount`: "franc"/"francs", "euro"/"euros".
std::string MotMonnaie(int amount, Monnaie monnaie);

// The amount a user typed ("81", " 81 "): a whole number from 1 to 99999
// written with decimal digits only; nothing for "0", "1.5", "1e3", "abc", "".
std::optional<int> parseAmount(std::string_view text);
