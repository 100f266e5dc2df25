// Pecunette — apprendre à remplir un chèque.
#pragma once

#include "montant_en_lettres.h"
#include "services.h"

#include <QHash>

#include <functional>
#include <optional>

// The per-user store on QSettings: one native store per application name
// ("Pecunette", "Configuration"), "section/key" inside it.
//
// What was written this run is also kept in memory and read back from there,
// so a teacher's choice holds until the program ends even where the file
// cannot be written (a folder in its place, no permission, a read-only disk).
class QSettingsStore final : public SettingsStore {
public:
    QString Read(const QString &application, const QString &section, const QString &key,
                 const QString &defaultValue) const override;
    void Write(const QString &application, const QString &section, const QString &key, const QString &value) override;

    // Told once a run, with a French text naming the file, the first time a value cannot be saved.
    std::function<void(const QString &message)> onSaveFailure;

    // The file a value of `application` is kept in.
    static QString fileName(const QString &application);

private:
    QHash<QString, QString> m_written;
    bool m_failureTold = false;
};

// Stored values are texts a teacher (or anything else) may have edited by
// hand. These readers turn them into numbers and give nothing back for a text
// that is not one, so each caller can fall back to its own default.

// A whole number written in decimal, blanks around it allowed ("2", " 2", "2.0");
// nothing for "", "abc", "3.7" or a number outside [minimum, maximum].
std::optional<int> parseWholeNumber(const QString &text, int minimum, int maximum);

// A finite decimal number ("-40", "1234.5"); nothing otherwise.
std::optional<double> parseDecimal(const QString &text);

// The leading decimal number of a text, the way a sound switch "1" or "1 (oui)"
// is read: blanks skipped, optional sign, digits; a text with no leading digits
// reads as 0, and so does a number outside the 16-bit range.
qint16 leadingNumber16(const QString &text);

// An index of a list of `count` entries stored under Pecunette/Démarrage/key,
// or `fallback` when the stored text is absent or not such an index.
int readIndex(const SettingsStore &store, const QString &key, int count, int fallback);

// A cheque label (Démarrage/Ordre or Démarrage/Ville) cleaned to one plain
// line: a store edited by hand may hold control characters or direction overrides.
QString readLabel(const SettingsStore &store, const QString &key, const QString &defaultValue);

// The currency of the next cheque: Démarrage/Monnaie "1" is euros, anything else francs.
Monnaie storedMonnaie(const SettingsStore &store);

// How the next cheque writes its numbers: Démarrage/Orthographe, Pays,
// Centimes and Monnaie, each falling back to the exercise as it always was.
NumberStyle storedStyle(const SettingsStore &store);

// The largest amount of a cheque, in whole units: up to the class chosen
// under Démarrage/Classe (CE1 1 000, CE2 10 000, CM1 999 999, CM2 one
// milliard), otherwise up to the number of digits of Démarrage/Hasard, whose
// fallback is `hasardFallback`.
double storedMontantMax(const SettingsStore &store, int hasardFallback);

// The largest amount of a level: `hasard` 0..4 is 1 to 5 digits, `classe` 1..4 a class.
double montantMaxFor(int hasard, int classe);
constexpr int HasardCount = 5;
constexpr int ClasseCount = 5;  // "none" and the four classes
