// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Comprobar cartón": the operator types the number of a printed card, or the numbers a player reads out, and
// sees at once which have been drawn, with one line of verdict. Modal over the main window; the calling has
// been stopped before it opens. The way the cards are checked while they are numbered comes first and takes
// the typing: the card's number when they are, the numbers read out when they are not.

#include "game/ClaimCheck.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QTableWidget;

namespace cantabola {

class Game;

class ClaimDialog : public QDialog
{
    Q_OBJECT

public:
    // lookup finds a printed card by its serial; numbered: the cards printed now carry their serials.
    ClaimDialog(const Game &game, PrintedCardLookup lookup, bool numbered, QWidget *parent);

    const ClaimVerdict &verdict() const { return m_verdict; }

signals:
    // The check changed as the operator typed: for whoever shows the claim to the room.
    void checked(const cantabola::ClaimVerdict &verdict);
    // The card looked up as the operator typed its number: its grid, the numbers drawn and the verdict.
    void cardChecked(const cantabola::CardCheck &check);

private:
    void numbersChanged();
    void cardNumberChanged();

    const Game &m_game;
    PrintedCardLookup m_lookup;
    ClaimVerdict m_verdict;
    QLineEdit *cardNumberField = nullptr;
    QTableWidget *cardGrid = nullptr;
    QLineEdit *numbersField = nullptr;
    QListWidget *numbersList = nullptr;
    QLabel *verdictLabel = nullptr;
};

} // namespace cantabola
