// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/PlayControl.h"

#include "cards/CardRegistry.h"
#include "game/CardsInPlayDialog.h"
#include "game/ClaimCheck.h"
#include "game/Game.h"
#include "game/GameStore.h"
#include "game/PrizeBox.h"
#include "mainwindow/FrmBingo.h"
#include "platform/AppInfo.h"
#include "room/RoomScreen.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSettings>

namespace cantabola {

namespace {

const QString twoLinesKey = QStringLiteral("Premios/DosLineas");
const QString stopKey = QStringLiteral("Premios/PararAlHaberPremio");

bool setting(const Platform &platform, const QString &key, bool otherwise)
{
    if (platform.settingsFile.isEmpty())
        return otherwise;
    return QSettings(platform.settingsFile, QSettings::IniFormat).value(key, otherwise).toBool();
}

void remember(const Platform &platform, const QString &key, bool value)
{
    if (!platform.settingsFile.isEmpty())
        QSettings(platform.settingsFile, QSettings::IniFormat).setValue(key, value);
}

} // namespace

PlayControl::PlayControl(Game &game, GameStore &store, CardRegistry &registry, FrmBingo &window,
                         Platform &platform)
    : m_game(game)
    , m_store(store)
    , m_registry(registry)
    , m_window(window)
    , m_platform(platform)
    , m_round(game)
{
    m_round.setTwoLines(setting(platform, twoLinesKey, false));
    m_stopOnPrize = setting(platform, stopKey, true);
    connect(&m_round, &PrizeRound::prizeWon, this, &PlayControl::won);
    connect(&m_round, &PrizeRound::prizeWithdrawn, this, &PlayControl::withdrawn);
    connect(&m_round, &PrizeRound::playingChanged, this, &PlayControl::playingChanged);
    playingChanged();
}

PlayControl::~PlayControl() = default;

void PlayControl::choose()
{
    CardsInPlayDialog dialog(
        m_serials, m_round.twoLines(), m_stopOnPrize,
        [this](const std::vector<SerialRange> &ranges) { return m_registry.firstMissing(ranges); },
        &m_window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    m_stopOnPrize = dialog.stopOnPrize();
    remember(m_platform, stopKey, m_stopOnPrize);
    remember(m_platform, twoLinesKey, dialog.twoLines());
    const std::vector<SerialRange> ranges = dialog.ranges();
    std::optional<std::vector<CardInPlay>> cards = std::vector<CardInPlay>{};
    qint64 missing = 0;
    if (!ranges.empty())
        cards = m_registry.cardsIn(ranges, &missing);
    if (!cards) {
        // The cards in play stay as they were.
        const QString why
            = missing ? QStringLiteral("No hay ningún cartón con el Nº %1.").arg(missing) : unreadable;
        m_platform.messages.show(&m_window, {why, app::title, MessageIcon::Information, MessageButtons::Ok});
        return;
    }
    m_serials = serialRangesText(ranges);
    m_round.setTwoLines(dialog.twoLines());
    m_round.setCards(CardsInPlay(std::move(*cards)));
    keep();
}

void PlayControl::resume(const SavedGame &saved)
{
    std::optional<std::vector<CardInPlay>> cards;
    if (saved.play)
        cards = m_registry.cardsIn(parseSerialRanges(saved.play->cards).ranges);
    if (saved.playDamaged || (saved.play && !cards)) {
        m_platform.messages.show(&m_window,
                                 {resumedWithout, app::title, MessageIcon::Information, MessageButtons::Ok});
        keep(); // said once: the game is kept without them
        return;
    }
    if (!saved.play)
        return;
    m_serials = saved.play->cards;
    m_round.setTwoLines(saved.play->twoLines);
    m_round.setCards(CardsInPlay(std::move(*cards)));
    m_round.restore(saved.play->prizesPaid, saved.play->passedOver);
    keep();
}

void PlayControl::setRoom(RoomScreen *room)
{
    m_room = room;
    playingChanged();
    if (!m_round.announced().empty())
        showWinnersInRoom();
}

void PlayControl::won()
{
    // The calling stops as "Parar juego" stops it; the ball is shown and said as usual.
    if (m_stopOnPrize && m_game.runState() == RunState::Calling)
        m_game.startOrStop();
    // Nothing kept changes with an announcement (the ball is kept already; the round changes when answered).
    showWinnersInRoom();
    emit prizesChanged();
    // The box comes from the event loop, once the ball has been painted and its announcement started.
    QCoreApplication::postEvent(this, new QEvent(QEvent::User));
}

void PlayControl::customEvent(QEvent * /*event*/)
{
    showBox();
}

void PlayControl::showBox()
{
    if (m_round.announced().empty())
        return;
    if (!m_box) {
        m_box = new PrizeBox(m_round, &m_window);
        const auto answered = [this] {
            if (m_room && m_round.announced().empty())
                m_room->hideWinners();
            keep();
            emit prizesChanged();
        };
        connect(m_box, &QDialog::accepted, this, answered);
        connect(m_box, &QDialog::rejected, this, answered);
    }
    m_box->refresh();
    m_box->show();
    m_box->raise();
    m_box->activateWindow();
}

void PlayControl::withdrawn()
{
    if (m_box)
        m_box->hide();
    if (m_room)
        m_room->hideWinners();
    keep();
    emit prizesChanged();
}

QString PlayControl::playingName() const
{
    const std::optional<Prize> playing = m_round.playing();
    return playing ? prizeName(*playing) : QString();
}

QStringList PlayControl::announcedTexts() const
{
    QStringList texts;
    for (const PrizeWin &win : m_round.announced())
        texts << prizeText(win);
    return texts;
}

void PlayControl::playingChanged()
{
    const std::optional<Prize> playing = m_round.playing();
    const QString line = playing ? QStringLiteral("Jugamos a: %1").arg(prizeName(*playing)) : QString();
    if (m_room)
        m_room->setPlaying(m_round.active() ? line : QString());
    m_window.setCardsInPlayStatus(
        m_round.active() ? CardsInPlayDialog::countText(static_cast<qint64>(m_round.cards().size()))
                + QLatin1Char(' ') + line
                         : QString());
    emit prizesChanged();
}

void PlayControl::keep()
{
    if (m_round.active())
        m_store.setPlay(SavedPlay{m_serials, m_round.twoLines(), m_round.paidCount(), m_round.passedOver()});
    else
        m_store.setPlay(std::nullopt);
    m_store.keep(m_game.drawOrder(), m_game.drawTimes());
}

void PlayControl::showWinnersInRoom()
{
    if (!m_room)
        return;
    std::vector<CardCheck> winners;
    for (const PrizeWin &win : m_round.announced()) {
        const CardInPlay &played = m_round.cards().card(win.card);
        CardCheck check;
        check.serial = win.serial;
        check.card = Card();
        check.summary = prizeText(win);
        for (int k = 1; k <= cellsPerCard; ++k) {
            const int n = played.cells[static_cast<std::size_t>(k - 1)];
            check.card->setNumber(k, n);
            check.drawn[static_cast<std::size_t>(k - 1)] = n != 0 && m_game.BolaSacada(n);
        }
        winners.push_back(check);
    }
    m_room->showWinners(winners);
}

} // namespace cantabola
