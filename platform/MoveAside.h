// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Setting a file aside: a file the program cannot use (damaged, another program's, of a newer version) is
// kept for a person to look at, never removed.

#include <QString>
#include <QStringList>

namespace cantabola {

// Renames the file at path, and each of its companions (path + suffix) that exists, to the first name free
// for all of them among path.<word>-<yyyyMMdd-HHmmss>, then the same with -2, -3 ... The companions go first,
// so that none is left behind for a new file of the same name to meet. The name given; empty when something
// could not be moved (what could not be moved stays where it was).
QString moveAside(const QString &path, const QString &word, const QStringList &companions = {});

} // namespace cantabola
