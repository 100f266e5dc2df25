// Pecunette — apprendre à remplir un chèque.
#include "cheque_rules.h"
#include "montant_en_lettres.h"

#include <QtTest>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <set>
#include <string_view>

namespace {

QString q(const std::string &text) { return QString::fromStdString(text); }

}  // namespace

class TestChequeRules : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wordBlocks_data();
    void wordBlocks();
    void blocksFillTheGrid();
    void joinWord_data();
    void joinWord();
    void judgeDrop_data();
    void judgeDrop();
    void workedExamples_data();
    void workedExamples();
    void nextHintWord_data();
    void nextHintWord();
    void everyWordingIsMadeOfBlocks();
    void everyAmountCanBeComposed_data();
    void everyAmountCanBeComposed();
    void euros();
    void everySpellingIsAccepted_data();
    void everySpellingIsAccepted();
    void noPraisedStateIsADeadEnd_data();
    void noPraisedStateIsADeadEnd();
    void chequeResult_data();
    void chequeResult();
    void markCaption_data();
    void markCaption();
    void everyMarkIsRoundedHalfUp();
    void formatDuree_data();
    void formatDuree();
};

void TestChequeRules::wordBlocks_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");

    const auto block = [](int index, const char *caption, const char *tag, int column, int row) {
        QTest::newRow(caption) << index << QString::fromUtf8(caption) << QString::fromUtf8(tag) << column << row;
    };
    block(0, "s", "s", 6, 2);
    block(1, "un", "1", 1, 1);
    block(2, "deux", "2", 1, 2);
    block(3, "trois", "3", 1, 3);
    block(4, "quatre", "4", 1, 4);
    block(5, "cinq", "5", 1, 5);
    block(6, "six", "6", 2, 1);
    block(7, "sept", "7", 2, 2);
    block(8, "huit", "8", 2, 3);
    block(9, "neuf", "9", 2, 4);
    block(10, "dix", "10", 2, 5);
    block(11, "onze", "11", 3, 1);
    block(12, "douze", "12", 3, 2);
    block(13, "treize", "13", 3, 3);
    block(14, "quatorze", "14", 3, 4);
    block(15, "quinze", "15", 3, 5);
    block(16, "seize", "16", 4, 1);
    block(17, "vingt", "20", 4, 2);
    block(18, "trente", "30", 4, 3);
    block(19, "quarante", "40", 4, 4);
    block(20, "cinquante", "50", 4, 5);
    block(21, "soixante", "60", 5, 1);
    block(22, "cent", "100", 5, 2);
    block(23, "mille", "1000", 5, 3);
    block(24, "million", "1000000", 5, 4);
    block(25, "milliard", "1000000000", 5, 5);
    block(26, "francs", "franc", 6, 5);
    block(27, "et", "et", 6, 3);
    block(28, "franc", "franc", 6, 4);
}

void TestChequeRules::wordBlocks()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, tag);
    QFETCH(int, column);
    QFETCH(int, row);
    const WordBlock &block = WordBlocks.at(index);
    QCOMPARE(block.index, index);
    QCOMPARE(QString::fromUtf8(block.caption), caption);
    QCOMPARE(QString::fromUtf8(block.tag), tag);
    QCOMPARE(block.column, column);
    QCOMPARE(block.row, row);
}

// The hint lights "the" block whose caption matches, so captions must be
// unique; two blocks on one cell would hide each other.
void TestChequeRules::blocksFillTheGrid()
{
    std::set<std::string_view> captions;
    std::set<std::pair<int, int>> cells;
    for (const WordBlock &block : WordBlocks) {
        QVERIFY2(captions.insert(block.caption).second, block.caption);
        QVERIFY2(cells.insert({block.column, block.row}).second, block.caption);
    }
    QCOMPARE(cells.size(), std::size_t(29));
    QVERIFY(!cells.count({6, 1}));
}

void TestChequeRules::joinWord_data()
{
    QTest::addColumn<QString>("wording");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");

    QTest::newRow("first word, no leading blank") << QString() << QStringLiteral("deux") << QStringLiteral("deux");
    QTest::newRow("blank between words") << QStringLiteral("deux") << QStringLiteral("cent")
                                         << QStringLiteral("deux cent");
    QTest::newRow("after the program's hyphen")
        << QStringLiteral("quatre-") << QStringLiteral("vingt") << QStringLiteral("quatre-vingt");
    QTest::newRow("after a full stop") << QStringLiteral("a.") << QStringLiteral("b") << QStringLiteral("a.b");
    QTest::newRow("franc then s") << QStringLiteral("deux cents franc") << QStringLiteral("s")
                                  << QStringLiteral("deux cents francs");
    QTest::newRow("any word glues after c")
        << QStringLiteral("franc") << QStringLiteral("un") << QStringLiteral("francun");
    QTest::newRow("s after cent") << QStringLiteral("deux cent") << QStringLiteral("s") << QStringLiteral("deux cents");
    QTest::newRow("s after vingt") << QStringLiteral("quatre-vingt") << QStringLiteral("s")
                                   << QStringLiteral("quatre-vingts");
    QTest::newRow("s after mille") << QStringLiteral("deux mille") << QStringLiteral("s")
                                   << QStringLiteral("deux milles");
    QTest::newRow("s after million") << QStringLiteral("un million") << QStringLiteral("s")
                                     << QStringLiteral("un millions");
    QTest::newRow("s after milliard") << QStringLiteral("un milliard") << QStringLiteral("s")
                                      << QStringLiteral("un milliards");
    QTest::newRow("s after another word") << QStringLiteral("deux") << QStringLiteral("s") << QStringLiteral("deux s");
    QTest::newRow("other word after cent")
        << QStringLiteral("cent") << QStringLiteral("six") << QStringLiteral("cent six");
    QTest::newRow("s as the first word") << QString() << QStringLiteral("s") << QStringLiteral("s");
    QTest::newRow("stray blanks trimmed")
        << QStringLiteral(" deux ") << QStringLiteral("cent") << QStringLiteral("deux  cent");
}

void TestChequeRules::joinWord()
{
    QFETCH(QString, wording);
    QFETCH(QString, word);
    QFETCH(QString, expected);
    QCOMPARE(q(JoinWord(wording.toStdString(), word.toStdString())), expected);
}

void TestChequeRules::judgeDrop_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("wording");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("candidate");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("after");

    QTest::newRow("first drop") << QStringLiteral("deux cent trois francs") << QString() << QStringLiteral("deux")
                                << QStringLiteral("deux") << true << QStringLiteral("deux");
    QTest::newRow("wrong word leaves the wording")
        << QStringLiteral("deux cents francs") << QStringLiteral("deux") << QStringLiteral("mille")
        << QStringLiteral("deux mille") << false << QStringLiteral("deux");
    QTest::newRow("hyphen written after dix") << QStringLiteral("dix-sept francs") << QString() << QStringLiteral("dix")
                                              << QStringLiteral("dix") << true << QStringLiteral("dix-");
    QTest::newRow("no blank after the hyphen")
        << QStringLiteral("dix-sept francs") << QStringLiteral("dix-") << QStringLiteral("sept")
        << QStringLiteral("dix-sept") << true << QStringLiteral("dix-sept");
    QTest::newRow("franc then s") << QStringLiteral("deux francs") << QStringLiteral("deux franc")
                                  << QStringLiteral("s") << QStringLiteral("deux francs") << true
                                  << QStringLiteral("deux francs");
    QTest::newRow("francs in one block") << QStringLiteral("deux francs") << QStringLiteral("deux")
                                         << QStringLiteral("francs") << QStringLiteral("deux francs") << true
                                         << QStringLiteral("deux francs");
    QTest::newRow("franc where one franc")
        << QStringLiteral("un franc") << QStringLiteral("un") << QStringLiteral("franc") << QStringLiteral("un franc")
        << true << QStringLiteral("un franc");
    QTest::newRow("francs where one franc")
        << QStringLiteral("un franc") << QStringLiteral("un") << QStringLiteral("francs") << QStringLiteral("un francs")
        << false << QStringLiteral("un");
    QTest::newRow("lone s after a word") << QStringLiteral("deux francs") << QStringLiteral("deux")
                                         << QStringLiteral("s") << QStringLiteral("deux s") << false
                                         << QStringLiteral("deux");
    // Praising the start of a longer word would strand the pupil: no block finishes "cinq" into "cinquante".
    QTest::newRow("beginning of a longer word")
        << QStringLiteral("cinquante francs") << QString() << QStringLiteral("cinq") << QStringLiteral("cinq") << false
        << QString();
    QTest::newRow("s begins six") << QStringLiteral("six francs") << QString() << QStringLiteral("s")
                                  << QStringLiteral("s") << false << QString();
    QTest::newRow("s begins seize") << QStringLiteral("seize euros") << QString() << QStringLiteral("s")
                                    << QStringLiteral("s") << false << QString();
    QTest::newRow("s after the hyphen begins six")
        << QStringLiteral("quatre-vingt-six francs") << QStringLiteral("quatre-vingt-") << QStringLiteral("s")
        << QStringLiteral("quatre-vingt-s") << false << QStringLiteral("quatre-vingt-");
    QTest::newRow("un after cent") << QStringLiteral("cent un francs") << QStringLiteral("cent") << QStringLiteral("un")
                                   << QStringLiteral("cent un") << true << QStringLiteral("cent un");
    QTest::newRow("cent before its plural s")
        << QStringLiteral("deux cents francs") << QStringLiteral("deux") << QStringLiteral("cent")
        << QStringLiteral("deux cent") << true << QStringLiteral("deux cent");
    QTest::newRow("vingt before its plural s")
        << QStringLiteral("quatre-vingts euros") << QStringLiteral("quatre-") << QStringLiteral("vingt")
        << QStringLiteral("quatre-vingt") << true << QStringLiteral("quatre-vingt");
    QTest::newRow("euro before its plural s")
        << QStringLiteral("deux euros") << QStringLiteral("deux") << QStringLiteral("euro")
        << QStringLiteral("deux euro") << true << QStringLiteral("deux euro");
    // "six" would take a lone "s" with a blank, never glued: "six" is no stem of a plural.
    QTest::newRow("a word short of an s it cannot get")
        << QStringLiteral("sixs francs") << QString() << QStringLiteral("six") << QStringLiteral("six") << false
        << QString();
    QTest::newRow("case counts") << QStringLiteral("deux francs") << QString() << QStringLiteral("Deux")
                                 << QStringLiteral("Deux") << false << QString();
    QTest::newRow("after completion") << QStringLiteral("deux francs") << QStringLiteral("deux francs")
                                      << QStringLiteral("s") << QStringLiteral("deux francs s") << false
                                      << QStringLiteral("deux francs");
    QTest::newRow("no cheque yet") << QString() << QString() << QStringLiteral("un") << QStringLiteral("un") << false
                                   << QString();
}

void TestChequeRules::judgeDrop()
{
    QFETCH(QString, expected);
    QFETCH(QString, wording);
    QFETCH(QString, word);
    QFETCH(QString, candidate);
    QFETCH(bool, right);
    QFETCH(QString, after);
    const DropVerdict verdict = JudgeDrop(expected.toStdString(), wording.toStdString(), word.toStdString());
    QCOMPARE(q(verdict.candidate), candidate);
    QCOMPARE(verdict.right, right);
    QCOMPARE(q(verdict.wording), after);
}

// Whole cheques, drop after drop: each step lists the block dropped, then the
// candidate, "+" or "-" for the verdict, and the wording left on the cheque.
void TestChequeRules::workedExamples_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("quatre-vingt-dix") << QStringLiteral("quatre-vingt-dix francs")
                                      << QStringList {QStringLiteral("quatre|quatre|+|quatre-"),
                                                      QStringLiteral("vingt|quatre-vingt|+|quatre-vingt-"),
                                                      QStringLiteral("dix|quatre-vingt-dix|+|quatre-vingt-dix"),
                                                      QStringLiteral(
                                                          "francs|quatre-vingt-dix francs|+|quatre-vingt-dix francs")};
    QTest::newRow("deux cents") << QStringLiteral("deux cents francs")
                                << QStringList {QStringLiteral("deux|deux|+|deux"),
                                                QStringLiteral("mille|deux mille|-|deux"),
                                                QStringLiteral("cent|deux cent|+|deux cent"),
                                                QStringLiteral("s|deux cents|+|deux cents"),
                                                QStringLiteral("franc|deux cents franc|+|deux cents franc"),
                                                QStringLiteral("s|deux cents francs|+|deux cents francs")};
    QTest::newRow("quatre-vingts") << QStringLiteral("quatre-vingts francs")
                                   << QStringList {
                                          QStringLiteral("quatre|quatre|+|quatre-"),
                                          QStringLiteral("vingt|quatre-vingt|+|quatre-vingt"),
                                          QStringLiteral("s|quatre-vingts|+|quatre-vingts"),
                                          QStringLiteral("francs|quatre-vingts francs|+|quatre-vingts francs")};
    QTest::newRow("soixante et onze") << QStringLiteral("soixante et onze francs")
                                      << QStringList {
                                             QStringLiteral("soixante|soixante|+|soixante"),
                                             QStringLiteral("dix|soixante dix|-|soixante"),
                                             QStringLiteral("et|soixante et|+|soixante et"),
                                             QStringLiteral("onze|soixante et onze|+|soixante et onze"),
                                             QStringLiteral("francs|soixante et onze francs|+|soixante et onze francs"),
                                             QStringLiteral("un|soixante et onze francs un|-|soixante et onze francs")};
}

void TestChequeRules::workedExamples()
{
    QFETCH(QString, expected);
    QFETCH(QStringList, steps);
    std::string wording;
    for (const QString &step : steps) {
        const QStringList parts = step.split(QLatin1Char('|'));
        const DropVerdict verdict = JudgeDrop(expected.toStdString(), wording, parts[0].toStdString());
        QCOMPARE(q(verdict.candidate), parts[1]);
        QCOMPARE(verdict.right, parts[2] == QLatin1String("+"));
        QCOMPARE(q(verdict.wording), parts[3]);
        wording = verdict.wording;
    }
    QCOMPARE(q(wording), expected);
}

void TestChequeRules::nextHintWord_data()
{
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("wording");
    QTest::addColumn<QString>("hint");

    QTest::newRow("first word") << QStringLiteral("deux cent trois francs") << QString() << QStringLiteral("deux");
    QTest::newRow("first part of a compound")
        << QStringLiteral("vingt-deux francs") << QString() << QStringLiteral("vingt");
    QTest::newRow("after the program's hyphen")
        << QStringLiteral("vingt-deux francs") << QStringLiteral("vingt-") << QStringLiteral("deux");
    QTest::newRow("cinquante, not cinq") << QStringLiteral("cinquante francs") << QString()
                                         << QStringLiteral("cinquante");
    QTest::newRow("six, not s") << QStringLiteral("quatre-vingt-six francs") << QStringLiteral("quatre-vingt-")
                                << QStringLiteral("six");
    QTest::newRow("plural s") << QStringLiteral("deux cents francs") << QStringLiteral("deux cent")
                              << QStringLiteral("s");
    QTest::newRow("francs, not franc") << QStringLiteral("deux cents francs") << QStringLiteral("deux cents")
                                       << QStringLiteral("francs");
    QTest::newRow("franc for one") << QStringLiteral("un franc") << QStringLiteral("un") << QStringLiteral("franc");
    QTest::newRow("et") << QStringLiteral("soixante et onze francs") << QStringLiteral("soixante")
                        << QStringLiteral("et");
    QTest::newRow("mille") << QStringLiteral("mille un francs") << QString() << QStringLiteral("mille");
    QTest::newRow("complete") << QStringLiteral("un franc") << QStringLiteral("un franc") << QString();
    QTest::newRow("went astray") << QStringLiteral("cinquante francs") << QStringLiteral("cinq") << QString();
    QTest::newRow("no cheque yet") << QString() << QString() << QString();
}

void TestChequeRules::nextHintWord()
{
    QFETCH(QString, expected);
    QFETCH(QString, wording);
    QFETCH(QString, hint);
    QCOMPARE(q(NextHintWord(expected.toStdString(), wording.toStdString())), hint);
}

void TestChequeRules::everyWordingIsMadeOfBlocks()
{
    std::set<std::string_view> allowed = {"cents", "vingts"};
    for (const WordBlock &block : WordBlocks)
        allowed.insert(block.caption);
    for (int amount = MontantMinimum; amount <= MontantMaximum; ++amount) {
        const std::string text = MontantEnLettres(amount);
        std::string_view rest = text;
        while (!rest.empty()) {
            const auto end = rest.find_first_of(" -");
            const std::string_view word = rest.substr(0, end);
            if (!allowed.count(word))
                QFAIL(qPrintable(QStringLiteral("%1: \"%2\"").arg(amount).arg(q(text))));
            rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        }
    }
}

// A pupil following the hints finishes every cheque, with the wording written
// exactly as expected: the wording and the joining rule agree everywhere.
void TestChequeRules::everyAmountCanBeComposed_data()
{
    QTest::addColumn<int>("monnaie");
    QTest::newRow("francs") << int(Monnaie::Franc);
    QTest::newRow("euros") << int(Monnaie::Euro);
}

void TestChequeRules::everyAmountCanBeComposed()
{
    QFETCH(int, monnaie);
    const auto currency = static_cast<Monnaie>(monnaie);
    for (int amount = MontantMinimum; amount <= MontantMaximum; ++amount) {
        const std::string expected = MontantEnLettres(amount, currency);
        std::string wording;
        for (int drops = 0; wording != expected; ++drops) {
            const std::string hint = NextHintWord(expected, wording, currency);
            const DropVerdict verdict = JudgeDrop(expected, wording, hint);
            if (hint.empty() || !verdict.right || verdict.wording.size() <= wording.size() || drops > 40) {
                QFAIL(qPrintable(QStringLiteral("%1: stuck at \"%2\" (hint \"%3\") on the way to \"%4\"")
                                     .arg(amount)
                                     .arg(q(wording), q(hint), q(expected))));
            }
            wording = verdict.wording;
        }
        QVERIFY(NextHintWord(expected, wording, currency).empty());
    }
}

namespace {

// The block sequences that spell `expected`, found without the joining rule:
// each word between blanks and hyphens is one caption, or, for a plural the
// "s" block makes (cents, vingts, francs, euros, millions, milliards), its
// stem then "s". Each spelling lists, after every word, what the cheque must
// show: the words so far and the hyphen the program writes after them.
struct Spelling {
    std::vector<std::string> blocks;
    std::vector<std::string> shownAfter;  // one per block
};

std::vector<Spelling> spellingsOf(const std::string &expected, Monnaie monnaie)
{
    std::set<std::string> captions;
    for (const WordBlock &block : WordBlocks)
        captions.insert(BlockCaption(block, monnaie));
    static const std::set<std::string> plurals = {"cent", "vingt", "franc", "euro", "million", "milliard"};

    std::vector<Spelling> spellings(1);
    std::size_t start = 0;
    while (start < expected.size()) {
        const std::size_t end = std::min(expected.find_first_of(" -", start), expected.size());
        const std::string word = expected.substr(start, end - start);
        const std::string shown = expected.substr(0, end) + (end < expected.size() && expected[end] == '-' ? "-" : "");
        const std::string withoutS = word.substr(0, word.size() - 1);
        std::vector<Spelling> longer;
        for (const Spelling &spelling : spellings) {
            if (captions.count(word)) {
                Spelling one = spelling;
                one.blocks.push_back(word);
                one.shownAfter.push_back(shown);
                longer.push_back(one);
            }
            if (word.size() > 1 && word.back() == 's' && plurals.count(withoutS) && captions.count(withoutS)) {
                Spelling two = spelling;
                two.blocks.insert(two.blocks.end(), {withoutS, "s"});
                two.shownAfter.insert(two.shownAfter.end(), {expected.substr(0, end - 1), shown});
                longer.push_back(two);
            }
        }
        spellings = longer;
        start = end + 1;
    }
    return spellings;
}

void currencies()
{
    QTest::addColumn<int>("monnaie");
    QTest::newRow("francs") << int(Monnaie::Franc);
    QTest::newRow("euros") << int(Monnaie::Euro);
}

}  // namespace

// Every amount any level can draw, spelt in every way the blocks allow: each
// drop is praised, and the cheque shows the words so far with their hyphens.
void TestChequeRules::everySpellingIsAccepted_data() { currencies(); }

void TestChequeRules::everySpellingIsAccepted()
{
    QFETCH(int, monnaie);
    const auto currency = static_cast<Monnaie>(monnaie);
    for (int amount = MontantMinimum; amount <= MontantMaximum; ++amount) {
        const std::string expected = MontantEnLettres(amount, currency);
        const std::vector<Spelling> spellings = spellingsOf(expected, currency);
        if (spellings.empty())
            QFAIL(
                qPrintable(QStringLiteral("%1: \"%2\" cannot be spelt with the blocks").arg(amount).arg(q(expected))));
        for (const Spelling &spelling : spellings) {
            std::string wording;
            for (std::size_t i = 0; i < spelling.blocks.size(); ++i) {
                const DropVerdict verdict = JudgeDrop(expected, wording, spelling.blocks[i]);
                if (!verdict.right || verdict.wording != spelling.shownAfter[i])
                    QFAIL(qPrintable(QStringLiteral("%1: \"%2\" on \"%3\" gives \"%4\" (%5), not \"%6\"")
                                         .arg(amount)
                                         .arg(q(spelling.blocks[i]), q(wording), q(verdict.wording),
                                              verdict.right ? QStringLiteral("praised") : QStringLiteral("refused"),
                                              q(spelling.shownAfter[i]))));
                wording = verdict.wording;
            }
        }
    }
}

// From every wording a pupil can be praised for, whatever blocks led there,
// some blocks still finish the cheque: no praised state is a dead end.
void TestChequeRules::noPraisedStateIsADeadEnd_data() { currencies(); }

void TestChequeRules::noPraisedStateIsADeadEnd()
{
    QFETCH(int, monnaie);
    const auto currency = static_cast<Monnaie>(monnaie);
    std::vector<std::string> captions;
    for (const WordBlock &block : WordBlocks)
        captions.push_back(BlockCaption(block, currency));
    for (int amount = MontantMinimum; amount <= MontantMaximum; ++amount) {
        const std::string expected = MontantEnLettres(amount, currency);
        // A praised wording is always a beginning of the expected one, so its length names it.
        std::vector<signed char> finishes(expected.size() + 1, -1);
        std::string astray;
        std::function<bool(const std::string &)> canFinish = [&](const std::string &wording) {
            signed char &known = finishes[wording.size()];
            if (known < 0) {
                known = wording == expected;
                for (const std::string &caption : captions) {
                    const DropVerdict verdict = JudgeDrop(expected, wording, caption);
                    if (!verdict.right)
                        continue;
                    if (expected.compare(0, verdict.wording.size(), verdict.wording) != 0 ||
                        verdict.wording.size() <= wording.size()) {
                        astray = verdict.wording;
                        continue;
                    }
                    known = static_cast<signed char>(canFinish(verdict.wording) || known);
                }
            }
            return known == 1;
        };
        canFinish(std::string());
        if (!astray.empty())
            QFAIL(qPrintable(QStringLiteral("%1: \"%2\" is praised off the road").arg(amount).arg(q(astray))));
        for (std::size_t length = 0; length <= expected.size(); ++length)
            if (finishes[length] == 0)
                QFAIL(qPrintable(QStringLiteral("%1: \"%2\" is praised but cannot become \"%3\"")
                                     .arg(amount)
                                     .arg(q(expected.substr(0, length)), q(expected))));
    }
}

// In euros the blocks "franc" and "francs" read "euro" and "euros", and a
// lone "s" joins "euro" as it joins "franc".
void TestChequeRules::euros()
{
    QCOMPARE(BlockCaption(WordBlocks[28], Monnaie::Euro), std::string("euro"));
    QCOMPARE(BlockCaption(WordBlocks[26], Monnaie::Euro), std::string("euros"));
    QCOMPARE(BlockCaption(WordBlocks[26], Monnaie::Franc), std::string("francs"));
    QCOMPARE(BlockCaption(WordBlocks[17], Monnaie::Euro), std::string("vingt"));
    QCOMPARE(JoinWord("deux cents euro", "s"), std::string("deux cents euros"));
    QCOMPARE(q(NextHintWord("quatre-vingts euros", "quatre-vingts", Monnaie::Euro)), QStringLiteral("euros"));
    QCOMPARE(q(NextHintWord("un euro", "un", Monnaie::Euro)), QStringLiteral("euro"));
    QVERIFY(NextHintWord("un euro", "un", Monnaie::Franc).empty());
}

void TestChequeRules::chequeResult_data()
{
    QTest::addColumn<int>("errors");
    QTest::addColumn<int>("top");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("history");
    QTest::addColumn<bool>("normal");

    QTest::newRow("none") << 0 << 20 << QStringLiteral("Tu n'as fait\naucune erreur!!!")
                          << QStringLiteral("L'élève n'a fait aucune erreur.") << true;
    QTest::newRow("one") << 1 << 30 << QStringLiteral("Tu as fait une erreur.")
                         << QStringLiteral("L'élève a fait une erreur.") << false;
    QTest::newRow("two") << 2 << 30 << QStringLiteral("Tu as fait 2 erreurs.")
                         << QStringLiteral("L'élève a fait 2 erreurs.") << false;
    QTest::newRow("twelve") << 12 << 30 << QStringLiteral("Tu as fait 12 erreurs.")
                            << QStringLiteral("L'élève a fait 12 erreurs.") << false;
}

void TestChequeRules::chequeResult()
{
    QFETCH(int, errors);
    QFETCH(int, top);
    QFETCH(QString, message);
    QFETCH(QString, history);
    QFETCH(bool, normal);
    const ChequeResult result = ChequeResultFor(errors);
    QCOMPARE(result.messageTop, top);
    QCOMPARE(q(result.message), message);
    QCOMPARE(q(result.historyRow), history);
    QCOMPARE(result.normal, normal);
}

void TestChequeRules::markCaption_data()
{
    QTest::addColumn<int>("errors");
    QTest::addColumn<double>("rightDrops");
    QTest::addColumn<double>("penalty");
    QTest::addColumn<QString>("caption");

    QTest::newRow("no error") << 0 << 40.0 << 0.0 << QStringLiteral("Ta note est 20/20");
    QTest::newRow("fraction of a point") << 4 << 40.0 << 0.2 << QStringLiteral("Ta note est 19,80/20");
    QTest::newRow("whole point") << 4 << 8.0 << 1.0 << QStringLiteral("Ta note est 19/20");
    QTest::newRow("two decimals") << 3 << 10.0 << 0.45 << QStringLiteral("Ta note est 19,55/20");
    QTest::newRow("just above zero") << 38 << 38.0 << 19.0 << QStringLiteral("Ta note est 1/20");
    // 20 - 9/24 = 19,625 exactly: a double rounded half to even showed 19,62.
    QTest::newRow("exact half rounds up") << 3 << 12.0 << 0.375 << QStringLiteral("Ta note est 19,63/20");
    QTest::newRow("a count with a fraction") << 19 << 9.5 << 19.0 << QStringLiteral("Ta note est 1/20");
    QTest::newRow("exactly zero") << 20 << 10.0 << 20.0 << QStringLiteral("TU AS ZERO!");
    QTest::newRow("below zero") << 30 << 10.0 << 45.0 << QStringLiteral("TU AS ZERO!");
    // Guards: the window never asks with no right drop, but 0 / 0 must not
    // give a NaN mark, and errors without any right drop are worth nothing.
    QTest::newRow("nothing at all") << 0 << 0.0 << 0.0 << QStringLiteral("Ta note est 20/20");
    QTest::newRow("errors only") << 2 << 0.0 << std::numeric_limits<double>::infinity()
                                 << QStringLiteral("TU AS ZERO!");
    // Found by fuzzing: a negative count gave marks above 20, or a cast of 5e299 to an integer.
    QTest::newRow("negative right drops") << 3 << -0.7 << 0.0 << QStringLiteral("Ta note est 20/20");
    QTest::newRow("tiny negative right drops") << 1 << -1e-300 << 0.0 << QStringLiteral("Ta note est 20/20");
}

void TestChequeRules::markCaption()
{
    QFETCH(int, errors);
    QFETCH(double, rightDrops);
    QFETCH(double, penalty);
    QFETCH(QString, caption);
    const SeriesMark mark = MarkFor(errors, rightDrops);
    if (!mark.zero)
        QCOMPARE(mark.whole, std::floor(penalty) == penalty);
    QCOMPARE(q(MarkCaption(errors, rightDrops)), caption);
}

// Every pair of counts a series can reach, and well beyond, against the
// mark's definition: the shown hundredths c are the nearest to
// 100 * (20 - E * E / 2M), the upper one on an exact half, that is
// (2c - 1) M <= 2 (2000 M - 50 E * E) < (2c + 1) M.
void TestChequeRules::everyMarkIsRoundedHalfUp()
{
    for (long long e = 0; e <= 300; ++e) {
        for (long long m = 1; m <= 400; ++m) {
            const long long scaled = 2 * (2000 * m - 50 * e * e);
            const QString caption = q(MarkCaption(int(e), double(m)));
            const QString history = q(MarkHistoryRow(int(e), double(m)));
            const QString where = QStringLiteral("E=%1 M=%2: %3").arg(e).arg(m).arg(caption);
            if (scaled <= 0) {
                QVERIFY2(caption == QStringLiteral("TU AS ZERO!"), qPrintable(where));
                QVERIFY2(history == QStringLiteral("Note de la série : 0 / 20"), qPrintable(where));
                continue;
            }
            QVERIFY2(caption.startsWith(QStringLiteral("Ta note est ")) && caption.endsWith(QStringLiteral("/20")),
                     qPrintable(where));
            const QString number = caption.mid(12, caption.size() - 15);
            QCOMPARE(history, QStringLiteral("Note de la série : ") + number + QStringLiteral(" / 20"));
            const bool whole = (e * e) % (2 * m) == 0;
            QVERIFY2(whole == !number.contains(QLatin1Char(',')), qPrintable(where));
            const QStringList parts = number.split(QLatin1Char(','));
            const long long c = parts[0].toLongLong() * 100 + (whole ? 0 : parts[1].toLongLong());
            QVERIFY2(whole || parts[1].size() == 2, qPrintable(where));
            QVERIFY2((2 * c - 1) * m <= scaled && scaled < (2 * c + 1) * m, qPrintable(where));
        }
    }
}

void TestChequeRules::formatDuree_data()
{
    QTest::addColumn<qlonglong>("milliseconds");
    QTest::addColumn<QString>("text");

    QTest::newRow("zero") << 0LL << QStringLiteral("00:00:00");
    QTest::newRow("a cheque") << 215000LL << QStringLiteral("00:03:35");
    QTest::newRow("rounded down") << 1499LL << QStringLiteral("00:00:01");
    QTest::newRow("rounded up") << 1500LL << QStringLiteral("00:00:02");
    QTest::newRow("last second of a day") << 86399000LL << QStringLiteral("23:59:59");
    QTest::newRow("more than a day") << 25LL * 3600 * 1000 << QStringLiteral("25:00:00");
    QTest::newRow("a hundred hours") << 100LL * 3600 * 1000 + 1000 << QStringLiteral("100:00:01");
    QTest::newRow("negative") << -5000LL << QStringLiteral("00:00:00");
}

void TestChequeRules::formatDuree()
{
    QFETCH(qlonglong, milliseconds);
    QFETCH(QString, text);
    QCOMPARE(q(FormatDuree(milliseconds)), text);
}

QTEST_APPLESS_MAIN(TestChequeRules)
#include "test_cheque_rules.moc"
