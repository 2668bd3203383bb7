// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The main window: the board of 90 numbers, the number just drawn over the large ball, the start button, the
// delay bar, the sponsor banner and the menus. It observes the game and paints what changes; its controls are
// its own. The card and about windows are opened by whoever listens to its requests.

#include "game/Game.h"
#include "layout/ScaledWindow.h"
#include "mainwindow/MainWindow.h"

#include <QMainWindow>
#include <array>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPushButton;
class QScrollBar;

namespace cantabola {

class BannerView;
class BingoClient;
class Board;

class FrmBingo : public QMainWindow, public ScaledWindow, public MainWindow, private EndOfGameQuestion
{
    Q_OBJECT

public:
    FrmBingo(Platform &platform, ScaleValues &scale, Game &game, QWidget *parent = nullptr);
    ~FrmBingo() override;

    // Start-up, run once: seeds the generator, arms the banner timer, checks the screen, adapts the window to
    // it, builds the board and shows the window. Returns false when the screen was refused (the process has
    // then been ended).
    bool Load();

    static inline const QString captionStart = QStringLiteral("Sacar número");
    static inline const QString captionStop = QStringLiteral("Parar juego");
    static inline const QString endOfGameQuestion = QStringLiteral("Partida concluída. ¿Otra partida?");
    // The help document the help menu opens, in the program's folder.
    static inline const QString helpFileName = QStringLiteral("ayudabingo.html");

    // Whether the background picture has been stretched over the inner area (the 1024-pixel screen at 12
    // twips per pixel), and to what size.
    QSize stretchedBackground() const;

    // What "Cartones en juego..." tells of the cards in play ("331 cartones en juego."); empty: none.
    void setCardsInPlayStatus(const QString &status);

    // The room's screen was closed from its side: the menu item follows.
    void setRoomScreenChecked(bool shown);
    // "Tablero en la red" as it is: serving at address, or off (empty). The item's mark follows, and is
    // remembered.
    void showNetworkBoard(const QString &address);
    bool networkBoardChecked() const;

    // MainWindow
    QWidget &widget() override { return *this; }
    Platform &platform() const override { return m_platform; }
    ScaleValues &scale() const override { return m_scale; }
    std::uint8_t NumberOfCards() const override { return m_numberOfCards; }
    ScalableProps outerGeometry() const override;
    bool cardsNumbered() const override;

signals:
    // A card menu item or "Imprimir cartones": the card window is to open, modally.
    void cardWindowRequested();
    // "Acerca de ...": the about window is to open, modally.
    void aboutRequested();
    // "Comprobar cartón...", the calling stopped: the claim dialog is to open, modally.
    void claimCheckRequested();
    // "Imprimir series...", the calling stopped: the series dialog is to open, modally.
    void seriesPrintRequested();
    // "Cartones en juego...", the calling stopped: the cards of the game are to be chosen, modally.
    void cardsInPlayRequested();
    // "Bolas cantadas...": the list of the balls called is to show.
    void ballsCalledRequested();
    // "Pantalla de sala" checked or unchecked: the room's screen is to open or to close.
    void roomScreenToggled(bool shown);
    // The banner shows another picture.
    void bannerChanged(const QString &picturePath);
    // "Tablero en la red" checked or unchecked: the players' board is to be served, or no longer.
    void networkBoardToggled(bool on);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void connectGame();
    void updateDelayLabel();
    void setMenuEnabled(QMenu *menu, bool enabled);

    // What the game reports.
    void showBall(int n);
    void takeBallBack(int n);
    void clearBoard();
    void showWholeGame();
    // The large number as the game has it now: the last ball out, or nothing.
    void showNumEnJuego();
    void updateGameItems();
    void showRunState(RunState state);
    // EndOfGameQuestion: "Partida concluída. ¿Otra partida?"; No ends the program once the game has kept
    // that it is over.
    bool playAgain() override;

    // Handlers.
    void SM_Card_Click(int n);
    void SM_Auto_Click();
    void SM_Voice_Click();
    void SM_play_Click();
    // Stops the automatic calling, then asks for what request stands for.
    void haltThen(void (FrmBingo::*request)());

    Platform &m_platform;
    ScaleValues &m_scale;
    Game &m_game;
    BingoClient *m_client;
    std::uint8_t m_numberOfCards = 0;
    bool m_startHadFocus = false;

    BannerView *m_banner = nullptr; // Picture4, with AniGIF1 and Timer1
    QFrame *Picture3 = nullptr;
    QLabel *LblNumEnJuego = nullptr;
    QLabel *ImgBolaGrande = nullptr;
    QLabel *ImgTitulo = nullptr;
    QFrame *Picture2 = nullptr;
    QPushButton *CmbNuevo = nullptr;
    QPushButton *CmbImprimir = nullptr;
    QPushButton *CmbStart = nullptr;
    QScrollBar *HscInterval = nullptr;
    QLabel *LblDelay = nullptr;
    Board *m_board = nullptr; // Picture1, with LblNumero and ImgBola

    QMenu *M_Play = nullptr;
    QAction *SM_New = nullptr;
    QAction *SM_GetNumber = nullptr;
    QMenu *SM_Print = nullptr;
    std::array<QAction *, 5> cardItems{}; // SM_1 to SM_4 at 1 to 4
    QAction *SM_End = nullptr;
    QMenu *M_Options = nullptr;
    QAction *SM_Auto = nullptr;
    QAction *SM_Voice = nullptr;
    QMenu *gameMenu = nullptr;
    QAction *checkClaimItem = nullptr;
    QAction *repeatItem = nullptr;
    QAction *takeBackItem = nullptr;
    QAction *calledBallsItem = nullptr;
    QAction *roomScreenItem = nullptr;
    QAction *numberCardsItem = nullptr;
    QAction *printSeriesItem = nullptr;
    QAction *cardsInPlayItem = nullptr;
    QAction *networkBoardItem = nullptr;
    QMenu *SM_Help = nullptr;
    QAction *SM_play = nullptr;
    QAction *SM_AcercaDe = nullptr;
};

} // namespace cantabola
