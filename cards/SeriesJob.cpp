// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/SeriesJob.h"

#include "cards/CardRegistry.h"
#include "cards/SeriesDialog.h"
#include "cards/SeriesPrinter.h"
#include "platform/AppInfo.h"
#include "platform/Logging.h"

#include <QCoreApplication>
#include <QPrinter>
#include <QProgressDialog>

namespace cantabola {

namespace {

// A seed of 64 bits from the program's generator.
std::uint64_t seriesSeed(Random &random)
{
    constexpr double span = 4294967296.0;
    return (static_cast<std::uint64_t>(random.next() * span) << 32U)
        | static_cast<std::uint64_t>(random.next() * span);
}

} // namespace

SeriesJobResult printSeriesOrder(const SeriesOrder &order, QPrinter &printer, CardRegistry &registry,
                                 Platform &platform, QWidget *parent)
{
    SeriesJobResult result;
    const std::optional<CardRegistry::SeriesNumbers> numbers = registry.takeSeries(order.count);
    if (!numbers) {
        result.refused = true;
        return result;
    }
    SeriesRandom random(seriesSeed(platform.random));
    std::vector<NumberedSeries> series
        = makeNumberedSeries(order.count, numbers->firstNumber, numbers->firstSerial, random);
    const QDateTime printedAt = platform.clock.dateTime();

    QProgressDialog progress(parent);
    progress.setObjectName(QStringLiteral("seriesProgress"));
    progress.setWindowTitle(QStringLiteral("Imprimir series"));
    progress.setCancelButtonText(QStringLiteral("Cancelar"));
    progress.setWindowModality(Qt::ApplicationModal);
    progress.setRange(0, order.count);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    result.printed = printSeries(printer, series, order.colour, order.largePrint, [&](int next) {
        progress.setLabelText(QStringLiteral("Imprimiendo la serie %1 de %2...").arg(next).arg(order.count));
        progress.setValue(next - 1);
        // The operator may move windows or stop the job between two series; the game is not running.
        QCoreApplication::processEvents();
        return !progress.wasCanceled();
    });
    result.cancelled = progress.wasCanceled();
    progress.close();
    if (result.printed == 0)
        return result;
    series.resize(static_cast<std::size_t>(result.printed));
    result.kept = registry.keepSeries(series, printedAt, order.colour);
    return result;
}

QString seriesJobReport(const SeriesJobResult &result, int asked, const QString &registryFile)
{
    if (result.refused)
        return QStringLiteral(
                   "No se ha impreso ninguna serie: no se puede escribir en el registro de cartones "
                   "(%1), y sin él sus cartones no se podrían comprobar por el número.")
            .arg(registryFile);
    if (result.cancelled)
        return {};
    QString report;
    if (result.printed < asked)
        report = (result.printed == 1 ? QStringLiteral("Se imprimió 1 de %2 series.")
                                      : QStringLiteral("Se imprimieron %1 de %2 series."))
                     .arg(result.printed)
                     .arg(asked);
    if (result.printed > 0 && !result.kept)
        report += (report.isEmpty() ? QString() : QStringLiteral(" "))
            + QStringLiteral(
                  "No se pudieron guardar en el registro de cartones (%1): sus cartones no se podrán "
                  "comprobar por el número.")
                  .arg(registryFile);
    return report;
}

void printSeriesJob(Platform &platform, CardRegistry &registry, QWidget *parent)
{
    const auto tell = [&](const QString &text) {
        platform.messages.show(parent, {text, app::title, MessageIcon::Critical, MessageButtons::Ok});
        registry.takeTrouble(); // told now, not again at the next claim check
    };
    const std::optional<qint64> firstSerial = registry.nextSerial();
    if (!firstSerial) {
        tell(seriesJobReport({.refused = true}, 0, registry.filePath()));
        return;
    }
    SeriesDialog dialog(*firstSerial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::unique_ptr<QPrinter> printer = platform.printing.choosePrinter(parent);
    if (!printer)
        return;
    const SeriesOrder order{dialog.seriesCount(), dialog.largePrint(), dialog.colour()};
    const SeriesJobResult result = printSeriesOrder(order, *printer, registry, platform, parent);
    if (result.printed < order.count && !result.cancelled)
        qCDebug(lcCards) << "series printed" << result.printed << "of" << order.count << "on"
                         << printer->printerName() << printer->outputFileName();
    const QString report = seriesJobReport(result, order.count, registry.filePath());
    if (!report.isEmpty())
        tell(report);
}

} // namespace cantabola
