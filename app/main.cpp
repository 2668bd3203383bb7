// SPDX-License-Identifier: GPL-3.0-or-later
// Cantabola: a caller for the 90-ball game of bingo.

#include "app/Cantabola.h"
#include "platform/AppInfo.h"
#include "platform/Fonts.h"
#include "platform/RealPlatform.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <memory>

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

// While the application object is built, a display that cannot be opened (a server that is not running, a
// platform plugin that is not installed) ends the program with a line saying so and exit status 1, instead of
// Qt's abort and its core dump.
QtMessageHandler qtHandler = nullptr;

void refuseUnopenedDisplay(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    qtHandler(type, context, message);
    if (type != QtFatalMsg)
        return;
    const char *display = std::getenv("DISPLAY");
    std::fprintf(stderr, "cantabola: no se puede abrir la pantalla %s; el programa necesita un escritorio.\n",
                 display && *display ? display : "(ninguna)");
    std::fflush(stderr);
    std::_Exit(1);
}

std::unique_ptr<QApplication> openDisplay(int &argc, char **argv)
{
    qtHandler = qInstallMessageHandler(refuseUnopenedDisplay);
    auto application = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    return application;
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

    // The font system reads its configuration while the display is opened and the window begins.
    const cantabola::FontSystemStart fontSystem;
    cantabola::switchOffToolkitScaling();
    const auto application = openDisplay(argc, argv);
    QApplication::setApplicationName(cantabola::app::title);
    QApplication::setApplicationVersion(cantabola::app::versionText());

    // Qt's own buttons in Spanish, and the design's faces.
    const cantabola::ApplicationSetup setup;

    // The sound library is loaded once the window is up (see DeferredSound).
    cantabola::RealPlatform real;
    cantabola::Cantabola program(real.platform());
    program.afterFirstPaint([&real] { real.sound().load(); });
    if (!program.start())
        return 0;
    return QApplication::exec();
}
