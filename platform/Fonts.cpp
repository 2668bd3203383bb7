// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QStringList>

namespace cantabola {

void installFontSubstitutions()
{
    // Liberation Sans is metric-compatible with Arial; DejaVu Sans descends from the same design as Verdana;
    // the old bitmap "MS Sans Serif" is closest to a small Liberation Sans.
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"),
                               QStringList{QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    // Impact is a heavy condensed face; its stand-in is the condensed cut of DejaVu Sans, set bold.
    QFont::insertSubstitutions(QStringLiteral("Impact"),
                               QStringList{QStringLiteral("DejaVu Sans Condensed"),
                                           QStringLiteral("Liberation Sans Narrow"),
                                           QStringLiteral("DejaVu Sans")});
}

QFont designFont(const QString &family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    // Impact is a heavy face even at its regular weight, and so narrow that two digits fill a card cell:
    // where it is missing, its condensed stand-in is set bold and narrowed further to Impact's width, so that
    // the numbers of neighbouring cells keep apart. The real Impact is used as it is.
    const bool impactStandIn = family.compare(QStringLiteral("Impact"), Qt::CaseInsensitive) == 0
        && !QFontDatabase::hasFamily(family);
    font.setBold(bold || impactStandIn);
    if (impactStandIn)
        font.setStretch(72);
    return font;
}

} // namespace cantabola
