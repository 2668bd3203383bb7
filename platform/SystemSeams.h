// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The real implementations of the seams that need nothing of the windows.

#include "platform/Seams.h"

#include <random>

namespace cantabola {

class SystemClock : public Clock
{
public:
    double secondsSinceMidnight() const override;
    QDateTime dateTime() const override { return QDateTime::currentDateTime(); }
};

// Waits in a nested event loop quit by a precise timer, measured on a monotonic clock: no processor time is
// burnt, midnight cannot disturb it, and a click during the wait runs its handler inside it.
class EventLoopWaiter : public Waiter
{
public:
    void waitDispatching(double seconds) override;
};

class SystemRandom : public Random
{
public:
    void reseed(double secondsSinceMidnight) override;
    double next() override;

private:
    std::mt19937_64 m_engine{0};
};

class ImmediateExit : public ProcessEnder
{
public:
    void endProcess() override;
};

} // namespace cantabola
