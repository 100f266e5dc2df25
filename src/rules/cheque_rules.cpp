// Pecunette — apprendre à remplir un chèque.
#include "cheque_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>

const std::array<WordBlock, 29> WordBlocks = {{
    {0, "s", "s", 6, 2},
    {1, "un", "1", 1, 1},
    {2, "deux", "2", 1, 2},
    {3, "trois", "3", 1, 3},
    {4, "quatre", "4", 1, 4},
    {5, "cinq", "5", 1, 5},
    {6, "six", "6", 2, 1},
    {7, "sept", "7", 2, 2},
    {8, "huit", "8", 2, 3},
    {9, "neuf", "9", 2, 4},
    {10, "dix", "10", 2, 5},
    {11, "onze", "11", 3, 1},
    {12, "douze", "12", 3, 2},
    {13, "treize", "13", 3, 3},
    {14, "quatorze", "14", 3, 4},
    {15, "quinze", "15", 3, 5},
    {16, "seize", "16", 4, 1},
    {17, "vingt", "20", 4, 2},
    {18, "trente", "30", 4, 3},
    {19, "quarante", "40", 4, 4},
    {20, "cinquante", "50", 4, 5},
    {21, "soixante", "60", 5, 1},
    {22, "cent", "100", 5, 2},
    {23, "mille", "1000", 5, 3},
    {24, "million", "1000000", 5, 4},
    {25, "milliard", "1000000000", 5, 5},
    {26, "francs", "franc", 6, 5},
    {27, "et", "et", 6, 3},
    {28, "franc", "franc", 6, 4},
}};

namespace {

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

// The two-argument JoinWord glues any word after a "c", as the exercise always
// did; harmless while "franc" ends the wording, wrong once "et" may follow it.
enum class Joining { AfterAnyC, Styled };

bool pluralGlues(std::string_view wording, Joining joining)
{
    for (const std::string_view stem : {"cent", "vingt", "mille", "million", "milliard", "euro"}) {
        if (endsWith(wording, stem))
            return true;
    }
    // "huitante" glues too, so that the "s" a pupil adds to it reads as the mistake it is.
    return joining == Joining::Styled &&
           (endsWith(wording, "franc") || endsWith(wording, "centime") || endsWith(wording, "huitante"));
}

// JoinWord into a buffer the caller keeps, so that trying every block in
// turn does not allocate for each of them.
void joinInto(std::string &out, std::string_view wording, std::string_view word, Joining joining = Joining::AfterAnyC)
{
    out.assign(wording);
    const bool glued = endsWith(wording, "-") || endsWith(wording, ".") ||
                       (joining == Joining::AfterAnyC ? endsWith(wording, "c") : endsWith(wording, "'"));
    const bool plural = word == "s" && pluralGlues(wording, joining);
    if (!glued && !plural)
        out += ' ';
    out += word;

    const auto last = out.find_last_not_of(' ');
    if (last == std::string::npos) {
        out.clear();
        return;
    }
    out.erase(last + 1);
    out.erase(0, out.find_first_not_of(' '));
}

std::string decimal(long long value, int width = 0)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    std::string text(buffer, result.ptr);
    if (static_cast<int>(text.size()) < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

std::string_view captionOf(const WordBlock &block, Monnaie monnaie)
{
    const std::string_view caption = block.caption;
    if (monnaie == Monnaie::Euro && (caption == "franc" || caption == "francs"))
        return caption == "franc" ? std::string_view("euro") : std::string_view("euros");
    return caption;
}

}  // namespace

std::string BlockCaption(const WordBlock &block, Monnaie monnaie) { return std::string(captionOf(block, monnaie)); }

std::string JoinWord(const std::string &wording, const std::string &word)
{
    std::string candidate;
    joinInto(candidate, wording, word);
    return candidate;
}

namespace {

bool isRight(std::string_view expected, std::string_view candidate, Joining joining)
{
    const std::size_t n = candidate.size();
    if (expected.size() < n || expected.compare(0, n, candidate) != 0)
        return false;
    if (n == expected.size())
        return true;
    const char next = expected[n];
    if (next == ' ' || next == '-')
        return true;
    // "d'" ends a word without a blank: "d'euros".
    if (joining == Joining::Styled && candidate.back() == '\'')
        return true;
    // Short of a word's final "s" by exactly that letter, when the "s" block glues on here.
    const bool finalS =
        n > 0 && next == 's' && (n + 1 == expected.size() || expected[n + 1] == ' ' || expected[n + 1] == '-');
    if (!finalS)
        return false;
    std::string plural;
    joinInto(plural, candidate, "s", joining);
    return plural.size() == n + 1;
}

}  // namespace

bool IsRightDrop(const std::string &expected, const std::string &candidate)
{
    return isRight(expected, candidate, Joining::AfterAnyC);
}

std::string WordingAfterRightDrop(const std::string &expected, const std::string &candidate)
{
    std::string wording = candidate;
    if (expected.size() > candidate.size() && expected[candidate.size()] == '-')
        wording += '-';
    return wording;
}

DropVerdict JudgeDrop(const std::string &expected, const std::string &wording, const std::string &word)
{
    DropVerdict verdict;
    verdict.candidate = JoinWord(wording, word);
    verdict.right = IsRightDrop(expected, verdict.candidate);
    verdict.wording = verdict.right ? WordingAfterRightDrop(expected, verdict.candidate) : wording;
    return verdict;
}

std::string NextHintWord(const std::string &expected, const std::string &wording, Monnaie monnaie)
{
    // A short caption can begin a longer word ("cinq" in "cinquante", "s" in
    // "six"); accepting it would strand the pupil, so the longest right one wins.
    std::string candidate;
    candidate.reserve(wording.size() + 16);
    std::string_view best;
    for (const WordBlock &block : WordBlocks) {
        const std::string_view caption = captionOf(block, monnaie);
        if (caption.size() <= best.size())
            continue;
        joinInto(candidate, wording, caption);
        if (IsRightDrop(expected, candidate))
            best = caption;
    }
    return std::string(best);
}

// ---- Styles ----

namespace {

// Every block beyond today's 29, with the style that needs it.
struct ExtraBlock {
    WordBlock block;
    bool (*needed)(const NumberStyle &, long long largestWholeAmount);
};

const std::array<ExtraBlock, 7> ExtraBlocks = {{
    {{29, "septante", "70", 7, 1}, [](const NumberStyle &s, long long) { return s.pays != Pays::France; }},
    {{30, "huitante", "80", 7, 2}, [](const NumberStyle &s, long long) { return s.pays == Pays::Suisse; }},
    {{31, "nonante", "90", 7, 3}, [](const NumberStyle &s, long long) { return s.pays != Pays::France; }},
    {{32, "de", "de", 7, 4}, [](const NumberStyle &, long long largest) { return largest >= 1'000'000; }},
    {{33, "d'", "d'", 7, 5}, [](const NumberStyle &, long long largest) { return largest >= 1'000'000; }},
    {{34, "centime", "centime", 8, 1}, [](const NumberStyle &s, long long) { return s.centimes; }},
    {{35, "centimes", "centime", 8, 2}, [](const NumberStyle &s, long long) { return s.centimes; }},
}};

std::vector<WordBlock> blocksFor(const NumberStyle &style, long long largestWholeAmount)
{
    std::vector<WordBlock> blocks(WordBlocks.begin(), WordBlocks.end());
    for (WordBlock &block : blocks) {
        // String literals, so that the caption outlives the vector as WordBlocks' do.
        if (style.monnaie == Monnaie::Euro && block.tag == std::string_view("franc"))
            block.caption = block.caption == std::string_view("franc") ? "euro" : "euros";
    }
    for (const ExtraBlock &extra : ExtraBlocks) {
        if (extra.needed(style, largestWholeAmount))
            blocks.push_back(extra.block);
    }
    return blocks;
}

// Every caption a style can show, longest first, for the hint: built once per style.
const std::vector<std::string_view> &hintCaptions(const NumberStyle &style)
{
    static const std::array<std::vector<std::string_view>, 24> all = [] {
        std::array<std::vector<std::string_view>, 24> lists;
        for (int i = 0; i < 24; ++i) {
            const NumberStyle s {static_cast<Orthographe>(i % 2), static_cast<Pays>(i / 2 % 3),
                                 static_cast<Monnaie>(i / 6 % 2), i / 12 == 1};
            for (const WordBlock &block : blocksFor(s, UnitesMaximum))
                lists[i].push_back(block.caption);
            std::stable_sort(lists[i].begin(), lists[i].end(),
                             [](std::string_view a, std::string_view b) { return a.size() > b.size(); });
        }
        return lists;
    }();
    return all[static_cast<int>(style.orthographe) + 2 * static_cast<int>(style.pays) +
               6 * static_cast<int>(style.monnaie) + 12 * static_cast<int>(style.centimes)];
}

}  // namespace

std::vector<WordBlock> BlocksFor(const NumberStyle &style, long long largestWholeAmount)
{
    return blocksFor(style, largestWholeAmount);
}

std::string JoinWord(const std::string &wording, const std::string &word, const NumberStyle &)
{
    std::string candidate;
    joinInto(candidate, wording, word, Joining::Styled);
    return candidate;
}

bool IsRightDrop(const std::string &expected, const std::string &candidate, const NumberStyle &)
{
    return isRight(expected, candidate, Joining::Styled);
}

DropVerdict JudgeDrop(const std::string &expected, const std::string &wording, const std::string &word,
                      const NumberStyle &style)
{
    DropVerdict verdict;
    verdict.candidate = JoinWord(wording, word, style);
    verdict.right = IsRightDrop(expected, verdict.candidate, style);
    verdict.wording = verdict.right ? WordingAfterRightDrop(expected, verdict.candidate) : wording;
    return verdict;
}

std::string NextHintWord(const std::string &expected, const std::string &wording, const NumberStyle &style)
{
    std::string candidate;
    candidate.reserve(wording.size() + 16);
    for (const std::string_view caption : hintCaptions(style)) {
        joinInto(candidate, wording, caption, Joining::Styled);
        if (isRight(expected, candidate, Joining::Styled))
            return std::string(caption);
    }
    return {};
}

ChequeResult ChequeResultFor(int erreursCheque)
{
    if (erreursCheque == 0)
        return {20, "Tu n'as fait\naucune erreur!!!", "L'élève n'a fait aucune erreur.", true};
    if (erreursCheque == 1)
        return {30, "Tu as fait une erreur.", "L'élève a fait une erreur.", false};
    const std::string n = decimal(erreursCheque);
    return {30, "Tu as fait " + n + " erreurs.", "L'élève a fait " + n + " erreurs.", false};
}

namespace {

// E * E does not fit in 64 bits once it is scaled to hundredths.
__extension__ using Wide = __int128;

// Half up on an exact positive fraction: 19,775 is 19,78.
long long roundHalfUp(Wide numerator, Wide denominator)
{
    return static_cast<long long>((2 * numerator + denominator) / (2 * denominator));
}

}  // namespace

SeriesMark MarkFor(int erreursSerie, double motsJustes)
{
    SeriesMark mark;
    // Without an error there is nothing to take off, even when no drop was
    // right either. A negative count, which the window never makes, would turn
    // the penalty into a bonus: it takes nothing off either.
    if (erreursSerie == 0 || motsJustes < 0 || motsJustes == std::numeric_limits<double>::infinity()) {
        mark.whole = true;
        mark.hundredths = 2000;
        return mark;
    }
    // Errors without any right drop, or a count that is no number, are worth nothing.
    if (!(motsJustes > 0)) {
        mark.zero = true;
        return mark;
    }
    const Wide e2 = static_cast<Wide>(erreursSerie) * erreursSerie;
    if (motsJustes == std::floor(motsJustes) && motsJustes < 1e15) {
        // 20 - E^2 / 2M, exactly: a double would round 19,625 down to 19,62.
        const auto m = static_cast<Wide>(motsJustes);
        if (e2 >= 40 * m) {
            mark.zero = true;
            return mark;
        }
        mark.whole = e2 % (2 * m) == 0;
        mark.hundredths = roundHalfUp(2000 * m - 50 * e2, m);
        return mark;
    }
    // A count with a fraction never comes from the window; double precision is enough for it.
    const double penalty = static_cast<double>(e2) / (motsJustes * 2);
    const double value = 20 - penalty;
    if (!(value > 0)) {
        mark.zero = true;
        return mark;
    }
    mark.whole = penalty == std::floor(penalty);
    mark.hundredths = static_cast<long long>(std::floor(value * 100 + 0.5));
    return mark;
}

std::string SeriesMark::text() const
{
    if (zero)
        return "0";
    if (whole)
        return decimal(hundredths / 100);
    return decimal(hundredths / 100) + "," + decimal(hundredths % 100, 2);
}

std::string MarkCaption(int erreursSerie, double motsJustes)
{
    const SeriesMark mark = MarkFor(erreursSerie, motsJustes);
    return mark.zero ? std::string("TU AS ZERO!") : "Ta note est " + mark.text() + "/20";
}

std::string MarkHistoryRow(int erreursSerie, double motsJustes)
{
    return "Note de la série : " + MarkFor(erreursSerie, motsJustes).text() + " / 20";
}

std::string FormatDuree(long long milliseconds)
{
    if (milliseconds <= 0)
        return "00:00:00";
    // A series left open overnight shows all its hours: 25:00:00, not 01:00:00.
    const long long seconds = milliseconds / 1000 + (milliseconds % 1000 >= 500 ? 1 : 0);
    return decimal(seconds / 3600, 2) + ":" + decimal(seconds / 60 % 60, 2) + ":" + decimal(seconds % 60, 2);
}
