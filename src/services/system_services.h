// Pecunette — apprendre à remplir un chèque.
// The real services of a desktop session.
#pragma once

#include "services.h"

class QWidget;

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

// Modal message boxes; Qt's own button texts come from its French translation.
class MessageBoxPrompts final : public Prompts {
public:
    Answer askOkCancel(const QString &title, const QString &text, Icon icon) override;
    Answer askSaveDiscardCancel(const QString &title, const QString &text, Icon icon) override;
    void inform(const QString &title, const QString &text, Icon icon) override;
    QString askSaveFile(const QString &title, const QString &proposedPath, const QString &filter) override;
};
