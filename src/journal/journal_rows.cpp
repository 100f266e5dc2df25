// Pecunette — apprendre à remplir un chèque.
#include "journal_rows.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

QString dayInRange() { return QStringLiteral("substr(moment, 1, 10) BETWEEN ? AND ?"); }

QVariantList dayBounds(const DayRange &range)
{
    return {range.from.isValid() ? range.from.toString(Qt::ISODate) : QStringLiteral("0000-01-01"),
            range.to.isValid() ? range.to.toString(Qt::ISODate) : QStringLiteral("9999-12-31")};
}

PupilSummary pupilSummaryFrom(const QSqlQuery &q)
{
    PupilSummary s;
    s.nomKey = q.value(0).toString();
    s.prenomKey = q.value(1).toString();
    s.nom = q.value(2).toString();
    s.prenom = q.value(3).toString();
    s.seriesDone = q.value(4).toInt();
    s.cheques = q.value(5).toInt();
    s.errors = q.value(6).toInt();
    if (!q.value(7).isNull())
        s.lastMark = q.value(7).toDouble();
    if (!q.value(8).isNull())
        s.meanMark = q.value(8).toDouble();
    s.lastSeen = q.value(9).toString();
    return s;
}

SeriesSummary seriesSummaryFrom(const QSqlQuery &q)
{
    SeriesSummary s;
    int i = 0;
    s.nomKey = q.value(i++).toString();
    s.prenomKey = q.value(i++).toString();
    s.nom = q.value(i++).toString();
    s.prenom = q.value(i++).toString();
    s.session = q.value(i++).toString();
    s.series = q.value(i++).toInt();
    s.started = q.value(i++).toString();
    s.currency = q.value(i++).toString();
    s.maxAmount = q.value(i++).toDouble();
    s.chequesPerSeries = q.value(i++).toInt();
    s.cheques = q.value(i++).toInt();
    s.errors = q.value(i++).toInt();
    if (const QVariant v = q.value(i++); !v.isNull())
        s.mark = v.toDouble();
    s.duration = q.value(i++).toString();
    return s;
}

qint64 runStatements(QSqlDatabase &db, const QList<std::pair<QString, QVariantList>> &statements, QString &reason)
{
    qint64 changed = 0;
    for (const auto &[sql, values] : statements) {
        QSqlQuery step(db);
        step.prepare(sql);
        for (int i = 0; i < values.size(); ++i)
            step.bindValue(i, values.at(i));
        if (!step.exec()) {
            reason = step.lastError().text();
            return -1;
        }
        changed = step.numRowsAffected();
    }
    return changed;
}
