// Pecunette — apprendre à remplir un chèque.
// What the tests of the number styles share: every style, a name for each,
// and the pupil who spells a wording block by block.
#pragma once

#include "cheque_rules.h"
#include "montant_en_lettres.h"

#include <QString>

#include <array>
#include <functional>
#include <set>
#include <string>
#include <vector>

inline QString q(const std::string &text) { return QString::fromStdString(text); }

// Every spelling × country × currency, cents on or off.
inline std::vector<NumberStyle> everyStyle(bool centimes)
{
    std::vector<NumberStyle> styles;
    for (const Orthographe o : {Orthographe::Traditionnelle, Orthographe::Rectifiee1990})
        for (const Pays p : {Pays::France, Pays::Belgique, Pays::Suisse})
            for (const Monnaie m : {Monnaie::Franc, Monnaie::Euro})
                styles.push_back({o, p, m, centimes});
    return styles;
}

inline QString styleName(const NumberStyle &s)
{
    return QStringLiteral("%1 %2 %3%4")
        .arg(s.orthographe == Orthographe::Rectifiee1990 ? QStringLiteral("1990") : QStringLiteral("trad"))
        .arg(s.pays == Pays::France     ? QStringLiteral("fr")
             : s.pays == Pays::Belgique ? QStringLiteral("be")
                                        : QStringLiteral("ch"))
        .arg(s.monnaie == Monnaie::Euro ? QStringLiteral("euro") : QStringLiteral("franc"))
        .arg(s.centimes ? QStringLiteral(" centimes") : QString());
}

// The blocks a pupil drops to spell `expected`, found without the joining
// rule: each word between blanks, hyphens and the apostrophe of "d'" is one
// caption, or, for a plural the "s" block can make (cents, vingts, millions,
// francs, centimes...), its stem then "s", or both. False when some word has
// neither.
struct BlockSpelling {
    std::vector<std::string> words;  // one caption per word
    std::vector<std::string> shownAfter;  // what the cheque shows after each word, hyphen included
    std::vector<bool> whole;  // the word is a block's caption
    std::vector<bool> stemThenS;  // the word can be dropped as its stem, then "s"
};

inline bool spell(const std::string &expected, const std::set<std::string> &captions, BlockSpelling &out)
{
    static const std::set<std::string> stems = {"cent", "vingt", "million", "milliard", "franc", "euro", "centime"};
    out.words.clear();
    out.shownAfter.clear();
    out.whole.clear();
    out.stemThenS.clear();
    std::size_t start = 0;
    while (start < expected.size()) {
        std::size_t end = start;
        while (end < expected.size() && expected[end] != ' ' && expected[end] != '-') {
            if (expected[end++] == '\'')
                break;
        }
        const std::string word = expected.substr(start, end - start);
        const bool whole = captions.count(word) > 0;
        const bool stemThenS = word.size() > 1 && word.back() == 's' &&
                               stems.count(word.substr(0, word.size() - 1)) > 0 &&
                               captions.count(word.substr(0, word.size() - 1)) > 0;
        if (!whole && !stemThenS)
            return false;
        out.words.push_back(word);
        out.shownAfter.push_back(expected.substr(0, end) + (end < expected.size() && expected[end] == '-' ? "-" : ""));
        out.whole.push_back(whole);
        out.stemThenS.push_back(stemThenS);
        start = expected[end - 1] == '\'' ? end : end + 1;
    }
    return true;
}

inline std::set<std::string> captionsOf(const NumberStyle &style)
{
    std::set<std::string> captions;
    for (const WordBlock &block : BlocksFor(style, UnitesMaximum))
        captions.insert(block.caption);
    return captions;
}

// The pupil who drops the blocks of `expected` one by one, each word also as
// its stem then "s" where the blocks allow: the first drop that is refused,
// or that leaves the cheque showing anything but the words so far with their
// hyphen, as a message; the empty text when every drop is praised.
inline QString spellingFault(const std::string &expected, const NumberStyle &style,
                             const std::set<std::string> &captions)
{
    BlockSpelling spelling;
    if (!spell(expected, captions, spelling))
        return QStringLiteral("\"%1\" cannot be spelt with the blocks").arg(q(expected));
    std::string wording;
    const auto fault = [&](const std::string &block, const std::string &on, const DropVerdict &verdict,
                           const std::string &shown) {
        return QStringLiteral("\"%1\" on \"%2\" gives \"%3\" (%4), not \"%5\"")
            .arg(q(block), q(on), q(verdict.wording),
                 verdict.right ? QStringLiteral("praised") : QStringLiteral("refused"), q(shown));
    };
    for (std::size_t i = 0; i < spelling.words.size(); ++i) {
        const std::string &shown = spelling.shownAfter[i];
        if (spelling.stemThenS[i]) {
            const std::string stem = spelling.words[i].substr(0, spelling.words[i].size() - 1);
            const std::string stemShown = expected.substr(0, shown.size() - (shown.back() == '-' ? 2 : 1));
            const DropVerdict first = JudgeDrop(expected, wording, stem, style);
            if (!first.right || first.wording != stemShown)
                return fault(stem, wording, first, stemShown);
            const DropVerdict second = JudgeDrop(expected, first.wording, "s", style);
            if (!second.right || second.wording != shown)
                return fault("s", first.wording, second, shown);
        }
        if (spelling.whole[i]) {
            const DropVerdict verdict = JudgeDrop(expected, wording, spelling.words[i], style);
            if (!verdict.right || verdict.wording != shown)
                return fault(spelling.words[i], wording, verdict, shown);
        }
        wording = shown;
    }
    return {};
}

// The captions of a style by their first letter: only a caption that begins
// with the letter a wording continues with (after a blank or not) can be right.
using CaptionsByLetter = std::array<std::vector<std::string>, 256>;

inline CaptionsByLetter byFirstLetter(const std::set<std::string> &captions)
{
    CaptionsByLetter table;
    for (const std::string &caption : captions)
        table[static_cast<unsigned char>(caption.front())].push_back(caption);
    return table;
}

// From every wording a pupil can be praised for, whatever blocks led there,
// some blocks still finish the cheque. A praised wording begins the expected
// one, so its length names it. The empty text when there is no dead end.
inline QString deadEndFault(const std::string &expected, const NumberStyle &style, const CaptionsByLetter &captions)
{
    // -1 unknown, 0 cannot finish, 1 can; 2 is being explored.
    std::vector<signed char> finishes(expected.size() + 1, -1);
    QString fault;
    std::string wording;
    const std::function<bool(std::size_t)> canFinish = [&](std::size_t length) -> bool {
        signed char &known = finishes[length];
        if (known >= 0)
            return known == 1;
        known = length == expected.size();
        for (std::size_t at = length; at <= length + 1 && at < expected.size(); ++at) {
            if (at == length + 1 && expected[at] == expected[length])
                continue;
            for (const std::string &caption : captions[static_cast<unsigned char>(expected[at])]) {
                wording.assign(expected, 0, length);
                const DropVerdict verdict = JudgeDrop(expected, wording, caption, style);
                if (!verdict.right)
                    continue;
                if (verdict.wording.size() <= length ||
                    expected.compare(0, verdict.wording.size(), verdict.wording) != 0) {
                    fault = QStringLiteral("\"%1\" is praised off the road").arg(q(verdict.wording));
                    continue;
                }
                if (canFinish(verdict.wording.size()))
                    known = 1;
            }
        }
        if (known != 1 && fault.isEmpty())
            fault = QStringLiteral("\"%1\" is praised but cannot become \"%2\"")
                        .arg(q(expected.substr(0, length)), q(expected));
        return known == 1;
    };
    canFinish(0);
    return fault;
}
