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
