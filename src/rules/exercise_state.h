// Pecunette — apprendre à remplir un chèque.
#pragma once

#include "history_row.h"
#include "instant.h"
#include "montant_en_lettres.h"

#include <QString>
#include <QtGlobal>

// The shared exercise state: one instance for the run, owned by main() and
// handed to the windows by reference. Tests make a fresh one per case.
// An invalid Instant is "no moment yet".
struct ExerciseState {
    int ChequesRestants = 0;  // cheques still to complete in the series
    qint16 NbCheques = 0;  // cheques per series: 5, 10, 15 or 20
    int TicksAttente = 0;  // hint-timer ticks on the current cheque
    double MontantMax = 0;  // largest amount that can be drawn
    qint16 SonActif = 0;  // sound cues on (not 0) or off
    int ErreursSerie = 0;  // wrong drops of the completed cheques of the series
    int ErreursCheque = 0;  // wrong drops on the current cheque
    double MotsJustes = 0;  // right drops of the series
    QString PhraseATrouver;  // expected wording of the current cheque
    QString NomEleve;
    QString PrenomEleve;
    // Moments are taken to the whole second, as the history shows them, so
    // that the rows of a series add up to its total.
    Instant HeureDebut;  // when the current cheque was prepared
    Instant HeureCourante;  // latest history row, or end of the series
    Instant HeurePrecedente;  // from when the next history row measures its duration

    // Not in the original state: a series now starts afresh after its result
    // or after "Fin", and its total duration runs from its first cheque.
    bool SerieTerminee = true;  // the next cheque starts a new series
    Instant DebutSerie;  // when the series' first cheque was prepared
    // Drops are judged only while a cheque waits for its wording: from
    // "Nouveau" until the wording is complete or "Fin" ends the session.
    bool ChequeEnCours = false;

    // What the class journal keeps beside each history row; the windows set
    // them where they already handle what they describe.
    int Montant = 0;  // amount of the current cheque; 0 before the first
    Monnaie MonnaieCheque = Monnaie::Franc;  // currency of the current cheque
    int NumeroSerie = 0;  // series of this run, from 1; 0 before the first cheque
    QString DernierBloc;  // caption of the block just dropped
    bool DernierBlocJuste = false;  // whether that drop was right
    // What the next history row records; the history takes it and puts back Other.
    HistoryEventKind EvenementSuivant = HistoryEventKind::Other;
};
