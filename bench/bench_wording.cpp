// Pecunette — apprendre à remplir un chèque.
// Times the wording of every amount and the judging of drops, the two rules
// that run on each cheque and each drop. Run it by hand on a Release build.
#include "cheque_rules.h"
#include "montant_en_lettres.h"
#include "regle_enfreinte.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Keeps the optimiser from dropping work whose result is unused.
volatile std::size_t sink = 0;

template<typename Work>
void measure(const char *name, long long operations, int rounds, Work work)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        const auto start = Clock::now();
        work();
        const std::chrono::duration<double, std::nano> elapsed = Clock::now() - start;
        best = std::min(best, elapsed.count());
    }
    std::printf("%-34s %10lld ops  %9.3f ms  %8.1f ns/op\n", name, operations, best / 1e6, best / operations);
}

}  // namespace

int main()
{
    constexpr int rounds = 5;
    constexpr long long amounts = MontantMaximum - MontantMinimum + 1;

    measure("MontantEnLettres 1..99999", amounts, rounds, [] {
        for (int amount = MontantMinimum; amount <= MontantMaximum; ++amount)
            sink = sink + MontantEnLettres(amount).size();
    });

    // Every block dropped on every prefix a pupil can reach on a long wording.
    const std::string expected = MontantEnLettres(77777);
    std::vector<std::string> wordings {std::string()};
    while (wordings.back() != expected) {
        const std::string hint = NextHintWord(expected, wordings.back());
        wordings.push_back(JudgeDrop(expected, wordings.back(), hint).wording);
    }
    const long long drops = static_cast<long long>(wordings.size() * WordBlocks.size());
    constexpr int repeats = 20000;
    measure("JudgeDrop, every block and prefix", drops * repeats, rounds, [&] {
        for (int i = 0; i < repeats; ++i) {
            for (const std::string &wording : wordings) {
                for (const WordBlock &block : WordBlocks)
                    sink = sink + JudgeDrop(expected, wording, block.caption).right;
            }
        }
    });

    measure("NextHintWord, every prefix", static_cast<long long>(wordings.size()) * repeats, rounds, [&] {
        for (int i = 0; i < repeats; ++i) {
            for (const std::string &wording : wordings)
                sink = sink + NextHintWord(expected, wording).size();
        }
    });

    // Every amount below a million in every spelling and country: one wording
    // per amount (goal: under a microsecond each).
    const NumberStyle styles[] = {
        {Orthographe::Traditionnelle, Pays::France},   {Orthographe::Rectifiee1990, Pays::France},
        {Orthographe::Traditionnelle, Pays::Belgique}, {Orthographe::Rectifiee1990, Pays::Belgique},
        {Orthographe::Traditionnelle, Pays::Suisse},   {Orthographe::Rectifiee1990, Pays::Suisse},
    };
    constexpr long long belowAMillion = 999'999;
    measure("MontantEnLettres, 6 styles x 999999", belowAMillion * 6, rounds, [&] {
        for (const NumberStyle &style : styles)
            for (long long amount = 1; amount <= belowAMillion; ++amount)
                sink = sink + MontantEnLettres(amount * 100, style).size();
    });

    // The classifier on a wrong drop, as the window would call it: every
    // amount and style, the block "s" then "un" on the first praised wording
    // that ends a word (goal: under a microsecond each).
    std::vector<std::pair<std::string, std::string>> states;
    long long classified = 0;
    measure("RegleEnfreintePar, 6 styles x 999999 x 2", belowAMillion * 6 * 2, 1, [&] {
        for (const NumberStyle &style : styles) {
            for (long long amount = 1; amount <= belowAMillion; ++amount) {
                const std::string wording = MontantEnLettres(amount * 100, style);
                const std::size_t cut = wording.find_first_of(" -");
                const std::string shown = wording.substr(0, cut == std::string::npos ? wording.size() : cut);
                const auto start = Clock::now();
                sink = sink + static_cast<int>(RegleEnfreintePar(wording, shown, "s", style)) +
                       static_cast<int>(RegleEnfreintePar(wording, shown, "un", style));
                classified += std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now() - start).count();
            }
        }
    });
    std::printf("%-34s %10lld ops  %9.3f ms  %8.1f ns/op  (classifier alone)\n", "RegleEnfreintePar",
                belowAMillion * 12, classified / 1e6, double(classified) / double(belowAMillion * 12));
    return 0;
}
