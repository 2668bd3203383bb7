// SPDX-License-Identifier: GPL-3.0-or-later
// Any bytes as a banner's picture file: loaded by the banner control exactly as a tick of the banner timer
// loads it, then played through its frames and painted, as the banner shows it. Beyond crashes and sanitizer
// reports, one promise of the banner control is checked: a picture it accepts never decodes to frames larger
// than a banner may be (2048 pixels a side), so that no file can make it spend a hundred megabytes and a
// quarter of a second on every frame.

#include "platform/AniGif.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMovie>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int largestBannerSide = 2048;
// The frames played of each picture: enough to go round a short animation and start it again.
constexpr int framesPlayed = 12;

cantabola::AniGif *banner = nullptr;
QString picturePath;

} // namespace

extern "C" int LLVMFuzzerInitialize(int * /*argc*/, char *** /*argv*/)
{
    // The banner is a widget: an application on Qt's offscreen platform, made once for the whole run.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int qtArgc = 1;
    static char name[] = "fuzz_banner_picture";
    static char *qtArgv[] = {name, nullptr};
    static QApplication application(qtArgc, qtArgv);
    static QTemporaryDir folder;
    picturePath = folder.filePath(QStringLiteral("b1.gif"));
    banner = new cantabola::AniGif;
    banner->resize(414, 57);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    {
        QFile file(picturePath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
            || file.write(reinterpret_cast<const char *>(bytes), static_cast<qint64>(size))
                != static_cast<qint64>(size)) {
            std::fputs("banner picture: the scratch file cannot be written\n", stderr);
            std::abort();
        }
    }
    banner->loadFile(picturePath);
    QMovie *movie = banner->movie();
    if (!movie)
        return 0;
    for (int i = 0; i < framesPlayed; ++i) {
        const QImage frame = movie->currentImage();
        if (frame.width() > largestBannerSide || frame.height() > largestBannerSide) {
            std::fprintf(stderr, "banner picture: an accepted picture decodes to %d x %d pixels\n",
                         frame.width(), frame.height());
            std::abort();
        }
        if (!movie->jumpToNextFrame())
            break;
    }
    static_cast<void>(banner->grab()); // painted, as on the main window
    return 0;
}
