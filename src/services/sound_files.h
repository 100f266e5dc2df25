// Pecunette — apprendre à remplir un chèque.
// The four sound cues of the exercise: which files, from which folder.
#pragma once

#include "services.h"

#include <QString>

namespace Sons {
inline const QString DropJuste = QStringLiteral("son2.wav");
inline const QString DropFausse = QStringLiteral("incorrect.mp3");
inline const QString ChequeFini = QStringLiteral("bravo.mp3");
inline const QString SerieFinie = QStringLiteral("cgagne.mp3");
}  // namespace Sons

// The folder + the file, with one separator between them whatever the folder ends with.
QString soundPath(const QString &folder, const QString &file);

// Where the cues are when no folder is stored: beside the program when it holds
// them (a build folder, a copied program), otherwise the data folder installed
// with it, ../share/pecunette/sons from the program's folder, so an unpacked
// package finds its cues wherever it was unpacked.
QString defaultSoundFolder(const QString &programFolder);

// Plays `file` from the sound folder when sound is on (`sonActif` not 0).
// The folder is read afresh each time from Configuration/Fichier/Son, by
// default defaultSoundFolder() of the running program. Any failure is silence.
void JoueSon(const QString &file, qint16 sonActif, const SettingsStore &settings, SoundPlayer &player);
