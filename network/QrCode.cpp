// SPDX-License-Identifier: GPL-3.0-or-later
#include "network/QrCode.h"

#include <qrencode.h>

#include <memory>

namespace cantabola {

QrCode qrCode(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    const std::unique_ptr<QRcode, decltype(&QRcode_free)> encoded(
        QRcode_encodeString8bit(bytes.constData(), 0, QR_ECLEVEL_M), &QRcode_free);
    QrCode code;
    if (!encoded)
        return code;
    code.size = encoded->width;
    code.dark.resize(static_cast<std::size_t>(code.size) * static_cast<std::size_t>(code.size));
    for (std::size_t i = 0; i < code.dark.size(); ++i)
        code.dark[i] = (encoded->data[i] & 1) != 0;
    return code;
}

} // namespace cantabola
