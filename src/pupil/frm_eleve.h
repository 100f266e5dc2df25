// Pecunette — apprendre à remplir un chèque.
// The pupil dialog: who is doing the exercise, for the greeting and the history.
#pragma once

#include "exercise_state.h"
#include "progress_log.h"
#include "services.h"

#include <QWidget>

#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class FrmEleve : public QWidget {
    Q_OBJECT
public:
    // Loading: placed down and to the right of the main window's corner, the
    // text boxes filled from NomEleve and PrenomEleve. Modeless and without
    // owner; `mainWindow` is only read for its position. Closing the dialog
    // (Annuler or the close box) deletes it; an accepted OK only hides it.
    FrmEleve(ExerciseState &state, Services &services, ProgressLog &progression, QWidget *mainWindow, QLabel *message,
             QLabel *debutMsg, std::function<void(const QString &)> setSessionLine);

public Q_SLOTS:
    void OK_Click();
    void Annuler_Click();

private:
    void Form_Load(QWidget *mainWindow);

    ExerciseState &m_state;
    Services &m_services;
    ProgressLog &m_progression;
    QLabel *m_message;
    QLabel *m_debutMsg;
    std::function<void(const QString &)> m_setSessionLine;

    QGroupBox *Frame = nullptr;
    QLabel *Picture1 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *saisieNom = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *saisiePrenom = nullptr;
    QPushButton *OK = nullptr;
    QPushButton *Annuler = nullptr;
};
