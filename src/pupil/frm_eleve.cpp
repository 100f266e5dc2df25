// Pecunette — apprendre à remplir un chèque.
#include "frm_eleve.h"

#include "clean_text.h"
#include "pictures.h"
#include "window_placement.h"

#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <limits>

namespace {
const QString ProductName = QStringLiteral("Pecunette");
}  // namespace

// A plain window rather than a QDialog: Enter in a text box and Escape do
// nothing, so a name is only confirmed by the OK button itself; Enter on a
// focused button presses it, as Space does.
FrmEleve::FrmEleve(ExerciseState &state, Services &services, ProgressLog &progression, QWidget *mainWindow,
                   QLabel *message, QLabel *debutMsg, std::function<void(const QString &)> setSessionLine)
    : QWidget(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_state(state)
    , m_services(services)
    , m_progression(progression)
    , m_message(message)
    , m_debutMsg(debutMsg)
    , m_setSessionLine(std::move(setSessionLine))
{
    setObjectName(QStringLiteral("frmEleve"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Identification ..."));
    registerPictures();
    setWindowIcon(QIcon(QStringLiteral(":/pecunette/icon.svg")));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    setFont(font);
    setFixedSize(275, 155);

    Frame = new QGroupBox(QStringLiteral("Fiche d'identification de l'élève"), this);
    Frame->setObjectName(QStringLiteral("Frame1"));
    Frame->setGeometry(4, 6, 265, 115);

    Picture1 = new QLabel(Frame);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setGeometry(8, 24, 94, 80);
    Picture1->setPixmap(QIcon(QStringLiteral(":/pecunette/employe.svg")).pixmap(QSize(94, 80), devicePixelRatioF()));

    Label4 = new QLabel(QStringLiteral("Nom :"), Frame);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label4->setGeometry(108, 20, 85, 14);
    saisieNom = new QLineEdit(Frame);
    saisieNom->setObjectName(QStringLiteral("saisieNom"));
    saisieNom->setGeometry(108, 34, 141, 21);
    saisieNom->setMaxLength(std::numeric_limits<int>::max());  // names of any length
    cleanAsTyped(saisieNom);

    Label3 = new QLabel(QStringLiteral("Prénom  :"), Frame);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(108, 64, 85, 14);
    saisiePrenom = new QLineEdit(Frame);
    saisiePrenom->setObjectName(QStringLiteral("saisiePrenom"));
    saisiePrenom->setGeometry(108, 78, 141, 21);
    saisiePrenom->setMaxLength(std::numeric_limits<int>::max());
    cleanAsTyped(saisiePrenom);

    OK = new QPushButton(QStringLiteral("&OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(200, 126, 69, 23);
    Annuler = new QPushButton(QStringLiteral("&Annuler"), this);
    Annuler->setObjectName(QStringLiteral("Annuler"));
    Annuler->setGeometry(128, 126, 69, 23);

    // Outside a QDialog a button takes Enter only when told so.
    OK->setAutoDefault(true);
    Annuler->setAutoDefault(true);

    setTabOrder(saisieNom, saisiePrenom);
    setTabOrder(saisiePrenom, OK);
    setTabOrder(OK, Annuler);
    connect(OK, &QPushButton::clicked, this, &FrmEleve::OK_Click);
    connect(Annuler, &QPushButton::clicked, this, &FrmEleve::Annuler_Click);

    Form_Load(mainWindow);
}

void FrmEleve::Form_Load(QWidget *mainWindow)
{
    const QSize outer = frameGeometry().size();
    const QPoint corner = mainWindow ? mainWindow->frameGeometry().topLeft() : QPoint();
    placeWindowOnScreen(this, corner + QPoint(outer.width() / 2, outer.height() / 2));
    saisieNom->setText(m_state.NomEleve);
    saisiePrenom->setText(m_state.PrenomEleve);
    setWindowTitle(ProductName);
    saisieNom->setFocus();
}

void FrmEleve::OK_Click()
{
    // Kept even when the check below refuses them.
    m_state.NomEleve = cleanLine(saisieNom->text());
    m_state.PrenomEleve = cleanLine(saisiePrenom->text());
    if (m_state.NomEleve.trimmed().isEmpty() || m_state.PrenomEleve.trimmed().isEmpty()) {
        m_services.prompts.inform(ProductName,
                                  QStringLiteral("L'identification est nécessaire pour\n"
                                                 "pour faire un analyse de la progression."),
                                  Prompts::Icon::Critical);
        return;
    }
    m_message->move(m_message->x(), 20);
    m_message->setText(QStringLiteral("Bonjour ...\n") + m_state.PrenomEleve);
    if (m_setSessionLine)
        m_setSessionLine(QStringLiteral("Session de ") + m_state.NomEleve + QLatin1Char(' ') + m_state.PrenomEleve +
                         QLatin1Char('.'));
    m_debutMsg->setVisible(true);
    m_state.EvenementSuivant = HistoryEventKind::Identification;
    m_progression.AjoutProgress(QStringLiteral("Elève ") + m_state.NomEleve + QLatin1Char(' ') + m_state.PrenomEleve,
                                true);
    hide();
}

void FrmEleve::Annuler_Click() { close(); }
