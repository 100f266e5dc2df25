// Pecunette — apprendre à remplir un chèque.
// The main window: the cheque, the clerk and the word blocks.
#pragma once

#include "cheque_widgets.h"
#include "exercise_state.h"
#include "montant_en_lettres.h"
#include "progress_log.h"
#include "services.h"

#include <QMainWindow>
#include <QPointer>
#include <QRandomGenerator>

#include <array>
#include <functional>
#include <memory>

class FrmImpression;
class QAction;
class QPushButton;

class FrmMain : public QMainWindow {
    Q_OBJECT
public:
    // Runs the whole start-up: reads the store, sets the state. The rows go to
    // `progression`, which outlives the window. The caller shows the window.
    FrmMain(ExerciseState &state, Services &services, ProgressLog &progression, QWidget *parent = nullptr);
    ~FrmMain() override;

    // What "Quitter" + OK does: end the program at once, no unload step.
    // The program quits its event loop; tests put a recorder here.
    std::function<void()> endProgramAtOnce;

    // Public operations other windows call.
    int QuitterOuiNon();
    void setSessionLine(const QString &text);
    QString sessionLine() const;

    // The design's controls, for the other windows and the tests.
    FitLabel *Message() const { return m_message; }
    FitLabel *DebutMsg() const { return m_debutMsg; }
    FitLabel *Consigne() const { return m_consigne; }
    FitLabel *Somme() const { return m_somme; }
    DropLabel *TexteResultat() const { return m_texteResultat; }
    FitLabel *OrdreDe() const { return m_ordreDe; }
    FitLabel *Ville() const { return m_ville; }
    FitLabel *ChequeDate() const { return m_chequeDate; }
    FitLabel *Texte() const { return m_texte; }
    WordBlockLabel *Nombre(int index) const { return m_nombre.at(static_cast<size_t>(index)); }
    QPushButton *Nouveau() const { return m_nouveau; }
    QPushButton *Quitter() const { return m_quitter; }
    QString QuitterTag() const { return m_quitterTag; }
    ExerciseTimer *Timer(int index) const { return m_timers.at(static_cast<size_t>(index)); }
    QAction *menuAction(const QString &objectName) const;

    // The amount draw: sets the caption of Somme and gives the amount in whole units.
    int TirageMontant();
    // The same draw with the cents of the style (none when it has none), up to
    // the level's largest amount.
    Centimes TirageCentimes();
    // Today's date as the cheque shows it: "mer. 9 déc. 2026".
    QString DateDuCheque() const;
    // The currency of the cheque on screen, read from the store at each new cheque.
    Monnaie monnaie() const { return m_monnaie; }
    // How the cheque on screen writes its numbers, read with the currency.
    const NumberStyle &style() const { return m_style; }
    // The blocks of a cheque in any style, from Nombre(0): those of the style are shown.
    static constexpr int BlockCount = 36;
    // Draws from a known sequence: for tests and screenshots.
    void seedRandom(quint32 seed) { m_random.seed(seed); }

    // Num Lock and Caps Lock as the platform tells them (nothing where it cannot).
    void refreshLockIndicators();

public Q_SLOTS:
    void Nouveau_Click();
    void mnuNouveau_Click();
    void TexteResultat_DragDrop(int index);
    void Timer_Timer(int index);
    void Quitter_Click();
    // The desktop session ends or the system stops the program: it ends as the
    // menu's "Quitter" does, saving the window's place. When `mayAsk`, unsaved
    // rows are offered for saving as on quitting, and false is returned if the
    // teacher chooses Annuler (the program goes on); otherwise they are kept
    // for the next start.
    bool endOfSession(bool mayAsk);
    void mnuFileExit_Click();
    void mnuEleve_Click();
    void mnuProgression_Click();
    void mnuFileProperties_Click();
    void mnuLibelles_Click();
    void mnuClasse_Click();
    void mnuImprimer_Click();
    void mnuHelpContents_Click();
    void mnuHelpSearch_Click();
    void mnuHelpAbout_Click();

Q_SIGNALS:
    // The menu commands that open another window: whoever assembles the
    // program answers them, so this window knows none of those classes.
    void progressionRequested();
    void eleveRequested();
    void parametresRequested();
    void libellesRequested();
    void classeRequested();
    void aideSommaireRequested();
    void aideRechercheRequested();
    void aproposRequested();

protected:
    void closeEvent(QCloseEvent *event) override;  // Form_QueryUnload, then Form_Unload
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildWindow();
    void buildMenus();
    void buildStatusBar();
    void Form_Load();
    void placeWindow();
    void Form_Unload();
    void NouveauCheque();
    void finDuCheque();  // tick of Timer(0)
    void essaieEncore();  // tick of Timer(1)
    void afficheIndice();  // tick of Timer(2)
    void resultatSerie();
    void finDeSession();  // the "Fin" button
    void setMessage(int top, qreal fontSize, const QString &caption);
    void setMessageTop(int top);
    void showRule(const QString &sentence);
    void stopAllTimers();
    void greyBlocks();
    void JoueSon(const QString &file);
    void readMonnaie();
    // The rules of the exercise as they always were, for a cheque that needs
    // nothing more: judged, joined and hinted exactly as before the styles.
    bool classicStyle() const;
    bool blockShown(int index) const;
    bool swallowsSecondClickOfFin(QEvent *event);

    ExerciseState &m_state;
    Services &m_services;
    QRandomGenerator m_random;
    Monnaie m_monnaie = Monnaie::Franc;
    NumberStyle m_style;
    long long m_largest = MontantMaximum;  // the largest whole amount the blocks were chosen for
    std::array<bool, BlockCount> m_shown {};

    ChequeBackground *m_background = nullptr;
    SvgPicture *m_image1 = nullptr;
    FitLabel *m_message = nullptr;
    FitLabel *m_debutMsg = nullptr;
    FitLabel *m_consigne = nullptr;
    std::array<WordBlockLabel *, BlockCount> m_nombre {};
    FitLabel *m_somme = nullptr;
    DropLabel *m_texteResultat = nullptr;
    FitLabel *m_ordreDe = nullptr;
    FitLabel *m_ville = nullptr;
    FitLabel *m_chequeDate = nullptr;
    FitLabel *m_texte = nullptr;
    QPushButton *m_nouveau = nullptr;
    QPushButton *m_quitter = nullptr;
    QString m_quitterTag;
    quint64 m_quitterRelease = 0;  // when the mouse last let go of Quitter, and what it read then
    QString m_quitterTagAtRelease;
    bool m_ended = false;  // unloaded: the closing questions are behind us
    std::array<ExerciseTimer *, 4> m_timers {};
    QLabel *m_panelText = nullptr;
    QLabel *m_panelNum = nullptr;
    QLabel *m_panelMaj = nullptr;
    ProgressLog &m_progression;
    // Loaded from its first opening until it is closed, when it deletes itself.
    QPointer<FrmImpression> m_impression;
};
