// Pecunette — apprendre à remplir un chèque.
// The real services of a desktop session.
#pragma once

#include "services.h"

#include <QElapsedTimer>

class QWidget;

class SystemClock final : public Clock {
public:
    SystemClock()
        : m_phase(QDateTime::currentDateTime().time().msec())
    {
        m_monotonic.start();
    }
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    // Starts in step with the wall clock's milliseconds, so that the whole
    // seconds of both turn over together and a row's duration matches the
    // times shown, until the wall clock is moved.
    qint64 elapsedMs() const override { return m_phase + m_monotonic.elapsed(); }

private:
    qint64 m_phase;
    QElapsedTimer m_monotonic;
};

// Modal message boxes; Qt's own button texts come from its French translation.
class MessageBoxPrompts final : public Prompts {
public:
    Answer askOkCancel(const QString &title, const QString &text, Icon icon) override;
    Answer askSaveDiscardCancel(const QString &title, const QString &text, Icon icon) override;
    void inform(const QString &title, const QString &text, Icon icon) override;
    QString askSaveFile(const QString &title, const QString &proposedPath, const QString &filter) override;
};
