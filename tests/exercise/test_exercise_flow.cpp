// Pecunette — apprendre à remplir un chèque.
// Cheques from start to mark, driven through the real window: clicks, drops
// on the wording line, timer ticks, the fake clock and answered prompts.
#include "main_window_fixture.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QPushButton>
#include <QRandomGenerator>
#include <QStyleHints>
#include <QTemporaryDir>
#include <QWindow>

#include "montant_en_lettres.h"

namespace {
const QColor Grey(128, 128, 128);
const QColor Blue(0, 0, 255);
}  // namespace

class TestExerciseFlow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    // --- A new cheque ---

    void newChequeFillsTheCheque()
    {
        MainWindow w;
        w.frm->Nouveau_Click();
        FrmMain &f = *w.frm;
        const QString somme = f.Somme()->text();
        QVERIFY(somme.endsWith(QStringLiteral(" Frs")));
        const int amount = somme.chopped(4).toInt();
        QVERIFY(amount >= 1 && amount <= 9);
        QCOMPARE(w.state.PhraseATrouver, QString::fromStdString(MontantEnLettres(amount)));
        QCOMPARE(f.Message()->text(), QStringLiteral("Fais un chèque de\n") + somme + QStringLiteral(" francs"));
        QCOMPARE(f.Message()->y(), 22);
        QCOMPARE(f.Message()->fontSize(), 18.0);
        QCOMPARE(f.OrdreDe()->text(), QStringLiteral("Tibaldor"));
        QCOMPARE(f.Ville()->text(), QStringLiteral("Sorbelin"));
        QVERIFY(f.TexteResultat()->text().isEmpty());
        QCOMPARE(f.Timer(2)->Interval(), 30000);
        QVERIFY(f.Timer(2)->running());
        QVERIFY(!f.Timer(0)->running() && !f.Timer(1)->running());
        for (int i = 0; i < 29; ++i) {
            QVERIFY(f.Nombre(i)->isVisible());
            QCOMPARE(f.Nombre(i)->textColor(), Grey);
            QVERIFY(!f.Nombre(i)->font().bold());
        }
        QCOMPARE(f.Quitter()->text(), QStringLiteral("Fin"));
        QCOMPARE(f.QuitterTag(), QStringLiteral("Fin"));
        QVERIFY(f.Consigne()->isVisible());
        QVERIFY(f.Somme()->isVisible());
        QVERIFY(!f.Nouveau()->isVisible());
        QVERIFY(!f.Texte()->isVisible());
        QCOMPARE(w.rows(), 3);
        QCOMPARE(w.lastEvent(), QStringLiteral("Début de l'exercice : ") + w.state.PhraseATrouver);
        QCOMPARE(w.lastRow().duration, QStringLiteral("00:00:00"));
        QVERIFY(w.lastRow().normal);
        QCOMPARE(w.state.HeureDebut.wall, w.services.clock.current);
    }

    void euros()
    {
        MainWindow w({{Keys::Temporisation, QStringLiteral("0")}});
        w.newCheque();
        QVERIFY(w.frm->Somme()->text().endsWith(QStringLiteral(" Frs")));
        // The choice applies from the next cheque.
        w.services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Monnaie, QStringLiteral("1"));
        QCOMPARE(w.frm->Nombre(26)->text(), QStringLiteral("francs"));
        w.frm->mnuNouveau_Click();
        FrmMain &f = *w.frm;
        const QString somme = f.Somme()->text();
        QVERIFY2(somme.endsWith(QStringLiteral(" €")), qPrintable(somme));
        QCOMPARE(f.Message()->text(), QStringLiteral("Fais un chèque de\n") + somme);
        QCOMPARE(w.state.PhraseATrouver,
                 QString::fromStdString(MontantEnLettres(somme.chopped(2).toInt(), Monnaie::Euro)));
        QCOMPARE(f.Nombre(26)->text(), QStringLiteral("euros"));
        QCOMPARE(f.Nombre(28)->text(), QStringLiteral("euro"));
        QCOMPARE(f.Nombre(28)->accessibleName(), QStringLiteral("euro"));
        w.state.PhraseATrouver = QStringLiteral("deux euros");
        w.drop(QStringLiteral("deux"));
        w.drop(QStringLiteral("euro"));
        w.drop(QStringLiteral("s"));
        QCOMPARE(f.TexteResultat()->text(), QStringLiteral("deux euros"));
        f.Timer_Timer(0);
        QCOMPARE(w.lastEvent(), QStringLiteral("L'élève n'a fait aucune erreur."));
        // Back to francs for the next cheque; an unknown value reads as francs.
        w.services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Monnaie, QStringLiteral("dollars"));
        f.Nouveau_Click();
        QVERIFY(f.Somme()->text().endsWith(QStringLiteral(" Frs")));
        QCOMPARE(f.Nombre(26)->text(), QStringLiteral("francs"));
    }

    void labelsAreReadAfreshForEachCheque()
    {
        MainWindow w;
        w.frm->Nouveau_Click();
        w.services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ordre,
                                  QStringLiteral("  Mme Roux "));
        w.services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ville, QString());
        QCOMPARE(w.frm->OrdreDe()->text(), QStringLiteral("Tibaldor"));  // the cheque on screen keeps its labels
        w.frm->mnuNouveau_Click();
        QCOMPARE(w.frm->OrdreDe()->text(), QStringLiteral("  Mme Roux "));
        QCOMPARE(w.frm->Ville()->text(), QString());
    }

    void countersOfAnAbandonedCheque()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("deux francs"));
        w.drop(QStringLiteral("deux"));
        w.drop(QStringLiteral("mille"));
        w.services.clock.advance(40);
        w.frm->Timer_Timer(2);  // a hint tick left over counts on the old cheque only
        QCOMPARE(w.state.ErreursCheque, 1);
        QCOMPARE(w.state.MotsJustes, 1.0);
        QCOMPARE(w.state.ErreursSerie, 0);
        const int rows = w.rows();
        w.frm->mnuNouveau_Click();
        QCOMPARE(w.state.ErreursCheque, 0);
        QCOMPARE(w.state.TicksAttente, 0);
        QCOMPARE(w.state.MotsJustes, 1.0);  // right drops stay counted in the series
        QCOMPARE(w.state.ErreursSerie, 1);  // and so do its errors, or starting again would lift the mark
        QCOMPARE(w.state.ChequesRestants, 5);
        QCOMPARE(w.event(rows), QStringLiteral("Chèque abandonné"));
        QVERIFY(!w.row(rows).normal);
        QVERIFY(w.frm->TexteResultat()->text().isEmpty());
        QCOMPARE(w.frm->Timer(2)->Interval(), 30000);
    }

    // --- Drops ---

    void workedExamples_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<QStringList>("wordings");

        QTest::newRow("quatre-vingt-dix")
            << "quatre-vingt-dix francs" << QStringList {"quatre", "vingt", "dix", "francs"}
            << QStringList {"quatre-", "quatre-vingt-", "quatre-vingt-dix", "quatre-vingt-dix francs"};
        QTest::newRow("deux cents, franc then s")
            << "deux cents francs" << QStringList {"deux", "cent", "s", "franc", "s"}
            << QStringList {"deux", "deux cent", "deux cents", "deux cents franc", "deux cents francs"};
        QTest::newRow("quatre-vingts") << "quatre-vingts francs" << QStringList {"quatre", "vingt", "s", "francs"}
                                       << QStringList {"quatre-", "quatre-vingt", "quatre-vingts",
                                                       "quatre-vingts francs"};
        QTest::newRow("dix-sept") << "dix-sept francs" << QStringList {"dix", "sept", "francs"}
                                  << QStringList {"dix-", "dix-sept", "dix-sept francs"};
        QTest::newRow("vingt et un") << "vingt et un francs" << QStringList {"vingt", "et", "un", "francs"}
                                     << QStringList {"vingt", "vingt et", "vingt et un", "vingt et un francs"};
    }
    void workedExamples()
    {
        QFETCH(QString, expected);
        QFETCH(QStringList, blocks);
        QFETCH(QStringList, wordings);
        MainWindow w;
        w.newCheque(expected);
        for (int i = 0; i < blocks.size(); ++i) {
            const int rowsBefore = w.rows();
            w.drop(blocks.at(i));
            QCOMPARE(w.frm->TexteResultat()->text(), wordings.at(i));
            QCOMPARE(w.rows(), rowsBefore + 1);  // one row per drop, none for the written hyphen
            QVERIFY(w.lastRow().normal);
            QVERIFY(wordings.at(i).startsWith(w.lastEvent()));
            QCOMPARE(w.state.MotsJustes, double(i + 1));
        }
        QCOMPARE(w.state.ErreursCheque, 0);
    }

    void rightDrop()
    {
        MainWindow w({{Keys::Son, QStringLiteral("1")}});
        w.newCheque(QStringLiteral("dix-sept francs"));
        w.services.clock.advance(65);
        w.drop(QStringLiteral("dix"));
        FrmMain &f = *w.frm;
        QCOMPARE(w.lastEvent(), QStringLiteral("dix"));  // the candidate, without the hyphen
        QCOMPARE(w.lastRow().duration, QStringLiteral("00:01:05"));
        QCOMPARE(f.TexteResultat()->text(), QStringLiteral("dix-"));
        QCOMPARE(f.Message()->text(), QStringLiteral("C'est exact!"));
        QCOMPARE(f.Message()->y(), 30);
        QCOMPARE(f.Message()->fontSize(), 22.0);
        QVERIFY(w.timerStopped(2));
        QCOMPARE(f.Timer(0)->Interval(), 1000);
        QVERIFY(f.Timer(0)->running());
        QCOMPARE(w.services.sound.played.size(), 1);
        QVERIFY(w.services.sound.played.first().endsWith(QStringLiteral("son2.wav")));
    }

    void wrongDrop()
    {
        MainWindow w({{Keys::Son, QStringLiteral("1")}});
        w.newCheque(QStringLiteral("deux cents francs"));
        w.drop(QStringLiteral("deux"));
        w.services.clock.advance(12);
        w.drop(QStringLiteral("mille"));
        FrmMain &f = *w.frm;
        QCOMPARE(w.lastEvent(), QStringLiteral("deux mille"));
        QVERIFY(!w.lastRow().normal);
        QCOMPARE(w.lastRow().duration, QStringLiteral("00:00:12"));
        QCOMPARE(f.TexteResultat()->text(), QStringLiteral("deux"));
        QCOMPARE(w.state.ErreursCheque, 1);
        QCOMPARE(w.state.MotsJustes, 1.0);
        QCOMPARE(f.Message()->text(), QStringLiteral("Incorrect!"));
        QCOMPARE(f.Message()->y(), 30);
        QCOMPARE(f.Timer(1)->Interval(), 1000);
        QVERIFY(f.Timer(1)->running());
        QVERIFY(w.timerStopped(2));
        QVERIFY(w.services.sound.played.last().endsWith(QStringLiteral("incorrect.mp3")));
        f.Timer_Timer(1);
        QCOMPARE(f.Message()->text(), QStringLiteral("Essaie encore!"));
        QCOMPARE(f.Message()->fontSize(), 22.0);
        QVERIFY(w.timerStopped(1));
        QVERIFY(w.timerStopped(2));  // the hint does not come back after a drop
    }

    // "Incorrect!" keeps whatever size the bubble had.
    void wrongDropFontSize_data()
    {
        QTest::addColumn<int>("before");  // 0: first drop; 1: after the hint; 2: after an answered drop
        QTest::addColumn<double>("points");
        QTest::newRow("first drop of the cheque") << 0 << 18.0;
        QTest::newRow("after the hint") << 1 << 15.0;
        QTest::newRow("after an earlier drop") << 2 << 22.0;
    }
    void wrongDropFontSize()
    {
        QFETCH(int, before);
        MainWindow w({{Keys::Temporisation, QStringLiteral("0")}});
        w.newCheque(QStringLiteral("deux francs"));
        if (before == 1)
            w.frm->Timer_Timer(2);
        if (before == 2)
            w.drop(QStringLiteral("deux"));
        w.drop(QStringLiteral("milliard"));
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("Incorrect!"));
        QTEST(w.frm->Message()->fontSize(), "points");
    }

    void dropsThatAreAlwaysWrongOrDeadEnds_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QStringList>("blocks");
        QTest::addColumn<bool>("lastRight");
        QTest::addColumn<QString>("wording");

        QTest::newRow("a lone s after deux") << "deux cents francs" << QStringList {"deux", "s"} << false << "deux";
        // The start of a longer word is refused: praising it would leave the pupil stuck.
        QTest::newRow("cinq begins cinquante") << "cinquante francs" << QStringList {"cinq"} << false << "";
        QTest::newRow("s begins six") << "six francs" << QStringList {"s"} << false << "";
        QTest::newRow("s after a written hyphen")
            << "quatre-vingt-six francs" << QStringList {"quatre", "vingt", "s"} << false << "quatre-vingt-";
        QTest::newRow("quatre begins quatorze") << "quatorze francs" << QStringList {"quatre"} << false << "";
    }
    void dropsThatAreAlwaysWrongOrDeadEnds()
    {
        QFETCH(QString, expected);
        QFETCH(QStringList, blocks);
        QFETCH(bool, lastRight);
        MainWindow w;
        w.newCheque(expected);
        for (const QString &block : blocks)
            w.drop(block);
        QCOMPARE(w.lastRow().normal, lastRight);
        QTEST(w.frm->TexteResultat()->text(), "wording");
        QCOMPARE(w.state.ChequesRestants, 5);
    }

    void dropElsewhereDoesNothing()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("deux francs"));
        const int rows = w.rows();
        w.drop(QStringLiteral("deux"), w.frm->OrdreDe());
        w.drop(QStringLiteral("deux"), w.frm->Message());
        QCOMPARE(w.rows(), rows);
        QVERIFY(w.frm->TexteResultat()->text().isEmpty());
        QVERIFY(w.frm->Timer(2)->running());
    }

    // A drag ending at `at` (the cheque picture's coordinates) as the window
    // system delivers it: to the window, which finds the widget under it.
    static bool dragAndDropAt(MainWindow &w, const QString &caption, QPoint at)
    {
        QWindow *window = w.frm->windowHandle();
        const QPoint inWindow = w.frm->centralWidget()->mapTo(w.frm, at);
        QMimeData mime;
        mime.setData(WordBlockLabel::mimeType(), QByteArray::number(MainWindow::blockIndex(caption)));
        QDragEnterEvent enter(inWindow, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &enter);
        QDragMoveEvent move(inWindow, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &move);
        if (!move.isAccepted()) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(window, &leave);
            return false;
        }
        QDropEvent dropped(QPointF(inWindow), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &dropped);
        return true;
    }

    void dropZone_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<bool>("taken");
        // The band of the amount: its first line beside "PAYEZ CONTRE CE
        // CHEQUE :", then the two full lines, corner to corner.
        QTest::newRow("first line, top left") << QPoint(138, 243) << true;
        QTest::newRow("first line, on its rule") << QPoint(300, 251) << true;
        QTest::newRow("first line, before the figures") << QPoint(430, 247) << true;
        QTest::newRow("on the caption") << QPoint(180, 246) << true;
        QTest::newRow("first line, bottom") << QPoint(252, 253) << true;
        QTest::newRow("under the figures") << QPoint(480, 257) << true;
        QTest::newRow("second line, right end") << QPoint(511, 270) << true;
        QTest::newRow("third line, bottom left") << QPoint(138, 288) << true;
        QTest::newRow("under the band") << QPoint(180, 289) << false;
        QTest::newRow("third line, bottom right") << QPoint(511, 287) << true;
        // Everywhere else on the cheque and around it.
        QTest::newRow("above the band") << QPoint(300, 242) << false;
        QTest::newRow("left of the band") << QPoint(137, 260) << false;
        QTest::newRow("right of the band") << QPoint(512, 270) << false;
        QTest::newRow("amount in figures") << QPoint(450, 247) << false;
        QTest::newRow("figures box's edge") << QPoint(431, 256) << false;
        QTest::newRow("payee's caption") << QPoint(160, 295) << false;
        QTest::newRow("payee's line") << QPoint(300, 300) << false;
        QTest::newRow("between payee and city") << QPoint(300, 315) << false;
        QTest::newRow("city's line") << QPoint(200, 330) << false;
        QTest::newRow("under the city") << QPoint(200, 345) << false;
        QTest::newRow("the clerk") << QPoint(580, 200) << false;
    }
    void dropZone()
    {
        QFETCH(QPoint, at);
        QFETCH(bool, taken);
        MainWindow w;
        w.newCheque(QStringLiteral("deux francs"));
        const int rows = w.rows();
        QCOMPARE(dragAndDropAt(w, QStringLiteral("deux"), at), taken);
        QCOMPARE(w.frm->TexteResultat()->text(), taken ? QStringLiteral("deux") : QString());
        QCOMPARE(w.rows(), taken ? rows + 1 : rows);
    }

    // The longest wordings are drawn inside the band: a pupil may drop a block
    // on the words already written, to the end of the last one.
    void theWrittenWordingLiesInTheBand_data()
    {
        QTest::addColumn<QString>("wording");
        QTest::newRow("francs") << QStringLiteral(
            "neuf cent quatre-vingt-dix-neuf mille neuf cent quatre-vingt-dix-sept francs");
        QTest::newRow("euros") << QStringLiteral(
            "neuf cent quatre-vingt-dix-sept mille sept cent quatre-vingt-dix-neuf euros");
    }
    void theWrittenWordingLiesInTheBand()
    {
        QFETCH(QString, wording);
        MainWindow w;
        DropLabel *line = w.frm->TexteResultat();
        line->setText(wording);
        QFont f = line->font();
        f.setPointSizeF(line->drawnPointSize());
        const QRect drawn = QFontMetrics(f).boundingRect(line->contentsRect(),
                                                         Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, wording);
        QVERIFY2(line->dropArea().contains(drawn.topLeft()) && line->dropArea().contains(drawn.bottomRight()) &&
                     line->dropArea().contains(drawn.bottomLeft()),
                 qPrintable(QStringLiteral("text drawn over %1,%2 %3x%4")
                                .arg(drawn.x())
                                .arg(drawn.y())
                                .arg(drawn.width())
                                .arg(drawn.height())));
    }

    // A double-click, Enter or Space on a block places it exactly as a drop does.
    void placingWithoutDragging()
    {
        MainWindow w({{Keys::Son, QStringLiteral("1")}});
        w.newCheque(QStringLiteral("quatre-vingt-deux francs"));
        WordBlockLabel *quatre = w.frm->Nombre(MainWindow::blockIndex(QStringLiteral("quatre")));
        QTest::mouseDClick(quatre, Qt::LeftButton);
        QCOMPARE(w.frm->TexteResultat()->text(), QStringLiteral("quatre-"));
        QCOMPARE(w.lastEvent(), QStringLiteral("quatre"));
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("C'est exact!"));
        QVERIFY(w.frm->Timer(0)->running());
        QTest::keyClick(w.frm->Nombre(MainWindow::blockIndex(QStringLiteral("vingt"))), Qt::Key_Return);
        QCOMPARE(w.frm->TexteResultat()->text(), QStringLiteral("quatre-vingt-"));
        QTest::keyClick(w.frm->Nombre(MainWindow::blockIndex(QStringLiteral("trois"))), Qt::Key_Space);
        QCOMPARE(w.lastEvent(), QStringLiteral("quatre-vingt-trois"));
        QVERIFY(!w.lastRow().normal);
        QCOMPARE(w.state.ErreursCheque, 1);
        QCOMPARE(w.state.MotsJustes, 2.0);
        QCOMPARE(w.services.sound.played.size(), 3);
        // A single click is not a placing.
        QTest::mouseClick(w.frm->Nombre(MainWindow::blockIndex(QStringLiteral("deux"))), Qt::LeftButton);
        QCOMPARE(w.frm->TexteResultat()->text(), QStringLiteral("quatre-vingt-"));
    }

    void enterOnTheFocusedNouveauStartsACheque()
    {
        MainWindow w;
        w.frm->Nouveau()->setFocus();
        QTest::keyClick(w.frm->Nouveau(), Qt::Key_Return);
        QCOMPARE(w.frm->QuitterTag(), QStringLiteral("Fin"));
        QVERIFY(w.lastEvent().startsWith(QStringLiteral("Début de l'exercice : ")));
    }

    // The keyboard's frame belongs to the cheque it was used on: on a fresh
    // cheque it would read as a hint, until the keyboard is used again.
    void focusFrameDoesNotStayIntoTheNextCheque_data()
    {
        QTest::addColumn<bool>("byKeyboard");  // Nouveau pressed with the keyboard, or from the menu
        QTest::newRow("Nouveau with the keyboard") << true;
        QTest::newRow("Ctrl+N") << false;
    }
    void focusFrameDoesNotStayIntoTheNextCheque()
    {
        QFETCH(bool, byKeyboard);
        MainWindow w;
        w.frm->activateWindow();
        QCoreApplication::processEvents();
        w.newCheque(QStringLiteral("deux francs"));
        WordBlockLabel *deux = w.frm->Nombre(MainWindow::blockIndex(QStringLiteral("deux")));
        WordBlockLabel *francs = w.frm->Nombre(MainWindow::blockIndex(QStringLiteral("francs")));
        deux->setFocus(Qt::TabFocusReason);
        QVERIFY(deux->showsFocusFrame());
        QTest::keyClick(deux, Qt::Key_Return);
        w.frm->Timer_Timer(0);
        francs->setFocus(Qt::TabFocusReason);
        QTest::keyClick(francs, Qt::Key_Space);
        w.frm->Timer_Timer(0);
        QVERIFY(w.frm->Nouveau()->isVisible());
        if (byKeyboard) {
            w.frm->Nouveau()->setFocus(Qt::TabFocusReason);
            QTest::keyClick(w.frm->Nouveau(), Qt::Key_Space);
        } else {
            w.frm->menuAction(QStringLiteral("mnuNouveau"))->trigger();
        }
        QCOMPARE(w.frm->QuitterTag(), QStringLiteral("Fin"));
        for (int i = 0; i < 29; ++i)
            QVERIFY2(!w.frm->Nombre(i)->showsFocusFrame(), qPrintable(w.frm->Nombre(i)->objectName()));
        // The next key on a focused block shows the frame again.
        if (auto *block = qobject_cast<WordBlockLabel *>(QApplication::focusWidget())) {
            QTest::keyClick(block, Qt::Key_Shift);
            QVERIFY(block->showsFocusFrame());
        }
    }

    void blocksInTheTabOrderRowByRow()
    {
        MainWindow w;
        w.newCheque();
        QStringList order;
        QWidget *widget = w.frm->Nombre(1);  // "un", first row, first column
        for (int i = 0; i < 30; ++i) {
            order << widget->objectName();
            widget = widget->nextInFocusChain();
            while (widget->focusPolicy() == Qt::NoFocus || !widget->isVisible())
                widget = widget->nextInFocusChain();
        }
        QCOMPARE(order.mid(0, 6),
                 QStringList({"Nombre(1)", "Nombre(6)", "Nombre(11)", "Nombre(16)", "Nombre(21)", "Nombre(2)"}));
        // "Nouveau" is hidden during a cheque: from the last block the keyboard goes to "Fin".
        QCOMPARE(order.mid(28), QStringList({"Nombre(26)", "Quitter"}));
        for (const WordBlock &block : WordBlocks)
            QCOMPARE(w.frm->Nombre(block.index)->accessibleName(), QString::fromUtf8(block.caption));
    }

    // --- The one-second check and the end of a cheque ---

    void continueAfterAnIncompleteWording()
    {
        MainWindow w({{Keys::Temporisation, QStringLiteral("0")}});
        w.newCheque(QStringLiteral("vingt-deux francs"));
        w.frm->Timer_Timer(2);  // the hint lights "vingt"
        w.drop(QStringLiteral("vingt"));
        w.drop(QStringLiteral("deux"));  // two drops within a second: one check follows
        w.frm->Timer_Timer(0);
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("Continue!"));
        QCOMPARE(w.frm->Message()->y(), 30);
        QCOMPARE(w.frm->Message()->fontSize(), 22.0);
        for (int i = 0; i < 29; ++i) {
            QCOMPARE(w.frm->Nombre(i)->textColor(), Grey);
            QVERIFY(!w.frm->Nombre(i)->font().bold());
        }
        for (int i = 0; i < 4; ++i)
            QVERIFY(!w.frm->Timer(i)->running());
    }

    void endOfCheque_data()
    {
        QTest::addColumn<int>("errors");
        QTest::addColumn<int>("top");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("row");
        QTest::addColumn<bool>("normal");

        QTest::newRow("no error") << 0 << 20 << "Tu n'as fait\naucune erreur!!!"
                                  << "L'élève n'a fait aucune erreur." << true;
        QTest::newRow("one error") << 1 << 30 << "Tu as fait une erreur."
                                   << "L'élève a fait une erreur." << false;
        QTest::newRow("three errors") << 3 << 30 << "Tu as fait 3 erreurs."
                                      << "L'élève a fait 3 erreurs." << false;
    }
    void endOfCheque()
    {
        QFETCH(int, errors);
        MainWindow w({{Keys::Son, QStringLiteral("1")}});
        w.newCheque(QStringLiteral("deux francs"));
        for (int i = 0; i < errors; ++i)
            w.drop(QStringLiteral("milliard"));
        w.drop(QStringLiteral("deux"));
        w.drop(QStringLiteral("francs"));
        w.frm->Timer_Timer(0);
        FrmMain &f = *w.frm;
        QTEST(f.Message()->text(), "message");
        QTEST(f.Message()->y(), "top");
        QCOMPARE(f.Message()->fontSize(), 18.0);
        QTEST(w.lastEvent(), "row");
        QTEST(w.lastRow().normal, "normal");
        QVERIFY(w.services.sound.played.last().endsWith(QStringLiteral("bravo.mp3")));
        QCOMPARE(w.state.ChequesRestants, 4);
        QCOMPARE(w.state.ErreursSerie, errors);
        QVERIFY(f.Nouveau()->isVisible() && f.Nouveau()->isEnabled());
        QCOMPARE(f.Texte()->text(), QStringLiteral("Clique sur le bouton 'NOUVEAU' pour continuer."));
        QVERIFY(f.Texte()->isVisible());
        for (int i = 0; i < 4; ++i)
            QVERIFY(w.timerStopped(i));
        // Later drops are ignored: the result stays, no error, no row.
        const int rows = w.rows();
        w.drop(QStringLiteral("s"));
        w.drop(QStringLiteral("deux"));
        QCOMPARE(w.rows(), rows);
        QTEST(f.Message()->text(), "message");
        QCOMPARE(w.state.ErreursCheque, errors);
        QCOMPARE(w.state.ChequesRestants, 4);
    }

    // In the second between the drop that completes the wording and its
    // check, another drop neither counts nor replaces what the clerk says.
    void dropOnACompleteWordingIsIgnored()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("un franc"));
        w.drop(QStringLiteral("un"));
        w.drop(QStringLiteral("franc"));
        const int rows = w.rows();
        for (const char *block : {"s", "un", "francs"})
            w.drop(QString::fromLatin1(block));
        QCOMPARE(w.rows(), rows);
        QCOMPARE(w.state.ErreursCheque, 0);
        QCOMPARE(w.state.MotsJustes, 2.0);
        QCOMPARE(w.frm->TexteResultat()->text(), QStringLiteral("un franc"));
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("C'est exact!"));
        QVERIFY(!w.frm->Timer(1)->running());
        w.frm->Timer_Timer(0);
        QCOMPARE(w.lastEvent(), QStringLiteral("L'élève n'a fait aucune erreur."));
    }

    // --- The hint ---

    void hintDelay_data()
    {
        QTest::addColumn<QString>("stored");  // empty: nothing stored
        QTest::addColumn<int>("tick");
        QTest::newRow("30 secondes") << "0" << 1;
        QTest::newRow("90 secondes") << "2" << 3;
        QTest::newRow("nothing stored: 120 secondes") << "" << 4;
        QTest::newRow("not a number: 120 secondes") << "bientôt" << 4;
        QTest::newRow("out of the list: 120 secondes") << "9" << 4;
    }
    void hintDelay()
    {
        QFETCH(QString, stored);
        QFETCH(int, tick);
        MainWindow w(stored.isEmpty() ? QList<QPair<QString, QString>> {}
                                      : QList<QPair<QString, QString>> {{Keys::Temporisation, stored}});
        w.newCheque(QStringLiteral("deux cent trois francs"));
        for (int i = 1; i < tick; ++i) {
            w.frm->Timer_Timer(2);
            QVERIFY(w.frm->Timer(2)->running());
            QCOMPARE(w.frm->Nombre(2)->textColor(), Grey);
        }
        w.frm->Timer_Timer(2);
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("Regarde bien\nle mot en BLEU."));
        QCOMPARE(w.frm->Message()->y(), 22);
        QCOMPARE(w.frm->Message()->fontSize(), 15.0);
        QCOMPARE(w.frm->Nombre(2)->textColor(), Blue);  // "deux"
        QVERIFY(w.frm->Nombre(2)->font().bold());
        QVERIFY(w.timerStopped(2));
        QCOMPARE(w.lastEvent(), QStringLiteral("Affichage du mot 'deux' en bleu"));
        QVERIFY(!w.lastRow().normal);
    }

    void hintDelayChangedDuringTheCheque()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("deux francs"));
        w.frm->Timer_Timer(2);
        w.services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Temporisation, QStringLiteral("1"));
        w.frm->Timer_Timer(2);
        QCOMPARE(w.frm->Nombre(2)->textColor(), Blue);
    }

    // The hint lights the block to drop next on this cheque, whatever came before.
    void hintWord_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("word");
        QTest::newRow("compound: its first block") << "vingt-deux francs"
                                                   << "vingt";
        QTest::newRow("longest caption") << "cinquante francs"
                                         << "cinquante";
        QTest::newRow("seize, not six") << "seize francs"
                                        << "seize";
        QTest::newRow("quatre-vingts") << "quatre-vingts francs"
                                       << "quatre";
    }
    void hintWord()
    {
        QFETCH(QString, expected);
        QFETCH(QString, word);
        MainWindow w({{Keys::Temporisation, QStringLiteral("0")}});
        // A first cheque done, so the series has right drops behind it.
        w.newCheque(QStringLiteral("trois francs"));
        w.completeCheque();
        w.newCheque(expected);
        w.frm->Timer_Timer(2);
        const int index = MainWindow::blockIndex(word);
        QCOMPARE(w.frm->Nombre(index)->textColor(), Blue);
        QCOMPARE(w.lastEvent(), QStringLiteral("Affichage du mot '%1' en bleu").arg(word));
        int blue = 0;
        for (int i = 0; i < 29; ++i)
            blue += w.frm->Nombre(i)->textColor() == Blue ? 1 : 0;
        QCOMPARE(blue, 1);
        // The end-of-cheque check greys it again.
        w.drop(word);
        w.frm->Timer_Timer(0);
        QCOMPARE(w.frm->Nombre(index)->textColor(), Grey);
    }

    void noHintAfterADrop()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("deux francs"));
        w.services.clock.advance(100);
        w.drop(QStringLiteral("trois"));
        QVERIFY(w.timerStopped(2));
        w.frm->Timer_Timer(1);
        QVERIFY(w.timerStopped(2));
    }

    // --- A whole series ---

    void seriesOfFiveWithErrors()
    {
        MainWindow w({{Keys::Son, QStringLiteral("1")}});
        const QList<int> errors {1, 0, 2, 0, 1};
        const int start = w.rows();
        QDateTime seriesStart;
        QStringList expectedRows;
        for (int cheque = 0; cheque < errors.size(); ++cheque) {
            w.services.clock.advance(7);
            w.frm->Nouveau_Click();
            if (cheque == 0)
                seriesStart = w.services.clock.current;
            expectedRows << QStringLiteral("Début de l'exercice : ") + w.state.PhraseATrouver;
            for (int e = 0; e < errors.at(cheque); ++e) {
                w.services.clock.advance(2);
                w.drop(QStringLiteral("milliard"));
                expectedRows << QStringLiteral("milliard");
                w.frm->Timer_Timer(1);
            }
            // Amounts 1 to 9: a digit word, then "franc" or "francs".
            const QString words = w.state.PhraseATrouver;
            QCOMPARE(w.completeCheque(), 2);
            const QStringList parts = words.split(QLatin1Char(' '));
            expectedRows << parts.first() << words;
            expectedRows << (errors.at(cheque) == 0   ? QStringLiteral("L'élève n'a fait aucune erreur.")
                             : errors.at(cheque) == 1 ? QStringLiteral("L'élève a fait une erreur.")
                                                      : QStringLiteral("L'élève a fait 2 erreurs."));
            if (cheque < errors.size() - 1) {
                QVERIFY(w.frm->Nouveau()->isVisible());
                QCOMPARE(w.state.ChequesRestants, 4 - cheque);
            }
        }
        expectedRows << QStringLiteral("Note de la série : 19,20 / 20") << QStringLiteral("Durée totale");
        QCOMPARE(w.rows() - start, expectedRows.size());
        for (int i = 0; i < expectedRows.size(); ++i) {
            const HistoryRow row = w.row(start + i);
            QCOMPARE(row.event, expectedRows.at(i));
            QCOMPARE(row.number, QString::number(start + i));
            const bool red =
                row.event == QStringLiteral("milliard") || row.event.startsWith(QStringLiteral("L'élève a fait"));
            QCOMPARE(row.normal, !red);
        }
        // E = 4, M = 10: P = 4 / 20 * 4 = 0.8.
        QCOMPARE(w.state.ErreursSerie, 4);
        QCOMPARE(w.state.MotsJustes, 10.0);
        QCOMPARE(w.state.ChequesRestants, 0);
        FrmMain &f = *w.frm;
        QCOMPARE(f.Message()->text(), QStringLiteral("Ta note est 19,20/20"));
        QCOMPARE(f.Message()->y(), 30);
        QCOMPARE(f.Message()->fontSize(), 22.0);
        QCOMPARE(f.Texte()->text(), QStringLiteral("Clique sur le bouton 'QUITTER' pour continuer."));
        QVERIFY(f.Texte()->isVisible());
        QVERIFY(!f.Nouveau()->isVisible() && !f.Nouveau()->isEnabled());
        QCOMPARE(f.QuitterTag(), QStringLiteral("Fin"));
        for (int i = 0; i < 4; ++i)
            QVERIFY(w.timerStopped(i));
        QVERIFY(w.services.sound.played.last().endsWith(QStringLiteral("cgagne.mp3")));
        // The total runs from the first cheque's start to the end of the series.
        const qint64 seconds = seriesStart.secsTo(w.services.clock.current);
        QCOMPARE(w.lastRow().duration, QString::fromStdString(FormatDuree(seconds * 1000)));
        QVERIFY(seconds > 30);
        QCOMPARE(w.state.HeureCourante.wall, w.services.clock.current);

        // The next cheque opens a new series, so the next pupil gets a mark of their own.
        f.Quitter_Click();  // "Fin"
        f.Nouveau_Click();
        QCOMPARE(w.state.ChequesRestants, 5);
        QCOMPARE(w.state.ErreursSerie, 0);
        QCOMPARE(w.state.MotsJustes, 0.0);
    }

    void markOfAFlawlessSeriesAndMidnight()
    {
        MainWindow w;
        w.services.clock.current = QDateTime(QDate(2026, 12, 9), QTime(23, 58, 30));
        for (int cheque = 0; cheque < 5; ++cheque) {
            w.newCheque(QStringLiteral("un franc"));
            w.completeCheque();
            w.services.clock.advance(40);
        }
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("Ta note est 20/20"));
        // Started at 23:58:30, over at 00:01:40 the next day: 6 s of drops per cheque, 40 s between.
        QCOMPARE(w.lastEvent(), QStringLiteral("Durée totale"));
        QCOMPARE(w.lastRow().duration, QStringLiteral("00:03:10"));
    }

    // The wall clock may be moved while a pupil plays: set back by hand, a change
    // to or from summer time, a network time jump. The rows keep showing the
    // wall-clock time, but every duration is the time that really passed.
    void durationsIgnoreAClockThatMoves_data()
    {
        QTest::addColumn<qint64>("jumpSeconds");
        QTest::newRow("set back an hour") << qint64(-3600);
        QTest::newRow("summer time, forward an hour") << qint64(3600);
        QTest::newRow("set back a day and a minute") << qint64(-86460);
        QTest::newRow("a network time jump of 10 s") << qint64(10);
    }

    void durationsIgnoreAClockThatMoves()
    {
        QFETCH(qint64, jumpSeconds);
        MainWindow w;
        w.newCheque(QStringLiteral("un franc"));
        w.services.clock.advance(7);
        w.drop(QStringLiteral("un"));
        w.services.clock.current = w.services.clock.current.addSecs(jumpSeconds);
        w.services.clock.advance(5);
        w.drop(QStringLiteral("franc"));
        QCOMPARE(w.lastEvent(), QStringLiteral("un franc"));
        QCOMPARE(w.lastRow().duration, QStringLiteral("00:00:05"));
        QCOMPARE(w.lastRow().moment.right(8), w.services.clock.current.time().toString(u"HH:mm:ss"));
        w.frm->Timer_Timer(0);
        for (int cheque = 1; cheque < 5; ++cheque) {
            w.services.clock.advance(20);
            w.newCheque(QStringLiteral("un franc"));
            w.completeCheque();
        }
        QCOMPARE(w.lastEvent(), QStringLiteral("Durée totale"));
        // 12 s on the first cheque, then 20 s of waiting and 6 s of drops for each of the other four.
        QCOMPARE(w.lastRow().duration, QStringLiteral("00:01:56"));
    }

    // A series left open over a night and a day shows all its hours.
    void aSeriesLongerThanADayShowsItsHours()
    {
        MainWindow w;
        for (int cheque = 0; cheque < 5; ++cheque) {
            w.newCheque(QStringLiteral("un franc"));
            w.completeCheque();
            if (cheque == 2)
                w.services.clock.advance(25 * 3600);
        }
        QCOMPARE(w.lastEvent(), QStringLiteral("Durée totale"));
        QCOMPARE(w.lastRow().duration, QStringLiteral("25:00:30"));
    }

    // The teacher reads a series' time off the history: each row's duration is
    // the time between its moment and the moment it counts from, and the
    // durations plus the waits before each cheque make the series' total.
    // Drops come at any millisecond, so rounding one way for the durations and
    // another for the times would show.
    void rowsOfASeriesAddUpToItsTotal()
    {
        QRandomGenerator random(20261210);
        MainWindow w;
        w.services.clock.advanceMs(random.bounded(1000));
        auto secondsOf = [](const QString &hhmmss) {
            const QTime t = QTime::fromString(hhmmss, QStringLiteral("HH:mm:ss"));
            return t.isValid() ? t.msecsSinceStartOfDay() / 1000 : -1;
        };
        auto momentOf = [&w](int gridRow) {
            return QDateTime::fromString(w.row(gridRow).moment, QStringLiteral("dd/MM/yyyy HH:mm:ss"));
        };
        for (int series = 0; series < 150; ++series) {
            const int first = w.rows();
            const int cheques = w.state.NbCheques;
            for (int cheque = 0; cheque < cheques; ++cheque) {
                w.services.clock.advanceMs(random.bounded(3) == 0 ? 0 : random.bounded(20'000));
                w.frm->Nouveau_Click();
                for (;;) {
                    const QString next = QString::fromStdString(
                        NextHintWord(w.state.PhraseATrouver.toStdString(), w.frm->TexteResultat()->text().toStdString(),
                                     w.frm->monnaie()));
                    if (next.isEmpty())
                        break;
                    w.services.clock.advanceMs(random.bounded(4000));
                    if (random.bounded(4) == 0) {
                        w.drop(QStringLiteral("milliard"));
                        w.frm->Timer_Timer(1);
                        continue;
                    }
                    w.drop(next);
                    w.services.clock.advanceMs(random.bounded(1500));
                    w.frm->Timer_Timer(0);
                }
            }
            QCOMPARE(w.lastEvent(), QStringLiteral("Durée totale"));
            const int total = secondsOf(w.lastRow().duration);
            int sum = 0;
            for (int r = first; r < w.rows() - 1; ++r) {
                if (w.row(r).duration.isEmpty())
                    continue;  // the series' mark measures no time
                const bool opensCheque = w.event(r).startsWith(QStringLiteral("Début de l'exercice : "));
                const int duration = secondsOf(w.row(r).duration);
                if (!opensCheque) {
                    QVERIFY2(duration == momentOf(r - 1).secsTo(momentOf(r)),
                             qPrintable(QStringLiteral("series %1, row %2").arg(series).arg(r)));
                } else if (r > first) {
                    sum += int(momentOf(r - 1).secsTo(momentOf(r)));  // the wait for "Nouveau"
                }
                sum += duration;
            }
            QVERIFY2(sum == total,
                     qPrintable(
                         QStringLiteral("series %1: rows add up to %2 s, total %3 s").arg(series).arg(sum).arg(total)));
            w.frm->Quitter_Click();  // "Fin": the next cheque opens a new series
        }
    }

    void seriesLengthChangedMidway()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("un franc"));
        w.completeCheque();
        // What the parameters dialog does when "10 chèques" is chosen.
        w.state.NbCheques = 10;
        w.state.ChequesRestants = 10;
        w.newCheque(QStringLiteral("un franc"));
        w.completeCheque();
        QCOMPARE(w.state.ChequesRestants, 9);
        QVERIFY(w.frm->Nouveau()->isVisible());
    }

    // --- "Fin" and "Quitter" ---

    void finEndsTheSession()
    {
        MainWindow w;
        w.state.NomEleve = QStringLiteral("Martin");
        w.state.PrenomEleve = QStringLiteral("Léa");
        w.frm->setSessionLine(QStringLiteral("Session de Martin Léa."));
        w.newCheque(QStringLiteral("deux francs"));
        w.drop(QStringLiteral("deux"));
        w.frm->Quitter_Click();
        FrmMain &f = *w.frm;
        for (int i = 0; i < 29; ++i)
            QVERIFY(!f.Nombre(i)->isVisible());
        QVERIFY(!f.Texte()->isVisible() && !f.Somme()->isVisible() && !f.Consigne()->isVisible());
        QVERIFY(f.Nouveau()->isVisible() && f.Nouveau()->isEnabled());
        QCOMPARE(f.Message()->text(), QStringLiteral("Au revoir...\nLéa."));
        QCOMPARE(f.Message()->y(), 20);
        QCOMPARE(f.Message()->fontSize(), 18.0);
        QCOMPARE(f.Quitter()->text(), QStringLiteral("Quitter"));
        QCOMPARE(f.QuitterTag(), QStringLiteral("Quitter"));
        QVERIFY(w.state.NomEleve.isEmpty() && w.state.PrenomEleve.isEmpty());
        QCOMPARE(f.sessionLine(), QString());
        QCOMPARE(w.lastEvent(), QStringLiteral("Clique du bouton 'Fin'."));
        QVERIFY(w.lastRow().normal);
        QCOMPARE(w.state.MotsJustes, 1.0);
        // Nothing pending comes back over the goodbye: no answer to the last drop, no hint.
        for (int i = 0; i < 4; ++i)
            QVERIFY(w.timerStopped(i));
        for (int i = 0; i < 4; ++i)
            f.Timer_Timer(i);
        QCOMPARE(f.Message()->text(), QStringLiteral("Au revoir...\nLéa."));
        QCOMPARE(w.lastEvent(), QStringLiteral("Clique du bouton 'Fin'."));
    }

    void finEndsEveryTimer_data()
    {
        QTest::addColumn<QStringList>("blocks");  // dropped before "Fin", which comes within the second
        QTest::addColumn<QStringList>("rowsAfterFin");  // what "Fin" writes
        QTest::newRow("no drop: the hint is waiting") << QStringList() << QStringList {"Clique du bouton 'Fin'."};
        QTest::newRow("right drop: Continue! is waiting")
            << QStringList {"deux"} << QStringList {"Clique du bouton 'Fin'."};
        QTest::newRow("wrong drop: Essaie encore! is waiting")
            << QStringList {"trois"} << QStringList {"Clique du bouton 'Fin'."};
        // The cheque was complete: its result is written before the goodbye, never after it.
        QTest::newRow("last drop: the result is waiting")
            << QStringList {"deux", "francs"}
            << QStringList {"L'élève n'a fait aucune erreur.", "Clique du bouton 'Fin'."};
    }
    void finEndsEveryTimer()
    {
        QFETCH(QStringList, blocks);
        QFETCH(QStringList, rowsAfterFin);
        MainWindow w({{Keys::Temporisation, QStringLiteral("0")}});
        w.newCheque(QStringLiteral("deux francs"));
        for (const QString &block : blocks)
            w.drop(block);
        const int rows = w.rows();
        w.frm->Quitter_Click();  // "Fin"
        for (int i = 0; i < 4; ++i)
            QVERIFY(w.timerStopped(i));
        QStringList written;
        for (int row = rows; row < w.rows(); ++row)
            written << w.event(row);
        QCOMPARE(written, rowsAfterFin);
        // Even a tick already on its way is dropped, and the hidden blocks take no drop.
        for (int i = 0; i < 4; ++i)
            w.frm->Timer_Timer(i);
        w.frm->TexteResultat_DragDrop(MainWindow::blockIndex(QStringLiteral("deux")));
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("Au revoir...\n."));
        QCOMPARE(w.rows(), rows + rowsAfterFin.size());
    }

    // The last drop of a series, then "Fin" within the second: the mark is
    // written once, and the goodbye stays.
    void finRightAfterTheLastDropOfASeries()
    {
        MainWindow w;
        for (int cheque = 0; cheque < 4; ++cheque) {
            w.newCheque(QStringLiteral("un franc"));
            w.completeCheque();
        }
        w.newCheque(QStringLiteral("un franc"));
        w.drop(QStringLiteral("un"));
        w.frm->Timer_Timer(0);
        w.drop(QStringLiteral("franc"));
        w.frm->Quitter_Click();
        w.frm->Timer_Timer(0);
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("Au revoir...\n."));
        int marks = 0;
        for (int row = 1; row < w.rows(); ++row)
            marks += w.event(row).startsWith(QStringLiteral("Note de la série"));
        QCOMPARE(marks, 1);
        QCOMPARE(w.lastEvent(), QStringLiteral("Clique du bouton 'Fin'."));
    }

    void finWithNoPupil()
    {
        MainWindow w;
        w.newCheque();
        w.frm->Quitter_Click();
        QCOMPARE(w.frm->Message()->text(), QStringLiteral("Au revoir...\n."));
    }

    void quitterAsksFirst()
    {
        MainWindow w;
        w.services.settings.Write(Keys::AppPecunette, Keys::SectionPosition, Keys::MainLeft, QStringLiteral("777"));
        w.services.prompts.answers = {Prompts::Answer::Cancel, Prompts::Answer::Ok};
        w.frm->Quitter_Click();
        QCOMPARE(w.endedAtOnce, 0);
        QCOMPARE(w.services.prompts.shown.size(), 1);  // asked although the history is empty
        const FakePrompts::Shown &box = w.services.prompts.shown.first();
        QCOMPARE(box.title, QStringLiteral("Quitter ..."));
        QCOMPARE(box.text, QStringLiteral("L'historique des sessions contient les informations\n"
                                          "utiles pour l'analyse de la progression des élèves.\n"
                                          "Voulez-vous réellement quitter 'Pecunette' ?"));
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QVERIFY(box.question);
        w.frm->Quitter_Click();
        QCOMPARE(w.endedAtOnce, 1);
        // Ended at once: no unloading, so the position stays as stored.
        QCOMPARE(w.services.settings.Read(Keys::AppPecunette, Keys::SectionPosition, Keys::MainLeft, {}),
                 QStringLiteral("777"));
    }

    // The second half of a double-click lands on the button that "Fin" has just
    // turned into "Quitter"; the events come as a real mouse sends them.
    void doubleClickOnFinDoesNotAskToQuit()
    {
        MainWindow w;
        w.newCheque();
        QPushButton *button = w.frm->Quitter();
        const QPoint at = button->rect().center();
        const ulong start = 5'000'000;
        auto send = [&](QEvent::Type type, ulong ms) {
            QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            event.setTimestamp(ms);
            QApplication::sendEvent(button, &event);
        };
        send(QEvent::MouseButtonPress, start);
        send(QEvent::MouseButtonRelease, start + 70);
        QCOMPARE(w.frm->QuitterTag(), QStringLiteral("Quitter"));
        send(QEvent::MouseButtonPress, start + 180);
        send(QEvent::MouseButtonDblClick, start + 180);
        send(QEvent::MouseButtonRelease, start + 250);
        QVERIFY(w.services.prompts.shown.isEmpty());
        QCOMPARE(w.endedAtOnce, 0);

        // A click of its own, later, still asks.
        w.services.prompts.answers = {Prompts::Answer::Cancel};
        const ulong later = start + 250 + ulong(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        send(QEvent::MouseButtonPress, later);
        send(QEvent::MouseButtonRelease, later + 70);
        QCOMPARE(w.services.prompts.shown.size(), 1);
        QCOMPARE(w.endedAtOnce, 0);
    }

    // Rows not saved yet: the question offers to save them first, through the
    // history's own CSV writer, and only a saved file or a plain "quit" ends.
    void quitterOffersToSaveTheHistory_data()
    {
        QTest::addColumn<Prompts::Answer>("answer");
        QTest::addColumn<QString>("file");  // what the save dialog gives; "" = given up
        QTest::addColumn<bool>("ends");
        QTest::addColumn<bool>("written");
        QTest::addColumn<int>("boxes");  // the question, and the failure when there is one

        QTest::newRow("Enregistrer") << Prompts::Answer::Save << "progression.csv" << true << true << 1;
        QTest::newRow("Enregistrer, save dialog given up") << Prompts::Answer::Save << "" << false << false << 1;
        QTest::newRow("Enregistrer, file cannot be written")
            << Prompts::Answer::Save << "absent/progression.csv" << false << false << 2;
        QTest::newRow("Quitter sans enregistrer")
            << Prompts::Answer::Discard << "progression.csv" << true << false << 1;
        QTest::newRow("Annuler") << Prompts::Answer::Cancel << "progression.csv" << false << false << 1;
    }
    void quitterOffersToSaveTheHistory()
    {
        QFETCH(Prompts::Answer, answer);
        QFETCH(QString, file);
        QFETCH(bool, ends);
        QFETCH(bool, written);
        QFETCH(int, boxes);
        QTemporaryDir dir;
        MainWindow w;
        w.newCheque(QStringLiteral("deux francs"));
        w.drop(QStringLiteral("deux"));
        w.frm->Quitter_Click();  // "Fin"
        const int rows = w.rows();
        w.services.prompts.saveFileAnswer = file.isEmpty() ? QString() : dir.filePath(file);
        w.services.prompts.answers = {answer};
        w.frm->Quitter_Click();

        QCOMPARE(w.services.prompts.shown.size(), boxes);
        const FakePrompts::Shown &box = w.services.prompts.shown.first();
        QVERIFY(box.offersSave);
        QCOMPARE(box.title, QStringLiteral("Quitter ..."));
        QCOMPARE(box.text, QStringLiteral("L'historique des sessions contient les informations\n"
                                          "utiles pour l'analyse de la progression des élèves.\n"
                                          "Des lignes de l'historique n'ont pas encore été enregistrées.\n"
                                          "Voulez-vous les enregistrer avant de quitter 'Pecunette' ?"));
        QCOMPARE(w.endedAtOnce, ends ? 1 : 0);
        QCOMPARE(w.rows(), rows);
        QFile csv(dir.filePath(QStringLiteral("progression.csv")));
        QCOMPARE(csv.exists(), written);
        if (written) {
            QVERIFY(csv.open(QIODevice::ReadOnly));
            const QByteArray content = csv.readAll();
            QCOMPARE(content.count("\r\n"), rows);  // the header and every row
            QVERIFY(content.contains("Clique du bouton 'Fin'."));
        }
    }

    void savedHistoryAsksThePlainQuestionUntilTheNextRow()
    {
        QTemporaryDir dir;
        MainWindow w;
        w.newCheque();
        w.services.prompts.saveFileAnswer = dir.filePath(QStringLiteral("progression.csv"));
        w.history().Sauvegarder_Click();
        QVERIFY(!w.history().hasUnsavedRows());
        w.services.prompts.answers = {Prompts::Answer::Cancel};
        QVERIFY(!w.frm->close());
        QVERIFY(!w.services.prompts.shown.last().offersSave);

        w.drop(QStringLiteral("cent"));
        QVERIFY(w.history().hasUnsavedRows());
        w.services.prompts.answers = {Prompts::Answer::Save};
        w.services.prompts.saveFileAnswer = dir.filePath(QStringLiteral("ensuite.csv"));
        QVERIFY(w.frm->close());  // saved, then closed through the menu's way
        QVERIFY(w.services.prompts.shown.last().offersSave);
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("ensuite.csv"))));
        QVERIFY(!w.frm->isVisible());
    }

    void clearedHistoryHasNothingToSave()
    {
        MainWindow w;
        w.history().AjoutProgress(QStringLiteral("Elève Martin Léa"), true);
        QVERIFY(w.history().hasUnsavedRows());
        w.history().Vider_Click();
        QVERIFY(!w.history().hasUnsavedRows());
        w.services.prompts.answers = {Prompts::Answer::Cancel};
        w.frm->Quitter_Click();
        QCOMPARE(w.services.prompts.shown.size(), 1);
        QVERIFY(!w.services.prompts.shown.first().offersSave);
    }

    void closingWithAnEmptyHistorySavesThePosition()
    {
        MainWindow w;
        w.frm->move(100, 50);
        QVERIFY(w.frm->close());
        QVERIFY(w.services.prompts.shown.isEmpty());
        const QRect frame = w.frm->frameGeometry();
        auto stored = [&w](const QString &key) {
            return w.services.settings.Read(Keys::AppPecunette, Keys::SectionPosition, key, {});
        };
        QCOMPARE(stored(Keys::MainLeft), QString::number(frame.x() * 15));
        QCOMPARE(stored(Keys::MainTop), QString::number(frame.y() * 15));
        QCOMPARE(stored(Keys::MainWidth), QString::number(frame.width() * 15));
        QCOMPARE(stored(Keys::MainHeight), QString::number(frame.height() * 15));
        // The next start puts the window back there.
        MainWindow again;
        QCOMPARE(again.frm->pos(), w.frm->pos());
    }

    void closingAfterEventsAsks()
    {
        MainWindow w;
        w.newCheque();
        w.services.prompts.answers = {Prompts::Answer::Cancel};
        QVERIFY(!w.frm->close());
        QVERIFY(w.frm->isVisible());
        QVERIFY(w.frm->Timer(2)->running());
        QVERIFY(w.services.settings.Read(Keys::AppPecunette, Keys::SectionPosition, Keys::MainLeft, {}).isEmpty());
        w.frm->menuAction(QStringLiteral("mnuFileExit"))->trigger();  // OK this time
        QVERIFY(!w.frm->isVisible());
        QVERIFY(!w.services.settings.Read(Keys::AppPecunette, Keys::SectionPosition, Keys::MainLeft, {}).isEmpty());
        QVERIFY(!w.history().isVisible());
    }

    void closingWhileMinimizedSavesNothing()
    {
        MainWindow w;
        w.newCheque();
        w.frm->setWindowState(Qt::WindowMinimized);
        QVERIFY(w.frm->close());
        QVERIFY(w.services.settings.Read(Keys::AppPecunette, Keys::SectionPosition, Keys::MainLeft, {}).isEmpty());
    }

    void historyWindowFromTheMenu()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("deux francs"));
        w.frm->menuAction(QStringLiteral("mnuProgression"))->trigger();
        QVERIFY(w.history().isVisible());
        w.history().Quitter_Click();
        w.drop(QStringLiteral("deux"));
        w.drop(QStringLiteral("trois"));
        w.drop(QStringLiteral("francs"));
        w.frm->menuAction(QStringLiteral("mnuProgression"))->trigger();
        QCOMPARE(w.rows(), 6);
    }

    // --- Sound ---

    void soundOffPlaysNothing()
    {
        MainWindow w;
        w.newCheque(QStringLiteral("deux francs"));
        w.drop(QStringLiteral("deux"));
        w.drop(QStringLiteral("trois"));
        QVERIFY(w.services.sound.played.isEmpty());
    }

    void soundFolder_data()
    {
        QTest::addColumn<QString>("folder");  // "<none>": nothing stored
        QTest::addColumn<QString>("path");
        QTest::newRow("stored folder") << "/srv/sons"
                                       << "/srv/sons/son2.wav";
        QTest::newRow("stored folder ending with a separator") << "/srv/sons/"
                                                               << "/srv/sons/son2.wav";
        // The tests' folder holds no cues: the data folder installed beside it.
        QTest::newRow("nothing stored: the installed folder")
            << "<none>"
            << QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/pecunette/sons/son2.wav");
    }
    void soundFolder()
    {
        QFETCH(QString, folder);
        QFETCH(QString, path);
        MainWindow w({{Keys::Son, QStringLiteral("1")}});
        if (folder != QStringLiteral("<none>"))
            w.services.settings.Write(Keys::AppConfiguration, Keys::SectionFichier, Keys::Son, folder);
        w.newCheque(QStringLiteral("deux francs"));
        w.drop(QStringLiteral("deux"));
        QCOMPARE(w.services.sound.played, QStringList {QDir::toNativeSeparators(path)});
    }
};

QTEST_MAIN(TestExerciseFlow)
#include "test_exercise_flow.moc"
