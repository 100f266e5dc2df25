// Pecunette — apprendre à remplir un chèque.
#include "test_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

namespace {
// In memory where the system offers it: the store syncs each write to disk,
// which on a slow disk costs more than the tests themselves.
QString settingsDirTemplate()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    const QString base = shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
    return base + QStringLiteral("/pecunette-test-XXXXXX");
}

QTemporaryDir &settingsDir()
{
    static QTemporaryDir dir(settingsDirTemplate());
    return dir;
}
}  // namespace

void isolateSettings()
{
    const QString path = settingsDir().path();
    qputenv("XDG_CONFIG_HOME", path.toLocal8Bit());
    // The data folder too: what the program keeps there stays in the test's own.
    qputenv("XDG_DATA_HOME", (path + QStringLiteral("/data")).toLocal8Bit());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, path);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, path);
}

void clearSettings()
{
    QDir(settingsDir().path()).removeRecursively();
    QDir().mkpath(settingsDir().path());
}

Prompts::Answer FakePrompts::askOkCancel(const QString &title, const QString &text, Icon icon)
{
    shown.append({title, text, icon, true});
    if (answers.empty())
        return Answer::Ok;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer;
}

Prompts::Answer FakePrompts::askSaveDiscardCancel(const QString &title, const QString &text, Icon icon)
{
    shown.append({title, text, icon, true, true});
    if (answers.empty())
        return Answer::Discard;
    const Answer answer = answers.front();
    answers.pop_front();
    return answer == Answer::Ok ? Answer::Discard : answer;
}

void FakePrompts::inform(const QString &title, const QString &text, Icon icon)
{
    shown.append({title, text, icon, false});
}

QString FakePrompts::askSaveFile(const QString &, const QString &proposedPath, const QString &)
{
    proposedSavePath = proposedPath;
    return saveFileAnswer;
}

bool FakeSystemInfo::GetKeyValue(const QString &chemin, const QString &nomValeur, QString &valeur) const
{
    const auto found = values.constFind(chemin + QLatin1Char('|') + nomValeur);
    if (found == values.constEnd()) {
        valeur.clear();
        return false;
    }
    valeur = *found;
    return true;
}

bool FakeSystemInfo::startProgram(const QString &path)
{
    started << path;
    return startSucceeds;
}

QString FakeSystemInfo::findOnPath(const QStringList &candidates) const
{
    for (const QString &candidate : candidates)
        if (onPath.contains(candidate))
            return candidate;
    return {};
}

void typeText(QWidget *widget, const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(widget, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}
