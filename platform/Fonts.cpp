#include "Fonts.h"

#include <QStringList>

namespace cantabola {

void installFontSubstitutions()
{
    // Liberation Sans is metric-compatible with Arial; DejaVu Sans descends from the same design as Verdana;
    // the old bitmap "MS Sans Serif" is closest to a small Liberation Sans.
    QFont::insertSubstitutions(
        QStringLiteral("Arial"),
        QStringList {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("MS Sans Serif"),
        QStringList {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(
        QStringLiteral("Verdana"),
        QStringList {QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    QFont::insertSubstitutions(QStringLiteral("Impact"),
                               QStringList {QStringLiteral("DejaVu Sans Condensed"),
                                            QStringLiteral("Liberation Sans Narrow"),
                                            QStringLiteral("DejaVu Sans")});
}

QFont designFont(const QString &family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    // Impact is a heavy face even at its regular weight; its stand-in needs bold to look the same.
    const bool heavyFace = family.compare(QStringLiteral("Impact"), Qt::CaseInsensitive) == 0;
    font.setBold(bold || heavyFace);
    return font;
}

} // namespace cantabola
