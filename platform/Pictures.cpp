// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Pictures.h"

#include <QImage>
#include <QResource>
#include <cstring>

namespace cantabola {

namespace {

QImage unpackedImage(const QString &name)
{
    const QResource resource(QStringLiteral(":/unpacked/") + name);
    if (!resource.isValid() || resource.compressionAlgorithm() != QResource::NoCompression
        || resource.size() < qint64(sizeof(UnpackedPicture)))
        return {};
    UnpackedPicture head;
    std::memcpy(&head, resource.data(), sizeof head);
    const auto format = static_cast<QImage::Format>(head.format);
    constexpr quint32 largestSide = 4096;
    if ((format != QImage::Format_RGB32 && format != QImage::Format_ARGB32_Premultiplied) || head.width == 0
        || head.height == 0 || head.width > largestSide || head.height > largestSide
        || resource.size() != qint64(sizeof head) + qint64(head.width) * head.height * 4)
        return {};
    const uchar *pixels = resource.data() + sizeof head;
    const QImage image(pixels, int(head.width), int(head.height), int(head.width * 4), format);
    // Pixels of 4 bytes are read 4 bytes at a time: where the program's file does not hold them on such a
    // boundary, they are copied to where it does.
    return reinterpret_cast<quintptr>(pixels) % alignof(quint32) == 0 ? image : image.copy();
}

} // namespace

QPixmap builtInPicture(const QString &name)
{
    if (name.isEmpty())
        return {};
    const QImage unpacked = unpackedImage(name);
    if (!unpacked.isNull())
        return QPixmap::fromImage(unpacked);
    return {QStringLiteral(":/pictures/") + name};
}

} // namespace cantabola
