// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Cantabola.h"

#include "app/PlayControl.h"

#include "about/FrmAbout.h"
#include "cards/FrmCartones.h"
#include "cards/SeriesJob.h"
#include "game/CalledBallsWindow.h"
#include "game/ClaimDialog.h"
#include "mainwindow/FrmBingo.h"
#include "platform/AppInfo.h"
#include "room/RoomScreen.h"

#include "platform/Fonts.h"

#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLibraryInfo>

#include <utility>

namespace cantabola {

ApplicationSetup::ApplicationSetup()
{
    if (m_qtSpanish.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&m_qtSpanish);
    installFontSubstitutions();
}

void switchOffToolkitScaling()
{
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
}

Cantabola::Cantabola(Platform &platform)
    : m_platform(platform)
    , m_store(platform.dataFolder)
    , m_game({platform.clock, platform.random, platform.waiter, platform.sound, &m_store})
    , m_registry(platform.dataFolder, platform.settingsFile)
    , m_board(
          m_game, [this](qint64 serial) { return m_registry.find(serial); },
          platform.programFolder + QLatin1Char('/') + QLatin1String(BoardLibraryFileName))
{
    m_window = std::make_unique<FrmBingo>(platform, m_scale, m_game);
    QObject::connect(m_window.get(), &FrmBingo::cardWindowRequested, m_window.get(),
                     [this] { cardWindow().showModal(); });
    QObject::connect(m_window.get(), &FrmBingo::aboutRequested, m_window.get(),
                     [this] { showAboutWindow(*m_window); });
    QObject::connect(m_window.get(), &FrmBingo::claimCheckRequested, m_window.get(),
                     [this] { checkClaim(); });
    QObject::connect(m_window.get(), &FrmBingo::seriesPrintRequested, m_window.get(),
                     [this] { printSeriesJob(m_platform, m_registry, m_window.get()); });
    QObject::connect(m_window.get(), &FrmBingo::ballsCalledRequested, m_window.get(),
                     [this] { showBallsCalled(); });
    QObject::connect(m_window.get(), &FrmBingo::roomScreenToggled, m_window.get(),
                     [this](bool shown) { showRoomScreen(shown); });
    m_play = std::make_unique<PlayControl>(m_game, m_store, m_registry, *m_window, platform);
    QObject::connect(m_window.get(), &FrmBingo::cardsInPlayRequested, m_window.get(),
                     [this] { m_play->choose(); });
    // The phones follow the prizes too.
    QObject::connect(m_play.get(), &PlayControl::prizesChanged, &m_board,
                     [this] { m_board.showPrize(m_play->playingName(), m_play->announcedTexts()); });
    QObject::connect(m_window.get(), &FrmBingo::networkBoardToggled, m_window.get(),
                     [this](bool on) { serveBoard(on); });
}

Cantabola::~Cantabola() = default;

FrmCartones &Cantabola::cardWindow()
{
    if (!m_cards)
        m_cards = new FrmCartones(*m_window, m_registry);
    return *m_cards;
}

void Cantabola::showBallsCalled()
{
    if (!m_ballsCalled)
        m_ballsCalled = new CalledBallsWindow(m_game, m_platform, m_window.get());
    m_ballsCalled->show();
    m_ballsCalled->raise();
    m_ballsCalled->activateWindow();
}

RoomScreen *Cantabola::roomScreen()
{
    return m_room;
}

void Cantabola::showRoomScreen(bool shown)
{
    if (!shown) {
        if (m_room)
            m_room->close();
        return;
    }
    if (m_room)
        return;
    m_room = new RoomScreen(m_game, m_window.get());
    m_room->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(m_room, &RoomScreen::closed, m_window.get(),
                     [this] { m_window->setRoomScreenChecked(false); });
    QObject::connect(m_window.get(), &FrmBingo::bannerChanged, m_room, &RoomScreen::showBanner);
    m_play->setRoom(m_room);
    m_room->showBoardAddress(m_board.isListening() ? m_board.address() : QString());
    m_board.followGameLast();
    m_room->showForRoom(*m_window);
}

void Cantabola::checkClaim()
{
    ClaimDialog dialog(
        m_game, [this](qint64 serial) { return m_registry.find(serial); }, m_window->cardsNumbered(),
        m_window.get());
    // What went wrong with the registry since the last check, said once, before its numbers are relied on.
    if (m_registry.takeTrouble())
        m_platform.messages.show(m_window.get(),
                                 {registryTrouble, app::title, MessageIcon::Information, MessageButtons::Ok});
    // The hall watches the check.
    if (m_room) {
        QObject::connect(&dialog, &ClaimDialog::checked, m_room, &RoomScreen::showClaim);
        QObject::connect(&dialog, &ClaimDialog::cardChecked, m_room, &RoomScreen::showCardCheck);
        m_room->showClaim(dialog.verdict());
    }
    dialog.exec();
    if (m_room)
        m_room->hideClaim();
}

bool Cantabola::start()
{
    if (!m_window->Load())
        return false;
    // Claiming the folder's game writes a lock and waits for the disk to hold it, which takes milliseconds.
    // With a game to offer the claim comes first, as it decides whether the game is ours to offer; with none
    // it waits until the window has been painted, or until the first change to save, if that comes sooner.
    if (QFileInfo::exists(m_store.filePath())) {
        m_store.claim();
        offerResume();
    } else {
        afterFirstPaint([this] { m_store.claim(); });
    }
    if (m_window->networkBoardChecked())
        serveBoard(true);
    return true;
}

void Cantabola::serveBoard(bool on)
{
    if (!on)
        m_board.stop();
    else if (!m_board.start())
        m_platform.messages.show(
            m_window.get(),
            {m_board.libraryMissing()
                 ? boardLibraryMissing.arg(QLatin1String(BoardLibraryFileName))
                 : boardPortsTaken.arg(PlayersBoard::firstPort).arg(PlayersBoard::lastPort),
             app::title, MessageIcon::Information, MessageButtons::Ok});
    const QString address = m_board.isListening() ? m_board.address() : QString();
    m_window->showNetworkBoard(address);
    if (m_room)
        m_room->showBoardAddress(address);
}

void Cantabola::offerResume()
{
    const std::optional<SavedGame> saved = m_store.load();
    if (!saved)
        return;
    // Cards chosen before the first ball come back without a question.
    if (saved->order.empty()) {
        m_play->resume(*saved);
        return;
    }
    const MessageAnswer answer = m_platform.messages.show(
        m_window.get(),
        {resumeQuestion(saved->order.size()), app::title, MessageIcon::Question, MessageButtons::YesNo});
    if (answer == MessageAnswer::Yes) {
        m_game.restore(saved->order, saved->times);
        m_play->resume(*saved);
    } else
        m_store.save({}, {});
}

namespace {

// Watches the window's inner area for its first paint event, then runs its action from the event loop once
// that paint is over, and goes.
class FirstPaintWatch : public QObject
{
public:
    FirstPaintWatch(QWidget *area, std::function<void()> action)
        : QObject(area)
        , m_action(std::move(action))
    {
        area->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            watched->removeEventFilter(this);
            // Comes back through the event loop, once the paint is over.
            QCoreApplication::postEvent(this, new QEvent(QEvent::User));
        }
        return false;
    }

    void customEvent(QEvent * /*event*/) override
    {
        m_action();
        deleteLater();
    }

private:
    std::function<void()> m_action;
};

} // namespace

void Cantabola::afterFirstPaint(std::function<void()> action)
{
    new FirstPaintWatch(m_window->centralWidget(), std::move(action));
}

} // namespace cantabola
