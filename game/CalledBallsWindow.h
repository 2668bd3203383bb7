// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Bolas cantadas": the balls of the game in the order they came out, one row each, following the game as it
// goes; the list can be copied or saved with the time of each ball. Not modal: it can stay open beside the
// board.

#include "platform/WindowSeams.h"

#include <QWidget>

class QListWidget;

namespace cantabola {

class Game;

class CalledBallsWindow : public QWidget
{
    Q_OBJECT

public:
    CalledBallsWindow(const Game &game, Platform &platform, QWidget *parent);

    // The balls, one number per line, as "Copiar" puts them on the clipboard.
    QString numbersText() const;

private:
    void refill();
    void copyClicked();
    void saveClicked();

    const Game &m_game;
    Platform &m_platform;
    QListWidget *ballsList = nullptr;
};

} // namespace cantabola
