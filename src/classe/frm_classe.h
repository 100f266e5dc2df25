// Pecunette — apprendre à remplir un chèque.
// The class overview: one line per pupil from the class journal, over a span
// of days, sortable; one pupil's follow-up; the class export; and the
// teacher's corrections of the journal (rename, merge, delete).
#pragma once

#include "frm_suivi_eleve.h"
#include "journal_store.h"
#include "services.h"
#include "teacher_code.h"

#include <QDialog>
#include <QPointer>

#include <memory>

class QDateEdit;
class QLabel;
class QPushButton;
class QSortFilterProxyModel;
class QStandardItemModel;
class QTableView;

class FrmClasse : public QDialog {
    Q_OBJECT
public:
    enum Column {
        NameColumn,
        SeriesColumn,
        ChequesColumn,
        ErrorsColumn,
        LastMarkColumn,
        MeanColumn,
        TrendColumn,
        LastSeenColumn,
        ColumnCount
    };
    // The sort key of each cell: numbers as numbers, moments as ISO text.
    static constexpr int SortRole = Qt::UserRole + 1;

    // Reads through `journal`, which the window keeps for as long as it is open.
    FrmClasse(Services &services, std::unique_ptr<JournalStore> journal, TeacherAttempts &attempts,
              QWidget *parent = nullptr);
    ~FrmClasse() override;

    QDateEdit *du() const { return m_from; }
    QDateEdit *au() const { return m_to; }
    QTableView *grille() const { return m_view; }
    QSortFilterProxyModel *lignes() const { return m_proxy; }
    JournalStore &journal() { return *m_journal; }
    DayRange range() const;
    // The pupil on the grid's line `row` (as sorted), or nothing.
    std::optional<PupilSummary> pupilAt(int row) const;
    FrmSuiviEleve *suivi() const { return m_suivi; }

public Q_SLOTS:
    // Reads the journal again over the days chosen.
    void refresh();
    // Every day the journal holds.
    void cmdToutes_Click();
    void cmdVoir_Click();
    void cmdRenommer_Click();
    void cmdFusionner_Click();
    void cmdSupprimer_Click();
    void cmdExporter_Click();

    // The work behind the buttons, for the line `row` (as sorted); false when
    // nothing was changed (given up, refused, or the journal failed).
    void voir(int row);
    bool renommer(int row, const QString &nom, const QString &prenom);
    bool fusionner(int row, int intoRow);
    bool supprimer(int row);
    bool exporterClasse(const QString &path);

private:
    int currentRow() const;
    void failed(const QString &title);

    Services &m_services;
    std::unique_ptr<JournalStore> m_journal;
    TeacherAttempts &m_attempts;
    QList<PupilSummary> m_pupils;
    QStandardItemModel *m_model = nullptr;
    QSortFilterProxyModel *m_proxy = nullptr;
    QTableView *m_view = nullptr;
    QDateEdit *m_from = nullptr;
    QDateEdit *m_to = nullptr;
    QLabel *m_status = nullptr;
    QPointer<FrmSuiviEleve> m_suivi;
};
