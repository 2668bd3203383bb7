// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Fonts.h"

#include <QFontDatabase>
#include <QStringList>
#include <algorithm>
#include <fontconfig/fontconfig.h>

namespace cantabola {

namespace {

// The font system being started, until it has been waited for.
std::thread *fontSystemStarting = nullptr;

void waitForFontSystem()
{
    if (fontSystemStarting) {
        fontSystemStarting->join();
        fontSystemStarting = nullptr;
    }
}

} // namespace

FontSystemStart::FontSystemStart()
    : m_thread([] { FcInit(); })
{
    fontSystemStarting = &m_thread;
}

FontSystemStart::~FontSystemStart()
{
    if (fontSystemStarting == &m_thread)
        waitForFontSystem();
}

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

namespace {

// The face to ask for: the design's own where it is installed, else its first installed stand-in. Naming the
// stand-in gives the same face as letting the font database substitute it, but spares the database a
// search for the design's name among every installed face, one for each name, at the first text the name
// shows. The installed faces are read from the list of families, once: asking whether one name is installed
// makes the database resolve the name as an alias, another search of its own.
QString installedFamily(const QString &family)
{
    static const QStringList families = QFontDatabase::families();
    const auto installed = [](const QString &name) {
        return families.contains(name, Qt::CaseInsensitive);
    };
    if (installed(family))
        return family;
    const QStringList standIns = QFont::substitutes(family);
    const auto standIn = std::find_if(standIns.begin(), standIns.end(), installed);
    return standIn != standIns.end() ? *standIn : family;
}

} // namespace

QFont designFont(const QString &family, double points, bool bold)
{
    waitForFontSystem();
    QFont font(installedFamily(family));
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
