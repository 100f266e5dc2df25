// Pecunette — apprendre à remplir un chèque.
// Cheques in the ways a class writes its numbers, chosen in the parameters
// and read at each new cheque, driven through the real window.
#include "main_window_fixture.h"
#include "regle_enfreinte.h"

#include <QDir>
#include <QSet>

namespace {
using Stored = QList<QPair<QString, QString>>;

NumberStyle styleOf(const Stored &stored)
{
    QSettingsStore store;
    for (const auto &[key, value] : stored)
        store.Write(Keys::AppPecunette, Keys::SectionDemarrage, key, value);
    return storedStyle(store);
}

QString fromUtf8(const std::string &text) { return QString::fromStdString(text); }
}  // namespace

class TestStyledCheques : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    // The stored choices give the cheque its amount, its wording and its blocks.
    void chequeFollowsTheStoredStyle_data()
    {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<long long>("largest");
        QTest::addColumn<QList<int>>("extraBlocks");
        QTest::newRow("nothing stored") << Stored {} << 9LL << QList<int> {};
        QTest::newRow("Belgium, CE2") << Stored {{Keys::Pays, "1"}, {Keys::Classe, "2"}} << 10000LL
                                      << QList<int> {29, 31};
        QTest::newRow("Switzerland, CM2, cents, euros")
            << Stored {{Keys::Pays, "2"}, {Keys::Classe, "4"}, {Keys::Centimes, "1"}, {Keys::Monnaie, "1"}}
            << 1000000000LL << QList<int> {29, 30, 31, 32, 33, 34, 35};
        QTest::newRow("1990, CM1") << Stored {{Keys::Orthographe, "1"}, {Keys::Classe, "3"}} << 999999LL
                                   << QList<int> {};
        QTest::newRow("corrupt values fall back")
            << Stored {{Keys::Pays, "7"}, {Keys::Centimes, "oui"}, {Keys::Orthographe, "-1"}, {Keys::Classe, "x"}}
            << 9LL << QList<int> {};
    }
    void chequeFollowsTheStoredStyle()
    {
        QFETCH(Stored, stored);
        QFETCH(long long, largest);
        QFETCH(QList<int>, extraBlocks);
        MainWindow w(stored);
        const NumberStyle style = styleOf(stored);
        QCOMPARE(w.state.MontantMax, double(largest));
        bool someCents = false;
        for (int cheque = 0; cheque < 30; ++cheque) {
            w.frm->mnuNouveau_Click();
            QCOMPARE(w.frm->style(), style);
            const MontantLu read = LireMontant(w.frm->Somme()->text().section(QLatin1Char(' '), 0, -2).toStdString());
            QVERIFY2(read.centimes.has_value(), qPrintable(w.frm->Somme()->text()));
            const Centimes amount = *read.centimes;
            QVERIFY(amount >= 100 && amount <= largest * 100);
            QCOMPARE(w.frm->Somme()->text(), fromUtf8(TexteSomme(amount, style)));
            QCOMPARE(w.state.PhraseATrouver, fromUtf8(MontantEnLettres(amount, style)));
            someCents = someCents || amount % 100 != 0;
        }
        QCOMPARE(someCents, style.centimes);
        QSet<int> shown;
        for (int i = 0; i < FrmMain::BlockCount; ++i)
            if (w.frm->Nombre(i)->isVisible())
                shown.insert(i);
        QSet<int> wanted;
        for (int i = 0; i < 29; ++i)
            wanted.insert(i);
        for (int i : extraBlocks)
            wanted.insert(i);
        QCOMPARE(shown, wanted);
        for (const WordBlock &block : BlocksFor(style, largest))
            QCOMPARE(w.frm->Nombre(block.index)->text(), fromUtf8(block.caption));
    }

    // A choice made in the parameters holds from the next cheque: the one on screen keeps its style.
    void styleChangesAtTheNextCheque()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("quatre-vingt-dix francs"));
        w.services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Pays, QStringLiteral("1"));
        QVERIFY(w.frm->Nombre(29)->isHidden());
        QCOMPARE(w.frm->style().pays, Pays::France);
        w.frm->mnuNouveau_Click();
        QCOMPARE(w.frm->style().pays, Pays::Belgique);
        QVERIFY(w.frm->Nombre(29)->isVisible());
        QCOMPARE(w.frm->Nombre(29)->text(), QStringLiteral("septante"));
    }

    // A pupil who always takes the hinted block completes a cheque in every
    // style, without an error, whatever its amount.
    void hintedBlocksCompleteTheCheque_data()
    {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Switzerland, cents")
            << Stored {{Keys::Pays, "2"}, {Keys::Centimes, "1"}} << "huitante-deux francs et septante et un centimes";
        QTest::newRow("Belgium 1990 euros")
            << Stored {{Keys::Pays, "1"}, {Keys::Orthographe, "1"}, {Keys::Monnaie, "1"}} << "nonante-et-un euros";
        QTest::newRow("a million of euros")
            << Stored {{Keys::Classe, "4"}, {Keys::Monnaie, "1"}} << "deux millions d'euros";
        QTest::newRow("a million of francs") << Stored {{Keys::Classe, "4"}} << "trois cents millions de francs";
        QTest::newRow("1990, thousands") << Stored {{Keys::Orthographe, "1"}, {Keys::Classe, "3"}}
                                         << "quatre-cent-vingt-et-un-mille-deux-cents francs";
    }
    void hintedBlocksCompleteTheCheque()
    {
        QFETCH(Stored, stored);
        QFETCH(QString, expected);
        MainWindow w(stored);
        w.newCheque(expected);
        // The window's hint gives the first block (it does not come back after a drop), the rules the others.
        for (int tick = 0; tick < 4; ++tick)
            w.frm->Timer_Timer(2);
        QString hinted;
        for (int i = 0; i < FrmMain::BlockCount; ++i)
            if (w.frm->Nombre(i)->isVisible() && w.frm->Nombre(i)->textColor() == QColor(0, 0, 255))
                hinted = w.frm->Nombre(i)->text();
        for (int drops = 0; w.state.ChequeEnCours && drops < 40; ++drops) {
            QVERIFY2(!hinted.isEmpty(), qPrintable(w.frm->TexteResultat()->text()));
            w.dropShown(hinted);
            QVERIFY2(w.lastRow().normal, qPrintable(w.lastEvent()));
            w.frm->Timer_Timer(0);
            hinted = fromUtf8(
                NextHintWord(expected.toStdString(), w.frm->TexteResultat()->text().toStdString(), w.frm->style()));
        }
        QCOMPARE(w.frm->TexteResultat()->text(), expected);
        QCOMPARE(w.state.ErreursCheque, 0);
    }

    // A wrong drop that breaks a rule: the clerk says the rule, and the
    // history row of the error keeps it after the wording, still in red.
    void clerkNamesTheRule_data()
    {
        QTest::addColumn<Stored>("stored");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("drops");
        QTest::addColumn<QString>("bubble");
        QTest::addColumn<QString>("row");

        const QString mille = QStringLiteral("« mille » ne prend jamais de « s ».");
        const QString huitante = QStringLiteral("« huitante » ne prend jamais de « s ».");
        const QString cent = fromUtf8(PhraseDeLaRegle(RegleEnfreinte::CentPluriel, {}));
        QTest::newRow("mille in Belgium") << Stored {{Keys::Pays, "1"}} << "deux mille francs"
                                          << QStringList {"deux", "mille", "s"} << mille << "deux milles — " + mille;
        QTest::newRow("cent before another number")
            << Stored {{Keys::Centimes, "1"}} << "deux cent un francs" << QStringList {"deux", "cent", "s"} << cent
            << "deux cents — " + cent;
        QTest::newRow("huitante in Switzerland")
            << Stored {{Keys::Pays, "2"}} << "huitante francs" << QStringList {"huitante", "s"} << huitante
            << "huitantes — " + huitante;
        QTest::newRow("the exercise as it always was says no")
            << Stored {} << "deux mille francs" << QStringList {"deux", "mille", "s"} << "Incorrect!"
            << "deux milles";
        QTest::newRow("no rule: the clerk says no")
            << Stored {} << "deux francs" << QStringList {"milliard"} << "Incorrect!"
            << "milliard";
    }
    void clerkNamesTheRule()
    {
        QFETCH(Stored, stored);
        QFETCH(QString, expected);
        QFETCH(QStringList, drops);
        QFETCH(QString, bubble);
        MainWindow w(stored << QPair<QString, QString>(Keys::Son, QStringLiteral("1")));
        w.newCheque(expected);
        for (const QString &drop : drops) {
            w.dropShown(drop);
            w.frm->Timer_Timer(0);
        }
        FrmMain &f = *w.frm;
        // In the bubble the quotation marks hold to their word with no-break spaces.
        QString inBubble = bubble;
        inBubble.replace(QStringLiteral("« "), QStringLiteral("«\u00A0"))
            .replace(QStringLiteral(" »"), QStringLiteral("\u00A0»"));
        QCOMPARE(f.Message()->text(), inBubble);
        QTEST(w.lastEvent(), "row");
        QVERIFY(!w.lastRow().normal);
        QCOMPARE(w.state.ErreursCheque, 1);
        QVERIFY(w.services.sound.played.last().endsWith(QStringLiteral("incorrect.mp3")));
        // Read whole, in a size a child can read, inside the bubble.
        QVERIFY2(f.Message()->drawnPointSize() >= 8.0, qPrintable(QString::number(f.Message()->drawnPointSize())));
        QVERIFY(f.Timer(1)->running());
        f.Timer_Timer(1);
        QCOMPARE(f.Message()->text(), QStringLiteral("Essaie encore!"));
        QCOMPARE(f.Message()->geometry(), QRect(296, 30, 213, 53));
    }

    // The largest set of blocks: a Swiss cheque up to a milliard with cents.
    // Each block stands clear of the others, of the clerk's bubble and of the
    // cheque's lines, and its caption is drawn whole.
    void everyBlockOfTheLargestStyleIsReadable()
    {
        MainWindow w({{Keys::Pays, "2"}, {Keys::Classe, "4"}, {Keys::Centimes, "1"}});
        w.frm->Nouveau_Click();
        QList<QRect> boxes;
        for (int i = 0; i < FrmMain::BlockCount; ++i) {
            WordBlockLabel *b = w.frm->Nombre(i);
            QVERIFY(b->isVisible());
            QVERIFY2(b->drawnPointSize() >= 7.0, qPrintable(b->text()));
            QVERIFY(w.frm->centralWidget()->rect().contains(b->geometry()));
            QVERIFY(!b->geometry().intersects(w.frm->Message()->geometry()));
            QVERIFY(!b->geometry().intersects(w.frm->TexteResultat()->geometry()));
            for (const QRect &other : boxes)
                QVERIFY2(!other.intersects(b->geometry()), qPrintable(b->text()));
            boxes << b->geometry();
        }
        // PECUNETTE_GRAB_DIR keeps a picture to look at.
        const QString dir = qEnvironmentVariable("PECUNETTE_GRAB_DIR");
        if (!dir.isEmpty()) {
            w.frm->grab().save(QDir(dir).filePath(QStringLiteral("cheque_suisse_cm2.png")));
            w.newCheque(QStringLiteral("deux cent un mille francs et dix centimes"));
            for (const char *block : {"deux", "cent", "un", "mille", "s"})
                w.dropShown(QString::fromUtf8(block));
            w.frm->grab().save(QDir(dir).filePath(QStringLiteral("bulle.png")));
        }
    }
};

QTEST_MAIN(TestStyledCheques)
#include "test_styled_cheques.moc"
