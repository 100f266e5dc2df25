// Pecunette — apprendre à remplir un chèque.
// Which spelling rule a wrong drop breaks, so that the clerk can say it in
// words a child of eight understands, rather than only "non".
#pragma once

#include "montant_en_lettres.h"

#include <string>

enum class RegleEnfreinte {
    Aucune,  // the drop is right, or wrong for no rule worth naming (an unrelated word)
    CentPluriel,  // "deux cent" + s before "un", or no "s" on a "cent" that ends the number
    MilleInvariable,  // "mille" + s
    UnDevantCentMille,  // "un" before "cent" or "mille"
    EtSeulement,  // "et" where none is written, or none where one is
    QuatreVingtsPluriel,  // "quatre-vingt" + s before another number, or no "s" at the end
    DeApresMillion,  // "d'euros" / "de francs" after a round million or milliard, and only there
    TraitsUnion1990,  // a blank where the 1990 spelling joins the words of the number
    HuitanteInvariable,  // "huitante" + s
    VingtPluriel,  // "vingt" + s outside "quatre-vingts"
    MillionPluriel,  // "million"/"milliard" with or without its "s" against the number before it
};

// The rule the drop of `word` on a cheque showing `wording` breaks, when its
// amount reads `expected` in `style`; Aucune for a right drop, and for a wrong
// one that no rule explains. Pure and cheap: meant for every drop.
RegleEnfreinte RegleEnfreintePar(const std::string &expected, const std::string &wording, const std::string &word,
                                 const NumberStyle &style);

// The rule said to a child, in one sentence: « mille » ne prend jamais de « s ».
// The empty text for Aucune. The sentence about "d'euros" follows the currency.
std::string PhraseDeLaRegle(RegleEnfreinte regle, const NumberStyle &style);
