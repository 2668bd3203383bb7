// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Every facility the program takes from the machine sits behind one of these small interfaces. The program
// uses the real implementations (SystemSeams.h, RealPlatform.h); tests hand recording fakes instead, so that
// a whole game, a print or a refused start-up can be driven without a person, a screen or a sound card. The
// seams here need nothing of the windows; those that do are in WindowSeams.h.

#include "platform/ScreenInfo.h"

#include <QDateTime>
#include <QString>
#include <QUrl>

namespace cantabola {

class Screen
{
public:
    virtual ~Screen() = default;
    virtual ScreenInfo metrics() const = 0;
};

// Time of day, for seeding the random generator the way the draw has always been seeded, and the date and
// time a ball was drawn at.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual double secondsSinceMidnight() const = 0;
    virtual QDateTime dateTime() const = 0;
};

// A wait that keeps the window alive: pending events (clicks, ticks, repaints) are served while it lasts,
// and a handler that runs inside it may start a wait of its own, which the outer one outlasts.
class Waiter
{
public:
    virtual ~Waiter() = default;
    virtual void waitDispatching(double seconds) = 0;
};

// The one process-wide generator of uniform reals in [0, 1).
class Random
{
public:
    virtual ~Random() = default;
    virtual void reseed(double secondsSinceMidnight) = 0;
    virtual double next() = 0;
};

// Ends the process at once: no closing handler and no further code of ours runs.
class ProcessEnder
{
public:
    virtual ~ProcessEnder() = default;
    virtual void endProcess() = 0;
};

// How a sound file is played.
enum class PlayMode {
    // Starts at once and returns; cuts short whatever is playing.
    Async = 1,
    // Plays nothing if a sound is still playing; otherwise plays the whole file before returning,
    // dispatching no window events meanwhile.
    SyncNoStop = 16,
    // Returns at once; the file starts as soon as what is playing now has ended (at once if nothing is). Any
    // later play forgets it if it has not started yet.
    AfterCurrent = 2,
};

class Sound
{
public:
    virtual ~Sound() = default;
    // fileName is relative to the current directory, which start-up sets to the program's folder.
    // A missing or unplayable file, or no sound device, plays nothing and reports nothing.
    virtual void play(const QString &fileName, PlayMode mode) = 0;
};

// Hands an address to the user's browser without waiting for it. showMode: 0 hidden, 3 maximised.
class Browser
{
public:
    virtual ~Browser() = default;
    virtual void open(const QUrl &url, int showMode) = 0;
};

// Shows a help file at its contents, without waiting.
class HelpViewer
{
public:
    virtual ~HelpViewer() = default;
    virtual void showContents(const QString &helpFilePath) = 0;
};

} // namespace cantabola
