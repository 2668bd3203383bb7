// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The pictures built into the program (assets/pictures). Those the main window shows as it opens are built
// in a second time, decoded: decoding the GIF of the 800 x 600 background alone took a tenth of the start.
// The build unpacks them (assets/UnpackPicture.cpp) and the program paints from the pixels where the
// program's file holds them, without decoding or copying them.

#include <QPixmap>
#include <QString>
#include <QtGlobal>

namespace cantabola {

// What an unpacked picture starts with, in the machine's byte order; its rows of pixels follow, 4 bytes a
// pixel, without padding.
struct UnpackedPicture
{
    quint32 width = 0;
    quint32 height = 0;
    quint32 format = 0; // a QImage::Format of 4 bytes a pixel
};

// The picture of that name ("fondo.gif"): its unpacked pixels where the build made them, else the picture
// decoded.
QPixmap builtInPicture(const QString &name);

} // namespace cantabola
