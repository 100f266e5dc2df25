// Pecunette — apprendre à remplir un chèque.
// Every amount from 1 to 999 999 in every spelling, country and currency:
// the wording is spelt by the blocks, and no praised state is a dead end.
// Kept apart from the other tests of the rules because it is the long one.
#include "style_support.h"

#include <QtTest>

class TestNumberStylesExhaustive : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyAmountBelowAMillion_data();
    void everyAmountBelowAMillion();
};

void TestNumberStylesExhaustive::everyAmountBelowAMillion_data()
{
    QTest::addColumn<int>("style");
    const std::vector<NumberStyle> styles = everyStyle(false);
    for (std::size_t i = 0; i < styles.size(); ++i)
        QTest::newRow(qPrintable(styleName(styles[i]))) << int(i);
}

void TestNumberStylesExhaustive::everyAmountBelowAMillion()
{
    QFETCH(int, style);
    const NumberStyle s = everyStyle(false).at(style);
    const std::set<std::string> captionSet = captionsOf(s);
    const CaptionsByLetter captions = byFirstLetter(captionSet);
    for (long long amount = 1; amount < 1'000'000; ++amount) {
        const std::string expected = MontantEnLettres(amount * 100, s);
        QString fault = spellingFault(expected, s, captionSet);
        if (fault.isEmpty())
            fault = deadEndFault(expected, s, captions);
        if (!fault.isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1: %2").arg(amount).arg(fault)));
    }
}

QTEST_APPLESS_MAIN(TestNumberStylesExhaustive)
#include "test_number_styles_exhaustive.moc"
