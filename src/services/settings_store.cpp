// Pecunette — apprendre à remplir un chèque.
#include "settings_store.h"

#include "clean_text.h"
#include "settings_keys.h"

#include <QDir>
#include <QSettings>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
QString path(const QString &section, const QString &key) { return section + QLatin1Char('/') + key; }

QSettings open(const QString &application)
{
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, Keys::AppPecunette, application);
}
}  // namespace

QString QSettingsStore::fileName(const QString &application) { return open(application).fileName(); }

QString QSettingsStore::Read(const QString &application, const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    const auto written = m_written.constFind(application + QLatin1Char('/') + path(section, key));
    if (written != m_written.constEnd())
        return *written;
    const QVariant value = open(application).value(path(section, key));
    if (!value.isValid())
        return defaultValue;
    // A hand-edited file can hold a list ("a, b") where a text is expected.
    if (value.canConvert<QString>())
        return value.toString();
    return value.toStringList().join(QStringLiteral(", "));
}

void QSettingsStore::Write(const QString &application, const QString &section, const QString &key, const QString &value)
{
    m_written.insert(application + QLatin1Char('/') + path(section, key), value);
    QSettings settings = open(application);
    settings.setValue(path(section, key), value);
    settings.sync();
    if (settings.status() == QSettings::NoError || m_failureTold)
        return;
    m_failureTold = true;
    if (onSaveFailure)
        onSaveFailure(QStringLiteral("Les réglages ne peuvent pas être enregistrés dans le fichier\n%1.\n"
                                     "Les choix faits restent valables jusqu'à la fermeture du programme, "
                                     "mais ils seront perdus ensuite.")
                          .arg(QDir::toNativeSeparators(settings.fileName())));
}

std::optional<double> parseDecimal(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> parseWholeNumber(const QString &text, int minimum, int maximum)
{
    const std::optional<double> value = parseDecimal(text);
    if (!value || *value != std::floor(*value) || *value < minimum || *value > maximum)
        return std::nullopt;
    return static_cast<int>(*value);
}

qint16 leadingNumber16(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == QLatin1Char(' ') || text.at(i) == QLatin1Char('\t')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    qint64 value = 0;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i) {
        value = value * 10 + (text.at(i).unicode() - '0');
        if (value > std::numeric_limits<qint16>::max() + 1)
            return 0;
    }
    if (negative)
        value = -value;
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        return 0;
    return static_cast<qint16>(value);
}

int readIndex(const SettingsStore &store, const QString &key, int count, int fallback)
{
    const QString stored = store.Read(Keys::AppPecunette, Keys::SectionDemarrage, key, QString::number(fallback));
    return parseWholeNumber(stored, 0, count - 1).value_or(fallback);
}

Monnaie storedMonnaie(const SettingsStore &store)
{
    return readIndex(store, Keys::Monnaie, 2, 0) == 1 ? Monnaie::Euro : Monnaie::Franc;
}

NumberStyle storedStyle(const SettingsStore &store)
{
    NumberStyle style;
    style.monnaie = storedMonnaie(store);
    style.orthographe =
        readIndex(store, Keys::Orthographe, 2, 0) == 1 ? Orthographe::Rectifiee1990 : Orthographe::Traditionnelle;
    switch (readIndex(store, Keys::Pays, 3, 0)) {
    case 1: style.pays = Pays::Belgique; break;
    case 2: style.pays = Pays::Suisse; break;
    default: style.pays = Pays::France; break;
    }
    style.centimes = readIndex(store, Keys::Centimes, 2, 0) == 1;
    return style;
}

double montantMaxFor(int hasard, int classe)
{
    static constexpr double Classes[] = {1'000, 10'000, 999'999, 1'000'000'000};
    if (classe >= 1 && classe < ClasseCount)
        return Classes[classe - 1];
    return std::pow(10.0, std::clamp(hasard, 0, HasardCount - 1) + 1) - 1;
}

double storedMontantMax(const SettingsStore &store, int hasardFallback)
{
    return montantMaxFor(readIndex(store, Keys::Hasard, HasardCount, hasardFallback),
                         readIndex(store, Keys::Classe, ClasseCount, 0));
}

QString readLabel(const SettingsStore &store, const QString &key, const QString &defaultValue)
{
    return cleanLine(store.Read(Keys::AppPecunette, Keys::SectionDemarrage, key, defaultValue));
}
