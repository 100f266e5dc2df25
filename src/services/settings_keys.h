// Pecunette — apprendre à remplir un chèque.
// Every place of the settings store the program reads or writes, named once.
#pragma once

#include <QString>

namespace Keys {
inline const QString AppPecunette = QStringLiteral("Pecunette");
inline const QString AppConfiguration = QStringLiteral("Configuration");

inline const QString SectionDemarrage = QStringLiteral("Démarrage");
inline const QString Exercice = QStringLiteral("Exercice");
inline const QString Hasard = QStringLiteral("Hasard");
inline const QString Temporisation = QStringLiteral("Temporisation");
inline const QString Son = QStringLiteral("Son");
inline const QString Ordre = QStringLiteral("Ordre");
inline const QString Ville = QStringLiteral("Ville");
inline const QString Monnaie = QStringLiteral("Monnaie");  // "0" francs, "1" euros
inline const QString Orthographe = QStringLiteral("Orthographe");  // "0" traditionnelle, "1" rectifiée (1990)
inline const QString Pays = QStringLiteral("Pays");  // "0" France, "1" Belgique, "2" Suisse
inline const QString Centimes = QStringLiteral("Centimes");  // "0" sans, "1" avec
// "0": the amounts go up to the digits of Hasard; "1".."4": up to the class
// of CE1, CE2, CM1, CM2. A key of its own, so that Hasard keeps its meaning
// for every store written before the classes existed.
inline const QString Classe = QStringLiteral("Classe");
inline const QString Echelle = QStringLiteral("Echelle");  // "0" 100 %, "1" 150 %, "2" 200 %

inline const QString SectionPosition = QStringLiteral("Position");
inline const QString MainLeft = QStringLiteral("MainLeft");
inline const QString MainTop = QStringLiteral("MainTop");
inline const QString MainWidth = QStringLiteral("MainWidth");
inline const QString MainHeight = QStringLiteral("MainHeight");

inline const QString SectionFichier = QStringLiteral("Fichier");  // under AppConfiguration, key Son: sound folder

// The class journal's file, a whole path; empty or unusable: the data folder's journal.sqlite.
inline const QString SectionJournal = QStringLiteral("Journal");
inline const QString JournalFichier = QStringLiteral("Fichier");

// The school server the journal's rows are forwarded to (PostgreSQL). No
// password here: libpq reads it from ~/.pgpass or PGPASSFILE. A missing or
// unusable value means no server.
inline const QString SectionServeur = QStringLiteral("Serveur");
inline const QString ServeurHote = QStringLiteral("Hote");  // a name, an address, or a socket folder "/..."
inline const QString ServeurPort = QStringLiteral("Port");  // empty: 5432
inline const QString ServeurBase = QStringLiteral("Base");
inline const QString ServeurUtilisateur = QStringLiteral("Utilisateur");

// The teacher's code, under AppPecunette: a salt, a PBKDF2-HMAC-SHA256 digest
// of the code and its iteration count, never the code. Removing the section
// (or `pecunette --reset-teacher-code`) leaves the program without a code.
inline const QString SectionEnseignant = QStringLiteral("Enseignant");
inline const QString Sel = QStringLiteral("Sel");
inline const QString Empreinte = QStringLiteral("Empreinte");
inline const QString Iterations = QStringLiteral("Iterations");

inline const QString DefaultOrdre = QStringLiteral("Tibaldor");
inline const QString DefaultVille = QStringLiteral("Sorbelin");
}  // namespace Keys
