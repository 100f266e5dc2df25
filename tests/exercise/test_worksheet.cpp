// Pecunette — apprendre à remplir un chèque.
#include "frm_impression.h"
#include "main_window_fixture.h"
#include "worksheet.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardPaths>

namespace {
// Renders a PDF to one PNG a page with poppler's pdftoppm; the page files, in order.
QStringList renderPages(const QString &pdf, const QString &folder)
{
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"), {"-r", "50", "-png", pdf, QDir(folder).filePath("page")});
    if (!pdftoppm.waitForFinished(60000) || pdftoppm.exitCode() != 0)
        return {};
    QStringList pages = QDir(folder).entryList({"page*.png"}, QDir::Files, QDir::Name);
    for (QString &page : pages)
        page = QDir(folder).filePath(page);
    return pages;
}
}  // namespace

class TestWorksheet : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void drawnAmounts()
    {
        QRandomGenerator random(7);
        const auto francs = drawWorksheet(20, 99, Monnaie::Franc, random);
        QCOMPARE(int(francs.size()), 20);
        for (const WorksheetCheque &cheque : francs) {
            QVERIFY(cheque.amount >= 1 && cheque.amount <= 99);
            QCOMPARE(cheque.somme, QString::number(cheque.amount) + QStringLiteral(" Frs"));
            QCOMPARE(cheque.wording, QString::fromStdString(MontantEnLettres(cheque.amount)));
        }
        QCOMPARE(int(drawWorksheet(0, 9, Monnaie::Franc, random).size()), 1);
        QCOMPARE(int(drawWorksheet(50, 9, Monnaie::Franc, random).size()), 20);
        const auto euros = drawWorksheet(1, 9, Monnaie::Euro, random);
        QVERIFY(euros.front().somme.endsWith(QStringLiteral(" €")));
        QVERIFY(euros.front().wording.endsWith(QStringLiteral("euros")) || euros.front().wording == "un euro");
    }

    // Three cheques a page, then the answer key; the pages come out as pictures.
    void pdfPages_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("pages");
        QTest::newRow("one cheque") << 1 << 2;
        QTest::newRow("a page full") << 3 << 2;
        QTest::newRow("twenty") << 20 << 8;
    }
    void pdfPages()
    {
        QFETCH(int, count);
        QFETCH(int, pages);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        QTemporaryDir dir;
        QRandomGenerator random(count);
        const QString pdf = dir.filePath(QStringLiteral("cheques.pdf"));
        QVERIFY(writeWorksheetPdf(pdf, drawWorksheet(count, 99999, Monnaie::Franc, random),
                                  {QStringLiteral("Tibaldor"), QStringLiteral("Sorbelin"), QDate(2026, 12, 9)}));
        const QStringList rendered = renderPages(pdf, dir.path());
        // PECUNETTE_KEEP_PAGES=folder keeps the pictures, to look at them.
        if (qEnvironmentVariableIsSet("PECUNETTE_KEEP_PAGES"))
            for (const QString &page : rendered)
                QFile::copy(page,
                            QDir(qEnvironmentVariable("PECUNETTE_KEEP_PAGES")).filePath(QFileInfo(page).fileName()));
        QCOMPARE(rendered.size(), pages);
        const QImage first(rendered.first());
        QVERIFY(first.height() > first.width());  // A4 portrait
        // The cheque's cream paper is on the first page.
        bool cream = false;
        for (int y = 0; y < first.height() && !cream; y += 4)
            cream = first.pixelColor(first.width() / 2, y).red() > 240 &&
                    first.pixelColor(first.width() / 2, y).blue() < 225;
        QVERIFY(cream);
    }

    void unwritablePlaceLeavesNothing()
    {
        QRandomGenerator random(1);
        QVERIFY(!writeWorksheetPdf(QStringLiteral("/nonexistent-folder/cheques.pdf"),
                                   drawWorksheet(2, 9, Monnaie::Franc, random), {}));
    }

    // Escape gives up as in the other dialogs; a focused button takes Enter.
    void keyboardClosesTheDialog_data()
    {
        QTest::addColumn<QString>("focused");  // "" : the number box
        QTest::addColumn<int>("key");
        QTest::newRow("Escape in the number box") << "" << int(Qt::Key_Escape);
        QTest::newRow("Escape on a button") << "Imprimer" << int(Qt::Key_Escape);
        QTest::newRow("Enter on Annuler") << "Annuler" << int(Qt::Key_Return);
        QTest::newRow("keypad Enter on Annuler") << "Annuler" << int(Qt::Key_Enter);
    }
    void keyboardClosesTheDialog()
    {
        QFETCH(QString, focused);
        QFETCH(int, key);
        MainWindow w;
        w.frm->menuAction(QStringLiteral("mnuImprimer"))->trigger();
        QPointer<FrmImpression> dialog;
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *found = qobject_cast<FrmImpression *>(top); found && found->isVisible())
                dialog = found;
        QVERIFY(dialog);
        QWidget *target =
            focused.isEmpty() ? static_cast<QWidget *>(dialog->Nombre()) : dialog->findChild<QPushButton *>(focused);
        QVERIFY(target);
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!dialog);
        QVERIFY(w.services.prompts.shown.isEmpty());
    }

    void fromTheMenu()
    {
        MainWindow w;
        QTemporaryDir dir;
        w.frm->menuAction(QStringLiteral("mnuImprimer"))->trigger();
        auto *dialog = qobject_cast<FrmImpression *>(QApplication::activeWindow());
        if (!dialog) {
            for (QWidget *top : QApplication::topLevelWidgets())
                if (top->objectName() == QStringLiteral("frmImpression") && top->isVisible())
                    dialog = qobject_cast<FrmImpression *>(top);
        }
        QVERIFY(dialog);
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Imprimer des chèques"));
        QCOMPARE(dialog->Nombre()->value(), 5);  // one series by default
        dialog->Nombre()->setValue(4);
        // Giving up in the save dialog writes nothing and keeps the dialog open.
        dialog->Enregistrer_Click();
        QVERIFY(dialog->isVisible());
        QVERIFY(w.services.prompts.proposedSavePath.endsWith(QStringLiteral("cheques-2026-12-09.pdf")));
        const QString pdf = dir.filePath(QStringLiteral("fiche.pdf"));
        w.services.prompts.saveFileAnswer = pdf;
        QPointer<FrmImpression> alive(dialog);
        dialog->Enregistrer_Click();
        QVERIFY(QFileInfo(pdf).size() > 1000);
        QVERIFY(w.services.prompts.shown.isEmpty());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!alive);  // closed once saved
        // A place that cannot be written: a French message, nothing else.
        w.frm->menuAction(QStringLiteral("mnuImprimer"))->trigger();
        w.services.prompts.saveFileAnswer = QStringLiteral("/nonexistent-folder/fiche.pdf");
        for (QWidget *top : QApplication::topLevelWidgets())
            if (auto *again = qobject_cast<FrmImpression *>(top); again && again->isVisible())
                again->Enregistrer_Click();
        QCOMPARE(w.services.prompts.shown.size(), 1);
        QVERIFY(w.services.prompts.shown.first().text.startsWith(
            QStringLiteral("Impossible d'enregistrer les chèques dans le fichier")));
    }
};

QTEST_MAIN(TestWorksheet)
#include "test_worksheet.moc"
