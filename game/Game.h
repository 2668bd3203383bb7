// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The game: the drum, the draw and its announcement, the wait between balls, automatic calling and the end of
// a game. It owns the game's state and tells its observers (the main window, and any window added later)
// about every change through signals; it knows no widget.
//
// All of it runs on the one user-interface thread. Automatic calling is a loop inside the start command;
// every pause dispatches window events, so a stop command runs nested inside the wait of the run it stops.
// The run state is what the loop reads after every wait to learn that stop was pressed.

#include "game/Drum.h"
#include "platform/Seams.h"

#include <QDateTime>
#include <QObject>
#include <vector>

namespace cantabola {

// What the game asks the operator when all 90 balls are out and more are asked for.
class EndOfGameQuestion
{
public:
    virtual ~EndOfGameQuestion() = default;
    virtual bool playAgain() = 0;
};

// Where the game keeps itself between runs. The game writes each change here before it tells anyone, so
// that whatever a window or the room has shown is already kept.
class GameRecord
{
public:
    virtual ~GameRecord() = default;
    virtual void keep(const std::vector<int> &order, const std::vector<QDateTime> &times) = 0;
};

enum class RunState {
    Idle, // waiting for the operator
    Drawing, // one ball drawn one-by-one, its announcement not yet over: the start command is not offered
    Calling, // automatic calling: the start command stops it
};

class Game : public QObject
{
    Q_OBJECT

public:
    // What the game takes from the machine.
    struct Seams
    {
        Clock &clock;
        Random &random;
        Waiter &waiter;
        Sound &sound;
        GameRecord *record = nullptr; // nothing kept without one
    };

    explicit Game(Seams seams, QObject *parent = nullptr);

    // The state of the game.
    bool BolaSacada(int n) const { return n >= 1 && n <= 90 && m_drawn[static_cast<std::size_t>(n)]; }
    int BolasSacadas() const { return static_cast<int>(m_order.size()); }
    // The number last drawn, 0 when none is out.
    int NumEnJuego() const { return m_order.empty() ? 0 : m_order.back(); }
    // The balls of this game in the order they came out, and when each came out.
    const std::vector<int> &drawOrder() const { return m_order; }
    const std::vector<QDateTime> &drawTimes() const { return m_times; }
    RunState runState() const { return m_run; }

    // Options, as the operator has set them.
    bool ModoAutomatico() const { return m_automatic; }
    void setModoAutomatico(bool automatic) { m_automatic = automatic; }
    void setVoice(bool on) { m_voice = on; }
    // The pause after each ball; read again after every ball, so a change applies from the next wait.
    void setDelaySeconds(double seconds) { m_delaySeconds = seconds; }

    // The start button: one ball, or automatic calling until stopped or the game is over; during automatic
    // calling, stop.
    void startOrStop();
    // One ball (false) or automatic calling until stopped or the game is over (true).
    void SacarBola(bool automatico);
    // Puts every ball back in the drum.
    void newGame();
    // Puts the last ball drawn back in the drum; not during automatic calling. False when nothing was done.
    bool takeBackLastBall();
    // Announces the number shown again, as its draw did, whatever the voice switch says; it never holds the
    // thread, so it cannot delay the next draw.
    void repeatNumber();
    // Who answers the end-of-game question; without anybody to ask, a full drum simply stays full.
    void setEndOfGameQuestion(EndOfGameQuestion *question) { m_question = question; }
    // Takes up a game saved earlier: its balls in their order, with their times. Only on a fresh drum.
    void restore(const std::vector<int> &order, const std::vector<QDateTime> &times);

signals:
    // n is out: the observers show it now, before it is announced.
    void ballDrawn(int n);
    // n, the last ball drawn, is back in the drum.
    void ballTakenBack(int n);
    // Every ball is back in the drum.
    void drumReset();
    // A saved game was taken up: every ball of drawOrder() is out at once.
    void gameRestored();
    // The operator answered the end-of-game question with No: the game is over for good, and kept as no game.
    void gameFinished();
    void runStateChanged(cantabola::RunState state);

private:
    void drawStep();
    void endOfGame();
    void setRunState(RunState state);
    void keep();

    Seams m_seams;
    EndOfGameQuestion *m_question = nullptr;
    DrawnFlags m_drawn{};
    std::vector<int> m_order;
    std::vector<QDateTime> m_times;
    RunState m_run = RunState::Idle;
    bool m_automatic = true;
    bool m_voice = true;
    double m_delaySeconds = 3.0;
};

} // namespace cantabola
