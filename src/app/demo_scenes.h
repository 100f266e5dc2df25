// Pecunette — apprendre à remplir un chèque.
#pragma once

#include <QString>
#include <QStringList>

class FrmMain;
struct ExerciseState;

// Scenes the program can put itself in before a screenshot, so README's
// pictures are taken by the program itself: "demarrage" (as it opens),
// "cheque" (a cheque half written, a hinted block in blue), "note" (the mark
// at the end of a series). Gives false for an unknown scene.
bool playScene(const QString &scene, FrmMain &window, ExerciseState &state);
QStringList sceneNames();

// Plays `steps` steps of a pupil's work, one per turn of the event loop: a new
// cheque when none is under way, else a drop (every seventh one wrong) and the
// one-second check.
void playScriptedSteps(FrmMain &window, ExerciseState &state, int steps);
