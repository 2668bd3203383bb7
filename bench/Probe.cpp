// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench/Probe.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sys/resource.h>

namespace bench {

namespace {

double clockMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

} // namespace

double nowMs()
{
    return clockMs(CLOCK_MONOTONIC);
}

double cpuMs()
{
    return clockMs(CLOCK_PROCESS_CPUTIME_ID);
}

double threadCpuMs()
{
    return clockMs(CLOCK_THREAD_CPUTIME_ID);
}

bool ProbedApplication::notify(QObject *receiver, QEvent *event)
{
    const bool widgetPaint = event->type() == QEvent::Paint && receiver->isWidgetType();
    const bool handled = QApplication::notify(receiver, event);
    if (widgetPaint && afterPaint)
        afterPaint(static_cast<QWidget *>(receiver));
    if (afterEvent)
        afterEvent(receiver, nowMs());
    return handled;
}

void onFirstPaint(ProbedApplication &application, std::function<const QWidget *()> window,
                  std::function<void(double ms)> done)
{
    // 0: not painted yet, 1: painted, 2: reported.
    auto state = std::make_shared<int>(0);
    application.afterPaint = [state, window](QWidget *widget) {
        if (*state == 0 && window() && widget->window() == window())
            *state = 1;
    };
    application.afterEvent = [state, window, done](const QObject *receiver, double ms) {
        if (*state != 1 || !window() || receiver != static_cast<const QObject *>(window()->windowHandle()))
            return;
        *state = 2;
        done(ms);
    };
}

void reportStartup(ProbedApplication &application, std::function<const QWidget *()> window)
{
    onFirstPaint(application, std::move(window), [](double ms) {
        std::printf("painted_ms=%.3f\ncpu_ms=%.3f\n", ms, cpuMs());
        QTimer::singleShot(500, [] {
            rusage usage{};
            getrusage(RUSAGE_SELF, &usage);
            std::printf("peak_rss_kb=%ld\n", usage.ru_maxrss);
            QCoreApplication::exit(0);
        });
    });
    QTimer::singleShot(30000, [] { QCoreApplication::exit(3); });
}

} // namespace bench
