// Pecunette — apprendre à remplir un chèque.
#include "clean_text.h"

#include <QTest>

class TestCleanLine : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void cases_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain name") << "Zoé Dupont"
                                    << "Zoé Dupont";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("NUL inside") << QString::fromUtf16(u"Lé\0a", 4) << "Léa";
        QTest::newRow("escape sequence") << "\x1b[31mRouge"
                                         << "[31mRouge";
        QTest::newRow("DEL and C1 controls") << QStringLiteral("a\u007Fb\u0080c\u009Fd") << "abcd";
        QTest::newRow("each line break one blank") << "Jean\nPaul\r\nMarie\rLou\u2028Zoé\u2029Léo\u0085Max"
                                                   << "Jean Paul Marie Lou Zoé Léo Max";
        QTest::newRow("two line breaks two blanks") << "a\n\nb"
                                                    << "a  b";
        QTest::newRow("tab") << "Jean\tPaul"
                             << "Jean Paul";
        QTest::newRow("right-to-left override") << QStringLiteral("\u202Eevil\u202C name") << "evil name";
        QTest::newRow("every override and isolate")
            << QStringLiteral("\u202Aa\u202Bb\u202Cc\u202Dd\u202Ee\u2066f\u2067g\u2068h\u2069") << "abcdefgh";
        QTest::newRow("right-to-left letters and marks kept")
            << QStringLiteral("مريم\u200F العربية\u200E") << QStringLiteral("مريم\u200F العربية\u200E");
        QTest::newRow("emoji with joiners kept") << "Zoé 🧒🏽 👩‍👩‍👧 🇫🇷"
                                                 << "Zoé 🧒🏽 👩‍👩‍👧 🇫🇷";
        QTest::newRow("combining accents kept") << "Ze\u0301lie\u0308"
                                                << "Ze\u0301lie\u0308";
        QTest::newRow("quotes, commas, formula kept") << "=\"Jo\", l'Ami;#[x]\\"
                                                      << "=\"Jo\", l'Ami;#[x]\\";
    }
    void cases()
    {
        QFETCH(QString, text);
        QTEST(cleanLine(text), "expected");
    }

    // Every UTF-16 unit, alone and between letters: a character is either kept
    // as it is, or becomes a blank, or is gone; what comes out is always one
    // line with no control character nor direction override, and cleaning
    // again changes nothing.
    void everyUnit()
    {
        for (int u = 0; u <= 0xFFFF; ++u) {
            const QChar c(static_cast<char16_t>(u));
            const QString text = QStringLiteral("a") + c + QStringLiteral("b");
            const QString cleaned = cleanLine(text);
            const bool kept = cleaned == text;
            const bool blank = cleaned == QStringLiteral("a b");
            const bool gone = cleaned == QStringLiteral("ab");
            QVERIFY2(kept || blank || gone, qPrintable(QString::number(u, 16)));
            const bool unsafe = c.category() == QChar::Other_Control || (u >= 0x202A && u <= 0x202E) ||
                                (u >= 0x2066 && u <= 0x2069) || u == 0x2028 || u == 0x2029;
            QVERIFY2(kept != unsafe, qPrintable(QString::number(u, 16)));
            QCOMPARE(cleanLine(cleaned), cleaned);
        }
    }
};

QTEST_APPLESS_MAIN(TestCleanLine)
#include "test_clean_line.moc"
