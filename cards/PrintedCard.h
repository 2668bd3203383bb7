// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Numbered cards: while numbering is on, every printed card carries a serial of this machine ("Nº 1234") and
// the card registry keeps its cells under that serial, so that a claim can be checked by the card's number
// alone. What a printed card is, apart from any database.

#include "cards/CardRules.h"

#include <QDateTime>
#include <QString>
#include <array>
#include <optional>

namespace cantabola {

// A card's 27 cells in the card's own order, down the columns (cell 1 is the top of the first column): a
// number, or 0 for a blank.
using CardGrid = std::array<int, cellsPerCard>;

struct PrintedCard
{
    qint64 serial = 0;
    QDateTime printedAt;
    ColourValue colour = 0;
    CardGrid cells{};
};

// "Nº 1234": a serial as the sheet and the verdicts write it.
QString serialText(qint64 serial);

// The cells as the registry stores them: 27 fields separated by commas, a blank cell an empty field
// ("3,,21,...").
QString gridText(const CardGrid &grid);
// The grid a stored text describes; nullopt unless it is 27 fields, each blank or a number of its column,
// with at least one number.
std::optional<CardGrid> gridFromText(const QString &text);

} // namespace cantabola
