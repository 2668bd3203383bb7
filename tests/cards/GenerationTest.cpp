// Card generation over many seeds, checked against what a player expects of a card: fifteen different numbers
// in the right columns, increasing downwards, with the fixed blanks; plus the exact draw (single precision,
// halves to even), the redraw rules step by step, the white-card edge case and regeneration over marks.

#include "CardRules.h"
#include "FakePlatform.h"

#include <QTest>
#include <map>
#include <set>

using namespace cantabola;
using cantabola::testing::FakeRandom;

namespace {

// Four cards in memory, painted as the window paints them, with a log of what the filling did.
class Sheet : public CardCells
{
public:
    explicit Sheet(ColourValue cardColour)
    {
        for (int card = 1; card <= cardCount; ++card) {
            for (int k = 1; k <= cellsPerCard; ++k)
                back[at(card)][at(k)] = isBlankCell(card, k) ? cardColour : numberCellColour;
        }
    }

    ColourValue background(int card, int k) const override { return back[at(card)][at(k)]; }
    void setCaption(int card, int k, const std::string &text) override
    {
        caption[at(card)][at(k)] = text;
        log.push_back({card, k, false});
    }
    void repaintNow(int card, int k) override { log.push_back({card, k, true}); }

    // The number a cell shows, or 0 for an empty caption.
    int number(int card, int k) const
    {
        const std::string &text = caption[at(card)][at(k)];
        return text.empty() ? 0 : std::stoi(text);
    }
    void paintBlanks(ColourValue colour)
    {
        for (int card = 1; card <= cardCount; ++card) {
            for (int k : blankCells[at(card) - 1])
                back[at(card)][at(k)] = colour;
        }
    }

    struct Event
    {
        int card;
        int k;
        bool repaint;
    };
    std::array<std::array<ColourValue, cellsPerCard + 1>, cardCount + 1> back {};
    std::array<std::array<std::string, cellsPerCard + 1>, cardCount + 1> caption {};
    std::vector<Event> log;

private:
    static std::size_t at(int i) { return static_cast<std::size_t>(i); }
};

// The numbers of one column of a card from top to bottom, blanks left out.
std::vector<int> columnNumbers(const Sheet &sheet, int card, int column)
{
    std::vector<int> numbers;
    for (int k = 3 * column - 2; k <= 3 * column; ++k) {
        if (sheet.background(card, k) == numberCellColour)
            numbers.push_back(sheet.number(card, k));
    }
    return numbers;
}

} // namespace

class GenerationTest : public QObject
{
    Q_OBJECT

private slots:
    void everyCardGetsFifteenDifferentNumbersInRisingColumns_data()
    {
        QTest::addColumn<ColourValue>("cardColour");
        for (ColourValue colour : standardCardColours)
            QTest::newRow(qPrintable(QStringLiteral("colour %1").arg(colour, 8, 16, QLatin1Char('0'))))
                << colour;
    }
    void everyCardGetsFifteenDifferentNumbersInRisingColumns()
    {
        QFETCH(ColourValue, cardColour);
        FakeRandom random;
        for (int seed = 0; seed < 1500; ++seed) {
            random.reseed(seed);
            Sheet sheet(cardColour);
            FillCards(sheet, random);
            for (int card = 1; card <= cardCount; ++card) {
                std::set<int> distinct;
                for (int k = 1; k <= cellsPerCard; ++k) {
                    if (isBlankCell(card, k))
                        QVERIFY2(sheet.caption[card][k].empty(), "a blank cell got a number");
                    else
                        distinct.insert(sheet.number(card, k));
                }
                QCOMPARE(distinct.size(), std::size_t(15));
                for (int column = 1; column <= columnsPerCard; ++column) {
                    const ColumnRange range = columnRange(column);
                    const std::vector<int> numbers = columnNumbers(sheet, card, column);
                    QVERIFY(numbers.size() == 1 || numbers.size() == 2);
                    for (int n : numbers)
                        QVERIFY2(n >= range.lo && n <= range.hi, qPrintable(QString::number(n)));
                    if (numbers.size() == 2)
                        QVERIFY(numbers[0] < numbers[1]);
                    else
                        QVERIFY2(numbers[0] != range.hi, "a one-number column shows its highest value");
                }
            }
        }
    }

    void allFourCardsFillColumnByColumnRepaintingEachNumber()
    {
        FakeRandom random;
        Sheet sheet(standardCardColours[2]);
        FillCards(sheet, random);
        // 60 numbers, each written and at once repainted, card after card, column after column, top down.
        QCOMPARE(sheet.log.size(), std::size_t(120));
        int previousCard = 0;
        int previousCell = 0;
        for (std::size_t i = 0; i < sheet.log.size(); i += 2) {
            const Sheet::Event &write = sheet.log[i];
            const Sheet::Event &repaint = sheet.log[i + 1];
            QVERIFY(!write.repaint && repaint.repaint);
            QCOMPARE(repaint.card, write.card);
            QCOMPARE(repaint.k, write.k);
            QVERIFY(write.card > previousCard || (write.card == previousCard && write.k > previousCell));
            previousCard = write.card;
            previousCell = write.k;
        }
        QCOMPARE(previousCard, 4);
    }

    void drawRoundsInSinglePrecisionWithHalvesToEven_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<double>("u");
        QTest::addColumn<int>("expected");
        QTest::newRow("1.5 goes to 2") << 1 << 0.0625 << 2;
        QTest::newRow("2.5 goes to 2") << 1 << 0.1875 << 2;
        QTest::newRow("4.5 goes to 4") << 1 << 0.4375 << 4;
        // In double precision this is just above 4.5 and would give 5; as a single it is 4.5 exactly.
        QTest::newRow("just above 4.5 is 4.5 in single precision") << 1 << 0.4375 + 1e-10 << 4;
        QTest::newRow("14.5 goes to 14") << 2 << 0.5 << 14;
        QTest::newRow("82.5 goes to 82") << 9 << 0.25 << 82;
        QTest::newRow("87.5 goes to 88") << 9 << 0.75 << 88;
        QTest::newRow("lowest") << 5 << 0.0 << 40;
        QTest::newRow("u just below 1 gives the highest") << 9 << 0.9999999999 << 90;
    }
    void drawRoundsInSinglePrecisionWithHalvesToEven()
    {
        QFETCH(int, column);
        QFETCH(double, u);
        QFETCH(int, expected);
        QCOMPARE(drawColumnValue(columnRange(column), u), expected);
    }

    void drawGivesColumnEndsHalfTheShareOfInnerValues_data()
    {
        QTest::addColumn<int>("column");
        for (int column = 1; column <= columnsPerCard; ++column)
            QTest::newRow(qPrintable(QStringLiteral("column %1").arg(column))) << column;
    }
    void drawGivesColumnEndsHalfTheShareOfInnerValues()
    {
        QFETCH(int, column);
        const ColumnRange range = columnRange(column);
        std::map<int, int> count;
        constexpr int steps = 100000;
        for (int i = 0; i < steps; ++i)
            ++count[drawColumnValue(range, (i + 0.5) / steps)];
        QCOMPARE(count.begin()->first, range.lo);
        QCOMPARE(count.rbegin()->first, range.hi);
        double inner = 0;
        for (int v = range.lo + 1; v < range.hi; ++v)
            inner += count[v];
        inner /= range.hi - range.lo - 1;
        for (int v = range.lo + 1; v < range.hi; ++v)
            QVERIFY(std::abs(count[v] / inner - 1) < 0.01);
        QVERIFY(std::abs(count[range.lo] / inner - 0.5) < 0.01);
        QVERIFY(std::abs(count[range.hi] / inner - 0.5) < 0.01);
    }

    void topNumberOfAColumnIsNeverItsHighestAndItsLowestComesUpHalfAsOften()
    {
        FakeRandom random;
        std::array<std::map<int, int>, columnsPerCard + 1> top;
        for (int seed = 0; seed < 4000; ++seed) {
            random.reseed(seed);
            Sheet sheet(standardCardColours[1]);
            FillCards(sheet, random);
            for (int card = 1; card <= cardCount; ++card) {
                for (int column = 1; column <= columnsPerCard; ++column)
                    ++top[column][columnNumbers(sheet, card, column).front()];
            }
        }
        for (int column = 1; column <= columnsPerCard; ++column) {
            const ColumnRange range = columnRange(column);
            std::map<int, int> &count = top[column];
            QCOMPARE(count.count(range.hi), std::size_t(0));
            double inner = 0;
            for (int v = range.lo + 1; v < range.hi; ++v)
                inner += count[v];
            inner /= range.hi - range.lo - 1;
            for (int v = range.lo + 1; v < range.hi; ++v)
                QVERIFY2(std::abs(count[v] / inner - 1) < 0.15, qPrintable(QStringLiteral("%1").arg(v)));
            const double lowShare = count[range.lo] / inner;
            QVERIFY2(lowShare > 0.4 && lowShare < 0.6, qPrintable(QString::number(lowShare)));
        }
    }

    void firstNumberRedrawsAtTheTopValueAndSecondUntilItIsHigher()
    {
        FakeRandom random;
        // Card 1, column 1 has number cells 1 and 3 (range 1 to 9).
        random.scripted = {
            0.999, // 9, the highest: drawn again
            0.99, // 9 again
            0.5, // 5: first number
            0.25, // 3, not above 5: drawn again
            0.5, // 5, not above 5: drawn again
            0.75, // 7: second number
            0.0, // column 2, its one number cell 5: 10
        };
        Sheet sheet(standardCardColours[0]);
        FillCards(sheet, random);
        QCOMPARE(sheet.caption[1][1], std::string("5"));
        QCOMPARE(sheet.caption[1][3], std::string("7"));
        QCOMPARE(sheet.caption[1][5], std::string("10"));
    }

    void whiteCardColourGivesTwentySevenNumbersWithAnUncheckedThirdCell()
    {
        FakeRandom random;
        random.scripted = {0.5, 0.75, 0.0}; // card 1, column 1: 5, 7, then 1 below them both
        Sheet sheet(numberCellColour);
        FillCards(sheet, random);
        QCOMPARE(sheet.number(1, 1), 5);
        QCOMPARE(sheet.number(1, 2), 7);
        QCOMPARE(sheet.number(1, 3), 1);
        for (int card = 1; card <= cardCount; ++card) {
            for (int column = 1; column <= columnsPerCard; ++column) {
                const std::vector<int> numbers = columnNumbers(sheet, card, column);
                QCOMPARE(numbers.size(), std::size_t(3));
                QVERIFY(numbers[0] < numbers[1]);
                for (int n : numbers)
                    QVERIFY(n >= columnRange(column).lo && n <= columnRange(column).hi);
            }
        }
    }

    void regenerationRenumbersWhiteCellsAndKeepsBlankAndMarkedOnes()
    {
        FakeRandom random;
        Sheet sheet(standardCardColours[0]);
        FillCards(sheet, random);
        // Card 1: mark number cell 1 and blank cell 2.
        const std::string markedNumber = sheet.caption[1][1];
        sheet.back[1][1] = markColour;
        sheet.back[1][2] = markColour;
        sheet.log.clear();
        FillCards(sheet, random);
        QCOMPARE(sheet.caption[1][1], markedNumber);
        QVERIFY(sheet.caption[1][2].empty());
        // Every other number cell of every card was written again, and nothing else.
        std::set<std::pair<int, int>> written;
        for (const Sheet::Event &event : sheet.log)
            written.insert({event.card, event.k});
        QCOMPARE(written.size(), std::size_t(59));
        QVERIFY(!written.count({1, 1}));
        for (const auto &[card, k] : written)
            QVERIFY(!isBlankCell(card, k));
    }

    void numberWrittenWhileCardsWereWhiteStaysInABlankAfterAColourChange()
    {
        FakeRandom random;
        Sheet sheet(numberCellColour);
        FillCards(sheet, random);
        const std::string leftOver = sheet.caption[2][1]; // a blank cell of card 2
        QVERIFY(!leftOver.empty());
        sheet.paintBlanks(standardCardColours[3]);
        FillCards(sheet, random);
        QCOMPARE(sheet.caption[2][1], leftOver);
    }

    void standardColourIsPickedByQuarters_data()
    {
        QTest::addColumn<double>("u");
        QTest::addColumn<ColourValue>("colour");
        QTest::newRow("0") << 0.0 << ColourValue(0x00826F4F);
        QTest::newRow("just below a quarter") << 0.2499 << ColourValue(0x00826F4F);
        QTest::newRow("a quarter") << 0.25 << ColourValue(0x0000C0C0);
        QTest::newRow("a half") << 0.5 << ColourValue(0x00404000);
        QTest::newRow("three quarters") << 0.75 << ColourValue(0x004D9AB0);
        QTest::newRow("just below 1") << 0.99999999999 << ColourValue(0x004D9AB0);
    }
    void standardColourIsPickedByQuarters()
    {
        QFETCH(double, u);
        QFETCH(ColourValue, colour);
        QCOMPARE(standardCardColour(u), colour);
    }

    void frameShapeIsTheCardColourPlusEighty_data()
    {
        QTest::addColumn<ColourValue>("cardColour");
        QTest::addColumn<ColourValue>("shapeColour");
        QTest::newRow("entry 1") << ColourValue(0x00826F4F) << ColourValue(0x00826F9F);
        QTest::newRow("entry 2 carries into green") << ColourValue(0x0000C0C0) << ColourValue(0x0000C110);
        QTest::newRow("entry 3") << ColourValue(0x00404000) << ColourValue(0x00404050);
        QTest::newRow("entry 4 carries into green") << ColourValue(0x004D9AB0) << ColourValue(0x004D9B00);
        QTest::newRow("white carries into the top byte")
            << ColourValue(0x00FFFFFF) << ColourValue(0x0100004F);
    }
    void frameShapeIsTheCardColourPlusEighty()
    {
        QFETCH(ColourValue, cardColour);
        QFETCH(ColourValue, shapeColour);
        QCOMPARE(frameShapeColour(cardColour), shapeColour);
    }
};

QTEST_GUILESS_MAIN(GenerationTest)
#include "GenerationTest.moc"
