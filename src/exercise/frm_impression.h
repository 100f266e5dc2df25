// Pecunette — apprendre à remplir un chèque.
// "Imprimer des chèques...": how many blank cheques, then a PDF or the printer.
#pragma once

#include "exercise_state.h"
#include "services.h"
#include "worksheet.h"

#include <QRandomGenerator>
#include <QWidget>

class QCheckBox;
class QPushButton;
class QSpinBox;

class FrmImpression : public QWidget {
    Q_OBJECT
public:
    // The currency and the labels are read from the store when the cheques are made,
    // as the next cheque of the exercise would read them.
    FrmImpression(ExerciseState &state, Services &services, QWidget *parent = nullptr);
    QSpinBox *Nombre() const { return m_nombre; }
    QCheckBox *Corrige() const { return m_corrige; }
    void seedRandom(quint32 seed) { m_random.seed(seed); }

public Q_SLOTS:
    void Enregistrer_Click();  // a PDF where the teacher chooses
    void Imprimer_Click();  // through the system's print dialog

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    std::vector<WorksheetCheque> drawCheques();
    AnswerKey answerKey() const;

    ExerciseState &m_state;
    Services &m_services;
    QRandomGenerator m_random;
    QSpinBox *m_nombre = nullptr;
    QCheckBox *m_corrige = nullptr;
};
