// Pecunette — apprendre à remplir un chèque.
// Pupil names and cheque labels typed into the dialogs with tabs, line breaks,
// quotes, commas, a leading "=", right-to-left text, emoji or 100,000
// characters: the greeting, the status bar, the history and its saved CSV
// (read back by Python's csv module) keep them exactly but for what cleaning
// drops (control characters, direction overrides; a line break is a blank),
// and every window still draws.
#include "main_window_fixture.h"

#include "clean_text.h"

#include <QAction>
#include <QApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTemporaryDir>

namespace {

QList<QPair<const char *, QString>> hostileTexts()
{
    return {
        {"tab", QStringLiteral("Jean\tPaul")},
        {"line breaks", QStringLiteral("Jean\nPaul\r\nMarie\rLou")},
        {"quotes", QStringLiteral("\"Jo\" l'Ami \"\"")},
        {"commas", QStringLiteral("Dupont, Marie,")},
        {"formula", QStringLiteral("=HYPERLINK(\"http://x\";\"y\")")},
        {"signs", QStringLiteral("+1-2@3")},
        {"blanks around", QStringLiteral("  Léa  ")},
        {"INI syntax", QStringLiteral("[Position]\nMainLeft=1;#x\\y")},
        {"right-to-left", QStringLiteral("مريم العربية")},
        {"direction override", QStringLiteral("\u202Eevil\u202C name")},
        {"isolates", QStringLiteral("\u2067Lou\u2069 \u2066Max\u2069")},
        {"NUL and escape", QString::fromUtf16(u"Lé\0a\x1b[2J", 8)},
        {"emoji", QStringLiteral("Zoé 🧒🏽 👩‍👩‍👧 🇫🇷")},
        {"combining marks", QStringLiteral("Ze\u0301lie\u0308")},
        {"100000 characters", QString(100'000, QLatin1Char('A')) + QStringLiteral(" fin")},
    };
}

QtMessageHandler qtTestHandler = nullptr;

void quietRaise(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message != QStringLiteral("This plugin does not support raise()"))
        qtTestHandler(type, context, message);
}

QWidget *shownWindow(const QString &objectName)
{
    for (QWidget *top : QApplication::topLevelWidgets())
        if (top->objectName() == objectName && top->isVisible())
            return top;
    return nullptr;
}

// The cells of a CSV file as Python's csv module reads them.
QList<QStringList> readCsvWithPython(const QString &path)
{
    const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
    if (python.isEmpty())
        qFatal("python3 is needed to read the CSV back: scripts/setup.sh installs it");
    QProcess reader;
    reader.start(python, {QStringLiteral("-c"),
                          QStringLiteral("import csv, json, sys\n"
                                         "csv.field_size_limit(sys.maxsize)  # a pupil's name may be that long\n"
                                         "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                         "    json.dump(list(csv.reader(f)), sys.stdout)\n"),
                          path});
    if (!reader.waitForFinished(60'000) || reader.exitCode() != 0)
        qFatal("python3 could not read %s: %s", qPrintable(path), reader.readAllStandardError().constData());
    QList<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(reader.readAllStandardOutput()).array()) {
        QStringList cells;
        for (const QJsonValue &cell : row.toArray())
            cells << cell.toString();
        rows << cells;
    }
    return rows;
}

}  // namespace

class TestHostileNames : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase()
    {
        isolateSettings();
        qtTestHandler = qInstallMessageHandler(quietRaise);
    }
    void init() { clearSettings(); }
    void cleanup()
    {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("frmEleve") || top->objectName() == QStringLiteral("frmLibelles"))
                top->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void pupilName_data()
    {
        QTest::addColumn<QString>("text");
        for (const auto &[name, text] : hostileTexts())
            QTest::newRow(name) << text;
    }

    void pupilName()
    {
        QFETCH(QString, text);
        const QString nom = cleanLine(text);
        const QString prenom = cleanLine(text) + QStringLiteral(" B");
        MainWindow w;
        FrmMain &f = *w.frm;

        f.menuAction(QStringLiteral("mnuEleve"))->trigger();
        QWidget *dialog = shownWindow(QStringLiteral("frmEleve"));
        QVERIFY(dialog);
        dialog->findChild<QLineEdit *>(QStringLiteral("saisieNom"))->setText(text);
        dialog->findChild<QLineEdit *>(QStringLiteral("saisiePrenom"))->setText(text + QStringLiteral(" B"));
        dialog->findChild<QPushButton *>(QStringLiteral("OK"))->click();
        QVERIFY(!dialog->isVisible());

        QCOMPARE(w.state.NomEleve, nom);
        QCOMPARE(w.state.PrenomEleve, prenom);
        QCOMPARE(f.Message()->text(), QStringLiteral("Bonjour ...\n") + prenom);
        QCOMPARE(f.sessionLine(), QStringLiteral("Session de ") + nom + QLatin1Char(' ') + prenom + QLatin1Char('.'));
        const QString event = QStringLiteral("Elève ") + nom + QLatin1Char(' ') + prenom;
        QCOMPARE(w.lastEvent(), event);
        QCOMPARE(w.rows(), 3);

        // The status bar keeps its two indicators in view, whatever the length of the line.
        QStatusBar *bar = f.statusBar();
        for (const char *indicator : {"sbStatusBar.Panel2", "sbStatusBar.Panel3"}) {
            const QWidget *panel = bar->findChild<QWidget *>(QString::fromLatin1(indicator));
            QVERIFY(panel);
            QVERIFY2(bar->rect().contains(panel->geometry()), indicator);
        }
        QCOMPARE(f.width(), f.minimumWidth());

        // A cheque and a goodbye on top, then every window drawn.
        w.newCheque();
        w.drop(QStringLiteral("milliard"));  // wrong on any amount under a billion: a red row
        f.Timer_Timer(1);
        w.completeCheque();
        f.Quitter()->click();
        QCOMPARE(f.Message()->text(), QStringLiteral("Au revoir...\n") + prenom + QLatin1Char('.'));
        QVERIFY(f.sessionLine().isEmpty());
        QVERIFY(!f.grab().isNull());
        w.history().mnuProgression_Click();
        QVERIFY(!w.history().grab().isNull());

        // The saved history, read back by a real CSV reader: the same cells, row for row.
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("progression.csv"));
        w.services.prompts.saveFileAnswer = path;
        w.history().Sauvegarder_Click();
        const QList<QStringList> csv = readCsvWithPython(path);
        QCOMPARE(csv.size(), w.rows());
        QCOMPARE(csv.first(), HistoryModel::headerTexts() << QStringLiteral("Erreur"));
        for (int row = 1; row < w.rows(); ++row) {
            const HistoryRow &h = w.row(row);
            QCOMPARE(csv.at(row), QStringList({h.number, h.moment, h.event, h.duration,
                                               h.normal ? QStringLiteral("non") : QStringLiteral("oui")}));
        }
        QCOMPARE(csv.at(2).at(2), event);
        // The wrong drop is among the rows marked as errors (each red row is, above).
        QStringList errors;
        for (const QStringList &line : csv.mid(1))
            if (line.last() == QStringLiteral("oui"))
                errors << line.at(2);
        QVERIFY2(errors.contains(QStringLiteral("milliard")), qPrintable(errors.join(QLatin1Char('|'))));
    }

    void chequeLabels_data() { pupilName_data(); }

    void chequeLabels()
    {
        QFETCH(QString, text);
        const QString ordre = cleanLine(text);
        const QString ville = QStringLiteral("à ") + cleanLine(text);
        MainWindow w;
        FrmMain &f = *w.frm;
        auto openLabels = [&f] {
            f.menuAction(QStringLiteral("mnuLibelles"))->trigger();
            QWidget *dialog = shownWindow(QStringLiteral("frmLibelles"));
            if (!dialog)
                qFatal("the labels dialog did not open");
            return dialog;
        };

        QWidget *dialog = openLabels();
        dialog->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(text);
        dialog->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("à ") + text);
        dialog->findChild<QPushButton *>(QStringLiteral("OKButton"))->click();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);

        // Stored exactly, shown exactly on the next cheque, and offered again exactly.
        QSettingsStore store;
        QCOMPARE(store.Read(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ordre, QString()), ordre);
        QCOMPARE(store.Read(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ville, QString()), ville);
        w.newCheque();
        QCOMPARE(f.OrdreDe()->text(), ordre);
        QCOMPARE(f.Ville()->text(), ville);
        QVERIFY(!f.grab().isNull());
        dialog = openLabels();
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), ordre);
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), ville);
        QVERIFY(!dialog->grab().isNull());
    }

    // A store edited by hand: the labels are cleaned as they are read, on the
    // cheque, on the worksheet's labels and in the dialog.
    void storedLabels_data() { pupilName_data(); }
    void storedLabels()
    {
        QFETCH(QString, text);
        QSettingsStore store;
        store.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ordre, text);
        store.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ville, text);
        MainWindow w;
        FrmMain &f = *w.frm;
        w.newCheque();
        QCOMPARE(f.OrdreDe()->text(), cleanLine(text));
        QCOMPARE(f.Ville()->text(), cleanLine(text));
        f.menuAction(QStringLiteral("mnuLibelles"))->trigger();
        QWidget *dialog = shownWindow(QStringLiteral("frmLibelles"));
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), cleanLine(text));
        QCOMPARE(dialog->findChild<QLineEdit *>(QStringLiteral("Text2"))->text(), cleanLine(text));
    }

    // Typed or pasted into the field, the text is cleaned there and then.
    void cleanedAsTyped()
    {
        MainWindow w;
        w.frm->menuAction(QStringLiteral("mnuEleve"))->trigger();
        QWidget *dialog = shownWindow(QStringLiteral("frmEleve"));
        QVERIFY(dialog);
        auto *nom = dialog->findChild<QLineEdit *>(QStringLiteral("saisieNom"));
        nom->setFocus();
        QTest::keyClicks(nom, QStringLiteral("ab"));
        nom->insert(QStringLiteral("\u202Eli\nve"));  // what a paste does
        QTest::keyClicks(nom, QStringLiteral("z"));
        QCOMPARE(nom->text(), QStringLiteral("abli vez"));
    }
};

QTEST_MAIN(TestHostileNames)
#include "test_hostile_names.moc"
