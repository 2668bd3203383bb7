// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The board of the main window: the picture box Picture1 with the 90 numbers, 10 to a row, each on a ball
// picture; a number turns red once drawn. It is a widget of its own so that the main window only assembles
// it, while its labels stay controls of the main window's design (scaled and found by their design names).

#include "layout/Controls.h"

#include <QFrame>
#include <array>
#include <cstdint>

class QLabel;

namespace cantabola {

class Game;
struct ScaleValues;

class Board : public QFrame
{
public:
    // Colours of the number labels, 0x00BBGGRR.
    static constexpr std::uint32_t colourNotDrawn = 0x00C0C0C0;
    static constexpr std::uint32_t colourDrawn = 0x000000FF;
    static constexpr std::uint32_t colourBoardBack = 0x00E0E0E0;

    // Picture1 with its design labels and the hidden template ball ImgBola(0), registered in controls.
    Board(QWidget *client, ControlSet &controls);

    // Start-up: a ball behind each number, made from the template, and every number written in the board's
    // font. On a 1024-pixel screen at 12 twips per pixel the balls are stretched and the font is that
    // screen's own (ScaleX becomes 1.25).
    void build(ControlSet &controls, ScaleValues &scale, bool wide12);

    void showDrawn(int n, bool drawn);
    // Every number as the game has it.
    void showGame(const Game &game);
    // Every number undrawn, on the board's own background.
    void clear();

private:
    std::array<QLabel *, 91> LblNumero{}; // 1 to 90; element 0 does not exist
    std::array<QLabel *, 91> ImgBola{}; // 0 is the hidden template, 1 to 90 are made at start-up
};

} // namespace cantabola
