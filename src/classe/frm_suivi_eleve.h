// Pecunette — apprendre à remplir un chèque.
// One pupil, for the teacher: the marks of their series over time, the words
// they miss most, and every row the journal holds of them.
#pragma once

#include "journal_store.h"
#include "services.h"

#include <QDialog>

class MarksPlot;
class QLabel;
class QPushButton;
class QTableWidget;

class FrmSuiviEleve : public QDialog {
    Q_OBJECT
public:
    FrmSuiviEleve(Services &services, JournalStore &journal, const PupilSummary &pupil, const DayRange &range,
                  QWidget *parent = nullptr);

    MarksPlot *courbe() const { return m_plot; }
    QTableWidget *motsManques() const { return m_missed; }
    QTableWidget *historique() const { return m_history; }
    const QList<JournalEvent> &events() const { return m_events; }

public Q_SLOTS:
    // Asks where, then writes every row of the pupil (with the error column).
    void cmdExporter_Click();

private:
    Services &m_services;
    JournalStore &m_journal;
    PupilSummary m_pupil;
    QList<JournalEvent> m_events;
    MarksPlot *m_plot = nullptr;
    QTableWidget *m_missed = nullptr;
    QTableWidget *m_history = nullptr;
};
