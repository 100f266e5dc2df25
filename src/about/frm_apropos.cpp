// Pecunette — apprendre à remplir un chèque.
#include "frm_apropos.h"

#include "pictures.h"
#include "window_placement.h"

#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {
const QString MsinfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString MsinfoValue = QStringLiteral("PATH");
const QString ToolsLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString ToolsLocationValue = QStringLiteral("MSINFO");
const QString MsinfoProgram = QStringLiteral("\\MSINFO32.EXE");

// Where there is no registry: the usual system-information programs of the desktops.
const QStringList FreeDesktopSysInfo {QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor"),
                                      QStringLiteral("hardinfo")};
}  // namespace

QString FrmApropos::applicationTitle() { return QStringLiteral("Pecunette"); }

QString FrmApropos::legalNotice() { return QStringLiteral("© 2026 Ecole de Quelbrac"); }

QString FrmApropos::description()
{
    return QStringLiteral("Progrmmes d 'aide pédagogique pour Ecole primaire.\n"
                          "\n"
                          "Ecole de Quelbrac\n"
                          "3, rue des Tilleuls\n"
                          "99870 Quelbrac\n"
                          "Tél : 01 99 00 42 17\n"
                          "Email : quelbrac@example.org\n"
                          "Internet : quelbrac.example.org");
}

FrmApropos::FrmApropos(Services &services, QWidget *mainWindow)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
    , m_services(services)
{
    setObjectName(QStringLiteral("frmApropos"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("A propos de ..."));
    registerPictures();
    setWindowIcon(QIcon(QStringLiteral(":/pecunette/icon.svg")));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    setFont(font);
    setFixedSize(301, 203);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setGeometry(6, 9, 94, 80);
    picIcon->setPixmap(QIcon(QStringLiteral(":/pecunette/employe.svg")).pixmap(QSize(94, 80), devicePixelRatioF()));

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    lblTitle->setGeometry(104, 9, 190, 15);
    QPalette black = lblTitle->palette();
    black.setColor(QPalette::WindowText, Qt::black);
    lblTitle->setPalette(black);

    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lblVersion->setGeometry(105, 24, 190, 15);

    lblDescription = new QLabel(this);
    lblDescription->setObjectName(QStringLiteral("lblDescription"));
    lblDescription->setGeometry(102, 45, 193, 122);
    lblDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblDescription->setWordWrap(true);
    QPalette blue = lblDescription->palette();
    blue.setColor(QPalette::WindowText, QColor(0, 0, 255));
    lblDescription->setPalette(blue);

    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setGeometry(126, 174, 83, 23);
    cmdSysInfo->setAutoDefault(false);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setGeometry(212, 174, 84, 23);
    // Enter presses it as the default button; Escape rejects the box, which closes it just the same.
    cmdOK->setDefault(true);

    setTabOrder(cmdOK, cmdSysInfo);
    connect(cmdOK, &QPushButton::clicked, this, &FrmApropos::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &FrmApropos::cmdSysInfo_Click);

    Form_Load(mainWindow);
}

void FrmApropos::Form_Load(QWidget *mainWindow)
{
    // Centred on the main window's size counted from the screen's corner, so
    // over the main window only while that one sits in the corner.
    const QSize outer = frameGeometry().size();
    const QSize main = mainWindow ? mainWindow->frameGeometry().size() : outer;
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QPoint origin = screen ? screen->geometry().topLeft() : QPoint();
    placeWindowOnScreen(this,
                        origin + QPoint((main.width() - outer.width()) / 2, (main.height() - outer.height()) / 2));

    setWindowTitle(applicationTitle());
    lblVersion->setText(legalNotice());
    lblTitle->setText(applicationTitle() + QStringLiteral(" v") + QString::number(PECUNETTE_VERSION_MAJOR) +
                      QLatin1Char('.') + QString::number(PECUNETTE_VERSION_MINOR) + QLatin1Char('.') +
                      QString::number(PECUNETTE_VERSION_PATCH));
    lblDescription->setText(description());
    cmdOK->setFocus();
}

void FrmApropos::cmdOK_Click() { close(); }

void FrmApropos::cmdSysInfo_Click() { StartSysInfo(); }

void FrmApropos::StartSysInfo()
{
    SystemInfo &system = m_services.systemInfo;
    QString path;
    if (!system.GetKeyValue(MsinfoKey, MsinfoValue, path)) {
        QString folder;
        if (system.GetKeyValue(ToolsLocationKey, ToolsLocationValue, folder)) {
            path = folder + MsinfoProgram;
            if (!system.fileExists(path))
                path.clear();
        } else {
            path = system.findOnPath(FreeDesktopSysInfo);
        }
    }
    // A registered path is started as it stands, even if the file is gone: the start then fails.
    if (!path.isEmpty() && system.startProgram(path))
        return;
    m_services.prompts.inform(applicationTitle(),
                              QStringLiteral("Les informations systèmes ne sont pas disponible actuellement!"),
                              Prompts::Icon::None);
}
