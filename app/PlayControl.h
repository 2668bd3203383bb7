// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Cards in play, as the operator runs them: choosing the cards sold for the game, the prizes announced the
// moment their ball is drawn (the calling stopped, the prize box on the operator's screen, the winners on the
// room's), and all of it kept with the game so that a resumed game has its cards in play.

#include "game/PrizeRound.h"
#include "platform/WindowSeams.h"

#include <QObject>
#include <QPointer>

namespace cantabola {

class CardRegistry;
class FrmBingo;
class Game;
class GameStore;
class PrizeBox;
class RoomScreen;
struct SavedGame;

class PlayControl : public QObject
{
    Q_OBJECT

public:
    PlayControl(Game &game, GameStore &store, CardRegistry &registry, FrmBingo &window, Platform &platform);
    ~PlayControl() override;

    // "Cartones en juego...": the dialog, then the cards read from the registry.
    void choose();
    // The cards in play of a saved game taken up (or of a fresh start, when the game had no ball out).
    void resume(const SavedGame &saved);
    // The room's screen follows the prizes while it is open.
    void setRoom(RoomScreen *room);

    PrizeRound &round() { return m_round; }
    const QString &serials() const { return m_serials; }

    // The prize being played ("Bingo"; empty with no cards in play) and the winners announced now.
    QString playingName() const;
    QStringList announcedTexts() const;

    static inline const QString unreadable = QStringLiteral(
        "No se pueden leer los cartones del registro de cartones. Siguen en juego los de antes.");
    static inline const QString resumedWithout
        = QStringLiteral("La partida sigue sin cartones en juego: no se pudieron leer los que tenía.");

signals:
    // The prize being played or the winners announced changed.
    void prizesChanged();

protected:
    void customEvent(QEvent *event) override;

private:
    void won();
    void showBox();
    void withdrawn();
    void playingChanged();
    // The cards in play and the round's state into the saved game, at once.
    void keep();
    void showWinnersInRoom();

    Game &m_game;
    GameStore &m_store;
    CardRegistry &m_registry;
    FrmBingo &m_window;
    Platform &m_platform;
    PrizeRound m_round;
    QString m_serials;
    bool m_stopOnPrize = true;
    QPointer<PrizeBox> m_box;
    QPointer<RoomScreen> m_room;
};

} // namespace cantabola
