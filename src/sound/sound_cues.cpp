// Pecunette — apprendre à remplir un chèque.
#include "sound_cues.h"

#include <QAudioOutput>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QMediaPlayer>
#include <QProcess>
#include <QSocketNotifier>
#include <QTimer>
#include <QUrl>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <unistd.h>
#include <utility>

namespace {
// A cue as it travels to the sound server: an encoded file URL, so that no
// character of the path (a line end in a folder's name) can break the line.
QByteArray cueLine(const QString &fullPath)
{
    return QUrl::fromLocalFile(QFileInfo(fullPath).absoluteFilePath()).toEncoded();
}

const QByteArray ReadyLine = QByteArrayLiteral("pret");
const QByteArray FailedPrefix = QByteArrayLiteral("echec ");
}  // namespace

MediaSoundPlayer::MediaSoundPlayer() = default;
MediaSoundPlayer::~MediaSoundPlayer()
{
    if (m_player)
        m_player->stop();
}

bool MediaSoundPlayer::prepare()
{
    if (!m_player) {
        m_output = std::make_unique<QAudioOutput>();
        m_player = std::make_unique<QMediaPlayer>();
        m_player->setAudioOutput(m_output.get());
        auto failed = [this] {
            if (onFailure)
                onFailure(m_player->source().toLocalFile());
        };
        QObject::connect(m_player.get(), &QMediaPlayer::errorOccurred, m_player.get(),
                         [failed](QMediaPlayer::Error error) {
                             if (error != QMediaPlayer::NoError)
                                 failed();
                         });
        QObject::connect(m_player.get(), &QMediaPlayer::mediaStatusChanged, m_player.get(),
                         [failed](QMediaPlayer::MediaStatus status) {
                             if (status == QMediaPlayer::InvalidMedia)
                                 failed();
                         });
    }
    return m_player->isAvailable();
}

void MediaSoundPlayer::play(const QString &fullPath)
{
    // A missing file would only make the player report an error later: skip it.
    if (!QFileInfo(fullPath).isFile())
        return;
    prepare();
    // A new cue replaces the one still playing, so cues never pile up.
    m_player->stop();
    m_player->setSource(QUrl::fromLocalFile(fullPath));
    m_player->play();
}

QString soundOffMessage()
{
    return QStringLiteral("Le son ne peut pas être joué sur cet ordinateur : il est coupé pour cette fois.");
}

ChildSoundPlayer::ChildSoundPlayer(QString program, QStringList arguments, int readyTimeoutMs)
    : m_program(std::move(program))
    , m_arguments(std::move(arguments))
    , m_readyTimeoutMs(readyTimeoutMs)
{ }

ChildSoundPlayer::~ChildSoundPlayer()
{
    if (!m_server)
        return;
    QObject::disconnect(m_server.get(), nullptr, nullptr, nullptr);
    // The server keeps nothing: no need to wait for it to end on its own.
    if (m_server->state() != QProcess::NotRunning) {
        m_server->kill();
        m_server->waitForFinished(1000);
    }
}

bool ChildSoundPlayer::hasFailed(const QString &fullPath) const { return m_failed.contains(cueLine(fullPath)); }

void ChildSoundPlayer::play(const QString &fullPath)
{
    if (m_off || !QFileInfo(fullPath).isFile())
        return;
    const QByteArray line = cueLine(fullPath);
    if (m_failed.contains(line))
        return;
    if (!m_server)
        start();
    if (m_off)
        return;
    if (!m_ready) {
        m_waiting = line;  // a cue older than the latest would only come late
        return;
    }
    send(line);
}

void ChildSoundPlayer::start()
{
    m_server = std::make_unique<QProcess>();
    QProcess *server = m_server.get();
    // Its warnings (no audio device, an unreadable file) go where ours go.
    server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QObject::connect(server, &QProcess::readyReadStandardOutput, server, [this] { readReplies(); });
    // Failing to start, crashing, ending: the server never ends while it is needed.
    QObject::connect(server, &QProcess::errorOccurred, server, [this] { switchOff(); });
    QObject::connect(server, &QProcess::finished, server, [this] { switchOff(); });
    QTimer::singleShot(m_readyTimeoutMs, server, [this] {
        if (!m_ready)
            switchOff();
    });
    server->start(m_program, m_arguments);
}

void ChildSoundPlayer::readReplies()
{
    m_replies += m_server->readAllStandardOutput();
    for (qsizetype end = m_replies.indexOf('\n'); end >= 0; end = m_replies.indexOf('\n')) {
        const QByteArray line = m_replies.left(end);
        m_replies.remove(0, end + 1);
        if (line == ReadyLine) {
            m_ready = true;
            if (!m_waiting.isEmpty())
                send(std::exchange(m_waiting, {}));
        } else if (line.startsWith(FailedPrefix)) {
            m_failed.insert(line.mid(FailedPrefix.size()));
        }
    }
    // Never a line this long from our own server: whatever it is, drop it.
    if (m_replies.size() > 1 << 16)
        m_replies.clear();
}

void ChildSoundPlayer::send(const QByteArray &line) { m_server->write(line + '\n'); }

void ChildSoundPlayer::switchOff()
{
    if (m_off)
        return;
    m_off = true;
    m_waiting.clear();
    QObject::disconnect(m_server.get(), nullptr, nullptr, nullptr);
    if (m_server->state() != QProcess::NotRunning)
        m_server->kill();
    if (onSoundOff)
        onSoundOff(soundOffMessage());
}

int runSoundServer(int argc, char **argv)
{
    // Ctrl+C in a terminal reaches the whole process group: the program itself
    // ends its server, by closing its input.
    std::signal(SIGINT, SIG_IGN);
    std::signal(SIGHUP, SIG_IGN);
    QCoreApplication app(argc, argv);
    auto answer = [](const QByteArray &line) {
        std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    };
    MediaSoundPlayer player;
    QSet<QByteArray> failed;
    QByteArray playing;
    player.onFailure = [&](const QString &fullPath) {
        if (playing.isEmpty() || failed.contains(playing) || QUrl::fromEncoded(playing).toLocalFile() != fullPath)
            return;
        failed.insert(playing);
        answer(FailedPrefix + playing);
    };
    // Where Qt Multimedia crashes, it is here, in making the player.
    if (!player.prepare())
        return 3;
    answer(ReadyLine);

    QByteArray input;
    QSocketNotifier notifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&notifier, &QSocketNotifier::activated, &app, [&] {
        char buffer[4096];
        const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (count < 0 && errno == EINTR)
            return;
        if (count <= 0) {
            notifier.setEnabled(false);
            QCoreApplication::quit();
            return;
        }
        input.append(buffer, count);
        // Cues that came while the player was busy are stale: the latest only.
        const qsizetype end = input.lastIndexOf('\n');
        if (end < 0)
            return;
        const qsizetype start = end == 0 ? 0 : input.lastIndexOf('\n', end - 1) + 1;
        const QByteArray line = input.mid(start, end - start);
        input.remove(0, end + 1);
        if (line.isEmpty() || failed.contains(line))
            return;
        playing = line;
        player.play(QUrl::fromEncoded(line).toLocalFile());
    });
    return QCoreApplication::exec();
}
