// SPDX-License-Identifier: GPL-3.0-or-later
#include "cards/SerialRanges.h"

#include <QRegularExpression>
#include <QStringList>
#include <algorithm>

namespace cantabola {

qint64 SerialRanges::count() const
{
    qint64 total = 0;
    for (const SerialRange &range : ranges)
        total += range.last - range.first + 1;
    return total;
}

SerialRanges parseSerialRanges(const QString &text)
{
    // Serials of up to twelve digits: more than any printer will ever number.
    static const QRegularExpression part(QStringLiteral(R"(^\s*(\d{1,12})\s*(?:-\s*(\d{1,12})\s*)?$)"));
    SerialRanges parsed;
    for (const QString &piece : text.split(QLatin1Char(','))) {
        if (piece.trimmed().isEmpty())
            continue;
        const QRegularExpressionMatch match = part.match(piece);
        const qint64 first = match.hasMatch() ? match.captured(1).toLongLong() : 0;
        const qint64 last = match.hasMatch() && match.hasCaptured(2) ? match.captured(2).toLongLong() : first;
        if (first < 1 || last < first) {
            parsed.invalid = piece.trimmed();
            parsed.ranges.clear();
            return parsed;
        }
        parsed.ranges.push_back({first, last});
    }
    std::sort(parsed.ranges.begin(), parsed.ranges.end(),
              [](const SerialRange &a, const SerialRange &b) { return a.first < b.first; });
    std::vector<SerialRange> joined;
    for (const SerialRange &range : parsed.ranges) {
        if (!joined.empty() && range.first <= joined.back().last + 1)
            joined.back().last = std::max(joined.back().last, range.last);
        else
            joined.push_back(range);
    }
    parsed.ranges = std::move(joined);
    return parsed;
}

QString serialRangesText(const std::vector<SerialRange> &ranges)
{
    QStringList parts;
    for (const SerialRange &range : ranges) {
        parts << (range.first == range.last ? QString::number(range.first)
                                            : QStringLiteral("%1-%2").arg(range.first).arg(range.last));
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace cantabola
