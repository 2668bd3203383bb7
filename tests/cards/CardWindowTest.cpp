// The card window driven for real from the main window: its layout by number of cards on several screens,
// scaling at the first opening only, the card menu's ticks, colours standard and custom, marking cells of the
// first card, and Enter pressing "Imprimir".

#include "CardProgram.h"
#include "CardRules.h"
#include "Colour.h"

#include <QFrame>
#include <QImage>

using namespace cantabola;
using cantabola::testing::CardProgram;

namespace {

QColor pixelOf(FrmCartones &window, QWidget *widget, QPoint at)
{
    return window.grab().toImage().pixelColor(widget->mapTo(&window, at));
}

QString shownFrames(const FrmCartones &window)
{
    QString shown;
    for (int card = 1; card <= 4; ++card)
        shown += window.PctMarco.at(static_cast<std::size_t>(card))->isVisible() ? QLatin1Char('1')
                                                                                 : QLatin1Char('0');
    return shown;
}

QString ticks(const FrmBingo &main)
{
    QString ticked;
    for (std::size_t n = 1; n <= 4; ++n)
        ticked += main.SM_Cards.at(n)->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    return ticked;
}

QStringList captions(FrmCartones &window)
{
    QStringList all;
    for (int card = 1; card <= cardCount; ++card) {
        for (int k = 1; k <= cellsPerCard; ++k)
            all << window.cells(card).at(static_cast<std::size_t>(k))->text();
    }
    return all;
}

QPointF twips(const Control &control)
{
    return {control.props.left.value_or(-1), control.props.top.value_or(-1)};
}

} // namespace

class CardWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void layoutFollowsTheNumberOfCards_data()
    {
        QTest::addColumn<QSize>("screen");
        QTest::addColumn<float>("twipsPerPixel");
        QTest::addColumn<int>("cards"); // 0: opened by the button before any card item was chosen
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QSizeF>("windowTwips");
        QTest::addColumn<float>("frame3Left");
        QTest::addColumn<float>("buttonTop");
        QTest::addColumn<QPointF>("colourAndGenerarLeft");
        QTest::addColumn<float>("printLeft");

        const QSize design(1024, 768);
        QTest::newRow("1024x768, none chosen") << design << 15.0F << 0 << "1111" << QSizeF(12000, 9000)
                                               << 0.0F << 7560.0F << QPointF(7920, 9240) << 10560.0F;
        QTest::newRow("1024x768, 1 card") << design << 15.0F << 1 << "1000" << QSizeF(6200, 4700) << 0.0F
                                          << 3340.0F << QPointF(2315, 3610) << 4905.0F;
        QTest::newRow("1024x768, 2 cards") << design << 15.0F << 2 << "1100" << QSizeF(12000, 4700) << 0.0F
                                           << 3340.0F << QPointF(8115, 9410) << 10705.0F;
        QTest::newRow("1024x768, 3 cards") << design << 15.0F << 3 << "1110" << QSizeF(12000, 9000) << 3100.0F
                                           << 7560.0F << QPointF(7920, 9240) << 10560.0F;
        QTest::newRow("1024x768, 4 cards") << design << 15.0F << 4 << "1111" << QSizeF(12000, 9000) << 0.0F
                                           << 7560.0F << QPointF(7920, 9240) << 10560.0F;

        // Scaled by 1.25 both ways: the buttons become 876 x 396, frame 3 4640 wide.
        const QSize small(800, 600);
        QTest::newRow("800x600 at 12, none chosen") << small << 12.0F << 0 << "1111" << QSizeF(9600, 7200)
                                                    << 0.0F << 6048.0F << QPointF(6336, 7392) << 8448.0F;
        QTest::newRow("800x600 at 12, 1 card") << small << 12.0F << 1 << "1000" << QSizeF(5000, 3800) << 0.0F
                                               << 2692.0F << QPointF(1772, 2848) << 3924.0F;
        QTest::newRow("800x600 at 12, 2 cards") << small << 12.0F << 2 << "1100" << QSizeF(9600, 3800) << 0.0F
                                                << 2692.0F << QPointF(6372, 7448) << 8524.0F;
        QTest::newRow("800x600 at 12, 3 cards") << small << 12.0F << 3 << "1110" << QSizeF(9600, 7200)
                                                << 2480.0F << 6048.0F << QPointF(6336, 7392) << 8448.0F;
        QTest::newRow("800x600 at 12, 4 cards") << small << 12.0F << 4 << "1111" << QSizeF(9600, 7200) << 0.0F
                                                << 6048.0F << QPointF(6336, 7392) << 8448.0F;

        // Divisors 0.625 across and 0.5859375 down: buttons 1752 x 844.8, frame 3 9280 wide.
        const QSize large(1280, 1024);
        QTest::newRow("1280x1024, 1 card") << large << 15.0F << 1 << "1000" << QSizeF(9800, 7880) << 0.0F
                                           << 5629.6F << QPointF(3944, 5896) << 7848.0F;
        QTest::newRow("1280x1024, 3 cards") << large << 15.0F << 3 << "1110" << QSizeF(19200, 15360)
                                            << 4960.0F << 12902.4F << QPointF(12672, 14784) << 16896.0F;
    }
    void layoutFollowsTheNumberOfCards()
    {
        QFETCH(QSize, screen);
        QFETCH(float, twipsPerPixel);
        QFETCH(int, cards);
        QFETCH(QString, shown);
        QFETCH(QSizeF, windowTwips);
        QFETCH(float, frame3Left);
        QFETCH(float, buttonTop);
        QFETCH(QPointF, colourAndGenerarLeft);
        QFETCH(float, printLeft);

        CardProgram program(ScreenInfo::fromPixels(screen.width(), screen.height(), twipsPerPixel));
        const auto look = [&](FrmCartones &w) {
            QCOMPARE(shownFrames(w), shown);
            const ScalableProps &props = w.windowProps();
            QCOMPARE(QSizeF(*props.width, *props.height), windowTwips);
            // The outer size, frame included.
            QCOMPARE(w.frameGeometry().size(),
                     QSize(qRound(windowTwips.width() / twipsPerPixel),
                           qRound(windowTwips.height() / twipsPerPixel)));
            // Centred on the main window.
            const QPoint offset = w.frameGeometry().center() - program.main->frameGeometry().center();
            QVERIFY(offset.manhattanLength() <= 1);

            QCOMPARE(*w.control(QStringLiteral("PctMarco(3)")).props.left, frame3Left);
            QCOMPARE(twips(w.control(QStringLiteral("CmbElegirColor"))),
                     QPointF(colourAndGenerarLeft.x(), buttonTop));
            QCOMPARE(twips(w.control(QStringLiteral("CmbGenerar"))),
                     QPointF(colourAndGenerarLeft.y(), buttonTop));
            QCOMPARE(twips(w.control(QStringLiteral("CmbPrint"))), QPointF(printLeft, buttonTop));
            // Where a person sees the button.
            QCOMPARE(w.CmbPrint->pos(),
                     QPoint(qRound(printLeft / twipsPerPixel), qRound(buttonTop / twipsPerPixel)));
            QVERIFY(w.CmbPrint->isVisible() && w.CmbGenerar->isVisible() && w.CmbElegirColor->isVisible());
        };
        const int looked
            = cards == 0 ? program.clickImprimirCartones(look) : program.chooseCards(cards, look);
        QCOMPARE(looked, 1);
        QCOMPARE(program.cardWindow()->ajustado(), screen != QSize(1024, 768));
    }

    void onlyTheFirstOpeningIsScaled()
    {
        CardProgram program(ScreenInfo::fromPixels(800, 600, 12));
        // First opening: scaled by 1.25, buttons 876 x 396.
        program.chooseCards(1, [](FrmCartones &w) {
            QCOMPARE(twips(w.control(QStringLiteral("CmbPrint"))), QPointF(3924, 2692));
            QCOMPARE(w.LblCasilla[1]->size(), QSize(33, 49)); // 396 x 588 twips
        });
        FrmCartones *first = program.cardWindow();
        QVERIFY(first->ajustado());
        // Later openings keep the design geometry of the controls in the window of the main window's size.
        program.chooseCards(1, [](FrmCartones &w) {
            QCOMPARE(twips(w.control(QStringLiteral("CmbPrint"))), QPointF(3705, 2890));
            QCOMPARE(w.LblCasilla[1]->size(), QSize(41, 61)); // 495 x 735 twips
            QCOMPARE(QSizeF(*w.windowProps().width, *w.windowProps().height), QSizeF(5000, 3800));
        });
        QCOMPARE(program.cardWindow(), first);
        QCOMPARE(program.main->findChildren<FrmCartones *>().size(), 1);
    }

    void windowShowsItsCardsButtonsAndCaptionAsDesigned()
    {
        CardProgram program;
        program.chooseCards(4, [](FrmCartones &w) {
            QCOMPARE(w.windowTitle(), QStringLiteral("Imprimir cartones"));
            QVERIFY(!w.windowIcon().isNull());
            QVERIFY(!(w.windowFlags() & Qt::WindowMaximizeButtonHint));
            QCOMPARE(w.CmbElegirColor->text(), QStringLiteral("Personalizar colores"));
            QCOMPARE(w.CmbGenerar->text(), QStringLiteral("Generar Cartones"));
            QCOMPARE(w.CmbPrint->text(), QStringLiteral("Imprimir"));
            QVERIFY(w.CmbPrint->isDefault());
            QCOMPARE(backColour(&w), ColourValue(0x00000000));
            // Frames two by two, 80 twips apart across.
            QCOMPARE(w.PctMarco[1]->geometry(), QRect(0, 24, 387, 195));
            QCOMPARE(w.PctMarco[2]->geometry(), QRect(392, 24, 387, 195));
            QCOMPARE(w.PctMarco[3]->geometry(), QRect(0, 264, 387, 195));
            QCOMPARE(w.PctMarco[4]->geometry(), QRect(392, 264, 387, 195));
            // Cells down the columns; the last one at the bottom right of the grid.
            QCOMPARE(w.LblCasilla4[1]->geometry(), QRect(16, 16, 33, 49));
            QCOMPARE(w.LblCasilla4[2]->geometry(), QRect(16, 72, 33, 49));
            QCOMPARE(w.LblCasilla4[27]->geometry(), QRect(336, 128, 33, 49));
            QCOMPARE(w.LblCasilla[27]->font().pixelSize(), 32); // 24 points
            QCOMPARE(w.LblCasilla[27]->alignment(), Qt::AlignCenter);
            // The fourth frame's shape sits a pixel further left than the others.
            QCOMPARE(w.ShpMarco[4]->geometry(), QRect(7, 8, 369, 177));
            QCOMPARE(w.ShpMarco[1]->geometry(), QRect(8, 8, 369, 177));
            // The cells are drawn in front of the shape.
            for (int card = 1; card <= 4; ++card) {
                const QObjectList &inFrame = w.PctMarco.at(static_cast<std::size_t>(card))->children();
                QVERIFY(inFrame.indexOf(w.cells(card)[14])
                        > inFrame.indexOf(w.ShpMarco.at(static_cast<std::size_t>(card))));
            }
            // Every card is filled: 15 numbers and 12 blanks.
            for (int card = 1; card <= 4; ++card) {
                int numbers = 0;
                for (int k = 1; k <= cellsPerCard; ++k)
                    numbers += w.cells(card).at(static_cast<std::size_t>(k))->text().isEmpty() ? 0 : 1;
                QCOMPARE(numbers, 15);
            }
        });
    }

    void cardItemsToggleTheirTickAndAlwaysOpenTheirNumberOfCards_data()
    {
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<QString>("ticksAfter");
        QTest::newRow("2 from the start") << QList<int> {2} << "0100";
        QTest::newRow("2 twice clears its tick") << QList<int> {2, 2} << "0000";
        QTest::newRow("4, ticked at the start, clears") << QList<int> {4} << "0000";
        QTest::newRow("1 then 3") << QList<int> {1, 3} << "0010";
        QTest::newRow("3, 3 again, then 1") << QList<int> {3, 3, 1} << "1000";
    }
    void cardItemsToggleTheirTickAndAlwaysOpenTheirNumberOfCards()
    {
        QFETCH(QList<int>, chosen);
        QFETCH(QString, ticksAfter);
        CardProgram program;
        QCOMPARE(ticks(*program.main), QStringLiteral("0001"));
        for (int n : chosen) {
            QString shown;
            QCOMPARE(program.chooseCards(n, [&](FrmCartones &w) { shown = shownFrames(w); }), 1);
            QCOMPARE(shown.count(QLatin1Char('1')), n);
            QCOMPARE(program.main->NumberOfCards, std::uint8_t(n));
        }
        QCOMPARE(ticks(*program.main), ticksAfter);
    }

    void imprimirCartonesOpensTheSameWindowWithTheLastChosenNumber()
    {
        CardProgram program;
        QString shown;
        const auto record = [&](FrmCartones &w) {
            shown = shownFrames(w);
        };
        QCOMPARE(program.clickImprimirCartones(record), 1);
        QCOMPARE(shown, QStringLiteral("1111"));
        QCOMPARE(program.main->NumberOfCards, std::uint8_t(0));
        FrmCartones *window = program.cardWindow();

        program.chooseCards(2, record);
        QCOMPARE(program.clickImprimirCartones(record), 1);
        QCOMPARE(shown, QStringLiteral("1100"));
        QCOMPARE(program.main->NumberOfCards, std::uint8_t(2));
        QCOMPARE(ticks(*program.main), QStringLiteral("0100"));
        QCOMPARE(program.cardWindow(), window);
    }

    void mainWindowTakesNoInputWhileTheCardWindowIsOpen()
    {
        CardProgram program;
        int clicks = 0;
        connect(program.main->CmbImprimir, &QPushButton::clicked, this, [&] { ++clicks; });
        program.clickImprimirCartones([&](FrmCartones &w) {
            QVERIFY(w.isModal());
            QCOMPARE(w.windowModality(), Qt::ApplicationModal);
            QCOMPARE(QApplication::activeModalWidget(), &w);
            const int before = clicks;
            // Through the window system, as a person's click comes.
            QPushButton *button = program.main->CmbImprimir;
            QTest::mouseClick(program.main->windowHandle(), Qt::LeftButton, {},
                              button->mapTo(program.main.get(), button->rect().center()));
            QCOMPARE(clicks, before);
        });
        QCOMPARE(clicks, 1);
    }

    void everyOpeningPaintsAStandardColourSeededFromTheClock()
    {
        CardProgram program;
        program.fake.clock.now = 5000.25;
        program.fake.random.scripted = {0.6}; // the third standard colour
        std::size_t reseeds = 0;
        program.chooseCards(1, [&](FrmCartones &w) {
            QCOMPARE(w.CardColor, ColourValue(0x00404000));
            QCOMPARE(program.fake.random.reseeds.back(), 5000.25);
            reseeds = program.fake.random.reseeds.size();
            for (int card = 1; card <= 4; ++card) {
                const auto i = static_cast<std::size_t>(card);
                QCOMPARE(backColour(w.PctMarco[i]), ColourValue(0x00404000));
                QCOMPARE(backColour(w.ShpMarco[i]), ColourValue(0x00404050));
                for (int k = 1; k <= cellsPerCard; ++k) {
                    QLabel *cell = w.cells(card).at(static_cast<std::size_t>(k));
                    QCOMPARE(backColour(cell),
                             isBlankCell(card, k) ? ColourValue(0x00404000) : numberCellColour);
                }
            }
            // What a person sees: the frame's margin, the shape around the cells, a blank and a number cell.
            QCOMPARE(pixelOf(w, w.PctMarco[1], {3, 3}), QColor(0, 64, 64));
            QCOMPARE(pixelOf(w, w.PctMarco[1], {12, 12}), QColor(80, 64, 64));
            QCOMPARE(pixelOf(w, w.LblCasilla[2], {2, 2}), QColor(0, 64, 64));
            QCOMPARE(pixelOf(w, w.LblCasilla[1], {2, 2}), QColor(Qt::white));
            // The hidden cards are filled all the same.
            for (int card = 2; card <= 4; ++card) {
                int numbers = 0;
                for (int k = 1; k <= cellsPerCard; ++k)
                    numbers += w.cells(card).at(static_cast<std::size_t>(k))->text().isEmpty() ? 0 : 1;
                QCOMPARE(numbers, 15);
            }

            // New numbers neither reseed nor recolour.
            const QStringList before = captions(w);
            QTest::mouseClick(w.CmbGenerar, Qt::LeftButton);
            QVERIFY(captions(w) != before);
            QCOMPARE(program.fake.random.reseeds.size(), reseeds);
            QCOMPARE(w.CardColor, ColourValue(0x00404000));
        });
        program.fake.random.scripted = {0.1};
        program.chooseCards(1, [](FrmCartones &w) { QCOMPARE(w.CardColor, ColourValue(0x00826F4F)); });
        QCOMPARE(program.fake.random.reseeds.size(), reseeds + 1);
    }

    void customColourRepaintsFramesShapesAndBlanksKeepingNumbersAndMarks()
    {
        CardProgram program;
        program.fake.colours.answer = QColor(10, 200, 30);
        program.chooseCards(4, [&](FrmCartones &w) {
            QTest::mouseClick(w.LblCasilla[1], Qt::LeftButton); // a number cell
            QTest::mouseClick(w.LblCasilla[2], Qt::LeftButton); // a blank cell
            const QStringList numbers = captions(w);
            QTest::mouseClick(w.CmbElegirColor, Qt::LeftButton);
            QCOMPARE(program.fake.colours.opened, 1);
            QCOMPARE(w.CardColor, ColourValue(0x001EC80A));
            QCOMPARE(captions(w), numbers);
            QCOMPARE(backColour(w.LblCasilla[1]), markColour);
            QCOMPARE(backColour(w.LblCasilla[2]), ColourValue(0x001EC80A));
            QCOMPARE(backColour(w.ShpMarco[3]), ColourValue(0x001EC85A));
            QCOMPARE(pixelOf(w, w.PctMarco[4], {3, 3}), QColor(10, 200, 30));
            QCOMPARE(pixelOf(w, w.PctMarco[4], {12, 12}), QColor(90, 200, 30));
            QCOMPARE(pixelOf(w, w.LblCasilla3[2], {2, 2}), QColor(10, 200, 30));
            QCOMPARE(pixelOf(w, w.LblCasilla3[1], {2, 2}), QColor(Qt::white));
        });
    }

    void cancelledColourDialogChangesNothing()
    {
        CardProgram program;
        program.fake.colours.answer = std::nullopt;
        program.chooseCards(2, [&](FrmCartones &w) {
            const ColourValue colour = w.CardColor;
            const QImage before = w.grab().toImage();
            QTest::mouseClick(w.CmbElegirColor, Qt::LeftButton);
            QCOMPARE(program.fake.colours.opened, 1);
            QCOMPARE(w.CardColor, colour);
            QCOMPARE(w.grab().toImage(), before);
        });
    }

    void whiteCustomColourLetsTheBlanksFillAndTheirNumbersStayAfterwards()
    {
        CardProgram program;
        program.fake.colours.answer = QColor(Qt::white);
        program.chooseCards(4, [&](FrmCartones &w) {
            QTest::mouseClick(w.CmbElegirColor, Qt::LeftButton);
            QTest::mouseClick(w.CmbGenerar, Qt::LeftButton);
            QVERIFY(!captions(w).contains(QString()));
            const QString leftOver = w.LblCasilla2[1]->text(); // a blank cell of card 2

            program.fake.colours.answer = QColor(0, 64, 64);
            QTest::mouseClick(w.CmbElegirColor, Qt::LeftButton);
            QTest::mouseClick(w.CmbGenerar, Qt::LeftButton);
            QCOMPARE(backColour(w.LblCasilla2[1]), ColourValue(0x00404000));
            QCOMPARE(w.LblCasilla2[1]->text(), leftOver);
        });
    }

    void clickingACellOfTheFirstCardMarksItForGood()
    {
        CardProgram program;
        program.chooseCards(2, [&](FrmCartones &w) {
            const QString number = w.LblCasilla[5]->text();
            QTest::mouseClick(w.LblCasilla[5], Qt::LeftButton);
            QCOMPARE(backColour(w.LblCasilla[5]), markColour);
            QCOMPARE(pixelOf(w, w.LblCasilla[5], {2, 2}), QColor::fromRgb(markPaletteRgb));
            QTest::mouseClick(w.LblCasilla[5], Qt::LeftButton);
            QCOMPARE(backColour(w.LblCasilla[5]), markColour);

            // The other cards' cells do not react.
            const QImage look = w.grab().toImage();
            QTest::mouseClick(w.LblCasilla2[7], Qt::LeftButton);
            QTest::mouseClick(w.LblCasilla2[8], Qt::LeftButton);
            QCOMPARE(w.grab().toImage(), look);

            // New numbers leave the marked cell with the number it had.
            const QStringList before = captions(w);
            QTest::mouseClick(w.CmbGenerar, Qt::LeftButton);
            QCOMPARE(w.LblCasilla[5]->text(), number);
            QVERIFY(captions(w) != before);
        });
    }

    void enterPressesImprimirAndEscapeDoesNotClose()
    {
        CardProgram program;
        program.fake.printing.cancel = true;
        program.chooseCards(3, [&](FrmCartones &w) {
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(w.isVisible());
            QTest::keyClick(&w, Qt::Key_Return);
            QCOMPARE(program.fake.printing.opened, 1);
            QCOMPARE(program.fake.messages.shown.size(), std::size_t(1));
            QCOMPARE(program.fake.messages.shown.front().text, QStringLiteral("Impresion cancelada"));
        });
    }
};

QTEST_MAIN(CardWindowTest)
#include "CardWindowTest.moc"
