// Pecunette — apprendre à remplir un chèque.
#include "window_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <limits>

namespace {
qint64 area(const QRect &r) { return r.isValid() ? qint64(r.width()) * r.height() : 0; }

// Squared gap between two rectangles; 0 when they touch or overlap.
qint64 gap(const QRect &a, const QRect &b)
{
    const qint64 dx = std::max({0, b.left() - a.right() - 1, a.left() - b.right() - 1});
    const qint64 dy = std::max({0, b.top() - a.bottom() - 1, a.top() - b.bottom() - 1});
    return dx * dx + dy * dy;
}

int clampInto(int start, int length, int areaStart, int areaLength)
{
    if (length >= areaLength)
        return areaStart;
    return std::clamp(start, areaStart, areaStart + areaLength - length);
}
}  // namespace

QRect keepOnScreen(const QRect &wanted, const QList<QRect> &screens)
{
    if (screens.isEmpty())
        return wanted;
    const QRect *best = nullptr;
    qint64 bestArea = 0;
    for (const QRect &screen : screens) {
        const qint64 shared = area(screen.intersected(wanted));
        if (shared > bestArea) {
            bestArea = shared;
            best = &screen;
        }
    }
    if (best == nullptr) {
        // On no screen at all: the nearest one.
        best = &screens.first();
        qint64 bestGap = std::numeric_limits<qint64>::max();
        for (const QRect &screen : screens) {
            const qint64 g = gap(screen, wanted);
            if (g < bestGap) {
                bestGap = g;
                best = &screen;
            }
        }
    }
    QRect placed = wanted;
    placed.moveTo(clampInto(wanted.x(), wanted.width(), best->x(), best->width()),
                  clampInto(wanted.y(), wanted.height(), best->y(), best->height()));
    return placed;
}

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas << screen->availableGeometry();
    return areas;
}

void placeWindowOnScreen(QWidget *window, QPoint topLeft)
{
    const QRect wanted(topLeft, window->frameGeometry().size());
    window->move(keepOnScreen(wanted, screenAreas()).topLeft());
}

void centreOnPrimaryScreen(QWidget *window)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect whole = screen->geometry();
    const QSize size = window->frameGeometry().size();
    placeWindowOnScreen(window, whole.topLeft() +
                                    QPoint((whole.width() - size.width()) / 2, (whole.height() - size.height()) / 2));
}

bool anotherWindowStaysOnTop(const QWidget *except)
{
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(), [except](const QWidget *w) {
        return w != except && w->isVisible() && !w->isMinimized() &&
               w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
}

void comeAboveStayOnTopWindows(QWidget *window)
{
    const bool wanted = anotherWindowStaysOnTop(window);
    if (window->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == wanted)
        return;
    // Changing the flags hides a window and forgets where it was placed.
    const bool wasVisible = window->isVisible();
    const bool placed = window->testAttribute(Qt::WA_Moved);
    const QPoint where = window->pos();
    window->setWindowFlag(Qt::WindowStaysOnTopHint, wanted);
    if (placed)
        window->move(where);
    if (wasVisible)
        window->show();
}
