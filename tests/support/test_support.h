// Pecunette — apprendre à remplir un chèque.
// Fakes for the services, and a settings store that never touches the user's own.
#pragma once

#include "services.h"
#include "settings_store.h"

#include <QDateTime>
#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

#include <deque>
#include <functional>

class QWidget;

// Types `text` into `widget` key by key, as a pupil would; characters beyond
// ASCII arrive as text, the way an input method gives them.
void typeText(QWidget *widget, const QString &text);

// Points QSettings at a throw-away folder for the whole test program; call
// before anything reads the store (the test's initTestCase, or main()).
void isolateSettings();
// Empties the throw-away store between cases.
void clearSettings();

class FakeClock final : public Clock {
public:
    // Time passing moves both clocks; a test moves `current` alone for a
    // wall clock set back or forward.
    QDateTime current = QDateTime(QDate(2026, 12, 9), QTime(10, 58, 30));
    qint64 monotonic = 0;
    QDateTime now() const override { return current; }
    qint64 elapsedMs() const override { return monotonic; }
    void advance(qint64 seconds) { advanceMs(seconds * 1000); }
    void advanceMs(qint64 milliseconds)
    {
        current = current.addMSecs(milliseconds);
        monotonic += milliseconds;
    }
};

class FakeSoundPlayer final : public SoundPlayer {
public:
    QStringList played;
    void play(const QString &fullPath) override { played << fullPath; }
};

// Answers message boxes from a queue and records them. An empty queue goes
// ahead: OK, or "Quitter sans enregistrer" where saving is offered (which an
// OK in the queue stands for too).
class FakePrompts final : public Prompts {
public:
    struct Shown {
        QString title;
        QString text;
        Icon icon;
        bool question;
        bool offersSave = false;  // "Enregistrer" / "Quitter sans enregistrer" / "Annuler"
    };
    QList<Shown> shown;
    std::deque<Answer> answers;
    QString saveFileAnswer;  // what the save dialog "returns"
    QString proposedSavePath;

    Answer askOkCancel(const QString &title, const QString &text, Icon icon) override;
    Answer askSaveDiscardCancel(const QString &title, const QString &text, Icon icon) override;
    void inform(const QString &title, const QString &text, Icon icon) override;
    QString askSaveFile(const QString &title, const QString &proposedPath, const QString &filter) override;
};

class FakeSystemInfo final : public SystemInfo {
public:
    QMap<QString, QString> values;  // "chemin|nomValeur" -> valeur
    QStringList existingFiles;
    QStringList onPath;
    QStringList started;
    bool startSucceeds = true;

    bool GetKeyValue(const QString &chemin, const QString &nomValeur, QString &valeur) const override;
    bool fileExists(const QString &path) const override { return existingFiles.contains(path); }
    bool startProgram(const QString &path) override;
    QString findOnPath(const QStringList &candidates) const override;
};

// The real QSettings store (in the throw-away folder) and fakes for the rest.
struct TestServices {
    QSettingsStore settings;
    FakeClock clock;
    FakeSoundPlayer sound;
    FakePrompts prompts;
    FakeSystemInfo systemInfo;
    Services services {settings, clock, sound, prompts, systemInfo};
};
