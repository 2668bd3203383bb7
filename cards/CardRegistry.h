// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The card registry: the cards printed with a number, kept in an SQLite database in the user's data folder,
// one row a card (its serial, when it was printed, its colour, its 27 cells). The cards of a sheet are
// written in one transaction before the sheet goes to the printer and kept only when it has printed. The
// serials count up and are never given twice: the last one given is also kept in the settings, so a database
// set aside does not start the count again.
//
// A registry that cannot be opened or written never stops a print; the trouble is kept for the operator to be
// told once, at the next claim check. A file that is not a registry of ours (damaged, another program's
// database, or a registry of a newer version) is set aside under a name of its own and a new registry
// started.

#include "cards/PrintedCard.h"

#include <QString>
#include <optional>
#include <vector>

namespace cantabola {

class CardRegistry
{
public:
    static inline const QString fileName = QStringLiteral("cartones.sqlite");

    // The database lies in folder; the last serial given is also kept in the settings file.
    CardRegistry(QString folder, QString settingsFile);
    ~CardRegistry();
    CardRegistry(const CardRegistry &) = delete;
    CardRegistry &operator=(const CardRegistry &) = delete;

    // Writes the cards of a sheet under the next serials, in order, in a transaction left open until
    // endSheet. The serials given; none when the registry cannot take them (nothing is then kept).
    std::vector<qint64> beginSheet(const std::vector<CardGrid> &cards, const QDateTime &printedAt,
                                   ColourValue colour);
    // Keeps the sheet's cards when it has printed, or takes them back (their serials are given again).
    // False when they could not be kept.
    bool endSheet(bool printed);

    // The card printed under serial; nullopt when there is none or it cannot be read.
    std::optional<PrintedCard> find(qint64 serial);

    // True once after the registry failed to open, to write or to read: the operator is to be told.
    bool takeTrouble();

    QString filePath() const;

private:
    enum class Opening { Ready, NotOurs, Failed };
    bool open();
    Opening prepare();
    void close();
    bool setAside();
    void fail(const char *what, const QString &error);

    QString m_folder;
    QString m_settingsFile;
    QString m_connection;
    bool m_open = false;
    bool m_inSheet = false;
    bool m_damaged = false;
    bool m_trouble = false;
    qint64 m_sheetLast = 0;
};

} // namespace cantabola
