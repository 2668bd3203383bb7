// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The arithmetic of the main window's start-up, apart from the widgets: where a board number sits, where its
// ball goes, the board font, the first banner, the caption and the delay text.

#include <QLocale>
#include <QString>

namespace cantabola {

struct BoardCell
{
    float left;
    float top;
    float width;
    float height;
};

// Design place of board number n (1 to 90) inside the board panel: ten columns, nine rows, 600 twips apart.
constexpr BoardCell boardCell(int n)
{
    const int column = (n - 1) % 10;
    const int row = (n - 1) / 10;
    return {static_cast<float>(240 + 600 * column), static_cast<float>(360 + 600 * row), 495.0F, 495.0F};
}

// Left (or top) of a ball behind its label. With scaleX = 1 this centres the ball; on other screens the
// offset is divided by the scale as well, which is how the board has always been drawn there.
inline float ballOffset(float labelStart, float labelSize, float ballSize, float scaleX)
{
    const float divisor = scaleX + scaleX;
    return labelStart + labelSize / divisor - ballSize / divisor;
}

// Plain halves: places one control in the middle of another.
inline float centredOn(float outerStart, float outerSize, float innerSize)
{
    return outerStart + outerSize / 2 - innerSize / 2;
}

inline float boardFontSize(float scaleX)
{
    return 18.0F / scaleX;
}

// "CANTABOLA Versión 2.0.0"
QString mainWindowCaption();

// The delay in seconds for a bar value in half seconds: "3", "2,5" or "2.5" by the locale.
QString delayCaption(int halfSeconds, const QLocale &locale);

} // namespace cantabola
