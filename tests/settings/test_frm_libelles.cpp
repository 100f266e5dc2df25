// Pecunette — apprendre à remplir un chèque.
// The cheque labels dialog: what it shows, what OK stores, what nothing else stores.
#include "frm_libelles.h"
#include "layout_checks.h"
#include "settings_keys.h"
#include "test_support.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

struct Fixture {
    TestServices services;
    QPointer<FrmLibelles> dialog;

    ~Fixture() { delete dialog.data(); }
    FrmLibelles *open()
    {
        dialog = new FrmLibelles(services.services);
        dialog->show();
        return dialog;
    }
    QLineEdit *text(const char *name) { return dialog->findChild<QLineEdit *>(QString::fromLatin1(name)); }
    QPushButton *ok() { return dialog->findChild<QPushButton *>(QStringLiteral("OKButton")); }
    void store(const QString &key, const QString &value)
    {
        services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, key, value);
    }
    QString stored(const QString &key)
    {
        return services.settings.Read(Keys::AppPecunette, Keys::SectionDemarrage, key, QStringLiteral("<absent>"));
    }
    // Empties a box and types into it, key by key.
    void type(const char *name, const QString &typed)
    {
        QLineEdit *box = text(name);
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        typeText(box, typed);
    }
    bool closed()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return dialog.isNull();
    }
};
}  // namespace

class TestFrmLibelles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void nothingStoredThenOK()
    {
        Fixture f;
        f.open();
        QCOMPARE(f.dialog->windowTitle(), QStringLiteral("Libellés des chèques"));
        QCOMPARE(f.text("Text1")->text(), QStringLiteral("Tibaldor"));
        QCOMPARE(f.text("Text2")->text(), QStringLiteral("Sorbelin"));
        QCOMPARE(f.stored(Keys::Ordre), QStringLiteral("<absent>"));  // opening stores nothing
        QTest::mouseClick(f.ok(), Qt::LeftButton);
        QVERIFY(f.closed());
        QCOMPARE(f.stored(Keys::Ordre), QStringLiteral("Tibaldor"));
        QCOMPARE(f.stored(Keys::Ville), QStringLiteral("Sorbelin"));
    }

    void storedAsTyped_data()
    {
        QTest::addColumn<QString>("ordre");
        QTest::addColumn<QString>("ville");
        QTest::newRow("plain") << "Mme Lebreton"
                               << "Quimper";
        QTest::newRow("empty payee") << ""
                                     << "Sorbelin";
        QTest::newRow("both empty") << ""
                                    << "";
        QTest::newRow("blanks around") << "  Paul Le Gall "
                                       << " Brest  ";
        QTest::newRow("blanks only") << "   "
                                     << " ";
        QTest::newRow("characters a store may treat apart") << "a/b\\c=d;e,f \"g\" #h [i]"
                                                            << "%1 $HOME @x";
        QTest::newRow("long") << QString(300, QLatin1Char('x')) << QStringLiteral("Saint-Rémy-de-Provence");
    }
    void storedAsTyped()
    {
        QFETCH(QString, ordre);
        QFETCH(QString, ville);
        Fixture f;
        f.open();
        f.type("Text1", ordre);
        f.type("Text2", ville);
        QTest::mouseClick(f.ok(), Qt::LeftButton);
        QVERIFY(f.closed());
        QCOMPARE(f.stored(Keys::Ordre), ordre);
        QCOMPARE(f.stored(Keys::Ville), ville);
        // And the next opening reads them back exactly.
        f.open();
        QCOMPARE(f.text("Text1")->text(), ordre);
        QCOMPARE(f.text("Text2")->text(), ville);
    }

    void onlyOKStores_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Enter in a text box") << 0;
        QTest::newRow("Escape in a text box") << 1;
        QTest::newRow("close box") << 3;
    }
    void onlyOKStores()
    {
        QFETCH(int, how);
        Fixture f;
        f.store(Keys::Ordre, QStringLiteral("Ancien"));
        f.open();
        f.type("Text1", QStringLiteral("Nouveau"));
        switch (how) {
        case 0: QTest::keyClick(f.text("Text1"), Qt::Key_Return); break;
        case 1: QTest::keyClick(f.text("Text1"), Qt::Key_Escape); break;
        default: f.dialog->close(); break;
        }
        QCOMPARE(f.closed(), how == 3);
        QCOMPARE(f.stored(Keys::Ordre), QStringLiteral("Ancien"));
        QCOMPARE(f.stored(Keys::Ville), QStringLiteral("<absent>"));
        // What was typed and not confirmed is gone at the next opening.
        delete f.dialog.data();
        f.open();
        QCOMPARE(f.text("Text1")->text(), QStringLiteral("Ancien"));
    }

    // A focused button is pressed by any of the keys a user presses it with.
    void keyOnTheFocusedOKStores_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Space") << int(Qt::Key_Space);
        QTest::newRow("Enter") << int(Qt::Key_Return);
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
    }
    void keyOnTheFocusedOKStores()
    {
        QFETCH(int, key);
        Fixture f;
        f.open();
        f.type("Text2", QStringLiteral("Lorient"));
        f.ok()->setFocus();
        QTest::keyClick(f.ok(), Qt::Key(key));
        QVERIFY(f.closed());
        QCOMPARE(f.stored(Keys::Ville), QStringLiteral("Lorient"));
    }

    void drawnWhole()
    {
        Fixture f;
        f.open();
        QCOMPARE(f.dialog->size(), QSize(297, 130));
        const QStringList faults = layout_checks::layoutFaults(f.dialog);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(TestFrmLibelles)
#include "test_frm_libelles.moc"
