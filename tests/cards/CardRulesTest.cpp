// Protects the card numbers: the card rules over many draws, the redraws, and the rounding of a draw.

#include "CardRules.h"
#include "FakePlatform.h"

#include <QTest>
#include <set>

using namespace cantabola;
using cantabola::testing::FakeRandom;

namespace {

// Four cards in memory, their blanks painted in a card colour as the window paints them; 0 is no number.
struct Sheet : CardCells
{
    ColourValue background(int card, int k) const override
    {
        return isBlankCell(card, k) ? standardCardColours[0] : numberCellColour;
    }
    void setCaption(int card, int k, const std::string &text) override { number[card][k] = std::stoi(text); }
    void repaintNow(int, int) override { }
    int number[cardCount + 1][cellsPerCard + 1] = {};
};

// The column ranges a player knows: 1-9, 10-19, ..., 70-79, 80-90.
constexpr int lowest[] = {1, 10, 20, 30, 40, 50, 60, 70, 80};
constexpr int highest[] = {9, 19, 29, 39, 49, 59, 69, 79, 90};

} // namespace

class CardRulesTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCardFollowsTheRules()
    {
        FakeRandom random;
        std::set<int> everSeen;
        for (int seed = 0; seed < 2000; ++seed) {
            random.reseed(seed);
            Sheet sheet;
            FillCards(sheet, random);
            for (int card = 1; card <= cardCount; ++card) {
                std::set<int> distinct;
                int perRow[4] = {};
                for (int column = 1; column <= 9; ++column) {
                    int above = 0;
                    for (int row = 1; row <= 3; ++row) {
                        const int k = 3 * (column - 1) + row;
                        const int n = sheet.number[card][k];
                        QCOMPARE(n == 0, isBlankCell(card, k)); // a blank gets no number, a number cell one
                        if (n == 0)
                            continue;
                        QVERIFY(n >= lowest[column - 1] && n <= highest[column - 1]);
                        QVERIFY(n > above); // numbers increase down a column
                        above = n;
                        ++perRow[row];
                        distinct.insert(n);
                        everSeen.insert(n);
                    }
                }
                QCOMPARE(distinct.size(), std::size_t(15));
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
        QCOMPARE(sheet.number[1][1], 5);
        QCOMPARE(sheet.number[1][3], 7);
        QCOMPARE(sheet.number[1][5], 10);
    }

    void aDrawRoundsInSinglePrecisionWithHalvesToEven_data()
    {
        QTest::addColumn<int>("lo");
        QTest::addColumn<int>("hi");
        QTest::addColumn<double>("u");
        QTest::addColumn<int>("value");
        QTest::newRow("1.5 goes to 2") << 1 << 9 << 0.0625 << 2;
        QTest::newRow("2.5 goes to 2") << 1 << 9 << 0.1875 << 2;
        QTest::newRow("4.5 goes to 4") << 1 << 9 << 0.4375 << 4;
        QTest::newRow("just above 4.5 is 4.5 as a single") << 1 << 9 << 0.4375 + 1e-10 << 4;
        QTest::newRow("14.5 goes to 14") << 10 << 19 << 0.5 << 14;
        QTest::newRow("82.5 goes to 82") << 80 << 90 << 0.25 << 82;
        QTest::newRow("87.5 goes to 88") << 80 << 90 << 0.75 << 88;
        QTest::newRow("u just below 1 gives the highest") << 80 << 90 << 0.9999999999 << 90;
    }
    void aDrawRoundsInSinglePrecisionWithHalvesToEven()
    {
        QFETCH(int, lo);
        QFETCH(int, hi);
        QFETCH(double, u);
        QFETCH(int, value);
        QCOMPARE(drawColumnValue({lo, hi}, u), value);
    }
};

QTEST_GUILESS_MAIN(CardRulesTest)
#include "CardRulesTest.moc"
