// Pecunette — apprendre à remplir un chèque.
#include "program_windows.h"

#include "class_journal.h"
#include "frm_apropos.h"
#include "frm_classe.h"
#include "frm_eleve.h"
#include "frm_libelles.h"
#include "frm_main.h"
#include "frm_param.h"
#include "frm_progression.h"
#include "help_commands.h"
#include "sqlite_journal.h"
#include "window_placement.h"

ProgramWindows::ProgramWindows(ExerciseState &state, Services &services)
    : m_state(state)
    , m_services(services)
    , m_progression(std::make_unique<FrmProgression>(state, services))
    , m_main(std::make_unique<FrmMain>(state, services, *m_progression))
{
    FrmMain *main = m_main.get();
    connect(main, &FrmMain::progressionRequested, m_progression.get(), &FrmProgression::mnuProgression_Click);
    connect(main, &FrmMain::eleveRequested, this, &ProgramWindows::openEleve);
    connect(main, &FrmMain::parametresRequested, this, &ProgramWindows::openParametres);
    connect(main, &FrmMain::libellesRequested, this, &ProgramWindows::openLibelles);
    connect(main, &FrmMain::aproposRequested, this, &ProgramWindows::openApropos);
    connect(main, &FrmMain::classeRequested, this, &ProgramWindows::openClasse);
    connect(main, &FrmMain::aideSommaireRequested, this,
            [this] { AideSommaire(m_aide, m_main.get(), m_services.prompts); });
    connect(main, &FrmMain::aideRechercheRequested, this,
            [this] { AideRecherche(m_aide, m_main.get(), m_services.prompts); });
}

ProgramWindows::~ProgramWindows() = default;

void ProgramWindows::openEleve()
{
    FrmMain *main = m_main.get();
    showLoadedWindow(m_eleve, main, [this, main] {
        return new FrmEleve(m_state, m_services, *m_progression, main, main->Message(), main->DebutMsg(),
                            [main](const QString &text) { main->setSessionLine(text); });
    });
}

void ProgramWindows::openParametres()
{
    // Already open: it was unlocked when it opened.
    if (m_param) {
        showLoadedWindow(m_param, m_main.get(), [] { return nullptr; });
        return;
    }
    withTeacherCode(m_main.get(), m_services, m_attempts, QStringLiteral("Les paramètres sont protégés."), [this] {
        showLoadedWindow(m_param, m_main.get(), [this] { return new FrmParam(m_state, m_services); });
    });
}

void ProgramWindows::openClasse()
{
    if (m_classe) {
        showLoadedWindow(m_classe, m_main.get(), [] { return nullptr; });
        return;
    }
    withTeacherCode(
        m_main.get(), m_services, m_attempts,
        QStringLiteral("La fenêtre Classe montre les résultats de tous les élèves."), [this] {
            // A reader of its own on the journal file: the writer of
            // the rows keeps its connection on its thread.
            auto journal = std::make_unique<SqliteJournal>();
            const QString path = ClassJournal::pathFrom(m_services.settings);
            const SqliteJournal::Opening opening = journal->open(path, m_services.clock.now());
            if (!opening.ok) {
                m_services.prompts.inform(
                    QStringLiteral("Classe"),
                    QStringLiteral("Le journal de la classe ne peut pas être ouvert : %1").arg(opening.error),
                    Prompts::Icon::Warning);
                return;
            }
            showLoadedWindow(m_classe, m_main.get(), [this, &journal] {
                return new FrmClasse(m_services, std::move(journal), m_attempts, m_main.get());
            });
        });
}

void ProgramWindows::openLibelles()
{
    showLoadedWindow(m_libelles, m_main.get(), [this] { return new FrmLibelles(m_services); });
}

void ProgramWindows::openApropos()
{
    showLoadedWindow(m_apropos, m_main.get(), [this] { return new FrmApropos(m_services, m_main.get()); });
}
