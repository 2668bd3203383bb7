// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/Board.h"

#include "game/Game.h"
#include "layout/ScaledWindow.h"
#include "mainwindow/BoardGeometry.h"
#include "platform/Fonts.h"

#include <QLabel>

namespace cantabola {

Board::Board(QWidget *client, ControlSet &controls)
    : QFrame(client)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setBackColour(this, 0x00000000, true);
    const Control &picture1 = controls.add(QStringLiteral("Picture1"), QStringLiteral("picturebox"), this,
                                           nullptr, 240, 600, 6615, 6135, 8.25F);
    const QFont boardFont = designFont(QStringLiteral("Arial"), 21.75, true);
    for (int n = 1; n <= 90; ++n) {
        // At design only the first and the last label carry their number; start-up writes the rest.
        const QString caption = (n == 1 || n == 90) ? QString::number(n) : QString();
        QLabel *label = makeLabel(this, caption, boardFont);
        setForeColour(label, n == 1 ? colourNotDrawn : 0x00808080);
        setBackColour(label, colourBoardBack, false);
        const BoardCell cell = boardCell(n);
        controls.add(QStringLiteral("LblNumero(%1)").arg(n), QStringLiteral("label"), label, &picture1,
                     cell.left, cell.top, cell.width, cell.height, 21.75F);
        LblNumero[static_cast<std::size_t>(n)] = label;
    }
    ImgBola[0] = makeImage(this, QStringLiteral("bola.gif"));
    ImgBola[0]->hide();
    controls.add(QStringLiteral("ImgBola(0)"), QStringLiteral("image"), ImgBola[0], &picture1, 120, 360, 510,
                 510);
}

void Board::build(ControlSet &controls, ScaleValues &scale, bool wide12)
{
    const Control &templateBall = *controls.find(QStringLiteral("ImgBola(0)"));
    const Control &picture1 = *controls.find(QStringLiteral("Picture1"));
    const QPixmap ballPicture = ImgBola[0]->pixmap();
    for (int n = 1; n <= 90; ++n) {
        const auto index = static_cast<std::size_t>(n);
        QLabel *ball = makeImage(this, QString());
        ball->setPixmap(ballPicture);
        ball->hide();
        Control &ballControl
            = controls.add(QStringLiteral("ImgBola(%1)").arg(n), QStringLiteral("image"), ball, &picture1,
                           *templateBall.props.left, *templateBall.props.top, *templateBall.props.width,
                           *templateBall.props.height);
        ImgBola[index] = ball;
        if (wide12) {
            ball->setScaledContents(true);
            scale.ScaleX = 1.25F;
        }

        Control &label = *controls.find(QStringLiteral("LblNumero(%1)").arg(n));
        ballControl.props.left
            = ballOffset(*label.props.left, *label.props.width, *ballControl.props.width, scale.ScaleX);
        ballControl.props.top
            = ballOffset(*label.props.top, *label.props.height, *ballControl.props.height, scale.ScaleX);
        controls.place(ballControl);
        ball->lower();
        ball->show();

        QLabel *numberLabel = LblNumero[index];
        numberLabel->setText(QString::number(n));
        setForeColour(numberLabel, colourNotDrawn);
        label.props.fontSize = boardFontSize(scale.ScaleX);
        numberLabel->setFont(designFont(QStringLiteral("Arial"), *label.props.fontSize, true));
        controls.place(label);
    }
}

void Board::showDrawn(int n, bool drawn)
{
    QLabel *label = LblNumero.at(static_cast<std::size_t>(n));
    setForeColour(label, drawn ? colourDrawn : colourNotDrawn);
    // Painted at once: the announcement that follows a draw holds the thread.
    label->repaint();
}

void Board::showGame(const Game &game)
{
    for (int n = 1; n <= 90; ++n)
        setForeColour(LblNumero.at(static_cast<std::size_t>(n)),
                      game.BolaSacada(n) ? colourDrawn : colourNotDrawn);
}

void Board::clear()
{
    for (std::size_t i = 1; i <= 90; ++i) {
        setBackColour(LblNumero.at(i), colourBoardBack, false);
        setForeColour(LblNumero.at(i), colourNotDrawn);
    }
}

} // namespace cantabola
