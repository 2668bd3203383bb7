#pragma once

// The little that every process of the benchmark needs, also the two small start-up programs that link
// nothing but what they measure: the monotonic clock, the peak memory, result lines for the run that started
// the process, and an application that time-stamps the events it delivers.

#include <QApplication>
#include <QString>
#include <functional>

namespace bench {

// The monotonic clock in milliseconds. It is the same clock in every process of the machine, so a child
// process can report a moment that its parent measures from.
double nowMs();
// The largest resident set the process has had, in kilobytes.
long peakResidentKb();

// A result: one "key=value" line on standard output, read by the run that started the process.
void result(const QString &key, double value);

// Keeps the notices every headless run of Qt prints (no runtime folder, the offscreen platform's size
// hints) off standard error, so that progress and real warnings stand out.
void quietQtNotices();

// A QApplication that reports each event it has delivered, with the moment the delivery was over.
class ProbedApplication : public QApplication
{
public:
    ProbedApplication(int &argc, char **argv);

    // After a paint event was handled by a widget.
    std::function<void(QWidget *widget, double ms)> afterPaint;
    // After any event was handled; the receiver is only compared, never used (it may be gone).
    std::function<void(const QObject *receiver, QEvent::Type type, double ms)> afterEvent;

    bool notify(QObject *receiver, QEvent *event) override;
};

// For a start-up: reports "painted_ms" and the processor time so far, "cpu_ms", when the window-system
// event in which `window` was first painted has been handled, then, half a second later, "peak_rss_kb",
// and ends the event loop. `window` is asked
// at every event, as the window may not exist yet when watching starts. Gives up after 30 s (exit code 3).
void reportFirstPaint(ProbedApplication &application, std::function<const QWidget *()> window);

} // namespace bench
