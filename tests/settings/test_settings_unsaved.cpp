// Pecunette — apprendre à remplir un chèque.
// Settings that cannot be saved: the teacher is told once where, and what was
// chosen holds for the rest of the run. Run as root, the program runs its cases
// a second time as an ordinary user, for whom file permissions count.
#include "exercise_state.h"
#include "frm_libelles.h"
#include "frm_param.h"
#include "settings_keys.h"
#include "test_support.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

#include <memory>
#include <sys/mount.h>
#include <unistd.h>

namespace {

const char *const AsUserVariable = "PECUNETTE_TEST_AS_USER";

bool root() { return ::geteuid() == 0; }

// Where the store's file goes in each case, made as the case wants it.
class ConfigPlace {
public:
    ~ConfigPlace()
    {
        if (m_mounted)
            ::umount2(QFile::encodeName(m_dir.path()).constData(), MNT_DETACH);
        // Let the temporary folder be removed again.
        QFile::setPermissions(pecunetteFolder(),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }

    QString path() const { return m_dir.path(); }
    QString pecunetteFolder() const { return QDir(m_dir.path()).filePath(QStringLiteral("Pecunette")); }
    QString file() const { return QDir(pecunetteFolder()).filePath(QStringLiteral("Pecunette.conf")); }

    // Empty string when the case was set up; otherwise why it cannot run here.
    QString prepare(const QString &situation)
    {
        if (situation == QStringLiteral("read-only mount")) {
            if (!root())
                return QStringLiteral("mounting needs root");
            if (::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs", 0, "size=64k") != 0)
                return QStringLiteral("mounting a tmpfs is not allowed here");
            m_mounted = true;
        } else if (situation != QStringLiteral("folder in its place") && situation != QStringLiteral("writable") &&
                   root()) {
            return QStringLiteral("root ignores file permissions; the ordinary user's run covers it");
        }
        QDir().mkpath(pecunetteFolder());
        if (situation == QStringLiteral("folder in its place")) {
            QDir().mkpath(file());
        } else if (situation != QStringLiteral("writable") && situation != QStringLiteral("read-only folder")) {
            QFile conf(file());
            conf.open(QIODevice::WriteOnly);
            conf.write("[D%C3%A9marrage]\nOrdre=Ancien ordre\n");
        }
        if (situation == QStringLiteral("unreadable file"))
            QFile::setPermissions(file(), {});
        else if (situation == QStringLiteral("read-only file"))
            QFile::setPermissions(file(), QFileDevice::ReadOwner);
        else if (situation == QStringLiteral("read-only folder"))
            QFile::setPermissions(pecunetteFolder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        else if (m_mounted && ::mount("tmpfs", QFile::encodeName(m_dir.path()).constData(), "tmpfs",
                                      MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return QStringLiteral("remounting read-only failed");
        return {};
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
};

}  // namespace

class TestSettingsUnsaved : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { isolateSettings(); }

    void choicesHoldAndTheTeacherIsToldOnce_data()
    {
        QTest::addColumn<QString>("situation");
        for (const char *situation : {"writable", "folder in its place", "unreadable file", "read-only file",
                                      "read-only folder", "read-only mount", "HOME unset"})
            QTest::newRow(situation) << QString::fromLatin1(situation);
    }

    void choicesHoldAndTheTeacherIsToldOnce()
    {
        QFETCH(QString, situation);
        ConfigPlace place;
        QString file = place.file();
        const QByteArray home = qgetenv("HOME");
        const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
        if (situation == QStringLiteral("HOME unset")) {
            if (root())
                QSKIP("root may write where HOME is missing; the ordinary user's run covers it");
            qunsetenv("HOME");
            qunsetenv("XDG_CONFIG_HOME");
            const QString where = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, where);
            file = QDir::cleanPath(QDir(where).filePath(QStringLiteral("Pecunette/Pecunette.conf")));
        } else {
            const QString why = place.prepare(situation);
            if (!why.isEmpty())
                QSKIP(qPrintable(why));
            QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, place.path());
        }
        const auto restore = qScopeGuard([&] {
            qputenv("HOME", home);
            qputenv("XDG_CONFIG_HOME", configHome);
        });

        TestServices ts;
        ts.settings.onSaveFailure = [&ts](const QString &message) {
            ts.prompts.inform(QStringLiteral("Réglages de Pecunette"), message, Prompts::Icon::Warning);
        };
        ExerciseState state;
        QCOMPARE(QSettingsStore::fileName(Keys::AppPecunette), file);

        // The parameters: five digits and three series, chosen in the lists.
        auto param = std::make_unique<FrmParam>(state, ts.services);
        param->findChild<QComboBox *>(QStringLiteral("saisieHasard"))->setCurrentIndex(4);
        param->findChild<QComboBox *>(QStringLiteral("saisieExercice"))->setCurrentIndex(2);
        param->findChild<QComboBox *>(QStringLiteral("saisieSon"))->setCurrentIndex(1);
        param.reset();
        QCOMPARE(state.MontantMax, 99999.0);
        QCOMPARE(int(state.NbCheques), 15);
        QCOMPARE(int(state.SonActif), 1);
        // Opened again, the dialog shows what is in force.
        param = std::make_unique<FrmParam>(state, ts.services);
        QCOMPARE(param->findChild<QComboBox *>(QStringLiteral("saisieHasard"))->currentText(),
                 QStringLiteral("99999 - 5 chiffres"));
        QCOMPARE(param->findChild<QComboBox *>(QStringLiteral("saisieExercice"))->currentIndex(), 2);
        param.reset();

        // The labels: OK keeps them, and the cheques read them from the store.
        auto labels = std::make_unique<FrmLibelles>(ts.services);
        labels->findChild<QLineEdit *>(QStringLiteral("Text1"))->setText(QStringLiteral("Mme Durand"));
        labels->findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(QStringLiteral("Quimper"));
        labels->OKButton_Click();
        labels = std::make_unique<FrmLibelles>(ts.services);
        QCOMPARE(labels->findChild<QLineEdit *>(QStringLiteral("Text1"))->text(), QStringLiteral("Mme Durand"));
        QCOMPARE(ts.settings.Read(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ville, QString()),
                 QStringLiteral("Quimper"));
        QCOMPARE(readIndex(ts.settings, Keys::Hasard, 5, 0), 4);

        if (situation == QStringLiteral("writable")) {
            QVERIFY(ts.prompts.shown.isEmpty());
            // And the next run finds them.
            QSettingsStore next;
            QCOMPARE(next.Read(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Ordre, QString()),
                     QStringLiteral("Mme Durand"));
            return;
        }
        // Seven values written, one message, naming the file.
        QCOMPARE(ts.prompts.shown.size(), 1);
        const QString text = ts.prompts.shown.first().text;
        QVERIFY2(text.startsWith(QStringLiteral("Les réglages ne peuvent pas être enregistrés dans le fichier\n%1.")
                                     .arg(QDir::toNativeSeparators(file))),
                 qPrintable(text));
        QCOMPARE(ts.prompts.shown.first().icon, Prompts::Icon::Warning);
        // What was there before is not replaced by a file the store could not read.
        if (situation == QStringLiteral("read-only file") || situation == QStringLiteral("read-only mount")) {
            QFile conf(file);
            QVERIFY(conf.open(QIODevice::ReadOnly));
            QCOMPARE(conf.readAll(), QByteArray("[D%C3%A9marrage]\nOrdre=Ancien ordre\n"));
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    TestSettingsUnsaved test;
    int failed = QTest::qExec(&test, argc, argv);
    // The same cases once more as an ordinary user, whom permissions stop.
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (root() && !qEnvironmentVariableIsSet(AsUserVariable) && !setpriv.isEmpty()) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QString::fromLatin1(AsUserVariable), QStringLiteral("1"));
        environment.insert(QStringLiteral("HOME"), QDir::tempPath());
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        child.setProcessEnvironment(environment);
        child.setWorkingDirectory(QDir::tempPath());
        child.start(setpriv, {QStringLiteral("--reuid=nobody"), QStringLiteral("--regid=nogroup"),
                              QStringLiteral("--clear-groups"), QCoreApplication::applicationFilePath()});
        if (!child.waitForFinished(120000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            failed += 1;
    }
    return failed;
}

#include "test_settings_unsaved.moc"
