// Pecunette — apprendre à remplir un chèque.
#include "regle_enfreinte.h"
#include "style_support.h"

#include <QtTest>

#include <random>
#include <stdexcept>

namespace {

constexpr NumberStyle Trad {};
constexpr NumberStyle Rect {Orthographe::Rectifiee1990};
constexpr NumberStyle TradEuro {.monnaie = Monnaie::Euro};
constexpr NumberStyle RectEuro {Orthographe::Rectifiee1990, Pays::France, Monnaie::Euro};
constexpr NumberStyle Cents {.monnaie = Monnaie::Euro, .centimes = true};
constexpr NumberStyle CentsFrancs {.centimes = true};
constexpr NumberStyle Belge {.pays = Pays::Belgique};
constexpr NumberStyle Suisse {.pays = Pays::Suisse};

// Style names for the tables: one short word each.
NumberStyle styleNamed(const QString &name)
{
    static const QHash<QString, NumberStyle> styles = {
        {"trad", Trad},
        {"1990", Rect},
        {"euro", TradEuro},
        {"1990 euro", RectEuro},
        {"cents", Cents},
        {"cents francs", CentsFrancs},
        {"1990 cents", {Orthographe::Rectifiee1990, Pays::France, Monnaie::Euro, true}},
        {"be", Belge},
        {"ch", Suisse},
        {"be 1990", {Orthographe::Rectifiee1990, Pays::Belgique}},
        {"ch 1990 euro", {Orthographe::Rectifiee1990, Pays::Suisse, Monnaie::Euro}},
        {"ch cents", {Orthographe::Traditionnelle, Pays::Suisse, Monnaie::Euro, true}},
    };
    return styles.value(name);
}

}  // namespace

class TestNumberStyles : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wording_data();
    void wording();
    void defaultStyleIsTheExercise();
    void everyStyleWordsEveryAmountOnce_data();
    void everyStyleWordsEveryAmountOnce();
    void refusesAmountsOutOfRange_data();
    void refusesAmountsOutOfRange();
    void amountBox_data();
    void amountBox();
    void readAmount_data();
    void readAmount();
    void readsWhatTheBoxShows();
    void blocksForStyle();
    void joinWord_data();
    void joinWord();
    void judgeDrop_data();
    void judgeDrop();
    void cents_data();
    void cents();
    void sampledCentsAndMilliards_data();
    void sampledCentsAndMilliards();
    void hintFinishesEveryCheque();
    void rule_data();
    void rule();
    void ruleSentences();
    void noRuleForARightDrop();
};

void TestNumberStyles::wording_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<qlonglong>("centimes");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char *style, long long units, const char *expected) {
        QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(QLatin1String(style)).arg(units)))
            << QString::fromLatin1(style) << qlonglong(units * 100) << QString::fromUtf8(expected);
    };
    // Traditional: millions and milliards are nouns.
    row("trad", 1'000'000, "un million de francs");
    row("trad", 2'000'000, "deux millions de francs");
    row("trad", 200'000'000, "deux cents millions de francs");
    row("trad", 200'000, "deux cent mille francs");
    row("trad", 80'000'000, "quatre-vingts millions de francs");
    row("trad", 80'000'000'000, "quatre-vingts milliards de francs");
    row("trad", 1'200'000'000, "un milliard deux cents millions de francs");
    row("trad", 21'000'000, "vingt et un millions de francs");
    row("trad", 2'000'000'000, "deux milliards de francs");
    row("trad", 1'001'000'000, "un milliard un million de francs");
    row("trad", 1'000'100, "un million cent francs");
    row("trad", 1'001'000, "un million mille francs");
    row("trad", 2'200'000, "deux millions deux cent mille francs");
    row("trad", 80'080'080, "quatre-vingts millions quatre-vingt mille quatre-vingts francs");
    row("trad", 999'999'999'999,
        "neuf cent quatre-vingt-dix-neuf milliards neuf cent quatre-vingt-dix-neuf millions neuf cent "
        "quatre-vingt-dix-neuf mille neuf cent quatre-vingt-dix-neuf francs");
    row("euro", 1'000'000, "un million d'euros");
    row("euro", 3'000'000'000, "trois milliards d'euros");
    row("euro", 1'000'200, "un million deux cents euros");
    row("euro", 1'001'000'000, "un milliard un million d'euros");
    // 1990: every word of the number joined, the currency apart.
    row("1990", 21, "vingt-et-un francs");
    row("1990", 71, "soixante-et-onze francs");
    row("1990", 101, "cent-un francs");
    row("1990", 200, "deux-cents francs");
    row("1990", 201, "deux-cent-un francs");
    row("1990", 1200, "mille-deux-cents francs");
    row("1990", 21'000, "vingt-et-un-mille francs");
    row("1990", 200'000, "deux-cent-mille francs");
    row("1990", 80, "quatre-vingts francs");
    row("1990", 83, "quatre-vingt-trois francs");
    row("1990", 1'000'100, "un-million-cent francs");
    row("1990", 200'000'000, "deux-cents-millions de francs");
    row("1990", 8'143'051, "huit-millions-cent-quarante-trois-mille-cinquante-et-un francs");
    row("1990 euro", 21, "vingt-et-un euros");
    row("1990 euro", 2'000'000, "deux-millions d'euros");
    // Belgium and Switzerland.
    row("be", 70, "septante francs");
    row("be", 71, "septante et un francs");
    row("be", 72, "septante-deux francs");
    row("be", 80, "quatre-vingts francs");
    row("be", 81, "quatre-vingt-un francs");
    row("be", 91, "nonante et un francs");
    row("be", 99, "nonante-neuf francs");
    row("be", 80'000, "quatre-vingt mille francs");
    row("be 1990", 71, "septante-et-un francs");
    row("be 1990", 91'000, "nonante-et-un-mille francs");
    row("ch", 80, "huitante francs");
    row("ch", 81, "huitante et un francs");
    row("ch", 88, "huitante-huit francs");
    row("ch", 80'000, "huitante mille francs");
    row("ch", 80'000'000, "huitante millions de francs");
    row("ch", 180, "cent huitante francs");
    row("ch", 97, "nonante-sept francs");
    row("ch 1990 euro", 71, "septante-et-un euros");
    row("ch 1990 euro", 81'000'000, "huitante-et-un-millions d'euros");
}

void TestNumberStyles::wording()
{
    QFETCH(QString, style);
    QFETCH(qlonglong, centimes);
    QTEST(q(MontantEnLettres(centimes, styleNamed(style))), "expected");
}

// The default style is the exercise as it always was, word for word.
void TestNumberStyles::defaultStyleIsTheExercise()
{
    for (int amount = MontantMinimum; amount <= MontantMaximum; ++amount) {
        for (const Monnaie monnaie : {Monnaie::Franc, Monnaie::Euro}) {
            const std::string before = MontantEnLettres(double(amount), monnaie);
            if (MontantEnLettres(amount * 100LL, NumberStyle {.monnaie = monnaie}) != before ||
                MontantEnLettres(amount * 100LL, NumberStyle {.monnaie = monnaie, .centimes = true}) != before)
                QFAIL(qPrintable(QString::number(amount)));
        }
    }
    QCOMPARE(BlocksFor(NumberStyle {}).size(), WordBlocks.size());
}

// Each style words every amount below a million differently, with no stray
// blank or hyphen; the 1990 spelling is the traditional one with hyphens for
// the blanks inside the number.
void TestNumberStyles::everyStyleWordsEveryAmountOnce_data()
{
    QTest::addColumn<int>("country");
    QTest::newRow("fr") << int(Pays::France);
    QTest::newRow("be") << int(Pays::Belgique);
    QTest::newRow("ch") << int(Pays::Suisse);
}

void TestNumberStyles::everyStyleWordsEveryAmountOnce()
{
    QFETCH(int, country);
    const auto pays = static_cast<Pays>(country);
    std::set<std::string> seen;
    for (long long n = 1; n < 1'000'000; ++n) {
        const std::string trad = NombreEnLettres(n, Orthographe::Traditionnelle, pays);
        const std::string rect = NombreEnLettres(n, Orthographe::Rectifiee1990, pays);
        std::string joined = trad;
        std::replace(joined.begin(), joined.end(), ' ', '-');
        if (rect != joined || trad.empty() || trad.front() == ' ' || trad.back() == ' ' ||
            trad.find("  ") != std::string::npos || rect.find("--") != std::string::npos || !seen.insert(trad).second)
            QFAIL(qPrintable(QStringLiteral("%1: \"%2\" / \"%3\"").arg(n).arg(q(trad), q(rect))));
        // "cents" and "vingts" only end a number; "mille" never varies.
        if ((trad.find("cents ") != std::string::npos || trad.find("vingts ") != std::string::npos ||
             trad.find("milles") != std::string::npos || trad.find("huitantes") != std::string::npos) &&
            n < 1'000'000)
            QFAIL(qPrintable(QStringLiteral("%1: \"%2\"").arg(n).arg(q(trad))));
    }
}

void TestNumberStyles::refusesAmountsOutOfRange_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<qlonglong>("centimes");
    QTest::newRow("zero") << "cents" << 0LL;
    QTest::newRow("negative") << "cents" << -100LL;
    QTest::newRow("beyond the largest") << "cents" << 100'000'000'000'000LL;
    QTest::newRow("cents without cents") << "trad" << 150LL;
    QTest::newRow("below one unit without cents") << "trad" << 50LL;
    QTest::newRow("a trillion") << "trad" << 100'000'000'000'000LL;
    QTest::newRow("the largest 64-bit number") << "1990" << std::numeric_limits<qlonglong>::max();
}

void TestNumberStyles::refusesAmountsOutOfRange()
{
    QFETCH(QString, style);
    QFETCH(qlonglong, centimes);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, MontantEnLettres(centimes, styleNamed(style)));
}

void TestNumberStyles::amountBox_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<qlonglong>("centimes");
    QTest::addColumn<QString>("box");
    // Without cents, exactly what the window always showed.
    QTest::newRow("francs") << "trad" << 452100LL << "4521 Frs";
    QTest::newRow("euros") << "euro" << 452100LL << "4521 €";
    QTest::newRow("a million, no cents") << "trad" << 100'000'000LL << "1000000 Frs";
    QTest::newRow("cents") << "cents" << 452130LL << "4\u202F521,30 €";
    QTest::newRow("cents in francs") << "cents francs" << 452130LL << "4\u202F521,30 Frs";
    QTest::newRow("below one unit") << "cents" << 5LL << "0,05 €";
    QTest::newRow("three digits") << "cents" << 99900LL << "999,00 €";
    QTest::newRow("largest") << "cents" << 99'999'999'999'999LL << "999\u202F999\u202F999\u202F999,99 €";
}

void TestNumberStyles::amountBox()
{
    QFETCH(QString, style);
    QFETCH(qlonglong, centimes);
    QTEST(q(TexteSomme(centimes, styleNamed(style))), "box");
}

void TestNumberStyles::readAmount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<qlonglong>("centimes");  // -1: refused
    QTest::newRow("whole") << "4521" << 452100LL;
    QTest::newRow("comma") << "4521,30" << 452130LL;
    QTest::newRow("point") << "4521.30" << 452130LL;
    QTest::newRow("grouped") << "4 521,30" << 452130LL;
    QTest::newRow("no-break spaces") << "1\u00A0000\u00A0000" << 100'000'000LL;
    QTest::newRow("narrow no-break spaces") << "4\u202F521,30" << 452130LL;
    QTest::newRow("one digit of cents") << "0,5" << 50LL;
    QTest::newRow("blanks around") << " \t12,05 " << 1205LL;
    QTest::newRow("smallest") << "0,01" << 1LL;
    QTest::newRow("largest") << "999 999 999 999,99" << 99'999'999'999'999LL;
    QTest::newRow("leading zeros") << "007" << 700LL;
    QTest::newRow("zero") << "0" << -1LL;
    QTest::newRow("zero cents") << "0,00" << -1LL;
    QTest::newRow("too large") << "1000000000000" << -1LL;
    QTest::newRow("far too large") << "99999999999999999999999" << -1LL;
    QTest::newRow("three digits of cents") << "4.521" << -1LL;
    QTest::newRow("comma alone at the end") << "12," << -1LL;
    QTest::newRow("no whole part") << ",50" << -1LL;
    QTest::newRow("two commas") << "1,2,3" << -1LL;
    QTest::newRow("badly grouped") << "45 21" << -1LL;
    QTest::newRow("group too long") << "4 5210" << -1LL;
    QTest::newRow("blank before the comma") << "4 ,30" << -1LL;
    QTest::newRow("sign") << "-5" << -1LL;
    QTest::newRow("plus") << "+5" << -1LL;
    QTest::newRow("exponent") << "1e3" << -1LL;
    QTest::newRow("letters") << "abc" << -1LL;
    QTest::newRow("empty") << "" << -1LL;
    QTest::newRow("blanks only") << "   " << -1LL;
    QTest::newRow("currency sign") << "12 €" << -1LL;
}

void TestNumberStyles::readAmount()
{
    QFETCH(QString, text);
    QFETCH(qlonglong, centimes);
    const MontantLu read = LireMontant(text.toStdString());
    QCOMPARE(read.centimes.value_or(-1), centimes);
    // A refusal always says why, for the teacher who typed it.
    QCOMPARE(read.raison.empty(), read.centimes.has_value());
}

// What the box shows reads back as the same amount, over a seeded sample of the whole range.
void TestNumberStyles::readsWhatTheBoxShows()
{
    std::mt19937_64 random(20260412);
    std::uniform_int_distribution<long long> any(CentimesMinimum, CentimesMaximum);
    for (int i = 0; i < 100000; ++i) {
        const long long amount = i < 1000 ? i + 1 : any(random);
        std::string box = TexteSomme(amount, Cents);
        box.resize(box.size() - std::string(" €").size());
        QCOMPARE(LireMontant(box).centimes.value_or(-1), amount);
    }
}

void TestNumberStyles::blocksForStyle()
{
    const auto captions = [](const NumberStyle &style, long long largest) {
        QStringList list;
        std::set<std::pair<int, int>> cells;
        std::set<int> indices;
        for (const WordBlock &block : BlocksFor(style, largest)) {
            list << QString::fromUtf8(block.caption);
            // Two blocks on one cell would hide each other; an index names one label.
            if (!cells.insert({block.column, block.row}).second || !indices.insert(block.index).second)
                list << QStringLiteral("!");
        }
        return list;
    };
    const QStringList today = captions(Trad, MontantMaximum);
    QCOMPARE(today.size(), 29);
    const std::vector<WordBlock> blocks = BlocksFor(Trad);
    for (std::size_t i = 0; i < WordBlocks.size(); ++i) {
        const WordBlock &block = blocks[i];
        QCOMPARE(block.index, WordBlocks[i].index);
        QCOMPARE(block.column, WordBlocks[i].column);
        QCOMPARE(block.row, WordBlocks[i].row);
        QCOMPARE(QString::fromUtf8(block.caption), QString::fromUtf8(WordBlocks[i].caption));
    }
    const QStringList euros = captions(TradEuro, MontantMaximum);
    QVERIFY(euros.contains("euro") && euros.contains("euros") && !euros.contains("franc"));
    QCOMPARE(captions(Belge, MontantMaximum).mid(29), QStringList({"septante", "nonante"}));
    QCOMPARE(captions(Suisse, MontantMaximum).mid(29), QStringList({"septante", "huitante", "nonante"}));
    QCOMPARE(captions(Trad, 999'999).size(), 29);
    QCOMPARE(captions(Trad, 1'000'000).mid(29), QStringList({"de", "d'"}));
    QCOMPARE(captions(Cents, MontantMaximum).mid(29), QStringList({"centime", "centimes"}));
    QCOMPARE(captions({Orthographe::Rectifiee1990, Pays::Suisse, Monnaie::Euro, true}, UnitesMaximum).size(), 36);
}

void TestNumberStyles::joinWord_data()
{
    QTest::addColumn<QString>("wording");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("expected");
    QTest::newRow("apostrophe") << "un million d'"
                                << "euros"
                                << "un million d'euros";
    QTest::newRow("de then a blank") << "deux millions de"
                                     << "francs"
                                     << "deux millions de francs";
    QTest::newRow("1990 hyphen") << "vingt-"
                                 << "et"
                                 << "vingt-et";
    QTest::newRow("et after the currency") << "un franc"
                                           << "et"
                                           << "un franc et";
    QTest::newRow("s after franc") << "deux franc"
                                   << "s"
                                   << "deux francs";
    QTest::newRow("s after centime") << "trente centime"
                                     << "s"
                                     << "trente centimes";
    QTest::newRow("s after huitante") << "huitante"
                                      << "s"
                                      << "huitantes";
    QTest::newRow("s after million") << "deux million"
                                     << "s"
                                     << "deux millions";
    QTest::newRow("s after a hyphen") << "deux-"
                                      << "s"
                                      << "deux-s";
    QTest::newRow("s after septante") << "septante"
                                      << "s"
                                      << "septante s";
}

void TestNumberStyles::joinWord()
{
    QFETCH(QString, wording);
    QFETCH(QString, word);
    QTEST(q(JoinWord(wording.toStdString(), word.toStdString(), Cents)), "expected");
}

void TestNumberStyles::judgeDrop_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<qlonglong>("centimes");
    QTest::addColumn<QString>("wording");
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("after");
    QTest::newRow("1990 hyphen written") << "1990" << 2100LL << "vingt-"
                                         << "et" << true << "vingt-et-";
    QTest::newRow("1990 before the currency") << "1990" << 2100LL << "vingt-et-"
                                              << "un" << true << "vingt-et-un";
    QTest::newRow("1990 plural then hyphen") << "1990" << 20'000'000'000LL << "deux-cent"
                                             << "s" << true << "deux-cents-";
    QTest::newRow("d' alone") << "euro" << 100'000'000LL << "un million"
                              << "d'" << true << "un million d'";
    QTest::newRow("d' glued") << "euro" << 100'000'000LL << "un million d'"
                              << "euros" << true << "un million d'euros";
    QTest::newRow("de, not d'") << "trad" << 200'000'000LL << "deux millions"
                                << "d'" << false << "deux millions";
    QTest::newRow("de inside deux") << "trad" << 200'000'000LL << ""
                                    << "de" << false << "";
    QTest::newRow("no de after a million and more") << "euro" << 100'020'000LL << "un million deux cents"
                                                    << "d'" << false << "un million deux cents";
    QTest::newRow("sept inside septante") << "be" << 7000LL << ""
                                          << "sept" << false << "";
    QTest::newRow("huit inside huitante") << "ch" << 8000LL << ""
                                          << "huit" << false << "";
    QTest::newRow("cent inside centimes") << "cents" << 50LL << "cinquante"
                                          << "cent" << false << "cinquante";
    QTest::newRow("centime then s") << "cents" << 50LL << "cinquante centime"
                                    << "s" << true << "cinquante centimes";
    QTest::newRow("et after euros") << "cents" << 452130LL << "quatre mille cinq cent vingt et un euros"
                                    << "et" << true << "quatre mille cinq cent vingt et un euros et";
    QTest::newRow("et after franc") << "cents francs" << 101LL << "un franc"
                                    << "et" << true << "un franc et";
}

void TestNumberStyles::judgeDrop()
{
    QFETCH(QString, style);
    QFETCH(qlonglong, centimes);
    QFETCH(QString, wording);
    QFETCH(QString, word);
    const std::string expected = MontantEnLettres(centimes, styleNamed(style));
    const DropVerdict verdict = JudgeDrop(expected, wording.toStdString(), word.toStdString(), styleNamed(style));
    QTEST(verdict.right, "right");
    QTEST(q(verdict.wording), "after");
}

void TestNumberStyles::cents_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<qlonglong>("centimes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("4521,30") << "cents" << 452130LL << "quatre mille cinq cent vingt et un euros et trente centimes";
    QTest::newRow("1,01") << "cents" << 101LL << "un euro et un centime";
    QTest::newRow("100,00") << "cents" << 10000LL << "cent euros";
    QTest::newRow("0,50") << "cents" << 50LL << "cinquante centimes";
    QTest::newRow("0,01") << "cents" << 1LL << "un centime";
    QTest::newRow("0,80") << "cents" << 80LL << "quatre-vingts centimes";
    QTest::newRow("0,21 in 1990") << "1990 cents" << 21LL << "vingt-et-un centimes";
    QTest::newRow("1 000 000,10") << "cents" << 100'000'010LL << "un million d'euros et dix centimes";
    QTest::newRow("2,71 francs") << "cents francs" << 271LL << "deux francs et soixante et onze centimes";
    QTest::newRow("0,81 in Switzerland") << "ch cents" << 81LL << "huitante et un centimes";
    QTest::newRow("largest") << "cents" << 99'999'999'999'999LL
                             << "neuf cent quatre-vingt-dix-neuf milliards neuf cent quatre-vingt-dix-neuf millions "
                                "neuf cent quatre-vingt-dix-neuf mille neuf cent quatre-vingt-dix-neuf euros et "
                                "quatre-vingt-dix-neuf centimes";
}

void TestNumberStyles::cents()
{
    QFETCH(QString, style);
    QFETCH(qlonglong, centimes);
    QFETCH(QString, expected);
    const NumberStyle s = styleNamed(style);
    QCOMPARE(q(MontantEnLettres(centimes, s)), expected);
    QVERIFY2(spellingFault(expected.toStdString(), s, captionsOf(s)).isEmpty(),
             qPrintable(spellingFault(expected.toStdString(), s, captionsOf(s))));
}

// Amounts with cents, and amounts up to the milliards, drawn with a fixed
// seed in every style: spelt by the blocks, and never a dead end.
void TestNumberStyles::sampledCentsAndMilliards_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<bool>("centimes");
    for (const bool centimes : {false, true}) {
        const std::vector<NumberStyle> styles = everyStyle(centimes);
        for (std::size_t i = 0; i < styles.size(); ++i)
            QTest::newRow(qPrintable(styleName(styles[i]))) << int(i) << centimes;
    }
}

void TestNumberStyles::sampledCentsAndMilliards()
{
    QFETCH(int, style);
    QFETCH(bool, centimes);
    const NumberStyle s = everyStyle(centimes).at(style);
    const std::set<std::string> captionSet = captionsOf(s);
    const CaptionsByLetter captions = byFirstLetter(captionSet);
    std::mt19937_64 random(0x5EC0 + style);
    std::uniform_int_distribution<long long> units(1, UnitesMaximum);
    std::uniform_int_distribution<int> digits(1, 12);
    std::uniform_int_distribution<int> cents(0, 99);
    for (int i = 0; i < 3000; ++i) {
        // As many short amounts as long ones, and every round million somewhere.
        long long amount = units(random);
        for (int keep = digits(random); amount >= 10 && amount > std::pow(10.0, keep);)
            amount /= 10;
        if (i % 7 == 0)
            amount = amount * 1'000'000 % (UnitesMaximum + 1);
        long long value = amount * 100 + (centimes ? cents(random) : 0);
        if (value == 0)
            value = 1;
        if (!centimes && value < 100)
            value = 100;
        const std::string expected = MontantEnLettres(value, s);
        QString fault = spellingFault(expected, s, captionSet);
        if (fault.isEmpty())
            fault = deadEndFault(expected, s, captions);
        if (!fault.isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1: %2").arg(value).arg(fault)));
    }
}

// The hint alone finishes the cheque in every style, for a sample of amounts.
void TestNumberStyles::hintFinishesEveryCheque()
{
    std::mt19937_64 random(77);
    std::uniform_int_distribution<long long> any(CentimesMinimum, CentimesMaximum);
    for (const bool centimes : {false, true}) {
        for (const NumberStyle &style : everyStyle(centimes)) {
            for (int i = 0; i < 500; ++i) {
                long long amount = any(random) / (i % 5 == 0 ? 1 : 1000);
                if (!centimes)
                    amount = std::max(1LL, amount / 100) * 100;
                amount = std::max(amount, 1LL);
                const std::string expected = MontantEnLettres(amount, style);
                std::string wording;
                for (int drops = 0; wording != expected; ++drops) {
                    const std::string hint = NextHintWord(expected, wording, style);
                    const DropVerdict verdict = JudgeDrop(expected, wording, hint, style);
                    if (hint.empty() || !verdict.right || drops > 80)
                        QFAIL(qPrintable(QStringLiteral("%1 %2: stuck at \"%3\"")
                                             .arg(styleName(style))
                                             .arg(amount)
                                             .arg(q(wording))));
                    wording = verdict.wording;
                }
                QVERIFY(NextHintWord(expected, wording, style).empty());
            }
        }
    }
}

void TestNumberStyles::rule_data()
{
    QTest::addColumn<QString>("style");
    QTest::addColumn<qlonglong>("units");
    QTest::addColumn<QString>("wording");
    QTest::addColumn<QString>("word");
    QTest::addColumn<int>("rule");
    const auto row = [](const char *name, const char *style, long long units, const char *wording, const char *word,
                        RegleEnfreinte rule) {
        QTest::newRow(name) << QString::fromLatin1(style) << qlonglong(units) << QString::fromUtf8(wording)
                            << QString::fromUtf8(word) << int(rule);
    };
    using R = RegleEnfreinte;
    row("deux cents un", "trad", 201, "deux cent", "s", R::CentPluriel);
    row("deux cents mille", "trad", 200'000, "deux cent", "s", R::CentPluriel);
    row("cents seul", "trad", 100, "cent", "s", R::CentPluriel);
    row("deux cent francs", "trad", 200, "deux cent", "francs", R::CentPluriel);
    row("deux-cent-millions", "1990", 200'000'000, "deux-cent", "million", R::CentPluriel);
    row("deux-cents-un 1990", "1990", 201, "deux-cent", "s", R::CentPluriel);
    row("milles", "trad", 2000, "deux mille", "s", R::MilleInvariable);
    row("milles 1990", "1990", 2300, "deux-mille", "s", R::MilleInvariable);
    row("un cent", "trad", 100, "", "un", R::UnDevantCentMille);
    row("un mille", "trad", 1000, "", "un", R::UnDevantCentMille);
    row("mille un cent", "trad", 1100, "mille", "un", R::UnDevantCentMille);
    row("un million un mille", "euro", 1'001'000, "un million", "un", R::UnDevantCentMille);
    row("un-cent 1990", "1990", 2100, "deux-mille-", "un", R::UnDevantCentMille);
    row("quatre-vingt et un", "trad", 81, "quatre-vingt-", "et", R::EtSeulement);
    row("cent et un", "trad", 101, "cent", "et", R::EtSeulement);
    row("vingt et deux", "trad", 22, "vingt-", "et", R::EtSeulement);
    row("vingt un", "trad", 21, "vingt", "un", R::EtSeulement);
    row("soixante onze", "trad", 71, "soixante", "onze", R::EtSeulement);
    row("septante un", "be", 71, "septante", "un", R::EtSeulement);
    row("quatre-vingts-trois", "trad", 83, "quatre-vingt", "s", R::QuatreVingtsPluriel);
    row("quatre-vingts mille", "trad", 80'000, "quatre-vingt", "s", R::QuatreVingtsPluriel);
    row("quatre-vingt francs", "trad", 80, "quatre-vingt", "francs", R::QuatreVingtsPluriel);
    row("quatre-vingt millions", "trad", 80'000'000, "quatre-vingt", "million", R::QuatreVingtsPluriel);
    row("million euros", "euro", 1'000'000, "un million", "euros", R::DeApresMillion);
    row("millions francs", "trad", 2'000'000, "deux millions", "francs", R::DeApresMillion);
    row("de euros", "euro", 1'000'000, "un million", "de", R::DeApresMillion);
    row("d'francs", "trad", 3'000'000'000, "trois milliards", "d'", R::DeApresMillion);
    row("d' not round", "euro", 1'000'200, "un million deux cents", "d'", R::DeApresMillion);
    row("1990 d'", "1990 euro", 2'000'000, "deux-millions", "euros", R::DeApresMillion);
    row("1990 without hyphen", "1990", 21, "vingt", "et", R::TraitsUnion1990);
    row("1990 without hyphen before mille", "1990", 2000, "deux", "mille", R::TraitsUnion1990);
    row("huitantes", "ch", 80, "huitante", "s", R::HuitanteInvariable);
    row("huitantes mille", "ch", 80'000, "huitante", "s", R::HuitanteInvariable);
    row("vingts", "trad", 20, "vingt", "s", R::VingtPluriel);
    row("vingts-deux", "trad", 22, "vingt", "s", R::VingtPluriel);
    row("un millions", "trad", 1'000'000, "un million", "s", R::MillionPluriel);
    row("deux million de", "trad", 2'000'000, "deux million", "de", R::MillionPluriel);
    // Wrong, but for no rule worth a sentence.
    row("unrelated word", "trad", 201, "deux cent", "trois", R::Aucune);
    row("unrelated first word", "trad", 4521, "", "cinq", R::Aucune);
    row("s on a number", "trad", 22, "vingt-deux", "s", R::Aucune);
    row("s after a hyphen", "1990", 22, "vingt-", "s", R::Aucune);
    row("deux un", "trad", 2000, "deux", "un", R::Aucune);
    row("et after the currency", "trad", 21, "vingt et un francs", "et", R::Aucune);
    row("wrong currency", "trad", 5, "cinq", "euros", R::Aucune);
    row("right drop", "trad", 201, "deux cent", "un", R::Aucune);
    row("right hyphen drop", "1990", 21, "vingt-", "et", R::Aucune);
}

void TestNumberStyles::rule()
{
    QFETCH(QString, style);
    QFETCH(qlonglong, units);
    QFETCH(QString, wording);
    QFETCH(QString, word);
    const NumberStyle s = styleNamed(style);
    const std::string expected = MontantEnLettres(units * 100, s);
    QTEST(int(RegleEnfreintePar(expected, wording.toStdString(), word.toStdString(), s)), "rule");
}

void TestNumberStyles::ruleSentences()
{
    using R = RegleEnfreinte;
    const auto said = [](R rule, const NumberStyle &style = Trad) { return q(PhraseDeLaRegle(rule, style)); };
    QCOMPARE(said(R::CentPluriel),
             QStringLiteral("« cent » prend un « s » seulement quand il termine le nombre : deux cents, mais deux "
                            "cent un."));
    QCOMPARE(said(R::MilleInvariable), QStringLiteral("« mille » ne prend jamais de « s »."));
    QCOMPARE(said(R::UnDevantCentMille), QStringLiteral("On n'écrit pas « un » devant « cent » ni devant « mille »."));
    QCOMPARE(said(R::EtSeulement),
             QStringLiteral("« et » s'écrit seulement dans vingt et un, trente et un, … soixante et onze."));
    QCOMPARE(said(R::QuatreVingtsPluriel),
             QStringLiteral("« quatre-vingts » prend un « s » seulement quand il "
                            "termine le nombre : quatre-vingts, mais quatre-vingt-trois."));
    QCOMPARE(said(R::DeApresMillion, TradEuro), QStringLiteral("Après un million tout rond, on écrit « d'euros »."));
    QCOMPARE(said(R::DeApresMillion), QStringLiteral("Après un million tout rond, on écrit « de francs »."));
    QCOMPARE(said(R::TraitsUnion1990),
             QStringLiteral("En orthographe rectifiée, tous les mots du nombre sont reliés par des traits d'union."));
    QCOMPARE(said(R::HuitanteInvariable), QStringLiteral("« huitante » ne prend jamais de « s »."));
    QVERIFY(said(R::Aucune).isEmpty());
    QVERIFY(!said(R::VingtPluriel).isEmpty() && !said(R::MillionPluriel).isEmpty());
}

// Whatever block a pupil drops on any praised wording, in any style: a drop
// the judge praises is never blamed on a rule, and every rule named is one
// with a sentence.
void TestNumberStyles::noRuleForARightDrop()
{
    std::mt19937_64 random(1990);
    std::uniform_int_distribution<long long> any(CentimesMinimum, CentimesMaximum);
    int named = 0;
    for (const bool centimes : {false, true}) {
        for (const NumberStyle &style : everyStyle(centimes)) {
            const std::vector<WordBlock> blocks = BlocksFor(style, UnitesMaximum);
            for (int i = 0; i < 150; ++i) {
                long long amount = any(random) / (i % 3 == 0 ? 1 : i % 3 == 1 ? 1'000'000 : 10'000);
                if (!centimes)
                    amount = std::max(1LL, amount / 100) * 100;
                amount = std::max(amount, 1LL);
                const std::string expected = MontantEnLettres(amount, style);
                std::string wording;
                while (wording != expected) {
                    for (const WordBlock &block : blocks) {
                        const RegleEnfreinte rule = RegleEnfreintePar(expected, wording, block.caption, style);
                        const bool right = JudgeDrop(expected, wording, block.caption, style).right;
                        if (rule != RegleEnfreinte::Aucune && (right || PhraseDeLaRegle(rule, style).empty()))
                            QFAIL(qPrintable(QStringLiteral("%1: \"%2\" on \"%3\"")
                                                 .arg(amount)
                                                 .arg(QString::fromUtf8(block.caption), q(wording))));
                        named += rule != RegleEnfreinte::Aucune;
                    }
                    wording = JudgeDrop(expected, wording, NextHintWord(expected, wording, style), style).wording;
                }
            }
        }
    }
    QVERIFY(named > 1000);
}

QTEST_APPLESS_MAIN(TestNumberStyles)
#include "test_number_styles.moc"
