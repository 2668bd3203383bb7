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

struct NumberedSeries
{
    qint64 number = 0; // "Serie 206"
    qint64 firstSerial = 0; // the six cards are Nº firstSerial to firstSerial + 5
    Series cards{};
};

// One card with its serial and series in a header line, in rect.
void paintSeriesCard(QPainter &painter, const QRectF &rect, const SeriesCard &card, qint64 serial,
                     qint64 seriesNumber, ColourValue colour);

// Prints the series in order, a page at a time. progress(done) is called after each series is on its pages
// and returns false to stop: the job is then abandoned and nothing is printed. Returns how many series were
// printed whole: fewer than asked when the printer failed on the way, none when it failed at the end.
int printSeries(QPrinter &printer, const std::vector<NumberedSeries> &series, ColourValue colour,
                bool largePrint, const std::function<bool(int done)> &progress);

} // namespace cantabola
