// Pecunette — apprendre à remplir un chèque.
#include "montant_en_lettres.h"

#include <array>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <system_error>

namespace {

constexpr std::array<std::string_view, 10> Units = {"",     "un",  "deux", "trois", "quatre",
                                                    "cinq", "six", "sept", "huit",  "neuf"};

// Ten plus the digit.
constexpr std::array<std::string_view, 10> Teens = {"dix",    "onze",  "douze",    "treize",   "quatorze",
                                                    "quinze", "seize", "dix-sept", "dix-huit", "dix-neuf"};

// Ten times the digit, for 2 to 6; 70 to 99 are built from "soixante" and "quatre-vingt".
constexpr std::array<std::string_view, 7> Tens = {"", "", "vingt", "trente", "quarante", "cinquante", "soixante"};

// 1 to 99. `endsNumber` says whether nothing follows, which is the only case
// where "quatre-vingt" takes its "s".
void appendBelowHundred(std::string &out, int n, bool endsNumber)
{
    const int tens = n / 10;
    const int units = n % 10;
    if (n < 10) {
        out += Units[units];
    } else if (n < 20) {
        out += Teens[units];
    } else if (n < 70) {
        out += Tens[tens];
        if (units == 1) {
            out += " et un";
        } else if (units != 0) {
            out += '-';
            out += Units[units];
        }
    } else if (n < 80) {
        if (n == 71) {
            out += "soixante et onze";
        } else {
            out += "soixante-";
            out += Teens[units];
        }
    } else if (n == 80) {
        out += endsNumber ? "quatre-vingts" : "quatre-vingt";
    } else {
        // No "et" from 81 on: "quatre-vingt-un", "quatre-vingt-onze".
        out += "quatre-vingt-";
        out += n < 90 ? Units[units] : Teens[units];
    }
}

void appendWord(std::string &out, std::string_view word)
{
    if (!out.empty())
        out += ' ';
    out += word;
}

std::string describe(double amount)
{
    char buffer[64];
    // Plain digits for anything a person could type; exponents for the absurd,
    // and for the tiny fractions whose plain digits would not fit the buffer.
    auto result = std::to_chars(buffer, buffer + sizeof buffer, amount, std::chars_format::fixed);
    if (result.ec != std::errc() || std::fabs(amount) >= 1e15)
        result = std::to_chars(buffer, buffer + sizeof buffer, amount, std::chars_format::general);
    return std::string(buffer, result.ptr);
}

}  // namespace

std::string MotMonnaie(int amount, Monnaie monnaie)
{
    const std::string word = monnaie == Monnaie::Euro ? "euro" : "franc";
    return amount == 1 ? word : word + "s";
}

std::string MontantEnLettres(double amount, Monnaie monnaie)
{
    if (!std::isfinite(amount) || amount != std::floor(amount) || amount < MontantMinimum || amount > MontantMaximum) {
        throw std::invalid_argument("MontantEnLettres: " + describe(amount) +
                                    " is not a whole number of francs from 1 to 99999");
    }
    const int value = static_cast<int>(amount);
    const int thousands = value / 1000;
    const int hundreds = value / 100 % 10;
    const int rest = value % 100;

    std::string out;
    out.reserve(80);
    if (thousands == 1) {
        out += "mille";
    } else if (thousands > 1) {
        // "mille" never varies and keeps "quatre-vingt" bare before it.
        appendBelowHundred(out, thousands, false);
        out += " mille";
    }
    if (hundreds != 0) {
        if (!out.empty())
            out += ' ';
        if (hundreds > 1) {
            out += Units[hundreds];
            out += ' ';
        }
        out += "cent";
        // Only a multiplied "cent" that ends the number takes the plural.
        if (hundreds > 1 && rest == 0)
            out += 's';
    }
    if (rest != 0) {
        if (!out.empty())
            out += ' ';
        appendBelowHundred(out, rest, true);
    }
    appendWord(out, MotMonnaie(value, monnaie));
    return out;
}

std::optional<int> parseAmount(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return std::nullopt;
    text = text.substr(first, text.find_last_not_of(blanks) - first + 1);

    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > MontantMaximum)
            return std::nullopt;
    }
    if (value < MontantMinimum)
        return std::nullopt;
    return static_cast<int>(value);
}
