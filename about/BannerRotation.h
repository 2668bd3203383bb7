// SPDX-License-Identifier: GPL-3.0-or-later
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

// The count at start-up, from a random r in [0, 1): 2k - 1 for k = floor(r x 8) + 1, one of 1, 3, ..., 15, so
// that the first banner shown is a random one of 1 to 8.
inline int bannerCounterStart(double r)
{
    const int k = static_cast<int>(r * 8) + 1;
    return 2 * k - 1;
}

// The banner on show: its count, and the web address of its address file as read at the last tick.
class BannerRotation
{
public:
    explicit BannerRotation(QString programFolder)
        : m_programFolder(std::move(programFolder))
    {
    }

    void start(double r) { m_counter = bannerCounterStart(r); }
    // Moves to the next count, reads its address afresh and returns the picture to load. Missing or broken
    // files leave the banner blank or without a link; the rotation goes on.
    QString tick();

    int counter() const { return m_counter; }
    // The address a click on the banner opens; empty when the banner has none.
    const QString &address() const { return m_address; }

private:
    QString m_programFolder;
    int m_counter = 0;
    QString m_address;
};

} // namespace cantabola
