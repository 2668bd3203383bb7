// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>

// What the phases of the benchmark share: the real program over the real platform, with a wait that times
// itself (and can be the spinning yardstick) and dialogs that answer by themselves; serving events; simple
// statistics; and the one line a figure is printed as.

#include "app/Cantabola.h"
#include "bench/Probe.h"
#include "mainwindow/FrmBingo.h"
#include "platform/RealPlatform.h"

#include <QHash>
#include <cmath>
#include <functional>
#include <vector>

namespace bench {

struct Options
{
    bool quick = false;
    QString programFolder;
};

// Serves window events for the given time, or until the condition holds (returned).
void pump(double ms);
bool pumpUntil(const std::function<bool()> &condition, double timeoutMs);
double mean(const std::vector<double> &values);
// The nearest-rank quantile (0.5 the median, 1 the worst); NaN for no values.
double quantile(std::vector<double> values, double q);
// One figure and its yardstick of the same run, as one line: "name=1.23 name_yardstick=4.56"; a figure
// measured against a fixed goal names it so ("name_goal=5"), and one without either stands alone.
void figure(const char *name, double value, double yardstick = std::nan(""), const char *kind = "yardstick");
// A figure of the process's memory in megabytes, from its line in /proc/self/status ("VmRSS:" now, "VmHWM:"
// at its peak); NaN where there is none.
double memoryMb(const char *field);
// Progress and trouble, on standard error.
void progress(const QString &text);

// The program's wait, or the wait it once had, kept as a yardstick: spinning on the time of day and
// dispatching events between readings of the clock. Either way it notes how far each wait missed its length.
class BenchWaiter : public cantabola::Waiter
{
public:
    void waitDispatching(double seconds) override;

    bool spinning = false;
    std::vector<double> errorsMs;
    // Called as each wait ends.
    std::function<void()> waited;

private:
    cantabola::EventLoopWaiter m_real;
};

// The end-of-game question answered Yes, with the moment it was asked; other messages answered Ok.
class AnsweringMessages : public cantabola::MessageBoxes
{
public:
    cantabola::MessageAnswer show(QWidget *parent, const cantabola::Message &message) override;
    double askedAtMs = -1;
};

// The moment each widget's first paint was over, noted from construction until stop().
class PaintTimes
{
public:
    explicit PaintTimes(ProbedApplication &application);
    ~PaintTimes() { stop(); }
    PaintTimes(const PaintTimes &) = delete;
    PaintTimes &operator=(const PaintTimes &) = delete;
    void stop() { m_application.afterPaint = nullptr; }

    QHash<const QWidget *, double> at;

private:
    ProbedApplication &m_application;
};

class NoExit : public cantabola::ProcessEnder
{
public:
    void endProcess() override { }
};

// The program as main() starts it, on the real platform (the sound library loaded after the first paint), but
// with the wait above, dialogs that answer by themselves and an end of the process that does not end it.
struct RunningProgram
{
    explicit RunningProgram(const Options &options);

    // A control of the main window by its design name ("CmbStart", "LblNumero(5)", "SM_Auto").
    template<typename T = QWidget> T *find(const QString &name) const
    {
        T *found = program.window().findChild<T *>(name);
        if (!found)
            qFatal("the main window has no %s", qPrintable(name));
        return found;
    }

    cantabola::RealPlatform real;
    QTemporaryDir dataFolder; // no game of an earlier run to offer
    BenchWaiter waiter;
    AnsweringMessages messages;
    NoExit process;
    cantabola::Platform platform;
    mutable cantabola::Cantabola program;
    bool started = false;
};

int runAnnounce(ProbedApplication &application, const Options &options);
int runHall(const Options &options);
int runIdle(const Options &options);
int runRoom(ProbedApplication &application, const Options &options);
int runRegistry(const Options &options);
int runBoard(ProbedApplication &application, const Options &options);
int runSeries(const Options &options);

} // namespace bench
