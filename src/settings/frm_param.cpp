// Pecunette — apprendre à remplir un chèque.
#include "frm_param.h"

#include "settings_keys.h"
#include "settings_store.h"
#include "teacher_code.h"
#include "window_placement.h"

#include <QComboBox>

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

#include <cmath>

namespace {
// When nothing usable is stored: 120 seconds, five digits, 5 cheques, no sound.
constexpr int DefaultNiveau = 3;
constexpr int DefaultHasard = 4;
constexpr int DefaultExercice = 0;
constexpr int DefaultSon = 0;
constexpr int DefaultMonnaie = 0;  // francs, as the exercise always was
constexpr int DefaultEchelle = 0;  // 100 %
constexpr int DefaultOrthographe = 0;  // traditional, France, no cents: the exercise as it always was
constexpr int DefaultPays = 0;
constexpr int DefaultCentimes = 0;
constexpr double ScaleFactors[] = {1.0, 1.5, 2.0};
}  // namespace

const QStringList &FrmParam::niveaux()
{
    static const QStringList entries {QStringLiteral("30 secondes"), QStringLiteral("60 secondes"),
                                      QStringLiteral("90 secondes"), QStringLiteral("120 secondes")};
    return entries;
}

const QStringList &FrmParam::hasards()
{
    static const QStringList entries {
        QStringLiteral("9 - 1 chiffre"), QStringLiteral("99 - 2 chiffres"), QStringLiteral("999 - 3 chiffres"),
        QStringLiteral("9999 - 4 chiffres"), QStringLiteral("99999 - 5 chiffres"),
        // The classes after the digits: their index less HasardCount, plus
        // one, is what Démarrage/Classe keeps.
        QStringLiteral("CE1 (jusqu'à 1 000)"), QStringLiteral("CE2 (jusqu'à 10 000)"),
        QStringLiteral("CM1 (jusqu'à 999 999)"), QStringLiteral("CM2 (jusqu'au milliard)")};
    return entries;
}

const QStringList &FrmParam::exercices()
{
    static const QStringList entries {QStringLiteral("5 chèques"), QStringLiteral("10 chèques"),
                                      QStringLiteral("15 chèques"), QStringLiteral("20 chèques")};
    return entries;
}

const QStringList &FrmParam::sons()
{
    static const QStringList entries {QStringLiteral("Non"), QStringLiteral("Oui")};
    return entries;
}

const QStringList &FrmParam::monnaies()
{
    static const QStringList entries {QStringLiteral("Francs"), QStringLiteral("Euros")};
    return entries;
}

const QStringList &FrmParam::echelles()
{
    static const QStringList entries {QStringLiteral("100 %"), QStringLiteral("150 %"), QStringLiteral("200 %")};
    return entries;
}

const QStringList &FrmParam::orthographes()
{
    static const QStringList entries {QStringLiteral("Traditionnelle"), QStringLiteral("Rectifiée (1990)")};
    return entries;
}

const QStringList &FrmParam::pays()
{
    static const QStringList entries {QStringLiteral("France"), QStringLiteral("Belgique"), QStringLiteral("Suisse")};
    return entries;
}

const QStringList &FrmParam::centimes()
{
    static const QStringList entries {QStringLiteral("Sans"), QStringLiteral("Avec")};
    return entries;
}

double FrmParam::scaleFactor(const SettingsStore &settings)
{
    return ScaleFactors[readIndex(settings, Keys::Echelle, int(echelles().size()), DefaultEchelle)];
}

FrmParam::FrmParam(ExerciseState &state, Services &services)
    : QDialog(nullptr, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                           Qt::MSWindowsFixedSizeDialogHint)
    , m_state(state)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmParam"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Paramètres"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    setFont(font);
    // Two more lists than the original four, and a word on when the display
    // size applies: the dialog grows by their height.
    // Then three lists on how numbers are written: it grows again.
    // The class entries are longer than the digits: the lists widen.
    setFixedSize(361, 333);

    Frame1 = new QGroupBox(QStringLiteral("Sélectionnez le niveau des exercices"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(6, 4, 349, 291);

    auto label = [this](const char *name, const QString &text, QRect geometry) {
        auto *l = new QLabel(text, Frame1);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        l->setGeometry(geometry);
        return l;
    };
    auto list = [this](const char *name, int top) {
        auto *c = new QComboBox(Frame1);
        c->setObjectName(QString::fromLatin1(name));
        c->setGeometry(162, top, 175, 21);
        return c;
    };
    // The captions end at the same right edge, just left of their lists.
    Label1 = label("Label1", QStringLiteral("Durée de l'opération de base :"), {4, 21, 155, 21});
    saisieNiveau = list("saisieNiveau", 20);
    Label2 = label("Label2", QStringLiteral("Niveau :"), {4, 47, 155, 21});
    saisieHasard = list("saisieHasard", 46);
    Label3 = label("Label3", QStringLiteral("Nombre d'exercices par élève :"), {4, 73, 155, 21});
    saisieExercice = list("saisieExercice", 72);
    Label4 = label("Label4", QStringLiteral("Activation du son :"), {4, 99, 155, 21});
    saisieSon = list("saisieSon", 98);
    Label5 = label("Label5", QStringLiteral("Monnaie :"), {4, 125, 155, 21});
    saisieMonnaie = list("saisieMonnaie", 124);
    Label8 = label("Label8", QStringLiteral("Orthographe :"), {4, 151, 155, 21});
    saisieOrthographe = list("saisieOrthographe", 150);
    Label9 = label("Label9", QStringLiteral("Pays :"), {4, 177, 155, 21});
    saisiePays = list("saisiePays", 176);
    Label10 = label("Label10", QStringLiteral("Centimes :"), {4, 203, 155, 21});
    saisieCentimes = list("saisieCentimes", 202);
    Label6 = label("Label6", QStringLiteral("Taille de l'affichage :"), {4, 229, 155, 21});
    saisieEchelle = list("saisieEchelle", 228);
    // Qt takes its scale factor before the first window exists: without a
    // word here the teacher would think the choice did nothing.
    Label7 = new QLabel(QStringLiteral("La taille de l'affichage change au prochain démarrage de Pecunette."), Frame1);
    Label7->setObjectName(QStringLiteral("Label7"));
    Label7->setWordWrap(true);
    Label7->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label7->setGeometry(10, 254, 327, 30);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(270, 302, 84, 23);
    // Enter presses it as the default button; Escape rejects the dialog, which closes it just the same.
    cmdOK->setDefault(true);

    cmdCode = new QPushButton(QStringLiteral("&Code de l'enseignant..."), this);
    cmdCode->setObjectName(QStringLiteral("cmdCode"));
    cmdCode->setAutoDefault(false);
    cmdCode->setGeometry(6, 302, 160, 23);

    setTabOrder(saisieNiveau, saisieHasard);
    setTabOrder(saisieHasard, saisieExercice);
    setTabOrder(saisieExercice, saisieSon);
    setTabOrder(saisieSon, saisieMonnaie);
    setTabOrder(saisieMonnaie, saisieOrthographe);
    setTabOrder(saisieOrthographe, saisiePays);
    setTabOrder(saisiePays, saisieCentimes);
    setTabOrder(saisieCentimes, saisieEchelle);
    setTabOrder(saisieEchelle, cmdOK);
    setTabOrder(cmdOK, cmdCode);

    connect(saisieNiveau, &QComboBox::currentIndexChanged, this, &FrmParam::saisieNiveau_Click);
    connect(saisieHasard, &QComboBox::currentIndexChanged, this, &FrmParam::saisieHasard_Click);
    connect(saisieExercice, &QComboBox::currentIndexChanged, this, &FrmParam::saisieExercice_Click);
    connect(saisieSon, &QComboBox::currentIndexChanged, this, &FrmParam::saisieSon_Click);
    connect(saisieMonnaie, &QComboBox::currentIndexChanged, this, &FrmParam::saisieMonnaie_Click);
    connect(saisieOrthographe, &QComboBox::currentIndexChanged, this, &FrmParam::saisieOrthographe_Click);
    connect(saisiePays, &QComboBox::currentIndexChanged, this, &FrmParam::saisiePays_Click);
    connect(saisieCentimes, &QComboBox::currentIndexChanged, this, &FrmParam::saisieCentimes_Click);
    connect(saisieEchelle, &QComboBox::currentIndexChanged, this, &FrmParam::saisieEchelle_Click);
    connect(cmdOK, &QPushButton::clicked, this, &FrmParam::cmdOK_Click);
    connect(cmdCode, &QPushButton::clicked, this, &FrmParam::cmdCode_Click);

    Form_Load();
}

void FrmParam::Form_Load()
{
    centreOnPrimaryScreen(this);

    // A stored value that is not an index of its list (edited by hand, say)
    // selects the entry used when nothing is stored.
    const SettingsStore &settings = m_services.settings;
    fill(saisieNiveau, niveaux(), readIndex(settings, Keys::Temporisation, int(niveaux().size()), DefaultNiveau));
    const int classe = readIndex(settings, Keys::Classe, ClasseCount, 0);
    fill(saisieHasard, hasards(),
         classe > 0 ? HasardCount + classe - 1 : readIndex(settings, Keys::Hasard, HasardCount, DefaultHasard));
    fill(saisieExercice, exercices(), readIndex(settings, Keys::Exercice, int(exercices().size()), DefaultExercice));
    fill(saisieSon, sons(), readIndex(settings, Keys::Son, int(sons().size()), DefaultSon));
    fill(saisieMonnaie, monnaies(), readIndex(settings, Keys::Monnaie, int(monnaies().size()), DefaultMonnaie));
    fill(saisieOrthographe, orthographes(),
         readIndex(settings, Keys::Orthographe, int(orthographes().size()), DefaultOrthographe));
    fill(saisiePays, pays(), readIndex(settings, Keys::Pays, int(pays().size()), DefaultPays));
    fill(saisieCentimes, centimes(), readIndex(settings, Keys::Centimes, int(centimes().size()), DefaultCentimes));
    fill(saisieEchelle, echelles(), readIndex(settings, Keys::Echelle, int(echelles().size()), DefaultEchelle));
}

// Filling leaves the list without a selection, so that selecting the stored
// entry runs the list's handler exactly as a choice of the teacher does.
void FrmParam::fill(QComboBox *list, const QStringList &entries, int selected)
{
    {
        const QSignalBlocker quiet(list);
        list->clear();
        list->addItems(entries);
        list->setCurrentIndex(-1);
    }
    list->setCurrentIndex(selected);
}

void FrmParam::store(const QString &key, const QComboBox *list)
{
    m_services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, key, QString::number(list->currentIndex()));
}

void FrmParam::saisieNiveau_Click()
{
    // The hint timer reads the delay afresh at each tick.
    store(Keys::Temporisation, saisieNiveau);
}

void FrmParam::saisieHasard_Click()
{
    // The choice on screen, not a read-back: it holds even when the store cannot keep it.
    const int entry = std::max(saisieHasard->currentIndex(), 0);
    int classe = 0;
    if (entry < HasardCount)
        store(Keys::Hasard, saisieHasard);
    else
        classe = entry - HasardCount + 1;
    // A number of digits chosen again puts the class aside; a class leaves
    // the digits stored for when it is put aside.
    m_services.settings.Write(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Classe, QString::number(classe));
    m_state.MontantMax = montantMaxFor(entry, classe);
}

void FrmParam::saisieExercice_Click()
{
    store(Keys::Exercice, saisieExercice);
    const int exercice = std::max(saisieExercice->currentIndex(), 0);
    m_state.NbCheques = static_cast<qint16>((exercice + 1) * 5);
    m_state.ChequesRestants = m_state.NbCheques;
}

void FrmParam::saisieSon_Click()
{
    store(Keys::Son, saisieSon);
    m_state.SonActif = static_cast<qint16>(std::max(saisieSon->currentIndex(), 0));
}

void FrmParam::saisieMonnaie_Click()
{
    // The next cheque reads it: the one on screen keeps its currency.
    store(Keys::Monnaie, saisieMonnaie);
}

void FrmParam::saisieEchelle_Click()
{
    // Qt's scale factor is set before the first window: the next start uses it.
    store(Keys::Echelle, saisieEchelle);
}

// The cheque on screen keeps its wording; the next one reads these.
void FrmParam::saisieOrthographe_Click() { store(Keys::Orthographe, saisieOrthographe); }
void FrmParam::saisiePays_Click() { store(Keys::Pays, saisiePays); }
void FrmParam::saisieCentimes_Click() { store(Keys::Centimes, saisieCentimes); }

void FrmParam::cmdOK_Click() { close(); }

void FrmParam::cmdCode_Click()
{
    auto *box = new FrmNouveauCode(m_services, this);
    box->open();
}
