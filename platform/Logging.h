// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// One logging category per subsystem, for the failures the operator is deliberately not told about (a sound
// that would not load, a banner that would not decode, an address that was refused, a print that failed, a
// game that could not be saved, a card registry that could not be used).
// All are off by default, so the program prints nothing; a maintainer switches them on with
// QT_LOGGING_RULES="cantabola.*.debug=true".

#include <QLoggingCategory>

namespace cantabola {
Q_DECLARE_LOGGING_CATEGORY(lcGame)
Q_DECLARE_LOGGING_CATEGORY(lcSound)
Q_DECLARE_LOGGING_CATEGORY(lcCards)
Q_DECLARE_LOGGING_CATEGORY(lcBanner)
Q_DECLARE_LOGGING_CATEGORY(lcRegistry)
} // namespace cantabola
