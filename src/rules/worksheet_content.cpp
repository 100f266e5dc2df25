// Pecunette — apprendre à remplir un chèque.
#include "worksheet_content.h"

#include <QRandomGenerator>

#include <algorithm>
#include <cmath>

std::vector<WorksheetCheque> drawWorksheet(int count, double montantMax, Monnaie monnaie, QRandomGenerator &random)
{
    std::vector<WorksheetCheque> cheques;
    count = std::clamp(count, 1, WorksheetMaximum);
    const double largest = std::clamp(montantMax, 1.0, double(MontantMaximum));
    for (int i = 0; i < count; ++i) {
        const float r = static_cast<float>(random.generate() >> 8) / 16777216.0F;
        const int amount = static_cast<int>(std::floor(static_cast<double>(r) * largest)) + 1;
        cheques.push_back(
            {amount,
             QString::number(amount) + (monnaie == Monnaie::Euro ? QStringLiteral(" €") : QStringLiteral(" Frs")),
             QString::fromStdString(MontantEnLettres(amount, monnaie))});
    }
    return cheques;
}
