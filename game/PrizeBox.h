// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Premio": the winners of the prize just won, one line a card, with the operator's two answers. It does not
// hold the rest of the window: the last ball can still be taken back, which takes the prize back too.

#include <QDialog>

class QLabel;

namespace cantabola {

class PrizeRound;

class PrizeBox : public QDialog
{
    Q_OBJECT

public:
    PrizeBox(PrizeRound &round, QWidget *parent);

    // The winners as the round has them now.
    void refresh();

private:
    PrizeRound &m_round;
    QLabel *winnersLabel = nullptr;
};

} // namespace cantabola
