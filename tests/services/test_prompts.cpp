// Pecunette — apprendre à remplir un chèque.
// The real message boxes and save dialog: which button Enter presses, what
// the buttons say, and that they open above a window kept in front.
#include "system_services.h"
#include "window_placement.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {
// Runs `act` on the modal box as soon as it is up, from within its own event loop.
void whenShown(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, qApp, [act = std::move(act)] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        act(box);
    });
}

QPushButton *buttonReading(QWidget *box, const QString &text)
{
    for (QPushButton *button : box->findChildren<QPushButton *>())
        if (button->text() == text)
            return button;
    return nullptr;
}
}  // namespace

class TestPrompts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void enterNeverGoesAhead_data()
    {
        QTest::addColumn<bool>("offersSave");
        QTest::addColumn<int>("key");
        QTest::newRow("OK / Annuler, Enter") << false << int(Qt::Key_Return);
        QTest::newRow("OK / Annuler, Escape") << false << int(Qt::Key_Escape);
        QTest::newRow("saving offered, Enter") << true << int(Qt::Key_Return);
        QTest::newRow("saving offered, Escape") << true << int(Qt::Key_Escape);
    }
    void enterNeverGoesAhead()
    {
        QFETCH(bool, offersSave);
        QFETCH(int, key);
        MessageBoxPrompts prompts;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        whenShown([&](QWidget *box) {
            auto *message = qobject_cast<QMessageBox *>(box);
            QVERIFY(message && message->defaultButton());
            defaultButton = message->standardButton(message->defaultButton());
            QTest::keyClick(box, Qt::Key(key));
        });
        const Prompts::Answer answer =
            offersSave
                ? prompts.askSaveDiscardCancel(QStringLiteral("Quitter ..."), QStringLiteral("?"),
                                               Prompts::Icon::Critical)
                : prompts.askOkCancel(QStringLiteral("Quitter ..."), QStringLiteral("?"), Prompts::Icon::Critical);
        QCOMPARE(answer, Prompts::Answer::Cancel);
        QCOMPARE(defaultButton, QMessageBox::Cancel);
    }

    void eachButtonGivesItsAnswer_data()
    {
        QTest::addColumn<bool>("offersSave");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("answer");
        QTest::newRow("OK") << false << "OK" << int(Prompts::Answer::Ok);
        QTest::newRow("Enregistrer") << true << "&Enregistrer" << int(Prompts::Answer::Save);
        QTest::newRow("Quitter sans enregistrer")
            << true << "&Quitter sans enregistrer" << int(Prompts::Answer::Discard);
        QTest::newRow("Annuler") << true << "Annuler" << int(Prompts::Answer::Cancel);
    }
    void eachButtonGivesItsAnswer()
    {
        QFETCH(bool, offersSave);
        QFETCH(QString, button);
        QFETCH(int, answer);
        MessageBoxPrompts prompts;
        QStringList captions;
        whenShown([&](QWidget *box) {
            for (const QPushButton *b : box->findChildren<QPushButton *>())
                captions << b->text();
            QPushButton *wanted = buttonReading(box, button);
            QVERIFY2(wanted, qPrintable(captions.join(QLatin1Char('|'))));
            wanted->click();
        });
        const Prompts::Answer given =
            offersSave
                ? prompts.askSaveDiscardCancel(QStringLiteral("Quitter ..."), QStringLiteral("?"),
                                               Prompts::Icon::Critical)
                : prompts.askOkCancel(QStringLiteral("Quitter ..."), QStringLiteral("?"), Prompts::Icon::Critical);
        QCOMPARE(int(given), answer);
        if (offersSave) {
            captions.sort();
            QCOMPARE(captions, (QStringList {QStringLiteral("&Enregistrer"),
                                             QStringLiteral("&Quitter sans enregistrer"), QStringLiteral("Annuler")}));
        }
    }

    // A window kept in front (the history) would hide a box opened after it.
    void boxesAndSaveDialogComeAboveAWindowKeptInFront_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("inFront");
        for (const char *kind : {"question", "saving offered", "information", "save dialog"}) {
            QTest::newRow(qPrintable(QStringLiteral("%1, a window in front").arg(QLatin1String(kind))))
                << QString::fromLatin1(kind) << true;
            QTest::newRow(qPrintable(QStringLiteral("%1, none in front").arg(QLatin1String(kind))))
                << QString::fromLatin1(kind) << false;
        }
    }
    void boxesAndSaveDialogComeAboveAWindowKeptInFront()
    {
        QFETCH(QString, kind);
        QFETCH(bool, inFront);
        QWidget front(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
        if (inFront)
            front.show();
        MessageBoxPrompts prompts;
        bool onTop = !inFront;
        whenShown([&](QWidget *box) {
            onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            if (auto *dialog = qobject_cast<QFileDialog *>(box)) {
                // Another process's dialog would take no hint from here.
                QCOMPARE(dialog->testOption(QFileDialog::DontUseNativeDialog), inFront);
                dialog->reject();
            } else {
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        if (kind == QStringLiteral("question"))
            prompts.askOkCancel(QStringLiteral("t"), QStringLiteral("?"), Prompts::Icon::None);
        else if (kind == QStringLiteral("saving offered"))
            prompts.askSaveDiscardCancel(QStringLiteral("t"), QStringLiteral("?"), Prompts::Icon::None);
        else if (kind == QStringLiteral("information"))
            prompts.inform(QStringLiteral("t"), QStringLiteral("!"), Prompts::Icon::None);
        else
            QCOMPARE(prompts.askSaveFile(QStringLiteral("t"), QDir::temp().filePath(QStringLiteral("x.csv")),
                                         QStringLiteral("Fichiers CSV (*.csv)")),
                     QString());
        QCOMPARE(onTop, inFront);
    }

    // A modeless window shown again follows what stays in front now, and keeps its place.
    void windowShownAgainFollowsTheWindowInFront()
    {
        QWidget front(nullptr, Qt::Window | Qt::WindowStaysOnTopHint);
        QWidget dialog(nullptr, Qt::Dialog);
        dialog.move(123, 77);
        front.show();
        comeAboveStayOnTopWindows(&dialog);
        dialog.show();
        QVERIFY(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QCOMPARE(dialog.pos(), QPoint(123, 77));

        front.hide();
        comeAboveStayOnTopWindows(&dialog);
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.pos(), QPoint(123, 77));
        QVERIFY(!anotherWindowStaysOnTop(&dialog));
        front.show();
        QVERIFY(anotherWindowStaysOnTop(&dialog));
        QVERIFY(!anotherWindowStaysOnTop(&front));
    }
};

QTEST_MAIN(TestPrompts)
#include "test_prompts.moc"
