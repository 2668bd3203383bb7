// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The card registry: the cards printed with a number, kept in an SQLite database in the user's data folder,
// one row a card (its serial, when it was printed, its colour, its 27 cells, and its series when it was
// printed in one). The serials count up and are never given twice: a sheet's serials are taken for good, in
// the database and in the settings, before the sheet goes to the printer, so that neither a print that fails
// nor a failure to keep its cards afterwards gives them again, and a database set aside does not start the
// count again. The cards themselves are kept once the sheet has printed. Series of six are numbered the same
// way, their series numbers counting up too, and a print job of series is kept in one transaction once it has
// gone to the printer.
//
// A registry that cannot be opened or written never stops a print; the trouble is kept for the operator to be
// told once, at the next claim check. A file that is not a registry of ours (damaged, another program's
// database, or a registry of a newer version) is set aside under a name of its own and a new registry
// started.

#include "cards/PrintedCard.h"
#include "cards/SerialRanges.h"
#include "cards/Series.h"
#include "game/CardsInPlay.h"

#include <QString>
#include <optional>
#include <vector>

class QSqlQuery;

namespace cantabola {

class CardRegistry
{
public:
    static inline const QString fileName = QStringLiteral("cartones.sqlite");

    // The database lies in folder; the last serial taken is also kept in the settings file.
    CardRegistry(QString folder, QString settingsFile);
    ~CardRegistry();
    CardRegistry(const CardRegistry &) = delete;
    CardRegistry &operator=(const CardRegistry &) = delete;

    // Takes the next serials for the cards of a sheet, in order, for good, and holds the cards until
    // endSheet. None when the registry cannot take them (the sheet then prints without numbers).
    std::vector<qint64> beginSheet(const std::vector<Card> &cards, const QDateTime &printedAt,
                                   ColourValue colour);
    // Keeps the sheet's cards when it has printed, or drops them. Either way their serials stay taken: a
    // print that failed may have reached the printer. False when no cards were kept.
    bool endSheet(bool printed);

    // The serial the next card printed will get; nullopt when the registry cannot be read.
    std::optional<qint64> nextSerial();

    // The numbers a print job of series takes: the first series number and the first serial, numbered on
    // from there, six serials a series.
    struct SeriesNumbers
    {
        qint64 firstNumber = 0;
        qint64 firstSerial = 0;
    };
    // Takes the numbers of count series for good, before the job goes to the printer: neither a job that
    // fails nor one the operator stops gives them again. nullopt when they cannot be taken: the registry
    // cannot be written, and the series, which could not be checked by number, are not to print.
    std::optional<SeriesNumbers> takeSeries(int count);
    // Keeps the cards of the series printed, all in one transaction. False when none were kept.
    bool keepSeries(const std::vector<NumberedSeries> &series, const QDateTime &printedAt,
                    ColourValue colour);

    // The card printed under serial; nullopt when there is none or it cannot be read.
    std::optional<PrintedCard> find(qint64 serial);

    // The first serial of the ranges that the registry holds no card under; nullopt when it holds them all,
    // or cannot be read (reading them will say so).
    std::optional<qint64> firstMissing(const std::vector<SerialRange> &ranges);
    // The cards under the serials of the ranges, in order, to be played; nullopt when the registry cannot be
    // read or a serial has no card (then missing, when given, tells which).
    std::optional<std::vector<CardInPlay>> cardsIn(const std::vector<SerialRange> &ranges,
                                                   qint64 *missing = nullptr);

    // True once after the registry failed to open, to write or to read: the operator is to be told.
    bool takeTrouble();

    QString filePath() const;

private:
    enum class Opening { Ready, NotOurs, Failed };
    bool open();
    Opening prepare();
    void close();
    bool setAside();
    struct Last
    {
        qint64 serial = 0;
        qint64 series = 0;
    };
    // The last serial and series number taken, from the database and the settings; nullopt when unreadable.
    std::optional<Last> last(QSqlQuery &query);
    // Takes the next serials and series numbers for good; the last ones taken before, or nullopt.
    std::optional<Last> reserve(qint64 cards, qint64 series);
    struct KeptCard
    {
        qint64 serial = 0;
        Card card;
        qint64 series = 0; // 0: a card of a sheet
    };
    // Keeps cards printed, in one transaction.
    bool keep(const std::vector<KeptCard> &cards, const QDateTime &printedAt, ColourValue colour);
    void fail(const char *what, const QString &error);

    QString m_folder;
    QString m_settingsFile;
    QString m_connection;
    bool m_open = false;
    bool m_inSheet = false; // a sheet's serials are taken and its cards held
    bool m_damaged = false;
    bool m_trouble = false;
    std::vector<Card> m_sheetCards;
    QDateTime m_sheetPrintedAt;
    ColourValue m_sheetColour = 0;
    qint64 m_sheetFirst = 0;
};

} // namespace cantabola
