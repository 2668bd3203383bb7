// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The cards sold for a game, as the operator types their serials: ranges and single serials separated by
// commas ("1-300, 451-480, 1002").

#include <QString>
#include <QtGlobal>
#include <vector>

namespace cantabola {

struct SerialRange
{
    qint64 first = 0;
    qint64 last = 0;
    friend bool operator==(const SerialRange &, const SerialRange &) = default;
};

struct SerialRanges
{
    std::vector<SerialRange> ranges; // sorted, overlaps and neighbours joined
    QString invalid; // the first part that is not a serial or a range from a lower to a higher serial
    qint64 count() const;
};

SerialRanges parseSerialRanges(const QString &text);
// The ranges written back as the operator would type them, shortest form.
QString serialRangesText(const std::vector<SerialRange> &ranges);

} // namespace cantabola
