// Pecunette — apprendre à remplir un chèque.
// A class journal written by script through SqliteJournal: pupils, series
// with known marks and errors, on known days.
#pragma once

#include "journal_recorder.h"
#include "sqlite_journal.h"

#include <QTemporaryDir>

// One cheque of "deux cents francs": "deux", then `wrong` times "francs"
// too early (the word to come was "cents"), then "cent", "s", "francs".
struct ScriptedSeries {
    QString nom;
    QString prenom;
    QDate day;
    double mark = 0;
    int wrong = 0;  // wrong drops in the series
    QString duration = QStringLiteral("00:01:30");
};

class ScriptedJournal {
public:
    ScriptedJournal()
    {
        path = dir.filePath(QStringLiteral("journal.sqlite"));
        opened = journal.open(path, QDateTime(QDate(2026, 12, 11), QTime(15, 0))).ok;
    }

    // Rows before anyone is identified belong to no pupil.
    void launch(const QDate &day)
    {
        add(day, {}, {}, HistoryEventKind::Launch, QStringLiteral("Lancement du programme"));
    }

    void series(const ScriptedSeries &s)
    {
        const QString expected = QStringLiteral("deux cents francs");
        m_series += 1;
        auto drop = [&](const QString &text, const QString &block, bool right) {
            JournalEvent &e = add(s.day, s.nom, s.prenom, HistoryEventKind::Drop, text);
            e.expected = expected;
            e.amount = 200;
            e.block = block;
            e.blockRight = right;
            e.normal = right;
            flush();
        };
        JournalEvent &start =
            add(s.day, s.nom, s.prenom, HistoryEventKind::ChequeStart, QStringLiteral("Début de l'exercice : 200 F"));
        start.expected = expected;
        start.amount = 200;
        flush();
        drop(QStringLiteral("deux"), QStringLiteral("deux"), true);
        for (int i = 0; i < s.wrong; ++i)
            drop(QStringLiteral("deux francs"), QStringLiteral("francs"), false);
        drop(QStringLiteral("deux cent"), QStringLiteral("cent"), true);
        drop(QStringLiteral("deux cents"), QStringLiteral("s"), true);
        drop(QStringLiteral("deux cents francs"), QStringLiteral("francs"), true);
        add(s.day, s.nom, s.prenom, HistoryEventKind::ChequeEnd, QStringLiteral("Bravo")).expected = expected;
        flush();
        add(s.day, s.nom, s.prenom, HistoryEventKind::Mark, QStringLiteral("Note")).mark = s.mark;
        flush();
        add(s.day, s.nom, s.prenom, HistoryEventKind::TotalDuration, QStringLiteral("Durée totale")).duration =
            s.duration;
        flush();
    }

    qint64 rows() const { return m_rows; }

    QTemporaryDir dir;
    QString path;
    SqliteJournal journal;
    JournalSession session;
    bool opened = false;

private:
    JournalEvent &add(const QDate &day, const QString &nom, const QString &prenom, HistoryEventKind kind,
                      const QString &text)
    {
        flush();
        m_pending = JournalEvent {};
        JournalEvent &e = m_pending;
        m_minute += 1;
        e.moment = QDateTime(day, QTime(9, 0).addSecs(m_minute * 7), Qt::OffsetFromUTC, 3600).toString(Qt::ISODate);
        e.nom = nom;
        e.prenom = prenom;
        e.nomKey = matchingKey(nom);
        e.prenomKey = matchingKey(prenom);
        e.kind = kind;
        e.text = text;
        e.series = kind == HistoryEventKind::Launch ? 0 : m_series;
        e.currency = QStringLiteral("franc");
        e.maxAmount = 999;
        e.chequesPerSeries = 1;
        m_has = true;
        return e;
    }
    void flush()
    {
        if (!m_has)
            return;
        session.stamp(m_pending, m_minute * 1000);
        if (journal.append(m_pending))
            ++m_rows;
        m_has = false;
    }

public:
    void finish() { flush(); }

private:
    JournalEvent m_pending;
    bool m_has = false;
    int m_series = 0;
    int m_minute = 0;
    qint64 m_rows = 0;
};
