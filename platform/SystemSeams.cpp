// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/SystemSeams.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTime>
#include <QTimer>
#include <bit>
#include <cstdio>
#include <cstdlib>

namespace cantabola {

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

void EventLoopWaiter::waitDispatching(double seconds)
{
    if (!(seconds > 0))
        return;
    QElapsedTimer elapsed;
    elapsed.start();
    const auto total = static_cast<qint64>(seconds * 1e9);
    // A timer may fire a little early; loop until the monotonic clock agrees the time has passed. Linux lets
    // a poll oversleep by 0.1 % of its timeout (2 ms on a 2-second wait), so a long wait first sleeps until
    // shortly before its end and finishes with a short timer, which oversleeps by microseconds only.
    for (qint64 left = total; left > 0; left = total - elapsed.nsecsElapsed()) {
        QEventLoop loop;
        QTimer timer;
        timer.setSingleShot(true);
        timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
        qint64 ms = std::max<qint64>(1, (left + 999'999) / 1'000'000);
        if (ms > 20)
            ms -= ms / 1000 + 2;
        timer.start(static_cast<int>(ms));
        loop.exec();
    }
}

void SystemRandom::reseed(double secondsSinceMidnight)
{
    // Seeded from the time of day as a single-precision number of seconds, as the draw always was.
    const auto seconds = static_cast<float>(secondsSinceMidnight);
    m_engine.seed(std::bit_cast<std::uint32_t>(seconds) * 0x9E3779B97F4A7C15ULL + 0x2545F4914F6CDD1DULL);
}

double SystemRandom::next()
{
    return static_cast<double>(m_engine() >> 11U) * 0x1.0p-53;
}

void ImmediateExit::endProcess()
{
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace cantabola
