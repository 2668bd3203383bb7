// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Numbered cards: while numbering is on, every printed card carries a serial of this machine ("Nº 1234") and
// the card registry keeps its cells under that serial, so that a claim can be checked by the card's number
// alone. What a printed card is, apart from any database.

#include "cards/Card.h"

#include <QDateTime>
#include <QString>
#include <optional>

namespace cantabola {

// The card as the registry gives it back: its numbers, its cells without one as blanks, unpainted; the colour
// it was printed in beside it.
struct PrintedCard
{
    qint64 serial = 0;
    QDateTime printedAt;
    ColourValue colour = 0;
    Card card;
    qint64 series = 0; // the series it was printed in ("Serie 206"); 0: on a sheet of the card window
};

// "Nº 1234": a serial as the sheet and the verdicts write it.
QString serialText(qint64 serial);

// The numbers of a card as the registry stores them: 27 fields separated by commas, in the card's own order,
// a cell without a number an empty field ("3,,21,...").
QString gridText(const Card &card);
// The card a stored text describes; nullopt unless it is 27 fields, each empty or a number of its column,
// with at least one number.
std::optional<Card> gridFromText(const QString &text);

} // namespace cantabola
