#pragma once

// What the phases of the benchmark share besides Probe.h: processor clocks, simple statistics, the wait
// used as yardstick, and the program put together over the real platform with dialogs that answer by
// themselves.

#include "Cantabola.h"
#include "Probe.h"
#include "RealPlatform.h"
#include "SdlSound.h"
#include "Seams.h"

#include <QApplication>
#include <QPrinter>
#include <QString>
#include <functional>
#include <vector>

namespace bench {

// Processor time of the whole process and of the calling thread, in milliseconds.
double processCpuMs();
double threadCpuMs();
// Processor time of the threads of this process whose name starts with the given text (SDL names its audio
// thread "SDLAudioP2" and the like), in milliseconds.
double namedThreadsCpuMs(const QString &namePrefix);

// Serves window events for the given time, a few milliseconds at a time.
void pump(double ms);
// Serves window events until the condition holds or the time is up; returns the condition.
bool pumpUntil(const std::function<bool()> &condition, double timeoutMs);

struct Stats
{
    int count = 0;
    double mean = 0;
    double median = 0;
    double p99 = 0;
    double max = 0;
};
Stats statsOf(std::vector<double> values);

// Mean, median, 99th percentile and worst of a series, as key.mean, key.median, key.p99, key.max.
void resultStats(const QString &key, const std::vector<double> &values);
// Progress for the person watching, on standard error.
void progress(const QString &text);
// Keeps the notices of every headless run (Qt's, and SDL's about its disk driver) off standard error.
void quietKnownNotices();

// The wait the program used to have, kept as the yardstick: it spins on the time of day (as single-precision
// seconds since midnight) and dispatches pending events between its readings of the clock, never sleeping.
class SpinningWaiter : public cantabola::Waiter
{
public:
    void waitDispatching(double seconds) override;
};

// The program's wait or the spinning yardstick, chosen per run, with the length of every wait measured.
class BenchWaiter : public cantabola::Waiter
{
public:
    void waitDispatching(double seconds) override;

    bool spinning = false;
    struct Wait
    {
        double requested; // seconds
        double lasted; // seconds
    };
    std::vector<Wait> waits;

private:
    cantabola::EventLoopWaiter m_real;
    SpinningWaiter m_spinning;
};

// The end-of-game question answered Yes, with the moment it was asked; other messages answered Ok.
class AnsweringMessages : public cantabola::MessageBoxes
{
public:
    cantabola::MessageAnswer show(QWidget *parent, const cantabola::Message &message) override;
    std::vector<double> askedAtMs;
};

class NoExit : public cantabola::ProcessEnder
{
public:
    void endProcess() override { ++requests; }
    int requests = 0;
};

class CancelledColour : public cantabola::ColourDialog
{
public:
    std::optional<QColor> chooseColour(QWidget * /*parent*/) override { return std::nullopt; }
};

class CancelledPrint : public cantabola::PrintDialog
{
public:
    std::unique_ptr<QPrinter> choosePrinter(QWidget * /*parent*/) override { return nullptr; }
};

class NoBrowser : public cantabola::Browser
{
public:
    void open(const QUrl & /*url*/, int /*showMode*/) override { }
};

class NoHelp : public cantabola::HelpViewer
{
public:
    void showContents(const QString & /*helpFilePath*/) override { }
};

// The real screen, clock, random generator, wait and sound of the program; dialogs that answer by
// themselves and an end of the process that does not end it, so that a phase can run unattended.
struct BenchPlatform
{
    explicit BenchPlatform(const QString &programFolder);

    cantabola::QtScreen screen;
    cantabola::SystemClock clock;
    BenchWaiter waiter;
    cantabola::SystemRandom random;
    AnsweringMessages messages;
    NoExit process;
    cantabola::SdlSound sound;
    CancelledColour colours;
    CancelledPrint printing;
    NoBrowser browser;
    NoHelp help;
    cantabola::Platform platform;
};

// Settings of one run, shared by the orchestrating run and its phases.
struct Options
{
    bool quick = false;
    QString programFolder;
    QString outputFolder;
};

// The program over the benchmark's platform, started (with the font substitutions it is always started
// with) on the application a phase has made, and given half a second to settle.
struct RunningProgram
{
    explicit RunningProgram(const Options &options);

    BenchPlatform bench;
    cantabola::Cantabola program;
    bool started = false;
};

// The phases, each run in a process of its own with the environment the orchestrating run gives it.
int runCallingPhase(int argc, char **argv, const Options &options);
int runWaitsPhase(int argc, char **argv, const Options &options);
int runAnnouncePhase(int argc, char **argv, const Options &options);
int runCardsPhase(int argc, char **argv, const Options &options);

} // namespace bench
