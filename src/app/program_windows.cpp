// Pecunette — apprendre à remplir un chèque.
#include "program_windows.h"

#include "frm_apropos.h"
#include "frm_eleve.h"
#include "frm_libelles.h"
#include "frm_main.h"
#include "frm_param.h"
#include "frm_progression.h"
#include "help_commands.h"
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
    showLoadedWindow(m_param, m_main.get(), [this] { return new FrmParam(m_state, m_services); });
}

void ProgramWindows::openLibelles()
{
    showLoadedWindow(m_libelles, m_main.get(), [this] { return new FrmLibelles(m_services); });
}

void ProgramWindows::openApropos()
{
    showLoadedWindow(m_apropos, m_main.get(), [this] { return new FrmApropos(m_services, m_main.get()); });
}
