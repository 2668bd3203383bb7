#pragma once

// Opening the card window from the main window: the card items of the "Juego" menu and the button "Imprimir
// cartones".

#include <QObject>
#include <QPointer>

namespace cantabola {

class FrmBingo;
class FrmCartones;

// Lives as a child of the main window and creates the card window on first use, then reuses it for the rest
// of the run.
class CardMenu : public QObject
{
public:
    explicit CardMenu(FrmBingo &main);

    // Item n (1 to 4): toggles its own tick, clears the other three when it ends ticked, sets the number of
    // cards to n either way and shows the card window modally.
    void SM_Card_Click(int n);
    // Shows the card window modally with the number of cards last chosen.
    void CmbImprimir_Click();

    // The card window, created the first time it is needed.
    FrmCartones &cardWindow();

private:
    FrmBingo &m_main;
    QPointer<FrmCartones> m_window;
};

// Connects the card items and the button "Imprimir cartones" of the main window to the card window.
void installCardWindow(FrmBingo &main);

} // namespace cantabola
