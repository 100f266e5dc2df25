// Pecunette — apprendre à remplir un chèque.
#include "help_commands.h"

namespace {
void noHelpFile(Prompts &prompts, const QString &mainCaption)
{
    // The search says "sommaire" too: there is a single message for the missing help.
    prompts.inform(mainCaption,
                   QStringLiteral("Impossible d'affichiez le sommaire de l'aide. "
                                  "Il n'y a pas d'aide associée à ce projet."),
                   Prompts::Icon::Information);
}
}  // namespace

void AideSommaire(Prompts &prompts, const QString &mainCaption) { noHelpFile(prompts, mainCaption); }

void AideRecherche(Prompts &prompts, const QString &mainCaption) { noHelpFile(prompts, mainCaption); }
