// SPDX-License-Identifier: GPL-3.0-or-later
// The program's start, exactly as its main() does it and linked with the same libraries, up to the end of the
// main window's first paint. It prints the moment on the monotonic clock and the processor time so far, and
// half a second later the peak memory, for the run that started it (cantabola_bench startup).
//
//   cantabola_bench_startup PROGRAM-FOLDER

#include "app/Cantabola.h"
#include "bench/Probe.h"
#include "mainwindow/FrmBingo.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"
#include "platform/RealPlatform.h"

int main(int argc, char *argv[])
{
    const cantabola::FontSystemStart fontSystem;
    bench::ProbedApplication application(argc, argv);
    QApplication::setApplicationName(cantabola::app::title);
    QApplication::setApplicationVersion(cantabola::app::versionText());
    const cantabola::ApplicationSetup setup;

    cantabola::RealPlatform real(QApplication::arguments().value(1, cantabola::executableFolder()));
    cantabola::Cantabola program(real.platform());
    bench::reportStartup(application, [&program] { return &program.window(); });
    program.afterFirstPaint([&real] { real.sound().load(); });
    if (!program.start())
        return 2;
    return QApplication::exec();
}
