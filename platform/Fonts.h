// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>
#include <QString>

namespace cantabola {

// The windows name Windows faces ("MS Sans Serif", "Arial", "Verdana", "Impact"). These map them to the
// installed faces closest in metrics and weight, once, before any window is built.
void installFontSubstitutions();

// A font as the window design names it: family, size in points, bold or regular.
QFont designFont(const QString &family, double points, bool bold = false);

// The default font of every control that has none of its own.
inline QFont defaultDesignFont()
{
    return designFont(QStringLiteral("MS Sans Serif"), 8.25);
}

} // namespace cantabola
