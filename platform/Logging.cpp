// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Logging.h"

namespace cantabola {
Q_LOGGING_CATEGORY(lcGame, "cantabola.game", QtInfoMsg)
Q_LOGGING_CATEGORY(lcSound, "cantabola.sound", QtInfoMsg)
Q_LOGGING_CATEGORY(lcCards, "cantabola.cards", QtInfoMsg)
Q_LOGGING_CATEGORY(lcBanner, "cantabola.banner", QtInfoMsg)
Q_LOGGING_CATEGORY(lcRegistry, "cantabola.registry", QtInfoMsg)
} // namespace cantabola
