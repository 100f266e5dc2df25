// Pecunette — apprendre à remplir un chèque.
// The two commands of the help menu. The program comes without a help file,
// so both end in the same message.
#pragma once

#include "services.h"

// "Sommaire": the help file's contents.
void AideSommaire(Prompts &prompts, const QString &mainCaption);
// "Aide sur...": the help file's keyword search.
void AideRecherche(Prompts &prompts, const QString &mainCaption);
