// Pecunette — apprendre à remplir un chèque.
// Events to write and places to write them, for the tests of the class journal.
#pragma once

#include "journal_recorder.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>

#include <fcntl.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <unistd.h>

// An event of every field, told apart by `n`.
inline JournalEvent sampleEvent(JournalSession &session, int n, const QString &text = {})
{
    JournalEvent e;
    e.moment = QStringLiteral("2026-12-09T10:58:%1+01:00").arg(n % 60, 2, 10, QLatin1Char('0'));
    e.nom = QStringLiteral("Dupont");
    e.prenom = QStringLiteral("Léa");
    e.nomKey = matchingKey(e.nom);
    e.prenomKey = matchingKey(e.prenom);
    e.kind = HistoryEventKind::Drop;
    e.text = text.isEmpty() ? QStringLiteral("ligne %1").arg(n) : text;
    e.normal = n % 2 == 0;
    e.duration = QStringLiteral("00:00:03");
    e.amount = 4521;
    e.expected = QStringLiteral("quatre mille cinq cent vingt et un francs");
    e.block = QStringLiteral("mille");
    e.blockRight = n % 2 == 0;
    e.series = 1;
    e.currency = QStringLiteral("franc");
    e.maxAmount = 9999;
    e.chequesPerSeries = 5;
    session.stamp(e, 1000 * n);
    return e;
}

// Reads a PRAGMA or any one-value query from a journal file, on a connection of its own.
inline QVariant readOne(const QString &path, const QString &sql)
{
    const QString name = QUuid::createUuid().toString();
    QVariant value;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(db);
            if (q.exec(sql) && q.next())
                value = q.value(0);
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return value;
}

inline QByteArray contentOf(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A tmpfs mounted on a temporary folder for the test (root only), read-only or
// of a given size; mounted() is false where it cannot be.
class TestMount {
public:
    explicit TestMount(qint64 bytes, bool readOnly = false)
    {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        m_mounted = ::mount("tmpfs", path8().constData(), "tmpfs", readOnly ? MS_RDONLY : 0, options.constData()) == 0;
    }
    ~TestMount()
    {
        if (m_mounted)
            ::umount2(path8().constData(), MNT_DETACH);
    }
    TestMount(const TestMount &) = delete;
    TestMount &operator=(const TestMount &) = delete;

    bool mounted() const { return m_mounted; }
    QString path() const { return m_root.path(); }
    bool setReadOnly(bool readOnly)
    {
        return ::mount("tmpfs", path8().constData(), "tmpfs", MS_REMOUNT | (readOnly ? MS_RDONLY : 0), nullptr) == 0;
    }
    // Takes all the room left with a filler file; false if it could not.
    bool fill()
    {
        const int fd = ::open(QFile::encodeName(filler()).constData(), O_CREAT | O_WRONLY, 0644);
        if (fd < 0)
            return false;
        struct statvfs fs { };
        ::statvfs(path8().constData(), &fs);
        const off_t room = off_t(fs.f_bavail) * off_t(fs.f_frsize);
        const bool ok = room == 0 || ::posix_fallocate(fd, 0, room) == 0;
        ::close(fd);
        ::statvfs(path8().constData(), &fs);
        return ok && fs.f_bavail == 0;
    }
    void empty() { QFile::remove(filler()); }

private:
    QByteArray path8() const { return QFile::encodeName(m_root.path()); }
    QString filler() const { return m_root.filePath(QStringLiteral("remplissage")); }
    QTemporaryDir m_root;
    bool m_mounted = false;
};
