// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Checking a claimed card: the numbers a player reads out, as the operator types them, against the balls
// drawn; or the number of a printed card, looked up in the card registry.

#include "cards/PrintedCard.h"

#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace cantabola {

struct CheckedNumber
{
    int number;
    bool drawn;
    friend bool operator==(const CheckedNumber &, const CheckedNumber &) = default;
};

struct ClaimVerdict
{
    // Each number typed once, in the order typed; empty when a number is not valid.
    std::vector<CheckedNumber> numbers;
    // The one line the operator reads: what to type, the verdict, or the first number that is no ball.
    QString summary;
};

// The numbers are runs of digits; blanks, commas or anything else between them separate them. A number typed
// twice counts once.
ClaimVerdict checkClaim(const QString &typed, const std::function<bool(int)> &drawn);

// A claim checked by the card's number.
struct CardCheck
{
    // The serial typed; 0 when no serial is typed.
    qint64 serial = 0;
    // The card by that serial, when there is one.
    std::optional<Card> card;
    // The series it was printed in; 0 when it was printed on a sheet.
    qint64 series = 0;
    // For each cell of the card, in its own order: a number that has been drawn.
    std::array<bool, cellsPerCard> drawn{};
    // The one line the operator reads: the card's verdict, or that there is no such card.
    QString summary;
};

using PrintedCardLookup = std::function<std::optional<PrintedCard>(qint64 serial)>;
// A lookup that knows the cards alone, none of them in a series.
using CardLookup = std::function<std::optional<Card>(qint64 serial)>;

// The serial is the first run of digits typed. The verdict is a bingo when all the card's numbers are out, a
// line for the first row (1 to 3) all out, otherwise the numbers missing in ascending order. It names the
// card by its number, and its series when it has one: "Cartón Nº 1234 (serie 206): ...".
CardCheck checkCard(const QString &typedSerial, const PrintedCardLookup &lookup,
                    const std::function<bool(int)> &drawn);
CardCheck checkCard(const QString &typedSerial, const CardLookup &lookup,
                    const std::function<bool(int)> &drawn);

} // namespace cantabola
