// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/SeriesPrinter.h"

#include "cards/CardRules.h"
#include "cards/PrintedCard.h"
#include "platform/QtColour.h"

#include <QFile>
#include <QFont>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <memory>

namespace cantabola {

namespace {

// The share of a card's height its header line takes.
constexpr double headerShare = 0.16;
// The gap between the cards of a page, as a share of a card's height.
constexpr double gapShare = 0.12;

// Where a job's pages go: the printer, or, when it prints to a PDF file, that file through a writer of our
// own, whose writes can be checked to the end.
class PageOutput
{
public:
    explicit PageOutput(QPrinter &printer)
        : m_printer(printer)
    {
    }

    bool begin(QPainter &painter)
    {
        if (m_printer.outputFormat() != QPrinter::PdfFormat || m_printer.outputFileName().isEmpty())
            return painter.begin(&m_printer);
        m_file.setFileName(m_printer.outputFileName());
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return false;
        m_pdf = std::make_unique<QPdfWriter>(&m_file);
        m_pdf->setPageLayout(m_printer.pageLayout());
        m_pdf->setResolution(m_printer.resolution());
        m_pdf->setTitle(m_printer.docName());
        m_pdf->setCreator(m_printer.creator());
        return painter.begin(m_pdf.get());
    }

    bool newPage() { return m_pdf ? m_pdf->newPage() : m_printer.newPage(); }

    // Whether all the pages before the one being painted have reached the printer or the file.
    bool intact() { return m_pdf ? m_file.flush() : m_printer.printerState() != QPrinter::Error; }

    // The last page and the end of the job written.
    bool finish(QPainter &painter)
    {
        const bool ended = painter.end();
        if (!m_pdf)
            return ended;
        m_file.close();
        return ended && m_file.error() == QFileDevice::NoError;
    }

    // A PDF file left unfinished cannot be read: it goes.
    void abandon(QPainter &painter)
    {
        if (!m_pdf)
            m_printer.abort();
        painter.end();
        if (m_pdf) {
            // By its name: a file that failed to write would stay.
            m_file.close();
            QFile::remove(m_file.fileName());
        }
    }

private:
    QPrinter &m_printer;
    QFile m_file;
    std::unique_ptr<QPdfWriter> m_pdf; // after the file it writes to, so that it goes first
};

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

std::vector<QRectF> seriesCardPlaces(const QRectF &page, bool largePrint)
{
    const int perPage = largePrint ? 3 : seriesCards;
    // The cards one above the other across the page's width, at most as tall as the card window's
    // proportions allow.
    const double slot = page.height() / (perPage + (perPage - 1) * gapShare);
    const double cardHeight = std::min(slot, page.width() * 0.5 / (1 - headerShare));
    std::vector<QRectF> places;
    places.reserve(static_cast<std::size_t>(perPage));
    for (int place = 0; place < perPage; ++place)
        places.emplace_back(page.left(), page.top() + place * cardHeight * (1 + gapShare), page.width(),
                            cardHeight);
    return places;
}

int printSeries(QPrinter &printer, const std::vector<NumberedSeries> &series, ColourValue colour,
                bool largePrint, const std::function<bool(int next)> &progress)
{
    PageOutput output(printer);
    QPainter painter; // after the output, so that it ends before the output goes
    if (series.empty() || !output.begin(painter))
        return 0;
    const std::vector<QRectF> places = seriesCardPlaces(painter.viewport(), largePrint);
    const auto perPage = static_cast<int>(places.size());
    for (std::size_t s = 0; s < series.size(); ++s) {
        if (!progress(static_cast<int>(s) + 1)) {
            output.abandon(painter);
            return 0;
        }
        const NumberedSeries &one = series[s];
        for (int i = 0; i < seriesCards; ++i) {
            const int place = i % perPage;
            // The page before goes out as this one begins.
            if (place == 0 && (s > 0 || i > 0) && (!output.newPage() || !output.intact())) {
                output.abandon(painter);
                return 0;
            }
            paintSeriesCard(painter, places[static_cast<std::size_t>(place)],
                            one.cards[static_cast<std::size_t>(i)], one.firstSerial + i, one.number, colour);
        }
    }
    if (output.finish(painter))
        return static_cast<int>(series.size());
    output.abandon(painter);
    return 0;
}

} // namespace cantabola
