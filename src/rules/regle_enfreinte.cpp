// Pecunette — apprendre à remplir un chèque.
#include "regle_enfreinte.h"

RegleEnfreinte RegleEnfreintePar(const std::string &, const std::string &, const std::string &, const NumberStyle &)
{
    return RegleEnfreinte::Aucune;
}

std::string PhraseDeLaRegle(RegleEnfreinte, const NumberStyle &) { return {}; }
