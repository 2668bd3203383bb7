// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FakePlatform.h"

#include <QCoreApplication>

namespace cantabola::testing {

void FakeWaiter::waitDispatching(double seconds)
{
    const int index = static_cast<int>(waits.size());
    waits.push_back(seconds);
    if (clock && seconds > 0)
        clock->now += seconds;
    QCoreApplication::processEvents();
    if (during)
        during(seconds, index);
}

FakePlatform::FakePlatform()
    : platform{screen,
               clock,
               waiter,
               random,
               messages,
               process,
               sound,
               colours,
               printing,
               browser,
               help,
               files,
               QStringLiteral(CANTABOLA_PROGRAM_DIR),
               dataFolder.path(),
               dataFolder.filePath(QStringLiteral("Cantabola.conf"))}
{
    waiter.clock = &clock;
}

} // namespace cantabola::testing
