// Pecunette — apprendre à remplir un chèque.
// The parameters dialog: hint delay, level of the amounts, cheques per series,
// sound, currency, how numbers are written and display size.
#pragma once

#include "exercise_state.h"
#include "services.h"

#include <QDialog>

class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

class FrmParam : public QDialog {
    Q_OBJECT
public:
    // Loading: centres the dialog on the screen, fills the four lists and
    // selects the stored entries, which stores them again and applies them.
    // Modeless and without owner; it deletes itself when closed.
    FrmParam(ExerciseState &state, Services &services);

    // The entries of each list, index 0 first: the index is what the store keeps.
    static const QStringList &niveaux();
    static const QStringList &hasards();
    static const QStringList &exercices();
    static const QStringList &sons();
    static const QStringList &monnaies();
    static const QStringList &echelles();
    static const QStringList &orthographes();
    static const QStringList &pays();
    static const QStringList &centimes();
    // The display size stored under "Echelle" as Qt's scale factor: 1, 1.5 or 2.
    static double scaleFactor(const SettingsStore &settings);

public Q_SLOTS:
    void saisieNiveau_Click();
    void saisieHasard_Click();
    void saisieExercice_Click();
    void saisieSon_Click();
    void saisieMonnaie_Click();  // applies from the next cheque
    void saisieEchelle_Click();  // applies at the next start
    void saisieOrthographe_Click();  // these three apply from the next cheque
    void saisiePays_Click();
    void saisieCentimes_Click();
    void cmdOK_Click();
    // Opens the box that sets, changes or removes the teacher's code.
    void cmdCode_Click();

private:
    void Form_Load();
    void fill(QComboBox *list, const QStringList &entries, int selected);
    void store(const QString &key, const QComboBox *list);

    ExerciseState &m_state;
    Services &m_services;

    QGroupBox *Frame1 = nullptr;
    QLabel *Label1 = nullptr;
    QComboBox *saisieNiveau = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *saisieHasard = nullptr;
    QLabel *Label3 = nullptr;
    QComboBox *saisieExercice = nullptr;
    QLabel *Label4 = nullptr;
    QComboBox *saisieSon = nullptr;
    QLabel *Label5 = nullptr;
    QComboBox *saisieMonnaie = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *saisieEchelle = nullptr;
    QLabel *Label7 = nullptr;  // when the display size applies
    QLabel *Label8 = nullptr;
    QComboBox *saisieOrthographe = nullptr;
    QLabel *Label9 = nullptr;
    QComboBox *saisiePays = nullptr;
    QLabel *Label10 = nullptr;
    QComboBox *saisieCentimes = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCode = nullptr;
};
