// Pecunette — apprendre à remplir un chèque.
// The progress history window, driven as the other windows drive it, on a fake clock.
#include "frm_progression.h"
#include "history_csv.h"
#include "test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace {

// An RFC 4180 reader, kept apart from the writer so that a round trip proves something.
QList<QStringList> parseCsv(const QString &text)
{
    QList<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"') && field.isEmpty()) {
            quoted = true;
            fieldStarted = true;
        } else if (c == QLatin1Char(',')) {
            record << field;
            field.clear();
            fieldStarted = false;
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) {
            record << field;
            records << record;
            record.clear();
            field.clear();
            fieldStarted = false;
            ++i;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !field.isEmpty() || !record.isEmpty()) {
        record << field;
        records << record;
    }
    return records;
}

QString cell(FrmProgression &w, int gridRow, int column)
{
    // Grid rows count the header as row 0, as callers of Rows() expect.
    return w.model().text(gridRow - 1, column);
}

QVariant foreground(FrmProgression &w, int gridRow, int column)
{
    return w.model().data(w.model().index(gridRow - 1, column), Qt::ForegroundRole);
}

const QColor Black(0, 0, 0);
const QColor Red(255, 0, 0);

}  // namespace

class TestProgression : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TestServices> ts;
    std::unique_ptr<ExerciseState> state;
    std::unique_ptr<FrmProgression> w;
    QDateTime launch;

    void checkRowColour(int gridRow, const QColor &colour)
    {
        for (int c = 1; c <= 3; ++c)
            QCOMPARE(foreground(*w, gridRow, c).value<QBrush>().color(), colour);
        // The number column keeps the header's look whatever the row says.
        QCOMPARE(foreground(*w, gridRow, 0).value<QBrush>().color(),
                 QGuiApplication::palette().color(QPalette::ButtonText));
    }

private Q_SLOTS:
    void initTestCase() { isolateSettings(); }

    void init()
    {
        ts = std::make_unique<TestServices>();
        state = std::make_unique<ExerciseState>();
        launch = ts->clock.current;
        w = std::make_unique<FrmProgression>(*state, ts->services);
    }

    void cleanup()
    {
        w->closeForUnload();
        w.reset();
        state.reset();
        ts.reset();
    }

    void startsHiddenWithHeaderAndLaunchRow()
    {
        QVERIFY(!w->isVisible());
        QCOMPARE(w->objectName(), QStringLiteral("frmProgression"));
        QCOMPARE(w->windowTitle(), QStringLiteral("Progression de l'exercice ..."));
        QCOMPARE(w->Rows(), 2);

        const QStringList header {QStringLiteral("N°"), QStringLiteral("Date"),
                                  QStringLiteral("Progression de l'exercice"), QStringLiteral("Durée")};
        for (int c = 0; c < 4; ++c)
            QCOMPARE(w->model().headerData(c, Qt::Horizontal).toString(), header.at(c));

        QCOMPARE(cell(*w, 1, 0), QStringLiteral("1"));
        QCOMPARE(cell(*w, 1, 1), QStringLiteral("09/12/2026 10:58:30"));
        QCOMPARE(cell(*w, 1, 2), QStringLiteral("Lancement du programme"));
        QCOMPARE(cell(*w, 1, 3), QString());
        for (int c = 1; c <= 3; ++c)
            QVERIFY(!foreground(*w, 1, c).isValid());
        QVERIFY(!state->HeureCourante.isValid());
        QVERIFY(!state->HeurePrecedente.isValid());
    }

    void layoutKeepsDesignNamesOrderAndRoom()
    {
        QCOMPARE(w->size(), QSize(592, 246));
        auto *grid = w->findChild<QTableView *>(QStringLiteral("MSFlexGrid1"));
        auto *label = w->findChild<QLabel *>(QStringLiteral("Label1"));
        auto *premierPlan = w->findChild<QCheckBox *>(QStringLiteral("PremierPlan"));
        auto *vider = w->findChild<QPushButton *>(QStringLiteral("Vider"));
        auto *sauvegarder = w->findChild<QPushButton *>(QStringLiteral("Sauvegarder"));
        auto *quitter = w->findChild<QPushButton *>(QStringLiteral("Quitter"));
        QVERIFY(grid && label && premierPlan && vider && sauvegarder && quitter);

        QCOMPARE(label->text(), QStringLiteral("Progression de..."));
        QCOMPARE(premierPlan->text(), QStringLiteral("Fenêtre de progression en premier plan"));
        QCOMPARE(vider->text(), QStringLiteral("&Vider"));
        QCOMPARE(sauvegarder->text(), QStringLiteral("&Sauvegarder"));
        QCOMPARE(quitter->text(), QStringLiteral("&Quitter"));

        // No caption may be cut by the fixed, design-sized geometry.
        for (QWidget *widget : std::initializer_list<QWidget *> {label, premierPlan}) {
            QVERIFY2(widget->sizeHint().width() <= widget->width(), qPrintable(widget->objectName()));
            QVERIFY2(widget->sizeHint().height() <= widget->height() + 2, qPrintable(widget->objectName()));
        }
        for (QPushButton *button : {vider, sauvegarder, quitter}) {
            const QString shown = QString(button->text()).remove(QLatin1Char('&'));
            QVERIFY2(button->fontMetrics().horizontalAdvance(shown) + 8 <= button->width(), qPrintable(shown));
            QVERIFY(button->fontMetrics().height() + 4 <= button->height());
        }

        // The columns share the grid as the window lays it out, when it is shown.
        w->mnuProgression_Click();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(grid->verticalHeader()->isHidden());
        QCOMPARE(grid->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QCOMPARE(grid->columnWidth(0), 40);
        // The moment must be readable whole, and the number column must stay in view.
        const QString moment = cell(*w, 1, 1);
        QVERIFY(grid->fontMetrics().horizontalAdvance(moment) + 6 <= grid->columnWidth(1));
        QVERIFY(grid->fontMetrics().horizontalAdvance(QStringLiteral("00:00:00")) + 6 <=
                grid->viewport()->width() - grid->columnViewportPosition(3));

        QList<QWidget *> tabOrder {quitter};
        for (QWidget *next = quitter->nextInFocusChain(); next != quitter; next = next->nextInFocusChain())
            if (next->focusPolicy() & Qt::TabFocus)
                tabOrder << next;
        QCOMPARE(tabOrder, (QList<QWidget *> {quitter, sauvegarder, vider, grid, premierPlan}));
    }

    // A wider window gives its room to the events, and an event too long for
    // its cell can still be read whole.
    void resizesAndLongEventsStayReadable()
    {
        const QString wording = QStringLiteral("Début de l'exercice : quatre-vingt-dix-sept mille sept cent "
                                               "soixante-dix-sept francs, écrit par un élève qui prend son temps");
        w->AjoutProgress(wording, true);
        w->mnuProgression_Click();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        auto *grid = w->findChild<QTableView *>(QStringLiteral("MSFlexGrid1"));
        const QModelIndex event = w->model().index(1, HistoryModel::EventColumn);
        QVERIFY(grid->fontMetrics().horizontalAdvance(wording) > grid->columnWidth(HistoryModel::EventColumn));
        QCOMPARE(w->model().data(event, Qt::ToolTipRole).toString(), wording);

        QVERIFY(w->minimumSizeHint().width() <= 592 && w->minimumSizeHint().height() <= 246);
        QVERIFY(w->maximumWidth() > 592 && w->maximumHeight() > 246);
        const int eventWidth = grid->columnWidth(HistoryModel::EventColumn);
        const QSize gridSize = grid->size();
        w->resize(900, 400);
        QCoreApplication::processEvents();
        QCOMPARE(grid->width() - gridSize.width(), 900 - 592);
        QCOMPARE(grid->height() - gridSize.height(), 400 - 246);
        QCOMPARE(grid->columnWidth(HistoryModel::EventColumn) - eventWidth, 900 - 592);
        // The columns still fill the grid exactly, with no sideways scrolling.
        QCOMPARE(grid->horizontalHeader()->length(), grid->viewport()->width());
        for (auto *button : w->findChildren<QPushButton *>())
            QVERIFY2(w->rect().contains(button->geometry()), qPrintable(button->objectName()));
    }

    void numbersEachRowByItsIndex()
    {
        w->AjoutProgress(QStringLiteral("Elève Dupont Marie"), true);
        w->SetProgress(QStringLiteral("Durée totale"), QStringLiteral("00:04:00"), true);
        w->AjoutProgress(QStringLiteral("Clique du bouton 'Fin'."), true);
        QCOMPARE(w->Rows(), 5);
        for (int r = 1; r < w->Rows(); ++r)
            QCOMPARE(cell(*w, r, 0), QString::number(r));
    }

    void wrongDropTwelveSecondsAfterChequeStart()
    {
        state->HeureDebut = state->HeurePrecedente = ts->clock.instant();
        w->AjoutProgress(QStringLiteral("Début de l'exercice : cent douze francs"), true);
        ts->clock.advance(12);
        w->AjoutProgress(QStringLiteral("cent treize"), false);

        QCOMPARE(w->Rows(), 4);
        QCOMPARE(cell(*w, 2, 2), QStringLiteral("Début de l'exercice : cent douze francs"));
        QCOMPARE(cell(*w, 2, 3), QStringLiteral("00:00:00"));
        checkRowColour(2, Black);
        QCOMPARE(cell(*w, 3, 1), QStringLiteral("09/12/2026 10:58:42"));
        QCOMPARE(cell(*w, 3, 2), QStringLiteral("cent treize"));
        QCOMPARE(cell(*w, 3, 3), QStringLiteral("00:00:12"));
        checkRowColour(3, Red);
        QCOMPARE(state->HeureCourante, ts->clock.instant());
        QCOMPARE(state->HeurePrecedente, ts->clock.instant());
    }

    void durationSincePreviousRow_data()
    {
        QTest::addColumn<qint64>("gapMs");
        QTest::addColumn<QString>("shown");
        QTest::newRow("65 s") << qint64(65'000) << QStringLiteral("00:01:05");
        QTest::newRow("an hour") << qint64(3'600'000) << QStringLiteral("01:00:00");
        QTest::newRow("25 hours keep their hours") << qint64(90'000'000) << QStringLiteral("25:00:00");
    }

    void durationSincePreviousRow()
    {
        QFETCH(qint64, gapMs);
        QFETCH(QString, shown);
        state->HeurePrecedente = ts->clock.instant();
        w->AjoutProgress(QStringLiteral("Début de l'exercice : un franc"), true);
        ts->clock.advanceMs(gapMs);
        w->AjoutProgress(QStringLiteral("un"), true);
        QCOMPARE(cell(*w, 3, 3), shown);
        checkRowColour(3, Black);
    }

    void rowBeforeAnyChequeRunsFromLaunch()
    {
        ts->clock.advance(95);
        w->AjoutProgress(QStringLiteral("Elève Dupont Marie"), true);
        // Measured from day zero it would read the time of day, 10:00:05.
        QCOMPARE(cell(*w, 2, 3), QStringLiteral("00:01:35"));
        ts->clock.advance(20);
        w->AjoutProgress(QStringLiteral("Clique du bouton 'Fin'."), true);
        QCOMPARE(cell(*w, 3, 3), QStringLiteral("00:00:20"));
    }

    void setProgressLeavesTheClockAlone()
    {
        state->HeureDebut = state->HeurePrecedente = ts->clock.instant();
        w->AjoutProgress(QStringLiteral("Début de l'exercice : dix francs"), true);
        ts->clock.advance(30);
        w->AjoutProgress(QStringLiteral("dix francs"), true);
        const Instant previous = state->HeurePrecedente;

        ts->clock.advance(5);
        state->HeureCourante = ts->clock.instant();
        w->SetProgress(QStringLiteral("Durée totale"), QStringLiteral("00:00:35"), true);
        QCOMPARE(cell(*w, 4, 2), QStringLiteral("Durée totale"));
        QCOMPARE(cell(*w, 4, 3), QStringLiteral("00:00:35"));
        checkRowColour(4, Black);
        QCOMPARE(state->HeurePrecedente, previous);

        ts->clock.advance(10);
        w->AjoutProgress(QStringLiteral("Clique du bouton 'Fin'."), true);
        QCOMPARE(cell(*w, 5, 3), QStringLiteral("00:00:15"));

        w->SetProgress(QStringLiteral("Série"), QStringLiteral("n'importe quoi"), false);
        checkRowColour(6, Red);
        QCOMPARE(cell(*w, 6, 3), QStringLiteral("n'importe quoi"));
    }

    void viderKeepsHeaderAndNewLaunchRow_data()
    {
        QTest::addColumn<int>("events");
        QTest::newRow("ten rows") << 8;
        QTest::newRow("right after start-up") << 0;
    }

    void viderKeepsHeaderAndNewLaunchRow()
    {
        QFETCH(int, events);
        state->HeurePrecedente = ts->clock.instant();
        for (int i = 0; i < events; ++i) {
            ts->clock.advance(3);
            w->AjoutProgress(QStringLiteral("événement %1").arg(i), i % 2 == 0);
        }
        QCOMPARE(w->Rows(), 2 + events);
        const Instant courante = state->HeureCourante;
        const Instant precedente = state->HeurePrecedente;

        ts->clock.advance(60);
        w->Vider_Click();
        QCOMPARE(w->Rows(), 2);
        QCOMPARE(cell(*w, 1, 0), QStringLiteral("1"));
        QCOMPARE(cell(*w, 1, 1), QStringLiteral("09/12/2026 %1").arg(ts->clock.now().time().toString(u"HH:mm:ss")));
        QCOMPARE(cell(*w, 1, 2), QStringLiteral("Lancement du programme"));
        QCOMPARE(cell(*w, 1, 3), QString());
        QVERIFY(!foreground(*w, 1, 2).isValid());
        QCOMPARE(state->HeureCourante, courante);
        QCOMPARE(state->HeurePrecedente, precedente);

        ts->clock.advance(1);
        w->AjoutProgress(QStringLiteral("un"), true);
        QCOMPARE(cell(*w, 2, 0), QStringLiteral("2"));
        // Still counted from the last event before the clearing, not from the new launch row.
        QCOMPARE(cell(*w, 2, 3), QStringLiteral("00:01:01"));
    }

    void quitterHidesAndRowsKeepComing()
    {
        w->mnuProgression_Click();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QTest::mouseClick(w->findChild<QPushButton *>(QStringLiteral("Quitter")), Qt::LeftButton);
        QVERIFY(!w->isVisible());

        for (int i = 0; i < 30; ++i)
            w->AjoutProgress(QStringLiteral("mot %1").arg(i), true);
        QCOMPARE(w->Rows(), 32);

        w->mnuProgression_Click();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QCOMPARE(w->Rows(), 32);
        auto *grid = w->findChild<QTableView *>(QStringLiteral("MSFlexGrid1"));
        const QModelIndex last = w->model().index(w->model().rowCount() - 1, 2);
        QCoreApplication::processEvents();  // the view follows the newest row once back in the event loop
        QVERIFY(grid->viewport()->rect().contains(grid->visualRect(last)));
        QCOMPARE(grid->currentIndex().row(), last.row());
        QCOMPARE(grid->columnViewportPosition(0), 0);

        // Rows added while it is shown scroll into view too.
        for (int i = 0; i < 30; ++i)
            w->AjoutProgress(QStringLiteral("encore %1").arg(i), false);
        const QModelIndex newest = w->model().index(w->model().rowCount() - 1, 2);
        QCoreApplication::processEvents();
        QVERIFY(grid->viewport()->rect().contains(grid->visualRect(newest)));
        QCOMPARE(grid->columnViewportPosition(0), 0);
    }

    void refusesCloseRequestsUntilUnload()
    {
        w->mnuProgression_Click();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        QVERIFY(!w->close());
        QVERIFY(w->isVisible());

        QCloseEvent request;
        QApplication::sendEvent(w.get(), &request);
        QVERIFY(!request.isAccepted());

        w->Quitter_Click();
        QVERIFY(!w->close());
        QVERIFY(!w->isVisible());
        QCOMPARE(w->Rows(), 2);

        w->mnuProgression_Click();
        w->closeForUnload();
        QVERIFY(!w->isVisible());
        QCloseEvent unload;
        QApplication::sendEvent(w.get(), &unload);
        QVERIFY(unload.isAccepted());
    }

    void hostileTextsStayOneCellAndSurviveCsv_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("inCsv");
        QTest::newRow("tab") << QStringLiteral("cent\tdeux") << QStringLiteral("cent\tdeux");
        QTest::newRow("line feed") << QStringLiteral("cent\ndeux") << QStringLiteral("cent\ndeux");
        QTest::newRow("CR LF") << QStringLiteral("cent\r\ndeux\r") << QStringLiteral("cent\r\ndeux\r");
        QTest::newRow("quotes") << QStringLiteral("dit \"cent\" \"\"") << QStringLiteral("dit \"cent\" \"\"");
        QTest::newRow("commas") << QStringLiteral("cent, deux,,") << QStringLiteral("cent, deux,,");
        QTest::newRow("formula") << QStringLiteral("=HYPERLINK(\"x\",\"y\")")
                                 << QStringLiteral("'=HYPERLINK(\"x\",\"y\")");
        QTest::newRow("plus") << QStringLiteral("+1") << QStringLiteral("'+1");
        QTest::newRow("minus") << QStringLiteral("-cent") << QStringLiteral("'-cent");
        QTest::newRow("at") << QStringLiteral("@SUM(A1)") << QStringLiteral("'@SUM(A1)");
        QTest::newRow("accents") << QStringLiteral("Elève Zoé Noël") << QStringLiteral("Elève Zoé Noël");
        const QString huge = QString(100'000, QLatin1Char('x')) + QStringLiteral("\t,\"\nfin");
        QTest::newRow("100,000 characters") << huge << huge;
    }

    void hostileTextsStayOneCellAndSurviveCsv()
    {
        QFETCH(QString, text);
        QFETCH(QString, inCsv);
        w->AjoutProgress(text, false);
        w->SetProgress(text, text, true);
        QCOMPARE(w->Rows(), 4);
        QCOMPARE(cell(*w, 2, 2), text);
        QCOMPARE(cell(*w, 3, 2), text);
        QCOMPARE(cell(*w, 3, 3), text);
        const QString shown = w->model().data(w->model().index(1, 2)).toString();
        QVERIFY(!shown.contains(QLatin1Char('\n')) && !shown.contains(QLatin1Char('\t')));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("progression.csv"));
        ts->prompts.saveFileAnswer = path;
        w->Sauvegarder_Click();
        QVERIFY(ts->prompts.shown.isEmpty());

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QList<QStringList> records = parseCsv(QString::fromUtf8(file.readAll()));
        QCOMPARE(records.size(), w->Rows());
        QCOMPARE(records.at(0), HistoryModel::headerTexts() << QStringLiteral("Erreur"));
        QCOMPARE(records.at(1),
                 (QStringList {QStringLiteral("1"), cell(*w, 1, 1), QStringLiteral("Lancement du programme"), QString(),
                               QStringLiteral("non")}));
        QCOMPARE(records.at(2), (QStringList {QStringLiteral("2"), cell(*w, 2, 1), inCsv, QStringLiteral("00:00:00"),
                                              QStringLiteral("oui")}));
        QCOMPARE(records.at(3),
                 (QStringList {QStringLiteral("3"), cell(*w, 3, 1), inCsv, inCsv, QStringLiteral("non")}));
    }

    void saveProposesDatedFileAndCancelWritesNothing()
    {
        ts->prompts.saveFileAnswer.clear();
        w->Sauvegarder_Click();
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(ts->prompts.proposedSavePath, QDir(documents).filePath(QStringLiteral("progression-2026-12-09.csv")));
        QVERIFY(ts->prompts.shown.isEmpty());
        QCOMPARE(w->Rows(), 2);
    }

    void saveFailureTellsAndKeepsOldFile_data()
    {
        QTest::addColumn<bool>("missingFolder");
        QTest::newRow("folder does not exist") << true;
        QTest::newRow("disk refuses the write") << false;
    }

    void saveFailureTellsAndKeepsOldFile()
    {
        QFETCH(bool, missingFolder);
        QTemporaryDir dir;
        const QString path = missingFolder ? dir.filePath(QStringLiteral("absent/progression.csv"))
                                           : dir.filePath(QStringLiteral("progression.csv"));
        const QByteArray old("N°,Date\r\nancienne séance\r\n");
        if (!missingFolder) {
            QFile earlier(path);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write(old);
        }
        w->AjoutProgress(QString(200'000, QLatin1Char('y')), true);
        ts->prompts.saveFileAnswer = path;

        // A file-size limit makes the write fail even for root, who ignores permissions.
        rlimit saved {};
        getrlimit(RLIMIT_FSIZE, &saved);
        const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
        if (!missingFolder) {
            rlimit tight = saved;
            tight.rlim_cur = 4096;
            QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
        }
        w->Sauvegarder_Click();
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previousHandler);

        QCOMPARE(ts->prompts.shown.size(), 1);
        const auto &box = ts->prompts.shown.first();
        QCOMPARE(box.title, QStringLiteral("Progression de l'exercice ..."));
        QCOMPARE(box.icon, Prompts::Icon::Critical);
        QVERIFY(!box.question);
        const QString start = QStringLiteral("Impossible d'enregistrer la progression dans le fichier\n%1.\n")
                                  .arg(QDir::toNativeSeparators(path));
        QVERIFY2(box.text.startsWith(start), qPrintable(box.text));
        QVERIFY(box.text.size() > start.size());

        if (missingFolder) {
            QVERIFY(!QFile::exists(path));
        } else {
            QFile earlier(path);
            QVERIFY(earlier.open(QIODevice::ReadOnly));
            QCOMPARE(earlier.readAll(), old);
        }
        // No half-written temporary file is left beside it.
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), missingFolder ? 0 : 1);
    }

    void premierPlanTogglesStayOnTop()
    {
        auto *premierPlan = w->findChild<QCheckBox *>(QStringLiteral("PremierPlan"));
        QVERIFY(premierPlan->isChecked());
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

        w->AjoutProgress(QStringLiteral("un"), true);
        w->mnuProgression_Click();
        QVERIFY(QTest::qWaitForWindowExposed(w.get()));
        w->move(140, 90);
        const QPoint where = w->pos();

        premierPlan->click();
        QVERIFY(!premierPlan->isChecked());
        QVERIFY(!w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(w->isVisible());
        QCOMPARE(w->pos(), where);
        QCOMPARE(w->Rows(), 3);

        w->Quitter_Click();
        premierPlan->click();
        QVERIFY(w->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(!w->isVisible());
        QCOMPARE(w->Rows(), 3);
    }
};

QTEST_MAIN(TestProgression)
#include "test_progression.moc"
