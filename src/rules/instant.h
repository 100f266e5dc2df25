// Pecunette — apprendre à remplir un chèque.
#pragma once

#include <QDateTime>

// A moment of the history, to the whole second: the wall-clock time its row
// shows, and its place on a clock that only moves forward, which every
// duration is measured on. A clock set back, a change to summer time or a
// network time jump moves the first and never the second.
struct Instant {
    QDateTime wall;
    qint64 second = -1;  // whole seconds of the monotonic clock; -1 is "no moment yet"

    bool isValid() const { return second >= 0; }
    qint64 msecsTo(const Instant &later) const { return (later.second - second) * 1000; }
    bool operator==(const Instant &) const = default;
};
