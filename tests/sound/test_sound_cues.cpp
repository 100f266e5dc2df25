// Pecunette — apprendre à remplir un chèque.
#include "settings_keys.h"
#include "sound_cues.h"
#include "sound_files.h"
#include "test_support.h"

#include <QApplication>
#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <cmath>

namespace {
// A short 16-bit mono sine tone, enough for the player to open and start.
void writeWav(const QString &path)
{
    const int rate = 8000;
    const int samples = rate / 10;
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QDataStream out(&file);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples * 2);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(rate) << quint32(rate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << quint32(samples * 2);
    for (int i = 0; i < samples; ++i)
        out << qint16(8000 * std::sin(2 * M_PI * 880 * i / rate));
}
QStringList linesOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// A sound server played by the shell: `script` runs with $LOG, a file of the
// test's folder where it may write what it was sent.
struct ScriptedServer {
    QTemporaryDir dir;
    QString log = dir.filePath(QStringLiteral("recu.txt"));
    int messages = 0;
    QString message;
    std::unique_ptr<ChildSoundPlayer> player;

    explicit ScriptedServer(const QString &script, int readyTimeoutMs = 20000)
    {
        player = std::make_unique<ChildSoundPlayer>(
            QStringLiteral("/bin/sh"),
            QStringList {QStringLiteral("-c"), QStringLiteral("LOG='%1'; %2").arg(log, script)}, readyTimeoutMs);
        player->onSoundOff = [this](const QString &text) {
            ++messages;
            message = text;
        };
    }
    // A cue file that exists, so that the player does not skip it.
    QString cue(const QString &name)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        return path;
    }
};
}  // namespace

class TestSoundCues : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }
    void init() { clearSettings(); }

    void path_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("expected");
        QTest::newRow("plain folder") << "/usr/share/pecunette/sons"
                                      << "/usr/share/pecunette/sons/son2.wav";
        QTest::newRow("folder ending with a separator") << "/tmp/"
                                                        << "/tmp/son2.wav";
        QTest::newRow("relative folder") << "sons"
                                         << "sons/son2.wav";
    }
    void path()
    {
        QFETCH(QString, folder);
        QFETCH(QString, expected);
        QCOMPARE(soundPath(folder, QStringLiteral("son2.wav")), QDir::toNativeSeparators(expected));
    }

    // A program folder laid out as installed: <prefix>/bin beside <prefix>/share/pecunette/sons.
    void defaultFolder_data()
    {
        QTest::addColumn<QStringList>("files");  // made under the prefix
        QTest::addColumn<QString>("expected");  // relative to the prefix
        QTest::newRow("cues beside the program")
            << QStringList {"bin/son2.wav", "share/pecunette/sons/son2.wav"} << "bin";
        QTest::newRow("installed cues") << QStringList {"share/pecunette/sons/son2.wav"} << "share/pecunette/sons";
        QTest::newRow("other files beside the program")
            << QStringList {"bin/incorrect.mp3", "bin/pecunette"} << "share/pecunette/sons";
        QTest::newRow("a folder named like the cue") << QStringList {"bin/son2.wav/"} << "share/pecunette/sons";
        QTest::newRow("no cues anywhere") << QStringList {} << "share/pecunette/sons";
    }
    void defaultFolder()
    {
        QFETCH(QStringList, files);
        QFETCH(QString, expected);
        QTemporaryDir prefix;
        QDir root(prefix.path());
        QVERIFY(root.mkpath(QStringLiteral("bin")));
        for (const QString &name : files) {
            if (name.endsWith(QLatin1Char('/'))) {
                QVERIFY(root.mkpath(name));
                continue;
            }
            QVERIFY(root.mkpath(QFileInfo(name).path()));
            QFile file(root.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QCOMPARE(defaultSoundFolder(root.filePath(QStringLiteral("bin"))), root.filePath(expected));
    }

    void switchedOffReadsNothing()
    {
        // A store that fails the test if it is read at all.
        struct Untouchable final : SettingsStore {
            QString Read(const QString &, const QString &, const QString &, const QString &) const override
            {
                qFatal("the store was read with sound off");
                return {};
            }
            void Write(const QString &, const QString &, const QString &, const QString &) override { }
        } store;
        FakeSoundPlayer player;
        JoueSon(Sons::DropJuste, 0, store, player);
        QVERIFY(player.played.isEmpty());
    }

    void anyNonZeroSwitchPlays()
    {
        QSettingsStore store;
        store.Write(Keys::AppConfiguration, Keys::SectionFichier, Keys::Son, QStringLiteral("/sons"));
        FakeSoundPlayer player;
        JoueSon(Sons::ChequeFini, -1, store, player);
        JoueSon(Sons::SerieFinie, 1, store, player);
        QCOMPARE(player.played, QStringList({QDir::toNativeSeparators(QStringLiteral("/sons/bravo.mp3")),
                                             QDir::toNativeSeparators(QStringLiteral("/sons/cgagne.mp3"))}));
    }

    // The child answers "echec" for every file: each is sent once, whatever
    // the number of cues asked for afterwards.
    void aFailedFileIsNotTriedAgain()
    {
        ScriptedServer server(QStringLiteral("echo pret; while IFS= read -r line; do echo \"$line\" >> \"$LOG\"; "
                                             "echo \"echec $line\"; done"));
        const QString folder = server.dir.path();
        QSettingsStore store;
        store.Write(Keys::AppConfiguration, Keys::SectionFichier, Keys::Son, folder);
        const QString wrong = server.cue(Sons::DropFausse);
        const QString right = server.cue(Sons::DropJuste);

        JoueSon(Sons::DropFausse, 1, store, *server.player);
        QVERIFY(QTest::qWaitFor([&] { return server.player->hasFailed(wrong); }, 20000));
        JoueSon(Sons::DropFausse, 1, store, *server.player);
        JoueSon(Sons::DropFausse, 1, store, *server.player);
        QVERIFY(!server.player->hasFailed(right));
        JoueSon(Sons::DropJuste, 1, store, *server.player);
        QVERIFY(QTest::qWaitFor([&] { return server.player->hasFailed(right); }, 20000));
        // The child reads its input in order: a second "incorrect" would stand before "son2".
        QCOMPARE(linesOf(server.log), QStringList({QString::fromUtf8(QUrl::fromLocalFile(wrong).toEncoded()),
                                                   QString::fromUtf8(QUrl::fromLocalFile(right).toEncoded())}));
        QVERIFY(!server.player->isOff());
        QCOMPARE(server.messages, 0);
    }

    // Paths the shell or a line-based reader would trip on travel whole.
    void oddPathsTravelWhole()
    {
        ScriptedServer server(QStringLiteral(
            "echo pret; while IFS= read -r line; do echo \"$line\" >> \"$LOG\"; echo \"echec $line\"; done"));
        const QStringList names {QStringLiteral("un son\nde deux lignes.wav"), QStringLiteral("é à « ».mp3"),
                                 QStringLiteral("100%.wav")};
        for (const QString &name : names) {
            const QString path = server.cue(name);
            server.player->play(path);
            QVERIFY2(QTest::qWaitFor([&] { return server.player->hasFailed(path); }, 20000), qPrintable(name));
        }
        const QStringList received = linesOf(server.log);
        QCOMPARE(received.size(), names.size());
        for (int i = 0; i < names.size(); ++i)
            QCOMPARE(QUrl::fromEncoded(received.at(i).toUtf8()).toLocalFile(), server.dir.filePath(names.at(i)));
    }

    // Whatever goes wrong with the child, sound goes off for the run, the
    // program is told once, and no second child is started.
    void aChildThatFailsSwitchesSoundOff_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("readyTimeoutMs");
        QTest::newRow("dies on its first cue, as Qt Multimedia crashes")
            << "echo start >> \"$LOG\"; echo pret; read line; kill -SEGV $$" << 20000;
        QTest::newRow("ends before it is ready, no backend") << "echo start >> \"$LOG\"; exit 3" << 20000;
        QTest::newRow("never gets ready") << "echo start >> \"$LOG\"; exec cat > /dev/null" << 300;
        QTest::newRow("cannot be started") << "" << 20000;
    }
    void aChildThatFailsSwitchesSoundOff()
    {
        QFETCH(QString, script);
        QFETCH(int, readyTimeoutMs);
        ScriptedServer server(script, readyTimeoutMs);
        if (script.isEmpty()) {
            server.player = std::make_unique<ChildSoundPlayer>(server.dir.filePath(QStringLiteral("absent")));
            server.player->onSoundOff = [&server](const QString &text) {
                ++server.messages;
                server.message = text;
            };
        }
        const QString cue = server.cue(Sons::DropJuste);
        server.player->play(cue);
        QVERIFY(QTest::qWaitFor([&] { return server.player->isOff(); }, 20000));
        server.player->play(cue);
        server.player->play(server.cue(Sons::ChequeFini));
        QCoreApplication::processEvents();
        QCOMPARE(server.messages, 1);
        QCOMPARE(server.message, soundOffMessage());
        QVERIFY(server.message.contains(QStringLiteral("Le son ne peut pas être joué")));
        QCOMPARE(linesOf(server.log).size(), script.isEmpty() ? 0 : 1);
    }

    // A missing file is silence and no reason to start a child at all: here
    // one that cannot be started, which would switch sound off at once.
    void aMissingFileStartsNoChild()
    {
        QTemporaryDir dir;
        ChildSoundPlayer player(dir.filePath(QStringLiteral("absent")));
        int messages = 0;
        player.onSoundOff = [&messages](const QString &) { ++messages; };
        player.play(dir.filePath(QStringLiteral("absent.mp3")));
        player.play(dir.path());  // a folder is no sound file either
        for (int i = 0; i < 10; ++i)
            QCoreApplication::processEvents();
        QVERIFY(!player.isOff());
        QCOMPARE(messages, 0);
    }

    // The real player, on a machine that may have no audio device at all:
    // cues close together and a missing file must pass silently.
    void realPlayerNeverBreaks()
    {
        QTemporaryDir dir;
        const QString wav = dir.filePath(QStringLiteral("son2.wav"));
        writeWav(wav);
        {
            MediaSoundPlayer player;
            player.play(dir.filePath(QStringLiteral("absent.mp3")));
            player.play(wav);
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
            player.play(wav);  // a second cue while the first may still play
            for (int i = 0; i < 20; ++i)
                QCoreApplication::processEvents();
        }
        QVERIFY(true);
    }
};

QTEST_MAIN(TestSoundCues)
#include "test_sound_cues.moc"
