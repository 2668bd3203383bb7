// SPDX-License-Identifier: GPL-3.0-or-later
// Protects finding the winners as a ball is drawn: against rescanning every card after every ball, through
// draws and undos, and on the rows of one card.

#include "game/CardsInPlay.h"
#include "cards/SerialRanges.h"
#include "cards/Series.h"

#include <QTest>
#include <random>

using namespace cantabola;

namespace {

// The obvious rule: every card rescanned, its complete rows counted over the balls out.
int completeRows(const CardInPlay &card, const std::array<bool, 91> &out)
{
    int complete = 0;
    for (int row = 0; row < 3; ++row) {
        bool whole = true;
        for (int column = 0; column < 9; ++column) {
            const int n = card.cells[static_cast<std::size_t>(3 * column + row)];
            whole = whole && (n == 0 || out[static_cast<std::size_t>(n)]);
        }
        complete += whole ? 1 : 0;
    }
    return complete;
}

// Card 1 of a series seeded 3, with one row's five numbers, to read the table below by.
CardInPlay sampleCard()
{
    SeriesRandom random(3);
    return {101, makeSeries(random)[0]};
}

std::vector<int> row(const CardInPlay &card, int r)
{
    std::vector<int> numbers;
    for (int column = 0; column < 9; ++column) {
        if (const int n = card.cells[static_cast<std::size_t>(3 * column + r)])
            numbers.push_back(n);
    }
    return numbers;
}

} // namespace

class CardsInPlayTest : public QObject
{
    Q_OBJECT

private slots:
    void serialRangesAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("ranges"); // as written back; empty when invalid
        QTest::addColumn<QString>("invalid");
        QTest::addColumn<qint64>("count");
        QTest::newRow("hall") << "1-300, 451-480, 1002"
                              << "1-300, 451-480, 1002"
                              << "" << qint64(331);
        QTest::newRow("spaces, order, overlaps") << " 20 - 30,1,25-40 ,2"
                                                 << "1-2, 20-40"
                                                 << "" << qint64(23);
        QTest::newRow("empty parts") << ",7,,"
                                     << "7"
                                     << "" << qint64(1);
        QTest::newRow("nothing") << ""
                                 << ""
                                 << "" << qint64(0);
        QTest::newRow("reversed") << "1-3, 9-4"
                                  << ""
                                  << "9-4" << qint64(0);
        QTest::newRow("open range") << "5-"
                                    << ""
                                    << "5-" << qint64(0);
        QTest::newRow("zero") << "0-3"
                              << ""
                              << "0-3" << qint64(0);
        QTest::newRow("words") << "1, dos"
                               << ""
                               << "dos" << qint64(0);
    }
    void serialRangesAsTyped()
    {
        QFETCH(QString, typed);
        QFETCH(QString, ranges);
        QFETCH(QString, invalid);
        QFETCH(qint64, count);
        const SerialRanges parsed = parseSerialRanges(typed);
        QCOMPARE(serialRangesText(parsed.ranges), ranges);
        QCOMPARE(parsed.invalid, invalid);
        QCOMPARE(parsed.count(), count);
    }

    void theBallThatCompletesAPrizeNamesTheCard_data()
    {
        QTest::addColumn<QList<int>>("rowsDrawn"); // whole rows drawn, in this order
        QTest::addColumn<int>("rowsNeeded");
        QTest::addColumn<int>(
            "winningRowCount"); // the card wins with the last ball of this many rows; 0 never
        QTest::newRow("line with its first row") << QList<int>{0} << 1 << 1;
        QTest::newRow("line with the bottom row") << QList<int>{2} << 1 << 1;
        QTest::newRow("one row is no two lines") << QList<int>{1} << 2 << 0;
        QTest::newRow("two lines with the second row") << QList<int>{2, 0} << 2 << 2;
        QTest::newRow("two rows are no bingo") << QList<int>{0, 1} << 3 << 0;
        QTest::newRow("bingo with the last number") << QList<int>{1, 2, 0} << 3 << 3;
    }
    void theBallThatCompletesAPrizeNamesTheCard()
    {
        QFETCH(QList<int>, rowsDrawn);
        QFETCH(int, rowsNeeded);
        QFETCH(int, winningRowCount);
        const CardInPlay card = sampleCard();
        CardsInPlay cards({card, CardInPlay{7, {}}});
        int rowsDone = 0;
        for (const int r : rowsDrawn) {
            const std::vector<int> numbers = row(card, r);
            QCOMPARE(numbers.size(), std::size_t(5));
            for (std::size_t i = 0; i < numbers.size(); ++i) {
                const bool last = i + 1 == numbers.size();
                const auto winners = cards.draw(numbers[i], rowsNeeded);
                const bool wins = last && rowsDone + 1 == winningRowCount;
                QCOMPARE(winners, wins ? std::vector<std::uint32_t>{1} : std::vector<std::uint32_t>{});
            }
            ++rowsDone;
            QVERIFY(cards.rowsComplete(1)[static_cast<std::size_t>(r)]);
        }
        // Taking the last ball back opens its row again.
        cards.takeBack(row(card, rowsDrawn.back()).back());
        QCOMPARE(cards.completeRows(1), rowsDrawn.size() - 1);
    }

    void findsTheSameWinnersAsRescanningEveryCard()
    {
        std::mt19937 random(20261207);
        for (int game = 0; game < 60; ++game) {
            // Six series, with one card printed all white (27 numbers, some repeated down a column).
            std::vector<CardInPlay> all;
            SeriesRandom series(static_cast<std::uint64_t>(game));
            for (int s = 0; s < 6; ++s) {
                for (const SeriesCard &c : makeSeries(series))
                    all.push_back({static_cast<qint64>(random() % 100000), c});
            }
            for (std::size_t k = 0; k < 27; ++k)
                all[0].cells[k] = static_cast<int>(k / 3 == 0 ? 1 + k % 3 : 10 * (k / 3) + k % 3);
            all[0].cells[4] = all[0].cells[3];
            CardsInPlay fast(all);
            std::vector<CardInPlay> slow;
            for (std::size_t i = 0; i < fast.size(); ++i)
                slow.push_back(fast.card(i));

            const int rows = 1 + game % 3;
            std::vector<int> drum(90);
            std::iota(drum.begin(), drum.end(), 1);
            std::shuffle(drum.begin(), drum.end(), random);
            std::vector<int> order;
            std::array<bool, 91> out{};
            while (order.size() < 90) {
                if (!order.empty() && random() % 7 == 0) { // an undo now and then
                    const int n = order.back();
                    order.pop_back();
                    drum.push_back(n);
                    out[static_cast<std::size_t>(n)] = false;
                    fast.takeBack(n);
                    continue;
                }
                const int n = drum.back();
                drum.pop_back();
                std::vector<std::uint32_t> expected;
                for (std::size_t i = 0; i < slow.size(); ++i) {
                    const int before = completeRows(slow[i], out);
                    out[static_cast<std::size_t>(n)] = true;
                    if (before < rows && completeRows(slow[i], out) >= rows)
                        expected.push_back(static_cast<std::uint32_t>(i));
                    out[static_cast<std::size_t>(n)] = false;
                }
                out[static_cast<std::size_t>(n)] = true;
                order.push_back(n);
                QCOMPARE(fast.draw(n, rows), expected);
            }
            QCOMPARE(fast.cardsWith(3).size(), fast.size()); // a full board: every card a bingo
        }
    }
};

QTEST_GUILESS_MAIN(CardsInPlayTest)
#include "CardsInPlayTest.moc"
