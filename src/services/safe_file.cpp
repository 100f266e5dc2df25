// Pecunette — apprendre à remplir un chèque.
#include "safe_file.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

FileWriteResult failure(const QString &reason) { return {false, reason}; }

// Qt keeps only its English text of an error; when the error number is lost
// on the way up, the place itself tells why a file cannot be made there.
int probeFolder(const QString &path)
{
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat info { };
    if (::stat(folder.constData(), &info) != 0)
        return errno;
    if (!S_ISDIR(info.st_mode))
        return ENOTDIR;
    struct statvfs fs { };
    if (::statvfs(folder.constData(), &fs) == 0 && (fs.f_flag & ST_RDONLY))
        return EROFS;
    if (::access(folder.constData(), W_OK | X_OK) != 0)
        return errno;
    return 0;
}

}  // namespace

QString frenchFileError(int error)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("Le disque est plein.");
    case EDQUOT: return QStringLiteral("Le quota d'espace disque est atteint.");
    case EFBIG: return QStringLiteral("Le fichier dépasse la taille permise.");
    case EROFS: return QStringLiteral("Le disque est en lecture seule.");
    case EACCES:
    case EPERM: return QStringLiteral("Permission refusée.");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("Le dossier n'existe pas.");
    case EISDIR: return QStringLiteral("C'est un dossier, pas un fichier.");
    case ENAMETOOLONG: return QStringLiteral("Le nom du fichier est trop long.");
    case EIO: return QStringLiteral("Le disque ne répond pas (erreur d'entrée-sortie).");
    case EMFILE:
    case ENFILE: return QStringLiteral("Trop de fichiers sont ouverts.");
    default: return QStringLiteral("Erreur du système (code %1).").arg(error);
    }
}

FileWriteResult writeFileSafely(const QString &path, const QByteArray &bytes)
{
    const QByteArray native = QFile::encodeName(path);
    struct stat existing { };
    if (::stat(native.constData(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        if (S_ISDIR(existing.st_mode))
            return failure(frenchFileError(EISDIR));
        return failure(QStringLiteral("Ce n'est pas un fichier ordinaire (périphérique ou tube) : il n'a pas été "
                                      "remplacé."));
    }

    // Unbuffered: each write reaches the system at once and its error is seen here,
    // not lost in the buffer that closing the file would flush after the check.
    QSaveFile file(path);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const int error = errno;
        const int probed = probeFolder(path);
        return failure(frenchFileError(probed != 0 ? probed : (error != 0 ? error : EACCES)));
    }
    qint64 written = 0;
    while (written < bytes.size()) {
        errno = 0;
        const qint64 n = file.write(bytes.constData() + written, bytes.size() - written);
        if (n <= 0) {
            int error = errno;
            if (file.error() == QFileDevice::ResourceError || error == 0)
                error = ENOSPC;
            file.cancelWriting();
            return failure(frenchFileError(error));
        }
        written += n;
    }
    errno = 0;
    if (!file.commit()) {
        const int error = errno;
        return failure(frenchFileError(error != 0 ? error : ENOSPC));
    }
    return {true, {}};
}
