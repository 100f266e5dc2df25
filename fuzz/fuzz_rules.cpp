// Pecunette — apprendre à remplir un chèque.
// libFuzzer target over the pure rules of the cheque: whatever the bytes, no
// rule may crash, read out of bounds or overflow, and each answer must keep
// the promises its header makes. A broken promise aborts, so the fuzzer keeps
// the input that shows it.
#include "cheque_rules.h"
#include "extrait_mot.h"
#include "montant_en_lettres.h"
#include "regle_enfreinte.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace {

void require(bool condition, const char *promise)
{
    if (!condition) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}

// Any bit pattern: every exponent, subnormals, infinities and NaNs as often as ordinary numbers.
double anyDouble(FuzzedDataProvider &input)
{
    const auto bits = input.ConsumeIntegral<std::uint64_t>();
    double value = 0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

bool startsWith(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() && text.substr(0, start.size()) == start;
}

bool endsWith(std::string_view text, std::string_view end)
{
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool isCaption(std::string_view word, Monnaie monnaie)
{
    for (const WordBlock &block : WordBlocks)
        if (word == BlockCaption(block, monnaie))
            return true;
    return false;
}

bool isWording(const std::string &text, Monnaie monnaie)
{
    if (text.empty() || text.front() == ' ' || text.back() == ' ' || text.find("  ") != std::string::npos)
        return false;
    return monnaie == Monnaie::Euro ? endsWith(text, " euro") || endsWith(text, " euros")
                                    : endsWith(text, " franc") || endsWith(text, " francs");
}

// Any double: the wording exists exactly for the whole numbers 1 to 99999,
// and the refusal names the number in readable text.
void amountInWords(double amount, Monnaie monnaie)
{
    const bool valid = amount >= MontantMinimum && amount <= MontantMaximum && amount == static_cast<int>(amount);
    try {
        const std::string words = MontantEnLettres(amount, monnaie);
        require(valid, "MontantEnLettres accepts only whole numbers from 1 to 99999");
        require(isWording(words, monnaie), "a wording is words between single blanks ending with the currency");
    } catch (const std::invalid_argument &refusal) {
        require(!valid, "MontantEnLettres refuses no amount from 1 to 99999");
        const std::string_view why = refusal.what();
        require(why.find(" is not a whole number") != std::string_view::npos, "the refusal says why");
        for (const char c : why)
            require(c >= ' ' && c <= '~', "the refusal is printable text");
    }
}

// Any typed text: what parseAmount accepts has a wording and reads back the same.
void typedAmount(const std::string &text)
{
    const std::optional<int> amount = parseAmount(text);
    if (!amount)
        return;
    require(*amount >= MontantMinimum && *amount <= MontantMaximum, "parseAmount stays within 1 to 99999");
    require(parseAmount(std::to_string(*amount)) == amount, "parseAmount reads its own digits back");
    require(isWording(MontantEnLettres(*amount), Monnaie::Franc), "a parsed amount has a wording");
}

// A drop judged on anything: the verdict and the hint agree with each other
// and never let the wording leave the expected text.
void judge(const std::string &expected, const std::string &wording, const std::string &word, Monnaie monnaie)
{
    const std::string joined = JoinWord(wording, word);
    require(joined.empty() || (joined.front() != ' ' && joined.back() != ' '), "a candidate is trimmed");

    const DropVerdict verdict = JudgeDrop(expected, wording, word);
    require(verdict.candidate == joined, "the verdict's candidate is the joined wording");
    if (verdict.right) {
        require(startsWith(expected, joined), "a right drop begins the expected wording");
        const std::size_t n = joined.size();
        const bool atWordEnd = n == expected.size() || expected[n] == ' ' || expected[n] == '-' ||
                               (expected[n] == 's' && JoinWord(joined, "s") == joined + "s");
        require(atWordEnd, "a right drop stops where a word stops, or just before its plural s");
        require(startsWith(expected, verdict.wording), "a right drop leaves a prefix of the expected wording");
        require(verdict.wording == joined || verdict.wording == joined + "-", "only a hyphen is added");
    } else {
        require(verdict.wording == wording, "a wrong drop leaves the wording alone");
    }

    const std::string hint = NextHintWord(expected, wording, monnaie);
    if (!hint.empty()) {
        require(isCaption(hint, monnaie), "the hint is a block's caption");
        require(JudgeDrop(expected, wording, hint).right, "dropping the hinted block is right");
    }
}

// A pupil dropping blocks at random: after every praised drop, following the
// hints from there still finishes the cheque (no praised state is a dead end).
void randomPupil(int amount, Monnaie monnaie, FuzzedDataProvider &input)
{
    const std::string expected = MontantEnLettres(amount, monnaie);
    std::string wording;
    while (input.remaining_bytes() > 0 && wording != expected) {
        const WordBlock &block = WordBlocks.at(input.ConsumeIntegralInRange<std::size_t>(0, WordBlocks.size() - 1));
        const DropVerdict verdict = JudgeDrop(expected, wording, BlockCaption(block, monnaie));
        if (!verdict.right) {
            require(verdict.wording == wording, "a wrong drop leaves the wording alone");
            continue;
        }
        wording = verdict.wording;
        std::string ahead = wording;
        for (std::size_t step = 0; ahead != expected; ++step) {
            const std::string hint = NextHintWord(expected, ahead, monnaie);
            require(!hint.empty() && step <= expected.size(), "a praised wording can still be finished");
            ahead = JudgeDrop(expected, ahead, hint).wording;
        }
    }
}

// The road a pupil who follows every hint takes: it reaches the wording in at
// most one drop per character, passing only through prefixes of it.
void followHints(int amount, Monnaie monnaie)
{
    const std::string expected = MontantEnLettres(amount, monnaie);
    std::string wording;
    for (std::size_t step = 0; wording != expected; ++step) {
        require(step <= expected.size(), "following the hints completes the cheque");
        const std::string hint = NextHintWord(expected, wording, monnaie);
        require(!hint.empty(), "an unfinished wording on the right road always has a hint");
        const DropVerdict verdict = JudgeDrop(expected, wording, hint);
        require(verdict.right, "the hinted drop is right");
        wording = verdict.wording;
    }
    require(NextHintWord(expected, wording, monnaie).empty(), "a complete wording has no hint");
}

void extract(std::int16_t number, const std::string &phrase, const std::string &separator)
{
    const std::string word = ExtraitMot(number, phrase, separator);
    if (separator.size() != 1) {
        require(word.empty(), "a separator that is not one character finds nothing");
        return;
    }
    require(word.find(separator[0]) == std::string::npos, "a word holds no separator");
    require(word.empty() || phrase.find(word + separator) != std::string::npos,
            "a word is followed by a separator in the phrase");
}

void endOfCheque(int erreursCheque, int erreursSerie, double motsJustes, long long milliseconds)
{
    const ChequeResult result = ChequeResultFor(erreursCheque);
    require(!result.message.empty() && !result.historyRow.empty(), "a cheque result has texts");
    require(result.normal == (erreursCheque == 0), "only a cheque without errors logs in black");

    const std::string mark = MarkCaption(erreursSerie, motsJustes);
    require(mark == "TU AS ZERO!" || (startsWith(mark, "Ta note est ") && endsWith(mark, "/20")),
            "a mark is a note out of 20 or a zero");
    for (char c : mark)
        require(c >= ' ' && c <= '~', "a mark is printable text");
    const std::string row = MarkHistoryRow(erreursSerie, motsJustes);
    require(startsWith(row, "Note de la série : ") && endsWith(row, " / 20"), "the history's mark is out of 20");
    require((mark == "TU AS ZERO!") == endsWith(row, " 0 / 20"), "the history and the clerk give one mark");

    // Hours run past 24 (a series left open overnight), so only minutes and
    // seconds are bounded; read back, the text gives the rounded duration.
    const std::string duree = FormatDuree(milliseconds);
    const size_t n = duree.size();
    require(n >= 8 && duree[n - 6] == ':' && duree[n - 3] == ':', "a duration reads hh:mm:ss");
    for (size_t i = 0; i < n; ++i)
        require(i == n - 6 || i == n - 3 || (duree[i] >= '0' && duree[i] <= '9'), "a duration is digits");
    require(duree.substr(n - 5, 2) < "60" && duree.substr(n - 2, 2) < "60", "minutes and seconds stay below 60");
    const long long hours = std::stoll(duree.substr(0, n - 6));
    const long long shown = hours * 3600 + std::stoll(duree.substr(n - 5, 2)) * 60 + std::stoll(duree.substr(n - 2, 2));
    const long long expected = milliseconds <= 0 ? 0 : milliseconds / 1000 + (milliseconds % 1000 >= 500 ? 1 : 0);
    require(shown == expected, "a duration shows the milliseconds rounded to the second");
}

// Any style and any amount: a wording exists exactly in the style's range; a
// pupil dropping the style's blocks at random is praised only on the road,
// the classifier never blames a praised drop, and the hints finish the cheque.
void styledCheque(FuzzedDataProvider &input)
{
    NumberStyle style;
    style.orthographe = input.ConsumeBool() ? Orthographe::Rectifiee1990 : Orthographe::Traditionnelle;
    style.pays = static_cast<Pays>(input.ConsumeIntegralInRange(0, 2));
    style.monnaie = input.ConsumeBool() ? Monnaie::Euro : Monnaie::Franc;
    style.centimes = input.ConsumeBool();
    const auto amount = input.ConsumeIntegralInRange<long long>(-1, CentimesMaximum + 1);
    const bool valid = style.centimes ? amount >= CentimesMinimum && amount <= CentimesMaximum
                                      : amount >= 100 && amount <= UnitesMaximum * 100 && amount % 100 == 0;
    std::string expected;
    try {
        expected = MontantEnLettres(amount, style);
        require(valid, "MontantEnLettres accepts only the style's range");
    } catch (const std::invalid_argument &) {
        require(!valid, "MontantEnLettres refuses nothing in the style's range");
        return;
    }
    const std::vector<WordBlock> blocks = BlocksFor(style, UnitesMaximum);
    std::string wording;
    while (input.remaining_bytes() > 0 && wording != expected) {
        const std::string word = blocks.at(input.ConsumeIntegralInRange<std::size_t>(0, blocks.size() - 1)).caption;
        const DropVerdict verdict = JudgeDrop(expected, wording, word, style);
        const RegleEnfreinte rule = RegleEnfreintePar(expected, wording, word, style);
        require(!verdict.right || rule == RegleEnfreinte::Aucune, "a praised drop breaks no rule");
        require(rule == RegleEnfreinte::Aucune || !PhraseDeLaRegle(rule, style).empty(), "a rule has a sentence");
        if (verdict.right) {
            require(startsWith(expected, verdict.wording) && verdict.wording.size() > wording.size(),
                    "a praised drop moves along the expected wording");
            wording = verdict.wording;
        } else {
            require(verdict.wording == wording, "a wrong drop leaves the wording alone");
        }
    }
    for (std::size_t step = 0; wording != expected; ++step) {
        const std::string hint = NextHintWord(expected, wording, style);
        require(!hint.empty() && step <= expected.size(), "a praised wording can still be finished");
        const DropVerdict verdict = JudgeDrop(expected, wording, hint, style);
        require(verdict.right, "the hinted drop is right");
        wording = verdict.wording;
    }
}

// Any typed amount: what LireMontant reads, the amount box writes back the same.
void typedCentimes(const std::string &text)
{
    const MontantLu read = LireMontant(text);
    require(read.centimes.has_value() == read.raison.empty(), "a refusal says why, and only a refusal");
    if (!read.centimes)
        return;
    require(*read.centimes >= CentimesMinimum && *read.centimes <= CentimesMaximum, "LireMontant stays in range");
    std::string box = TexteSomme(*read.centimes, NumberStyle {.centimes = true});
    box.resize(box.size() - std::string(" Frs").size());
    require(LireMontant(box).centimes == read.centimes, "the amount box reads back as the amount");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const Monnaie monnaie = input.ConsumeBool() ? Monnaie::Euro : Monnaie::Franc;
    switch (input.ConsumeIntegralInRange<int>(0, 9)) {
    case 0:
        amountInWords(input.ConsumeBool() ? anyDouble(input) : input.ConsumeFloatingPoint<double>(), monnaie);
        break;
    case 1:
        amountInWords(input.ConsumeIntegral<std::int32_t>(), monnaie);
        typedAmount(input.ConsumeRemainingBytesAsString());
        break;
    case 2: {
        const std::string expected = input.ConsumeRandomLengthString(200);
        const std::string wording = input.ConsumeRandomLengthString(200);
        judge(expected, wording, input.ConsumeRemainingBytesAsString(), monnaie);
        break;
    }
    case 3: {
        // Close to the real game: a true wording, a prefix of it (maybe spoilt), any block or text.
        const std::string expected =
            MontantEnLettres(input.ConsumeIntegralInRange(MontantMinimum, MontantMaximum), monnaie);
        std::string wording = expected.substr(0, input.ConsumeIntegralInRange<std::size_t>(0, expected.size()));
        if (input.ConsumeBool() && !wording.empty())
            wording.back() = static_cast<char>(input.ConsumeIntegral<std::uint8_t>());
        const std::string word =
            input.ConsumeBool()
                ? BlockCaption(WordBlocks.at(input.ConsumeIntegralInRange<std::size_t>(0, WordBlocks.size() - 1)),
                               monnaie)
                : input.ConsumeRemainingBytesAsString();
        judge(expected, wording, word, monnaie);
        break;
    }
    case 4: followHints(input.ConsumeIntegralInRange(MontantMinimum, MontantMaximum), monnaie); break;
    case 5: {
        const auto number = input.ConsumeIntegral<std::int16_t>();
        const std::string separator = input.ConsumeRandomLengthString(3);
        extract(number, input.ConsumeRemainingBytesAsString(), separator);
        break;
    }
    case 6: randomPupil(input.ConsumeIntegralInRange(MontantMinimum, MontantMaximum), monnaie, input); break;
    case 8: styledCheque(input); break;
    case 9: typedCentimes(input.ConsumeRemainingBytesAsString()); break;
    default: {
        const int erreursCheque = input.ConsumeIntegral<int>();
        const int erreursSerie = input.ConsumeIntegral<int>();
        const double motsJustes = input.ConsumeBool() ? anyDouble(input) : input.ConsumeIntegral<std::uint16_t>();
        endOfCheque(erreursCheque, erreursSerie, motsJustes, input.ConsumeIntegral<long long>());
        break;
    }
    }
    return 0;
}
