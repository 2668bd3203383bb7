#pragma once

// The operator's side of a game on the main window: the start and stop button, the draw and its wait, the
// end of a game, the new game, and the game commands of the menus.
//
// All of it runs on the one user-interface thread. Automatic calling is a loop inside the start button's
// click handler; every pause dispatches window events, so a click on "Parar juego" runs its handler nested
// inside the wait. The button's caption is the run state: the loop reads it after every wait to learn that
// stop was pressed. Which commands may nest is decided by what is disabled.

#include <QObject>
#include <QString>

namespace cantabola {

class FrmBingo;

class Partida : public QObject
{
    Q_OBJECT

public:
    explicit Partida(FrmBingo &window);

    static inline const QString captionStart = QStringLiteral("Sacar número");
    static inline const QString captionStop = QStringLiteral("Parar juego");
    static inline const QString endOfGameQuestion = QStringLiteral("Partida concluída. ¿Otra partida?");

    // Handlers, connected to the window's controls and menu items.
    void CmbStart_Click();
    void CmbNuevo_Click();
    void SM_Auto_Click();
    void SM_Voice_Click();
    void SM_play_Click();

    // One ball (false) or automatic calling until stopped or the game is over (true).
    void SacarBola(bool automatico);

private:
    void drawStep();
    void endOfGamePrompt();
    void setCallingControlsEnabled(bool enabled);

    FrmBingo &m_window;
};

} // namespace cantabola
