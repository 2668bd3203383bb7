// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/BannerView.h"

#include "about/WebAddress.h"
#include "layout/Controls.h"
#include "layout/ScaledWindow.h"
#include "platform/AniGif.h"

#include <QTimer>

namespace cantabola {

BannerView::BannerView(QWidget *client, ControlSet &controls, const QString &programFolder, Browser &browser)
    : QFrame(client)
    , m_browser(browser)
    , m_rotation(programFolder)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(2);
    setBackColour(this, 0x00000000, true);
    const Control &picture4 = controls.add(QStringLiteral("Picture4"), QStringLiteral("picturebox"), this,
                                           nullptr, 240, 6840, 6615, 1215, 8.25F);
    AniGIF1 = new AniGif(this);
    controls.add(QStringLiteral("AniGIF1"), QStringLiteral("anigif"), AniGIF1, &picture4, 120, 120, 6210,
                 855);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    connect(Timer1, &QTimer::timeout, this, &BannerView::Timer1_Timer);
    connect(AniGIF1, &AniGif::clicked, this, &BannerView::AniGIF1_Click);
}

void BannerView::start(double r)
{
    Timer1->setInterval(60000);
    Timer1->start();
    m_rotation.start(r);
}

void BannerView::Timer1_Timer()
{
    // Loaded on every tick, also when the banner stays the same: its animation starts over.
    const QString picture = m_rotation.tick();
    AniGIF1->loadFile(picture);
    emit changed(picture);
}

void BannerView::AniGIF1_Click()
{
    OpenWebAddress(m_browser, m_rotation.address(), showHidden);
}

} // namespace cantabola
