// The yardstick of the start-up: a minimal Qt window, in a program that links Qt Widgets and nothing else,
// up to the end of its first paint. The run that starts it measures from the moment it started it.

#include "Probe.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char **argv)
{
    bench::quietQtNotices();
    bench::ProbedApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    // As large as the program's window, which fills the benchmark's screen (any screen but 1024 x 768).
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    bench::reportFirstPaint(application, [&window] { return &window; });
    window.show();
    return QApplication::exec();
}
