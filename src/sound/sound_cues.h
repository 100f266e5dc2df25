// Pecunette — apprendre à remplir un chèque.
// Playing the sound cues: the one part of the program that uses Qt Multimedia,
// and only in a child process of its own.
#pragma once

#include "services.h"

#include <QByteArray>
#include <QSet>
#include <QStringList>

#include <functional>
#include <memory>

class QAudioOutput;
class QMediaPlayer;
class QProcess;

// QMediaPlayer + QAudioOutput, made at the first cue: creating them costs
// tens of milliseconds and megabytes that start-up should not pay. Qt
// Multimedia can crash while making them (GStreamer without its plugins, the
// ffmpeg backend without an audio device) and can hold its thread for a second
// on a file it cannot read: only the sound server child uses this class.
class MediaSoundPlayer final : public SoundPlayer {
public:
    MediaSoundPlayer();
    ~MediaSoundPlayer() override;
    void play(const QString &fullPath) override;
    // Makes the player now; false when Qt Multimedia has no backend to play with.
    bool prepare();
    // Called with the path of a file the player could not read or play.
    std::function<void(const QString &fullPath)> onFailure;

private:
    std::unique_ptr<QAudioOutput> m_output;
    std::unique_ptr<QMediaPlayer> m_player;
};

// The sentence the program shows, once, when sound goes off for the run.
QString soundOffMessage();

// Plays the cues in a child process, the program itself run as
// `pecunette --sound-server`, so that Qt Multimedia never runs in the process
// that holds the window and the pupil's history: whatever it does, crash or
// block, the window goes on. The child is started at the first cue and must
// say it is ready within `readyTimeoutMs`; cues asked for meanwhile wait, the
// latest only. If it cannot start, does not get ready or dies, sound is off
// for the run and onSoundOff is told once. A file the child could not play is
// never sent again in the run.
class ChildSoundPlayer final : public SoundPlayer {
public:
    explicit ChildSoundPlayer(QString program, QStringList arguments = {QStringLiteral("--sound-server")},
                              int readyTimeoutMs = 20000);
    ~ChildSoundPlayer() override;
    void play(const QString &fullPath) override;

    std::function<void(const QString &message)> onSoundOff;
    bool isOff() const { return m_off; }
    bool hasFailed(const QString &fullPath) const;

private:
    void start();
    void readReplies();
    void switchOff();
    void send(const QByteArray &line);

    QString m_program;
    QStringList m_arguments;
    int m_readyTimeoutMs;
    std::unique_ptr<QProcess> m_server;
    bool m_ready = false;
    bool m_off = false;
    QByteArray m_waiting;  // the cue asked for before the child was ready
    QByteArray m_replies;  // the child's output not yet read up to a line end
    QSet<QByteArray> m_failed;
};

// The child's side: `pecunette --sound-server`. Reads one file a line on
// standard input (an encoded file URL), plays it, answers "echec <line>" for
// a file it cannot play; "pret" once its player is made. Ends with its input.
int runSoundServer(int argc, char **argv);
