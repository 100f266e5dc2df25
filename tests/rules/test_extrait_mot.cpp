// Pecunette — apprendre à remplir un chèque.
#include "extrait_mot.h"

#include <QtTest>

class TestExtraitMot : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void extraitMot_data();
    void extraitMot();
};

void TestExtraitMot::extraitMot_data()
{
    QTest::addColumn<QString>("phrase");
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("expected");

    const QString blank = QStringLiteral(" ");
    const QString deuxCents = QStringLiteral("deux cents francs");
    QTest::newRow("first word") << deuxCents << 1 << blank << QStringLiteral("deux");
    QTest::newRow("second word") << deuxCents << 2 << blank << QStringLiteral("cents");
    // The last word has no separator after it and is never returned.
    QTest::newRow("last word") << deuxCents << 3 << blank << QStringLiteral("cents");
    QTest::newRow("past the end") << deuxCents << 9 << blank << QStringLiteral("cents");
    QTest::newRow("number 0") << deuxCents << 0 << blank << QStringLiteral("cents");
    QTest::newRow("negative number") << deuxCents << -1 << blank << QStringLiteral("cents");
    QTest::newRow("two words, first") << QStringLiteral("un franc") << 1 << blank << QStringLiteral("un");
    QTest::newRow("two words, second") << QStringLiteral("un franc") << 2 << blank << QStringLiteral("un");
    QTest::newRow("no separator") << QStringLiteral("francs") << 1 << blank << QString();
    QTest::newRow("hyphens belong to the word")
        << QStringLiteral("quatre-vingt-dix francs") << 1 << blank << QStringLiteral("quatre-vingt-dix");
    QTest::newRow("empty word between two blanks") << QStringLiteral("a  b c") << 2 << blank << QString();
    QTest::newRow("word after two blanks") << QStringLiteral("a  b c") << 3 << blank << QStringLiteral("b");
    QTest::newRow("leading separator") << QStringLiteral(" a b") << 1 << blank << QString();
    QTest::newRow("empty phrase") << QString() << 1 << blank << QString();
    QTest::newRow("other separator") << QStringLiteral("a-b c-d") << 2 << QStringLiteral("-") << QStringLiteral("b c");
    QTest::newRow("case counts") << QStringLiteral("aXbxc") << 1 << QStringLiteral("x") << QStringLiteral("aXb");
    QTest::newRow("empty separator") << deuxCents << 1 << QString() << QString();
    QTest::newRow("long separator") << QStringLiteral("a  b c") << 1 << QStringLiteral("  ") << QString();
}

void TestExtraitMot::extraitMot()
{
    QFETCH(QString, phrase);
    QFETCH(int, number);
    QFETCH(QString, separator);
    QFETCH(QString, expected);
    const std::string word =
        ExtraitMot(static_cast<std::int16_t>(number), phrase.toStdString(), separator.toStdString());
    QCOMPARE(QString::fromStdString(word), expected);
}

QTEST_APPLESS_MAIN(TestExtraitMot)
#include "test_extrait_mot.moc"
