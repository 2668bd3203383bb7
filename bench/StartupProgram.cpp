// One start of the program, step by step as its own main() does it, linked with the same libraries, up to
// the end of the main window's first paint. The run that starts it measures from the moment it started it.
//
//   cantabola_bench_startup PROGRAM-FOLDER

#include "Cantabola.h"
#include "DeferredSound.h"
#include "FrmBingo.h"
#include "Probe.h"
#include "RealPlatform.h"

#include <QDir>

int main(int argc, char *argv[])
{
    bench::quietQtNotices();
    bench::ProbedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantabola"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.0"));
    // Qt's own buttons in Spanish, and the design's faces.
    const cantabola::ApplicationSetup setup;

    const QStringList arguments = QApplication::arguments();
    cantabola::QtScreen screen;
    cantabola::SystemClock clock;
    cantabola::EventLoopWaiter waiter;
    cantabola::SystemRandom random;
    cantabola::QtMessageBoxes messages;
    cantabola::ImmediateExit process;
    const QString programFolder = arguments.value(1, cantabola::executableFolder());
    cantabola::DeferredSound sound(QDir(programFolder).filePath(cantabola::SoundLibraryFileName));
    cantabola::QtColourDialog colours;
    cantabola::QtPrintDialog printing;
    cantabola::DesktopBrowser browser;
    cantabola::HelpWindowViewer help;
    cantabola::Platform platform{screen, clock,   waiter,   random,  messages, process,
                                 sound,  colours, printing, browser, help,     programFolder};

    cantabola::Cantabola program(platform);
    bench::reportFirstPaint(application, [&program] { return &program.window(); });
    if (!program.start())
        return 2;
    program.afterFirstPaint([&sound] { sound.load(); });
    return QApplication::exec();
}
