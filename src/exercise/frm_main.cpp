// Pecunette — apprendre à remplir un chèque.
#include "frm_main.h"

#include "cheque_rules.h"
#include "frm_impression.h"
#include "lock_keys.h"
#include "montant_en_lettres.h"
#include "pictures.h"
#include "regle_enfreinte.h"
#include "settings_keys.h"
#include "settings_store.h"
#include "sound_files.h"
#include "window_placement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QStyleHints>

#include <algorithm>
#include <cmath>

namespace {
constexpr int TwipsPerPixel = 15;
const QColor Grey(128, 128, 128);
const QColor Blue(0, 0, 255);
const QString SerifFamily = QStringLiteral("Times New Roman");
const QString ArialFamily = QStringLiteral("Arial");
const QString SansFamily = QStringLiteral("Liberation Sans");  // stands for "MS Sans Serif"

QFont designFont(const QString &family, qreal points, bool bold, bool italic = false)
{
    QFont f(family);
    f.setPointSizeF(points);
    f.setBold(bold);
    f.setItalic(italic);
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

// The clerk's bubble: its usual box, and the larger one of a rule's sentence.
constexpr int MessageLeft = 296;
constexpr QSize MessageSize(213, 53);
constexpr QRect RuleBox(300, 38, 205, 56);
constexpr qreal RuleFontSize = 11;

QString toQ(const std::string &text) { return QString::fromStdString(text); }
std::string toStd(const QString &text) { return text.toStdString(); }

QLocale french() { return QLocale(QLocale::French, QLocale::France); }
}  // namespace

FrmMain::FrmMain(ExerciseState &state, Services &services, ProgressLog &progression, QWidget *parent)
    : QMainWindow(parent)
    , m_state(state)
    , m_services(services)
    , m_progression(progression)
{
    endProgramAtOnce = [] { QCoreApplication::exit(0); };
    registerPictures();
    buildWindow();

    // Start-up, in the order the rest of the program relies on.
    m_random.seed(static_cast<quint32>(QDateTime::currentMSecsSinceEpoch()));
    const SettingsStore &store = m_services.settings;
    const int exercice = readIndex(store, Keys::Exercice, 4, 0);
    m_state.NbCheques = static_cast<qint16>((exercice + 1) * 5);
    m_state.MontantMax = storedMontantMax(store, 0);
    m_state.SonActif =
        leadingNumber16(store.Read(Keys::AppPecunette, Keys::SectionDemarrage, Keys::Son, QStringLiteral("0")));
    m_state.ChequesRestants = m_state.NbCheques;
    m_state.MotsJustes = 0;
    readMonnaie();

    Form_Load();

    for (WordBlockLabel *block : m_nombre)
        block->setVisible(false);
    m_texte->setVisible(false);
    m_somme->setVisible(false);
    m_nouveau->setVisible(true);
    m_consigne->setVisible(false);

    placeWindow();

    qApp->installEventFilter(this);
}

FrmMain::~FrmMain() { qApp->removeEventFilter(this); }

void FrmMain::buildWindow()
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Pecunette - Ecole de Quelbrac"));
    setWindowIcon(QIcon(QStringLiteral(":/pecunette/icon.svg")));
    // A fixed tool window: small title bar with only its close box.
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    m_background = new ChequeBackground(QStringLiteral(":/pecunette/cheque.svg"), QSize(640, 480), this);
    m_background->setObjectName(QStringLiteral("Fond"));
    m_background->setFixedSize(627, 438);
    setCentralWidget(m_background);

    auto label = [this](const char *name, QRect geometry, const QString &text, const QFont &font, QColor color,
                        Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop) {
        auto *l = new FitLabel(m_background);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(geometry);
        l->setText(text);
        l->setFont(font);
        l->setTextColor(color);
        l->setAlignment(alignment);
        l->setWordWrap(true);
        return l;
    };

    m_image1 = new SvgPicture(QStringLiteral(":/pecunette/logo.svg"), m_background);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setGeometry(6, 6, 209, 87);

    m_message = label("Message", {296, 22, 213, 53}, QStringLiteral("Bonjour ..."),
                      designFont(SerifFamily, 15.75, true), QColor(128, 0, 0), Qt::AlignHCenter | Qt::AlignTop);
    m_debutMsg = label(
        "DebutMsg", {90, 106, 335, 117}, QStringLiteral("Clique sur le bouton \"Nouveau\" pour commencer l'exercice."),
        designFont(SansFamily, 24, false), palette().color(QPalette::ButtonText), Qt::AlignHCenter | Qt::AlignTop);
    m_debutMsg->setVisible(false);
    m_consigne = label("Consigne", {4, 122, 133, 101},
                       QStringLiteral("Utilise les blocs de mots qui se trouvent à droite pour rédiger ton chèque."),
                       designFont(SansFamily, 9.75, true), QColor(255, 128, 0));

    static constexpr int Columns[] = {138, 192, 246, 300, 354, 408, 462};
    static constexpr int CentsLeft = 354;
    static constexpr int CentsTop = 122;
    static constexpr int Rows[] = {140, 158, 176, 194, 212};
    // One label per block any style may show, made once: a cheque shows those of its style.
    const NumberStyle everyBlock {Orthographe::Traditionnelle, Pays::Suisse, Monnaie::Franc, true};
    for (const WordBlock &block : BlocksFor(everyBlock, UnitesMaximum)) {
        auto *b = new WordBlockLabel(block.index, m_background);
        b->setObjectName(QStringLiteral("Nombre(%1)").arg(block.index));
        // The cents' column would stand on the clerk's raised hand: its blocks
        // take a row of their own above the grid, clear of the bubble.
        if (block.column == 8)
            b->setGeometry(CentsLeft + 54 * (block.row - 1), CentsTop, 51, 15);
        else
            b->setGeometry(Columns[block.column - 1], Rows[block.row - 1], 51, 15);
        b->setText(QString::fromUtf8(block.caption));
        b->setProperty("Tag", QString::fromUtf8(block.tag));
        b->setAccessibleName(b->text());
        b->setFont(designFont(SansFamily, 8.25, true));
        b->setTextColor(Qt::black);
        b->setAlignment(Qt::AlignCenter);
        b->setAutoFillBackground(true);
        QPalette p = b->palette();
        p.setColor(QPalette::Window, QColor(255, 255, 128));
        b->setPalette(p);
        b->setCursor(Qt::OpenHandCursor);
        connect(b, &WordBlockLabel::placeRequested, this, &FrmMain::TexteResultat_DragDrop);
        m_nombre.at(static_cast<size_t>(block.index)) = b;
    }

    m_somme = label("Somme", {434, 240, 77, 15}, QStringLiteral("0123456789"), designFont(SerifFamily, 9.75, true),
                    QColor(0, 0, 192));
    m_texteResultat = new DropLabel(m_background);
    m_texteResultat->setObjectName(QStringLiteral("TexteResultat"));
    // A block is taken anywhere on the writing band of the amount's three
    // lines, from the top of "PAYEZ CONTRE CE CHEQUE :" down to the third
    // rule, but not on the box of the amount in figures: a pupil aiming at
    // the first line must not be refused. The text keeps its own box inside.
    const QRect textBox(138, 254, 373, 93);
    const QRect band(QPoint(138, 243), QPoint(511, 288));
    const QRect figuresBox(QPoint(431, 238), QPoint(514, 256));
    const QRect dropWidget = textBox.united(band);
    m_texteResultat->setGeometry(dropWidget);
    m_texteResultat->setContentsMargins(textBox.left() - dropWidget.left(), textBox.top() - dropWidget.top(),
                                        dropWidget.right() - textBox.right(), dropWidget.bottom() - textBox.bottom());
    m_texteResultat->setDropArea((QRegion(band) - QRegion(figuresBox)).translated(-dropWidget.topLeft()));
    m_texteResultat->setFont(designFont(ArialFamily, 11.25, true, true));
    m_texteResultat->setTextColor(QColor(0, 0, 192));
    m_texteResultat->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_texteResultat->setWordWrap(true);
    connect(m_texteResultat, &DropLabel::blockDropped, this, &FrmMain::TexteResultat_DragDrop);

    const QFont labelFont = designFont(ArialFamily, 9.75, false, true);
    const QColor labelColor(128, 128, 255);
    m_ordreDe = label("OrdreDe", {222, 288, 289, 17}, QStringLiteral("Ecole de Quelbrac"), labelFont, labelColor);
    m_ville = label("Ville", {150, 322, 147, 17}, QStringLiteral("Quelbrac"), labelFont, labelColor);
    m_chequeDate = label("ChequeDate", {328, 322, 105, 17}, QStringLiteral("Quelbrac"), labelFont, labelColor);
    m_texte = label("Texte", {136, 352, 279, 19}, QString(), designFont(SansFamily, 8.25, true), QColor(255, 128, 0));

    m_nouveau = new QPushButton(QStringLiteral("&Nouveau"), m_background);
    m_nouveau->setObjectName(QStringLiteral("Nouveau"));
    m_nouveau->setGeometry(422, 350, 71, 23);
    connect(m_nouveau, &QPushButton::clicked, this, &FrmMain::Nouveau_Click);
    m_quitter = new QPushButton(QStringLiteral("&Quitter"), m_background);
    m_quitter->setObjectName(QStringLiteral("Quitter"));
    m_quitter->setGeometry(496, 350, 71, 23);
    m_quitterTag = QStringLiteral("Quitter");
    connect(m_quitter, &QPushButton::clicked, this, &FrmMain::Quitter_Click);
    // Outside a dialog a focused button takes Space only; a pupil presses Enter as well.
    m_nouveau->setAutoDefault(true);
    m_quitter->setAutoDefault(true);

    // The keyboard visits the blocks row by row, then the two buttons.
    std::array<WordBlockLabel *, BlockCount> byPlace = m_nombre;
    std::sort(byPlace.begin(), byPlace.end(), [](const WordBlockLabel *a, const WordBlockLabel *b) {
        return std::pair(a->y(), a->x()) < std::pair(b->y(), b->x());
    });
    for (size_t i = 1; i < byPlace.size(); ++i)
        setTabOrder(byPlace.at(i - 1), byPlace.at(i));
    setTabOrder(byPlace.back(), m_nouveau);
    setTabOrder(m_nouveau, m_quitter);

    for (int i = 0; i < 4; ++i) {
        auto *timer = new ExerciseTimer(this);
        timer->setObjectName(QStringLiteral("Timer(%1)").arg(i));
        connect(timer, &ExerciseTimer::timeout, this, [this, i] { Timer_Timer(i); });
        m_timers.at(static_cast<size_t>(i)) = timer;
    }

    buildMenus();
    buildStatusBar();
    setFixedSize(sizeHint());
}

void FrmMain::buildMenus()
{
    QMenuBar *bar = menuBar();
    auto menu = [bar](const char *name, const QString &title) {
        QMenu *m = bar->addMenu(title);
        m->setObjectName(QString::fromLatin1(name));
        m->menuAction()->setObjectName(QString::fromLatin1(name));
        return m;
    };
    auto command = [this](QMenu *m, const char *name, const QString &text, const QKeySequence &shortcut,
                          void (FrmMain::*slot)()) {
        QAction *a = m->addAction(text);
        a->setObjectName(QString::fromLatin1(name));
        if (!shortcut.isEmpty())
            a->setShortcut(shortcut);
        connect(a, &QAction::triggered, this, slot);
    };
    auto separator = [](QMenu *m, const char *name) { m->addSeparator()->setObjectName(QString::fromLatin1(name)); };

    QMenu *file = menu("mnuFile", QStringLiteral("&Fichier"));
    command(file, "mnuNouveau", QStringLiteral("&Nouveau"), QKeySequence(QStringLiteral("Ctrl+N")),
            &FrmMain::mnuNouveau_Click);
    command(file, "mnuEleve", QStringLiteral("Nom de l'élèv&e"), QKeySequence(QStringLiteral("Ctrl+E")),
            &FrmMain::mnuEleve_Click);
    command(file, "mnuProgression", QStringLiteral("P&rogression de l'élève"), QKeySequence(QStringLiteral("Ctrl+R")),
            &FrmMain::mnuProgression_Click);
    command(file, "mnuClasse", QStringLiteral("&Classe..."), QKeySequence(QStringLiteral("Ctrl+K")),
            &FrmMain::mnuClasse_Click);
    separator(file, "mnuFileBar1");
    command(file, "mnuFileProperties", QStringLiteral("&Paramètres"), QKeySequence(QStringLiteral("Ctrl+P")),
            &FrmMain::mnuFileProperties_Click);
    command(file, "mnuLibelles", QStringLiteral("&Libellés"), QKeySequence(), &FrmMain::mnuLibelles_Click);
    command(file, "mnuImprimer", QStringLiteral("&Imprimer des chèques..."), QKeySequence(),
            &FrmMain::mnuImprimer_Click);
    separator(file, "mnuFileBar3");
    command(file, "mnuFileExit", QStringLiteral("&Quitter"), QKeySequence(QStringLiteral("Ctrl+Q")),
            &FrmMain::mnuFileExit_Click);

    QMenu *help = menu("mnuHelp", QStringLiteral("&?"));
    command(help, "mnuHelpContents", QStringLiteral("&Sommaire"), QKeySequence(), &FrmMain::mnuHelpContents_Click);
    command(help, "mnuHelpSearch", QStringLiteral("A&ide sur..."), QKeySequence(), &FrmMain::mnuHelpSearch_Click);
    separator(help, "mnuHelpBar1");
    command(help, "mnuHelpAbout", QStringLiteral("À &propos de Pecunette..."), QKeySequence(),
            &FrmMain::mnuHelpAbout_Click);
}

QAction *FrmMain::menuAction(const QString &objectName) const
{
    const QList<QAction *> actions = menuBar()->findChildren<QAction *>(objectName);
    return actions.isEmpty() ? nullptr : actions.first();
}

void FrmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbStatusBar"));
    bar->setSizeGripEnabled(false);
    bar->setFixedHeight(18);
    m_panelText = new QLabel(QStringLiteral("État"), bar);
    m_panelText->setObjectName(QStringLiteral("sbStatusBar.Panel1"));
    m_panelText->setMinimumWidth(96);
    bar->addWidget(m_panelText, 1);
    auto indicator = [bar](const char *name, const QString &text) {
        auto *l = new QLabel(text, bar);
        l->setObjectName(QString::fromLatin1(name));
        l->setFixedWidth(35);
        l->setAlignment(Qt::AlignCenter);
        l->setEnabled(false);  // dimmed while its key is off
        bar->addPermanentWidget(l);
        return l;
    };
    m_panelNum = indicator("sbStatusBar.Panel2", QStringLiteral("NUM"));
    m_panelMaj = indicator("sbStatusBar.Panel3", QStringLiteral("MAJ"));
    refreshLockIndicators();
}

void FrmMain::refreshLockIndicators()
{
    const LockKeys keys = readLockKeys();
    m_panelNum->setEnabled(keys.known && keys.numLock);
    m_panelMaj->setEnabled(keys.known && keys.capsLock);
}

bool FrmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_quitter && swallowsSecondClickOfFin(event))
        return true;
    if (event->type() == QEvent::KeyRelease || event->type() == QEvent::ApplicationActivate) {
        if (event->type() != QEvent::KeyRelease || static_cast<QKeyEvent *>(event)->key() == Qt::Key_NumLock ||
            static_cast<QKeyEvent *>(event)->key() == Qt::Key_CapsLock)
            refreshLockIndicators();
    }
    return QMainWindow::eventFilter(watched, event);
}

bool FrmMain::swallowsSecondClickOfFin(QEvent *event)
{
    // "Fin" turns into "Quitter" under the mouse: the second half of a
    // double-click on "Fin" would otherwise ask to quit the program.
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
        m_quitterRelease = static_cast<QMouseEvent *>(event)->timestamp();
        m_quitterTagAtRelease = m_quitterTag;
        return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const quint64 at = static_cast<QMouseEvent *>(event)->timestamp();
        const auto interval = quint64(std::max(0, QGuiApplication::styleHints()->mouseDoubleClickInterval()));
        return m_quitterTagAtRelease == QStringLiteral("Fin") && m_quitterTag == QStringLiteral("Quitter") &&
               at >= m_quitterRelease && at - m_quitterRelease < interval;
    }
    default: return false;
    }
}

void FrmMain::setSessionLine(const QString &text) { m_panelText->setText(text); }
QString FrmMain::sessionLine() const { return m_panelText->text(); }

void FrmMain::Form_Load()
{
    for (int i = 0; i <= 26; ++i)
        Nombre(i)->setVisible(true);
    Nombre(27)->setVisible(false);
    Nombre(28)->setVisible(false);
    m_somme->setVisible(true);
    m_texte->setVisible(false);
    m_nouveau->setVisible(false);
    m_consigne->setVisible(false);
    m_chequeDate->setText(DateDuCheque());
    TirageMontant();
}

void FrmMain::placeWindow()
{
    const SettingsStore &store = m_services.settings;
    auto twips = [&store](const QString &key) {
        const QString stored = store.Read(Keys::AppPecunette, Keys::SectionPosition, key, QStringLiteral("-40"));
        const std::optional<double> value = parseDecimal(stored);
        // Beyond ten million twips (a few kilometres of screen) a value is noise.
        if (!value || std::abs(*value) > 1e7)
            return -40.0;
        return *value;
    };
    const QPoint stored(qRound(twips(Keys::MainLeft) / TwipsPerPixel), qRound(twips(Keys::MainTop) / TwipsPerPixel));
    const QRect wanted(stored, frameGeometry().size());
    bool onSomeScreen = false;
    for (const QScreen *screen : QGuiApplication::screens())
        onSomeScreen = onSomeScreen || screen->geometry().intersects(wanted);
    if (onSomeScreen || QGuiApplication::primaryScreen() == nullptr) {
        move(stored);
        return;
    }
    QRect centred(QPoint(), frameGeometry().size());
    centred.moveCenter(QGuiApplication::primaryScreen()->availableGeometry().center());
    move(centred.topLeft());
}

void FrmMain::readMonnaie()
{
    m_style = storedStyle(m_services.settings);
    m_monnaie = m_style.monnaie;
    m_largest = static_cast<long long>(std::clamp(m_state.MontantMax, 1.0, double(UnitesMaximum)));
    m_shown.fill(false);
    for (const WordBlock &block : BlocksFor(m_style, m_largest)) {
        const QString caption = toQ(block.caption);
        Nombre(block.index)->setText(caption);
        Nombre(block.index)->setAccessibleName(caption);
        m_shown.at(static_cast<size_t>(block.index)) = true;
    }
}

bool FrmMain::classicStyle() const
{
    return m_style.orthographe == Orthographe::Traditionnelle && m_style.pays == Pays::France && !m_style.centimes &&
           m_largest <= MontantMaximum;
}

bool FrmMain::blockShown(int index) const { return m_shown.at(static_cast<size_t>(index)); }

int FrmMain::TirageMontant() { return static_cast<int>(TirageCentimes() / 100); }

Centimes FrmMain::TirageCentimes()
{
    const auto largest = static_cast<long long>(std::clamp(m_state.MontantMax, 1.0, double(UnitesMaximum)));
    long long whole = 0;
    if (largest <= MontantMaximum) {
        // A single-precision fraction in [0, 1): 24 random bits, never rounded up to 1.
        const float r = static_cast<float>(m_random.generate() >> 8) / 16777216.0F;
        whole = static_cast<long long>(std::floor(static_cast<double>(r) * m_state.MontantMax)) + 1;
    } else {
        // 24 bits would reach one amount in sixty of a milliard: every amount is drawn instead.
        whole = static_cast<long long>(m_random.bounded(static_cast<quint64>(largest))) + 1;
    }
    Centimes amount = whole * 100;
    // The level's largest amount is the ceiling: "jusqu'à 1 000" never reads 1 000,40.
    if (m_style.centimes && whole < largest)
        amount += m_random.bounded(100);
    m_somme->setText(toQ(TexteSomme(amount, m_style)));
    return amount;
}

QString FrmMain::DateDuCheque() const
{
    return french().toString(m_services.clock.now().date(), QStringLiteral("ddd d MMM yyyy"));
}

void FrmMain::setMessage(int top, qreal fontSize, const QString &caption)
{
    setMessageTop(top);
    m_message->setFontSize(fontSize);
    m_message->setText(caption);
}

void FrmMain::setMessageTop(int top)
{
    m_message->setGeometry(MessageLeft, top, MessageSize.width(), MessageSize.height());
}

void FrmMain::showRule(const QString &sentence)
{
    // A sentence, not a word: it takes the whole bubble, in a size a child reads.
    m_message->setGeometry(RuleBox);
    m_message->setFontSize(RuleFontSize);
    // No line may break inside the quotation marks, leaving "«" or "»" alone.
    QString shown = sentence;
    shown.replace(QStringLiteral("« "), QStringLiteral("«\u00A0"))
        .replace(QStringLiteral(" »"), QStringLiteral("\u00A0»"));
    m_message->setText(shown);
}

void FrmMain::JoueSon(const QString &file) { ::JoueSon(file, m_state.SonActif, m_services.settings, m_services.sound); }

void FrmMain::stopAllTimers()
{
    for (int i : {2, 1, 0, 3})
        Timer(i)->stop();
}

void FrmMain::greyBlocks()
{
    for (WordBlockLabel *block : m_nombre) {
        block->setTextColor(Grey);
        block->setBold(false);
    }
}

// --- A new cheque --------------------------------------------------------

void FrmMain::Nouveau_Click()
{
    m_texteResultat->setText(QString());
    m_texte->setVisible(false);
    m_nouveau->setVisible(false);
    m_consigne->setVisible(true);
    NouveauCheque();
}

void FrmMain::mnuNouveau_Click() { NouveauCheque(); }

void FrmMain::NouveauCheque()
{
    // A complete cheque whose one-second check has not come yet is closed
    // first, so its result is recorded; one left half-written keeps its
    // errors in the series and says so, or starting again would wipe them.
    if (Timer(0)->running() && !m_state.ChequeEnCours)
        finDuCheque();
    if (m_state.ChequeEnCours) {
        m_state.ErreursSerie += m_state.ErreursCheque;
        m_state.EvenementSuivant = HistoryEventKind::Abandon;
        m_progression.AjoutProgress(QStringLiteral("Chèque abandonné"), false);
    }

    // The first cheque after start-up, after a series' mark or after "Fin"
    // opens a new series: without this the counter runs below zero and no
    // later pupil ever gets a mark, or one mixing several series.
    const bool nouvelleSerie = m_state.SerieTerminee;
    if (nouvelleSerie) {
        m_state.ChequesRestants = m_state.NbCheques;
        m_state.ErreursSerie = 0;
        m_state.MotsJustes = 0;
        m_state.SerieTerminee = false;
        m_state.NumeroSerie += 1;
    }

    m_debutMsg->setVisible(false);
    m_texte->setVisible(false);
    m_somme->setVisible(true);
    m_nouveau->setVisible(false);
    m_chequeDate->setText(DateDuCheque());
    readMonnaie();
    const Centimes amount = TirageCentimes();
    // The journal keeps whole units (the levels stop at a milliard); the wording keeps the cents.
    m_state.Montant = static_cast<int>(amount / 100);
    m_state.MonnaieCheque = m_monnaie;
    const SettingsStore &store = m_services.settings;
    m_ordreDe->setText(readLabel(store, Keys::Ordre, Keys::DefaultOrdre));
    m_ville->setText(readLabel(store, Keys::Ville, Keys::DefaultVille));
    m_texteResultat->setText(QString());
    // The classic exercise has no cents: its wording takes the whole amount.
    const long long wholeAmount = amount / 100;
    m_state.PhraseATrouver = toQ(classicStyle() ? MontantEnLettres(static_cast<double>(wholeAmount), m_monnaie)
                                                : MontantEnLettres(amount, m_style))
                                 .trimmed();
    // In francs the clerk says the currency after the amount, as he always did ("4521 Frs francs").
    setMessage(22, 18,
               QStringLiteral("Fais un chèque de\n") + m_somme->text() +
                   (m_monnaie == Monnaie::Euro ? QString() : QStringLiteral(" francs")));
    m_state.ErreursCheque = 0;
    m_state.TicksAttente = 0;
    Timer(2)->start(30000);
    for (WordBlockLabel *block : m_nombre) {
        block->setTextColor(Grey);
        block->setVisible(blockShown(block->index()));
        block->setBold(false);
        // A frame left from the last cheque, or the focus handed on by the
        // "Nouveau" button as it hides, would read as a hint on the new one.
        block->hideFocusFrame();
    }
    m_quitter->setText(QStringLiteral("Fin"));
    m_quitterTag = QStringLiteral("Fin");
    m_consigne->setVisible(true);
    m_state.HeureDebut = m_services.clock.instant();
    m_state.HeurePrecedente = m_state.HeureDebut;
    if (nouvelleSerie)
        m_state.DebutSerie = m_state.HeureDebut;
    m_state.ChequeEnCours = true;
    m_state.EvenementSuivant = HistoryEventKind::ChequeStart;
    m_progression.AjoutProgress(QStringLiteral("Début de l'exercice : ") + m_state.PhraseATrouver, true);
}

// --- A drop on the cheque ------------------------------------------------

void FrmMain::TexteResultat_DragDrop(int index)
{
    // A block the cheque does not show cannot have been dropped.
    if (index < 0 || index >= static_cast<int>(m_nombre.size()) || !blockShown(index))
        return;
    // A finished cheque keeps its result: a late drop is no error and writes no row.
    if (!m_state.ChequeEnCours)
        return;
    const std::string expected = toStd(m_state.PhraseATrouver);
    const std::string wording = toStd(m_texteResultat->text());
    const std::string word = toStd(Nombre(index)->text().trimmed());
    const DropVerdict verdict =
        classicStyle() ? JudgeDrop(expected, wording, word) : JudgeDrop(expected, wording, word, m_style);
    const QString candidate = toQ(verdict.candidate);
    m_state.DernierBloc = Nombre(index)->text().trimmed();
    m_state.DernierBlocJuste = verdict.right;
    m_state.EvenementSuivant = HistoryEventKind::Drop;
    if (verdict.right) {
        m_progression.AjoutProgress(candidate, true);
        m_texteResultat->setText(candidate);
        setMessage(30, 22, QStringLiteral("C'est exact!"));
        Timer(2)->stop();
        Timer(0)->start(1000);
        m_texteResultat->setText(toQ(verdict.wording));  // with the hyphen the amount goes on with, if any
        m_state.MotsJustes += 1;
        m_state.ChequeEnCours = verdict.wording != expected;
        JoueSon(Sons::DropJuste);
    } else {
        // The clerk names the rule the drop breaks, when there is one, and the
        // history keeps it, so the teacher sees which rules a pupil misses.
        // The exercise as it always was keeps its "Incorrect!" and its rows.
        const QString regle = classicStyle()
                                  ? QString()
                                  : toQ(PhraseDeLaRegle(RegleEnfreintePar(expected, wording, word, m_style), m_style));
        m_progression.AjoutProgress(regle.isEmpty() ? candidate : candidate + QStringLiteral(" — ") + regle, false);
        m_state.ErreursCheque += 1;
        JoueSon(Sons::DropFausse);
        if (regle.isEmpty()) {
            setMessageTop(30);
            m_message->setText(QStringLiteral("Incorrect!"));
        } else {
            showRule(regle);
        }
        Timer(2)->stop();
        Timer(1)->start(1000);
    }
}

// --- The timers ----------------------------------------------------------

void FrmMain::Timer_Timer(int index)
{
    // A timer that was stopped has nothing left to say ("Fin" stops them all).
    if (index < 0 || index >= static_cast<int>(m_timers.size()) || !Timer(index)->running())
        return;
    switch (index) {
    case 0: finDuCheque(); break;
    case 1: essaieEncore(); break;
    case 2: afficheIndice(); break;
    default: break;
    }
}

void FrmMain::essaieEncore()
{
    Timer(1)->stop();
    setMessage(30, 22, QStringLiteral("Essaie encore!"));
}

void FrmMain::finDuCheque()
{
    Timer(0)->stop();
    greyBlocks();
    if (m_state.PhraseATrouver.trimmed() != m_texteResultat->text().trimmed()) {
        setMessage(30, 22, QStringLiteral("Continue!"));
        return;
    }
    JoueSon(Sons::ChequeFini);
    const ChequeResult result = ChequeResultFor(m_state.ErreursCheque);
    setMessage(result.messageTop, 18, toQ(result.message));
    m_state.EvenementSuivant = HistoryEventKind::ChequeEnd;
    m_progression.AjoutProgress(toQ(result.historyRow), result.normal);
    m_state.ChequesRestants -= 1;
    m_state.ErreursSerie += m_state.ErreursCheque;
    if (m_state.ChequesRestants != 0) {
        m_nouveau->setVisible(true);
        m_nouveau->setEnabled(true);
        m_texte->setText(QStringLiteral("Clique sur le bouton 'NOUVEAU' pour continuer."));
        m_texte->setVisible(true);
        stopAllTimers();
        return;
    }
    resultatSerie();
}

void FrmMain::resultatSerie()
{
    stopAllTimers();
    JoueSon(Sons::SerieFinie);
    setMessage(30, 22, toQ(MarkCaption(m_state.ErreursSerie, m_state.MotsJustes)));
    m_state.EvenementSuivant = HistoryEventKind::Mark;
    m_progression.SetProgress(toQ(MarkHistoryRow(m_state.ErreursSerie, m_state.MotsJustes)), QString(), true);
    m_texte->setText(QStringLiteral("Clique sur le bouton 'QUITTER' pour continuer."));
    m_nouveau->setEnabled(false);
    m_nouveau->setVisible(false);
    m_texte->setVisible(true);
    // The series ends with the row of its last cheque, written a moment ago: read
    // again, the clock could pass into the next second, which no row would account for.
    if (!m_state.HeureCourante.isValid())
        m_state.HeureCourante = m_services.clock.instant();
    const qint64 elapsed = m_state.DebutSerie.isValid() ? m_state.DebutSerie.msecsTo(m_state.HeureCourante) : 0;
    m_state.EvenementSuivant = HistoryEventKind::TotalDuration;
    m_progression.SetProgress(QStringLiteral("Durée totale"), toQ(FormatDuree(elapsed)), true);
    m_state.SerieTerminee = true;
}

void FrmMain::afficheIndice()
{
    m_state.TicksAttente += 1;
    const int delai = readIndex(m_services.settings, Keys::Temporisation, 4, 3);
    // ">=" rather than "==": a delay shortened in the parameters after more
    // ticks than it now asks for still gives the hint at the next tick.
    if (m_state.TicksAttente < delai + 1)
        return;
    setMessage(22, 15, QStringLiteral("Regarde bien\nle mot en BLEU."));
    const std::string expected = toStd(m_state.PhraseATrouver);
    const std::string wording = toStd(m_texteResultat->text());
    const QString word =
        toQ(classicStyle() ? NextHintWord(expected, wording, m_monnaie) : NextHintWord(expected, wording, m_style));
    for (WordBlockLabel *block : m_nombre) {
        if (blockShown(block->index()) && block->text() == word) {
            block->setTextColor(Blue);
            block->setBold(true);
        }
    }
    Timer(2)->stop();
    m_state.EvenementSuivant = HistoryEventKind::Hint;
    m_progression.AjoutProgress(QStringLiteral("Affichage du mot '") + word + QStringLiteral("' en bleu"), false);
}

// --- Ending and quitting -------------------------------------------------

int FrmMain::QuitterOuiNon()
{
    const QString title = QStringLiteral("Quitter ...");
    const QString record = QStringLiteral("L'historique des sessions contient les informations\n"
                                          "utiles pour l'analyse de la progression des élèves.\n");
    // The history lives only in memory: what was not saved is lost with the program.
    if (!m_progression.hasUnsavedRows()) {
        const Prompts::Answer answer = m_services.prompts.askOkCancel(
            title, record + QStringLiteral("Voulez-vous réellement quitter 'Pecunette' ?"), Prompts::Icon::Critical);
        return answer == Prompts::Answer::Ok ? 1 : 2;
    }
    const Prompts::Answer answer = m_services.prompts.askSaveDiscardCancel(
        title,
        record + QStringLiteral("Des lignes de l'historique n'ont pas encore été enregistrées.\n"
                                "Voulez-vous les enregistrer avant de quitter 'Pecunette' ?"),
        Prompts::Icon::Critical);
    switch (answer) {
    // A save given up or failed keeps the program open, with the history whole.
    case Prompts::Answer::Save: return m_progression.saveToCsv() ? 1 : 2;
    case Prompts::Answer::Discard: return 1;
    default: return 2;
    }
}

void FrmMain::Quitter_Click()
{
    const QString tag = m_quitterTag.trimmed();
    if (tag == QStringLiteral("Quitter")) {
        if (QuitterOuiNon() == 1 && endProgramAtOnce)
            endProgramAtOnce();
    } else if (tag == QStringLiteral("Fin")) {
        finDeSession();
    }
}

void FrmMain::finDeSession()
{
    // A complete cheque still waiting for its check is recorded before the
    // goodbye; then nothing pending may come back over it.
    if (Timer(0)->running() && !m_state.ChequeEnCours)
        finDuCheque();
    stopAllTimers();
    m_state.ChequeEnCours = false;
    for (WordBlockLabel *block : m_nombre)
        block->setVisible(false);
    m_texte->setVisible(false);
    m_somme->setVisible(false);
    m_nouveau->setVisible(true);
    m_nouveau->setEnabled(true);
    setMessage(20, 18, QStringLiteral("Au revoir...\n") + m_state.PrenomEleve + QStringLiteral("."));
    m_quitter->setText(QStringLiteral("Quitter"));
    m_quitterTag = QStringLiteral("Quitter");
    m_consigne->setVisible(false);
    // The row first: the pupil's name still goes with it into the journal.
    m_state.EvenementSuivant = HistoryEventKind::SessionEnd;
    m_progression.AjoutProgress(QStringLiteral("Clique du bouton 'Fin'."), true);
    m_state.NomEleve.clear();
    m_state.PrenomEleve.clear();
    setSessionLine(QString());
    m_state.SerieTerminee = true;
}

bool FrmMain::endOfSession(bool mayAsk)
{
    if (m_ended)
        return true;
    if (mayAsk && m_progression.hasUnsavedRows()) {
        if (QuitterOuiNon() != 1)
            return false;
    } else {
        m_progression.keepForNextStart();
    }
    Form_Unload();
    return true;
}

void FrmMain::mnuFileExit_Click() { close(); }

void FrmMain::closeEvent(QCloseEvent *event)
{
    if (m_ended) {
        event->accept();
        return;
    }
    if (m_progression.Rows() > 2 && QuitterOuiNon() != 1) {
        event->ignore();
        return;
    }
    Form_Unload();
    event->accept();
}

void FrmMain::Form_Unload()
{
    m_ended = true;
    // The history first: it refuses every other close.
    m_progression.closeForUnload();
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window != this && window->isVisible())
            window->close();
    }
    if (!isMinimized()) {
        SettingsStore &store = m_services.settings;
        const QRect frame = frameGeometry();
        auto save = [&store](const QString &key, int pixels) {
            store.Write(Keys::AppPecunette, Keys::SectionPosition, key, QString::number(pixels * TwipsPerPixel));
        };
        save(Keys::MainLeft, frame.x());
        save(Keys::MainTop, frame.y());
        save(Keys::MainWidth, frame.width());
        save(Keys::MainHeight, frame.height());
    }
    QCoreApplication::quit();
}

// --- Commands of the other windows ---------------------------------------

void FrmMain::mnuProgression_Click() { Q_EMIT progressionRequested(); }
void FrmMain::mnuEleve_Click() { Q_EMIT eleveRequested(); }
void FrmMain::mnuFileProperties_Click() { Q_EMIT parametresRequested(); }
void FrmMain::mnuLibelles_Click() { Q_EMIT libellesRequested(); }
void FrmMain::mnuClasse_Click() { Q_EMIT classeRequested(); }
void FrmMain::mnuHelpContents_Click() { Q_EMIT aideSommaireRequested(); }
void FrmMain::mnuHelpSearch_Click() { Q_EMIT aideRechercheRequested(); }
void FrmMain::mnuHelpAbout_Click() { Q_EMIT aproposRequested(); }

void FrmMain::mnuImprimer_Click()
{
    showLoadedWindow(m_impression, this, [this] { return new FrmImpression(m_state, m_services); });
}
