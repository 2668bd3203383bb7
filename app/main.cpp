// SPDX-License-Identifier: GPL-3.0-or-later
// Cantabola: a caller for the 90-ball game of bingo.

#include "AppInfo.h"
#include "Cantabola.h"
#include "RealPlatform.h"

#include <QApplication>
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

    cantabola::switchOffToolkitScaling();
    QApplication application(argc, argv);
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
