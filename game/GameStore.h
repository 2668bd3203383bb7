// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program keeps of the game in progress, so that a game survives the program: the balls out in the
// order they came, with their times, written after every change of the drum to a file in the user's data
// folder. The file is replaced whole by an atomic rename, so a crash or a power cut leaves the old game or
// the new one, never half of either.
//
// One copy of the program at a time keeps the game of a data folder: a second copy started on the same
// desktop calls its game without saving it, and does not offer the first copy's game as unfinished, so
// neither can overwrite the other's.

#include "game/Game.h"

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class QLockFile;

namespace cantabola {

// What a game played with cards in play keeps beside its balls.
struct SavedPlay
{
    QString cards; // the serials as the operator typed them ("1-300, 451-480")
    bool twoLines = false;
    int prizesPaid = 0;
    std::vector<qint64> passedOver; // announced for the prize being played and not paid
    friend bool operator==(const SavedPlay &, const SavedPlay &) = default;
};

struct SavedGame
{
    std::vector<int> order;
    std::vector<QDateTime> times;
    std::optional<SavedPlay> play;
    bool playDamaged = false; // the cards in play could not be read back: the game goes on without them
};

class GameStore : public GameRecord
{
public:
    static inline const QString fileName = QStringLiteral("partida.json");

    explicit GameStore(QString folder);
    ~GameStore() override;
    GameStore(const GameStore &) = delete;
    GameStore &operator=(const GameStore &) = delete;

    // Takes the folder's game for this copy of the program, for as long as the store lives (a copy that
    // ended, even killed, gives it up). False when another running copy has it: from then on this store
    // neither loads nor saves. Once is enough; the first change kept claims it too.
    bool claim();

    // Writes the game; false when the folder cannot be written, or holds a file not ours that could not be
    // set aside (the game goes on unsaved).
    bool save(const std::vector<int> &order, const std::vector<QDateTime> &times) const;
    // GameRecord: as save(); a folder that cannot be written leaves the game going unsaved.
    void keep(const std::vector<int> &order, const std::vector<QDateTime> &times) override
    {
        claim();
        save(order, times);
    }
    // The cards in play, written with the game from the next save on.
    void setPlay(std::optional<SavedPlay> play) { m_play = std::move(play); }

    // The game saved, when it has balls out or cards in play. A file that is not a game of ours (truncated,
    // empty, of a newer version, unreadable) is set aside under a name of its own, never removed, and nothing
    // is taken up.
    std::optional<SavedGame> load() const;

    QString filePath() const;

private:
    void setAside() const;

    QString m_folder;
    std::unique_ptr<QLockFile> m_claim;
    bool m_heldElsewhere = false;
    mutable bool m_cannotSetAside = false;
    std::optional<SavedPlay> m_play;
};

} // namespace cantabola
