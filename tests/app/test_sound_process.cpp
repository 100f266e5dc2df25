// Pecunette — apprendre à remplir un chèque.
// The real program with sound on, where sound cannot play: it neither crashes
// nor stops answering, and it says once that sound is off.
#include "sound_cues.h"
#include "sound_files.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

void writeRandomBytes(const QString &path, qint64 size)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qint64 written = 0; written < size; written += block.size()) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        QVERIFY(file.write(block.constData(), qMin<qint64>(block.size(), size - written)) > 0);
    }
}

}  // namespace

class TestSoundProcess : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theProgramGoesOnWithoutSound_data()
    {
        QTest::addColumn<QString>("backend");
        QTest::addColumn<bool>("withoutPlugins");
        QTest::addColumn<bool>("unreadableFiles");
        QTest::addColumn<bool>("soundGoesOff");
        // Qt Multimedia crashes in making its player there.
        QTest::newRow("GStreamer without its plugins") << "gstreamer" << true << false << true;
        // Crashes at play() where there is no audio device; plays where there is one.
        QTest::newRow("ffmpeg backend") << "ffmpeg" << false << false << false;
        // Each of these held the window up to a second, every cue.
        QTest::newRow("unreadable files, GStreamer") << "gstreamer" << false << true << false;
        QTest::newRow("unreadable files, ffmpeg") << "ffmpeg" << false << true << false;
    }
    void theProgramGoesOnWithoutSound()
    {
        QFETCH(QString, backend);
        QFETCH(bool, withoutPlugins);
        QFETCH(bool, unreadableFiles);
        QFETCH(bool, soundGoesOff);
        QTemporaryDir home;
        QString sounds = QStringLiteral(PECUNETTE_SOUNDS);
        if (unreadableFiles) {
            sounds = home.filePath(QStringLiteral("sons"));
            QVERIFY(QDir().mkpath(sounds));
            writeRandomBytes(QDir(sounds).filePath(Sons::DropJuste), 100000);
            writeRandomBytes(QDir(sounds).filePath(Sons::DropFausse), 0);
            writeRandomBytes(QDir(sounds).filePath(Sons::ChequeFini), 20 << 20);
            writeRandomBytes(QDir(sounds).filePath(Sons::SerieFinie), 5000);
        }
        const QString config = home.filePath(QStringLiteral("config/Pecunette"));
        {
            QSettings start(config + QStringLiteral("/Pecunette.conf"), QSettings::IniFormat);
            start.setValue(QStringLiteral("Démarrage/Son"), QStringLiteral("1"));
            QSettings files(config + QStringLiteral("/Configuration.conf"), QSettings::IniFormat);
            files.setValue(QStringLiteral("Fichier/Son"), sounds);
        }
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.path());
        environment.insert(QStringLiteral("QT_MEDIA_BACKEND"), backend);
        environment.insert(QStringLiteral("PECUNETTE_TEST_CUES"), QStringLiteral("10"));
        if (withoutPlugins) {
            const QString empty = home.filePath(QStringLiteral("greffons"));
            QVERIFY(QDir().mkpath(empty));
            environment.insert(QStringLiteral("GST_PLUGIN_SYSTEM_PATH_1_0"), empty);
            environment.insert(QStringLiteral("GST_PLUGIN_PATH_1_0"), empty);
            environment.insert(QStringLiteral("GST_REGISTRY"), home.filePath(QStringLiteral("registre.bin")));
        }

        QProcess child;
        child.setProcessEnvironment(environment);
        QByteArray out;
        QByteArray err;
        connect(&child, &QProcess::readyReadStandardOutput, this, [&] { out += child.readAllStandardOutput(); });
        connect(&child, &QProcess::readyReadStandardError, this, [&] { err += child.readAllStandardError(); });
        child.start(QStringLiteral(PECUNETTE_PROGRAM), QStringList());
        QVERIFY(child.waitForStarted());

        // Ten cues, each on its own turn of the event loop: tens of milliseconds
        // (sanitizers included), where a window held up by its player took seconds.
        const QRegularExpression done(QStringLiteral("10 sons demandés en (\\d+) ms"));
        QRegularExpressionMatch match;
        QVERIFY2(QTest::qWaitFor(
                     [&] {
                         match = done.match(QString::fromUtf8(out));
                         return match.hasMatch() || child.state() == QProcess::NotRunning;
                     },
                     60000),
                 err.constData());
        QVERIFY2(match.hasMatch(),
                 qPrintable(QStringLiteral("exit %1, %2").arg(child.exitCode()).arg(QString::fromUtf8(err))));
        QVERIFY2(match.captured(1).toInt() < 1500, qPrintable(match.captured(0)));

        const QByteArray message = soundOffMessage().toUtf8();
        if (soundGoesOff)
            QVERIFY2(QTest::qWaitFor([&] { return err.contains(message) || child.state() == QProcess::NotRunning; },
                                     30000) &&
                         err.contains(message),
                     err.constData());
        QCOMPARE(child.state(), QProcess::Running);

        // Still answering: a stop signal ends it at once, as Quitter does.
        QElapsedTimer answer;
        answer.start();
        ::kill(pid_t(child.processId()), SIGTERM);
        QVERIFY(child.waitForFinished(30000));
        QVERIFY2(answer.elapsed() < 3000, qPrintable(QString::number(answer.elapsed())));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
        err += child.readAllStandardError();
        QVERIFY(err.count(message) <= 1);
    }
};

QTEST_MAIN(TestSoundProcess)
#include "test_sound_process.moc"
