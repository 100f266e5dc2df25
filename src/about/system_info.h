// Pecunette — apprendre à remplir un chèque.
#pragma once

#include "services.h"

// The registry on Windows; elsewhere the lookup finds nothing and the About
// box falls back to a system-information program found on the PATH.
class PlatformSystemInfo final : public SystemInfo {
public:
    bool GetKeyValue(const QString &chemin, const QString &nomValeur, QString &valeur) const override;
    bool fileExists(const QString &path) const override;
    bool startProgram(const QString &path) override;
    QString findOnPath(const QStringList &candidates) const override;
};
