// Pecunette — apprendre à remplir un chèque.
// Keeping a window whose placement rule ignores the screen's edges on the screen.
#pragma once

#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>

class QWidget;

// `wanted` moved just enough to lie wholly on the screen that holds most of it
// (the nearest screen when it is on none). A window larger than that screen
// keeps its top-left corner on it, so its title bar stays within reach.
// Without any screen, `wanted` is given back unchanged.
QRect keepOnScreen(const QRect &wanted, const QList<QRect> &screens);

// The usable area of every screen of the session.
QList<QRect> screenAreas();

// Moves the window so that its outer frame's top-left corner lands on
// `topLeft`, or as near as keeps the whole frame on a screen.
void placeWindowOnScreen(QWidget *window, QPoint topLeft);

// Centres the window's outer frame on the primary screen (kept wholly on it).
void centreOnPrimaryScreen(QWidget *window);

// True while a visible window of the program other than `except` is kept
// above every other window (the history, when the teacher wants it in front).
bool anotherWindowStaysOnTop(const QWidget *except);

// A window shown while another one of the program stays on top would open
// behind it, out of reach, and the program would look frozen: give it the
// same hint while that lasts, and take it back once nothing stays on top.
// Call it just before showing `window`; one already shown is shown again,
// where it was.
void comeAboveStayOnTopWindows(QWidget *window);

// Shows a modeless window without owner, loading it first when it is not
// loaded; one already open only comes to the front. A window hidden but
// still loaded goes when `owner` goes.
template<typename Window, typename Load>
void showLoadedWindow(QPointer<Window> &loaded, QObject *owner, Load load)
{
    if (!loaded) {
        loaded = load();
        QObject::connect(owner, &QObject::destroyed, loaded,
                         [window = QPointer<Window>(loaded)] { delete window.data(); });
    }
    comeAboveStayOnTopWindows(loaded);
    loaded->show();
    loaded->raise();
    loaded->activateWindow();
}
