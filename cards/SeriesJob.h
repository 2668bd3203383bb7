// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// "Imprimir series", from the operator's request to the cards kept: the dialog, the print dialog, the series
// numbers and serials taken for good, the pages with a progress dialog the operator can stop, and the series
// that reached the printer kept in the card registry in one transaction. Series are always numbered, so that
// every card can be checked by its number: a registry that cannot be written prints nothing.

#include "platform/Colour.h"
#include "platform/WindowSeams.h"

#include <QString>

class QPrinter;
class QWidget;

namespace cantabola {

class CardRegistry;

// What the operator asked for.
struct SeriesOrder
{
    int count = 0;
    bool largePrint = false;
    ColourValue colour = 0;
};

struct SeriesJobResult
{
    bool refused = false; // the registry could not take the numbers: nothing printed
    bool cancelled = false; // stopped by the operator: nothing kept
    int printed = 0; // series, from the first, that reached the printer or the file whole
    bool kept = false; // those series are in the registry
};

// Prints an order on the printer chosen, with the progress dialog over parent.
SeriesJobResult printSeriesOrder(const SeriesOrder &order, QPrinter &printer, CardRegistry &registry,
                                 Platform &platform, QWidget *parent);

// The whole of "Imprimir series", telling the operator in one message what did not go as asked.
void printSeriesJob(Platform &platform, CardRegistry &registry, QWidget *parent);

// What the operator is told after a job; empty when everything printed and was kept.
QString seriesJobReport(const SeriesJobResult &result, int asked, const QString &registryFile);

} // namespace cantabola
