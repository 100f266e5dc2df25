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

// How a class writes its numbers. The default is the exercise as it always
// was: traditional spelling, as in France, whole francs.
enum class Orthographe {
    Traditionnelle,  // blanks between words, hyphens inside compounds below a hundred
    Rectifiee1990,  // every word of the number joined by hyphens: "deux-cent-un"
};
enum class Pays {
    France,  // soixante-dix, quatre-vingts, quatre-vingt-dix
    Belgique,  // septante, quatre-vingts, nonante
    Suisse,  // septante, huitante, nonante
};
struct NumberStyle {
    Orthographe orthographe = Orthographe::Traditionnelle;
    Pays pays = Pays::France;
    Monnaie monnaie = Monnaie::Franc;
    bool centimes = false;  // amounts carry cents ("et trente centimes", "4 521,30 €")
    friend bool operator==(const NumberStyle &, const NumberStyle &) = default;
};

// Amounts in hundredths of the currency unit (centimes), the one unit every
// style shares: 4521,30 is 452130.
using Centimes = long long;
constexpr Centimes CentimesMinimum = 1;  // 0,01
constexpr Centimes CentimesMaximum = 99'999'999'999'999;  // 999 999 999 999,99
constexpr long long UnitesMaximum = 999'999'999'999;  // the largest whole amount

// The wording of `amount` (in centimes) in `style`: "quatre mille cinq cent
// vingt et un euros et trente centimes", "deux-cents-millions d'euros",
// "septante et un francs". With cents off, only whole amounts from 1 to
// 999 999 999 999 have one; with cents on, every amount from 0,01 to
// 999 999 999 999,99. Throws std::invalid_argument for anything else.
// For the default style and 1..99999 it is MontantEnLettres(amount / 100).
std::string MontantEnLettres(Centimes amount, const NumberStyle &style);

// The number alone, without any currency: "vingt-et-un", "quatre-vingts",
// "huitante mille". From 1 to 999 999 999 999; throws std::invalid_argument otherwise.
std::string NombreEnLettres(long long number, Orthographe orthographe = Orthographe::Traditionnelle,
                            Pays pays = Pays::France);

// What the amount box of the cheque shows. Without cents exactly as it always
// did: the plain digits and " Frs" or " €" ("4521 Frs"). With cents, as a bank
// writes it: groups of three digits separated by a narrow no-break space
// (U+202F), a comma, two digits ("4 521,30 €", "0,50 Frs"). UTF-8.
std::string TexteSomme(Centimes amount, const NumberStyle &style);

// An amount typed by a teacher or given on the command line: "4521",
// "4521,30", "4521.30", "4 521,30" (blanks, no-break spaces or narrow
// no-break spaces between groups of three digits), "0,5" for 0,50; blanks
// around are ignored. From 0,01 to 999 999 999 999,99.
struct MontantLu {
    std::optional<Centimes> centimes;  // nothing when refused
    std::string raison;  // why it was refused, in French, for a child's teacher; empty when read
};
MontantLu LireMontant(std::string_view text);
