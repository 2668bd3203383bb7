// SPDX-License-Identifier: GPL-3.0-or-later
// The yardstick of the start-up: a window as large as the program's, in a program that links Qt Widgets and
// nothing else, up to the end of its first paint.

#include "bench/Probe.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

int main(int argc, char **argv)
{
    bench::ProbedApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Minimal"));
    window.setGeometry(QGuiApplication::primaryScreen()->geometry());
    bench::reportStartup(application, [&window] { return &window; });
    window.show();
    return QApplication::exec();
}
