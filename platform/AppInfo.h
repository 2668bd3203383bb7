#pragma once

#include <QString>

// The program's name and version as every caption and message box shows them.
namespace cantabola::app {
inline const QString title = QStringLiteral("Cantabola");
constexpr int versionMajor = 2;
constexpr int versionMinor = 0;
constexpr int versionRevision = 0;

// "2.0.0": the three numbers in plain decimal.
inline QString versionText()
{
    return QStringLiteral("%1.%2.%3").arg(versionMajor).arg(versionMinor).arg(versionRevision);
}
} // namespace cantabola::app
