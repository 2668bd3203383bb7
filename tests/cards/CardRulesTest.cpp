// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the card numbers: the card rules over many draws, the redraws, and the rounding of a draw.

#include "cards/CardRules.h"
#include "support/FakePlatform.h"

#include <QTest>
#include <set>

using namespace cantabola;
using cantabola::testing::FakeRandom;

namespace {

// Four cards in memory, their blanks in a colour other than white as in the window; 0 is no number.
struct Sheet : CardCells
{
    ColourValue background(int c, int k) const override { return isBlankCell(c, k) ? 0 : numberCellColour; }
    void setCaption(int card, int k, const std::string &text) override { number[card][k] = std::stoi(text); }
    void repaintNow(int, int) override { }
    int number[cardCount + 1][cellsPerCard + 1] = {};
};

} // namespace

class CardRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCardFollowsTheRules()
    {
        // The column ranges a player knows: 1-9, 10-19, ..., 70-79, 80-90.
        constexpr int lowest[] = {1, 10, 20, 30, 40, 50, 60, 70, 80},
                      highest[] = {9, 19, 29, 39, 49, 59, 69, 79, 90};
        FakeRandom random;
        std::set<int> everSeen;
        for (int seed = 0; seed < 2000; ++seed) {
            random.reseed(seed);
            Sheet sheet;
            FillCards(sheet, random);
            for (int card = 1; card <= cardCount; ++card) {
                int perRow[4] = {}, above = 0;
                for (int k = 1; k <= 27; ++k) {
                    const int n = sheet.number[card][k], column = (k - 1) / 3;
                    above = k % 3 == 1 ? 0 : above;
                    QCOMPARE(n == 0, isBlankCell(card, k)); // a blank gets no number, a number cell one
                    if (n == 0)
                        continue;
                    QVERIFY(n >= lowest[column] && n <= highest[column]);
                    QVERIFY(n > above); // numbers increase down a column
                    above = n;
                    ++perRow[(k - 1) % 3 + 1];
                    everSeen.insert(n);
                }
                QCOMPARE(QList<int>({perRow[1], perRow[2], perRow[3]}), QList<int>({5, 5, 5}));
            }
        }
        QCOMPARE(everSeen.size(), std::size_t(90)); // every number of 1 to 90 comes up on some card
    }

    void aColumnRedrawsItsTopValueFirstAndASecondNumberNotAboveTheFirst()
    {
        FakeRandom random;
        // Card 1, column 1 has the number cells 1 and 3 (1 to 9); column 2 the one number cell 5.
        random.scripted = {0.999, 0.99, 0.5, 0.25, 0.5, 0.75, 0.0};
        //                 9 again, 9 again, 5, 3 again, 5 again, 7, 10
        Sheet sheet;
        FillCards(sheet, random);
        QCOMPARE(QList<int>({sheet.number[1][1], sheet.number[1][3], sheet.number[1][5]}),
                 QList<int>({5, 7, 10}));
    }

    void aDrawRoundsInSinglePrecisionWithHalvesToEven_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<double>("u");
        QTest::addColumn<int>("value");
        QTest::newRow("1.5 goes to 2") << 1 << 0.0625 << 2;
        QTest::newRow("2.5 goes to 2") << 1 << 0.1875 << 2;
        QTest::newRow("just above 4.5 is 4.5 as a single") << 1 << 0.4375 + 1e-10 << 4;
        QTest::newRow("14.5 goes to 14") << 2 << 0.5 << 14;
        QTest::newRow("87.5 goes to 88") << 9 << 0.75 << 88;
        QTest::newRow("u just below 1 gives the highest") << 9 << 0.9999999999 << 90;
    }
    void aDrawRoundsInSinglePrecisionWithHalvesToEven()
    {
        QFETCH(int, column);
        QFETCH(double, u);
        QFETCH(int, value);
        QCOMPARE(drawColumnValue(columnRange(column), u), value);
    }
};

QTEST_GUILESS_MAIN(CardRulesTest)
#include "CardRulesTest.moc"
