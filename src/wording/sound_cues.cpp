// Pecunette — apprendre à remplir un chèque.
#include "sound_cues.h"

#include "settings_keys.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

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

MediaSoundPlayer::MediaSoundPlayer() = default;
MediaSoundPlayer::~MediaSoundPlayer()
{
    if (m_player)
        m_player->stop();
}

void MediaSoundPlayer::play(const QString &fullPath)
{
    // A missing file would only make the player report an error later: skip it.
    if (!QFileInfo(fullPath).isFile())
        return;
    if (!m_player) {
        m_output = std::make_unique<QAudioOutput>();
        m_player = std::make_unique<QMediaPlayer>();
        m_player->setAudioOutput(m_output.get());
    }
    // A new cue replaces the one still playing, so cues never pile up.
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(fullPath));
    m_player->play();
}
