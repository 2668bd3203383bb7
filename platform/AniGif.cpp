#include "AniGif.h"

#include <QFileInfo>
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
    // A banner is a few kilobytes; a file of tens of megabytes is not one, and is not decoded at all.
    constexpr qint64 largestBanner = 16 * 1024 * 1024;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > largestBanner)
        return;
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
