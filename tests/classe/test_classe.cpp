// Pecunette — apprendre à remplir un chèque.
// The class overview against a journal written by script: the figures per
// pupil, over a span of days, the trend, the missed words, the plot as drawn,
// the teacher's corrections with their row counts, and the exports read back
// by Python's csv module.
#include "classe_figures.h"
#include "classe_journal_script.h"
#include "frm_classe.h"
#include "frm_suivi_eleve.h"
#include "layout_checks.h"
#include "marks_plot.h"
#include "test_support.h"

#include <QDateEdit>
#include <QJsonArray>
#include <QJsonDocument>
#include <QProcess>
#include <QSortFilterProxyModel>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>

namespace {
// Léa (three spellings of one pupil) gets better, Tom holds, Zoé drops.
void writeClass(ScriptedJournal &j)
{
    j.launch(QDate(2026, 12, 1));
    j.series({QStringLiteral("Dupont"), QStringLiteral("Léa"), QDate(2026, 12, 1), 10, 3});
    j.series({QStringLiteral("Martin"), QStringLiteral("Tom"), QDate(2026, 12, 2), 16, 0});
    j.series({QStringLiteral("Bernard"), QStringLiteral("Zoé"), QDate(2026, 12, 3), 18, 1});
    j.series({QStringLiteral("  DUPONT "), QStringLiteral("léa"), QDate(2026, 12, 5), 12, 2});
    j.series({QStringLiteral("Bernard"), QStringLiteral("Zoé"), QDate(2026, 12, 7), 12, 4});
    j.series({QStringLiteral("Martin"), QStringLiteral("Tom"), QDate(2026, 12, 8), 15.5, 1});
    j.series({QStringLiteral("Dupont"), QStringLiteral("Léa"), QDate(2026, 12, 9), 15, 1});
    j.finish();
}

QString pythonCsv(const QString &path)
{
    QProcess python;
    python.start(QStringLiteral("python3"),
                 {QStringLiteral("-c"),
                  QStringLiteral("import csv, json, sys\n"
                                 "with open(sys.argv[1], newline='', encoding='utf-8') as f:\n"
                                 "    print(json.dumps(list(csv.reader(f))))\n"),
                  path});
    python.waitForFinished(30000);
    return QString::fromUtf8(python.readAllStandardOutput());
}

QList<QStringList> readCsv(const QString &path)
{
    QList<QStringList> rows;
    for (const QJsonValue &row : QJsonDocument::fromJson(pythonCsv(path).toUtf8()).array()) {
        QStringList cells;
        for (const QJsonValue &c : row.toArray())
            cells << c.toString();
        rows << cells;
    }
    return rows;
}

int rowOf(FrmClasse &w, const QString &name)
{
    for (int r = 0; r < w.lignes()->rowCount(); ++r)
        if (w.lignes()->index(r, FrmClasse::NameColumn).data().toString() == name)
            return r;
    return -1;
}

QStringList line(FrmClasse &w, int row)
{
    QStringList cells;
    for (int c = 0; c < FrmClasse::ColumnCount; ++c)
        cells << w.lignes()->index(row, c).data().toString();
    return cells;
}
}  // namespace

class TestClasse : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }

    void summaryPerPupilAndOverADayRange_data()
    {
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QStringList>("lines");  // "nom|prénom|séries|chèques|erreurs|dernière|moyenne"
        QTest::newRow("every day") << QDate() << QDate()
                                   << QStringList {"Bernard|Zoé|2|2|5|12|15", "Dupont|Léa|3|3|6|15|12.3333",
                                                   "Martin|Tom|2|2|1|15.5|15.75"};
        QTest::newRow("from the 4th to the 8th")
            << QDate(2026, 12, 4) << QDate(2026, 12, 8)
            << QStringList {"Bernard|Zoé|1|1|4|12|12", "  DUPONT |léa|1|1|2|12|12", "Martin|Tom|1|1|1|15.5|15.5"};
        QTest::newRow("one day") << QDate(2026, 12, 9) << QDate(2026, 12, 9) << QStringList {"Dupont|Léa|1|1|1|15|15"};
        QTest::newRow("before any row") << QDate(2026, 11, 1) << QDate(2026, 11, 30) << QStringList {};
        QTest::newRow("open start") << QDate() << QDate(2026, 12, 2)
                                    << QStringList {"Dupont|Léa|1|1|3|10|10", "Martin|Tom|1|1|0|16|16"};
    }
    void summaryPerPupilAndOverADayRange()
    {
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QStringList, lines);
        ScriptedJournal j;
        QVERIFY(j.opened);
        writeClass(j);
        QStringList got;
        for (const PupilSummary &s : j.journal.classSummary(DayRange {from, to}))
            got << QStringLiteral("%1|%2|%3|%4|%5|%6|%7")
                       .arg(s.nom, s.prenom)
                       .arg(s.seriesDone)
                       .arg(s.cheques)
                       .arg(s.errors)
                       .arg(s.lastMark.value_or(-1))
                       .arg(std::round(s.meanMark.value_or(-1) * 10000) / 10000);
        QCOMPARE(got, lines);
        if (!from.isValid() && !to.isValid())
            QCOMPARE(j.journal.classSummary(DayRange {}), j.journal.classSummary());
    }

    void seriesOfTheClass()
    {
        ScriptedJournal j;
        writeClass(j);
        const QList<SeriesSummary> all = j.journal.seriesOfClass({});
        QCOMPARE(all.size(), 7);
        QStringList got;
        for (const SeriesSummary &s : all)
            got << QStringLiteral("%1 %2 %3 %4 %5")
                       .arg(s.nomKey)
                       .arg(s.cheques)
                       .arg(s.errors)
                       .arg(s.mark.value_or(-1))
                       .arg(s.duration);
        QCOMPARE(got, (QStringList {"bernard 1 1 18 00:01:30", "bernard 1 4 12 00:01:30", "dupont 1 3 10 00:01:30",
                                    "dupont 1 2 12 00:01:30", "dupont 1 1 15 00:01:30", "martin 1 0 16 00:01:30",
                                    "martin 1 1 15.5 00:01:30"}));
        QCOMPARE(all.at(2).started.left(10), QStringLiteral("2026-12-01"));
        QCOMPARE(j.journal.seriesOfClass({QDate(2026, 12, 9), QDate(2026, 12, 9)}).size(), 1);
    }

    void trend_data()
    {
        QTest::addColumn<QList<double>>("marks");
        QTest::addColumn<int>("trend");
        QTest::addColumn<QString>("arrow");
        QTest::newRow("none") << QList<double> {} << int(Trend::None) << "";
        QTest::newRow("one mark") << QList<double> {12} << int(Trend::None) << "";
        QTest::newRow("better") << QList<double> {10, 12, 15} << int(Trend::Up) << "↗";
        QTest::newRow("just one point up") << QList<double> {10, 11} << int(Trend::Up) << "↗";
        QTest::newRow("half a point down") << QList<double> {16, 15.5} << int(Trend::Flat) << "→";
        QTest::newRow("worse") << QList<double> {18, 12} << int(Trend::Down) << "↘";
        QTest::newRow("one point down") << QList<double> {10, 10, 10, 10, 9} << int(Trend::Down) << "↘";
        // Only the three marks before the last count: the old 5 is forgotten.
        QTest::newRow("three before") << QList<double> {5, 15, 15, 15, 14} << int(Trend::Down) << "↘";
    }
    void trend()
    {
        QFETCH(QList<double>, marks);
        QFETCH(int, trend);
        QFETCH(QString, arrow);
        const TrendReading reading = trendOf(marks);
        QCOMPARE(int(reading.trend), trend);
        QCOMPARE(reading.arrow, arrow);
        QVERIFY(!reading.explanation.isEmpty());
    }

    void expectedWord_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("wording");
        QTest::addColumn<QString>("word");
        QTest::newRow("start") << "vingt et un francs"
                               << ""
                               << "vingt";
        QTest::newRow("next word") << "deux cents francs"
                                   << "deux"
                                   << "cents";
        QTest::newRow("inside a word") << "deux cents francs"
                                       << "deux cent"
                                       << "cents";
        QTest::newRow("after a hyphen") << "quatre-vingts francs"
                                        << "quatre-"
                                        << "vingts";
        QTest::newRow("gone astray") << "deux cents francs"
                                     << "trois"
                                     << "";
    }
    void expectedWord()
    {
        QFETCH(QString, expected);
        QFETCH(QString, wording);
        QFETCH(QString, word);
        QCOMPARE(expectedWordAt(expected, wording), word);
    }

    void missedWordsAreGroupedByExpectedAndDroppedBlock()
    {
        ScriptedJournal j;
        writeClass(j);
        const QList<MissedBlock> missed =
            missedBlocks(j.journal.eventsOfPupil(QStringLiteral("dupont"), QStringLiteral("LÉA")));
        QCOMPARE(missed, (QList<MissedBlock> {{QStringLiteral("cents"), QStringLiteral("francs"), 6}}));
        // A second kind of mistake, on another cheque: "cent" where "cents" is to end.
        QList<JournalEvent> events = j.journal.eventsOfPupil(QStringLiteral("Martin"), QStringLiteral("Tom"));
        JournalEvent extra = events.last();
        extra.kind = HistoryEventKind::Drop;
        extra.expected = QStringLiteral("deux cents francs");
        extra.text = QStringLiteral("deux cent cent");
        extra.block = QStringLiteral("cent");
        extra.blockRight = false;
        JournalEvent right = extra;
        right.text = QStringLiteral("deux cent");
        right.blockRight = true;
        JournalEvent start = extra;
        start.kind = HistoryEventKind::ChequeStart;
        events << start << right << extra << extra;
        QCOMPARE(missedBlocks(events), (QList<MissedBlock> {{QStringLiteral("cents"), QStringLiteral("cent"), 2},
                                                            {QStringLiteral("cents"), QStringLiteral("francs"), 1}}));
    }

    void theWindowShowsOneSortableLinePerPupil()
    {
        ScriptedJournal j;
        writeClass(j);
        TestServices s;
        TeacherAttempts attempts;
        auto store = std::make_unique<SqliteJournal>();
        QVERIFY(store->open(j.path, s.clock.now()).ok);
        FrmClasse w(s.services, std::move(store), attempts);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        // From the journal's first day to today (the fake clock's 9 December).
        QCOMPARE(w.du()->date(), QDate(2026, 12, 1));
        QCOMPARE(w.au()->date(), QDate(2026, 12, 9));
        QCOMPARE(w.lignes()->rowCount(), 3);
        QCOMPARE(line(w, 0), (QStringList {"Bernard Zoé", "2", "2", "5", "12", "15", "↘", "07/12/2026 09:05"}));
        QCOMPARE(line(w, 1).mid(0, 7), (QStringList {"Dupont Léa", "3", "3", "6", "15", "12,33", "↗"}));
        QCOMPARE(line(w, 2).mid(0, 7), (QStringList {"Martin Tom", "2", "2", "1", "15,5", "15,75", "→"}));
        QVERIFY(w.lignes()
                    ->index(1, FrmClasse::TrendColumn)
                    .data(Qt::ToolTipRole)
                    .toString()
                    .contains(QStringLiteral("progrès")));
        // Sorted as numbers, not as text: by errors, then by mean, falling.
        w.grille()->sortByColumn(FrmClasse::ErrorsColumn, Qt::AscendingOrder);
        QCOMPARE(line(w, 0).first(), QStringLiteral("Martin Tom"));
        QCOMPARE(line(w, 2).first(), QStringLiteral("Dupont Léa"));
        w.grille()->sortByColumn(FrmClasse::MeanColumn, Qt::DescendingOrder);
        QCOMPARE(line(w, 0).first(), QStringLiteral("Martin Tom"));
        QCOMPARE(w.pupilAt(0)->nomKey, QStringLiteral("martin"));
        // The days chosen are the days counted, trend included.
        w.du()->setDate(QDate(2026, 12, 4));
        w.au()->setDate(QDate(2026, 12, 8));
        w.grille()->sortByColumn(FrmClasse::NameColumn, Qt::AscendingOrder);
        QCOMPARE(w.lignes()->rowCount(), 3);
        QCOMPARE(line(w, 1).mid(0, 7), (QStringList {"DUPONT léa", "1", "1", "2", "12", "12", ""}));
        w.du()->setDate(QDate(2026, 12, 9));
        w.au()->setDate(QDate(2026, 12, 8));
        QCOMPARE(w.lignes()->rowCount(), 0);
        w.cmdToutes_Click();
        QCOMPARE(w.lignes()->rowCount(), 3);

        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QStringList faults = layout_checks::layoutFaults(&w);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        if (qEnvironmentVariableIsSet("PECUNETTE_IMAGES"))
            w.grab().save(qEnvironmentVariable("PECUNETTE_IMAGES") + QStringLiteral("/classe.png"));
    }

    void thePlotPutsEachMarkWhereItSays()
    {
        ScriptedJournal j;
        writeClass(j);
        TestServices s;
        FrmSuiviEleve w(s.services, j.journal, j.journal.classSummary().at(1), DayRange {});
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        MarksPlot *plot = w.courbe();
        QCOMPARE(plot->marks().size(), 3);
        const QImage image = plot->grab().toImage();
        const QRectF area = plot->plotArea();
        const QList<double> marks {10, 12, 15};
        double lastX = -1;
        for (int i = 0; i < marks.size(); ++i) {
            const QPointF at = plot->pointFor(i);
            QCOMPARE(at.y(), area.bottom() - area.height() * marks.at(i) / 20.0);
            QVERIFY(at.x() > lastX);
            lastX = at.x();
            const qreal ratio = image.devicePixelRatio();
            QCOMPARE(image.pixelColor((at * ratio).toPoint()), MarksPlot::pointColour());
        }
        // Halfway between 10 and 20 above the first point, nothing of it is drawn.
        const QPointF above(plot->pointFor(0).x(), area.bottom() - area.height() * 0.9);
        QVERIFY(image.pixelColor(above.toPoint()) != MarksPlot::pointColour());

        QCOMPARE(w.motsManques()->rowCount(), 1);
        QCOMPARE(w.motsManques()->item(0, 0)->text(), QStringLiteral("« cents »"));
        QCOMPARE(w.motsManques()->item(0, 1)->text(), QStringLiteral("« francs »"));
        QCOMPARE(w.motsManques()->item(0, 2)->text(), QStringLiteral("6"));
        QVERIFY(w.motsManques()->item(0, 0)->toolTip().contains(QStringLiteral("attendu « cents », posé « francs »")));
        // Every row, the errors in red.
        QCOMPARE(w.historique()->rowCount(), w.events().size());
        QCOMPARE(w.events().size(), 3 * 8 + 6);  // eight rows a series, and the wrong drops
        int red = 0;
        for (int r = 0; r < w.historique()->rowCount(); ++r)
            if (w.historique()->item(r, 2)->foreground().color() == QColor(0xc0, 0, 0))
                ++red;
        QCOMPARE(red, 6);
        const QStringList faults = layout_checks::layoutFaults(&w);
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(QLatin1Char('\n'))));
        if (qEnvironmentVariableIsSet("PECUNETTE_IMAGES"))
            w.grab().save(qEnvironmentVariable("PECUNETTE_IMAGES") + QStringLiteral("/suivi.png"));
    }

    void renameMergeAndDeleteSayHowManyRows()
    {
        ScriptedJournal j;
        writeClass(j);
        TestServices s;
        TeacherAttempts attempts;
        auto store = std::make_unique<SqliteJournal>();
        QVERIFY(store->open(j.path, s.clock.now()).ok);
        FrmClasse w(s.services, std::move(store), attempts);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        JournalStore &journal = w.journal();
        const qint64 all = j.rows();
        QCOMPARE(journal.rowsOfPupil(QStringLiteral("Dupont"), QStringLiteral("Léa")), 3 * 8 + 6);
        QCOMPARE(journal.rowsOfPupil(QStringLiteral("Martin"), QStringLiteral("Tom")), 2 * 8 + 1);

        // Rename: every row, under the new keys.
        QVERIFY(w.renommer(rowOf(w, QStringLiteral("Martin Tom")), QStringLiteral(" Martin-Durand "),
                           QStringLiteral("Tom")));
        QCOMPARE(journal.rowsOfPupil(QStringLiteral("martin-durand"), QStringLiteral("TOM")), 2 * 8 + 1);
        QCOMPARE(journal.rowsOfPupil(QStringLiteral("Martin"), QStringLiteral("Tom")), 0);
        QCOMPARE(rowOf(w, QStringLiteral("Martin-Durand Tom")), 2);

        // Renaming onto another pupil asks first; Annuler changes nothing.
        s.prompts.answers = {Prompts::Answer::Cancel};
        QVERIFY(!w.renommer(rowOf(w, QStringLiteral("Bernard Zoé")), QStringLiteral("dupont"), QStringLiteral("léa")));
        QVERIFY(s.prompts.shown.last().text.contains(QStringLiteral("Dupont Léa")));
        QCOMPARE(journal.rowsOfPupil(QStringLiteral("Bernard"), QStringLiteral("Zoé")), 2 * 8 + 5);

        // Merge: the confirmation counts the rows; they take the other's names.
        s.prompts.shown.clear();
        s.prompts.answers = {Prompts::Answer::Ok};
        QVERIFY(w.fusionner(rowOf(w, QStringLiteral("Bernard Zoé")), rowOf(w, QStringLiteral("Dupont Léa"))));
        QVERIFY2(s.prompts.shown.first().text.contains(QStringLiteral("Les 21 ligne(s) de « Bernard Zoé »")),
                 qPrintable(s.prompts.shown.first().text));
        QCOMPARE(journal.rowsOfPupil(QStringLiteral("Dupont"), QStringLiteral("Léa")), 3 * 8 + 6 + 2 * 8 + 5);
        QCOMPARE(journal.rowsOfPupil(QStringLiteral("Bernard"), QStringLiteral("Zoé")), 0);
        QCOMPARE(w.lignes()->rowCount(), 2);
        QCOMPARE(line(w, 0).mid(0, 4), (QStringList {"Dupont Léa", "5", "5", "11"}));

        // Delete: Annuler keeps every row; OK removes the pupil's, and only theirs.
        s.prompts.shown.clear();
        s.prompts.answers = {Prompts::Answer::Cancel};
        QVERIFY(!w.supprimer(0));
        QVERIFY2(s.prompts.shown.first().text.contains(QStringLiteral("ses 51 ligne(s)")),
                 qPrintable(s.prompts.shown.first().text));
        QCOMPARE(journal.events().size(), all);
        s.prompts.answers = {Prompts::Answer::Ok};
        QVERIFY(w.supprimer(0));
        QCOMPARE(journal.events().size(), all - 51);
        QCOMPARE(w.lignes()->rowCount(), 1);
        // The rows of no one stay.
        QCOMPARE(journal.events().first().kind, HistoryEventKind::Launch);

        // On the store alone: merging a pupil with themselves is refused.
        QCOMPARE(
            journal.mergePupils(QStringLiteral("a"), QStringLiteral("b"), QStringLiteral(" A"), QStringLiteral("B ")),
            -1);
        QVERIFY(!journal.lastError().isEmpty());
    }

    // A pupil typed with a name alone is found when asked for with a null first name.
    void aMissingFirstNameMatchesTheEmptyOne()
    {
        ScriptedJournal j;
        j.series({QStringLiteral("Seul"), QString(), QDate(2026, 12, 9), 20, 0});
        j.finish();
        QCOMPARE(j.journal.eventsOfPupil(QStringLiteral("seul"), QString()).size(), 8);
        QCOMPARE(j.journal.eventsOfPupil(QStringLiteral("seul"), QString(), DayRange {}).size(), 8);
        QCOMPARE(j.journal.rowsOfPupil(QStringLiteral("seul"), QString()), 8);
        QCOMPARE(j.journal.renamePupil(QStringLiteral("seul"), QString(), QStringLiteral("Seule"), QString()), 8);
        QCOMPARE(j.journal.deletePupil(QStringLiteral("seule"), QString()), 8);
    }

    void theExportsReadBack()
    {
        ScriptedJournal j;
        writeClass(j);
        // A name a spreadsheet would take for a formula stays text.
        j.series(
            {QStringLiteral("=HYPERLINK(\"http://x\")"), QStringLiteral("Ève, \"la\""), QDate(2026, 12, 9), 20, 0});
        j.finish();
        TestServices s;
        TeacherAttempts attempts;
        auto store = std::make_unique<SqliteJournal>();
        QVERIFY(store->open(j.path, s.clock.now()).ok);
        FrmClasse w(s.services, std::move(store), attempts);
        w.setAttribute(Qt::WA_DeleteOnClose, false);
        QTemporaryDir out;
        const QString classFile = out.filePath(QStringLiteral("classe.csv"));
        s.prompts.saveFileAnswer = classFile;
        w.cmdExporter_Click();
        QVERIFY(s.prompts.proposedSavePath.endsWith(QStringLiteral("classe-2026-12-09.csv")));
        const QList<QStringList> rows = readCsv(classFile);
        QCOMPARE(rows.size(), 1 + 8);
        QCOMPARE(rows.first(), (QStringList {"Nom", "Prénom", "Date", "Monnaie", "Montant maximum", "Chèques par série",
                                             "Chèques faits", "Erreurs", "Note sur 20", "Durée"}));
        QCOMPARE(rows.at(1), (QStringList {"'=HYPERLINK(\"http://x\")", "Ève, \"la\"", "09/12/2026 09:08", "franc",
                                           "999", "1", "1", "0", "20", "00:01:30"}));
        QCOMPARE(rows.at(3),
                 (QStringList {"Bernard", "Zoé", "07/12/2026 09:04", "franc", "999", "1", "1", "4", "12", "00:01:30"}));
        QCOMPARE(rows.at(8).at(8), QStringLiteral("15,5"));
        // Over the days chosen only.
        w.du()->setDate(QDate(2026, 12, 9));
        QVERIFY(w.exporterClasse(classFile));
        QCOMPARE(readCsv(classFile).size(), 1 + 2);

        // The pupil's file: every row, with the error column.
        w.voir(rowOf(w, QStringLiteral("Dupont Léa")));
        QVERIFY(w.suivi());
        const QString pupilFile = out.filePath(QStringLiteral("lea.csv"));
        s.prompts.saveFileAnswer = pupilFile;
        w.suivi()->cmdExporter_Click();
        QVERIFY(s.prompts.proposedSavePath.endsWith(QStringLiteral("Dupont-Léa-2026-12-09.csv")));
        const QList<QStringList> pupilRows = readCsv(pupilFile);
        QCOMPARE(pupilRows.size(), 1 + 9);  // the 9th's one series, with its wrong drop
        QCOMPARE(pupilRows.first().last(), QStringLiteral("Erreur"));
        int errors = 0;
        for (const QStringList &r : pupilRows.mid(1))
            errors += r.last() == QStringLiteral("oui");
        QCOMPARE(errors, 1);
        QCOMPARE(pupilRows.at(3).mid(4, 4), (QStringList {"deux francs", "", "200", "francs"}));

        // A file that cannot be written is told, not taken for done.
        s.prompts.shown.clear();
        QVERIFY(!w.exporterClasse(out.filePath(QStringLiteral("pas/de/dossier.csv"))));
        QCOMPARE(s.prompts.shown.size(), 1);
        QVERIFY(s.prompts.shown.first().text.contains(QStringLiteral("n'a pas pu être écrit")));
    }
};

QTEST_MAIN(TestClasse)
#include "test_classe.moc"
