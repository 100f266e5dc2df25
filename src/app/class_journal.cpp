// Pecunette — apprendre à remplir un chèque.
#include "class_journal.h"

#include "frm_main.h"
#include "frm_progression.h"
#include "settings_keys.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStatusBar>

namespace {
const QString Title = QStringLiteral("Journal de la classe");
}

QString ClassJournal::defaultPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
        .filePath(QStringLiteral("journal.sqlite"));
}

QString ClassJournal::pathFrom(const SettingsStore &settings)
{
    const QString stored = settings.Read(Keys::AppPecunette, Keys::SectionJournal, Keys::JournalFichier, QString());
    // Only a whole path to a file will do: a relative one would follow the
    // folder the program happens to start in, and a folder is no file.
    const QFileInfo info(stored);
    if (stored.trimmed().isEmpty() || stored != stored.trimmed() || !info.isAbsolute() || stored.endsWith(u'/') ||
        info.isDir() || stored.contains(QChar(0)))
        return defaultPath();
    return QDir::cleanPath(stored);
}

ClassJournal::ClassJournal(ExerciseState &state, Services &services, const QString &path)
    : m_state(state)
    , m_services(services)
    , m_recorder(new JournalRecorder(path))
{
    m_thread.setObjectName(QStringLiteral("journal"));
    m_recorder->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_recorder, &QObject::deleteLater);
    connect(m_recorder, &JournalRecorder::written, this, &ClassJournal::written);
    connect(m_recorder, &JournalRecorder::cannotWrite, this, &ClassJournal::onCannotWrite);
    connect(m_recorder, &JournalRecorder::writableAgain, this, &ClassJournal::onWritableAgain);
    connect(m_recorder, &JournalRecorder::setAside, this, &ClassJournal::onSetAside);
    m_thread.start();
}

ClassJournal::~ClassJournal()
{
    // What waits gets a last try before the program goes.
    QMetaObject::invokeMethod(m_recorder, &JournalRecorder::finish, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

void ClassJournal::attach(FrmProgression &history, FrmMain &main)
{
    m_main = &main;
    if (history.model().rowCount() > 0)
        journal(history.model().row(0));
    connect(&history, &FrmProgression::rowAdded, this, &ClassJournal::journal);
    connect(&history, &FrmProgression::cleared, this, [this] {
        HistoryRow row;
        row.event = QStringLiteral("Historique vidé (bouton « Vider »)");
        row.kind = HistoryEventKind::Clearing;
        row.at = m_services.clock.now();
        journal(row);
    });
}

void ClassJournal::start() { QMetaObject::invokeMethod(m_recorder, &JournalRecorder::start, Qt::QueuedConnection); }

void ClassJournal::retry() { QMetaObject::invokeMethod(m_recorder, &JournalRecorder::flush, Qt::QueuedConnection); }

void ClassJournal::setRetryInterval(int milliseconds)
{
    QMetaObject::invokeMethod(
        m_recorder, [recorder = m_recorder, milliseconds] { recorder->setRetryInterval(milliseconds); },
        Qt::QueuedConnection);
}

void ClassJournal::journal(const HistoryRow &row)
{
    JournalEvent event = journalEventFor(row, m_state);
    m_session.stamp(event, m_services.clock.elapsedMs());
    QMetaObject::invokeMethod(
        m_recorder, [recorder = m_recorder, event] { recorder->record(event); }, Qt::QueuedConnection);
}

QString ClassJournal::cannotWriteText(const QString &path)
{
    return QStringLiteral("Le journal de la classe ne peut pas être écrit dans le fichier\n%1.\n"
                          "L'exercice continue : les lignes de la progression sont gardées en mémoire\n"
                          "et seront écrites dans le journal dès que ce sera de nouveau possible.")
        .arg(QDir::toNativeSeparators(path));
}

void ClassJournal::onCannotWrite(const QString &reason)
{
    m_statusText = QStringLiteral("Journal de la classe : écriture impossible, lignes gardées en mémoire.");
    if (m_main)
        m_main->statusBar()->showMessage(m_statusText);
    Q_EMIT cannotWrite(reason);
    // Once a run: a disk that fills and empties again must not bury the pupil in boxes.
    if (m_told)
        return;
    m_told = true;
    m_services.prompts.inform(Title,
                              cannotWriteText(m_recorder->path()) + QStringLiteral("\n\n(") + reason + QLatin1Char(')'),
                              Prompts::Icon::Warning);
}

void ClassJournal::onWritableAgain()
{
    if (m_main && m_main->statusBar()->currentMessage() == m_statusText)
        m_main->statusBar()->clearMessage();
    Q_EMIT writableAgain();
}

void ClassJournal::onSetAside(const QString &path, const QString &aside, const QString &reason)
{
    m_services.prompts.inform(Title,
                              QStringLiteral("Le fichier du journal de la classe\n%1\nne peut pas être lu : %2.\n"
                                             "Il n'a pas été effacé : il a été renommé en\n%3\n"
                                             "et un nouveau journal a été commencé dans\n%1.")
                                  .arg(QDir::toNativeSeparators(path), reason, QDir::toNativeSeparators(aside)),
                              Prompts::Icon::Warning);
}
