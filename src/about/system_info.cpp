// Pecunette — apprendre à remplir un chèque.
#include "system_info.h"

#include <QFileInfo>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>

bool PlatformSystemInfo::GetKeyValue(const QString &chemin, const QString &nomValeur, QString &valeur) const
{
    valeur.clear();
#if defined(Q_OS_WIN)
    const QSettings key(QStringLiteral("HKEY_LOCAL_MACHINE\\") + chemin, QSettings::NativeFormat);
    const QVariant value = key.value(nomValeur);
    if (!value.isValid())
        return false;
    valeur = value.toString();
    return true;
#else
    Q_UNUSED(chemin)
    Q_UNUSED(nomValeur)
    return false;
#endif
}

bool PlatformSystemInfo::fileExists(const QString &path) const { return QFileInfo(path).isFile(); }

bool PlatformSystemInfo::startProgram(const QString &path) { return QProcess::startDetached(path, {}); }

QString PlatformSystemInfo::findOnPath(const QStringList &candidates) const
{
    for (const QString &candidate : candidates) {
        QString found = QStandardPaths::findExecutable(candidate);
        if (!found.isEmpty())
            return found;
    }
    return {};
}
