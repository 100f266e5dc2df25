// Pecunette — apprendre à remplir un chèque.
#include "classe_figures.h"

#include "cheque_rules.h"
#include "history_csv.h"

#include <QDateTime>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>

namespace {
constexpr double TrendStep = 1.0;  // points out of 20
constexpr int MarksBefore = 3;

bool isSeparator(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('-'); }

void appendLine(QString &out, const QStringList &fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += QLatin1Char(',');
        out += CsvField(fields.at(i));
    }
    out += QLatin1String("\r\n");
}

QString frenchNumber(double value) { return QLocale(QLocale::French, QLocale::France).toString(value, 'g', 15); }
}  // namespace

TrendReading trendOf(const QList<double> &marks)
{
    TrendReading reading;
    if (marks.size() < 2) {
        reading.explanation = QStringLiteral("Pas encore assez de séries notées pour une tendance (il en faut deux).");
        return reading;
    }
    const double last = marks.last();
    const qsizetype from = std::max<qsizetype>(0, marks.size() - 1 - MarksBefore);
    double sum = 0;
    for (qsizetype i = from; i < marks.size() - 1; ++i)
        sum += marks.at(i);
    const qsizetype count = marks.size() - 1 - from;
    const double before = sum / double(count);
    const double difference = last - before;
    const QString compared =
        QStringLiteral("Dernière note %1/20, moyenne des %2 précédente%3 %4/20")
            .arg(frenchMark(last), count == 1 ? QString() : QString::number(count),
                 count == 1 ? QString() : QStringLiteral("s"), frenchMark(std::round(before * 100) / 100));
    if (difference >= TrendStep) {
        reading.trend = Trend::Up;
        reading.arrow = QStringLiteral("↗");
        reading.explanation = compared + QStringLiteral(" : en progrès (un point ou plus).");
    } else if (difference <= -TrendStep) {
        reading.trend = Trend::Down;
        reading.arrow = QStringLiteral("↘");
        reading.explanation = compared + QStringLiteral(" : en baisse (un point ou plus).");
    } else {
        reading.trend = Trend::Flat;
        reading.arrow = QStringLiteral("→");
        reading.explanation = compared + QStringLiteral(" : stable (moins d'un point d'écart).");
    }
    return reading;
}

QString expectedWordAt(const QString &expected, const QString &wording)
{
    if (!expected.startsWith(wording))
        return {};
    qsizetype start = wording.size();
    if (start > 0 && start < expected.size() && !isSeparator(expected.at(start - 1)) &&
        !isSeparator(expected.at(start)))
        while (start > 0 && !isSeparator(expected.at(start - 1)))
            --start;
    while (start < expected.size() && isSeparator(expected.at(start)))
        ++start;
    qsizetype end = start;
    while (end < expected.size() && !isSeparator(expected.at(end)))
        ++end;
    return expected.mid(start, end - start);
}

QList<MissedBlock> missedBlocks(const QList<JournalEvent> &events)
{
    // What each session's cheque shows so far, rebuilt from its right drops.
    QHash<QString, QString> wording;
    QList<MissedBlock> groups;
    for (const JournalEvent &e : events) {
        if (e.kind == HistoryEventKind::ChequeStart) {
            wording.insert(e.session, QString());
        } else if (e.kind == HistoryEventKind::Drop && e.blockRight.has_value()) {
            if (*e.blockRight) {
                wording.insert(e.session, QString::fromStdString(
                                              WordingAfterRightDrop(e.expected.toStdString(), e.text.toStdString())));
                continue;
            }
            const QString word = expectedWordAt(e.expected, wording.value(e.session));
            auto found = std::find_if(groups.begin(), groups.end(), [&](const MissedBlock &g) {
                return g.expectedWord == word && g.dropped == e.block;
            });
            if (found == groups.end())
                groups << MissedBlock {word, e.block, 1};
            else
                found->count += 1;
        }
    }
    std::stable_sort(groups.begin(), groups.end(), [](const MissedBlock &a, const MissedBlock &b) {
        if (a.count != b.count)
            return a.count > b.count;
        if (a.expectedWord != b.expectedWord)
            return a.expectedWord < b.expectedWord;
        return a.dropped < b.dropped;
    });
    return groups;
}

QString frenchMark(const std::optional<double> &mark) { return mark ? frenchNumber(*mark) : QString(); }

QString frenchMoment(const QString &isoMoment)
{
    const QDateTime moment = QDateTime::fromString(isoMoment, Qt::ISODate);
    return moment.isValid() ? moment.toString(QStringLiteral("dd/MM/yyyy HH:mm")) : isoMoment;
}

QByteArray classCsv(const QList<SeriesSummary> &series)
{
    QString out;
    appendLine(out,
               {QStringLiteral("Nom"), QStringLiteral("Prénom"), QStringLiteral("Date"), QStringLiteral("Monnaie"),
                QStringLiteral("Montant maximum"), QStringLiteral("Chèques par série"), QStringLiteral("Chèques faits"),
                QStringLiteral("Erreurs"), QStringLiteral("Note sur 20"), QStringLiteral("Durée")});
    for (const SeriesSummary &s : series)
        appendLine(out, {s.nom, s.prenom, frenchMoment(s.started), s.currency, frenchNumber(s.maxAmount),
                         QString::number(s.chequesPerSeries), QString::number(s.cheques), QString::number(s.errors),
                         frenchMark(s.mark), s.duration});
    return out.toUtf8();
}

QByteArray pupilCsv(const QList<JournalEvent> &events)
{
    QString out;
    appendLine(out, {QStringLiteral("Nom"), QStringLiteral("Prénom"), QStringLiteral("Date"), QStringLiteral("Série"),
                     QStringLiteral("Évènement"), QStringLiteral("Durée"), QStringLiteral("Montant"),
                     QStringLiteral("Bloc posé"), QStringLiteral("Note sur 20"), ErrorColumnTitle()});
    for (const JournalEvent &e : events)
        appendLine(out, {e.nom, e.prenom, frenchMoment(e.moment), e.series > 0 ? QString::number(e.series) : QString(),
                         e.text, e.duration, e.amount ? QString::number(*e.amount) : QString(), e.block,
                         frenchMark(e.mark), e.normal ? QStringLiteral("non") : QStringLiteral("oui")});
    return out.toUtf8();
}
