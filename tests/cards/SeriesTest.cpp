// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the series of six: every number once per series, every card a valid card, and series that vary.

#include "cards/Series.h"

#include <QTest>
#include <set>

using namespace cantabola;

class SeriesTest : public QObject
{
    Q_OBJECT

private slots:
    void everySeriesHoldsEachNumberOnceOnValidCards()
    {
        std::set<std::array<int, 9>> shapes; // a card's numbers per column
        for (std::uint64_t seed = 0; seed < 20000; ++seed) {
            SeriesRandom random(seed);
            const Series series = makeSeries(random);
            std::array<int, 91> seen{};
            for (const SeriesCard &card : series) {
                std::array<int, 3> perRow{};
                std::array<int, 9> perColumn{};
                for (int k = 0; k < 27; ++k) {
                    const int n = card[static_cast<std::size_t>(k)], column = k / 3, row = k % 3;
                    if (n == 0)
                        continue;
                    const int lowest = column == 0 ? 1 : 10 * column,
                              highest = column == 8 ? 90 : 10 * column + 9;
                    QVERIFY2(
                        n >= lowest && n <= highest,
                        qPrintable(
                            QStringLiteral("seed %1: %2 in column %3").arg(seed).arg(n).arg(column + 1)));
                    for (int above = k - row; above < k; ++above)
                        QVERIFY(card[static_cast<std::size_t>(above)] < n); // increasing down the column
                    ++seen[static_cast<std::size_t>(n)];
                    ++perRow[static_cast<std::size_t>(row)];
                    ++perColumn[static_cast<std::size_t>(column)];
                }
                QCOMPARE(perRow, (std::array<int, 3>{5, 5, 5}));
                for (const int count : perColumn)
                    QVERIFY(count >= 1 && count <= 3);
                shapes.insert(perColumn);
            }
            QCOMPARE(std::count(seen.begin() + 1, seen.end(), 1), 90L);
        }
        // The cards of a series take many shapes, not a few fixed ones.
        QVERIFY2(shapes.size() > 500, qPrintable(QString::number(shapes.size())));
    }

    void aSeedRepeatsItsSeries()
    {
        SeriesRandom a(7), b(7), c(8);
        const Series first = makeSeries(a);
        QCOMPARE(makeSeries(b), first);
        QVERIFY(makeSeries(c) != first);
    }
};

QTEST_GUILESS_MAIN(SeriesTest)
#include "SeriesTest.moc"
