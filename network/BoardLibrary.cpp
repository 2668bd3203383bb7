// SPDX-License-Identifier: GPL-3.0-or-later
// The board library's one entry: the players' board, made once the library has been loaded.

#include "network/BoardServer.h"

extern "C" __attribute__((visibility("default"))) cantabola::PlayersBoard *
cantabola_create_board(const cantabola::BoardSources *sources)
{
    return new cantabola::BoardServer(*sources);
}
