// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The program put together: the game, and the main window observing it, with the card and about windows
// opened at its request, over the platform it is given.

#include "cards/CardRegistry.h"
#include "game/Game.h"
#include "game/GameStore.h"
#include "layout/Scaling.h"
#include "network/DeferredBoard.h"
#include "platform/WindowSeams.h"

#include <QPointer>
#include <QTranslator>

#include <functional>
#include <memory>

namespace cantabola {

class FrmBingo;
class PlayControl;
class CalledBallsWindow;
class FrmCartones;
class RoomScreen;

// What the program sets up on its application before the main window is built: Qt's own buttons ("Sí",
// "No", "Aceptar", "Cancelar") in Spanish, and the faces the design names mapped to installed ones.
class ApplicationSetup
{
public:
    ApplicationSetup();
    ~ApplicationSetup() = default;
    ApplicationSetup(const ApplicationSetup &) = delete;
    ApplicationSetup &operator=(const ApplicationSetup &) = delete;

private:
    QTranslator m_qtSpanish;
};

// The program scales its windows to the screen itself: the toolkit's own high-DPI scaling must not apply on
// top. Called before the application object exists.
void switchOffToolkitScaling();

class Cantabola
{
public:
    explicit Cantabola(Platform &platform);
    ~Cantabola();
    Cantabola(const Cantabola &) = delete;
    Cantabola &operator=(const Cantabola &) = delete;

    // Loads and shows the main window, then offers to take up a game the last run left unfinished. False when
    // the screen was refused.
    bool start();
    // Runs `action` once, as soon as the main window has been painted for the first time: for work the
    // operator need not wait for before seeing the window, like loading the sound library.
    void afterFirstPaint(std::function<void()> action);

    FrmBingo &window() { return *m_window; }
    // The room's screen while it is open, else nullptr.
    RoomScreen *roomScreen();
    Game &game() { return m_game; }
    PlayControl &playControl() { return *m_play; }
    // The players' board, served while "Tablero en la red" is ticked.
    DeferredBoard &board() { return m_board; }

    static QString resumeQuestion(std::size_t balls)
    {
        return balls == 1
            ? QStringLiteral("La partida anterior quedó sin terminar con 1 bola. ¿Continuarla?")
            : QStringLiteral("La partida anterior quedó sin terminar con %1 bolas. ¿Continuarla?").arg(balls);
    }
    static inline const QString registryTrouble = QStringLiteral("No se puede usar el registro de cartones.");
    static inline const QString boardPortsTaken
        = QStringLiteral("No se puede servir el tablero en la red: los puertos %1 a %2 están ocupados.");
    static inline const QString boardLibraryMissing = QStringLiteral(
        "No se puede servir el tablero en la red: falta el archivo %1 en la carpeta del programa.");

private:
    // The card window, created at the first request and reused for the rest of the run.
    FrmCartones &cardWindow();
    void showBallsCalled();
    void showRoomScreen(bool shown);
    void checkClaim();
    void serveBoard(bool on);
    void offerResume();

    Platform &m_platform;
    ScaleValues m_scale;
    GameStore m_store; // before the game, which keeps itself in it
    Game m_game;
    CardRegistry m_registry;
    DeferredBoard m_board;
    std::unique_ptr<FrmBingo> m_window;
    QPointer<FrmCartones> m_cards;
    QPointer<CalledBallsWindow> m_ballsCalled;
    QPointer<RoomScreen> m_room;
    std::unique_ptr<PlayControl> m_play; // after the window it reports to
};

} // namespace cantabola
