// Pecunette — apprendre à remplir un chèque.
// The pupil dialog on a real main window: what OK, Annuler and the close box
// do to the greeting, the status line, the history and the pupil's names.
#include "frm_eleve.h"
#include "frm_main.h"
#include "frm_progression.h"
#include "layout_checks.h"
#include "program_windows.h"
#include "test_support.h"

#include <QApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

#include <algorithm>

#include <memory>

namespace {
const QString Refusal =
    QStringLiteral("L'identification est nécessaire pour\npour faire un analyse de la progression.");

struct Fixture {
    ExerciseState state;
    TestServices services;
    std::unique_ptr<ProgramWindows> windows;
    FrmMain *main = nullptr;
    QPointer<FrmEleve> dialog;

    Fixture()
    {
        windows = std::make_unique<ProgramWindows>(state, services.services);
        main = &windows->main();
        main->endProgramAtOnce = [] {};
        main->show();
    }
    ~Fixture()
    {
        delete dialog.data();
        if (main)
            main->hide();
    }

    // Loads the dialog as the menu command does when it is not loaded.
    FrmEleve *load()
    {
        dialog = new FrmEleve(state, services.services, windows->progression(), main, main->Message(), main->DebutMsg(),
                              [this](const QString &text) { main->setSessionLine(text); });
        dialog->show();
        return dialog;
    }
    // The dialog the menu command left loaded, if any.
    static FrmEleve *loaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget *window : QApplication::topLevelWidgets())
            if (auto *eleve = qobject_cast<FrmEleve *>(window))
                return eleve;
        return nullptr;
    }
    FrmEleve *fromMenu()
    {
        main->mnuEleve_Click();
        dialog = loaded();
        return dialog;
    }

    QLineEdit *nom() { return dialog->findChild<QLineEdit *>(QStringLiteral("saisieNom")); }
    QLineEdit *prenom() { return dialog->findChild<QLineEdit *>(QStringLiteral("saisiePrenom")); }
    QPushButton *button(const char *name) { return dialog->findChild<QPushButton *>(QString::fromLatin1(name)); }
    void type(QLineEdit *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        typeText(box, text);
    }
    void identify(const QString &n, const QString &p)
    {
        type(nom(), n);
        type(prenom(), p);
        QTest::mouseClick(button("OK"), Qt::LeftButton);
    }
    bool unloaded()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }
    int rows() { return windows->progression().Rows(); }
    HistoryRow lastRow() { return windows->progression().model().rows().back(); }
    // Where the dialog's frame should stand: down and right of the main window's corner by half its own size.
    QPoint expectedCorner() const
    {
        const QSize outer = dialog->frameGeometry().size();
        return main->frameGeometry().topLeft() + QPoint(outer.width() / 2, outer.height() / 2);
    }
};

// The widget Tab moves the keyboard focus to.
QWidget *nextTabStop(QWidget *from)
{
    QWidget *w = from->nextInFocusChain();
    while (w != from && !((w->focusPolicy() & Qt::TabFocus) && w->isVisibleTo(from->window()) && w->isEnabled()))
        w = w->nextInFocusChain();
    return w;
}

// Placed before its frame exists, the dialog may miss by the frame's few pixels.
bool near(QPoint a, QPoint b) { return (a - b).manhattanLength() <= 8; }
}  // namespace

class TestEleve : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void loading()
    {
        Fixture f;
        f.state.NomEleve = QStringLiteral(" Martin");
        f.state.PrenomEleve = QStringLiteral("Léa ");
        f.load();
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Pecunette"));
        QCOMPARE(f.nom()->text(), QStringLiteral(" Martin"));
        QCOMPARE(f.prenom()->text(), QStringLiteral("Léa "));
        QCOMPARE(f.dialog->size(), QSize(275, 155));
        QVERIFY(near(f.dialog->frameGeometry().topLeft(), f.expectedCorner()));
        QCOMPARE(f.dialog->focusWidget(), f.nom());
        // Tab goes from the surname to the first name, then to OK, then to Annuler.
        QCOMPARE(nextTabStop(f.nom()), static_cast<QWidget *>(f.prenom()));
        QCOMPARE(nextTabStop(f.prenom()), static_cast<QWidget *>(f.button("OK")));
        QCOMPARE(nextTabStop(f.button("OK")), static_cast<QWidget *>(f.button("Annuler")));
        QCOMPARE(nextTabStop(f.button("Annuler")), static_cast<QWidget *>(f.nom()));
        QVERIFY(f.button("OK")->text() == QStringLiteral("&OK") && f.button("Annuler")->text() == "&Annuler");
    }

    void accepted_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("prenom");
        QTest::newRow("plain") << "Martin"
                               << "Léa";
        QTest::newRow("blanks kept everywhere") << "  Martin "
                                                << " Léa  ";
        QTest::newRow("compound names") << "Le Guennec"
                                        << "Gwenaëlle";
        QTest::newRow("one letter each") << "X"
                                         << "y";
    }
    void accepted()
    {
        QFETCH(QString, nom);
        QFETCH(QString, prenom);
        Fixture f;
        const qreal fontSize = f.main->Message()->fontSize();
        const int rowsBefore = f.rows();
        f.load();
        f.identify(nom, prenom);

        QCOMPARE(f.state.NomEleve, nom);
        QCOMPARE(f.state.PrenomEleve, prenom);
        QCOMPARE(f.main->Message()->text(), QStringLiteral("Bonjour ...\n") + prenom);
        QCOMPARE(f.main->Message()->y(), 20);
        QCOMPARE(f.main->Message()->fontSize(), fontSize);
        QCOMPARE(f.main->sessionLine(), QStringLiteral("Session de ") + nom + QLatin1Char(' ') + prenom + '.');
        QVERIFY(f.main->DebutMsg()->isVisible());
        QCOMPARE(f.rows(), rowsBefore + 1);
        QCOMPARE(f.lastRow().event, QStringLiteral("Elève ") + nom + QLatin1Char(' ') + prenom);
        QVERIFY(f.lastRow().normal);
        QVERIFY(f.services.prompts.shown.isEmpty());
        // Hidden, not unloaded: it keeps what was typed.
        QVERIFY(!f.unloaded());
        QVERIFY(f.dialog->isHidden());
        QCOMPARE(f.nom()->text(), nom);
    }

    void refused_data()
    {
        QTest::addColumn<QString>("nom");
        QTest::addColumn<QString>("prenom");
        QTest::newRow("first name only") << ""
                                         << "Léa";
        QTest::newRow("surname of blanks") << "   "
                                           << "Léa";
        QTest::newRow("surname only") << "Martin"
                                      << "";
        QTest::newRow("first name of blanks") << "Martin"
                                              << "  ";
        QTest::newRow("nothing") << ""
                                 << "";
    }
    void refused()
    {
        QFETCH(QString, nom);
        QFETCH(QString, prenom);
        Fixture f;
        const int rowsBefore = f.rows();
        const QString sessionBefore = f.main->sessionLine();
        f.load();
        f.identify(nom, prenom);

        QCOMPARE(f.services.prompts.shown.size(), 1);
        const FakePrompts::Shown box = f.services.prompts.shown.first();
        QCOMPARE(box.title, QStringLiteral("Pecunette"));
        QCOMPARE(box.text, Refusal);
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QVERIFY(!box.question);
        // The names were stored before the check, as typed.
        QCOMPARE(f.state.NomEleve, nom);
        QCOMPARE(f.state.PrenomEleve, prenom);
        // Nothing else changed, and the dialog is still there as it was.
        QCOMPARE(f.rows(), rowsBefore);
        QCOMPARE(f.main->sessionLine(), sessionBefore);
        QCOMPARE(f.main->Message()->text(), QStringLiteral("Bonjour ..."));
        QVERIFY(!f.main->DebutMsg()->isVisible());
        QVERIFY(!f.unloaded());
        QVERIFY(f.dialog->isVisible());
        QCOMPARE(f.prenom()->text(), prenom);
    }

    void enterAndEscapeDoNothing()
    {
        Fixture f;
        const int rowsBefore = f.rows();
        f.load();
        f.type(f.nom(), QStringLiteral("Martin"));
        f.type(f.prenom(), QStringLiteral("Léa"));
        QTest::keyClick(f.prenom(), Qt::Key_Return);
        QTest::keyClick(f.prenom(), Qt::Key_Enter);
        QTest::keyClick(f.prenom(), Qt::Key_Escape);
        QVERIFY(!f.unloaded());
        QVERIFY(f.dialog->isVisible());
        QVERIFY(f.state.NomEleve.isEmpty());
        QCOMPARE(f.rows(), rowsBefore);
        QVERIFY(f.services.prompts.shown.isEmpty());
    }

    void enterOnAFocusedButtonPressesIt_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("key");
        QTest::newRow("OK, Enter") << "OK" << int(Qt::Key_Return);
        QTest::newRow("OK, keypad Enter") << "OK" << int(Qt::Key_Enter);
        QTest::newRow("Annuler, Enter") << "Annuler" << int(Qt::Key_Return);
    }
    void enterOnAFocusedButtonPressesIt()
    {
        QFETCH(QString, button);
        QFETCH(int, key);
        Fixture f;
        f.load();
        f.type(f.nom(), QStringLiteral("Martin"));
        f.type(f.prenom(), QStringLiteral("Léa"));
        QPushButton *pressed = f.button(qPrintable(button));
        pressed->setFocus();
        QTest::keyClick(pressed, Qt::Key(key));
        if (button == QStringLiteral("OK")) {
            QCOMPARE(f.state.PrenomEleve, QStringLiteral("Léa"));
            QVERIFY(!f.dialog->isVisible());
        } else {
            QVERIFY(f.unloaded());
            QVERIFY(f.state.PrenomEleve.isEmpty());
        }
    }

    void unloadingForgetsWhatWasTyped_data()
    {
        QTest::addColumn<bool>("closeBox");
        QTest::newRow("Annuler") << false;
        QTest::newRow("close box") << true;
    }
    void unloadingForgetsWhatWasTyped()
    {
        QFETCH(bool, closeBox);
        Fixture f;
        f.load();
        f.identify(QStringLiteral("Martin"), QStringLiteral("Léa"));
        const int rowsAfterOK = f.rows();
        f.dialog->show();
        f.type(f.nom(), QStringLiteral("Durand"));
        f.type(f.prenom(), QStringLiteral("Paul"));
        if (closeBox)
            f.dialog->close();
        else
            QTest::mouseClick(f.button("Annuler"), Qt::LeftButton);
        QVERIFY(f.unloaded());
        QCOMPARE(f.state.NomEleve, QStringLiteral("Martin"));
        QCOMPARE(f.state.PrenomEleve, QStringLiteral("Léa"));
        QCOMPARE(f.rows(), rowsAfterOK);
        QCOMPARE(f.main->sessionLine(), QStringLiteral("Session de Martin Léa."));
        f.load();
        QCOMPARE(f.nom()->text(), QStringLiteral("Martin"));
        QCOMPARE(f.prenom()->text(), QStringLiteral("Léa"));
    }

    void keptOnScreen()
    {
        Fixture f;
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // The main window's corner near the screen's bottom-right corner.
        f.main->move(screen.right() - 100, screen.bottom() - 60);
        f.load();
        QVERIFY2(screen.contains(QRect(f.dialog->pos(), QSize(275, 155))),
                 qPrintable(QStringLiteral("at %1, %2").arg(f.dialog->x()).arg(f.dialog->y())));
    }

    // Not loaded, shown, hidden but loaded: what the menu command does in each.
    void threeStatesFromTheMenu()
    {
        Fixture f;
        QVERIFY(Fixture::loaded() == nullptr);
        FrmEleve *first = f.fromMenu();
        QVERIFY(first && first->isVisible());
        QVERIFY(near(first->frameGeometry().topLeft(), f.expectedCorner()));

        // Shown: the menu only brings it to the front.
        f.type(f.nom(), QStringLiteral("Martin"));
        QCOMPARE(f.fromMenu(), first);
        QCOMPARE(f.nom()->text(), QStringLiteral("Martin"));

        // Hidden but loaded after OK; "Fin" then empties the names, not the text boxes.
        f.identify(QStringLiteral("Martin"), QStringLiteral("Léa"));
        QVERIFY(first->isHidden());
        QCOMPARE(Fixture::loaded(), first);
        f.main->Nouveau_Click();
        f.main->Quitter_Click();  // the "Fin" button
        QVERIFY(f.state.NomEleve.isEmpty() && f.state.PrenomEleve.isEmpty());
        const QPoint placed = first->pos();
        f.main->move(f.main->pos() + QPoint(40, 30));
        QCOMPARE(f.fromMenu(), first);
        QVERIFY(first->isVisible());
        QCOMPARE(first->pos(), placed);  // neither placed again...
        QCOMPARE(f.nom()->text(), QStringLiteral("Martin"));  // ...nor filled again
        QCOMPARE(f.prenom()->text(), QStringLiteral("Léa"));

        // OK identifies the same pupil again: a second row.
        QTest::mouseClick(f.button("OK"), Qt::LeftButton);
        const std::vector<HistoryRow> &rows = f.windows->progression().model().rows();
        QCOMPARE(std::count_if(rows.begin(), rows.end(),
                               [](const HistoryRow &r) { return r.event == QStringLiteral("Elève Martin Léa"); }),
                 2);

        // Annuler unloads; the next opening loads afresh from the state, placed anew.
        f.main->Nouveau_Click();
        f.main->Quitter_Click();  // "Fin" again: the names are emptied
        f.fromMenu();
        QTest::mouseClick(f.button("Annuler"), Qt::LeftButton);
        QVERIFY(f.unloaded());
        QVERIFY(Fixture::loaded() == nullptr);
        FrmEleve *second = f.fromMenu();
        QVERIFY(second && second->isVisible());
        QVERIFY(f.nom()->text().isEmpty() && f.prenom()->text().isEmpty());
        QVERIFY(near(second->frameGeometry().topLeft(), f.expectedCorner()));
    }

    void hiddenDialogGoesWithTheMainWindow()
    {
        Fixture f;
        f.fromMenu();
        f.identify(QStringLiteral("Martin"), QStringLiteral("Léa"));
        QVERIFY(!f.unloaded());
        f.windows.reset();
        f.main = nullptr;
        QVERIFY(f.dialog.isNull());
    }

    void drawnWhole()
    {
        Fixture f;
        f.load();
        const QStringList faults = layout_checks::layoutFaults(f.dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestEleve)
#include "test_eleve.moc"
