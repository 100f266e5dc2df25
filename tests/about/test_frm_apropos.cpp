// Pecunette — apprendre à remplir un chèque.
// The About box: its texts, where it opens, and the system-information button.
#include "frm_apropos.h"
#include "layout_checks.h"
#include "test_support.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {
const QString NoSysInfo = QStringLiteral("Les informations systèmes ne sont pas disponible actuellement!");
const QString MsinfoPath = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO|PATH");
const QString ToolsLocation = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location|MSINFO");

struct Fixture {
    TestServices services;
    QWidget mainWindow;
    QPointer<FrmApropos> box;

    Fixture()
    {
        mainWindow.setGeometry(0, 0, 627, 456);
        mainWindow.show();
    }
    ~Fixture() { delete box.data(); }
    FrmApropos *open()
    {
        box = new FrmApropos(services.services, &mainWindow);
        box->show();
        return box;
    }
    QLabel *label(const char *name) { return box->findChild<QLabel *>(QString::fromLatin1(name)); }
    QPushButton *button(const char *name) { return box->findChild<QPushButton *>(QString::fromLatin1(name)); }
    bool closed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return box.isNull();
    }
};
}  // namespace

class TestFrmApropos : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }

    void texts()
    {
        Fixture f;
        f.open();
        QCOMPARE(f.box->windowTitle(), QStringLiteral("Pecunette"));
        // The version is the project's own, as CMake gives it.
        QCOMPARE(f.label("lblTitle")->text(), QStringLiteral("Pecunette v") + QStringLiteral(PECUNETTE_VERSION));
        QVERIFY(f.label("lblVersion")->text().startsWith(QStringLiteral("© ")));
        const QStringList lines = f.label("lblDescription")->text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 8);
        QCOMPARE(lines[0], QStringLiteral("Progrmmes d 'aide pédagogique pour Ecole primaire."));
        QVERIFY(lines[1].isEmpty());
        QCOMPARE(lines[2], QStringLiteral("Ecole de Quelbrac"));
        QVERIFY(lines[5].startsWith(QStringLiteral("Tél : ")));
        QVERIFY(lines[6].startsWith(QStringLiteral("Email : ")) && lines[6].endsWith(QStringLiteral("@example.org")));
        QVERIFY(lines[7].startsWith(QStringLiteral("Internet : ")) && lines[7].endsWith(QStringLiteral("example.org")));
        QCOMPARE(f.label("lblDescription")->palette().color(QPalette::WindowText), QColor(0, 0, 255));
        QCOMPARE(f.button("cmdSysInfo")->text(), QStringLiteral("&System Info..."));
        QCOMPARE(f.box->focusWidget(), f.button("cmdOK"));
    }

    // Centred on the main window's size from the screen's corner: the main
    // window's own position does not count, unless the box would leave the screen.
    void placement_data()
    {
        QTest::addColumn<QRect>("mainWindow");
        QTest::addColumn<bool>("sameAsInTheCorner");
        QTest::newRow("main window in the corner") << QRect(0, 0, 627, 456) << true;
        QTest::newRow("main window moved right") << QRect(300, 120, 627, 456) << true;
        QTest::newRow("main window larger than the screen") << QRect(0, 0, 3000, 2500) << false;
    }
    void placement()
    {
        QFETCH(QRect, mainWindow);
        QFETCH(bool, sameAsInTheCorner);
        Fixture f;
        f.open();
        const QPoint inTheCorner = f.box->pos();
        delete f.box.data();
        f.mainWindow.setGeometry(mainWindow);
        f.open();
        QCOMPARE(f.box->pos() == inTheCorner, sameAsInTheCorner);
        QVERIFY(qAbs(inTheCorner.x() - (627 - 301) / 2) <= 4 && qAbs(inTheCorner.y() - (456 - 203) / 2) <= 4);
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        QVERIFY(screen.contains(QRect(f.box->pos(), QSize(301, 203))));
    }

    void sysInfo_data()
    {
        QTest::addColumn<QString>("registeredPath");  // empty: no such value
        QTest::addColumn<QString>("registeredFolder");  // empty: no such value
        QTest::addColumn<QStringList>("existingFiles");
        QTest::addColumn<QStringList>("onPath");
        QTest::addColumn<bool>("startSucceeds");
        QTest::addColumn<QString>("started");  // empty: nothing started
        QTest::addColumn<bool>("message");

        const QString exe = QStringLiteral("C:\\Outils\\MSINFO32.EXE");
        QTest::newRow("registered path started without a file test")
            << "C:\\Msinfo\\msinfo32.exe"
            << "" << QStringList {} << QStringList {} << true << "C:\\Msinfo\\msinfo32.exe" << false;
        QTest::newRow("registered path that fails to start")
            << "C:\\Msinfo\\msinfo32.exe"
            << "" << QStringList {} << QStringList {} << false << "C:\\Msinfo\\msinfo32.exe" << true;
        QTest::newRow("registered path wins over the folder and the PATH")
            << "C:\\A\\msinfo32.exe"
            << "C:\\Outils" << QStringList {exe} << QStringList {"kinfocenter"} << true << "C:\\A\\msinfo32.exe"
            << false;
        QTest::newRow("folder holding the program")
            << ""
            << "C:\\Outils" << QStringList {exe} << QStringList {} << true << exe << false;
        QTest::newRow("folder without the program")
            << ""
            << "C:\\Outils" << QStringList {} << QStringList {"kinfocenter"} << true << "" << true;
        QTest::newRow("no registry: first tool on the PATH")
            << ""
            << "" << QStringList {} << QStringList {"hardinfo", "gnome-system-monitor"} << true
            << "gnome-system-monitor" << false;
        QTest::newRow("no registry: tool on the PATH fails to start")
            << ""
            << "" << QStringList {} << QStringList {"kinfocenter"} << false << "kinfocenter" << true;
        QTest::newRow("nothing anywhere") << ""
                                          << "" << QStringList {} << QStringList {} << true << "" << true;
    }
    void sysInfo()
    {
        QFETCH(QString, registeredPath);
        QFETCH(QString, registeredFolder);
        QFETCH(QString, started);
        QFETCH(bool, message);
        Fixture f;
        FakeSystemInfo &system = f.services.systemInfo;
        if (!registeredPath.isEmpty())
            system.values.insert(MsinfoPath, registeredPath);
        if (!registeredFolder.isEmpty())
            system.values.insert(ToolsLocation, registeredFolder);
        QFETCH(QStringList, existingFiles);
        QFETCH(QStringList, onPath);
        QFETCH(bool, startSucceeds);
        system.existingFiles = existingFiles;
        system.onPath = onPath;
        system.startSucceeds = startSucceeds;
        f.open();
        QTest::mouseClick(f.button("cmdSysInfo"), Qt::LeftButton);

        QCOMPARE(system.started, started.isEmpty() ? QStringList {} : QStringList {started});
        QCOMPARE(f.services.prompts.shown.size(), message ? 1 : 0);
        if (message) {
            const FakePrompts::Shown box = f.services.prompts.shown.first();
            QCOMPARE(box.title, QStringLiteral("Pecunette"));
            QCOMPARE(box.text, NoSysInfo);
            QCOMPARE(box.icon, Prompts::Icon::None);
        }
        QVERIFY(!f.closed());  // the box stays open either way
    }

    void closing_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("OK clicked") << 0;
        QTest::newRow("Enter") << 1;
        QTest::newRow("Escape") << 2;
        QTest::newRow("close box") << 3;
    }
    void closing()
    {
        QFETCH(int, how);
        Fixture f;
        f.open();
        switch (how) {
        case 0: QTest::mouseClick(f.button("cmdOK"), Qt::LeftButton); break;
        case 1: QTest::keyClick(f.box, Qt::Key_Return); break;
        case 2: QTest::keyClick(f.box, Qt::Key_Escape); break;
        default: f.box->close(); break;
        }
        QVERIFY(f.closed());
        QVERIFY(f.services.systemInfo.started.isEmpty());
    }

    void drawnWhole()
    {
        Fixture f;
        f.open();
        QCOMPARE(f.box->size(), QSize(301, 203));
        const QStringList faults = layout_checks::layoutFaults(f.box);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestFrmApropos)
#include "test_frm_apropos.moc"
