// Pecunette — apprendre à remplir un chèque.
// What a window may ask of the progress history without knowing the window
// that shows it: the exercise and the pupil dialog write rows through it, and
// the main window asks it whether leaving would lose any.
#pragma once

#include <QString>

class ProgressLog {
public:
    virtual ~ProgressLog() = default;

    // Appends a row whose duration runs from the previous row's moment (or
    // from the launch, before any cheque); black when `Normal`, red otherwise.
    virtual void AjoutProgress(const QString &Evenement, bool Normal) = 0;
    // Appends a row with a duration given by the caller; touches no clock variable.
    virtual void SetProgress(const QString &Evenement, const QString &Duree, bool Normal) = 0;
    // Rows of the grid, header included: 2 right after start-up or a clearing.
    virtual int Rows() const = 0;

    // True when rows were added since the last file saved: leaving would lose them.
    virtual bool hasUnsavedRows() const = 0;
    // Asks where and writes the history there; false when the teacher gives
    // up or the file cannot be written (which is told).
    virtual bool saveToCsv() = 0;
    // Keeps the unsaved rows for the next start when there is no one to ask;
    // the file's path, empty when nothing needed keeping or it failed.
    virtual QString keepForNextStart() = 0;
    // The program unloads: the one close the history accepts.
    virtual void closeForUnload() = 0;
};
