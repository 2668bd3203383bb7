// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the fairness of the draw: every remaining ball equally likely, a drawn one never again.

#include "game/Drum.h"

#include <QTest>
#include <random>

using namespace cantabola;

class DrumTest : public QObject
{
    Q_OBJECT

private slots:
    void remainingBallsAreEquallyLikely_data()
    {
        QTest::addColumn<int>("alreadyDrawn");
        QTest::newRow("fresh drum") << 0;
        QTest::newRow("half drawn") << 45;
        QTest::newRow("ten left") << 80;
    }
    void remainingBallsAreEquallyLikely()
    {
        // Chi-square over many seeded draws from the same drum: with k - 1 degrees of freedom the statistic
        // stays well under the 0.1% critical value for a uniform choice. A seeded run cannot flake.
        QFETCH(int, alreadyDrawn);
        DrawnFlags drawn{};
        for (int n = 1; n <= alreadyDrawn; ++n)
            drawn[static_cast<std::size_t>(n * 89 % 90 + 1)] = true;
        const int remaining = 90 - alreadyDrawn;
        const int trials = 2000 * remaining;
        std::array<int, 91> counts{};
        std::mt19937_64 engine(20261206);
        std::uniform_real_distribution<double> uniform(0.0, 1.0);
        for (int t = 0; t < trials; ++t)
            ++counts[static_cast<std::size_t>(chooseBall(drawn, [&] { return uniform(engine); }))];

        double chiSquare = 0;
        const double expected = static_cast<double>(trials) / remaining;
        for (std::size_t n = 1; n <= 90; ++n) {
            if (drawn[n]) {
                QCOMPARE(counts[n], 0);
                continue;
            }
            chiSquare += (counts[n] - expected) * (counts[n] - expected) / expected;
        }
        const double dof = remaining - 1;
        // Wilson-Hilferty approximation of the 99.9% point of chi-square with dof degrees of freedom.
        const double z = 3.09;
        const double critical = dof * std::pow(1 - 2 / (9 * dof) + z * std::sqrt(2 / (9 * dof)), 3);
        QVERIFY2(chiSquare < critical,
                 qPrintable(QStringLiteral("chi-square %1 >= %2").arg(chiSquare).arg(critical)));
    }

    void edgesOfTheUnitIntervalMapToOneAndNinety()
    {
        DrawnFlags drawn{};
        QCOMPARE(chooseBall(drawn, [] { return 0.0; }), 1);
        QCOMPARE(chooseBall(drawn, [] { return std::nextafter(1.0, 0.0); }), 90);
    }
};

QTEST_APPLESS_MAIN(DrumTest)
#include "DrumTest.moc"
