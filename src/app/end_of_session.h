// Pecunette — apprendre à remplir un chèque.
#pragma once

class FrmMain;
class QGuiApplication;

// Catches the signals that ask the program to stop (SIGTERM at logout or
// shutdown, SIGHUP when its terminal goes, SIGINT for Ctrl+C) from the start
// of main(), so that one arriving before the window exists waits for it
// instead of killing the program with the history.
void catchStopSignals();

// From now on a stop signal, or the end of the desktop session, ends the
// program as the menu's "Quitter" does (FrmMain::endOfSession).
void endWithTheSession(QGuiApplication &app, FrmMain &window);
