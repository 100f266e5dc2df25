// Pecunette — apprendre à remplir un chèque.
// A random pupil and teacher at the real main window: each event they may
// cause (a drop, a timer tick, a new cheque, "Fin", the parameters and pupil
// dialogs, clearing the history) is played as the events themselves arrive,
// and checked against a small model of what it must do. The randomized test
// and the soak benchmark both drive the window with it.
#pragma once

#include "clean_text.h"
#include "main_window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>

#include <array>
#include <cmath>
#include <functional>
#include <optional>

namespace RandomDriver {

enum class Kind { Drop, Tick, NouveauButton, MenuNouveau, Fin, QuitterAnnule, Parametre, Eleve, Vider };

struct Event {
    Kind kind;
    int a = 0;  // block, timer, list of the parameters dialog, or surname
    int b = 0;  // entry of that list, or first name
    int seconds = 0;  // how far the clock moves on first
};

// The lists of the parameters dialog, in the order of Event::a.
struct ParamList {
    const char *combo;
    QString key;
    int entries;
    int dialogDefault;  // what the dialog selects when nothing is stored
};
inline const std::array<ParamList, 5> &paramLists()
{
    static const std::array<ParamList, 5> lists {{
        {"saisieNiveau", Keys::Temporisation, 4, 3},
        {"saisieHasard", Keys::Hasard, 5, 4},
        {"saisieExercice", Keys::Exercice, 4, 0},
        {"saisieSon", Keys::Son, 2, 0},
        {"saisieMonnaie", Keys::Monnaie, 2, 0},
    }};
    return lists;
}
enum { Niveau, Hasard, Exercice, Son, Monnaie_ };

// Names a pupil may type, the awkward ones included.
inline const QStringList &names()
{
    static const QStringList pool {QStringLiteral("Martin"),
                                   QStringLiteral("Léa"),
                                   QString(),
                                   QStringLiteral("   "),
                                   QStringLiteral("O'Brien, \"Jo\""),
                                   QStringLiteral("=1+1"),
                                   QStringLiteral("a\tb"),
                                   QStringLiteral("c\nd"),
                                   QStringLiteral("مريم"),
                                   QStringLiteral("Zoé 👩‍🎓"),
                                   QString(300, QLatin1Char('x'))};
    return pool;
}

inline QString describe(const Event &e)
{
    const QString after = e.seconds ? QStringLiteral(" (+%1 s)").arg(e.seconds) : QString();
    switch (e.kind) {
    case Kind::Drop: return QStringLiteral("drop Nombre(%1)").arg(e.a) + after;
    case Kind::Tick: return QStringLiteral("tick Timer(%1)").arg(e.a) + after;
    case Kind::NouveauButton: return QStringLiteral("button Nouveau") + after;
    case Kind::MenuNouveau: return QStringLiteral("menu &Nouveau") + after;
    case Kind::Fin: return QStringLiteral("button Fin") + after;
    case Kind::QuitterAnnule: return QStringLiteral("button Quitter, then Annuler") + after;
    case Kind::Parametre:
        return QStringLiteral("parameters: %1 = %2").arg(QString::fromLatin1(paramLists()[e.a].combo)).arg(e.b) + after;
    case Kind::Eleve: {
        auto quoted = [](const QString &name) -> QString {
            return QLatin1Char('"') + (name.size() > 20 ? name.left(20) + QStringLiteral("...") : name) +
                   QLatin1Char('"');
        };
        return QStringLiteral("pupil %1 %2").arg(quoted(names()[e.a]), quoted(names()[e.b])) + after;
    }
    case Kind::Vider: return QStringLiteral("history Vider") + after;
    }
    return {};
}

// A check the self-test adds to the model's own; empty when it holds.
using ExtraCheck = std::function<QString(MainWindow &)>;

// One session: the window, the model of what it must show, and the events.
class Session {
public:
    explicit Session(quint32 seed)
        : m_random(seed)
    {
        clearSettings();
        m_window = std::make_unique<MainWindow>();
        m_window->frm->seedRandom(seed);
    }
    ~Session() { closeDialogs(); }

    FrmMain &frm() { return *m_window->frm; }

    // What the session went through, to tell that it reached the far corners.
    struct Seen {
        int cheques = 0;
        int series = 0;
        int hints = 0;
        int pupils = 0;
    } seen;
    MainWindow &window() { return *m_window; }

    // Whether the teacher clears the history now and then (the soak measures both ways).
    bool allowClearing = true;

    // A random event the pupil or the teacher could cause now.
    Event next()
    {
        struct Choice {
            Kind kind;
            int weight;
        };
        const bool blocksShown = frm().Nombre(1)->isVisible();
        const bool nouveauShown = frm().Nouveau()->isVisible() && frm().Nouveau()->isEnabled();
        QList<int> running;
        for (int i = 0; i < 4; ++i)
            if (frm().Timer(i)->running())
                running << i;
        const Choice choices[] = {
            {Kind::Drop, blocksShown ? 45 : 0},
            {Kind::Tick, running.isEmpty() ? 0 : 25},
            {Kind::NouveauButton, nouveauShown ? 30 : 0},
            // Rare enough for a series of 20 cheques to reach its mark now and then:
            // opening the parameters starts the count of the series again.
            {Kind::MenuNouveau, 2},
            {Kind::Fin, m_model.quitterTag == QStringLiteral("Fin") ? 1 : 0},
            {Kind::QuitterAnnule, m_model.quitterTag == QStringLiteral("Quitter") ? 1 : 0},
            {Kind::Parametre, 1},
            {Kind::Eleve, 1},
            {Kind::Vider, allowClearing ? 1 : 0},
        };
        int total = 0;
        for (const Choice &c : choices)
            total += c.weight;
        int pick = int(m_random.bounded(total));
        Kind kind = Kind::MenuNouveau;
        for (const Choice &c : choices) {
            if (pick < c.weight) {
                kind = c.kind;
                break;
            }
            pick -= c.weight;
        }

        Event e {kind};
        e.seconds = int(m_random.bounded(6));
        switch (kind) {
        case Kind::Drop: {
            // Mostly the block that fits, so that cheques and series get finished.
            const QString fits = hintWord();
            e.a = int(m_random.bounded(29));
            if (!fits.isEmpty() && m_random.bounded(100) < 75)
                e.a = blockShowing(fits);
            e.seconds = 1 + int(m_random.bounded(15));
            break;
        }
        case Kind::Tick:
            e.a = running.at(int(m_random.bounded(int(running.size()))));
            e.seconds = e.a == 2 ? 30 : 1;
            break;
        case Kind::Parametre:
            e.a = int(m_random.bounded(int(paramLists().size())));
            e.b = int(m_random.bounded(paramLists()[e.a].entries));
            break;
        case Kind::Eleve:
            e.a = int(m_random.bounded(int(names().size())));
            e.b = int(m_random.bounded(int(names().size())));
            break;
        default: break;
        }
        return e;
    }

    // Plays one event (nothing when it cannot happen now, as a shortened list
    // may ask) and checks everything after it; the fault found, if any.
    QString play(const Event &e, const ExtraCheck &extra = {})
    {
        m_newRows.clear();
        m_window->services.clock.advance(e.seconds);
        switch (e.kind) {
        case Kind::Drop: drop(e.a); break;
        case Kind::Tick: tick(e.a); break;
        case Kind::NouveauButton:
            if (frm().Nouveau()->isVisible() && frm().Nouveau()->isEnabled()) {
                frm().Nouveau()->click();
                nouveauCheque();
            }
            break;
        case Kind::MenuNouveau:
            frm().menuAction(QStringLiteral("mnuNouveau"))->trigger();
            nouveauCheque();
            break;
        case Kind::Fin:
            if (m_model.quitterTag == QStringLiteral("Fin")) {
                frm().Quitter()->click();
                fin();
            }
            break;
        case Kind::QuitterAnnule:
            if (m_model.quitterTag == QStringLiteral("Quitter")) {
                m_window->services.prompts.answers.push_back(Prompts::Answer::Cancel);
                frm().Quitter()->click();
            }
            break;
        case Kind::Parametre: parametre(e.a, e.b); break;
        case Kind::Eleve: eleve(names()[e.a], names()[e.b]); break;
        case Kind::Vider:
            m_window->history().Vider_Click();
            m_model.rows = 2;
            break;
        }
        // What the event loop would do between two events, timers excepted:
        // the fake clock and this driver decide when a timer ticks. The
        // platform's own events (a dialog shown or hidden) are handled too,
        // or they would pile up for the whole session.
        QCoreApplication::processEvents(QEventLoop::X11ExcludeTimers);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ++m_played;
        QString fault = check();
        if (fault.isEmpty() && extra)
            fault = extra(*m_window);
        return fault;
    }

private:
    // The model: what the window must hold after each event.
    struct Model {
        int rows = 2;
        double motsJustes = 0;
        int erreursCheque = 0;
        int erreursSerie = 0;
        int nbCheques = 5;
        int chequesRestants = 5;
        double montantMax = 9;
        bool serieTerminee = true;
        bool chequeEnCours = false;
        int ticksAttente = 0;
        std::array<bool, 4> running {};
        QString phrase;
        QString texte;
        QString quitterTag = QStringLiteral("Quitter");
        QString nom, prenom;
        int drawMax = 9;  // MontantMax when the cheque on screen was drawn
        Monnaie monnaie = Monnaie::Franc;  // its currency
        std::array<std::optional<int>, 5> stored {};  // the store, written only by the dialog here
    };

    struct NewRow {
        QString event;
        bool normal;
    };

    void logged(const QString &event, bool normal) { m_newRows.append({event, normal}); }

    static QString join(const QString &wording, const QString &word)
    {
        static const QStringList pluralAfter {QStringLiteral("cent"),     QStringLiteral("vingt"),
                                              QStringLiteral("mille"),    QStringLiteral("million"),
                                              QStringLiteral("milliard"), QStringLiteral("euro")};
        bool glued = wording.endsWith(QLatin1Char('-')) || wording.endsWith(QLatin1Char('.')) ||
                     wording.endsWith(QLatin1Char('c'));
        if (word == QStringLiteral("s"))
            for (const QString &end : pluralAfter)
                glued = glued || wording.endsWith(end);
        const QString joined = glued ? QString(wording + word) : QString(wording + QLatin1Char(' ') + word);
        return joined.trimmed();
    }

    // Right: the phrase begins with the candidate, which stops at the end of
    // one of its words, or one letter short of a plural "s" that glues on.
    bool isRight(const QString &candidate) const
    {
        const QString &phrase = m_model.phrase;
        if (!phrase.startsWith(candidate))
            return false;
        const qsizetype n = candidate.size();
        if (n == phrase.size() || phrase.at(n) == QLatin1Char(' ') || phrase.at(n) == QLatin1Char('-'))
            return true;
        const bool wordEndsAfter =
            n + 1 == phrase.size() || phrase.at(n + 1) == QLatin1Char(' ') || phrase.at(n + 1) == QLatin1Char('-');
        return n > 0 && phrase.at(n) == QLatin1Char('s') && wordEndsAfter &&
               join(candidate, QStringLiteral("s")) == candidate + QLatin1Char('s');
    }

    // The longest caption on screen whose drop would be right now.
    QString hintWord()
    {
        QString best;
        for (int i = 0; i < 29; ++i) {
            const QString caption = frm().Nombre(i)->text();
            if (caption.size() > best.size() && isRight(join(m_model.texte, caption)))
                best = caption;
        }
        return best;
    }

    int blockShowing(const QString &caption)
    {
        for (int i = 0; i < 29; ++i)
            if (frm().Nombre(i)->text() == caption)
                return i;
        return 0;
    }

    void stopAll() { m_model.running.fill(false); }

    void nouveauCheque()
    {
        Model &m = m_model;
        if (m.running[0] && !m.chequeEnCours)
            closeCheque();
        if (m.chequeEnCours) {
            m.erreursSerie += m.erreursCheque;
            logged(QStringLiteral("Chèque abandonné"), false);
        }
        if (m.serieTerminee) {
            m.chequesRestants = m.nbCheques;
            m.erreursSerie = 0;
            m.motsJustes = 0;
            m.serieTerminee = false;
        }
        m.phrase = m_window->state.PhraseATrouver;  // the amount is the window's draw; check() checks its wording
        m.drawMax = int(m.montantMax);
        m.monnaie = m.stored[Monnaie_].value_or(0) == 1 ? Monnaie::Euro : Monnaie::Franc;
        m.texte.clear();
        m.erreursCheque = 0;
        m.ticksAttente = 0;
        m.running[2] = true;
        m.quitterTag = QStringLiteral("Fin");
        m.chequeEnCours = true;
        logged(QStringLiteral("Début de l'exercice : ") + m.phrase, true);
    }

    // A real drop, as a drag from block `index` ends on the wording line.
    void drop(int index)
    {
        WordBlockLabel *block = frm().Nombre(index);
        if (!block->isVisible())
            return;  // a hidden block cannot be dragged
        const QString word = block->text().trimmed();
        QMimeData mime;
        mime.setData(WordBlockLabel::mimeType(), QByteArray::number(index));
        mime.setText(word);
        const QPoint at(10, 10);
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frm().TexteResultat(), &enter);
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frm().TexteResultat(), &dropped);

        Model &m = m_model;
        if (!m.chequeEnCours)
            return;  // the cheque is complete, or "Fin" ended it
        const QString candidate = join(m.texte, word);
        const bool right = isRight(candidate);
        m.running[2] = false;
        if (right) {
            m.texte = candidate;
            if (m.phrase.size() > candidate.size() && m.phrase.at(candidate.size()) == QLatin1Char('-'))
                m.texte += QLatin1Char('-');
            m.motsJustes += 1;
            m.running[0] = true;
            m.chequeEnCours = m.texte != m.phrase;
        } else {
            m.erreursCheque += 1;
            m.running[1] = true;
        }
        logged(candidate, right);
    }

    // The tick of Timer(0) on a complete wording.
    void closeCheque()
    {
        Model &m = m_model;
        m.running[0] = false;
        if (m.erreursCheque == 0)
            logged(QStringLiteral("L'élève n'a fait aucune erreur."), true);
        else if (m.erreursCheque == 1)
            logged(QStringLiteral("L'élève a fait une erreur."), false);
        else
            logged(QStringLiteral("L'élève a fait %1 erreurs.").arg(m.erreursCheque), false);
        m.chequesRestants -= 1;
        m.erreursSerie += m.erreursCheque;
        stopAll();
        ++seen.cheques;
        if (m.chequesRestants == 0) {
            logged(QString::fromStdString(MarkHistoryRow(m.erreursSerie, m.motsJustes)), true);
            logged(QStringLiteral("Durée totale"), true);
            m.serieTerminee = true;
            ++seen.series;
        }
    }

    void tick(int timer)
    {
        if (!frm().Timer(timer)->running())
            return;  // only a running timer ticks
        frm().Timer_Timer(timer);
        Model &m = m_model;
        switch (timer) {
        case 0:
            m.running[0] = false;
            if (m.phrase.trimmed() == m.texte.trimmed())
                closeCheque();
            break;
        case 1: m.running[1] = false; break;
        case 2:
            m.ticksAttente += 1;
            if (m.ticksAttente >= m.stored[Niveau].value_or(3) + 1) {
                logged(QStringLiteral("Affichage du mot '") + hintWord() + QStringLiteral("' en bleu"), false);
                m.running[2] = false;
                ++seen.hints;
            }
            break;
        default: break;
        }
    }

    void fin()
    {
        Model &m = m_model;
        if (m.running[0] && !m.chequeEnCours)
            closeCheque();
        stopAll();
        m.chequeEnCours = false;
        m.quitterTag = QStringLiteral("Quitter");
        m.nom.clear();
        m.prenom.clear();
        m.serieTerminee = true;
        logged(QStringLiteral("Clique du bouton 'Fin'."), true);
    }

    template<typename Window>
    Window *shown(const char *objectName)
    {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QLatin1String(objectName) && top->isVisible())
                return qobject_cast<Window *>(top);
        return nullptr;
    }

    void closeDialogs()
    {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->objectName() == QStringLiteral("frmParam") || top->objectName() == QStringLiteral("frmEleve"))
                top->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void applyParameters()
    {
        Model &m = m_model;
        m.nbCheques = (*m.stored[Exercice] + 1) * 5;
        m.chequesRestants = m.nbCheques;
        m.montantMax = std::pow(10.0, *m.stored[Hasard] + 1) - 1;
    }

    // The teacher opens the parameters, changes one list and closes them with OK.
    void parametre(int list, int entry)
    {
        frm().menuAction(QStringLiteral("mnuFileProperties"))->trigger();
        auto *dialog = shown<QWidget>("frmParam");
        if (!dialog)
            return;
        // Opening selects (and so stores and applies) what is stored, or the dialog's defaults.
        for (std::size_t i = 0; i < paramLists().size(); ++i)
            m_model.stored[i] = m_model.stored[i].value_or(paramLists()[i].dialogDefault);
        applyParameters();
        dialog->findChild<QComboBox *>(QString::fromLatin1(paramLists()[list].combo))->setCurrentIndex(entry);
        if (m_model.stored[list] != entry) {
            m_model.stored[list] = entry;
            applyParameters();
        }
        dialog->findChild<QPushButton *>(QStringLiteral("cmdOK"))->click();
    }

    // The pupil types a name in the identification dialog and presses OK.
    void eleve(const QString &nom, const QString &prenom)
    {
        frm().menuAction(QStringLiteral("mnuEleve"))->trigger();
        auto *dialog = shown<QWidget>("frmEleve");
        if (!dialog)
            return;
        dialog->findChild<QLineEdit *>(QStringLiteral("saisieNom"))->setText(nom);
        dialog->findChild<QLineEdit *>(QStringLiteral("saisiePrenom"))->setText(prenom);
        dialog->findChild<QPushButton *>(QStringLiteral("OK"))->click();
        // The dialog keeps a name as one clean line: a tab or a line break is a blank.
        const QString kept = cleanLine(nom), keptPrenom = cleanLine(prenom);
        m_model.nom = kept;
        m_model.prenom = keptPrenom;
        if (kept.trimmed().isEmpty() || keptPrenom.trimmed().isEmpty()) {
            // Refused with a message: the pupil gives up with Annuler.
            dialog->findChild<QPushButton *>(QStringLiteral("Annuler"))->click();
            return;
        }
        logged(QStringLiteral("Elève ") + kept + QLatin1Char(' ') + keptPrenom, true);
        ++seen.pupils;
    }

    QString check()
    {
        const Model &m = m_model;
        FrmMain &f = frm();
        const ExerciseState &s = m_window->state;
        FrmProgression &history = m_window->history();
        auto fault = [](const QString &what, const auto &actual, const auto &expected) {
            return QStringLiteral("%1: %2 instead of %3").arg(what).arg(actual).arg(expected);
        };

        const QString texte = f.TexteResultat()->text();
        if (!s.PhraseATrouver.startsWith(texte))
            return QStringLiteral("the wording \"%1\" is not a prefix of \"%2\"").arg(texte, s.PhraseATrouver);
        if (texte != m.texte)
            return fault(QStringLiteral("TexteResultat"), texte, m.texte);
        if (s.PhraseATrouver != m.phrase)
            return fault(QStringLiteral("PhraseATrouver"), s.PhraseATrouver, m.phrase);
        if (!m.phrase.isEmpty()) {
            const int amount = f.Somme()->text().section(QLatin1Char(' '), 0, 0).toInt();
            if (amount < 1 || amount > m.drawMax)
                return fault(QStringLiteral("the amount"), amount, QStringLiteral("1 to %1").arg(m.drawMax));
            const QString wording = QString::fromStdString(MontantEnLettres(amount, m.monnaie));
            if (m.phrase != wording)
                return fault(QStringLiteral("the wording of %1").arg(amount), m.phrase, wording);
        }

        if (s.MotsJustes != m.motsJustes)
            return fault(QStringLiteral("MotsJustes"), s.MotsJustes, m.motsJustes);
        if (s.ErreursCheque != m.erreursCheque)
            return fault(QStringLiteral("ErreursCheque"), s.ErreursCheque, m.erreursCheque);
        if (s.ErreursSerie != m.erreursSerie)
            return fault(QStringLiteral("ErreursSerie"), s.ErreursSerie, m.erreursSerie);
        if (s.ChequesRestants != m.chequesRestants)
            return fault(QStringLiteral("ChequesRestants"), s.ChequesRestants, m.chequesRestants);
        if (s.NbCheques != m.nbCheques)
            return fault(QStringLiteral("NbCheques"), s.NbCheques, m.nbCheques);
        if (s.MontantMax != m.montantMax)
            return fault(QStringLiteral("MontantMax"), s.MontantMax, m.montantMax);
        if (s.SonActif != m.stored[Son].value_or(0))
            return fault(QStringLiteral("SonActif"), s.SonActif, m.stored[Son].value_or(0));
        if (s.NomEleve != m.nom || s.PrenomEleve != m.prenom)
            return fault(QStringLiteral("the pupil"), s.NomEleve + QLatin1Char('/') + s.PrenomEleve,
                         m.nom + QLatin1Char('/') + m.prenom);
        if (f.QuitterTag() != m.quitterTag)
            return fault(QStringLiteral("Quitter's tag"), f.QuitterTag(), m.quitterTag);
        if (m_window->endedAtOnce != 0)
            return QStringLiteral("the program ended although Annuler was chosen");

        for (int i = 0; i < 4; ++i)
            if (f.Timer(i)->running() != m.running[i])
                return QStringLiteral("Timer(%1) is %2").arg(i).arg(m.running[i] ? "stopped" : "running");

        // One row per logged event, each numbered by its place.
        const int rows = history.Rows();
        const int expectedRows = m.rows + int(m_newRows.size());
        if (rows != expectedRows)
            return fault(QStringLiteral("history rows"), rows, expectedRows);
        for (int i = 0; i < m_newRows.size(); ++i) {
            const HistoryRow &row = history.model().row(m.rows - 1 + i);
            if (row.number != QString::number(m.rows + i))
                return fault(QStringLiteral("the number of row %1").arg(m.rows + i), row.number, m.rows + i);
            if (row.event != m_newRows[i].event || row.normal != m_newRows[i].normal)
                return fault(QStringLiteral("row %1").arg(m.rows + i),
                             row.event + (row.normal ? QStringLiteral(" (black)") : QStringLiteral(" (red)")),
                             m_newRows[i].event +
                                 (m_newRows[i].normal ? QStringLiteral(" (black)") : QStringLiteral(" (red)")));
        }
        m_model.rows = rows;
        // The whole grid now and then (less often as it grows, so that a long
        // session costs the same per event): clearing must renumber from 1.
        if (m_played >= m_nextFullCheck || rows <= 3) {
            m_nextFullCheck = m_played + std::max(200, rows);
            for (int i = 0; i < rows - 1; ++i)
                if (history.model().row(i).number != QString::number(i + 1))
                    return fault(QStringLiteral("the number of row %1").arg(i + 1), history.model().row(i).number,
                                 i + 1);
            if (!history.model().row(0).launch)
                return QStringLiteral("row 1 is not the launch row");
        }
        return {};
    }

    QRandomGenerator m_random;
    std::unique_ptr<MainWindow> m_window;
    Model m_model;
    QList<NewRow> m_newRows;
    int m_played = 0;
    int m_nextFullCheck = 200;
};

}  // namespace RandomDriver
