// Pecunette — apprendre à remplir un chèque.
// "Imprimer des chèques...": how many blank cheques, then a PDF or the printer.
#pragma once

#include "exercise_state.h"
#include "montant_en_lettres.h"
#include "services.h"

#include <QRandomGenerator>
#include <QWidget>

class QPushButton;
class QSpinBox;

class FrmImpression : public QWidget {
    Q_OBJECT
public:
    FrmImpression(ExerciseState &state, Services &services, Monnaie monnaie, QWidget *parent = nullptr);
    QSpinBox *Nombre() const { return m_nombre; }
    void seedRandom(quint32 seed) { m_random.seed(seed); }

public Q_SLOTS:
    void Enregistrer_Click();  // a PDF where the teacher chooses
    void Imprimer_Click();     // through the system's print dialog

private:
    ExerciseState &m_state;
    Services &m_services;
    Monnaie m_monnaie;
    QRandomGenerator m_random;
    QSpinBox *m_nombre = nullptr;
};
