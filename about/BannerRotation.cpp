// SPDX-License-Identifier: GPL-3.0-or-later
#include "about/BannerRotation.h"

#include "about/AddressFile.h"

#include <QDir>

namespace cantabola {

BannerFiles bannerFiles(const QString &programFolder, int counter)
{
    const QDir data(QDir(programFolder).filePath(QStringLiteral("data")));
    const int banner = bannerNumber(counter);
    return {data.filePath(QStringLiteral("b%1.gif").arg(banner)),
            data.filePath(QStringLiteral("t%1.txt").arg(banner))};
}

QString BannerRotation::tick()
{
    m_counter = nextBannerCounter(m_counter);
    const BannerFiles files = bannerFiles(m_programFolder, m_counter);
    m_address = readFirstField(files.address);
    return files.picture;
}

} // namespace cantabola
