// Pecunette — apprendre à remplir un chèque.
// The progress history window: the teacher's time-stamped record of the session.
#pragma once

#include "exercise_state.h"
#include "history_model.h"
#include "progress_log.h"
#include "services.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QPushButton;
class QTableView;

class FrmProgression : public QWidget, public ProgressLog {
    Q_OBJECT
public:
    // Loads the window hidden and writes the launch row (InitGrille).
    FrmProgression(ExerciseState &state, Services &services, QWidget *parent = nullptr);

    // Appends a row whose duration runs from HeurePrecedente (or from the
    // launch, before any cheque); black when `Normal`, red otherwise.
    void AjoutProgress(const QString &Evenement, bool Normal) override;
    // Appends a row with a duration given by the caller; touches no clock variable.
    void SetProgress(const QString &Evenement, const QString &Duree, bool Normal) override;

    // Rows of the grid, header included: 2 right after start-up or a clearing.
    int Rows() const override;
    HistoryModel &model() { return *m_model; }

    // The main window's unloading: the one close this window accepts.
    void closeForUnload() override;

    // True when rows were added since the last file saved (or since the
    // launch or the last clearing): quitting would lose them.
    bool hasUnsavedRows() const override { return m_unsavedRows; }
    // Asks where and writes the history there as CSV; false when the teacher
    // gives up or the file cannot be written (which is told).
    bool saveToCsv() override;

    // The session ends with no one to ask (the system stops the program, or
    // the desktop session ends without leave to ask): the unsaved rows go to a
    // CSV file of their own in the data folder, offered at the next start.
    // Returns that file's path, empty when nothing needed keeping or the
    // file could not be written.
    QString keepForNextStart() override;
    // At start: offers to save each history kept that way where the teacher
    // chooses. A kept file goes only once it is saved elsewhere.
    void offerKeptHistories();
    static QString keptFolder();

public Q_SLOTS:
    void mnuProgression_Click();  // show (modeless, no owner) or bring to the front
    void Vider_Click();
    void Sauvegarder_Click();
    void Quitter_Click();  // hides
    void PremierPlan_Click();  // stays in front of other windows while checked

Q_SIGNALS:
    // Each row as it is appended (not the launch row, written before anyone
    // listens: model().row(0) holds it).
    void rowAdded(const HistoryRow &row);
    // The teacher emptied the window ("Vider").
    void cleared();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void InitGrille();
    void appendRow(const QDateTime &moment, const QString &Evenement, const QString &Duree, bool Normal);
    QString momentText(const QDateTime &moment) const;
    void followLastRowLater();
    void followLastRow();  // makes the newest row current and scrolls it into view

    ExerciseState &m_state;
    Services &m_services;
    HistoryModel *m_model = nullptr;
    Instant m_lancement;  // the program's launch: where durations run from before any cheque
    bool m_unloading = false;
    bool m_followPending = false;
    bool m_unsavedRows = false;

    QLabel *Label1 = nullptr;
    QTableView *MSFlexGrid1 = nullptr;
    QCheckBox *PremierPlan = nullptr;
    QPushButton *Vider = nullptr;
    QPushButton *Sauvegarder = nullptr;
    QPushButton *Quitter = nullptr;
};
