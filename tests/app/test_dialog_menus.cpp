// Pecunette — apprendre à remplir un chèque.
// The main window's menu commands that open the dialogs and the help.
#include "frm_main.h"
#include "frm_progression.h"
#include "program_windows.h"
#include "settings_keys.h"
#include "test_support.h"

#include <QAction>
#include <QApplication>
#include <QPointer>
#include <QtTest>

#include <memory>

namespace {
struct Fixture {
    ExerciseState state;
    TestServices services;
    std::unique_ptr<ProgramWindows> windows;
    FrmMain *main = nullptr;

    Fixture()
    {
        windows = std::make_unique<ProgramWindows>(state, services.services);
        main = &windows->main();
        main->endProgramAtOnce = [] {};
        main->show();
    }
    ~Fixture()
    {
        for (QWidget *window : loadedWindows())
            if (window != main)
                delete window;
        main->hide();
    }
    static QList<QWidget *> loadedWindows()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QList<QWidget *> windows;
        // Windows without owner: the dialogs (and the main window), not its menus.
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->parentWidget() == nullptr && window->objectName() != QStringLiteral("frmProgression"))
                windows << window;
        return windows;
    }
    static QList<QWidget *> loaded(const QString &name)
    {
        QList<QWidget *> found;
        for (QWidget *window : loadedWindows())
            if (window->objectName() == name)
                found << window;
        return found;
    }
    void choose(const QString &command) { main->menuAction(command)->trigger(); }
};
}  // namespace

class TestDialogMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void dialogs_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Paramètres") << "mnuFileProperties"
                                    << "frmParam";
        QTest::newRow("Libellés") << "mnuLibelles"
                                  << "frmLibelles";
        QTest::newRow("Nom de l'élève") << "mnuEleve"
                                        << "frmEleve";
        QTest::newRow("À propos") << "mnuHelpAbout"
                                  << "frmApropos";
        QTest::newRow("Sommaire") << "mnuHelpContents"
                                  << "frmAide";
        QTest::newRow("Aide sur...") << "mnuHelpSearch"
                                     << "frmAide";
    }
    void dialogs()
    {
        QFETCH(QString, command);
        QFETCH(QString, dialog);
        Fixture f;
        QVERIFY(Fixture::loaded(dialog).isEmpty());
        f.choose(command);
        QCOMPARE(Fixture::loaded(dialog).size(), 1);
        QPointer<QWidget> first = Fixture::loaded(dialog).first();
        QVERIFY(first->isVisible());
        QVERIFY(first->parentWidget() == nullptr);
        QVERIFY(!first->isModal());
        QVERIFY(f.main->isEnabled());

        // Chosen again while open: the same window, brought to the front, neither placed nor filled again.
        first->move(first->pos() + QPoint(17, 11));
        const QPoint moved = first->pos();
        f.choose(command);
        QCOMPARE(Fixture::loaded(dialog), QList<QWidget *> {first.data()});
        QCOMPARE(first->pos(), moved);

        // Closed, it is unloaded; the next choice loads a new one.
        first->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(first.isNull());
        f.choose(command);
        QCOMPARE(Fixture::loaded(dialog).size(), 1);
    }

    // The history is kept in front of every window: a dialog opened while it
    // is shown must come above it, with the focus, or it opens out of reach.
    void dialogsOpenAboveTheHistory_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("dialog");
        QTest::newRow("Paramètres") << "mnuFileProperties"
                                    << "frmParam";
        QTest::newRow("Libellés") << "mnuLibelles"
                                  << "frmLibelles";
        QTest::newRow("Nom de l'élève") << "mnuEleve"
                                        << "frmEleve";
        QTest::newRow("À propos") << "mnuHelpAbout"
                                  << "frmApropos";
        QTest::newRow("Imprimer des chèques") << "mnuImprimer"
                                              << "frmImpression";
        QTest::newRow("Sommaire") << "mnuHelpContents"
                                  << "frmAide";
    }
    void dialogsOpenAboveTheHistory()
    {
        QFETCH(QString, command);
        QFETCH(QString, dialog);
        Fixture f;
        f.choose(QStringLiteral("mnuProgression"));
        FrmProgression &history = f.windows->progression();
        QVERIFY(history.isVisible() && history.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        f.choose(command);
        QWidget *opened = Fixture::loaded(dialog).value(0);
        QVERIFY(opened && opened->isVisible());
        QVERIFY(opened->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCoreApplication::processEvents();  // the platform tells of the activation afterwards
        QCOMPARE(QApplication::activeWindow(), opened);

        // The history put away, the dialog chosen again is an ordinary window again, where it was.
        history.Quitter_Click();
        const QPoint where = opened->pos();
        f.choose(command);
        QVERIFY(opened->isVisible());
        QVERIFY(!opened->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(opened->pos(), where);
    }

    void historyComesBackFromTheTaskBar()
    {
        Fixture f;
        FrmProgression &history = f.windows->progression();
        f.choose(QStringLiteral("mnuProgression"));
        history.setWindowState(Qt::WindowMinimized);
        QVERIFY(history.isMinimized());
        f.choose(QStringLiteral("mnuProgression"));
        QVERIFY(!history.isMinimized());
        QVERIFY(history.isVisible());
        QCoreApplication::processEvents();
        QCOMPARE(QApplication::activeWindow(), &history);
    }

    void parametersApplyAtOnce()
    {
        Fixture f;
        QCOMPARE(f.state.MontantMax, 9.0);  // start-up with nothing stored
        f.choose(QStringLiteral("mnuFileProperties"));
        QCOMPARE(f.state.MontantMax, 99999.0);
        QCOMPARE(f.services.settings.Read(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Temporisation, {}),
                 QStringLiteral("3"));
    }
};

QTEST_MAIN(TestDialogMenus)
#include "test_dialog_menus.moc"
