// Pecunette — apprendre à remplir un chèque.
// What a printed worksheet holds: which amounts, their wordings, the labels of
// the cheques. How it looks on paper is the exercise window's business.
#pragma once

#include "montant_en_lettres.h"

#include <QDate>
#include <QString>

#include <vector>

class QRandomGenerator;

struct WorksheetCheque {
    int amount = 0;
    QString somme;  // "4521 Frs" or "4521 €", as the cheque shows it
    QString wording;  // what the pupil should write
};

struct WorksheetLabels {
    QString ordre;  // payee
    QString ville;  // city of issue
    QDate date;
};

constexpr int WorksheetMaximum = 20;

// `count` cheques (1 to 20) with amounts drawn like the exercise's, from 1 to montantMax.
std::vector<WorksheetCheque> drawWorksheet(int count, double montantMax, Monnaie monnaie, QRandomGenerator &random);
