// Pecunette — apprendre à remplir un chèque.
// The player of the sound cues: the one part of the program that uses Qt Multimedia.
#pragma once

#include "services.h"

#include <memory>

class QAudioOutput;
class QMediaPlayer;

// QMediaPlayer + QAudioOutput, made at the first cue: creating them costs
// tens of milliseconds and megabytes that start-up should not pay.
class MediaSoundPlayer final : public SoundPlayer {
public:
    MediaSoundPlayer();
    ~MediaSoundPlayer() override;
    void play(const QString &fullPath) override;

private:
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};
