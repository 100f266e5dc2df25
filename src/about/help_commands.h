// Pecunette — apprendre à remplir un chèque.
// The two commands of the help menu: the help window on its table of contents
// or on its index of keywords.
#pragma once

#include "help_window.h"
#include "services.h"

#include <QPointer>

class QWidget;

// "Sommaire": the help window on its table of contents. The window is made at
// the first call (without owner, it goes when `mainWindow` goes) and kept in
// `aide` until it is closed; while open, it only comes to the front. Without
// the help pages in `folder`, the message that there is no help, titled with
// the main window's caption.
void AideSommaire(QPointer<FrmAide> &aide, QWidget *mainWindow, Prompts &prompts, const QString &folder = helpFolder());
// "Aide sur...": the same window, on its index of keywords with the search field.
void AideRecherche(QPointer<FrmAide> &aide, QWidget *mainWindow, Prompts &prompts,
                   const QString &folder = helpFolder());
