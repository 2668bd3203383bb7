// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Printing a picture of a window as one sheet.

#include <QImage>
#include <QRect>

class QPrinter;

namespace cantabola {

// The largest rectangle of the image's proportions that fits the page, at the page's top left corner.
QRect fitOnPage(QSize image, const QRect &page);

// Paints the image on one page of the printer, as large as the page allows without distorting it. False when
// the printer cannot be started (no such printer, an unwritable file) or fails to finish the job.
bool printOnOnePage(const QImage &image, QPrinter &printer);

} // namespace cantabola
