// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QLabel>

class QMovie;

namespace cantabola {

// Whether the picture whose first bytes are head is a GIF that decodes onto an image no larger than
// largestSide on either side. head must reach the GIF's first frame when its logical screen has no size.
bool gifCanvasFits(const QByteArray &head, int largestSide);

// Shows an animated (or still) GIF loaded from a file path and reports clicks on it. A missing, empty or
// foreign file, one too large for a banner, or anything but a regular file leaves it blank; a truncated GIF
// shows the frames it holds.
class AniGif : public QLabel
{
    Q_OBJECT

public:
    explicit AniGif(QWidget *parent = nullptr);
    // Loads and starts the picture, restarting its animation even when it is the same file.
    void loadFile(const QString &path);
    QMovie *movie() const { return m_movie; }

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QMovie *m_movie = nullptr;
};

} // namespace cantabola
