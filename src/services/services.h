// Pecunette — apprendre à remplir un chèque.
// The few doors through which the windows reach the platform. main() builds
// the real ones; the tests hand in fakes, so no test blocks on a message box,
// waits for the clock or plays a sound.
#pragma once

#include "instant.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when nothing was ever written there.
    virtual QString Read(const QString &application, const QString &section, const QString &key,
                         const QString &defaultValue) const = 0;
    virtual void Write(const QString &application, const QString &section, const QString &key,
                       const QString &value) = 0;
};

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds on a monotonic clock from an arbitrary origin.
    virtual qint64 elapsedMs() const = 0;

    Instant instant() const
    {
        const QDateTime wall = now();
        return {wall.addMSecs(-wall.time().msec()), elapsedMs() / 1000};
    }
};

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing and returns at once; a file that cannot be played is silence.
    virtual void play(const QString &fullPath) = 0;
};

class Prompts {
public:
    virtual ~Prompts() = default;
    enum class Icon { None, Information, Warning, Critical };
    enum class Answer { Ok = 1, Cancel = 2, Save = 3, Discard = 4 };
    // Modal OK / Annuler question. Annuler is the default button, so a stray
    // Enter (or the end of a double-click) never goes ahead; closing the box
    // counts as Annuler.
    virtual Answer askOkCancel(const QString &title, const QString &text, Icon icon) = 0;
    // Modal "Enregistrer" (Save) / "Quitter sans enregistrer" (Discard) /
    // "Annuler" (Cancel) question, for leaving with work not yet saved;
    // Annuler is the default button and closing the box counts as Annuler.
    virtual Answer askSaveDiscardCancel(const QString &title, const QString &text, Icon icon) = 0;
    // Modal box with a single OK button.
    virtual void inform(const QString &title, const QString &text, Icon icon) = 0;
    // Save dialog proposing `proposedPath`; the empty text when the user gives up.
    virtual QString askSaveFile(const QString &title, const QString &proposedPath, const QString &filter) = 0;
};

// Looks up the system-information program (the registry on Windows).
class SystemInfo {
public:
    virtual ~SystemInfo() = default;
    // Reads one value; false (and an empty value) when it is not there.
    virtual bool GetKeyValue(const QString &chemin, const QString &nomValeur, QString &valeur) const = 0;
    virtual bool fileExists(const QString &path) const = 0;
    virtual bool startProgram(const QString &path) = 0;
    // Programs that may stand in for the system-information tool where there is no registry.
    virtual QString findOnPath(const QStringList &candidates) const = 0;
};

// Everything the windows need from the outside world, handed over by reference.
struct Services {
    SettingsStore &settings;
    Clock &clock;
    SoundPlayer &sound;
    Prompts &prompts;
    SystemInfo &systemInfo;
};
