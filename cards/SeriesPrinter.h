// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Printing series of six: each card drawn on the page as a grid in the card window's colours, with its
// serial and its series large enough to read across a table. A page holds one series of six cards, or three
// cards in large print (two pages a series).

#include "cards/Series.h"
#include "platform/Colour.h"

#include <QtGlobal>
#include <functional>
#include <vector>

class QPainter;
class QPrinter;
class QRectF;

namespace cantabola {

// One card with its serial and series in a header line, in rect.
void paintSeriesCard(QPainter &painter, const QRectF &rect, const SeriesCard &card, qint64 serial,
                     qint64 seriesNumber, ColourValue colour);

// Where the cards of a page go on a page of the given paintable area: six of them, or three in large print.
std::vector<QRectF> seriesCardPlaces(const QRectF &page, bool largePrint);

// Prints the series in order, a page at a time, on the printer chosen; when it prints to a PDF file, through
// a writer of our own over that file, so that a write that fails is seen to the file's last byte (Qt's
// printer does not tell of one once the last page is begun).
// progress(next) is called before series next (1 to the number of series) and returns false to stop the job.
// Returns how many series were printed: all of them, or none when the job was stopped or the output failed.
// Nothing in between: Qt writes a PDF's page tree at its end, without which no page of it can be read, and
// hands a CUPS job to the queue at its end. A PDF file left unfinished is removed; a printer's job is
// abandoned, though Qt cannot withdraw one from a CUPS queue, so the pages painted before a stop may still
// print (their serials, taken for good, are never given again).
int printSeries(QPrinter &printer, const std::vector<NumberedSeries> &series, ColourValue colour,
                bool largePrint, const std::function<bool(int next)> &progress);

} // namespace cantabola
