// Pecunette — apprendre à remplir un chèque.
#include "command_line.h"

#include "clean_text.h"
#include "montant_en_lettres.h"

#include <QTextStream>

namespace {
bool printOne(const QString &text, QTextStream &out, QTextStream &err, Monnaie monnaie)
{
    const std::optional<int> amount = parseAmount(text.toStdString());
    if (!amount) {
        err << QStringLiteral("pecunette : montant refusé « %1 » : il faut un nombre entier de 1 à 99999.")
                   .arg(quotedInput(text))
            << Qt::endl;
        return false;
    }
    out << QString::fromStdString(MontantEnLettres(*amount, monnaie)) << Qt::endl;
    return true;
}

bool printStyled(const QString &text, QTextStream &out, QTextStream &err, NumberStyle style)
{
    const MontantLu read = LireMontant(text.toStdString());
    if (!read.centimes) {
        err << QStringLiteral("pecunette : montant refusé « %1 » : %2.")
                   .arg(quotedInput(text), QString::fromStdString(read.raison))
            << Qt::endl;
        return false;
    }
    style.centimes = true;
    out << QString::fromStdString(MontantEnLettres(*read.centimes, style)) << Qt::endl;
    return true;
}

// Each amount of the command line, or of standard input for "-", through `printOne`.
template<typename PrintOne>
int printEach(const QStringList &amounts, QTextStream &in, PrintOne printOne)
{
    bool allGood = true;
    for (const QString &amount : amounts) {
        if (amount == QStringLiteral("-")) {
            QString line;
            while (in.readLineInto(&line)) {
                // A blank line (often the last one of a file) is no amount at all.
                if (!line.trimmed().isEmpty())
                    allGood = printOne(line.trimmed()) && allGood;
            }
        } else {
            allGood = printOne(amount) && allGood;
        }
    }
    return allGood ? 0 : 2;
}
}  // namespace

int printWordings(const QStringList &amounts, QTextStream &in, QTextStream &out, QTextStream &err, Monnaie monnaie)
{
    return printEach(amounts, in, [&](const QString &text) { return printOne(text, out, err, monnaie); });
}

int printWordings(const QStringList &amounts, QTextStream &in, QTextStream &out, QTextStream &err,
                  const NumberStyle &style)
{
    return printEach(amounts, in, [&](const QString &text) { return printStyled(text, out, err, style); });
}

std::optional<Orthographe> parseOrthographe(const QString &text)
{
    const QString word = text.trimmed().toLower();
    if (word == QStringLiteral("traditional"))
        return Orthographe::Traditionnelle;
    if (word == QStringLiteral("1990"))
        return Orthographe::Rectifiee1990;
    return std::nullopt;
}

std::optional<Pays> parsePays(const QString &text)
{
    const QString word = text.trimmed().toLower();
    if (word == QStringLiteral("fr"))
        return Pays::France;
    if (word == QStringLiteral("be"))
        return Pays::Belgique;
    if (word == QStringLiteral("ch"))
        return Pays::Suisse;
    return std::nullopt;
}

std::optional<Monnaie> parseMonnaie(const QString &text)
{
    const QString word = text.trimmed().toLower();
    if (word == QStringLiteral("franc") || word == QStringLiteral("francs") || word == QStringLiteral("frs"))
        return Monnaie::Franc;
    if (word == QStringLiteral("euro") || word == QStringLiteral("euros") || word == QStringLiteral("€"))
        return Monnaie::Euro;
    return std::nullopt;
}

QStringList negativeAmountsAsArguments(const QStringList &arguments, const QStringList &valueOptions)
{
    QStringList kept;
    QStringList amounts;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const bool isValue = i > 0 && valueOptions.contains(arguments.at(i - 1));
        if (!optionsEnded && argument == QStringLiteral("--")) {
            optionsEnded = true;
            continue;
        }
        const bool negativeAmount =
            !isValue && i > 0 && argument.size() > 1 && argument.at(0) == QLatin1Char('-') && argument.at(1).isDigit();
        if (optionsEnded || negativeAmount)
            amounts << argument;
        else
            kept << argument;
    }
    if (!amounts.isEmpty() || optionsEnded)
        kept << QStringLiteral("--") << amounts;
    return kept;
}

QString quotedInput(const QString &text)
{
    const int longest = 40;
    QString line = cleanLine(text);
    if (line.size() <= longest)
        return line;
    qsizetype cut = longest - 1;
    // Never half a character: a cut between the two halves of an emoji would garble the line.
    if (line.at(cut - 1).isHighSurrogate())
        --cut;
    return line.left(cut) + QStringLiteral("…");
}
