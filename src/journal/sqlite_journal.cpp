// Pecunette — apprendre à remplir un chèque.
#include "sqlite_journal.h"

#include "journal_rows.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>
#include <QUuid>
#include <QVariant>

namespace {

// SQLite's primary result codes that matter here.
constexpr int SqliteCorrupt = 11;
constexpr int SqliteNotADatabase = 26;
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;

int primaryCode(const QSqlError &error) { return error.nativeErrorCode().toInt() & 0xFF; }

// The steps from each version to the next, in order; step i takes version i to i + 1.
const char *const Migrations[] = {
    // 0 -> 1: the events. `rang` is this file's order of writing, which keeps
    // each session in its order whatever the clock did; `id` is the key
    // anywhere else the row may go.
    "CREATE TABLE evenement ("
    " rang INTEGER PRIMARY KEY,"
    " id TEXT NOT NULL UNIQUE,"
    " seance TEXT NOT NULL,"
    " numero INTEGER NOT NULL,"
    " moment TEXT NOT NULL,"
    " monotone_ms INTEGER NOT NULL,"
    " nom TEXT NOT NULL,"
    " prenom TEXT NOT NULL,"
    " nom_cle TEXT NOT NULL,"
    " prenom_cle TEXT NOT NULL,"
    " nature TEXT NOT NULL,"
    " texte TEXT NOT NULL,"
    " normal INTEGER NOT NULL,"
    " duree TEXT NOT NULL,"
    " montant INTEGER,"
    " phrase TEXT NOT NULL,"
    " bloc TEXT NOT NULL,"
    " bloc_juste INTEGER,"
    " serie INTEGER NOT NULL,"
    " monnaie TEXT NOT NULL,"
    " montant_max REAL NOT NULL,"
    " cheques_par_serie INTEGER NOT NULL,"
    " note REAL);"
    "CREATE INDEX evenement_eleve ON evenement (nom_cle, prenom_cle, rang);",
    // 1 -> 2: how far the rows went to each school server, by rank. Kept in
    // the same file as the rows, so it can never be ahead of what is there.
    "CREATE TABLE envoi ("
    " serveur TEXT PRIMARY KEY,"
    " dernier_rang INTEGER NOT NULL);",
};
static_assert(std::size(Migrations) == SqliteJournal::SchemaVersion);

const QString Columns = QStringLiteral(
    "id, seance, numero, moment, monotone_ms, nom, prenom, nom_cle, prenom_cle, nature, texte, normal, duree, "
    "montant, phrase, bloc, bloc_juste, serie, monnaie, montant_max, cheques_par_serie, note");

// A null QString binds as SQL NULL: the text columns take the empty text instead.
QVariant text(const QString &value) { return value.isNull() ? QVariant(QStringLiteral("")) : QVariant(value); }

template<typename T>
QVariant orNull(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

JournalEvent eventFrom(const QSqlQuery &q)
{
    JournalEvent e;
    int i = 0;
    e.id = q.value(i++).toString();
    e.session = q.value(i++).toString();
    e.sequence = q.value(i++).toLongLong();
    e.moment = q.value(i++).toString();
    e.monotonicMs = q.value(i++).toLongLong();
    e.nom = q.value(i++).toString();
    e.prenom = q.value(i++).toString();
    e.nomKey = q.value(i++).toString();
    e.prenomKey = q.value(i++).toString();
    e.kind = kindFromName(q.value(i++).toString());
    e.text = q.value(i++).toString();
    e.normal = q.value(i++).toInt() != 0;
    e.duration = q.value(i++).toString();
    if (const QVariant v = q.value(i++); !v.isNull())
        e.amount = v.toInt();
    e.expected = q.value(i++).toString();
    e.block = q.value(i++).toString();
    if (const QVariant v = q.value(i++); !v.isNull())
        e.blockRight = v.toInt() != 0;
    e.series = q.value(i++).toInt();
    e.currency = q.value(i++).toString();
    e.maxAmount = q.value(i++).toDouble();
    e.chequesPerSeries = q.value(i++).toInt();
    if (const QVariant v = q.value(i++); !v.isNull())
        e.mark = v.toDouble();
    return e;
}

}  // namespace

SqliteJournal::SqliteJournal()
    : m_connection(QStringLiteral("journal-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{ }

SqliteJournal::~SqliteJournal() { close(); }

bool SqliteJournal::isOpen() const
{
    return QSqlDatabase::contains(m_connection) && QSqlDatabase::database(m_connection, false).isOpen();
}

void SqliteJournal::close()
{
    m_insert.reset();
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QString SqliteJournal::setAsideName(const QString &path, const QDateTime &now)
{
    const QFileInfo info(path);
    const QString stamp = now.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    const QString suffix = info.suffix().isEmpty() ? QString() : QLatin1Char('.') + info.suffix();
    const QString base = info.suffix().isEmpty() ? info.fileName() : info.completeBaseName();
    const QDir folder = info.absoluteDir();
    QString name = folder.filePath(base + QStringLiteral(".illisible-") + stamp + suffix);
    // Never over an earlier one set aside in the same second.
    for (int n = 2; QFileInfo::exists(name) || QFileInfo::exists(name + QStringLiteral("-wal")); ++n)
        name = folder.filePath(base + QStringLiteral(".illisible-") + stamp + QLatin1Char('-') + QString::number(n) +
                               suffix);
    return name;
}

SqliteJournal::Opening SqliteJournal::open(const QString &path, const QDateTime &now)
{
    close();
    m_path = path;
    Opening opening;
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        opening.error = QStringLiteral("Le dossier %1 ne peut pas être créé.").arg(QDir::toNativeSeparators(folder));
        m_error = opening.error;
        return opening;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        QString reason;
        const Check check = openAndCheck(reason);
        if (check == Check::Ok) {
            opening.ok = true;
            return opening;
        }
        close();
        if (check == Check::Failed || attempt > 0) {
            opening.error = m_error;
            return opening;
        }
        // Moved, never written over: the teacher may still want what it holds.
        const QString aside = setAsideName(path, now);
        if (!QFile::rename(path, aside)) {
            opening.error =
                QStringLiteral("Le fichier %1 n'est pas un journal lisible et ne peut pas être mis de côté.")
                    .arg(QDir::toNativeSeparators(path));
            m_error = opening.error;
            return opening;
        }
        // Its write-ahead log belongs to it, and would be played into the new file.
        for (const char *tail : {"-wal", "-journal"})
            if (QFileInfo::exists(path + QLatin1String(tail)))
                QFile::rename(path + QLatin1String(tail), aside + QLatin1String(tail));
        QFile::remove(path + QStringLiteral("-shm"));
        opening.setAside = aside;
        opening.setAsideReason = reason;
    }
    return opening;
}

SqliteJournal::Check SqliteJournal::openAndCheck(QString &reason)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(m_path);
    // Two programs on one journal wait for each other rather than fail.
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!db.open()) {
        m_error = db.lastError().text();
        return Check::Failed;
    }
    QSqlQuery q(db);
    // A failure to read is a damaged or foreign file only when SQLite says so;
    // anything else (rights, disk) is a journal that cannot be reached now.
    auto failed = [&q, this, &reason](const QString &why) {
        const int code = primaryCode(q.lastError());
        m_error = q.lastError().text();
        if (code == SqliteNotADatabase || code == SqliteCorrupt) {
            reason = why;
            return Check::Unreadable;
        }
        return Check::Failed;
    };
    const QString notOurs = QStringLiteral("ce n'est pas un journal de Pecunette");
    const QString damaged = QStringLiteral("le fichier est endommagé");
    if (!q.exec(QStringLiteral("PRAGMA application_id")) || !q.next())
        return failed(notOurs);
    const qint32 applicationId = q.value(0).toInt();
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next())
        return failed(notOurs);
    const int version = q.value(0).toInt();
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_schema")) || !q.next())
        return failed(notOurs);
    const bool empty = q.value(0).toInt() == 0;
    if (!(applicationId == ApplicationId || (applicationId == 0 && version == 0 && empty))) {
        reason = notOurs;
        return Check::Unreadable;
    }
    if (version > SchemaVersion) {
        reason = QStringLiteral("il a été écrit par une version plus récente de Pecunette");
        return Check::Unreadable;
    }
    if (!q.exec(QStringLiteral("PRAGMA quick_check")))
        return failed(damaged);
    QStringList problems;
    while (q.next())
        problems << q.value(0).toString();
    if (problems != QStringList {QStringLiteral("ok")}) {
        reason = damaged;
        m_error = problems.join(QLatin1Char('\n'));
        return Check::Unreadable;
    }
    // Each event commits on its own; in WAL mode with synchronous=NORMAL a
    // commit survives the program being killed, and readers never block it.
    // SQLite does not wait for the lock this switch needs: while a second
    // program makes a new journal, it answers the old mode. This runs on the
    // journal's own thread, so it can wait a little and ask again.
    bool wal = false;
    for (int attempt = 0; attempt < 100 && !wal; ++attempt) {
        if (attempt > 0)
            QThread::msleep(50);
        if (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) || !q.next()) {
            m_error = q.lastError().text();
            continue;
        }
        wal = q.value(0).toString().compare(QStringLiteral("wal"), Qt::CaseInsensitive) == 0;
    }
    if (!wal) {
        m_error = QStringLiteral("Le journal ne peut pas passer en mode WAL.");
        return Check::Failed;
    }
    q.exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    q.finish();
    if (!migrate())
        return Check::Failed;
    m_insert = std::make_unique<QSqlQuery>(db);
    // Only a row already there by its id is passed over; any other refusal is an error.
    m_insert->prepare(QStringLiteral("INSERT INTO evenement (") + Columns +
                      QStringLiteral(") VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
                                     "ON CONFLICT (id) DO NOTHING"));
    return Check::Ok;
}

bool SqliteJournal::migrate()
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    for (;;) {
        // Under the write lock: another program on the same journal may have
        // taken the step between our reading and our writing.
        if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
            m_error = q.lastError().text();
            return false;
        }
        int version = -1;
        if (q.exec(QStringLiteral("PRAGMA user_version")) && q.next())
            version = q.value(0).toInt();
        if (version >= SchemaVersion) {
            q.exec(QStringLiteral("COMMIT"));
            return true;
        }
        bool ok = version >= 0;
        if (ok)
            for (const QString &statement :
                 QString::fromLatin1(Migrations[version]).split(QLatin1Char(';'), Qt::SkipEmptyParts))
                ok = ok && q.exec(statement);
        ok = ok && q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version + 1));
        ok = ok && q.exec(QStringLiteral("PRAGMA application_id = %1").arg(ApplicationId));
        ok = ok && q.exec(QStringLiteral("COMMIT"));
        if (!ok) {
            m_error = q.lastError().text();
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    }
}

bool SqliteJournal::append(const JournalEvent &event)
{
    if (!m_insert) {
        m_error = QStringLiteral("Le journal n'est pas ouvert.");
        return false;
    }
    return insert(event);
}

bool SqliteJournal::append(const QList<JournalEvent> &events)
{
    if (!m_insert) {
        m_error = QStringLiteral("Le journal n'est pas ouvert.");
        return false;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        m_error = q.lastError().text();
        return false;
    }
    for (const JournalEvent &event : events)
        if (!insert(event)) {
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        m_error = q.lastError().text();
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

bool SqliteJournal::insert(const JournalEvent &e)
{
    QSqlQuery &q = *m_insert;
    const QVariantList values {text(e.id),
                               text(e.session),
                               e.sequence,
                               text(e.moment),
                               e.monotonicMs,
                               text(e.nom),
                               text(e.prenom),
                               text(e.nomKey),
                               text(e.prenomKey),
                               kindName(e.kind),
                               text(e.text),
                               e.normal ? 1 : 0,
                               text(e.duration),
                               orNull(e.amount),
                               text(e.expected),
                               text(e.block),
                               e.blockRight ? QVariant(*e.blockRight ? 1 : 0) : QVariant(),
                               e.series,
                               text(e.currency),
                               e.maxAmount,
                               e.chequesPerSeries,
                               orNull(e.mark)};
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    // The busy timeout has waited already; a lock still held gets two more chances.
    for (int attempt = 0;; ++attempt) {
        if (q.exec()) {
            q.finish();
            return true;
        }
        const int code = primaryCode(q.lastError());
        if ((code != SqliteBusy && code != SqliteLocked) || attempt >= 2) {
            m_error = q.lastError().text();
            q.finish();
            return false;
        }
    }
}

QList<JournalEvent> SqliteJournal::select(const QString &where, const QList<QVariant> &values)
{
    QList<JournalEvent> list;
    if (!isOpen())
        return list;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ") + Columns + QStringLiteral(" FROM evenement ") + where);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec()) {
        m_error = q.lastError().text();
        return list;
    }
    while (q.next())
        list << eventFrom(q);
    return list;
}

std::optional<QList<SqliteJournal::Ranked>> SqliteJournal::eventsAfter(qint64 rank, qint64 limit)
{
    QList<Ranked> list;
    if (!isOpen()) {
        m_error = QStringLiteral("Le journal n'est pas ouvert.");
        return std::nullopt;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ") + Columns +
              QStringLiteral(", rang FROM evenement WHERE rang > ? ORDER BY rang LIMIT ?"));
    q.bindValue(0, rank);
    q.bindValue(1, limit);
    if (!q.exec()) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    const int rankColumn = q.record().count() - 1;
    while (q.next())
        list << Ranked {q.value(rankColumn).toLongLong(), eventFrom(q)};
    return list;
}

std::optional<qint64> SqliteJournal::forwardedUpTo(const QString &server)
{
    if (!isOpen()) {
        m_error = QStringLiteral("Le journal n'est pas ouvert.");
        return std::nullopt;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT dernier_rang FROM envoi WHERE serveur = ?"));
    q.bindValue(0, text(server));
    if (!q.exec()) {
        m_error = q.lastError().text();
        return std::nullopt;
    }
    return q.next() ? q.value(0).toLongLong() : 0;
}

bool SqliteJournal::setForwardedUpTo(const QString &server, qint64 rank)
{
    if (!isOpen()) {
        m_error = QStringLiteral("Le journal n'est pas ouvert.");
        return false;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("INSERT INTO envoi (serveur, dernier_rang) VALUES (?, ?) ON CONFLICT (serveur) "
                             "DO UPDATE SET dernier_rang = max(dernier_rang, excluded.dernier_rang)"));
    q.bindValue(0, text(server));
    q.bindValue(1, rank);
    if (!q.exec()) {
        m_error = q.lastError().text();
        return false;
    }
    return true;
}

QList<JournalEvent> SqliteJournal::events(qint64 offset, qint64 limit)
{
    return select(QStringLiteral("ORDER BY rang LIMIT ? OFFSET ?"), {limit, offset});
}

QList<JournalEvent> SqliteJournal::eventsOfPupil(const QString &nom, const QString &prenom)
{
    return select(QStringLiteral("WHERE nom_cle = ? AND prenom_cle = ? ORDER BY rang"),
                  {text(matchingKey(nom)), text(matchingKey(prenom))});
}

QList<PupilSummary> SqliteJournal::classSummary() { return classSummary(DayRange {}); }

QList<PupilSummary> SqliteJournal::classSummary(const DayRange &range)
{
    QList<PupilSummary> list;
    if (!isOpen())
        return list;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    // The last row of a pupil names them as last typed and tells when they were
    // last seen; the marks are those of the "note" rows. One pass groups the
    // rows, two look-ups by key fetch the last row and the last mark.
    q.prepare(
        QStringLiteral("SELECT g.nom_cle, g.prenom_cle, l.nom, l.prenom, g.series, g.cheques, g.errors, m.note, g.mean,"
                       " l.moment FROM (SELECT nom_cle, prenom_cle, max(rang) AS last_rang,"
                       "  max(CASE WHEN nature = 'note' THEN rang END) AS mark_rang, sum(nature = 'note') AS series,"
                       "  sum(nature = 'fin_cheque') AS cheques, sum(nature = 'depot' AND bloc_juste = 0) AS errors,"
                       "  avg(CASE WHEN nature = 'note' THEN note END) AS mean"
                       "  FROM evenement WHERE (nom_cle <> '' OR prenom_cle <> '') AND ") +
        dayInRange() +
        QStringLiteral("  GROUP BY nom_cle, prenom_cle) g"
                       " JOIN evenement l ON l.rang = g.last_rang LEFT JOIN evenement m ON m.rang = g.mark_rang"
                       " ORDER BY g.nom_cle, g.prenom_cle"));
    const QVariantList bounds = dayBounds(range);
    for (int i = 0; i < bounds.size(); ++i)
        q.bindValue(i, bounds.at(i));
    if (!q.exec()) {
        m_error = q.lastError().text();
        return list;
    }
    while (q.next()) {
        list << pupilSummaryFrom(q);
    }
    return list;
}

QList<JournalEvent> SqliteJournal::eventsOfPupil(const QString &nom, const QString &prenom, const DayRange &range)
{
    const QVariantList bounds = dayBounds(range);
    return select(QStringLiteral("WHERE nom_cle = ? AND prenom_cle = ? AND ") + dayInRange() +
                      QStringLiteral(" ORDER BY rang"),
                  {text(matchingKey(nom)), text(matchingKey(prenom)), bounds.at(0), bounds.at(1)});
}

QList<JournalEvent> SqliteJournal::eventsOfKind(HistoryEventKind kind, const DayRange &range)
{
    const QVariantList bounds = dayBounds(range);
    return select(QStringLiteral("WHERE nature = ? AND ") + dayInRange() + QStringLiteral(" ORDER BY rang"),
                  {kindName(kind), bounds.at(0), bounds.at(1)});
}

QList<SeriesSummary> SqliteJournal::seriesOfClass(const DayRange &range)
{
    QList<SeriesSummary> list;
    if (!isOpen())
        return list;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    // A series is its session's number for one pupil; only those where a
    // cheque began count (the rows after a mark carry the old number until the
    // next cheque). Its settings are those of its first row.
    q.prepare(QStringLiteral(
                  "SELECT g.nom_cle, g.prenom_cle, l.nom, l.prenom, g.seance, g.serie, f.moment, f.monnaie,"
                  " f.montant_max, f.cheques_par_serie, g.cheques, g.errors, g.mark, g.duration"
                  " FROM (SELECT nom_cle, prenom_cle, seance, serie, min(rang) AS first_rang, max(rang) AS last_rang,"
                  "  sum(nature = 'fin_cheque') AS cheques, sum(nature = 'depot' AND bloc_juste = 0) AS errors,"
                  "  max(CASE WHEN nature = 'note' THEN note END) AS mark,"
                  "  max(CASE WHEN nature = 'duree_totale' THEN duree END) AS duration,"
                  "  sum(nature = 'debut_cheque') AS begun"
                  "  FROM evenement WHERE serie > 0 AND (nom_cle <> '' OR prenom_cle <> '') AND ") +
              dayInRange() +
              QStringLiteral("  GROUP BY nom_cle, prenom_cle, seance, serie) g"
                             " JOIN evenement f ON f.rang = g.first_rang JOIN evenement l ON l.rang = g.last_rang"
                             " WHERE g.begun > 0 ORDER BY g.nom_cle, g.prenom_cle, g.first_rang"));
    const QVariantList bounds = dayBounds(range);
    for (int i = 0; i < bounds.size(); ++i)
        q.bindValue(i, bounds.at(i));
    if (!q.exec()) {
        m_error = q.lastError().text();
        return list;
    }
    while (q.next()) {
        list << seriesSummaryFrom(q);
    }
    return list;
}

qint64 SqliteJournal::rowsOfPupil(const QString &nom, const QString &prenom)
{
    if (!isOpen()) {
        m_error = QStringLiteral("Le journal n'est pas ouvert.");
        return -1;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT count(*) FROM evenement WHERE nom_cle = ? AND prenom_cle = ?"));
    q.bindValue(0, text(matchingKey(nom)));
    q.bindValue(1, text(matchingKey(prenom)));
    if (!q.exec() || !q.next()) {
        m_error = q.lastError().text();
        return -1;
    }
    return q.value(0).toLongLong();
}

qint64 SqliteJournal::changeInOneGo(const QList<std::pair<QString, QVariantList>> &statements)
{
    if (!isOpen()) {
        m_error = QStringLiteral("Le journal n'est pas ouvert.");
        return -1;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    // The write lock from the start: the program's own writer may be adding a row.
    if (!q.exec(QStringLiteral("BEGIN IMMEDIATE"))) {
        m_error = q.lastError().text();
        return -1;
    }
    QString reason;
    const qint64 changed = runStatements(db, statements, reason);
    if (changed < 0) {
        m_error = reason;
        q.exec(QStringLiteral("ROLLBACK"));
        return -1;
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        m_error = q.lastError().text();
        q.exec(QStringLiteral("ROLLBACK"));
        return -1;
    }
    return changed;
}

qint64 SqliteJournal::renamePupil(const QString &nom, const QString &prenom, const QString &newNom,
                                  const QString &newPrenom)
{
    return changeInOneGo({{QStringLiteral("UPDATE evenement SET nom = ?, prenom = ?, nom_cle = ?, prenom_cle = ?"
                                          " WHERE nom_cle = ? AND prenom_cle = ?"),
                           {text(newNom.trimmed()), text(newPrenom.trimmed()), text(matchingKey(newNom)),
                            text(matchingKey(newPrenom)), text(matchingKey(nom)), text(matchingKey(prenom))}}});
}

qint64 SqliteJournal::mergePupils(const QString &fromNom, const QString &fromPrenom, const QString &intoNom,
                                  const QString &intoPrenom)
{
    if (matchingKey(fromNom) == matchingKey(intoNom) && matchingKey(fromPrenom) == matchingKey(intoPrenom)) {
        m_error = QStringLiteral("Un élève ne peut pas être fusionné avec lui-même.");
        return -1;
    }
    // The names are read inside the same transaction as the change, through a
    // sub-select, so that a row of `into` written meanwhile cannot split them.
    const QString last = QStringLiteral("(SELECT %1 FROM evenement WHERE nom_cle = ? AND prenom_cle = ?"
                                        " ORDER BY rang DESC LIMIT 1)");
    const QVariant intoKeyNom = text(matchingKey(intoNom));
    const QVariant intoKeyPrenom = text(matchingKey(intoPrenom));
    const qint64 changed = changeInOneGo(
        {{QStringLiteral("UPDATE evenement SET nom = ") + last.arg(QStringLiteral("nom")) +
              QStringLiteral(", prenom = ") + last.arg(QStringLiteral("prenom")) +
              QStringLiteral(", nom_cle = ?, prenom_cle = ? WHERE nom_cle = ? AND prenom_cle = ?"
                             " AND EXISTS (SELECT 1 FROM evenement WHERE nom_cle = ? AND prenom_cle = ?)"),
          {intoKeyNom, intoKeyPrenom, intoKeyNom, intoKeyPrenom, intoKeyNom, intoKeyPrenom, text(matchingKey(fromNom)),
           text(matchingKey(fromPrenom)), intoKeyNom, intoKeyPrenom}}});
    return changed;
}

qint64 SqliteJournal::deletePupil(const QString &nom, const QString &prenom)
{
    return changeInOneGo({{QStringLiteral("DELETE FROM evenement WHERE nom_cle = ? AND prenom_cle = ?"),
                           {text(matchingKey(nom)), text(matchingKey(prenom))}}});
}
