// SPDX-License-Identifier: GPL-3.0-or-later
// The "series" phase: a hall's print job of 500 series of six (3,000 cards, 500 pages) into a PDF file
// through the program's own print path, progress dialog and registry included, with the process's peak
// memory; and the registering of its 3,000 cards alone, beside their goals.

#include "bench/Bench.h"
#include "cards/CardRegistry.h"
#include "cards/CardRules.h"
#include "cards/SeriesJob.h"

#include <QElapsedTimer>
#include <QFile>
#include <QPrinter>

namespace bench {

int runSeries(const Options &options)
{
    constexpr int jobSeries = 500;
    const QTemporaryDir folder;
    cantabola::RealPlatform real(options.programFolder);
    cantabola::CardRegistry registry(folder.filePath(QStringLiteral("job")), QString());
    // Printing to a file as the print dialog's "Imprimir a archivo (PDF)" sets the printer up.
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(folder.filePath(QStringLiteral("series.pdf")));
    QElapsedTimer clock;
    clock.start();
    const cantabola::SeriesJobResult job = cantabola::printSeriesOrder(
        {jobSeries, false, cantabola::standardCardColours[0]}, printer, registry, real.platform(), nullptr);
    const double jobSeconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    if (job.printed != jobSeries || !job.kept)
        return 3;
    figure("series_job_500_pdf_s", jobSeconds, 30, "goal");
    figure("series_job_peak_memory_mb", memoryMb("VmHWM:"), 300, "goal");
    progress(QStringLiteral("series: %1 pages, %2 MB of PDF")
                 .arg(jobSeries)
                 .arg(static_cast<double>(QFile(printer.outputFileName()).size()) / 1e6, 0, 'f', 1));

    // The same count of cards registered alone, as a job takes their numbers and then keeps them, in a
    // registry of its own; best of a few runs.
    std::vector<double> registerMs;
    cantabola::SeriesRandom random(2026);
    for (int run = 0; run < (options.quick ? 2 : 5); ++run) {
        cantabola::CardRegistry alone(folder.filePath(QStringLiteral("alone-%1").arg(run)), QString());
        const std::vector<cantabola::NumberedSeries> series
            = cantabola::makeNumberedSeries(jobSeries, 1, 1, random);
        clock.restart();
        if (!alone.takeSeries(jobSeries)
            || !alone.keepSeries(series, QDateTime::currentDateTime(), cantabola::standardCardColours[0]))
            return 3;
        registerMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    }
    figure("series_register_3000_cards_ms", quantile(registerMs, 0.5), 1000, "goal");
    return 0;
}

} // namespace bench
