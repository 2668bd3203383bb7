// SPDX-License-Identifier: GPL-3.0-or-later
#include "mainwindow/BoardGeometry.h"

#include "platform/AppInfo.h"

namespace cantabola {

QString mainWindowCaption()
{
    return app::title.toUpper() + QStringLiteral(" Versión ") + app::versionText();
}

QString delayCaption(int halfSeconds, const QLocale &locale)
{
    const bool whole = halfSeconds % 2 == 0;
    return locale.toString(halfSeconds / 2.0, 'f', whole ? 0 : 1);
}

} // namespace cantabola
