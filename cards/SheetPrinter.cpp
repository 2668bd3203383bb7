// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/SheetPrinter.h"

#include <QPainter>
#include <QPrinter>

namespace cantabola {

QRect fitOnPage(QSize image, const QRect &page)
{
    if (image.isEmpty() || page.isEmpty())
        return {page.topLeft(), QSize(0, 0)};
    return {page.topLeft(), image.scaled(page.size(), Qt::KeepAspectRatio)};
}

bool printOnOnePage(const QImage &image, QPrinter &printer)
{
    if (image.isNull())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    // The viewport is the printable area in the printer's own pixels.
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(fitOnPage(image.size(), painter.viewport()), image);
    return painter.end();
}

} // namespace cantabola
