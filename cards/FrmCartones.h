#pragma once

// The card window: up to four bingo cards of 3 x 9 cells with three buttons under them, to regenerate the
// numbers, recolour the cards and print them. One window object serves the whole run; its controls are built
// afresh from the design at every opening, so each opening starts with new colours and numbers, while the
// window object remembers whether it has been scaled to the screen.

#include "CardRules.h"
#include "Controls.h"
#include "Scaling.h"
#include "Seams.h"

#include <QDialog>
#include <array>
#include <memory>

class QFrame;
class QLabel;
class QPrinter;
class QPushButton;

namespace cantabola {

class FrmBingo;

class FrmCartones : public QDialog, public ScalableWindow
{
    Q_OBJECT

public:
    // The window belongs to the main window, which it is centred on and takes its size and card count from.
    explicit FrmCartones(FrmBingo &main);
    ~FrmCartones() override;

    // Loads the window and shows it modally; returns when it is closed (close box or a successful print).
    void showModal();

    // The load sequence: new controls from the design, the screen, the main window's size, the layout by the
    // number of cards, a random standard colour, new numbers.
    void Load();

    // Sets CardColor (the colour last chosen in the colour dialog, or a random standard colour seeded from
    // the time of day) and paints frames, frame shapes and blank cells of all four cards with it.
    void PaintCards(bool UseDialogColor);
    // New numbers in every white cell of the four cards.
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

    // The controls of the current opening (rebuilt by Load).
    QPushButton *CmbElegirColor = nullptr;
    QPushButton *CmbGenerar = nullptr;
    QPushButton *CmbPrint = nullptr;
    std::array<QFrame *, 5> PctMarco {}; // 1 to 4
    std::array<QWidget *, 5> ShpMarco {}; // 1 to 4
    using CellArray = std::array<QLabel *, cellsPerCard + 1>; // 1 to 27; element 0 does not exist
    CellArray LblCasilla {};
    CellArray LblCasilla2 {};
    CellArray LblCasilla3 {};
    CellArray LblCasilla4 {};
    // The cells of card 1 to 4.
    CellArray &cells(int card);

    ControlSet &controls() { return *m_controls; }
    Control &control(const QString &name);
    // The window's outer size in twips, as the load sequence set it.
    ScalableProps &windowProps() { return m_props; }

    // ScalableWindow
    std::string name() const override { return "FrmCartones"; }
    bool ajustado() const override { return m_ajustado; }
    void setAjustado(bool value) override { m_ajustado = value; }
    WindowState state() const override;
    ScalableProps &ownProps() override { return m_props; }
    std::vector<ScalableControl> scalableControls() override { return m_controls->scalableControls(); }

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls(const ScreenInfo &screen);
    void buildCard(int card, float left, float top, float shapeLeft);
    void setWindowBackground(ColourValue colour);
    void applyWindowGeometry();

    FrmBingo &m_main;
    Platform &m_platform;
    QWidget *m_client = nullptr;
    std::unique_ptr<ControlSet> m_controls;
    ScalableProps m_props;
    bool m_ajustado = false;
    ColourValue m_dialogColour = 0; // the colour last chosen in the colour dialog
};

} // namespace cantabola
