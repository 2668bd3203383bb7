#include "Probe.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <memory>
#include <sys/resource.h>

namespace bench {

double nowMs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

long peakResidentKb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

void result(const QString &key, double value)
{
    std::printf("%s=%.6f\n", qPrintable(key), value);
    std::fflush(stdout);
}

namespace {

QtMessageHandler qtDefault = nullptr;

} // namespace

void quietQtNotices()
{
    qtDefault
        = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context, const QString &text) {
              static const char *const known[] = {"propagateSizeHints", "XDG_RUNTIME_DIR"};
              const bool isKnown
                  = std::any_of(std::begin(known), std::end(known),
                                [&text](const char *notice) { return text.contains(QLatin1String(notice)); });
              if (!isKnown && qtDefault)
                  qtDefault(type, context, text);
          });
}

ProbedApplication::ProbedApplication(int &argc, char **argv)
    : QApplication(argc, argv)
{
}

bool ProbedApplication::notify(QObject *receiver, QEvent *event)
{
    const QEvent::Type type = event->type();
    const bool widgetPaint = type == QEvent::Paint && receiver->isWidgetType();
    const bool handled = QApplication::notify(receiver, event);
    const double now = nowMs();
    if (widgetPaint && afterPaint)
        afterPaint(static_cast<QWidget *>(receiver), now);
    if (afterEvent)
        afterEvent(receiver, type, now);
    return handled;
}

void reportFirstPaint(ProbedApplication &application, std::function<const QWidget *()> window)
{
    auto sawPaint = std::make_shared<bool>(false);
    auto reported = std::make_shared<bool>(false);
    application.afterPaint = [sawPaint, window](QWidget *widget, double) {
        if (widget->window() == window())
            *sawPaint = true;
    };
    application.afterEvent = [sawPaint, reported, window](const QObject *receiver, QEvent::Type, double ms) {
        if (*reported || !*sawPaint || receiver != static_cast<const QObject *>(window()->windowHandle()))
            return;
        *reported = true;
        result(QStringLiteral("painted_ms"), ms);
        // The processor time it took, from the start of the process (the dynamic loader included).
        timespec cpu{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
        result(QStringLiteral("cpu_ms"),
               static_cast<double>(cpu.tv_sec) * 1e3 + static_cast<double>(cpu.tv_nsec) / 1e6);
        QTimer::singleShot(500, [] {
            result(QStringLiteral("peak_rss_kb"), static_cast<double>(peakResidentKb()));
            QCoreApplication::exit(0);
        });
    };
    QTimer::singleShot(30000, [] { QCoreApplication::exit(3); });
}

} // namespace bench
