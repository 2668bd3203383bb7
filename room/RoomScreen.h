// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The room's screen: the game as a hall or a family sees it on a projector or a television, full screen on
// the screen the operator is not using. Everything is drawn in proportion to the window, so it reads from
// 800 x 600 up to 4K: the number just drawn very large on a ball, the five before it, the board of 90 by
// tens, the count, and the sponsor banner of the main window. While a claim is checked, the room watches the
// check.

#include "game/ClaimCheck.h"
#include "network/QrCode.h"
#include "room/RoomView.h"

#include <QWidget>
#include <optional>

namespace cantabola {

class AniGif;
class Game;

class RoomScreen : public QWidget
{
    Q_OBJECT

public:
    explicit RoomScreen(const Game &game, QWidget *parent = nullptr);

    // Opens full screen on a screen other than the one `operatorWindow` is on, when there is one.
    void showForRoom(const QWidget &operatorWindow);

    // The banner the main window shows now.
    void showBanner(const QString &picturePath);
    // A claim being checked by its numbers or by its card's serial, shown over the board until hideClaim().
    void showClaim(const cantabola::ClaimVerdict &verdict);
    void showCardCheck(const cantabola::CardCheck &check);
    void hideClaim();
    // The prize being played, shown at all times while cards are in play ("Jugamos a: Bingo"); empty: none.
    void setPlaying(const QString &line);
    // The cards that have just won, each with its prize as its title, shown over the board until
    // hideWinners().
    void showWinners(const std::vector<cantabola::CardCheck> &winners);
    void hideWinners();
    // The players' board's address, with its QR code, at the bottom left; none when empty.
    void showBoardAddress(const QString &address);
    QString boardAddress() const { return m_boardAddress; }

    // What the last paint showed; how large, in pixels, it drew its smallest text and the number just drawn.
    const RoomView &shown() const { return m_painted; }
    bool claimShown() const { return m_claim.has_value() || (m_card && m_card->serial != 0); }
    // The titles of the winners shown, and the line of the prize being played.
    QStringList winnersShown() const;
    const QString &playingShown() const { return m_playing; }
    int smallestTextPixels() const { return m_smallestText; }
    int numberPixels() const { return m_numberText; }

signals:
    void closed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void follow();
    // A card with its title, the drawn numbers marked, in area; h is the height the text is sized by.
    void drawCard(QPainter &painter, const QRectF &area, double h, const CardCheck &card,
                  const QString &title);
    void drawBoardAddress(QPainter &painter, const QRectF &area);
    void drawText(QPainter &painter, const QRectF &box, const QString &text, double pixels, bool bold,
                  const QColor &colour);

    const Game &m_game;
    RoomView m_view;
    RoomView m_painted;
    std::optional<ClaimVerdict> m_claim;
    std::optional<CardCheck> m_card;
    std::vector<CardCheck> m_winners;
    QString m_playing;
    AniGif *m_banner;
    QString m_boardAddress;
    QrCode m_boardCode;
    int m_smallestText = 0;
    int m_numberText = 0;
};

} // namespace cantabola
