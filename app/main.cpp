// Cantabola: a caller for the 90-ball game of bingo.

#include "Cantabola.h"
#include "DeferredSound.h"
#include "RealPlatform.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstdlib>

namespace {

// Qt aborts without a display; say so in one line instead.
bool displayAvailable()
{
    const auto set = [](const char *name) {
        const char *value = std::getenv(name);
        return value && *value;
    };
    return set("QT_QPA_PLATFORM") || set("DISPLAY") || set("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char *argv[])
{
    if (!displayAvailable()) {
        std::fputs(
            "cantabola: no hay pantalla disponible (DISPLAY no está definido); el programa necesita un "
            "escritorio.\n",
            stderr);
        return 1;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantabola"));
    QApplication::setApplicationVersion(QStringLiteral("2.0.0"));

    // Qt's own buttons in Spanish, and the design's faces.
    const cantabola::ApplicationSetup setup;

    cantabola::QtScreen screen;
    cantabola::SystemClock clock;
    cantabola::EventLoopWaiter waiter;
    cantabola::SystemRandom random;
    cantabola::QtMessageBoxes messages;
    cantabola::ImmediateExit process;
    // The sound library is loaded once the window is up (see DeferredSound).
    cantabola::DeferredSound sound(
        QDir(cantabola::executableFolder()).filePath(cantabola::SoundLibraryFileName));
    cantabola::QtColourDialog colours;
    cantabola::QtPrintDialog printing;
    cantabola::DesktopBrowser browser;
    cantabola::HelpWindowViewer help;
    cantabola::Platform platform{screen, clock,   waiter,   random,  messages, process,
                                 sound,  colours, printing, browser, help,     cantabola::executableFolder()};

    cantabola::Cantabola program(platform);
    if (!program.start())
        return 0;
    program.afterFirstPaint([&sound] { sound.load(); });
    return QApplication::exec();
}
