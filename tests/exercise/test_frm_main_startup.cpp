// Pecunette — apprendre à remplir un chèque.
// The main window as it opens: what it reads from the store, what it shows.
#include "main_window_fixture.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>

class TestFrmMainStartup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void nothingStored()
    {
        MainWindow w;
        QCOMPARE(w.state.NbCheques, qint16(5));
        QCOMPARE(w.state.ChequesRestants, 5);
        QCOMPARE(w.state.MontantMax, 9.0);
        QCOMPARE(w.state.SonActif, qint16(0));
        QCOMPARE(w.state.MotsJustes, 0.0);
        QVERIFY(w.state.PhraseATrouver.isEmpty());
        // -40 twips is less than three pixels off the corner: the window stays there.
        QCOMPARE(w.frm->pos(), QPoint(-3, -3));
    }

    void storedValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("nbCheques");
        QTest::addColumn<double>("montantMax");
        QTest::addColumn<int>("sonActif");

        QTest::newRow("Exercice 3: 20 cheques") << Keys::Exercice << "3" << 20 << 9.0 << 0;
        QTest::newRow("Exercice 1 with blanks") << Keys::Exercice << " 1 " << 10 << 9.0 << 0;
        QTest::newRow("Exercice not a number") << Keys::Exercice << "abc" << 5 << 9.0 << 0;
        QTest::newRow("Exercice out of its list") << Keys::Exercice << "4" << 5 << 9.0 << 0;
        QTest::newRow("Exercice negative") << Keys::Exercice << "-1" << 5 << 9.0 << 0;
        QTest::newRow("Exercice fraction") << Keys::Exercice << "3.7" << 5 << 9.0 << 0;
        QTest::newRow("Exercice huge") << Keys::Exercice << "99999999999999999999" << 5 << 9.0 << 0;
        QTest::newRow("Hasard 4: five digits") << Keys::Hasard << "4" << 5 << 99999.0 << 0;
        QTest::newRow("Hasard 2") << Keys::Hasard << "2" << 5 << 999.0 << 0;
        QTest::newRow("Hasard empty") << Keys::Hasard << "" << 5 << 9.0 << 0;
        QTest::newRow("Hasard 5 is beyond five digits") << Keys::Hasard << "5" << 5 << 9.0 << 0;
        QTest::newRow("Son 1") << Keys::Son << "1" << 5 << 9.0 << 1;
        QTest::newRow("Son read by its leading digits") << Keys::Son << " 1 (oui)" << 5 << 9.0 << 1;
        QTest::newRow("Son not a number") << Keys::Son << "oui" << 5 << 9.0 << 0;
        QTest::newRow("Son beyond 16 bits") << Keys::Son << "99999999999999999999" << 5 << 9.0 << 0;
    }
    void storedValues()
    {
        QFETCH(QString, key);
        QFETCH(QString, stored);
        MainWindow w({{key, stored}});
        QTEST(int(w.state.NbCheques), "nbCheques");
        QCOMPARE(w.state.ChequesRestants, int(w.state.NbCheques));
        QTEST(w.state.MontantMax, "montantMax");
        QTEST(int(w.state.SonActif), "sonActif");
    }

    void storedPosition_data()
    {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::addColumn<bool>("centred");
        QTest::addColumn<QPoint>("expected");

        QTest::newRow("on screen") << "1500"
                                   << "750" << false << QPoint(100, 50);
        QTest::newRow("not numbers") << "gauche"
                                     << "" << false << QPoint(-3, -3);
        QTest::newRow("wholly off to the right") << "150000"
                                                 << "0" << true << QPoint();
        QTest::newRow("wholly off above") << "0"
                                          << "-90000" << true << QPoint();
        QTest::newRow("absurdly far") << "1e300"
                                      << "0" << false << QPoint(-3, 0);
    }
    void storedPosition()
    {
        QFETCH(QString, left);
        QFETCH(QString, top);
        QFETCH(bool, centred);
        QFETCH(QPoint, expected);
        QSettingsStore store;
        store.Write(Keys::AppPecunette, Keys::SectionPosition, Keys::MainLeft, left);
        store.Write(Keys::AppPecunette, Keys::SectionPosition, Keys::MainTop, top);
        MainWindow w;
        if (centred) {
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            QVERIFY(screen.contains(w.frm->frameGeometry().center(), false) ||
                    (w.frm->frameGeometry().center() - screen.center()).manhattanLength() <= 2);
        } else {
            QCOMPARE(w.frm->pos(), expected);
        }
    }

    void windowAfterStartUp()
    {
        MainWindow w;
        FrmMain &f = *w.frm;
        QCOMPARE(f.objectName(), QStringLiteral("frmMain"));
        QCOMPARE(f.windowTitle(), QStringLiteral("Pecunette - Ecole de Quelbrac"));
        QCOMPARE(f.centralWidget()->size(), QSize(627, 438));
        for (int i = 0; i < 29; ++i)
            QVERIFY2(!f.Nombre(i)->isVisible(), qPrintable(f.Nombre(i)->objectName()));
        QVERIFY(!f.Somme()->isVisible());
        QVERIFY(!f.Texte()->isVisible());
        QVERIFY(!f.Consigne()->isVisible());
        QVERIFY(!f.DebutMsg()->isVisible());
        QVERIFY(f.Nouveau()->isVisible());
        QVERIFY(f.Quitter()->isVisible());
        QCOMPARE(f.Quitter()->text(), QStringLiteral("&Quitter"));
        QCOMPARE(f.QuitterTag(), QStringLiteral("Quitter"));
        QCOMPARE(f.Message()->text(), QStringLiteral("Bonjour ..."));
        QCOMPARE(f.OrdreDe()->text(), QStringLiteral("Ecole de Quelbrac"));
        QCOMPARE(f.Ville()->text(), QStringLiteral("Quelbrac"));
        // The fake clock says Wednesday 9 December 2026; French whatever the machine's locale.
        QCOMPARE(f.ChequeDate()->text(), QStringLiteral("mer. 9 déc. 2026"));
        QVERIFY(f.TexteResultat()->text().isEmpty());
        // One amount was drawn while loading, kept hidden with Somme.
        QVERIFY(f.Somme()->text().endsWith(QStringLiteral(" Frs")));
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(f.Timer(i)->Interval(), 0);
            QVERIFY(f.Timer(i)->Enabled());
            QVERIFY(!f.Timer(i)->running());
        }
        QCOMPARE(w.rows(), 2);
        QVERIFY(!w.history().isVisible());
        QCOMPARE(f.statusBar()->objectName(), QStringLiteral("sbStatusBar"));
        QCOMPARE(f.sessionLine(), QStringLiteral("État"));
    }

    void layoutOfTheLabels_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::addColumn<QString>("family");
        QTest::addColumn<double>("points");
        QTest::addColumn<QColor>("color");

        QTest::newRow("Message") << "Message" << QRect(296, 22, 213, 53) << "Times New Roman" << 15.75
                                 << QColor(128, 0, 0);
        QTest::newRow("Consigne") << "Consigne" << QRect(4, 122, 133, 101) << "Liberation Sans" << 9.75
                                  << QColor(255, 128, 0);
        QTest::newRow("Somme") << "Somme" << QRect(434, 240, 77, 15) << "Times New Roman" << 9.75 << QColor(0, 0, 192);
        QTest::newRow("TexteResultat") << "TexteResultat" << QRect(138, 254, 373, 93) << "Arial" << 11.25
                                       << QColor(0, 0, 192);
        QTest::newRow("OrdreDe") << "OrdreDe" << QRect(222, 288, 289, 17) << "Arial" << 9.75 << QColor(128, 128, 255);
        QTest::newRow("Ville") << "Ville" << QRect(150, 322, 147, 17) << "Arial" << 9.75 << QColor(128, 128, 255);
        QTest::newRow("ChequeDate") << "ChequeDate" << QRect(328, 322, 105, 17) << "Arial" << 9.75
                                    << QColor(128, 128, 255);
        QTest::newRow("Texte") << "Texte" << QRect(136, 352, 279, 19) << "Liberation Sans" << 8.25
                               << QColor(255, 128, 0);
    }
    void layoutOfTheLabels()
    {
        QFETCH(QString, name);
        MainWindow w;
        auto *label = w.frm->findChild<FitLabel *>(name);
        QVERIFY(label);
        // Where the text is drawn: the wording line is larger than its text
        // box, so that it takes drops on the whole band of the amount.
        QTEST(label->contentsRect().translated(label->pos()), "geometry");
        QTEST(label->font().family(), "family");
        QTEST(label->font().pointSizeF(), "points");
        QTEST(label->textColor(), "color");
    }

    void wordBlocks()
    {
        MainWindow w;
        static constexpr int Columns[] = {138, 192, 246, 300, 354, 408};
        static constexpr int Rows[] = {140, 158, 176, 194, 212};
        QSet<QPoint> places;
        for (const WordBlock &block : WordBlocks) {
            WordBlockLabel *b = w.frm->Nombre(block.index);
            QCOMPARE(b->objectName(), QStringLiteral("Nombre(%1)").arg(block.index));
            QCOMPARE(b->text(), QString::fromUtf8(block.caption));
            QCOMPARE(b->property("Tag").toString(), QString::fromUtf8(block.tag));
            QCOMPARE(b->geometry(), QRect(Columns[block.column - 1], Rows[block.row - 1], 51, 15));
            QCOMPARE(b->palette().color(QPalette::Window), QColor(255, 255, 128));
            QVERIFY(b->font().bold());
            places.insert(b->pos());
        }
        QCOMPARE(places.size(), 29);
        QVERIFY(!places.contains(QPoint(408, 140)));  // the top cell of the last column stays empty
    }

    // No caption may be cut: the longest words still fit their block.
    void captionsFitTheirBoxes()
    {
        MainWindow w;
        for (const WordBlock &block : WordBlocks) {
            WordBlockLabel *b = w.frm->Nombre(block.index);
            QVERIFY2(b->drawnPointSize() >= 7.0, block.caption);
        }
    }

    void menus_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shortcut");

        QTest::newRow("mnuNouveau") << "mnuNouveau"
                                    << "&Nouveau"
                                    << "Ctrl+N";
        QTest::newRow("mnuEleve") << "mnuEleve"
                                  << "Nom de l'élèv&e"
                                  << "Ctrl+E";
        QTest::newRow("mnuProgression") << "mnuProgression"
                                        << "P&rogression de l'élève"
                                        << "Ctrl+R";
        QTest::newRow("mnuFileProperties") << "mnuFileProperties"
                                           << "&Paramètres"
                                           << "Ctrl+P";
        QTest::newRow("mnuLibelles") << "mnuLibelles"
                                     << "&Libellés"
                                     << "";
        QTest::newRow("mnuImprimer") << "mnuImprimer"
                                     << "&Imprimer des chèques..."
                                     << "";
        QTest::newRow("mnuClasse") << "mnuClasse"
                                   << "&Classe..."
                                   << "Ctrl+K";
        QTest::newRow("mnuFileExit") << "mnuFileExit"
                                     << "&Quitter"
                                     << "Ctrl+Q";
        QTest::newRow("mnuHelpContents") << "mnuHelpContents"
                                         << "&Sommaire"
                                         << "";
        QTest::newRow("mnuHelpSearch") << "mnuHelpSearch"
                                       << "A&ide sur..."
                                       << "";
        QTest::newRow("mnuHelpAbout") << "mnuHelpAbout"
                                      << "À &propos de Pecunette..."
                                      << "";
    }
    void menus()
    {
        QFETCH(QString, name);
        MainWindow w;
        QAction *action = w.frm->menuAction(name);
        QVERIFY(action);
        QTEST(action->text(), "text");
        QTEST(action->shortcut().toString(), "shortcut");
        QVERIFY(action->isEnabled());
        QVERIFY(action->isVisible());
    }

    void menuOrder()
    {
        MainWindow w;
        QStringList titles;
        for (QAction *a : w.frm->menuBar()->actions())
            titles << a->text();
        QCOMPARE(titles, QStringList({QStringLiteral("&Fichier"), QStringLiteral("&?")}));
        QStringList file;
        for (QAction *a : w.frm->menuBar()->actions().first()->menu()->actions())
            file << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        QCOMPARE(file, QStringList({"mnuNouveau", "mnuEleve", "mnuProgression", "mnuClasse", "-", "mnuFileProperties",
                                    "mnuLibelles", "mnuImprimer", "-", "mnuFileExit"}));
    }

    void statusBarPanels()
    {
        MainWindow w;
        auto *num = w.frm->statusBar()->findChild<QLabel *>(QStringLiteral("sbStatusBar.Panel2"));
        auto *maj = w.frm->statusBar()->findChild<QLabel *>(QStringLiteral("sbStatusBar.Panel3"));
        QVERIFY(num && maj);
        QCOMPARE(num->text(), QStringLiteral("NUM"));
        QCOMPARE(maj->text(), QStringLiteral("MAJ"));
        QCOMPARE(num->width(), 35);
        // The offscreen platform does not tell the lock keys: both stay dimmed.
        QVERIFY(!num->isEnabled());
        QVERIFY(!maj->isEnabled());
    }

    void amountDraw()
    {
        MainWindow w;
        QSet<int> seen;
        for (int i = 0; i < 2000; ++i) {
            const int amount = w.frm->TirageMontant();
            QVERIFY(amount >= 1 && amount <= 9);
            QCOMPARE(w.frm->Somme()->text(), QString::number(amount) + QStringLiteral(" Frs"));
            seen.insert(amount);
        }
        QCOMPARE(seen.size(), 9);
        w.state.MontantMax = 99999;
        for (int i = 0; i < 2000; ++i) {
            const int amount = w.frm->TirageMontant();
            QVERIFY(amount >= 1 && amount <= 99999);
        }
    }
};

QTEST_MAIN(TestFrmMainStartup)
#include "test_frm_main_startup.moc"
