#include "BannerRotation.h"

#include <QDir>

namespace cantabola {

BannerFiles bannerFiles(const QString &programFolder, int counter)
{
    const QDir data(QDir(programFolder).filePath(QStringLiteral("data")));
    const int banner = bannerNumber(counter);
    return {data.filePath(QStringLiteral("b%1.gif").arg(banner)),
            data.filePath(QStringLiteral("t%1.txt").arg(banner))};
}

} // namespace cantabola
