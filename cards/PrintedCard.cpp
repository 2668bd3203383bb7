// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/PrintedCard.h"

#include <QStringList>
#include <algorithm>

namespace cantabola {

QString serialText(qint64 serial)
{
    return QStringLiteral("Nº %1").arg(serial);
}

QString gridText(const CardGrid &grid)
{
    QStringList fields;
    for (const int n : grid)
        fields << (n ? QString::number(n) : QString());
    return fields.join(QLatin1Char(','));
}

std::optional<CardGrid> gridFromText(const QString &text)
{
    const QStringList fields = text.split(QLatin1Char(','));
    if (fields.size() != cellsPerCard)
        return std::nullopt;
    CardGrid grid{};
    for (int k = 1; k <= cellsPerCard; ++k) {
        const QString &field = fields[k - 1];
        if (field.isEmpty())
            continue;
        bool ok = false;
        const int n = field.toInt(&ok);
        const ColumnRange range = columnRange(cellColumn(k));
        if (!ok || n < range.lo || n > range.hi)
            return std::nullopt;
        grid[static_cast<std::size_t>(k - 1)] = n;
    }
    if (std::all_of(grid.begin(), grid.end(), [](int n) { return n == 0; }))
        return std::nullopt;
    return grid;
}

} // namespace cantabola
