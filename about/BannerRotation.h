#pragma once

// Which sponsor banner is on show. The banner timer counts ticks from 1 to 18 and round again; two
// consecutive counts share one of the nine banners, each a picture "b<n>.gif" and an address file "t<n>.txt"
// in the data folder inside the program's folder.

#include <QString>

namespace cantabola {

constexpr int bannerCount = 9;
constexpr int bannerCounterLast = 2 * bannerCount; // 18

// The count after a tick: one more, and 18 is followed by 1. A count outside 1 to 18 starts over at 1.
constexpr int nextBannerCounter(int counter)
{
    if (counter < 0 || counter >= bannerCounterLast)
        return 1;
    return counter + 1;
}

// The banner of a count from 1 to 18: 1 and 2 show banner 1, ..., 17 and 18 show banner 9.
constexpr int bannerNumber(int counter)
{
    return (counter + 1) / 2;
}

struct BannerFiles
{
    QString picture; // <programFolder>/data/b<n>.gif
    QString address; // <programFolder>/data/t<n>.txt
};

// The two files of the banner a count shows, found in the data folder of the program's own folder (never the
// current directory). The names are lower case.
BannerFiles bannerFiles(const QString &programFolder, int counter);

} // namespace cantabola
