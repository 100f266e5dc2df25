// Pecunette — apprendre à remplir un chèque.
#include "regle_enfreinte.h"

#include "cheque_rules.h"

#include <string_view>

namespace {

bool isSeparator(char c) { return c == ' ' || c == '-'; }

// The word of `text` that begins at `at`: up to a blank or a hyphen, or up to
// and with the apostrophe of "d'".
std::string_view wordAt(std::string_view text, std::size_t at)
{
    std::size_t end = at;
    while (end < text.size() && !isSeparator(text[end])) {
        if (text[end++] == '\'')
            break;
    }
    return text.substr(at, end - at);
}

// The last word of `text`, whatever separator the program wrote after it.
std::string_view lastWord(std::string_view text)
{
    while (!text.empty() && isSeparator(text.back()))
        text.remove_suffix(1);
    std::size_t begin = text.size();
    while (begin > 0 && !isSeparator(text[begin - 1]) && (begin == text.size() || text[begin - 1] != '\''))
        --begin;
    return text.substr(begin);
}

// The word before the last one of `text`.
std::string_view wordBeforeLast(std::string_view text)
{
    while (!text.empty() && isSeparator(text.back()))
        text.remove_suffix(1);
    text.remove_suffix(lastWord(text).size());
    return lastWord(text);
}

bool isCurrency(std::string_view word)
{
    return word == "franc" || word == "francs" || word == "euro" || word == "euros";
}

bool isMoneyWord(std::string_view word)
{
    return isCurrency(word) || word == "centime" || word == "centimes" || word == "de" || word == "d'";
}

bool rightAfter(const std::string &expected, const std::string &wording, const std::string &word,
                const NumberStyle &style)
{
    return JudgeDrop(expected, wording, word, style).right;
}

// The wording after the right drop of `word`, which the pupil skipped.
std::string skipping(const std::string &expected, const std::string &wording, const std::string &word,
                     const NumberStyle &style)
{
    return WordingAfterRightDrop(expected, JoinWord(wording, word, style));
}

}  // namespace

RegleEnfreinte RegleEnfreintePar(const std::string &expected, const std::string &wording, const std::string &word,
                                 const NumberStyle &style)
{
    using R = RegleEnfreinte;
    const std::size_t p = wording.size();
    if (expected.compare(0, p, wording) != 0 || p >= expected.size() || rightAfter(expected, wording, word, style))
        return R::Aucune;
    const std::string_view previous = lastWord(wording);
    const bool afterSeparator = p > 0 && (isSeparator(wording.back()) || wording.back() == '\'');

    // A stem whose plural "s" is still to come: "deux cent" in "deux cents euros".
    if (!afterSeparator && p > 0 && expected[p] == 's' && (p + 1 == expected.size() || isSeparator(expected[p + 1]))) {
        if (word == "s" || !rightAfter(expected, skipping(expected, wording, "s", style), word, style))
            return R::Aucune;
        if (previous == "cent")
            return R::CentPluriel;
        if (previous == "vingt")
            return R::QuatreVingtsPluriel;
        if (previous == "million" || previous == "milliard")
            return R::MillionPluriel;
        return R::Aucune;
    }

    // Where the 1990 spelling wants a hyphen the wording lacks, the drop would
    // have been right after one.
    if (style.orthographe == Orthographe::Rectifiee1990 && expected[p] == '-' && p > 0 && !afterSeparator &&
        rightAfter(expected, wording + '-', word, style)) {
        return R::TraitsUnion1990;
    }

    if (word == "s") {
        if (afterSeparator || p == 0)
            return R::Aucune;
        if (previous == "cent")
            return R::CentPluriel;
        if (previous == "vingt")
            return wordBeforeLast(wording) == "quatre" ? R::QuatreVingtsPluriel : R::VingtPluriel;
        if (previous == "mille")
            return R::MilleInvariable;
        if (previous == "huitante")
            return R::HuitanteInvariable;
        if (previous == "million" || previous == "milliard")
            return R::MillionPluriel;
        return R::Aucune;
    }

    // The word the pupil should drop now.
    const std::size_t nextAt = p == 0 || afterSeparator ? p : isSeparator(expected[p]) ? p + 1 : std::string::npos;
    if (nextAt == std::string::npos || nextAt >= expected.size())
        return R::Aucune;
    const std::string_view next = wordAt(expected, nextAt);
    const bool inNumber = p > 0 && !isMoneyWord(previous);

    // A "cent" or "mille" that nothing multiplies: at the start, or after a larger group.
    const bool bare = p == 0 || previous == "mille" || previous == "million" || previous == "millions" ||
                      previous == "milliard" || previous == "milliards";
    if (word == "un" && bare && (next == "cent" || next == "mille"))
        return R::UnDevantCentMille;

    if (word == "et" && inNumber && next != "et")
        return R::EtSeulement;
    if (next == "et" && inNumber && rightAfter(expected, skipping(expected, wording, "et", style), word, style))
        return R::EtSeulement;

    const bool elision = word == "de" || word == "d'";
    if ((next == "de" || next == "d'") && (isCurrency(word) || elision))
        return R::DeApresMillion;
    if (isCurrency(next) && elision && inNumber)
        return R::DeApresMillion;
    return R::Aucune;
}

std::string PhraseDeLaRegle(RegleEnfreinte regle, const NumberStyle &style)
{
    switch (regle) {
    case RegleEnfreinte::Aucune: return {};
    case RegleEnfreinte::CentPluriel:
        return "« cent » prend un « s » seulement quand il termine le nombre : deux cents, mais deux cent un.";
    case RegleEnfreinte::MilleInvariable: return "« mille » ne prend jamais de « s ».";
    case RegleEnfreinte::UnDevantCentMille: return "On n'écrit pas « un » devant « cent » ni devant « mille ».";
    case RegleEnfreinte::EtSeulement:
        return "« et » s'écrit seulement dans vingt et un, trente et un, … soixante et onze.";
    case RegleEnfreinte::QuatreVingtsPluriel:
        return "« quatre-vingts » prend un « s » seulement quand il termine le nombre : quatre-vingts, mais "
               "quatre-vingt-trois.";
    case RegleEnfreinte::DeApresMillion:
        return style.monnaie == Monnaie::Euro ? "Après un million tout rond, on écrit « d'euros »."
                                              : "Après un million tout rond, on écrit « de francs ».";
    case RegleEnfreinte::TraitsUnion1990:
        return "En orthographe rectifiée, tous les mots du nombre sont reliés par des traits d'union.";
    case RegleEnfreinte::HuitanteInvariable: return "« huitante » ne prend jamais de « s ».";
    case RegleEnfreinte::VingtPluriel:
        return "« vingt » prend un « s » seulement dans quatre-vingts, quand il termine le nombre.";
    case RegleEnfreinte::MillionPluriel:
        return "« million » et « milliard » prennent un « s » quand il y en a plusieurs : deux millions.";
    }
    return {};
}
