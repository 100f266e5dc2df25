// Pecunette — apprendre à remplir un chèque.
#include "postgres_journal.h"

#include "journal_rows.h"

#include "services.h"
#include "settings_keys.h"
#include "settings_store.h"

#include <QDateTime>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {

// The steps from each version to the next, in order; step i takes version i to i + 1.
const char *const Migrations[] = {
    // 0 -> 1: the events of every machine. `id` is the key a row keeps from
    // the machine it happened on; `rang` is the order the server received
    // them in; `instant` is the moment in UTC, to order rows of several
    // machines as they happened (empty when the moment could not be read).
    "CREATE TABLE evenement ("
    " id TEXT PRIMARY KEY,"
    " rang BIGINT GENERATED ALWAYS AS IDENTITY UNIQUE,"
    " recu TIMESTAMPTZ NOT NULL DEFAULT now(),"
    " instant TIMESTAMPTZ,"
    " seance TEXT NOT NULL,"
    " numero BIGINT NOT NULL,"
    " moment TEXT NOT NULL,"
    " monotone_ms BIGINT NOT NULL,"
    " nom TEXT NOT NULL,"
    " prenom TEXT NOT NULL,"
    " nom_cle TEXT NOT NULL,"
    " prenom_cle TEXT NOT NULL,"
    " nature TEXT NOT NULL,"
    " texte TEXT NOT NULL,"
    " normal BOOLEAN NOT NULL,"
    " duree TEXT NOT NULL,"
    " montant INTEGER,"
    " phrase TEXT NOT NULL,"
    " bloc TEXT NOT NULL,"
    " bloc_juste BOOLEAN,"
    " serie INTEGER NOT NULL,"
    " monnaie TEXT NOT NULL,"
    " montant_max DOUBLE PRECISION NOT NULL,"
    " cheques_par_serie INTEGER NOT NULL,"
    " note DOUBLE PRECISION);"
    "CREATE INDEX evenement_eleve ON evenement (nom_cle, prenom_cle, instant, rang)",
};
static_assert(std::size(Migrations) == PostgresJournal::SchemaVersion);

// Any number, the same in every program: the migrations of two machines
// starting at once wait for each other.
constexpr qint64 MigrationLock = 0x50434E54;

// Statements of this many rows, so that 10 000 queued rows take 50 round trips.
constexpr int RowsPerStatement = 200;

const QString Columns = QStringLiteral(
    "id, seance, numero, moment, monotone_ms, nom, prenom, nom_cle, prenom_cle, nature, texte, normal, duree, "
    "montant, phrase, bloc, bloc_juste, serie, monnaie, montant_max, cheques_par_serie, note");

// PostgreSQL's text takes no NUL character; a row holding one would be
// refused for ever and hold back every row after it.
QVariant text(const QString &value)
{
    QString t = value.isNull() ? QStringLiteral("") : value;
    t.replace(QChar(0), QChar(0xFFFD));
    return t;
}

template<typename T>
QVariant orNull(const std::optional<T> &value)
{
    return value ? QVariant::fromValue(*value) : QVariant();
}

QVariant instantOf(const QString &moment)
{
    const QDateTime at = QDateTime::fromString(moment, Qt::ISODate);
    return at.isValid() ? QVariant(at.toUTC().toString(Qt::ISODate)) : QVariant();
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
    e.normal = q.value(i++).toBool();
    e.duration = q.value(i++).toString();
    if (const QVariant v = q.value(i++); !v.isNull())
        e.amount = v.toInt();
    e.expected = q.value(i++).toString();
    e.block = q.value(i++).toString();
    if (const QVariant v = q.value(i++); !v.isNull())
        e.blockRight = v.toBool();
    e.series = q.value(i++).toInt();
    e.currency = q.value(i++).toString();
    e.maxAmount = q.value(i++).toDouble();
    e.chequesPerSeries = q.value(i++).toInt();
    if (const QVariant v = q.value(i++); !v.isNull())
        e.mark = v.toDouble();
    return e;
}

QVariantList valuesOf(const JournalEvent &e)
{
    return {text(e.id),       text(e.session),  e.sequence,         text(e.moment),   e.monotonicMs,        text(e.nom),
            text(e.prenom),   text(e.nomKey),   text(e.prenomKey),  kindName(e.kind), text(e.text),         e.normal,
            text(e.duration), orNull(e.amount), text(e.expected),   text(e.block),    orNull(e.blockRight), e.series,
            text(e.currency), e.maxAmount,      e.chequesPerSeries, orNull(e.mark),   instantOf(e.moment)};
}

// One statement of many rows, its values written in by the driver's own
// quoting (libpq's escaping): the server parses it far faster than the
// same rows as thousands of parameters of a prepared statement.
QString insertStatement(const QSqlDriver &driver, const QList<JournalEvent> &events, qsizetype first, qsizetype count)
{
    QString sql = QStringLiteral("INSERT INTO evenement (") + Columns + QStringLiteral(", instant) VALUES ");
    for (qsizetype r = first; r < first + count; ++r) {
        sql += r == first ? QStringLiteral("(") : QStringLiteral(", (");
        const QVariantList values = valuesOf(events.at(r));
        for (int i = 0; i < values.size(); ++i) {
            const QVariant &v = values.at(i);
            QSqlField field(QString(), v.metaType());
            field.setValue(v);
            if (i > 0)
                sql += QStringLiteral(", ");
            sql += driver.formatValue(field);
        }
        sql += QLatin1Char(')');
    }
    sql += QStringLiteral(" ON CONFLICT (id) DO NOTHING");
    return sql;
}

// A value of the settings store, usable as one part of a connection: not
// empty, no blanks around it, nothing a person could not type.
std::optional<QString> plainValue(const QString &value)
{
    if (value.isEmpty() || value != value.trimmed() || value.size() > 255)
        return std::nullopt;
    for (const QChar c : value)
        if (c.category() == QChar::Other_Control || c.category() == QChar::Other_Format)
            return std::nullopt;
    return value;
}

}  // namespace

QString ServerAddress::name() const { return QStringLiteral("%1@%2:%3/%4").arg(user, host).arg(port).arg(database); }

QString ServerAddress::shown() const { return QStringLiteral("base « %1 » sur %2:%3").arg(database, host).arg(port); }

std::optional<ServerAddress> ServerAddress::from(const SettingsStore &settings)
{
    auto read = [&settings](const QString &key) {
        return settings.Read(Keys::AppPecunette, Keys::SectionServeur, key, QString());
    };
    const std::optional<QString> host = plainValue(read(Keys::ServeurHote));
    const std::optional<QString> database = plainValue(read(Keys::ServeurBase));
    const std::optional<QString> user = plainValue(read(Keys::ServeurUtilisateur));
    if (!host || !database || !user)
        return std::nullopt;
    ServerAddress address {*host, 5432, *database, *user};
    const QString port = read(Keys::ServeurPort);
    if (!port.trimmed().isEmpty()) {
        const std::optional<int> number = parseWholeNumber(port, 1, 65535);
        if (!number)
            return std::nullopt;
        address.port = *number;
    }
    return address;
}

PostgresJournal::PostgresJournal()
    : m_connection(QStringLiteral("serveur-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{ }

PostgresJournal::~PostgresJournal() { close(); }

bool PostgresJournal::isOpen() const
{
    return QSqlDatabase::contains(m_connection) && QSqlDatabase::database(m_connection, false).isOpen();
}

void PostgresJournal::close()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

PostgresJournal::Opening PostgresJournal::classify(const ServerAddress &address, const QString &driverText)
{
    // libpq says why in English, or in French when its translations are
    // installed; the server's SQLSTATE does not reach Qt for a failed login.
    const QString t = driverText.toLower();
    const QString keep = QStringLiteral(
        "\nLes lignes restent dans le journal de ce poste ; elles seront envoyées quand le serveur les acceptera.");
    Opening o;
    if (t.contains(QLatin1String("password")) || t.contains(QLatin1String("mot de passe")) ||
        t.contains(QLatin1String("authentication failed")) || t.contains(QLatin1String("authentification")) ||
        (t.contains(QLatin1String("role")) && t.contains(QLatin1String("does not exist"))) ||
        (t.contains(QLatin1String("rôle")) && t.contains(QLatin1String("n'existe pas")))) {
        o.problem = Problem::Password;
        o.error = QStringLiteral("Le serveur de l'école (%1) refuse l'utilisateur « %2 » : mot de passe absent ou "
                                 "faux dans le fichier .pgpass, ou utilisateur inconnu.")
                      .arg(address.shown(), address.user);
    } else if ((t.contains(QLatin1String("database")) && t.contains(QLatin1String("does not exist"))) ||
               (t.contains(QLatin1String("base de données")) && t.contains(QLatin1String("n'existe pas")))) {
        o.problem = Problem::MissingDatabase;
        o.error = QStringLiteral("La base « %1 » n'existe pas sur le serveur de l'école (%2:%3).")
                      .arg(address.database, address.host)
                      .arg(address.port);
    } else {
        o.problem = Problem::Unreachable;
        o.error = QStringLiteral("Le serveur de l'école (%1) ne répond pas.").arg(address.shown());
    }
    o.error += keep + QStringLiteral("\n(") + driverText.trimmed() + QLatin1Char(')');
    return o;
}

PostgresJournal::Opening PostgresJournal::open(const ServerAddress &address, int connectTimeoutSeconds)
{
    close();
    m_address = address;
    m_problem = Problem::None;
    Opening opening;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connection);
        if (!db.isValid()) {
            opening.problem = m_problem = Problem::Refused;
            opening.error = m_error =
                QStringLiteral("Le pilote PostgreSQL de Qt (paquet libqt6sql6-psql) n'est pas installé : "
                               "le serveur de l'école ne peut pas être joint.");
            close();
            return opening;
        }
        db.setHostName(address.host);
        db.setPort(address.port);
        db.setDatabaseName(address.database);
        db.setUserName(address.user);
        // No password given: libpq reads ~/.pgpass or PGPASSFILE by itself.
        // A server that went away without a word is noticed by the keepalives.
        db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=pecunette;keepalives=1;"
                                            "keepalives_idle=30;keepalives_interval=10;keepalives_count=3")
                                 .arg(qMax(1, connectTimeoutSeconds)));
        if (!db.open()) {
            opening = classify(address, db.lastError().databaseText().isEmpty() ? db.lastError().text()
                                                                                : db.lastError().databaseText());
            m_problem = opening.problem;
            m_error = opening.error;
            db = QSqlDatabase();
            close();
            return opening;
        }
    }
    if (!migrate(opening)) {
        m_problem = opening.problem;
        m_error = opening.error;
        close();
        return opening;
    }
    opening.ok = true;
    return opening;
}

bool PostgresJournal::migrate(Opening &opening)
{
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    auto failed = [&] {
        opening.problem = Problem::Refused;
        opening.error = QStringLiteral("Le serveur de l'école (%1) refuse de préparer ses tables : %2")
                            .arg(m_address.shown(), q.lastError().text());
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    };
    if (!q.exec(QStringLiteral("BEGIN")) ||
        !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(MigrationLock)))
        return failed();
    // Read first, in case the table is there and we may not create anything.
    int version = 0;
    if (!q.exec(QStringLiteral("SELECT to_regclass('pecunette_schema') IS NOT NULL")) || !q.next())
        return failed();
    if (q.value(0).toBool()) {
        if (!q.exec(QStringLiteral("SELECT max(version) FROM pecunette_schema")))
            return failed();
        version = q.next() ? q.value(0).toInt() : 0;
    } else if (!q.exec(QStringLiteral("CREATE TABLE pecunette_schema (version INTEGER NOT NULL)")) ||
               !q.exec(QStringLiteral("INSERT INTO pecunette_schema (version) VALUES (0)"))) {
        return failed();
    }
    if (version > SchemaVersion) {
        q.exec(QStringLiteral("ROLLBACK"));
        opening.problem = Problem::NewerSchema;
        opening.error =
            QStringLiteral("La %1 du serveur de l'école a été préparée par une version plus récente de Pecunette "
                           "(tables en version %2, ce programme connaît la version %3). Elle n'a pas été modifiée.\n"
                           "Les lignes restent dans le journal de ce poste ; installez la même version de Pecunette "
                           "sur ce poste pour les envoyer.")
                .arg(m_address.shown())
                .arg(version)
                .arg(SchemaVersion);
        return false;
    }
    // One transaction for all the steps: a failure leaves the server as it was.
    for (; version < SchemaVersion; ++version) {
        for (const QString &statement :
             QString::fromLatin1(Migrations[version]).split(QLatin1Char(';'), Qt::SkipEmptyParts))
            if (!q.exec(statement))
                return failed();
        if (!q.exec(QStringLiteral("UPDATE pecunette_schema SET version = %1").arg(version + 1)))
            return failed();
    }
    if (!q.exec(QStringLiteral("COMMIT")))
        return failed();
    return true;
}

bool PostgresJournal::fail(const QString &driverText)
{
    // A broken connection is a server gone away, to be tried again later; a
    // refusal with the connection still up is the server's answer.
    const bool up = isOpen() && QSqlQuery(QSqlDatabase::database(m_connection, false)).exec(QStringLiteral("SELECT 1"));
    if (up) {
        m_problem = Problem::Refused;
        m_error =
            QStringLiteral("Le serveur de l'école (%1) a refusé des lignes : %2").arg(m_address.shown(), driverText);
    } else {
        m_problem = Problem::Unreachable;
        m_error = QStringLiteral("Le serveur de l'école (%1) ne répond plus. Les lignes restent dans le journal de ce "
                                 "poste ; elles seront envoyées quand il répondra.\n(%2)")
                      .arg(m_address.shown(), driverText.trimmed());
    }
    return false;
}

bool PostgresJournal::appendAll(const QList<JournalEvent> &events)
{
    if (!isOpen()) {
        m_problem = Problem::Unreachable;
        m_error = QStringLiteral("Le serveur de l'école n'est pas joint.");
        return false;
    }
    if (events.isEmpty())
        return true;
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("BEGIN")))
        return fail(q.lastError().text());
    QSqlQuery insert(db);
    for (qsizetype first = 0; first < events.size(); first += RowsPerStatement) {
        const qsizetype rows = qMin<qsizetype>(RowsPerStatement, events.size() - first);
        if (!insert.exec(insertStatement(*db.driver(), events, first, rows))) {
            const QString why = insert.lastError().text();
            insert.finish();
            q.exec(QStringLiteral("ROLLBACK"));
            return fail(why);
        }
    }
    insert.finish();
    if (!q.exec(QStringLiteral("COMMIT"))) {
        const QString why = q.lastError().text();
        q.exec(QStringLiteral("ROLLBACK"));
        return fail(why);
    }
    m_problem = Problem::None;
    return true;
}

bool PostgresJournal::append(const JournalEvent &event) { return appendAll({event}); }

QList<JournalEvent> PostgresJournal::select(const QString &tail, const QList<QVariant> &values)
{
    QList<JournalEvent> list;
    if (!isOpen())
        return list;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT ") + Columns + QStringLiteral(" FROM evenement ") + tail);
    for (int i = 0; i < values.size(); ++i)
        q.bindValue(i, values.at(i));
    if (!q.exec()) {
        fail(q.lastError().text());
        return list;
    }
    while (q.next())
        list << eventFrom(q);
    return list;
}

QList<JournalEvent> PostgresJournal::events(qint64 offset, qint64 limit)
{
    const QString page = limit < 0 ? QStringLiteral("ALL") : QString::number(limit);
    return select(QStringLiteral("ORDER BY rang LIMIT %1 OFFSET %2").arg(page).arg(qMax<qint64>(0, offset)), {});
}

QList<JournalEvent> PostgresJournal::eventsOfPupil(const QString &nom, const QString &prenom)
{
    return select(QStringLiteral("WHERE nom_cle = ? AND prenom_cle = ? ORDER BY instant NULLS LAST, rang"),
                  {text(matchingKey(nom)), text(matchingKey(prenom))});
}

QList<PupilSummary> PostgresJournal::classSummary() { return classSummary(DayRange {}); }

namespace {
// The latest of a group's rows, whichever machine it was on and whenever it reached the server.
const QString Latest = QStringLiteral("ORDER BY instant DESC NULLS LAST, rang DESC");
}  // namespace

QList<PupilSummary> PostgresJournal::classSummary(const DayRange &range)
{
    QList<PupilSummary> list;
    if (!isOpen())
        return list;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    // The keys sort byte by byte, as on a local journal.
    q.prepare(QStringLiteral("SELECT nom_cle, prenom_cle, (array_agg(nom %1))[1], (array_agg(prenom %1))[1],"
                             " count(*) FILTER (WHERE nature = 'note'),"
                             " count(*) FILTER (WHERE nature = 'fin_cheque'),"
                             " count(*) FILTER (WHERE nature = 'depot' AND bloc_juste = false),"
                             " (array_agg(note %1) FILTER (WHERE nature = 'note'))[1],"
                             " avg(note) FILTER (WHERE nature = 'note'), (array_agg(moment %1))[1]"
                             " FROM evenement WHERE (nom_cle <> '' OR prenom_cle <> '') AND %2"
                             " GROUP BY nom_cle, prenom_cle ORDER BY nom_cle COLLATE \"C\", prenom_cle COLLATE \"C\"")
                  .arg(Latest, dayInRange()));
    const QVariantList bounds = dayBounds(range);
    for (int i = 0; i < bounds.size(); ++i)
        q.bindValue(i, bounds.at(i));
    if (!q.exec()) {
        fail(q.lastError().text());
        return list;
    }
    while (q.next()) {
        list << pupilSummaryFrom(q);
    }
    return list;
}

QList<JournalEvent> PostgresJournal::eventsOfPupil(const QString &nom, const QString &prenom, const DayRange &range)
{
    const QVariantList bounds = dayBounds(range);
    return select(QStringLiteral("WHERE nom_cle = ? AND prenom_cle = ? AND ") + dayInRange() +
                      QStringLiteral(" ORDER BY instant NULLS LAST, rang"),
                  {text(matchingKey(nom)), text(matchingKey(prenom)), bounds.at(0), bounds.at(1)});
}

QList<JournalEvent> PostgresJournal::eventsOfKind(HistoryEventKind kind, const DayRange &range)
{
    const QVariantList bounds = dayBounds(range);
    return select(QStringLiteral("WHERE nature = ? AND ") + dayInRange() +
                      QStringLiteral(" ORDER BY instant NULLS LAST, rang"),
                  {kindName(kind), bounds.at(0), bounds.at(1)});
}

QList<SeriesSummary> PostgresJournal::seriesOfClass(const DayRange &range)
{
    QList<SeriesSummary> list;
    if (!isOpen())
        return list;
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    // A series is its session's number for one pupil; only those where a
    // cheque began count. Its settings are those of its first row: within a
    // session, the rows' own numbers give their order, whatever the server's.
    q.prepare(QStringLiteral("SELECT nom_cle, prenom_cle, (array_agg(nom ORDER BY numero DESC))[1],"
                             " (array_agg(prenom ORDER BY numero DESC))[1], seance, serie,"
                             " (array_agg(moment ORDER BY numero))[1], (array_agg(monnaie ORDER BY numero))[1],"
                             " (array_agg(montant_max ORDER BY numero))[1],"
                             " (array_agg(cheques_par_serie ORDER BY numero))[1],"
                             " count(*) FILTER (WHERE nature = 'fin_cheque'),"
                             " count(*) FILTER (WHERE nature = 'depot' AND bloc_juste = false),"
                             " max(note) FILTER (WHERE nature = 'note'),"
                             " max(duree) FILTER (WHERE nature = 'duree_totale')"
                             " FROM evenement WHERE serie > 0 AND (nom_cle <> '' OR prenom_cle <> '') AND %1"
                             " GROUP BY nom_cle, prenom_cle, seance, serie"
                             " HAVING count(*) FILTER (WHERE nature = 'debut_cheque') > 0"
                             " ORDER BY nom_cle COLLATE \"C\", prenom_cle COLLATE \"C\", min(instant) NULLS LAST,"
                             " seance, serie")
                  .arg(dayInRange()));
    const QVariantList bounds = dayBounds(range);
    for (int i = 0; i < bounds.size(); ++i)
        q.bindValue(i, bounds.at(i));
    if (!q.exec()) {
        fail(q.lastError().text());
        return list;
    }
    while (q.next()) {
        list << seriesSummaryFrom(q);
    }
    return list;
}

qint64 PostgresJournal::rowsOfPupil(const QString &nom, const QString &prenom)
{
    if (!isOpen()) {
        m_error = QStringLiteral("Le serveur de l'école n'est pas joint.");
        return -1;
    }
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.prepare(QStringLiteral("SELECT count(*) FROM evenement WHERE nom_cle = ? AND prenom_cle = ?"));
    q.bindValue(0, text(matchingKey(nom)));
    q.bindValue(1, text(matchingKey(prenom)));
    if (!q.exec() || !q.next()) {
        fail(q.lastError().text());
        return -1;
    }
    return q.value(0).toLongLong();
}

qint64 PostgresJournal::changeInOneGo(const QList<std::pair<QString, QVariantList>> &statements)
{
    if (!isOpen()) {
        m_error = QStringLiteral("Le serveur de l'école n'est pas joint.");
        return -1;
    }
    QSqlDatabase db = QSqlDatabase::database(m_connection, false);
    if (!db.transaction()) {
        fail(db.lastError().text());
        return -1;
    }
    QString reason;
    const qint64 changed = runStatements(db, statements, reason);
    if (changed < 0) {
        db.rollback();
        fail(reason);
        return -1;
    }
    if (!db.commit()) {
        const QString reason = db.lastError().text();
        db.rollback();
        fail(reason);
        return -1;
    }
    return changed;
}

qint64 PostgresJournal::renamePupil(const QString &nom, const QString &prenom, const QString &newNom,
                                    const QString &newPrenom)
{
    return changeInOneGo({{QStringLiteral("UPDATE evenement SET nom = ?, prenom = ?, nom_cle = ?, prenom_cle = ?"
                                          " WHERE nom_cle = ? AND prenom_cle = ?"),
                           {text(newNom.trimmed()), text(newPrenom.trimmed()), text(matchingKey(newNom)),
                            text(matchingKey(newPrenom)), text(matchingKey(nom)), text(matchingKey(prenom))}}});
}

qint64 PostgresJournal::mergePupils(const QString &fromNom, const QString &fromPrenom, const QString &intoNom,
                                    const QString &intoPrenom)
{
    if (matchingKey(fromNom) == matchingKey(intoNom) && matchingKey(fromPrenom) == matchingKey(intoPrenom)) {
        m_error = QStringLiteral("Un élève ne peut pas être fusionné avec lui-même.");
        return -1;
    }
    // The names `into` was last typed with, read in the same transaction as the change.
    const QString last = QStringLiteral("(SELECT %1 FROM evenement WHERE nom_cle = ? AND prenom_cle = ? %2 LIMIT 1)")
                             .arg(QStringLiteral("%1"), Latest);
    const QVariant intoKeyNom = text(matchingKey(intoNom));
    const QVariant intoKeyPrenom = text(matchingKey(intoPrenom));
    return changeInOneGo(
        {{QStringLiteral("UPDATE evenement SET nom = ") + last.arg(QStringLiteral("nom")) +
              QStringLiteral(", prenom = ") + last.arg(QStringLiteral("prenom")) +
              QStringLiteral(", nom_cle = ?, prenom_cle = ? WHERE nom_cle = ? AND prenom_cle = ?"
                             " AND EXISTS (SELECT 1 FROM evenement WHERE nom_cle = ? AND prenom_cle = ?)"),
          {intoKeyNom, intoKeyPrenom, intoKeyNom, intoKeyPrenom, intoKeyNom, intoKeyPrenom, text(matchingKey(fromNom)),
           text(matchingKey(fromPrenom)), intoKeyNom, intoKeyPrenom}}});
}

qint64 PostgresJournal::deletePupil(const QString &nom, const QString &prenom)
{
    return changeInOneGo({{QStringLiteral("DELETE FROM evenement WHERE nom_cle = ? AND prenom_cle = ?"),
                           {text(matchingKey(nom)), text(matchingKey(prenom))}}});
}
