// Pecunette — apprendre à remplir un chèque.
// The program's windows and what links them: the one place that knows them all.
#pragma once

#include "exercise_state.h"
#include "services.h"
#include "teacher_code.h"

#include <QObject>
#include <QPointer>

#include <memory>

class FrmAide;
class FrmClasse;
class FrmApropos;
class FrmEleve;
class FrmLibelles;
class FrmMain;
class FrmParam;
class FrmProgression;

class ProgramWindows : public QObject {
    Q_OBJECT
public:
    // Loads the history hidden (it writes the launch row), then the main
    // window, which runs its start-up; nothing is shown yet.
    ProgramWindows(ExerciseState &state, Services &services);
    ~ProgramWindows() override;

    FrmMain &main() { return *m_main; }
    FrmProgression &progression() { return *m_progression; }
    // Wrong teacher codes of this run, wherever they were typed.
    TeacherAttempts &teacherAttempts() { return m_attempts; }

private:
    void openEleve();
    void openParametres();
    void openLibelles();
    void openApropos();
    void openClasse();

    ExerciseState &m_state;
    Services &m_services;
    // The history outlives the main window, which writes to it until it goes.
    std::unique_ptr<FrmProgression> m_progression;
    std::unique_ptr<FrmMain> m_main;
    // The dialogs: loaded from their first opening until they are closed, when they delete themselves.
    QPointer<FrmEleve> m_eleve;
    QPointer<FrmParam> m_param;
    QPointer<FrmLibelles> m_libelles;
    QPointer<FrmApropos> m_apropos;
    QPointer<FrmAide> m_aide;
    QPointer<FrmClasse> m_classe;
    TeacherAttempts m_attempts;
};
