// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/CardRegistry.h"

#include "cards/CardRules.h"
#include "platform/Logging.h"
#include "platform/MoveAside.h"

#include <QDir>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <utility>

namespace cantabola {

namespace {

// 2: the last serial taken is kept in a table of its own, apart from the cards kept. 3: the series a card was
// printed in, and the last series number taken beside the last serial.
constexpr int formatVersion = 3;
// Another program holding the database (a second Cantabola printing) is waited for this long, then the print
// goes on without numbers.
constexpr int busyMilliseconds = 500;
const QString lastSerialKey = QStringLiteral("Cartones/UltimoNumero");
const QString lastSeriesKey = QStringLiteral("Cartones/UltimaSerie");

// SQLite's own verdict that the file is damaged or no database at all (SQLITE_CORRUPT, SQLITE_NOTADB, with
// their extended codes).
bool isDamage(const QSqlError &error)
{
    const int code = error.nativeErrorCode().toInt() & 0xff;
    return code == 11 || code == 26;
}

// SQLITE_ERROR: the file is a database, but not one with our table.
bool isForeign(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() == 1;
}

} // namespace

CardRegistry::CardRegistry(QString folder, QString settingsFile)
    : m_folder(std::move(folder))
    , m_settingsFile(std::move(settingsFile))
{
    static int registries = 0;
    m_connection = QStringLiteral("cantabola-registry-%1").arg(++registries);
}

CardRegistry::~CardRegistry()
{
    endSheet(false);
    close();
}

QString CardRegistry::filePath() const
{
    return QDir(m_folder).filePath(fileName);
}

bool CardRegistry::open()
{
    // Damage found by the last query: the file goes aside now, while no query holds it.
    if (std::exchange(m_damaged, false)) {
        close();
        if (!setAside())
            return false;
    }
    if (m_open)
        return true;
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QSQLITE"))) {
        fail("open", QStringLiteral("Qt SQL's SQLite driver is not installed"));
        return false;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!QDir().mkpath(m_folder)) {
            fail("open", QStringLiteral("no folder %1").arg(m_folder));
            return false;
        }
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(filePath());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyMilliseconds));
        const bool opened = db.open();
        const QString error = opened ? QStringLiteral("its contents cannot be used") : db.lastError().text();
        db = QSqlDatabase();
        const Opening opening = opened ? prepare() : Opening::Failed;
        if (opening == Opening::Ready) {
            m_open = true;
            return true;
        }
        close();
        if (opening == Opening::Failed) {
            fail("open", error);
            return false;
        }
        if (!setAside())
            return false;
    }
    return false;
}

CardRegistry::Opening CardRegistry::prepare()
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    const auto notOursOr = [&query](Opening otherwise) {
        const QSqlError error = query.lastError();
        qCDebug(lcRegistry) << "the registry is not readable:" << error.text();
        query.exec(QStringLiteral("ROLLBACK"));
        return isDamage(error) || isForeign(error) ? Opening::NotOurs : otherwise;
    };
    if (!query.exec(QStringLiteral("PRAGMA user_version")) || !query.next())
        return notOursOr(Opening::Failed);
    const int version = query.value(0).toInt();
    if (version == formatVersion) {
        // The last card read as well: damage at the end of the file, where the next sheet goes, shows now.
        return query.exec(QStringLiteral("SELECT serial, printed_at, colour, cells, series FROM cards ORDER "
                                         "BY serial DESC LIMIT 1"))
                && query.exec(QStringLiteral("SELECT last, last_series FROM serials"))
            ? Opening::Ready
            : notOursOr(Opening::Failed);
    }
    if (version > formatVersion) {
        qCDebug(lcRegistry) << "the registry is of a later version:" << version;
        return Opening::NotOurs;
    }
    if (version == 0) {
        if (!query.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !query.next())
            return notOursOr(Opening::Failed);
        if (query.value(0).toInt() != 0)
            return Opening::NotOurs; // another program's database
    }
    // Write-ahead logging: a sheet kept costs one flush to the disk, not three, and lookups go on while
    // another program writes. An older registry has its cards already, printed on sheets and in no series;
    // one of the first version gets the table of the last serial taken.
    const bool created = query.exec(QStringLiteral("PRAGMA journal_mode = WAL"))
        && query.exec(QStringLiteral("BEGIN IMMEDIATE"))
        && query.exec(version == 0 ? QStringLiteral(
                          "CREATE TABLE cards (serial INTEGER PRIMARY KEY, printed_at TEXT NOT "
                          "NULL, colour INTEGER NOT NULL, cells TEXT NOT NULL, series INTEGER)")
                                   : QStringLiteral("ALTER TABLE cards ADD COLUMN series INTEGER"))
        && (version >= 2
            || (query.exec(QStringLiteral("CREATE TABLE serials (last INTEGER NOT NULL)"))
                && query.exec(
                    QStringLiteral("INSERT INTO serials SELECT coalesce(max(serial), 0) FROM cards"))))
        && query.exec(QStringLiteral("ALTER TABLE serials ADD COLUMN last_series INTEGER NOT NULL DEFAULT 0"))
        && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(formatVersion))
        && query.exec(QStringLiteral("COMMIT"));
    return created ? Opening::Ready : notOursOr(Opening::Failed);
}

void CardRegistry::close()
{
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        if (db.isValid())
            db.close();
    }
    if (QSqlDatabase::contains(m_connection))
        QSqlDatabase::removeDatabase(m_connection);
    m_open = false;
    m_inSheet = false;
}

bool CardRegistry::setAside()
{
    // With its journals, so that no journal of the old file meets the new one.
    const QString aside
        = moveAside(filePath(), QStringLiteral("apartado"),
                    {QStringLiteral("-journal"), QStringLiteral("-wal"), QStringLiteral("-shm")});
    qCDebug(lcRegistry) << "the registry was not one of ours; set aside as" << aside;
    m_trouble = true; // the cards it held can no longer be checked
    return !aside.isEmpty();
}

void CardRegistry::fail(const char *what, const QString &error)
{
    qCDebug(lcRegistry) << "the registry failed to" << what << filePath() << error;
    m_trouble = true;
}

std::vector<qint64> CardRegistry::beginSheet(const std::vector<Card> &cards, const QDateTime &printedAt,
                                             ColourValue colour)
{
    endSheet(false);
    if (cards.empty() || !open())
        return {};
    const std::optional<Last> taken = reserve(static_cast<qint64>(cards.size()), 0);
    if (!taken)
        return {};
    std::vector<qint64> serials;
    for (qint64 i = 1; i <= static_cast<qint64>(cards.size()); ++i)
        serials.push_back(taken->serial + i);
    m_inSheet = true;
    m_sheetCards = cards;
    m_sheetPrintedAt = printedAt;
    m_sheetColour = colour;
    m_sheetFirst = serials.front();
    return serials;
}

std::optional<CardRegistry::Last> CardRegistry::last(QSqlQuery &query)
{
    if (!query.exec(QStringLiteral(
            "SELECT max((SELECT coalesce(max(last), 0) FROM serials), (SELECT coalesce(max(serial), 0) FROM "
            "cards)), max((SELECT coalesce(max(last_series), 0) FROM serials), (SELECT coalesce(max(series), "
            "0) "
            "FROM cards))"))
        || !query.next())
        return std::nullopt;
    Last taken{query.value(0).toLongLong(), query.value(1).toLongLong()};
    if (!m_settingsFile.isEmpty()) {
        const QSettings settings(m_settingsFile, QSettings::IniFormat);
        taken.serial = std::max(taken.serial, settings.value(lastSerialKey).toLongLong());
        taken.series = std::max(taken.series, settings.value(lastSeriesKey).toLongLong());
    }
    return taken;
}

std::optional<CardRegistry::Last> CardRegistry::reserve(qint64 cards, qint64 series)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    std::optional<Last> before;
    bool taken = query.exec(QStringLiteral("BEGIN IMMEDIATE")) && (before = last(query));
    if (taken) {
        const Last after{before->serial + cards, before->series + series};
        // The settings first: a count taken there and not in the database only leaves a gap.
        if (!m_settingsFile.isEmpty()) {
            QSettings settings(m_settingsFile, QSettings::IniFormat);
            settings.setValue(lastSerialKey, after.serial);
            if (series > 0)
                settings.setValue(lastSeriesKey, after.series);
            settings.sync();
            taken = settings.status() == QSettings::NoError;
        }
        taken = taken && query.exec(QStringLiteral("DELETE FROM serials"))
            && query.exec(
                QStringLiteral("INSERT INTO serials VALUES (%1, %2)").arg(after.serial).arg(after.series))
            && query.exec(QStringLiteral("COMMIT"));
    }
    if (!taken) {
        m_damaged = isDamage(query.lastError());
        fail("take serials",
             query.lastError().isValid() ? query.lastError().text() : QStringLiteral("no settings written"));
        query.exec(QStringLiteral("ROLLBACK"));
        return std::nullopt;
    }
    return before;
}

std::optional<qint64> CardRegistry::nextSerial()
{
    if (!open())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    const std::optional<Last> taken = last(query);
    if (!taken) {
        m_damaged = isDamage(query.lastError());
        fail("read", query.lastError().text());
        return std::nullopt;
    }
    return taken->serial + 1;
}

std::optional<CardRegistry::SeriesNumbers> CardRegistry::takeSeries(int count)
{
    if (count <= 0 || !open())
        return std::nullopt;
    const std::optional<Last> taken = reserve(qint64{seriesCards} * count, count);
    if (!taken)
        return std::nullopt;
    return SeriesNumbers{taken->series + 1, taken->serial + 1};
}

bool CardRegistry::keepSeries(const std::vector<NumberedSeries> &series, const QDateTime &printedAt,
                              ColourValue colour)
{
    std::vector<KeptCard> cards;
    cards.reserve(series.size() * seriesCards);
    for (const NumberedSeries &one : series) {
        for (std::size_t i = 0; i < seriesCards; ++i)
            cards.push_back({one.firstSerial + static_cast<qint64>(i), toCard(one.cards[i]), one.number});
    }
    return !cards.empty() && open() && keep(cards, printedAt, colour);
}

bool CardRegistry::endSheet(bool printed)
{
    if (!std::exchange(m_inSheet, false))
        return false;
    const std::vector<Card> cards = std::exchange(m_sheetCards, {});
    if (!printed)
        return false;
    std::vector<KeptCard> kept;
    kept.reserve(cards.size());
    qint64 serial = m_sheetFirst;
    for (const Card &card : cards)
        kept.push_back({serial++, card, 0});
    return keep(kept, m_sheetPrintedAt, m_sheetColour);
}

bool CardRegistry::keep(const std::vector<KeptCard> &cards, const QDateTime &printedAt, ColourValue colour)
{
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    bool kept = query.exec(QStringLiteral("BEGIN IMMEDIATE"))
        && query.prepare(QStringLiteral(
            "INSERT INTO cards (serial, printed_at, colour, cells, series) VALUES (?, ?, ?, ?, ?)"));
    const QString printedText = printedAt.toString(Qt::ISODate);
    for (auto card = cards.begin(); kept && card != cards.end(); ++card) {
        query.addBindValue(card->serial);
        query.addBindValue(printedText);
        query.addBindValue(static_cast<qint64>(colour));
        query.addBindValue(gridText(card->card));
        // A card of a sheet is in no series.
        query.addBindValue(card->series ? QVariant(card->series) : QVariant());
        kept = query.exec();
    }
    kept = kept && query.exec(QStringLiteral("COMMIT"));
    if (!kept) {
        m_damaged = isDamage(query.lastError());
        fail("keep cards", query.lastError().text());
        query.exec(QStringLiteral("ROLLBACK"));
    }
    return kept;
}

std::optional<PrintedCard> CardRegistry::find(qint64 serial)
{
    if (!open())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.prepare(QStringLiteral("SELECT printed_at, colour, cells, series FROM cards WHERE serial = ?"));
    query.addBindValue(serial);
    if (!query.exec()) {
        m_damaged = isDamage(query.lastError());
        fail("read", query.lastError().text());
        return std::nullopt;
    }
    if (!query.next())
        return std::nullopt;
    const std::optional<Card> cells = gridFromText(query.value(2).toString());
    if (!cells) {
        qCDebug(lcRegistry) << "card" << serial << "has cells that are no card:" << query.value(2).toString();
        return std::nullopt;
    }
    return PrintedCard{serial, QDateTime::fromString(query.value(0).toString(), Qt::ISODate),
                       static_cast<ColourValue>(query.value(1).toLongLong()), *cells,
                       query.value(3).toLongLong()};
}

bool CardRegistry::takeTrouble()
{
    return std::exchange(m_trouble, false);
}

namespace {

// The numbers of a card as the registry writes them, "3,,21,...": quicker than taking the text apart into
// strings, for a hall's hundred thousand cards. False unless 27 fields of blanks or numbers of their column.
bool numbersFromText(const QString &text, std::array<int, cellsPerCard> &cells)
{
    std::size_t k = 0;
    int value = 0;
    bool digits = false;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const QChar c = i < text.size() ? text[i] : QLatin1Char(',');
        if (c.isDigit() && value < 100) {
            value = value * 10 + c.digitValue();
            digits = true;
        } else if (c == QLatin1Char(',') && k < cells.size()) {
            const ColumnRange range = columnRange(cellColumn(static_cast<int>(k) + 1));
            if (digits && (value < range.lo || value > range.hi))
                return false;
            cells[k++] = digits ? value : 0;
            value = 0;
            digits = false;
        } else {
            return false;
        }
    }
    return k == cells.size();
}

} // namespace

std::optional<qint64> CardRegistry::firstMissing(const std::vector<SerialRange> &ranges)
{
    if (!open())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    for (const SerialRange &range : ranges) {
        query.prepare(QStringLiteral("SELECT count(*) FROM cards WHERE serial BETWEEN ? AND ?"));
        query.addBindValue(range.first);
        query.addBindValue(range.last);
        if (!query.exec() || !query.next())
            return std::nullopt;
        if (query.value(0).toLongLong() == range.last - range.first + 1)
            continue;
        // The first gap: the range's first serial, or the first card followed by none.
        query.prepare(QStringLiteral(
            "SELECT CASE WHEN NOT EXISTS (SELECT 1 FROM cards WHERE serial = :first) THEN :first ELSE "
            "(SELECT min(serial) + 1 FROM cards c WHERE serial BETWEEN :first AND :last AND "
            "NOT EXISTS (SELECT 1 FROM cards d WHERE d.serial = c.serial + 1)) END"));
        query.bindValue(QStringLiteral(":first"), range.first);
        query.bindValue(QStringLiteral(":last"), range.last);
        if (!query.exec() || !query.next())
            return std::nullopt;
        return query.value(0).toLongLong();
    }
    return std::nullopt;
}

std::optional<std::vector<CardInPlay>> CardRegistry::cardsIn(const std::vector<SerialRange> &ranges,
                                                             qint64 *missing)
{
    if (!open())
        return std::nullopt;
    QSqlQuery query(QSqlDatabase::database(m_connection, false));
    query.setForwardOnly(true);
    std::vector<CardInPlay> cards;
    for (const SerialRange &range : ranges) {
        query.prepare(
            QStringLiteral("SELECT serial, cells FROM cards WHERE serial BETWEEN ? AND ? ORDER BY serial"));
        query.addBindValue(range.first);
        query.addBindValue(range.last);
        if (!query.exec()) {
            m_damaged = isDamage(query.lastError());
            fail("read", query.lastError().text());
            return std::nullopt;
        }
        qint64 expected = range.first;
        while (query.next()) {
            CardInPlay card{query.value(0).toLongLong(), {}};
            // A card that cannot be read is as good as missing.
            if (card.serial != expected || !numbersFromText(query.value(1).toString(), card.cells))
                break;
            cards.push_back(card);
            ++expected;
        }
        if (expected <= range.last) {
            if (missing)
                *missing = expected;
            return std::nullopt;
        }
    }
    return cards;
}

} // namespace cantabola
