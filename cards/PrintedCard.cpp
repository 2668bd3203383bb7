// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/PrintedCard.h"

#include "cards/CardRules.h"

#include <QStringList>
#include <vector>

namespace cantabola {

QString serialText(qint64 serial)
{
    return QStringLiteral("Nº %1").arg(serial);
}

QString gridText(const Card &card)
{
    QStringList fields;
    for (const CardCell &cell : card.cells())
        fields << (cell.number ? QString::number(cell.number) : QString());
    return fields.join(QLatin1Char(','));
}

std::optional<Card> gridFromText(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != cellsPerCard)
        return std::nullopt;
    std::vector<int> blanks;
    std::array<int, cellsPerCard> numbers{};
    for (int k = 1; k <= cellsPerCard; ++k) {
        const QString &field = fields[k - 1];
        if (field.isEmpty()) {
            blanks.push_back(k);
            continue;
        }
        bool ok = false;
        const int n = field.toInt(&ok);
        const ColumnRange range = columnRange(cellColumn(k));
        if (!ok || n < range.lo || n > range.hi)
            return std::nullopt;
        numbers.at(static_cast<std::size_t>(k - 1)) = n;
    }
    if (blanks.size() == cellsPerCard)
        return std::nullopt;
    Card card(blanks);
    for (int k = 1; k <= cellsPerCard; ++k)
        card.setNumber(k, numbers.at(static_cast<std::size_t>(k - 1)));
    return card;
}

} // namespace cantabola
