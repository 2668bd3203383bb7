// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AniGif.h"

#include "platform/Logging.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMouseEvent>
#include <QMovie>

namespace cantabola {

namespace {

// Enough of a GIF's start to reach its first frame behind a colour table and a few extensions.
constexpr qint64 gifHeadBytes = qint64(64) * 1024;

int little16(const QByteArray &bytes, qsizetype at)
{
    return int(static_cast<uchar>(bytes[at])) | int(static_cast<uchar>(bytes[at + 1])) << 8;
}

} // namespace

bool gifCanvasFits(const QByteArray &head, int largestSide)
{
    // Every frame is decoded onto an image the size of the GIF's logical screen, whatever size the frames
    // themselves claim (and an image reader reports only the first frame's): a picture of a few kilobytes
    // may have small frames on a screen of 5000 x 5000. A screen of no size takes the size of the first
    // frame instead, so that frame is looked up and measured before anything is decoded.
    constexpr qsizetype screenEnd = 13;
    if (head.size() < screenEnd || !head.startsWith("GIF8"))
        return false;
    const int screenWidth = little16(head, 6);
    const int screenHeight = little16(head, 8);
    if (screenWidth > largestSide || screenHeight > largestSide)
        return false;
    if (screenWidth > 0 && screenHeight > 0)
        return true;

    const auto flags = static_cast<uchar>(head[10]);
    qsizetype at = screenEnd + ((flags & 0x80) ? 3 * (qsizetype(2) << (flags & 0x07)) : 0);
    while (at < head.size()) {
        const auto block = static_cast<uchar>(head[at]);
        if (block == 0x2C) { // an image: left, top, width, height
            if (at + 9 > head.size())
                return false;
            return little16(head, at + 1) + little16(head, at + 5) <= largestSide
                && little16(head, at + 3) + little16(head, at + 7) <= largestSide;
        }
        if (block != 0x21 || at + 2 >= head.size()) // neither an extension nor anything a GIF holds here
            return false;
        at += 2; // the introducer and the label, then sub-blocks up to an empty one
        while (at < head.size() && head[at] != 0)
            at += 1 + static_cast<uchar>(head[at]);
        ++at;
    }
    return false;
}

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
    if (!info.isFile() || info.size() > largestBannerFile) {
        qCDebug(lcBanner) << "no banner picture, or too large:" << path;
        return;
    }
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly) || !gifCanvasFits(file.read(gifHeadBytes), largestBannerSide)) {
            qCDebug(lcBanner) << "banner picture unreadable, or its canvas too large:" << path;
            return;
        }
    }
    {
        QImageReader header(path, QByteArray("gif"));
        const QSize size = header.size();
        if (!header.canRead() || size.isEmpty() || size.width() > largestBannerSide
            || size.height() > largestBannerSide) {
            qCDebug(lcBanner) << "banner picture not a GIF of a banner's size:" << path;
            return;
        }
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
