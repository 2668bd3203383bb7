// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What every process of the benchmark needs, also the two small start-up programs that link nothing but what
// they measure: the monotonic clock, and an application that time-stamps the events it delivers.

#include <QApplication>
#include <functional>

namespace bench {

// The monotonic clock in milliseconds: the same clock in every process of the machine, so a child process can
// report a moment its parent measures from.
double nowMs();
// The processor time of this process so far, every thread's, in milliseconds.
double cpuMs();
// The processor time of the calling thread alone, in milliseconds: what a piece of work costs whatever else
// the machine runs.
double threadCpuMs();

// A QApplication that reports each event it has delivered, with the moment the delivery was over.
class ProbedApplication : public QApplication
{
public:
    ProbedApplication(int &argc, char **argv)
        : QApplication(argc, argv)
    {
    }

    // After a paint event was handled by a widget.
    std::function<void(QWidget *widget)> afterPaint;
    // After any event was handled; the receiver is only compared, never used (it may be gone).
    std::function<void(const QObject *receiver, double ms)> afterEvent;

    bool notify(QObject *receiver, QEvent *event) override;
};

// Calls `done` once with the moment the window-system event in which the window `window()` was first painted
// has been handled. `window` is asked at every event, as the window may not exist yet when watching starts.
void onFirstPaint(ProbedApplication &application, std::function<const QWidget *()> window,
                  std::function<void(double ms)> done);

// For a start-up: prints "painted_ms" (the moment of the first paint) and "cpu_ms" (the processor time of the
// process so far), then half a second later "peak_rss_kb", and ends the event loop; after 30 s, exit code 3.
void reportStartup(ProbedApplication &application, std::function<const QWidget *()> window);

} // namespace bench
