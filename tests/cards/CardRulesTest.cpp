// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the cards as data: the card rules over many draws, the redraws, the rounding of a draw, the
// numbers a seed has always given, and what painting, marking and filling do to a cell.

#include "cards/CardRules.h"
#include "cards/PrintedCard.h"
#include "support/FakePlatform.h"

#include <QTest>
#include <set>

using namespace cantabola;
using cantabola::testing::FakeRandom;

namespace {

// The window's four cards painted in a colour, before they are filled.
std::array<Card, cardCount> painted(ColourValue colour)
{
    std::array<Card, cardCount> cards = standardCards();
    for (Card &card : cards)
        card.paint(colour);
    return cards;
}

QStringList numbers(const std::array<Card, cardCount> &cards)
{
    QStringList all;
    for (const Card &card : cards)
        all << gridText(card);
    return all;
}

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
            std::array<Card, cardCount> sheet = painted(0x00404000);
            FillCards(sheet, random);
            for (const Card &card : sheet) {
                int perRow[4] = {}, above = 0;
                for (int k = 1; k <= 27; ++k) {
                    const int n = card.number(k), column = (k - 1) / 3;
                    above = k % 3 == 1 ? 0 : above;
                    QCOMPARE(n == 0, card.cell(k).blank); // a blank gets no number, a number cell one
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
        std::array<Card, cardCount> sheet = painted(0x00404000);
        FillCards(sheet, random);
        QCOMPARE(QList<int>({sheet[0].number(1), sheet[0].number(3), sheet[0].number(5)}),
                 QList<int>({5, 7, 10}));
    }

    void aSeedGivesTheNumbersItHasAlwaysGiven()
    {
        FakeRandom random;
        random.reseed(2026);
        std::array<Card, cardCount> sheet = painted(0x00404000);
        FillCards(sheet, random);
        QCOMPARE(numbers(sheet),
                 QStringList({"5,,6,,13,,28,,29,,38,,46,,47,,52,,,62,63,76,,77,85,90,",
                              ",2,,12,,15,,23,,,,34,46,47,,57,,58,,68,69,78,79,,82,,83",
                              "8,,9,,10,16,28,,,,,36,47,49,,,53,,65,,66,71,73,,,82,88",
                              "8,9,,18,,19,,,20,34,38,,47,,48,,54,,,60,,,74,75,85,,87"}));
        // Card 1's cell 5 marked, then all white: every other cell is filled, a column's third unchecked.
        sheet[0].mark(5);
        for (Card &card : sheet)
            card.paint(numberCellColour);
        FillCards(sheet, random);
        QCOMPARE(
            numbers(sheet),
            QStringList({"4,6,7,12,13,14,26,27,26,37,38,32,41,45,41,58,59,53,68,69,66,71,76,71,86,87,85",
                         "3,4,2,18,19,10,21,27,23,33,38,34,47,48,43,56,57,52,67,68,61,78,79,76,81,84,89",
                         "5,6,8,16,19,12,28,29,25,34,38,38,40,48,42,56,59,58,67,68,60,73,78,76,84,86,83",
                         "4,7,4,14,19,14,21,24,25,33,34,35,47,48,47,56,59,55,63,66,61,77,79,73,86,89,87"}));
    }

    // Card 1 (blanks 2, 4, 6, ...) painted and filled, then the steps; its cell k after them, and its number
    // against the one before the last step.
    void aCellShowsItsRoleAndKeepsItsNumber_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<int>("k");
        QTest::addColumn<ColourValue>("background");
        QTest::addColumn<QString>("number");
        QTest::newRow("a number cell") << "fill" << 3 << numberCellColour << "new";
        QTest::newRow("a blank") << "fill" << 2 << 0x00404000U << "none";
        QTest::newRow("a marked number cell") << "mark 5, fill" << 5 << markColour << "kept";
        QTest::newRow("a number cell under a colour") << "paint 826F4F" << 1 << numberCellColour << "kept";
        QTest::newRow("a marked blank") << "mark 2, paint 826F4F" << 2 << 0x00826F4FU << "none";
        QTest::newRow("a mark under a colour") << "mark 5, paint 826F4F" << 5 << markColour << "kept";
        QTest::newRow("a blank on white") << "paint FFFFFF, fill" << 2 << numberCellColour << "new";
        QTest::newRow("a blank's number under a colour")
            << "paint FFFFFF, fill, paint 826F4F, fill" << 2 << 0x00826F4FU << "kept";
        QTest::newRow("a marked blank on white")
            << "mark 2, paint FFFFFF, fill" << 2 << numberCellColour << "new";
        QTest::newRow("a mark on white") << "mark 1, paint FFFFFF, fill" << 1 << markColour << "kept";
    }
    void aCellShowsItsRoleAndKeepsItsNumber()
    {
        QFETCH(QString, steps);
        QFETCH(int, k);
        QFETCH(ColourValue, background);
        QFETCH(QString, number);
        FakeRandom random;
        std::array<Card, 1> card{painted(0x00404000)[0]};
        FillCards(card, random);
        int before = 0;
        for (const QString &step : steps.split(", ")) {
            before = card[0].number(k);
            if (step == "fill")
                FillCards(card, random);
            else if (step.startsWith("mark"))
                card[0].mark(step.section(' ', 1).toInt());
            else
                card[0].paint(step.section(' ', 1).toUInt(nullptr, 16));
        }
        const int n = card[0].number(k);
        QCOMPARE(card[0].background(k), background);
        QCOMPARE(QString(n == 0 ? "none" : n == before ? "kept" : "new"), number);
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
