// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the program keeps of the game in progress, so that a game survives the program: the balls out in the
// order they came, with their times, written after every change of the drum to a file in the user's data
// folder. The file is replaced whole by an atomic rename, so a crash or a power cut leaves the old game or
// the new one, never half of either.

#include <QDateTime>
#include <QString>
#include <optional>
#include <vector>

namespace cantabola {

struct SavedGame
{
    std::vector<int> order;
    std::vector<QDateTime> times;
};

class GameStore
{
public:
    static inline const QString fileName = QStringLiteral("partida.json");

    explicit GameStore(QString folder);

    // Writes the game; false when the folder cannot be written (the game goes on unsaved).
    bool save(const std::vector<int> &order, const std::vector<QDateTime> &times) const;
    // The game saved, when it has balls out. A file that is not a game of ours (truncated, empty, of a newer
    // version, unreadable) is set aside under another name and nothing is taken up.
    std::optional<SavedGame> load() const;

    QString filePath() const;

private:
    void setAside() const;

    QString m_folder;
};

} // namespace cantabola
