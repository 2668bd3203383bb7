// Printing the cards to a PDF printer and looking at the printed page: one page, the shown cards in their
// colours with their marks, no buttons, a white background; the window closes after a print. A cancelled
// print dialog says so and leaves the window as it was; a printer that cannot start says nothing.

#include "CardProgram.h"
#include "CardRules.h"
#include "Colour.h"

#include <QFile>
#include <QFrame>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace cantabola;
using cantabola::testing::CardProgram;

namespace {

// The pages of a PDF rendered at 50 dpi.
QList<QImage> renderPages(const QString &pdf, const QString &folder)
{
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("50"), pdf, folder + "/page"});
    if (!render.waitForFinished(30000) || render.exitCode() != 0)
        return {};
    QList<QImage> pages;
    const QStringList files = QDir(folder).entryList({QStringLiteral("page*.png")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        pages << QImage(folder + "/" + file);
    return pages;
}

bool isWhite(QColor colour)
{
    return colour.red() > 235 && colour.green() > 235 && colour.blue() > 235;
}

bool isNear(QColor actual, QColor expected)
{
    return qAbs(actual.red() - expected.red()) <= 20 && qAbs(actual.green() - expected.green()) <= 20
        && qAbs(actual.blue() - expected.blue()) <= 20;
}

// The smallest rectangle holding every pixel of the page that is not white.
QRect inkBox(const QImage &page)
{
    QRect box;
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            if (!isWhite(page.pixelColor(x, y)))
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// What the window showed just before printing, in its own pixels.
struct Shown
{
    QSize client;
    QRect cards; // the visible card frames together
    QList<QRect> hiddenFrames;
    QList<QRect> buttons;
    QPoint frameMargin; // a point of the first card's frame outside its shape
    QPoint markedCell; // a corner of cell 5 of the first card
};

Shown lookAt(FrmCartones &w)
{
    Shown shown;
    shown.client = w.size();
    for (int card = 1; card <= 4; ++card) {
        QFrame *frame = w.PctMarco.at(static_cast<std::size_t>(card));
        if (frame->isVisible())
            shown.cards |= frame->geometry();
        else
            shown.hiddenFrames << frame->geometry();
    }
    for (QWidget *button : {static_cast<QWidget *>(w.CmbElegirColor), static_cast<QWidget *>(w.CmbGenerar),
                            static_cast<QWidget *>(w.CmbPrint)})
        shown.buttons << button->geometry();
    shown.frameMargin = w.PctMarco[1]->mapTo(&w, QPoint(3, 3));
    shown.markedCell = w.LblCasilla[5]->mapTo(&w, QPoint(3, 3));
    return shown;
}

// Where a point of the window landed on the page, given where its cards landed.
QPoint onPage(QPoint inWindow, const Shown &shown, const QRect &ink)
{
    const double scale = static_cast<double>(ink.width()) / shown.cards.width();
    return ink.topLeft() + (QPointF(inWindow - shown.cards.topLeft()) * scale).toPoint();
}

} // namespace

class PrintTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed; the printed page cannot be looked at");
    }

    void printedSheetIsOnePageOfTheShownCardsOnWhite_data()
    {
        QTest::addColumn<int>("cards");
        QTest::newRow("1 card") << 1;
        QTest::newRow("2 cards") << 2;
        QTest::newRow("3 cards") << 3;
        QTest::newRow("4 cards") << 4;
    }
    void printedSheetIsOnePageOfTheShownCardsOnWhite()
    {
        QFETCH(int, cards);
        QTemporaryDir folder;
        CardProgram program;
        program.fake.printing.pdfPath = folder.filePath(QStringLiteral("cartones.pdf"));
        program.fake.random.scripted = {0.6}; // RGB 0, 64, 64
        Shown shown;
        bool stillOpen = true;
        program.chooseCards(cards, [&](FrmCartones &w) {
            QTest::mouseClick(w.LblCasilla[5], Qt::LeftButton);
            shown = lookAt(w);
            QTest::mouseClick(w.CmbPrint, Qt::LeftButton);
            stillOpen = w.isVisible();
        });
        QVERIFY2(!stillOpen, "a successful print closes the window");
        QVERIFY(program.fake.messages.shown.empty());

        const QList<QImage> pages = renderPages(program.fake.printing.pdfPath, folder.path());
        QCOMPARE(pages.size(), 1);
        const QImage &page = pages.front();
        const QRect ink = inkBox(page);
        QVERIFY(!ink.isEmpty());
        // The ink is the cards alone: neither buttons nor a dark background widen or lengthen it.
        const double expectedAspect = static_cast<double>(shown.cards.width()) / shown.cards.height();
        const double aspect = static_cast<double>(ink.width()) / ink.height();
        QVERIFY2(qAbs(aspect / expectedAspect - 1) < 0.04,
                 qPrintable(QStringLiteral("%1 against %2").arg(aspect).arg(expectedAspect)));
        QVERIFY(isWhite(page.pixelColor(page.width() - 2, page.height() - 2)));
        for (const QRect &button : shown.buttons) {
            const QPoint at = onPage(button.center(), shown, ink);
            if (page.rect().contains(at))
                QVERIFY(isWhite(page.pixelColor(at)));
        }
        // Hidden cards leave their place white (a centred third card covers the left part of the fourth's).
        for (const QRect &hidden : shown.hiddenFrames) {
            const QPoint inside(hidden.right() - 10, hidden.center().y());
            if (QRect(QPoint(0, 0), shown.client).contains(inside))
                QVERIFY(isWhite(page.pixelColor(onPage(inside, shown, ink))));
        }
        // The cards in their colours, with the mark.
        QVERIFY(isNear(page.pixelColor(onPage(shown.frameMargin, shown, ink)), QColor(0, 64, 64)));
        QVERIFY(
            isNear(page.pixelColor(onPage(shown.markedCell, shown, ink)), QColor::fromRgb(markPaletteRgb)));
    }

    void customColourIsPrintedAsShownAndTheNextOpeningStartsAfresh()
    {
        QTemporaryDir folder;
        CardProgram program;
        program.fake.printing.pdfPath = folder.filePath(QStringLiteral("cartones.pdf"));
        program.fake.colours.answer = QColor(200, 30, 30);
        Shown shown;
        program.chooseCards(2, [&](FrmCartones &w) {
            QTest::mouseClick(w.CmbElegirColor, Qt::LeftButton);
            shown = lookAt(w);
            QTest::mouseClick(w.CmbPrint, Qt::LeftButton);
        });
        const QList<QImage> pages = renderPages(program.fake.printing.pdfPath, folder.path());
        QCOMPARE(pages.size(), 1);
        const QRect ink = inkBox(pages.front());
        QVERIFY(isNear(pages.front().pixelColor(onPage(shown.frameMargin, shown, ink)), QColor(200, 30, 30)));

        program.chooseCards(2, [](FrmCartones &w) {
            QCOMPARE(backColour(&w), ColourValue(0x00000000));
            QVERIFY(w.CmbPrint->isVisible() && w.CmbGenerar->isVisible() && w.CmbElegirColor->isVisible());
            QVERIFY(w.CardColor != ColourValue(0x001E1EC8));
        });
    }

    void cancelledPrintSaysSoEveryTimeAndLeavesTheWindowUsable()
    {
        CardProgram program;
        program.fake.printing.cancel = true;
        program.chooseCards(4, [&](FrmCartones &w) {
            const QImage before = w.grab().toImage();
            QTest::mouseClick(w.CmbPrint, Qt::LeftButton);
            QTest::mouseClick(w.CmbPrint, Qt::LeftButton);
            QCOMPARE(program.fake.printing.opened, 2);
            QCOMPARE(program.fake.messages.shown.size(), std::size_t(2));
            for (const Message &message : program.fake.messages.shown) {
                QCOMPARE(message.text, QStringLiteral("Impresion cancelada"));
                QCOMPARE(message.title, QStringLiteral("Cantabola"));
                QCOMPARE(message.icon, MessageIcon::None);
                QCOMPARE(message.buttons, MessageButtons::Ok);
            }
            QVERIFY(w.isVisible());
            QCOMPARE(w.grab().toImage(), before);
            // Still usable: new numbers come.
            const QString number = w.LblCasilla4[1]->text();
            for (int tries = 0; tries < 20 && w.LblCasilla4[1]->text() == number; ++tries)
                QTest::mouseClick(w.CmbGenerar, Qt::LeftButton);
            QVERIFY(w.LblCasilla4[1]->text() != number);
        });
    }

    void printerThatCannotStartSaysNothingAndLeavesTheSheetLook()
    {
        QTemporaryDir folder;
        CardProgram program;
        program.fake.printing.pdfPath = folder.filePath(QStringLiteral("no-such-folder/cartones.pdf"));
        bool looked = false;
        program.chooseCards(1, [&](FrmCartones &w) {
            QTest::mouseClick(w.CmbPrint, Qt::LeftButton);
            QVERIFY(w.isVisible());
            QVERIFY(program.fake.messages.shown.empty());
            QCOMPARE(backColour(&w), ColourValue(0x00FFFFFF));
            QVERIFY(!w.CmbPrint->isVisible() && !w.CmbGenerar->isVisible() && !w.CmbElegirColor->isVisible());
            looked = true;
        });
        QVERIFY(looked);
        QVERIFY(!QFile::exists(program.fake.printing.pdfPath));
    }
};

QTEST_MAIN(PrintTest)
#include "PrintTest.moc"
