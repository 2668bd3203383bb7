// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/MoveAside.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace cantabola {

namespace {

bool taken(const QString &name)
{
    const QFileInfo info(name);
    return info.exists() || info.isSymLink();
}

} // namespace

QString moveAside(const QString &path, const QString &word, const QStringList &companions)
{
    const QString stem = path + QLatin1Char('.') + word + QLatin1Char('-')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QStringList suffixes = companions;
    suffixes << QString();
    QString aside = stem;
    // Two files set aside in the same second (a second copy of the program, a file damaged again at once).
    for (int n = 2; std::any_of(suffixes.begin(), suffixes.end(),
                                [&aside](const QString &suffix) { return taken(aside + suffix); });
         ++n)
        aside = stem + QStringLiteral("-%1").arg(n);
    for (const QString &suffix : std::as_const(suffixes)) {
        // A rename never replaces a file; where it cannot rename, it copies and removes the original only
        // once the copy is whole.
        if (taken(path + suffix) && !QFile::rename(path + suffix, aside + suffix))
            return {};
    }
    return aside;
}

} // namespace cantabola
