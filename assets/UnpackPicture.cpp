// SPDX-License-Identifier: GPL-3.0-or-later
// Part of the build: writes a picture decoded, as the program paints from it (platform/Pictures.h).
//
//   cantabola_unpack_picture PICTURE OUTPUT

#include "platform/Pictures.h"

#include <QFile>
#include <QImage>
#include <cstdio>

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fputs("usage: cantabola_unpack_picture PICTURE OUTPUT\n", stderr);
        return 2;
    }
    QImage image(QString::fromLocal8Bit(argv[1]));
    if (image.isNull()) {
        std::fprintf(stderr, "cantabola_unpack_picture: cannot read %s\n", argv[1]);
        return 1;
    }
    // The formats Qt paints from as they are.
    image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                          : QImage::Format_RGB32);
    const cantabola::UnpackedPicture head{quint32(image.width()), quint32(image.height()),
                                          quint32(image.format())};
    QFile out(QString::fromLocal8Bit(argv[2]));
    bool written = out.open(QIODevice::WriteOnly)
        && out.write(reinterpret_cast<const char *>(&head), sizeof head) == qint64(sizeof head);
    for (int y = 0; written && y < image.height(); ++y)
        written = out.write(reinterpret_cast<const char *>(image.constScanLine(y)), qint64(image.width()) * 4)
            == qint64(image.width()) * 4;
    if (!written || !out.flush()) {
        std::fprintf(stderr, "cantabola_unpack_picture: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
