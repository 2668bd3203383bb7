#include "Banner.h"

#include "AddressFile.h"
#include "AniGif.h"
#include "BannerRotation.h"
#include "FrmBingo.h"
#include "WebAddress.h"

#include <QTimer>

namespace cantabola {

void FrmBingo_Timer1_Timer(FrmBingo &main)
{
    main.BannerCounter = nextBannerCounter(main.BannerCounter);
    const BannerFiles files = bannerFiles(main.platform().programFolder, main.BannerCounter);
    main.BannerUrl = readFirstField(files.address);
    // Loaded on every tick, also when the banner stays the same: its animation starts over.
    main.AniGIF1->loadFile(files.picture);
}

void FrmBingo_AniGIF1_Click(FrmBingo &main)
{
    if (main.BannerUrl.isEmpty())
        return;
    OpenWebAddress(main.platform(), main.BannerUrl, showHidden);
}

void installBanner(FrmBingo &main)
{
    QObject::connect(main.Timer1, &QTimer::timeout, &main, [&main] { FrmBingo_Timer1_Timer(main); });
    QObject::connect(main.AniGIF1, &AniGif::clicked, &main, [&main] { FrmBingo_AniGIF1_Click(main); });
}

} // namespace cantabola
