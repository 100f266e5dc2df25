// Pecunette — apprendre à remplir un chèque.
#include "sound_cues.h"

#include <QAudioOutput>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QUrl>

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
