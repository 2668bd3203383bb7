// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The QR code of the board's address, for the room's screen: a phone's camera opens the page from it.

#include <QString>
#include <vector>

namespace cantabola {

struct QrCode
{
    int size = 0; // modules a side; 0 when the text could not be encoded
    std::vector<bool> dark; // row by row

    bool isDark(int x, int y) const
    {
        return dark.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(size)
                       + static_cast<std::size_t>(x));
    }
};

// Encoded by libqrencode, at error correction level M (a code on a screen seen from across a hall).
QrCode qrCode(const QString &text);

} // namespace cantabola
