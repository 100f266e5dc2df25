// Pecunette — apprendre à remplir un chèque.
#include "command_line.h"

#include "montant_en_lettres.h"

#include <QTextStream>

namespace {
bool printOne(const QString &text, QTextStream &out, QTextStream &err)
{
    const std::optional<int> amount = parseAmount(text.toStdString());
    if (!amount) {
        err << QStringLiteral("pecunette : montant refusé « %1 » : il faut un nombre entier de 1 à 99999.")
                   .arg(text)
            << Qt::endl;
        return false;
    }
    out << QString::fromStdString(MontantEnLettres(*amount)) << Qt::endl;
    return true;
}
}  // namespace

int printWordings(const QStringList &amounts, QTextStream &in, QTextStream &out, QTextStream &err)
{
    bool allGood = true;
    for (const QString &amount : amounts) {
        if (amount == QStringLiteral("-")) {
            QString line;
            while (in.readLineInto(&line))
                allGood = printOne(line.trimmed(), out, err) && allGood;
        } else {
            allGood = printOne(amount, out, err) && allGood;
        }
    }
    return allGood ? 0 : 2;
}
