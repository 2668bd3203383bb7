// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The program's name and version as every caption and message box shows them.
namespace cantabola::app {
inline const QString title = QStringLiteral("Cantabola");
// Written once, in the project's version in the top CMakeLists.txt.
constexpr int versionMajor = CANTABOLA_VERSION_MAJOR;
constexpr int versionMinor = CANTABOLA_VERSION_MINOR;
constexpr int versionRevision = CANTABOLA_VERSION_PATCH;

// "2.0.0": the three numbers in plain decimal.
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionRevision);
}
} // namespace cantabola::app
