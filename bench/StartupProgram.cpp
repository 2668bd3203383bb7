// One start of the program, step by step as its own main() does it, linked with the same libraries, up to
// the end of the main window's first paint. The run that starts it measures from the moment it started it.
//
//   cantabola_bench_startup PROGRAM-FOLDER

#include "Cantabola.h"
#include "Fonts.h"
#include "FrmBingo.h"
#include "Probe.h"
#include "RealPlatform.h"
#include "SdlSound.h"

#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char *argv[])
{
    bench::quietQtNotices();
    bench::ProbedApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantabola"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.0"));
    QTranslator qtSpanish;
    if (qtSpanish.load(QStringLiteral("qtbase_es"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtSpanish);
    cantabola::installFontSubstitutions();

    const QStringList arguments = QApplication::arguments();
    cantabola::QtScreen screen;
    cantabola::SystemClock clock;
    cantabola::EventLoopWaiter waiter;
    cantabola::SystemRandom random;
    cantabola::QtMessageBoxes messages;
    cantabola::ImmediateExit process;
    cantabola::SdlSound sound;
    cantabola::QtColourDialog colours;
    cantabola::QtPrintDialog printing;
    cantabola::DesktopBrowser browser;
    cantabola::HelpWindowViewer help;
    cantabola::Platform platform{
        screen, clock,   waiter,   random,  messages, process,
        sound,  colours, printing, browser, help,     arguments.value(1, cantabola::executableFolder())};

    cantabola::Cantabola program(platform);
    bench::reportFirstPaint(application, [&program] { return &program.window(); });
    if (!program.start())
        return 2;
    return QApplication::exec();
}
