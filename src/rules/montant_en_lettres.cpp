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

// The tens a country says in one word, by the tens digit; an empty one is
// built from "soixante" or "quatre-vingt".
constexpr std::array<std::string_view, 10> TensOf(Pays pays)
{
    switch (pays) {
    case Pays::Belgique:
        return {"", "", "vingt", "trente", "quarante", "cinquante", "soixante", "septante", "", "nonante"};
    case Pays::Suisse:
        return {"", "", "vingt", "trente", "quarante", "cinquante", "soixante", "septante", "huitante", "nonante"};
    case Pays::France: break;
    }
    return {"", "", "vingt", "trente", "quarante", "cinquante", "soixante", "", "", ""};
}

// How the words of a number are joined: `gap` between words (a blank, or a
// hyphen in the 1990 spelling); compounds below a hundred always take a hyphen.
struct Writer {
    std::string &out;
    std::array<std::string_view, 10> tens;
    char gap;
    std::size_t start = out.size();  // where this number begins in `out`

    void word(std::string_view w)
    {
        if (out.size() > start)
            out += gap;
        out += w;
    }

    // 1 to 99. `plural` says whether "quatre-vingt" may take its "s": only
    // when nothing follows, or a noun (million, milliard) does.
    void belowHundred(int n, bool plural)
    {
        const int ten = n / 10;
        const int unit = n % 10;
        if (n < 10) {
            word(Units[unit]);
        } else if (n < 20) {
            word(Teens[unit]);
        } else if (!tens[ten].empty()) {
            word(tens[ten]);
            // "et" only for one, and only after a tens word: no "et" in "quatre-vingt-un".
            if (unit == 1) {
                word("et");
                word("un");
            } else if (unit != 0) {
                out += '-';
                out += Units[unit];
            }
        } else if (ten == 7) {
            word("soixante");
            if (unit == 1) {
                word("et");
                word("onze");
            } else {
                out += '-';
                out += Teens[unit];
            }
        } else if (n == 80) {
            word(plural ? "quatre-vingts" : "quatre-vingt");
        } else {
            word("quatre-vingt");
            out += '-';
            out += ten == 8 ? Units[unit] : Teens[unit];
        }
    }

    // 1 to 999; `plural` as for belowHundred, and also for "cent".
    void belowThousand(int n, bool plural)
    {
        const int hundreds = n / 100;
        const int rest = n % 100;
        if (hundreds != 0) {
            if (hundreds > 1)
                word(Units[hundreds]);
            // Only a multiplied "cent" that nothing but a noun follows takes the plural.
            word(hundreds > 1 && rest == 0 && plural ? "cents" : "cent");
        }
        if (rest != 0)
            belowHundred(rest, plural);
    }

    // 1 to 999 999 999 999.
    void whole(long long n)
    {
        const int milliards = static_cast<int>(n / 1'000'000'000);
        const int millions = static_cast<int>(n / 1'000'000 % 1000);
        const int thousands = static_cast<int>(n / 1000 % 1000);
        const int rest = static_cast<int>(n % 1000);
        // "million" and "milliard" are nouns: they take an "s", and the number
        // before them keeps its plurals ("quatre-vingts millions").
        if (milliards != 0) {
            belowThousand(milliards, true);
            word(milliards > 1 ? "milliards" : "milliard");
        }
        if (millions != 0) {
            belowThousand(millions, true);
            word(millions > 1 ? "millions" : "million");
        }
        // "mille" never varies, is never preceded by "un", and keeps "cent"
        // and "quatre-vingt" before it bare.
        if (thousands > 1)
            belowThousand(thousands, false);
        if (thousands != 0)
            word("mille");
        if (rest != 0)
            belowThousand(rest, true);
    }
};

Writer writerFor(std::string &out, Orthographe orthographe, Pays pays)
{
    return Writer {out, TensOf(pays), orthographe == Orthographe::Rectifiee1990 ? '-' : ' '};
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
    return MontantEnLettres(static_cast<Centimes>(amount) * 100, NumberStyle {.monnaie = monnaie});
}

std::string NombreEnLettres(long long number, Orthographe orthographe, Pays pays)
{
    if (number < 1 || number > UnitesMaximum)
        throw std::invalid_argument("NombreEnLettres: " + std::to_string(number) +
                                    " is not a whole number from 1 to 999999999999");
    std::string out;
    out.reserve(96);
    writerFor(out, orthographe, pays).whole(number);
    return out;
}

std::string MontantEnLettres(Centimes amount, const NumberStyle &style)
{
    const bool valid = style.centimes ? amount >= CentimesMinimum && amount <= CentimesMaximum
                                      : amount >= 100 && amount <= UnitesMaximum * 100 && amount % 100 == 0;
    if (!valid) {
        throw std::invalid_argument("MontantEnLettres: " + std::to_string(amount) +
                                    (style.centimes ? " is not a number of centimes from 1 to 99999999999999"
                                                    : " is not a whole number of centimes from 100 to 99999999999900"));
    }
    const long long units = amount / 100;
    const int cents = static_cast<int>(amount % 100);

    std::string out;
    out.reserve(160);
    if (units != 0) {
        writerFor(out, style.orthographe, style.pays).whole(units);
        out += ' ';
        // A round million or milliard is a noun: "un million d'euros", "deux milliards de francs".
        if (units % 1'000'000 == 0)
            out += style.monnaie == Monnaie::Euro ? "d'" : "de ";
        out += style.monnaie == Monnaie::Euro ? "euro" : "franc";
        if (units > 1)
            out += 's';
    }
    if (cents != 0) {
        if (units != 0)
            out += " et ";
        writerFor(out, style.orthographe, style.pays).whole(cents);
        out += cents > 1 ? " centimes" : " centime";
    }
    return out;
}

std::string TexteSomme(Centimes amount, const NumberStyle &style)
{
    const std::string currency = style.monnaie == Monnaie::Euro ? " €" : " Frs";
    if (!style.centimes)
        return std::to_string(amount / 100) + currency;
    const std::string digits = std::to_string(amount / 100);
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % 3 == 0)
            out += "\u202F";
        out += digits[i];
    }
    const int cents = static_cast<int>(amount % 100);
    out += ',';
    out += static_cast<char>('0' + cents / 10);
    out += static_cast<char>('0' + cents % 10);
    return out + currency;
}

MontantLu LireMontant(std::string_view text)
{
    // Blanks around, and the three spaces a keyboard or a copied number may put between groups.
    const auto blankAt = [&](std::size_t i) -> std::size_t {
        if (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
            return 1;
        if (text.substr(i, 2) == "\u00A0")
            return 2;
        if (text.substr(i, 3) == "\u202F")
            return 3;
        return 0;
    };
    std::size_t begin = 0;
    while (const std::size_t n = blankAt(begin))
        begin += n;
    std::size_t end = text.size();
    for (bool trimmed = true; trimmed && end > begin;) {
        trimmed = false;
        for (const std::size_t n : {1, 2, 3}) {
            if (end - begin >= n && blankAt(end - n) == n) {
                end -= n;
                trimmed = true;
                break;
            }
        }
    }
    text = text.substr(begin, end - begin);
    if (text.empty())
        return {std::nullopt, "il n'y a pas de montant"};

    long long units = 0;
    int digits = 0;  // in the whole part
    int groupDigits = 0;  // since the last separator
    bool grouped = false;
    std::size_t i = 0;
    while (i < text.size() && text[i] != ',' && text[i] != '.') {
        if (text[i] >= '0' && text[i] <= '9') {
            if (digits == 12)
                return {std::nullopt, "il est trop grand : au plus 999 999 999 999,99"};
            units = units * 10 + (text[i] - '0');
            ++digits;
            ++groupDigits;
            ++i;
        } else if (const std::size_t n = blankAt(i); n != 0 && digits != 0) {
            // "4 521": the first group has one to three digits, every other exactly three.
            if ((grouped ? groupDigits != 3 : groupDigits > 3))
                return {std::nullopt, "les chiffres vont par groupes de trois : 4 521,30"};
            grouped = true;
            groupDigits = 0;
            i += n;
        } else {
            return {std::nullopt, "il faut des chiffres, et une virgule avant les centimes : 4521,30"};
        }
    }
    if (digits == 0)
        return {std::nullopt, "il faut des chiffres, et une virgule avant les centimes : 4521,30"};
    if (grouped && groupDigits != 3)
        return {std::nullopt, "les chiffres vont par groupes de trois : 4 521,30"};
    int cents = 0;
    if (i < text.size()) {
        const std::string_view fraction = text.substr(i + 1);
        if (fraction.empty() || fraction.size() > 2)
            return {std::nullopt, "il faut un ou deux chiffres après la virgule"};
        for (const char c : fraction) {
            if (c < '0' || c > '9')
                return {std::nullopt, "il faut un ou deux chiffres après la virgule"};
        }
        cents = (fraction[0] - '0') * 10 + (fraction.size() == 2 ? fraction[1] - '0' : 0);
    }
    const Centimes amount = units * 100 + cents;
    if (amount < CentimesMinimum)
        return {std::nullopt, "il est nul : au moins 0,01"};
    return {amount, {}};
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
