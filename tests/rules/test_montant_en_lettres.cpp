// Pecunette — apprendre à remplir un chèque.
#include "montant_en_lettres.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <unordered_set>

class TestMontantEnLettres : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void wording_data();
    void wording();
    void everyAmountIsWellFormed();
    void euros_data();
    void euros();
    void rejectsAmountsOutOfRange_data();
    void rejectsAmountsOutOfRange();
    void parseAmount_data();
    void parseAmount();
};

void TestMontantEnLettres::wording_data()
{
    QTest::addColumn<int>("amount");
    QTest::addColumn<QString>("expected");

    const auto row = [](int amount, const char *expected) {
        QTest::newRow(qPrintable(QString::number(amount))) << amount << QString::fromUtf8(expected);
    };
    row(1, "un franc");
    row(2, "deux francs");
    row(10, "dix francs");
    row(11, "onze francs");
    row(16, "seize francs");
    row(17, "dix-sept francs");
    row(19, "dix-neuf francs");
    row(20, "vingt francs");
    row(21, "vingt et un francs");
    row(22, "vingt-deux francs");
    row(31, "trente et un francs");
    row(39, "trente-neuf francs");
    row(61, "soixante et un francs");
    row(70, "soixante-dix francs");
    row(71, "soixante et onze francs");
    row(72, "soixante-douze francs");
    row(77, "soixante-dix-sept francs");
    row(80, "quatre-vingts francs");
    row(81, "quatre-vingt-un francs");
    row(82, "quatre-vingt-deux francs");
    row(90, "quatre-vingt-dix francs");
    row(91, "quatre-vingt-onze francs");
    row(92, "quatre-vingt-douze francs");
    row(97, "quatre-vingt-dix-sept francs");
    row(99, "quatre-vingt-dix-neuf francs");
    row(100, "cent francs");
    row(101, "cent un francs");
    row(120, "cent vingt francs");
    row(121, "cent vingt et un francs");
    row(180, "cent quatre-vingts francs");
    row(191, "cent quatre-vingt-onze francs");
    row(200, "deux cents francs");
    row(201, "deux cent un francs");
    row(310, "trois cent dix francs");
    row(900, "neuf cents francs");
    row(999, "neuf cent quatre-vingt-dix-neuf francs");
    row(1000, "mille francs");
    row(1001, "mille un francs");
    row(1100, "mille cent francs");
    row(1200, "mille deux cents francs");
    row(1280, "mille deux cent quatre-vingts francs");
    row(2000, "deux mille francs");
    row(2021, "deux mille vingt et un francs");
    row(10001, "dix mille un francs");
    row(17000, "dix-sept mille francs");
    row(20000, "vingt mille francs");
    row(21000, "vingt et un mille francs");
    row(22000, "vingt-deux mille francs");
    row(25350, "vingt-cinq mille trois cent cinquante francs");
    row(70000, "soixante-dix mille francs");
    row(71071, "soixante et onze mille soixante et onze francs");
    row(80000, "quatre-vingt mille francs");
    row(80080, "quatre-vingt mille quatre-vingts francs");
    row(81081, "quatre-vingt-un mille quatre-vingt-un francs");
    row(82000, "quatre-vingt-deux mille francs");
    row(90090, "quatre-vingt-dix mille quatre-vingt-dix francs");
    row(91000, "quatre-vingt-onze mille francs");
    row(91091, "quatre-vingt-onze mille quatre-vingt-onze francs");
    row(99999, "quatre-vingt-dix-neuf mille neuf cent quatre-vingt-dix-neuf francs");
}

void TestMontantEnLettres::wording()
{
    QFETCH(int, amount);
    QFETCH(QString, expected);
    QCOMPARE(QString::fromStdString(MontantEnLettres(amount)), expected);
}

// The pupil's drops are compared with this text character by character, so a
// stray blank or a misplaced plural anywhere in the range makes a cheque that
// cannot be completed.
void TestMontantEnLettres::everyAmountIsWellFormed()
{
    std::unordered_set<std::string> seen;
    seen.reserve(MontantMaximum);
    for (int amount = MontantMinimum; amount <= MontantMaximum; ++amount) {
        const std::string text = MontantEnLettres(amount);
        const auto context = [&] {
            return QStringLiteral("%1: \"%2\"").arg(amount).arg(QString::fromStdString(text)).toUtf8();
        };
        if (text.empty() || text.front() == ' ' || text.back() == ' ' || text.back() == '-' ||
            text.find("  ") != std::string::npos || text.find("--") != std::string::npos ||
            text.find(" -") != std::string::npos || text.find("- ") != std::string::npos || text.front() == '-') {
            QFAIL(context().constData());
        }
        const std::string currency = amount == 1 ? " franc" : " francs";
        if (text.size() <= currency.size() ||
            text.compare(text.size() - currency.size(), currency.size(), currency) != 0 ||
            (amount == 1 && text != "un franc")) {
            QFAIL(context().constData());
        }
        // The plural of "cent" and "vingt" only ever stands just before the currency.
        for (const char *plural : {"cents", "vingts"}) {
            const auto at = text.find(plural);
            if (at != std::string::npos && text.compare(at + std::strlen(plural), 7, " francs") != 0)
                QFAIL(context().constData());
        }
        if (!seen.insert(text).second)
            QFAIL(context().constData());
    }
}

void TestMontantEnLettres::euros_data()
{
    QTest::addColumn<int>("amount");
    QTest::addColumn<QString>("expected");
    QTest::newRow("1") << 1 << QStringLiteral("un euro");
    QTest::newRow("2") << 2 << QStringLiteral("deux euros");
    QTest::newRow("80") << 80 << QStringLiteral("quatre-vingts euros");
    QTest::newRow("1000") << 1000 << QStringLiteral("mille euros");
    QTest::newRow("4521") << 4521 << QStringLiteral("quatre mille cinq cent vingt et un euros");
}

void TestMontantEnLettres::euros()
{
    QFETCH(int, amount);
    QTEST(QString::fromStdString(MontantEnLettres(amount, Monnaie::Euro)), "expected");
}

void TestMontantEnLettres::rejectsAmountsOutOfRange_data()
{
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("named");

    QTest::newRow("zero") << 0.0 << QStringLiteral("0");
    QTest::newRow("negative") << -1.0 << QStringLiteral("-1");
    QTest::newRow("six digits") << 100000.0 << QStringLiteral("100000");
    QTest::newRow("fraction") << 1.5 << QStringLiteral("1.5");
    QTest::newRow("just above the top") << 99999.5 << QStringLiteral("99999.5");
    QTest::newRow("not a number") << std::numeric_limits<double>::quiet_NaN() << QStringLiteral("nan");
    QTest::newRow("infinite") << std::numeric_limits<double>::infinity() << QStringLiteral("inf");
    // Too many plain digits for the message's buffer, which once came back as stray bytes.
    QTest::newRow("smallest fraction") << std::numeric_limits<double>::denorm_min() << QStringLiteral("5e-324");
    QTest::newRow("tiny negative") << -1e-100 << QStringLiteral("-1e-100");
    QTest::newRow("huge") << 1e300 << QStringLiteral("1e+300");
}

void TestMontantEnLettres::rejectsAmountsOutOfRange()
{
    QFETCH(double, amount);
    QFETCH(QString, named);
    try {
        const std::string text = MontantEnLettres(amount);
        QFAIL(qPrintable(QStringLiteral("accepted, gave \"%1\"").arg(QString::fromStdString(text))));
    } catch (const std::invalid_argument &error) {
        const QString message = QString::fromUtf8(error.what());
        QVERIFY2(message.contains(named), qPrintable(message));
    }
}

void TestMontantEnLettres::parseAmount_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");  // 0: rejected

    QTest::newRow("plain") << QStringLiteral("81") << 81;
    QTest::newRow("blanks around") << QStringLiteral(" 81 ") << 81;
    QTest::newRow("smallest") << QStringLiteral("1") << 1;
    QTest::newRow("largest") << QStringLiteral("99999") << 99999;
    QTest::newRow("zero") << QStringLiteral("0") << 0;
    QTest::newRow("six digits") << QStringLiteral("100000") << 0;
    QTest::newRow("huge") << QStringLiteral("99999999999999999999999") << 0;
    QTest::newRow("fraction") << QStringLiteral("1.5") << 0;
    QTest::newRow("exponent") << QStringLiteral("1e3") << 0;
    QTest::newRow("sign") << QStringLiteral("-1") << 0;
    QTest::newRow("plus sign") << QStringLiteral("+1") << 0;
    QTest::newRow("inner blank") << QStringLiteral("8 1") << 0;
    QTest::newRow("letters") << QStringLiteral("abc") << 0;
    QTest::newRow("empty") << QString() << 0;
    QTest::newRow("blanks only") << QStringLiteral("   ") << 0;
}

void TestMontantEnLettres::parseAmount()
{
    QFETCH(QString, text);
    QFETCH(int, expected);
    const std::string bytes = text.toStdString();
    const std::optional<int> amount = ::parseAmount(bytes);
    if (expected == 0) {
        QVERIFY2(!amount.has_value(), qPrintable(QString::number(amount.value_or(0))));
    } else {
        QVERIFY(amount.has_value());
        QCOMPARE(*amount, expected);
    }
}

QTEST_APPLESS_MAIN(TestMontantEnLettres)
#include "test_montant_en_lettres.moc"
