// Pecunette — apprendre à remplir un chèque.
// The class journal wired to the program: each history row, as it is added,
// goes to the journal on a thread of its own, so a slow, locked or full disk
// never holds up the exercise. Problems are told once, in French.
#pragma once

#include "exercise_state.h"
#include "journal_recorder.h"
#include "server_forwarder.h"
#include "services.h"

#include <QObject>
#include <QThread>

class FrmMain;
class FrmProgression;
struct HistoryRow;

class ClassJournal : public QObject {
    Q_OBJECT
public:
    // Where the journal goes: the settings' "Journal"/"Fichier" when it names a
    // usable file path, the data folder's journal.sqlite otherwise.
    static QString defaultPath();
    static QString pathFrom(const SettingsStore &settings);

    ClassJournal(ExerciseState &state, Services &services, const QString &path);
    ~ClassJournal() override;
    ClassJournal(const ClassJournal &) = delete;
    ClassJournal &operator=(const ClassJournal &) = delete;

    // Journals the history's rows from now on (the launch row first) and tells
    // the main window's status bar when the journal cannot be written.
    void attach(FrmProgression &history, FrmMain &main);
    // Opens the journal and writes the rows waiting; until then they are kept.
    void start();
    // Tries again now what waits, as the retry timer does.
    void retry();
    void setRetryInterval(int milliseconds);
    // Forwards the journal's rows to the school server as they are written,
    // from a thread of its own, starting with the first row written (the
    // journal is open then). Before start().
    void forwardTo(const ServerAddress &server);
    bool forwarding() const { return m_forwarder != nullptr; }

    static QString cannotWriteText(const QString &path);

Q_SIGNALS:
    // A row is in the journal (emitted on the main thread).
    void written(const JournalEvent &event);
    void cannotWrite(const QString &reason);
    void writableAgain();
    // The school server cannot take the rows (the message is in French), and
    // when it can again.
    void serverProblem(const QString &message);
    void serverReachableAgain();

private:
    void journal(const HistoryRow &row);
    void onCannotWrite(const QString &reason);
    void onWritableAgain();
    void onSetAside(const QString &path, const QString &aside, const QString &reason);
    void onServerProblem(PostgresJournal::Problem kind, const QString &message);
    void onServerReachableAgain();

    ExerciseState &m_state;
    Services &m_services;
    JournalSession m_session;
    QThread m_thread;
    JournalRecorder *m_recorder;
    QThread m_serverThread;
    ServerForwarder *m_forwarder = nullptr;
    FrmMain *m_main = nullptr;
    bool m_told = false;
    bool m_serverTold = false;
    QString m_statusText;
    QString m_serverStatusText;
};
