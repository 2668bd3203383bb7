// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/SeriesPrinter.h"

#include "cards/CardRules.h"
#include "cards/PrintedCard.h"
#include "platform/QtColour.h"

#include <QFont>
#include <QPainter>
#include <QPrinter>

namespace cantabola {

namespace {

// The share of a card's height its header line takes.
constexpr double headerShare = 0.16;
// The gap between the cards of a page, as a share of a card's height.
constexpr double gapShare = 0.12;

QFont sized(const QString &family, double pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(std::max(1, static_cast<int>(pixels)));
    font.setBold(bold);
    return font;
}

} // namespace

void paintSeriesCard(QPainter &painter, const QRectF &rect, const SeriesCard &card, qint64 serial,
                     qint64 seriesNumber, ColourValue colour)
{
    const double header = rect.height() * headerShare;
    const QRectF grid(rect.left(), rect.top() + header, rect.width(), rect.height() - header);
    const double margin = grid.height() * 0.04;
    const QRectF cells = grid.adjusted(margin, margin, -margin, -margin);
    const double cellWidth = cells.width() / columnsPerCard;
    const double cellHeight = cells.height() / rowsPerCard;

    // The frame in the card colour, the shape inside it a shade off, as in the card window.
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(colour));
    painter.drawRect(grid);
    painter.setPen(QPen(Qt::black, std::max(1.0, margin / 6)));
    painter.setBrush(toQColor(frameShapeColour(colour)));
    painter.drawRect(grid.adjusted(margin / 2, margin / 2, -margin / 2, -margin / 2));

    painter.setFont(sized(QStringLiteral("Liberation Sans"), header * 0.8, true));
    painter.setPen(Qt::black);
    painter.drawText(QRectF(rect.left(), rect.top(), rect.width(), header), Qt::AlignLeft | Qt::AlignVCenter,
                     serialText(serial));
    painter.drawText(QRectF(rect.left(), rect.top(), rect.width(), header), Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Serie %1").arg(seriesNumber));

    painter.setFont(sized(QStringLiteral("Impact"), cellHeight * 0.62, false));
    const double gap = cellWidth * 0.06;
    for (int k = 1; k <= cellsPerCard; ++k) {
        const QRectF cell(cells.left() + (cellColumn(k) - 1) * cellWidth + gap / 2,
                          cells.top() + (cellRow(k) - 1) * cellHeight + gap / 2, cellWidth - gap,
                          cellHeight - gap);
        const int n = card[static_cast<std::size_t>(k - 1)];
        painter.setPen(Qt::NoPen);
        painter.setBrush(n ? QColor(Qt::white) : toQColor(colour));
        painter.drawRect(cell);
        if (n) {
            painter.setPen(Qt::black);
            painter.drawText(cell, Qt::AlignCenter, QString::number(n));
        }
    }
}

int printSeries(QPrinter &printer, const std::vector<NumberedSeries> &series, ColourValue colour,
                bool largePrint, const std::function<bool(int done)> &progress)
{
    QPainter painter;
    if (series.empty() || !painter.begin(&printer))
        return 0;
    const int perPage = largePrint ? 3 : seriesCards;
    const QRectF page = painter.viewport();
    // The cards one above the other across the page's width, at most as tall as the card window's
    // proportions allow.
    const double slot = page.height() / (perPage + (perPage - 1) * gapShare);
    const double cardHeight = std::min(slot, page.width() * 0.5 / (1 - headerShare));
    const double step = cardHeight * (1 + gapShare);
    int done = 0;
    bool firstPage = true;
    for (const NumberedSeries &one : series) {
        for (int i = 0; i < seriesCards; ++i) {
            const int place = i % perPage;
            if (place == 0 && !firstPage && !printer.newPage())
                return done;
            firstPage = false;
            paintSeriesCard(painter, QRectF(page.left(), page.top() + place * step, page.width(), cardHeight),
                            one.cards[static_cast<std::size_t>(i)], one.firstSerial + i, one.number, colour);
        }
        if (printer.printerState() == QPrinter::Error)
            return done;
        ++done;
        if (!progress(done)) {
            // Stopped by the operator: nothing of the job goes to the printer.
            printer.abort();
            return 0;
        }
    }
    return painter.end() ? done : 0;
}

} // namespace cantabola
