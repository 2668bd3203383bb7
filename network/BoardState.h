// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the players' board shows: the balls in the order they came out, and, once cards are played for
// prizes, the prize being played and the winners announced. Everything else the page shows (the number just
// drawn, the five before it, the count, the marks of the board) is worked out from the order, as the room's
// screen does, so a draw, an undo, a new or resumed game all come down to sending the state again.

#include "cards/PrintedCard.h"

#include <QByteArray>
#include <QStringList>
#include <vector>

namespace cantabola {

struct BoardState
{
    std::vector<int> order;
    QString prize; // empty: no prize being played
    QStringList winners; // empty: none announced
};

// The state as the page reads it, one line of JSON: {"bolas":[...]} with "premio" and "ganadores" only
// when there are any.
QByteArray stateJson(const BoardState &state);

// A card as the page draws it: {"serie":S,"texto":"Nº S","celdas":[27 cells down the columns, 0 blank]}.
// The one place that reads a registered card.
QByteArray cardJson(const PrintedCard &card);
// What the page says of a serial no card has.
QByteArray unknownCardJson(qint64 serial);

// The page with the state written into it, so that it is complete before its live channel is up: the
// template's markers ({{ACTUAL}}, {{ANTERIORES}}, {{CUENTA}}, {{TABLERO}}, {{PREMIO}}, {{ESTADO}}) replaced.
QByteArray boardPage(const BoardState &state, const QByteArray &pageTemplate);

} // namespace cantabola
