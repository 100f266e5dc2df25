// Pecunette — apprendre à remplir un chèque.
// The readers that turn stored texts into numbers: whatever a hand, an old
// version or a broken disk left in the store, they give a number the program
// can use or say that there is none.
#include "settings_keys.h"
#include "settings_store.h"
#include "test_support.h"

#include <QTest>

#include <limits>

namespace {
// Long enough to find any reader that copies, scans twice or overflows.
QString longText() { return QString(100'000, QLatin1Char('9')); }
QString nonAscii() { return QStringLiteral("٣ trois €"); }  // begins with an Arabic-Indic digit three
}  // namespace

class TestSettingsReaders : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }

    void parseWholeNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("expected");  // -999: no number
        constexpr int none = -999;

        QTest::newRow("digit") << QStringLiteral("2") << 0 << 3 << 2;
        QTest::newRow("lowest") << QStringLiteral("0") << 0 << 3 << 0;
        QTest::newRow("highest") << QStringLiteral("3") << 0 << 3 << 3;
        QTest::newRow("blank before") << QStringLiteral(" 2") << 0 << 3 << 2;
        QTest::newRow("blanks around") << QStringLiteral("\t2 \n") << 0 << 3 << 2;
        QTest::newRow("whole decimal") << QStringLiteral("2.0") << 0 << 3 << 2;
        QTest::newRow("plus sign") << QStringLiteral("+2") << 0 << 3 << 2;
        QTest::newRow("negative zero") << QStringLiteral("-0") << 0 << 3 << 0;
        QTest::newRow("negative allowed") << QStringLiteral("-1") << -5 << 5 << -1;
        QTest::newRow("empty") << QString() << 0 << 3 << none;
        QTest::newRow("blanks only") << QStringLiteral("   ") << 0 << 3 << none;
        QTest::newRow("word") << QStringLiteral("abc") << 0 << 3 << none;
        QTest::newRow("below the range") << QStringLiteral("-1") << 0 << 3 << none;
        QTest::newRow("above the range") << QStringLiteral("4") << 0 << 3 << none;
        QTest::newRow("fraction") << QStringLiteral("3.7") << 0 << 3 << none;
        QTest::newRow("digits then text") << QStringLiteral("2 chèques") << 0 << 3 << none;
        QTest::newRow("decimal comma") << QStringLiteral("2,0") << 0 << 3 << none;
        QTest::newRow("hexadecimal") << QStringLiteral("0x2") << 0 << 3 << none;
        QTest::newRow("twenty digits") << QStringLiteral("99999999999999999999") << 0 << 3 << none;
        QTest::newRow("beyond int") << QStringLiteral("4294967298") << std::numeric_limits<int>::min()
                                    << std::numeric_limits<int>::max() << none;
        QTest::newRow("beyond double") << QStringLiteral("1e999") << 0 << 3 << none;
        QTest::newRow("infinity") << QStringLiteral("inf") << 0 << 3 << none;
        QTest::newRow("not a number") << QStringLiteral("nan") << 0 << 3 << none;
        QTest::newRow("100000 characters") << longText() << 0 << 3 << none;
        QTest::newRow("non-ASCII digit") << nonAscii() << 0 << 3 << none;
        QTest::newRow("fullwidth digit") << QStringLiteral("２") << 0 << 3 << none;
    }

    void parseWholeNumber()
    {
        QFETCH(QString, text);
        QFETCH(int, minimum);
        QFETCH(int, maximum);
        QFETCH(int, expected);
        QCOMPARE(::parseWholeNumber(text, minimum, maximum).value_or(-999), expected);
    }

    void parseDecimal_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<double>("expected");

        QTest::newRow("default position") << QStringLiteral("-40") << true << -40.0;
        QTest::newRow("fraction") << QStringLiteral("1234.5") << true << 1234.5;
        QTest::newRow("blanks around") << QStringLiteral(" 12 ") << true << 12.0;
        QTest::newRow("twenty digits") << QStringLiteral("99999999999999999999") << true << 1e20;
        QTest::newRow("empty") << QString() << false << 0.0;
        QTest::newRow("word") << QStringLiteral("abc") << false << 0.0;
        QTest::newRow("decimal comma") << QStringLiteral("1,5") << false << 0.0;
        QTest::newRow("beyond double") << QStringLiteral("1e999") << false << 0.0;
        QTest::newRow("infinity") << QStringLiteral("-inf") << false << 0.0;
        QTest::newRow("not a number") << QStringLiteral("nan") << false << 0.0;
        QTest::newRow("100000 characters") << longText() << false << 0.0;
        QTest::newRow("non-ASCII digit") << nonAscii() << false << 0.0;
    }

    void parseDecimal()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(double, expected);
        const std::optional<double> value = ::parseDecimal(text);
        QCOMPARE(value.has_value(), valid);
        if (valid)
            QCOMPARE(*value, expected);
    }

    void leadingNumber16_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");

        QTest::newRow("on") << QStringLiteral("1") << 1;
        QTest::newRow("off") << QStringLiteral("0") << 0;
        QTest::newRow("text after") << QStringLiteral("1 (oui)") << 1;
        QTest::newRow("blank before") << QStringLiteral(" 2") << 2;
        QTest::newRow("tab before") << QStringLiteral("\t3") << 3;
        QTest::newRow("plus sign") << QStringLiteral("+4") << 4;
        QTest::newRow("minus sign") << QStringLiteral("-1") << -1;
        QTest::newRow("leading zeros") << QStringLiteral("007") << 7;
        QTest::newRow("fraction") << QStringLiteral("3.7") << 3;
        QTest::newRow("largest") << QStringLiteral("32767") << 32767;
        QTest::newRow("smallest") << QStringLiteral("-32768") << -32768;
        QTest::newRow("just too large") << QStringLiteral("32768") << 0;
        QTest::newRow("just too small") << QStringLiteral("-32769") << 0;
        QTest::newRow("twenty digits") << QStringLiteral("99999999999999999999") << 0;
        QTest::newRow("100000 digits") << longText() << 0;
        QTest::newRow("empty") << QString() << 0;
        QTest::newRow("word") << QStringLiteral("abc") << 0;
        QTest::newRow("sign alone") << QStringLiteral("-") << 0;
        QTest::newRow("blank after the sign") << QStringLiteral("- 1") << 0;
        QTest::newRow("non-ASCII digit") << nonAscii() << 0;
    }

    void leadingNumber16()
    {
        QFETCH(QString, text);
        QFETCH(int, expected);
        QCOMPARE(int(::leadingNumber16(text)), expected);
    }

    void readIndex_data()
    {
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");  // of a list of 4 entries, fallback 3

        QTest::newRow("absent") << false << QString() << 3;
        QTest::newRow("first") << true << QStringLiteral("0") << 0;
        QTest::newRow("last") << true << QStringLiteral("3") << 3;
        QTest::newRow("blank before") << true << QStringLiteral(" 2") << 2;
        QTest::newRow("past the end") << true << QStringLiteral("4") << 3;
        QTest::newRow("negative") << true << QStringLiteral("-1") << 3;
        QTest::newRow("fraction") << true << QStringLiteral("1.5") << 3;
        QTest::newRow("empty") << true << QString() << 3;
        QTest::newRow("word") << true << QStringLiteral("abc") << 3;
        QTest::newRow("100000 characters") << true << longText() << 3;
    }

    void readIndex()
    {
        QFETCH(bool, stored);
        QFETCH(QString, text);
        QFETCH(int, expected);
        clearSettings();
        QSettingsStore store;
        if (stored)
            store.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Temporisation, text);
        QCOMPARE(::readIndex(store, Keys::Temporisation, 4, 3), expected);
    }
};

QTEST_GUILESS_MAIN(TestSettingsReaders)
#include "test_settings_readers.moc"
