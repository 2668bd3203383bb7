// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The card window: up to four bingo cards of 3 x 9 cells with three buttons under them, to regenerate the
// numbers, recolour the cards and print them. It holds its four cards as data and draws them; a click on a
// cell changes the card, then the cell is drawn again. One window object serves the whole run; its controls
// are built afresh from the design at every opening, so each opening starts with new colours and numbers,
// while the window object remembers whether it has been scaled to the screen. With numbering on, a printed
// sheet gives each card a serial, kept in the card registry, and shows it small in a corner of the card.

#include "cards/CardRules.h"
#include "cards/PrintedCard.h"
#include "layout/ScaledWindow.h"
#include "platform/WindowSeams.h"

#include <QDialog>
#include <array>
#include <memory>

class QFrame;
class QLabel;
class QPrinter;
class QPushButton;

namespace cantabola {

class CardRegistry;
class MainWindow;

class FrmCartones : public QDialog, public ScaledWindow
{
    Q_OBJECT

public:
    // The window belongs to the main window, which it is centred on and takes its size, card count and
    // numbering from. Numbered cards are kept in registry.
    FrmCartones(MainWindow &main, CardRegistry &registry);
    ~FrmCartones() override;

    // Loads the window and shows it modally; returns when it is closed (close box or a successful print).
    void showModal();

    // The load sequence: new controls from the design, the screen, the main window's size, the layout by the
    // number of cards, a random standard colour, new numbers.
    void Load();

    // Sets CardColor (the colour last chosen in the colour dialog, or a random standard colour seeded from
    // the time of day) and paints frames, frame shapes and blank cells of all four cards with it.
    void PaintCards(bool UseDialogColor);
    // New numbers in every white cell of the four cards, each shown as soon as it is written.
    void FillCards();
    // The three buttons in a row under the cards, for a window of one or two cards.
    void PlaceButtons();

    // Handlers.
    void CmbElegirColor_Click();
    void CmbGenerar_Click();
    void CmbPrint_Click();
    void LblCasilla_Click(int index);

    // The colour of the card frames and blank cells, 0x00BBGGRR.
    ColourValue CardColor = 0;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls(const ScreenInfo &screen);
    void buildCard(int card, float left, float top, float shapeLeft);
    void setWindowBackground(ColourValue colour);
    // The cards shown (1 to 4).
    std::vector<int> shownCards() const;
    // Cell k of a card (1 to 4) drawn as the card has it.
    void showCell(int card, int k);
    // Each shown card's serial in the corner of its frame, or no serial at all (an empty list).
    void showSerials(const std::vector<qint64> &serials);

    // The controls of the current opening (rebuilt by Load).
    QPushButton *CmbElegirColor = nullptr;
    QPushButton *CmbGenerar = nullptr;
    QPushButton *CmbPrint = nullptr;
    std::array<QFrame *, 5> PctMarco{}; // 1 to 4
    std::array<QWidget *, 5> ShpMarco{}; // 1 to 4
    std::array<QLabel *, 5> serialLabel{}; // 1 to 4: the serial, shown on a numbered sheet only
    using CellArray = std::array<QLabel *, cellsPerCard + 1>; // 1 to 27; element 0 does not exist
    CellArray LblCasilla{};
    CellArray LblCasilla2{};
    CellArray LblCasilla3{};
    CellArray LblCasilla4{};
    // The cells of card 1 to 4.
    CellArray &cells(int card);

    // The four cards, shown or hidden, as the controls of this opening draw them.
    std::array<Card, cardCount> m_cards;

    MainWindow &m_main;
    Platform &m_platform;
    CardRegistry &m_registry;
    QWidget *m_client = nullptr;
    ColourValue m_dialogColour = 0; // the colour last chosen in the colour dialog
};

} // namespace cantabola
