#include "AniGif.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QMovie>

namespace cantabola {

AniGif::AniGif(QWidget *parent)
    : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void AniGif::loadFile(const QString &path)
{
    if (m_movie) {
        m_movie->stop();
        setMovie(nullptr);
        delete m_movie;
        m_movie = nullptr;
    }
    clear();
    // A banner is a few kilobytes and a few hundred pixels. A file of tens of megabytes is not one, nor is a
    // picture that claims millions of pixels (a GIF of fifty bytes may ask for 5000 x 5000, a hundred
    // megabytes and a quarter of a second per frame): neither is decoded at all. Only a regular file is
    // opened; a pipe or a device under the name would never end.
    constexpr qint64 largestBannerFile = qint64(16) * 1024 * 1024;
    constexpr int largestBannerSide = 2048;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > largestBannerFile)
        return;
    {
        // Every frame is decoded onto an image the size of the GIF's logical screen, whatever size the frames
        // themselves claim (and the reader below reports only the first frame's): a picture of a few
        // kilobytes may have small frames on a screen of 5000 x 5000.
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        const QByteArray head = file.read(10);
        if (head.size() < 10 || !head.startsWith("GIF8"))
            return;
        const auto little16 = [&head](int at) {
            return int(static_cast<uchar>(head[at])) | int(static_cast<uchar>(head[at + 1])) << 8;
        };
        if (little16(6) > largestBannerSide || little16(8) > largestBannerSide)
            return;
    }
    {
        QImageReader header(path, QByteArray("gif"));
        const QSize size = header.size();
        if (!header.canRead() || size.isEmpty() || size.width() > largestBannerSide
            || size.height() > largestBannerSide)
            return;
    }
    auto *movie = new QMovie(path, QByteArray("gif"), this);
    if (!movie->isValid()) {
        delete movie;
        return;
    }
    m_movie = movie;
    setMovie(movie);
    movie->start();
}

void AniGif::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
    QLabel::mouseReleaseEvent(event);
}

} // namespace cantabola
