// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The sponsor banner of the main window: the panel Picture4 with the animated picture AniGIF1, its timer
// Timer1 and the rotation behind them. A click opens the banner's web address. Whoever else shows the banner
// (the room's screen) follows it through changed().

#include "about/BannerRotation.h"

#include <QFrame>

class QTimer;

namespace cantabola {

class AniGif;
class Browser;
class ControlSet;

class BannerView : public QFrame
{
    Q_OBJECT

public:
    BannerView(QWidget *client, ControlSet &controls, const QString &programFolder, Browser &browser);

    // Start-up: the banner changes once a minute from now on, starting from a random one of 1 to 8 (r in
    // [0, 1)). The first picture comes with the first tick.
    void start(double r);

signals:
    // The banner shows another picture.
    void changed(const QString &picturePath);

private:
    void Timer1_Timer();
    void AniGIF1_Click();

    Browser &m_browser;
    BannerRotation m_rotation;
    AniGif *AniGIF1 = nullptr;
    QTimer *Timer1 = nullptr;
};

} // namespace cantabola
