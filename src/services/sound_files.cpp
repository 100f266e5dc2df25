// Pecunette — apprendre à remplir un chèque.
#include "sound_files.h"

#include "settings_keys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

QString soundPath(const QString &folder, const QString &file)
{
    if (folder.isEmpty())
        return file;
    const QString native = QDir::toNativeSeparators(folder);
    if (native.endsWith(QDir::separator()) || native.endsWith(QLatin1Char('/')))
        return native + file;
    return native + QDir::separator() + file;
}

QString defaultSoundFolder(const QString &programFolder)
{
    if (QFileInfo(QDir(programFolder).filePath(Sons::DropJuste)).isFile())
        return programFolder;
    return QDir::cleanPath(QDir(programFolder).filePath(QStringLiteral("../share/pecunette/sons")));
}

void JoueSon(const QString &file, qint16 sonActif, const SettingsStore &settings, SoundPlayer &player)
{
    if (sonActif == 0)
        return;
    const QString folder = settings.Read(Keys::AppConfiguration, Keys::SectionFichier, Keys::Son,
                                         defaultSoundFolder(QCoreApplication::applicationDirPath()));
    player.play(soundPath(folder, file));
}
