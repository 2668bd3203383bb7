// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/GameStore.h"

#include "cards/SerialRanges.h"
#include "platform/Logging.h"
#include "platform/MoveAside.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLockFile>
#include <QSaveFile>
#include <set>

namespace cantabola {

namespace {
const QString formatName = QStringLiteral("cantabola-partida");
constexpr int formatVersion = 1;
// A game of 90 balls is a few kilobytes; anything much larger is not ours.
constexpr qint64 largestFile = qint64(64) * 1024;
// The cards in play as saved; nullopt when they are not what this program writes.
std::optional<SavedPlay> playFrom(const QJsonObject &play)
{
    SavedPlay read;
    read.cards = play.value(QStringLiteral("cards")).toString();
    read.twoLines = play.value(QStringLiteral("twoLines")).toBool();
    read.prizesPaid = play.value(QStringLiteral("paid")).toInt(-1);
    const SerialRanges ranges = parseSerialRanges(read.cards);
    bool ours = !ranges.ranges.empty() && ranges.invalid.isEmpty() && read.prizesPaid >= 0
        && read.prizesPaid <= 3 && play.value(QStringLiteral("passed")).isArray();
    for (const QJsonValue serial : play.value(QStringLiteral("passed")).toArray()) {
        ours = ours && serial.isDouble() && serial.toDouble() >= 1;
        read.passedOver.push_back(static_cast<qint64>(serial.toDouble()));
    }
    if (!ours)
        return std::nullopt;
    return read;
}

} // namespace

GameStore::GameStore(QString folder)
    : m_folder(std::move(folder))
{
}

GameStore::~GameStore() = default;

bool GameStore::claim()
{
    if (m_claim)
        return !m_heldElsewhere;
    QDir().mkpath(m_folder);
    m_claim = std::make_unique<QLockFile>(filePath() + QStringLiteral(".lock"));
    // A running copy keeps it however long it runs; a copy that died leaves it stale at once.
    m_claim->setStaleLockTime(0);
    // A folder that cannot be written only loses the saving, as it would without a lock.
    m_heldElsewhere = !m_claim->tryLock(0) && m_claim->error() == QLockFile::LockFailedError;
    if (m_heldElsewhere)
        qCDebug(lcGame) << "another copy of the program keeps the game in" << m_folder;
    return !m_heldElsewhere;
}

QString GameStore::filePath() const
{
    return QDir(m_folder).filePath(fileName);
}

bool GameStore::save(const std::vector<int> &order, const std::vector<QDateTime> &times) const
{
    if (m_heldElsewhere || m_cannotSetAside)
        return false;
    QJsonArray balls;
    for (std::size_t i = 0; i < order.size() && i < times.size(); ++i)
        balls.append(QJsonObject{{QStringLiteral("n"), order[i]},
                                 {QStringLiteral("at"), times[i].toString(Qt::ISODateWithMs)}});
    QJsonObject game{{QStringLiteral("format"), formatName},
                     {QStringLiteral("version"), formatVersion},
                     {QStringLiteral("balls"), balls}};
    if (m_play) {
        QJsonArray passed;
        for (const qint64 serial : m_play->passedOver)
            passed.append(serial);
        game.insert(QStringLiteral("play"),
                    QJsonObject{{QStringLiteral("cards"), m_play->cards},
                                {QStringLiteral("twoLines"), m_play->twoLines},
                                {QStringLiteral("paid"), m_play->prizesPaid},
                                {QStringLiteral("passed"), passed}});
    }
    QSaveFile file(filePath());
    const bool saved = QDir().mkpath(m_folder) && file.open(QIODevice::WriteOnly)
        && file.write(QJsonDocument(game).toJson(QJsonDocument::Compact)) >= 0 && file.commit();
    if (!saved)
        qCDebug(lcGame) << "the game could not be saved in" << filePath() << file.errorString();
    return saved;
}

std::optional<SavedGame> GameStore::load() const
{
    const QFileInfo info(filePath());
    if (m_heldElsewhere || !info.exists())
        return std::nullopt;
    QFile file(filePath());
    const QByteArray bytes = info.isFile() && info.size() <= largestFile && file.open(QIODevice::ReadOnly)
        ? file.read(largestFile)
        : QByteArray();
    const QJsonObject game = QJsonDocument::fromJson(bytes).object();
    const QJsonArray balls = game.value(QStringLiteral("balls")).toArray();
    SavedGame saved;
    std::set<int> seen;
    bool ours = game.value(QStringLiteral("format")).toString() == formatName
        && game.value(QStringLiteral("version")).toInt() == formatVersion && balls.size() <= 90;
    for (qsizetype i = 0; ours && i < balls.size(); ++i) {
        const QJsonObject ball = balls[i].toObject();
        const int n = ball.value(QStringLiteral("n")).toInt();
        const QDateTime at
            = QDateTime::fromString(ball.value(QStringLiteral("at")).toString(), Qt::ISODateWithMs);
        ours = n >= 1 && n <= 90 && seen.insert(n).second && at.isValid();
        saved.order.push_back(n);
        saved.times.push_back(at);
    }
    if (!ours) {
        setAside();
        return std::nullopt;
    }
    if (game.contains(QStringLiteral("play")))
        saved.play = playFrom(game.value(QStringLiteral("play")).toObject());
    saved.playDamaged = game.contains(QStringLiteral("play")) && !saved.play;
    if (saved.order.empty() && !saved.play)
        return std::nullopt;
    return saved;
}

void GameStore::setAside() const
{
    const QString aside = moveAside(filePath(), QStringLiteral("apartada"));
    // What cannot be set aside is not written over either: the game goes on unsaved.
    m_cannotSetAside = aside.isEmpty();
    qCDebug(lcGame) << "the saved game was not one of ours; set aside as" << aside;
}

} // namespace cantabola
