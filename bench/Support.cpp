#include "Support.h"

#include "Fonts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QThread>
#include <QTime>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <numeric>

#include <SDL_log.h>

namespace bench {

namespace {

double clockMs(clockid_t id)
{
    timespec now{};
    clock_gettime(id, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace

double processCpuMs()
{
    return clockMs(CLOCK_PROCESS_CPUTIME_ID);
}

double threadCpuMs()
{
    return clockMs(CLOCK_THREAD_CPUTIME_ID);
}

double namedThreadsCpuMs(const QString &namePrefix)
{
    double total = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString &task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile comm(tasks.filePath(task + QStringLiteral("/comm")));
        QFile schedstat(tasks.filePath(task + QStringLiteral("/schedstat")));
        if (!comm.open(QIODevice::ReadOnly) || !schedstat.open(QIODevice::ReadOnly))
            continue;
        if (!QString::fromUtf8(comm.readAll()).startsWith(namePrefix))
            continue;
        // The first field is the time the thread has run, in nanoseconds.
        total += schedstat.readAll().split(' ').value(0).toDouble() / 1e6;
    }
    return total;
}

void pump(double ms)
{
    const double end = nowMs() + ms;
    while (nowMs() < end) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
}

bool pumpUntil(const std::function<bool()> &condition, double timeoutMs)
{
    const double end = nowMs() + timeoutMs;
    while (!condition()) {
        if (nowMs() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

Stats statsOf(std::vector<double> values)
{
    Stats s;
    if (values.empty())
        return s;
    std::sort(values.begin(), values.end());
    s.count = static_cast<int>(values.size());
    s.mean = std::accumulate(values.begin(), values.end(), 0.0) / s.count;
    const auto at = [&values](double q) {
        // The nearest-rank percentile: the smallest value with at least q of the series at or below it.
        const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(values.size())));
        return values.at(std::clamp<std::size_t>(rank, 1, values.size()) - 1);
    };
    s.median = at(0.5);
    s.p99 = at(0.99);
    s.max = values.back();
    return s;
}

void resultStats(const QString &key, const std::vector<double> &values)
{
    const Stats s = statsOf(values);
    result(key + QStringLiteral(".count"), s.count);
    if (s.count == 0)
        return;
    result(key + QStringLiteral(".mean"), s.mean);
    result(key + QStringLiteral(".median"), s.median);
    result(key + QStringLiteral(".p99"), s.p99);
    result(key + QStringLiteral(".max"), s.max);
}

void progress(const QString &text)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(text));
    std::fflush(stderr);
}

namespace {

SDL_LogOutputFunction sdlDefault = nullptr;
void *sdlDefaultData = nullptr;

bool knownNotice(const QString &text)
{
    static const char *const known[] = {"disk i/o audio driver", "Writing to file"};
    return std::any_of(std::begin(known), std::end(known),
                       [&text](const char *notice) { return text.contains(QLatin1String(notice)); });
}

} // namespace

void quietKnownNotices()
{
    quietQtNotices();
    SDL_LogGetOutputFunction(&sdlDefault, &sdlDefaultData);
    SDL_LogSetOutputFunction(
        [](void *, int category, SDL_LogPriority priority, const char *text) {
            if (!knownNotice(QString::fromUtf8(text)) && sdlDefault)
                sdlDefault(sdlDefaultData, category, priority, text);
        },
        nullptr);
}

void SpinningWaiter::waitDispatching(double seconds)
{
    if (!(seconds > 0))
        return;
    const auto timeOfDay = [] {
        return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1000.0F;
    };
    const float start = timeOfDay();
    float end = start + static_cast<float>(seconds);
    bool pastMidnight = false;
    for (;;) {
        if (timeOfDay() >= end)
            return;
        QCoreApplication::processEvents();
        if (!pastMidnight && timeOfDay() < start) {
            pastMidnight = true;
            end -= 86400.0F;
        }
    }
}

void BenchWaiter::waitDispatching(double seconds)
{
    const double started = nowMs();
    if (spinning)
        m_spinning.waitDispatching(seconds);
    else
        m_real.waitDispatching(seconds);
    waits.push_back({seconds, (nowMs() - started) / 1000.0});
}

cantabola::MessageAnswer AnsweringMessages::show(QWidget * /*parent*/, const cantabola::Message &message)
{
    askedAtMs.push_back(nowMs());
    return message.buttons == cantabola::MessageButtons::YesNo ? cantabola::MessageAnswer::Yes
                                                               : cantabola::MessageAnswer::Ok;
}

BenchPlatform::BenchPlatform(const QString &programFolder)
    : platform{screen, clock,   waiter,   random,  messages, process,
               sound,  colours, printing, browser, help,     programFolder}
{
}

RunningProgram::RunningProgram(const Options &options)
    : bench((cantabola::installFontSubstitutions(), options.programFolder))
    , program(bench.platform)
{
    started = program.start();
    if (started)
        pump(500);
}

} // namespace bench
