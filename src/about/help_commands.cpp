// Pecunette — apprendre à remplir un chèque.
#include "help_commands.h"

#include "window_placement.h"

#include <QWidget>

namespace {
void noHelpFile(Prompts &prompts, const QString &mainCaption)
{
    // The search says "sommaire" too: there is a single message for the missing help.
    prompts.inform(mainCaption,
                   QStringLiteral("Impossible d'affichiez le sommaire de l'aide. "
                                  "Il n'y a pas d'aide associée à ce projet."),
                   Prompts::Icon::Information);
}

// The help window, loaded at need and brought to the front; nothing when there are no pages to show.
FrmAide *showHelp(QPointer<FrmAide> &aide, QWidget *mainWindow, Prompts &prompts, const QString &folder)
{
    if (!aide) {
        if (!helpAvailable(folder)) {
            noHelpFile(prompts, mainWindow ? mainWindow->windowTitle() : QString());
            return nullptr;
        }
        aide = new FrmAide(folder);
        if (mainWindow)
            QObject::connect(mainWindow, &QObject::destroyed, aide,
                             [window = QPointer<FrmAide>(aide)] { delete window.data(); });
    }
    // A pupil may have put it away in the task bar: the command brings it back all the same.
    aide->setWindowState(aide->windowState() & ~Qt::WindowMinimized);
    comeAboveStayOnTopWindows(aide);
    aide->show();
    aide->raise();
    aide->activateWindow();
    return aide;
}
}  // namespace

void AideSommaire(QPointer<FrmAide> &aide, QWidget *mainWindow, Prompts &prompts, const QString &folder)
{
    if (FrmAide *window = showHelp(aide, mainWindow, prompts, folder))
        window->afficheSommaire();
}

void AideRecherche(QPointer<FrmAide> &aide, QWidget *mainWindow, Prompts &prompts, const QString &folder)
{
    if (FrmAide *window = showHelp(aide, mainWindow, prompts, folder))
        window->afficheIndex();
}
