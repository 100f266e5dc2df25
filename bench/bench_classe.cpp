// Pecunette — apprendre à remplir un chèque.
// The class overview's reading of a full year's journal: 30 pupils, 200
// series each, every row a real SQLite row. Goal: under 200 ms to fill the
// window's figures (summary, series for the trends) over the whole span.
#include "classe_figures.h"
#include "journal_recorder.h"
#include "sqlite_journal.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    SqliteJournal journal;
    if (!journal.open(dir.filePath(QStringLiteral("journal.sqlite")), QDateTime::currentDateTime()).ok)
        return 1;
    JournalSession session;
    constexpr int Pupils = 30;
    constexpr int Series = 200;
    qint64 rows = 0;
    QElapsedTimer writing;
    writing.start();
    const QDate first(2026, 9, 1);
    auto add = [&](JournalEvent e) {
        session.stamp(e, rows);
        journal.append(e);
        ++rows;
    };
    for (int s = 0; s < Series; ++s)
        for (int p = 0; p < Pupils; ++p) {
            JournalEvent e;
            e.nom = QStringLiteral("Nom%1").arg(p);
            e.prenom = QStringLiteral("Prénom");
            e.nomKey = matchingKey(e.nom);
            e.prenomKey = matchingKey(e.prenom);
            e.series = s + 1;
            e.currency = QStringLiteral("franc");
            e.maxAmount = 999;
            e.chequesPerSeries = 5;
            e.moment = QDateTime(first.addDays(s * 300 / Series), QTime(9, 0).addSecs(p * 60), Qt::OffsetFromUTC, 3600)
                           .toString(Qt::ISODate);
            e.expected = QStringLiteral("deux cents francs");
            for (int c = 0; c < 5; ++c) {
                e.kind = HistoryEventKind::ChequeStart;
                add(e);
                e.kind = HistoryEventKind::Drop;
                e.blockRight = (s + p + c) % 3 != 0;
                e.block = QStringLiteral("cent");
                e.text = QStringLiteral("deux cent");
                add(e);
                e.blockRight.reset();
                e.kind = HistoryEventKind::ChequeEnd;
                add(e);
            }
            e.kind = HistoryEventKind::Mark;
            e.mark = 10 + (s * p) % 11;
            add(e);
            e.mark.reset();
            e.kind = HistoryEventKind::TotalDuration;
            e.duration = QStringLiteral("00:02:00");
            add(e);
        }
    std::printf("journal: %lld rows written in %lld ms\n", static_cast<long long>(rows),
                static_cast<long long>(writing.elapsed()));

    QList<qint64> times;
    for (int run = 0; run < 7; ++run) {
        QElapsedTimer t;
        t.start();
        const QList<PupilSummary> summary = journal.classSummary(DayRange {});
        QHash<QString, QList<double>> marks;
        for (const JournalEvent &e : journal.eventsOfKind(HistoryEventKind::Mark, DayRange {}))
            if (e.mark)
                marks[e.nomKey + QChar(0x1f) + e.prenomKey] << *e.mark;
        int arrows = 0;
        for (const PupilSummary &p : summary)
            arrows += trendOf(marks.value(p.nomKey + QChar(0x1f) + p.prenomKey)).trend != Trend::None;
        times << t.elapsed();
        if (summary.size() != Pupils || arrows != Pupils)
            return 2;
    }
    std::sort(times.begin(), times.end());
    std::printf("overview of %d pupils x %d series: median %lld ms, best %lld ms, worst %lld ms (goal < 200 ms)\n",
                Pupils, Series, static_cast<long long>(times.at(times.size() / 2)),
                static_cast<long long>(times.first()), static_cast<long long>(times.last()));
    QElapsedTimer t;
    t.start();
    journal.classSummary(DayRange {});
    std::printf("  of which the summary alone: %lld ms\n", static_cast<long long>(t.elapsed()));
    t.start();
    const qsizetype series = journal.seriesOfClass(DayRange {}).size();
    std::printf("class export's series (%lld): %lld ms\n", static_cast<long long>(series),
                static_cast<long long>(t.elapsed()));
    t.start();
    const auto range = journal.classSummary(DayRange {QDate(2026, 11, 1), QDate(2026, 12, 31)});
    std::printf("overview over two months: %lld ms (%lld pupils)\n", static_cast<long long>(t.elapsed()),
                static_cast<long long>(range.size()));
    return 0;
}
