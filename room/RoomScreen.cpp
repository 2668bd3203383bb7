// SPDX-License-Identifier: GPL-3.0-or-later
#include "room/RoomScreen.h"

#include "game/Game.h"
#include "platform/AniGif.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>

namespace cantabola {

namespace {
const QColor background = Qt::black;
const QColor text = Qt::white;
const QColor drawnFill(0xFF, 0xD2, 0x00); // a drawn number is a filled ball, and bold
const QColor notDrawn(0x70, 0x70, 0x70);
const QColor ballFill(0xF4, 0xEC, 0xD8);
const QColor ballNumber(0x80, 0x00, 0x00);
// The banners are made 414 x 57 pixels.
constexpr double bannerAspect = 414.0 / 57.0;
} // namespace

RoomScreen::RoomScreen(const Game &game, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_game(game)
    , m_banner(new AniGif(this))
{
    setObjectName(QStringLiteral("RoomScreen"));
    setWindowTitle(QStringLiteral("Cantabola — Sala"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_banner->setScaledContents(true);
    m_banner->setAttribute(Qt::WA_TransparentForMouseEvents);
    // The number is on the room's screen before it is announced, as on the operator's.
    connect(&game, &Game::ballDrawn, this, [this] {
        follow();
        repaint();
    });
    const auto followLater = [this] {
        follow();
        update();
    };
    connect(&game, &Game::ballTakenBack, this, followLater);
    connect(&game, &Game::drumReset, this, followLater);
    connect(&game, &Game::gameRestored, this, followLater);
    follow();
    resize(800, 600);
}

void RoomScreen::follow()
{
    m_view = roomView(m_game.drawOrder());
}

void RoomScreen::showForRoom(const QWidget &operatorWindow)
{
    QScreen *operatorScreen = operatorWindow.screen();
    QScreen *target = operatorScreen;
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen != operatorScreen) {
            target = screen;
            break;
        }
    }
    winId(); // the native window, to be put on its screen before it shows
    windowHandle()->setScreen(target);
    setGeometry(target->geometry());
    showFullScreen();
    raise();
}

void RoomScreen::showBanner(const QString &picturePath)
{
    m_banner->loadFile(picturePath);
}

void RoomScreen::showClaim(const ClaimVerdict &verdict)
{
    m_claim = verdict;
    update();
}

void RoomScreen::showCardCheck(const CardCheck &check)
{
    m_card = check;
    update();
}

void RoomScreen::hideClaim()
{
    m_claim.reset();
    m_card.reset();
    update();
}

void RoomScreen::setPlaying(const QString &line)
{
    m_playing = line;
    update();
}

void RoomScreen::showWinners(const std::vector<CardCheck> &winners)
{
    m_winners = winners;
    update();
}

void RoomScreen::hideWinners()
{
    m_winners.clear();
    update();
}

QStringList RoomScreen::winnersShown() const
{
    QStringList titles;
    for (const CardCheck &winner : m_winners)
        titles << winner.summary;
    return titles;
}

void RoomScreen::drawCard(QPainter &painter, const QRectF &area, double h, const CardCheck &card,
                          const QString &title)
{
    // The card as printed: 3 rows of 9, the cells without a number dark.
    drawText(painter, QRectF(area.left(), area.top(), area.width(), 0.08 * h), title, 0.06 * h, true, text);
    if (!card.card)
        return;
    const double side = std::min(area.width() / columnsPerCard, 0.12 * h);
    for (int row = 1; row <= rowsPerCard; ++row) {
        for (int column = 1; column <= columnsPerCard; ++column) {
            const QRectF box(area.left() + (column - 1) * side, area.top() + 0.1 * h + (row - 1) * side, side,
                             side);
            const int number = card.card->cell(row, column).number;
            const bool drawn = card.drawn.at(static_cast<std::size_t>(cellAt(row, column) - 1));
            painter.setPen(QPen(notDrawn, std::max(1.0, 0.002 * h)));
            painter.setBrush(number == 0 ? QBrush(QColor(0x30, 0x30, 0x30))
                                 : drawn ? QBrush(drawnFill)
                                         : QBrush(background));
            painter.drawRect(box);
            if (number != 0)
                drawText(painter, box, QString::number(number), 0.45 * side, drawn, drawn ? Qt::black : text);
        }
    }
}

void RoomScreen::showBoardAddress(const QString &address)
{
    m_boardAddress = address;
    m_boardCode = address.isEmpty() ? QrCode() : qrCode(address);
    resizeEvent(nullptr);
    update();
}

void RoomScreen::drawBoardAddress(QPainter &painter, const QRectF &area)
{
    // The code on white with its quiet zone of four modules, square to the pixel, so a phone reads it
    // from across the hall.
    const int modules = m_boardCode.size + 8;
    const double module = std::floor(area.height() / modules);
    if (m_boardCode.size == 0 || module < 1)
        return;
    const QRectF code(area.left(), area.bottom() - module * modules, module * modules, module * modules);
    painter.fillRect(code, Qt::white);
    for (int y = 0; y < m_boardCode.size; ++y) {
        for (int x = 0; x < m_boardCode.size; ++x) {
            if (m_boardCode.isDark(x, y))
                painter.fillRect(
                    QRectF(code.left() + (x + 4) * module, code.top() + (y + 4) * module, module, module),
                    Qt::black);
        }
    }
    const QRectF line(code.right() + 0.2 * code.width(), area.top(),
                      area.right() - code.right() - 0.2 * code.width(), area.height());
    drawText(painter, line, QStringLiteral("Siga la partida en ") + m_boardAddress,
             std::min(0.22 * area.height(), line.width() / 11), true, text);
}

void RoomScreen::resizeEvent(QResizeEvent *event)
{
    if (event)
        QWidget::resizeEvent(event);
    const double h = height();
    const double bannerHeight = 0.12 * h;
    double bannerWidth = std::min(bannerHeight * bannerAspect, width() - 0.04 * h);
    double bannerLeft = (width() - bannerWidth) / 2;
    if (!m_boardAddress.isEmpty()) {
        // The address takes the left of the bottom strip, the banner its right.
        bannerWidth = std::min(bannerWidth, 0.5 * width());
        bannerLeft = width() - 0.02 * h - bannerWidth;
    }
    m_banner->setGeometry(
        QRectF(bannerLeft, h - bannerHeight - 0.02 * h, bannerWidth, bannerHeight).toRect());
}

void RoomScreen::drawText(QPainter &painter, const QRectF &box, const QString &caption, double pixels,
                          bool bold, const QColor &colour)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(std::max(1, static_cast<int>(pixels)));
    font.setBold(bold);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, Qt::AlignCenter | Qt::TextWordWrap, caption);
    m_smallestText = m_smallestText ? std::min(m_smallestText, font.pixelSize()) : font.pixelSize();
}

void RoomScreen::paintEvent(QPaintEvent * /*event*/)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), background);
    m_smallestText = 0;
    const double w = width();
    const double h = height();
    const double margin = 0.02 * h;
    // The left part holds the ball whole at 60 % of the height, so that its number is over 40 % of it on a
    // squarer screen too; the board takes the rest.
    const double left = std::min(std::max(0.42 * w, 0.6 * h + 2 * margin), 0.6 * w);
    const double bottom = h - 0.12 * h - 2 * margin; // above the banner

    // The number just drawn, very large on a ball.
    const double ball = std::min(0.6 * h, left - 2 * margin);
    const QRectF ballBox(margin + (left - 2 * margin - ball) / 2, margin, ball, ball);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ballFill);
    painter.drawEllipse(ballBox);
    m_numberText = 0;
    if (m_view.current) {
        drawText(painter, ballBox, QString::number(m_view.current), std::min(0.42 * h, 0.68 * ball), true,
                 ballNumber);
        m_numberText = painter.font().pixelSize();
    }
    drawText(painter, QRectF(0, ballBox.bottom(), left, 0.08 * h),
             QStringLiteral("Bola %1 de 90").arg(m_view.count), 0.055 * h, true, text);

    // The five before it, newest first.
    const double small = std::min(left / 5.5, 0.13 * h);
    const double rowTop = std::min(ballBox.bottom() + 0.09 * h, bottom - small);
    for (std::size_t i = 0; i < m_view.previous.size(); ++i) {
        const QRectF box(margin + static_cast<double>(i) * small * 1.08, rowTop, small, small);
        painter.setPen(Qt::NoPen);
        painter.setBrush(drawnFill);
        painter.drawEllipse(box);
        drawText(painter, box, QString::number(m_view.previous[i]), 0.48 * small, true, Qt::black);
    }

    // The prize being played, under the board, while cards are in play.
    const double playingHeight = m_playing.isEmpty() ? 0 : 0.07 * h;
    if (!m_playing.isEmpty())
        drawText(painter, QRectF(left + margin, bottom - playingHeight, w - left - 2 * margin, playingHeight),
                 m_playing, 0.05 * h, true, drawnFill);

    // The board by tens, or the claim being checked in its place.
    const QRectF board(left + margin, margin, w - left - 2 * margin, bottom - margin - playingHeight);
    const double cell = std::min(board.width() / 10, board.height() / 9);
    if (!m_winners.empty()) {
        // Two cards at most as grids, one under the other; a longer tie is listed by its titles.
        const std::size_t grids = std::min<std::size_t>(m_winners.size(), 2);
        const double slot = board.height() / static_cast<double>(grids);
        const double size = std::min(h, slot / 0.5);
        for (std::size_t i = 0; i < grids; ++i)
            drawCard(painter,
                     QRectF(board.left(), board.top() + static_cast<double>(i) * slot, board.width(), slot),
                     size, m_winners[i], m_winners[i].summary);
        for (std::size_t i = grids; i < m_winners.size(); ++i)
            drawText(painter,
                     QRectF(board.left(),
                            board.bottom() - static_cast<double>(m_winners.size() - i) * 0.06 * h,
                            board.width(), 0.06 * h),
                     m_winners[i].summary, 0.045 * h, true, text);
    } else if (!m_claim && !(m_card && m_card->serial != 0)) {
        for (int n = 1; n <= 90; ++n) {
            const int row = (n - 1) / 10; // by tens
            const int column = (n - 1) % 10;
            const QRectF box(board.left() + column * cell, board.top() + row * cell, cell, cell);
            const bool drawn = m_view.drawn.at(static_cast<std::size_t>(n));
            if (drawn) {
                painter.setPen(Qt::NoPen);
                painter.setBrush(drawnFill);
                painter.drawEllipse(box.adjusted(cell * 0.04, cell * 0.04, -cell * 0.04, -cell * 0.04));
            }
            drawText(painter, box, QString::number(n), 0.55 * cell, drawn, drawn ? Qt::black : notDrawn);
        }
    } else if (m_card && m_card->serial != 0) {
        drawCard(painter, board, h, *m_card, QStringLiteral("Cartón Nº %1").arg(m_card->serial));
        drawText(painter, QRectF(board.left(), bottom - 0.2 * h, board.width(), 0.2 * h), m_card->summary,
                 0.05 * h, true, text);
    } else {
        drawText(painter, QRectF(board.left(), board.top(), board.width(), 0.08 * h),
                 QStringLiteral("Comprobando cartón"), 0.06 * h, true, text);
        const double claimCell = std::min(board.width() / 8, 0.11 * h);
        for (std::size_t i = 0; i < m_claim->numbers.size(); ++i) {
            const CheckedNumber &checked = m_claim->numbers[i];
            const std::size_t row = i / 8; // eight to a row
            const QRectF box(board.left() + static_cast<double>(i % 8) * claimCell,
                             board.top() + 0.1 * h + static_cast<double>(row) * claimCell, claimCell,
                             claimCell);
            painter.setPen(QPen(checked.drawn ? drawnFill : notDrawn, std::max(2.0, 0.004 * h)));
            painter.setBrush(checked.drawn ? QBrush(drawnFill) : Qt::NoBrush);
            painter.drawEllipse(
                box.adjusted(claimCell * 0.05, claimCell * 0.05, -claimCell * 0.05, -claimCell * 0.05));
            drawText(painter, box, QString::number(checked.number), 0.42 * claimCell, checked.drawn,
                     checked.drawn ? Qt::black : text);
        }
        drawText(painter, QRectF(board.left(), bottom - 0.2 * h, board.width(), 0.2 * h), m_claim->summary,
                 0.05 * h, true, text);
    }
    if (!m_boardAddress.isEmpty())
        drawBoardAddress(
            painter, QRectF(margin, bottom + margin, m_banner->x() - 2 * margin, h - bottom - 2 * margin));
    m_painted = m_view;
}

void RoomScreen::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && isFullScreen())
        showNormal();
    else if (event->key() == Qt::Key_F11)
        isFullScreen() ? showNormal() : showFullScreen();
    else
        QWidget::keyPressEvent(event);
}

void RoomScreen::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}

} // namespace cantabola
