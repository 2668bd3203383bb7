// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the card window: its layout by card count, opening, filling in sight, colours, marks, modality and
// printing.

#include "CupsPdfQueue.h"
#include "support/Rig.h"

#include <QTemporaryDir>

using namespace cantabola;
using cantabola::testing::CupsPdfQueue;
using cantabola::testing::named;
using cantabola::testing::Rig;

namespace {

// Opens the card window once from the card item n (0: the main window's button) and looks at it while open.
void openCards(QWidget &main, int n, const std::function<void(QDialog &)> &look)
{
    const auto open = [&] {
        n ? named<QAction>(main, QStringLiteral("SM_%1").arg(n))->trigger()
          : QTest::mouseClick(named<QPushButton>(main, "CmbImprimir"), Qt::LeftButton);
    };
    QCOMPARE(testing::whileModal("FrmCartones", open, look), 1);
}

// The caption of each card cell as it is painted, when filtering the application's events, and whether a
// number was drawn before each paint since the one before.
struct PaintedCells : QObject
{
    explicit PaintedCells(const std::mt19937_64 &engine)
        : engine(engine)
        , last(engine)
    {
    }
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && object->objectName().startsWith("LblCasilla")) {
            captions << qobject_cast<QLabel *>(object)->text();
            eachDrawn = eachDrawn && std::exchange(last, engine) != engine;
        }
        return false;
    }
    const std::mt19937_64 &engine;
    std::mt19937_64 last;
    QStringList captions;
    bool eachDrawn = true;
};

} // namespace

class CardWindowTest : public QObject
{
    Q_OBJECT

    static QLabel *cell(const QWidget &w, int c, int k)
    {
        return named<QLabel>(w, QString("LblCasilla%1(%2)").arg(c < 2 ? "" : QString::number(c)).arg(k));
    }
    static QWidget *frame(const QWidget &w, int card) { return named(w, QString("PctMarco(%1)").arg(card)); }
    static void click(QWidget &w, QString n) { QTest::mouseClick(named<QPushButton>(w, n), Qt::LeftButton); }
    static QRect inWindow(QWidget &w, const QWidget *c) { return {c->mapTo(&w, QPoint()), c->size()}; }
    // What a person sees at a point of a control.
    static auto pixel(QWidget &w, QWidget *c, QPoint p)
    {
        return w.grab().toImage().pixelColor(c->mapTo(&w, p));
    }
    // Where the shown cards are together.
    static QRect shownCards(QWidget &w)
    {
        QRect cards;
        for (int card = 1; card <= 4; ++card)
            cards |= frame(w, card)->isVisible() ? inWindow(w, frame(w, card)) : QRect();
        return cards;
    }
    static QStringList captions(const QWidget &w)
    {
        QStringList all;
        for (int n = 0; n < 4 * 27; ++n)
            all << cell(w, n / 27 + 1, n % 27 + 1)->text();
        return all;
    }
    static bool near(QColor a, QColor b)
    {
        return qAbs(a.red() - b.red()) + qAbs(a.green() - b.green()) + qAbs(a.blue() - b.blue()) < 60;
    }
    static inline const QColor markSeen = QColor::fromRgb(markPaletteRgb);

private slots:
    // The card window from the card items and the button: its layout by card count from the main window's
    // size of now, numbers that fit their cells, and modality.
    void cardsTakeTheMainWindowsSizeOfNowAndKeepTheirNumbersApart()
    {
        Rig rig(ScreenInfo::fromPixels(800, 600, 15)); // the cards scaled down, narrowest cells
        rig.window().resize(rig.window().size() + QSize(60, 40)); // the operator made it larger: 860 x 640
        int clicks = 0;
        QPushButton *button = rig.find<QPushButton>("CmbImprimir");
        connect(button, &QPushButton::clicked, this, [&] { ++clicks; });
        // Each step: the item chosen (0: the button), the cards shown, the window's size and the item of the
        // menu "Imprimir cartones" ticked after; the ticked item chosen again loses its tick.
        for (const QString step :
             {"0 1111 860x640 4 cartones", "2 1100 860x333 2 cartones", "0 1100 860x333 2 cartones",
              "2 1100 860x333 -", "3 1110 860x640 3 cartones", "1 1000 443x333 1 cartón",
              "4 1111 860x640 4 cartones"}) {
            QString seen;
            openCards(rig.window(), step.left(1).toInt(), [&](QDialog &w) {
                const QRect shown = shownCards(w), win = w.frameGeometry(), third = inWindow(w, frame(w, 3));
                for (int card = 1; card <= 4; ++card)
                    seen += frame(w, card)->isVisible() ? "1" : "0";
                seen += QStringLiteral(" %1x%2").arg(win.width()).arg(win.height());
                QCOMPARE(win.center(), rig.window().frameGeometry().center()); // centred on it
                QVERIFY(!seen.startsWith("1110") // with three cards, the third centred under two
                        || (qAbs(third.center().x() - w.width() / 2) <= 2
                            && third.top() > inWindow(w, frame(w, 1)).bottom()));
                // The three buttons in a row under the cards, inside the window.
                QRect previous;
                for (const char *name : {"CmbElegirColor", "CmbGenerar", "CmbPrint"}) {
                    const QRect button = inWindow(w, named(w, name));
                    QVERIFY(w.rect().contains(button) && named(w, name)->isVisible()
                            && button.top() > shown.bottom());
                    QVERIFY(previous.isNull()
                            || (button.top() == previous.top() && button.left() > previous.right()));
                    previous = button;
                }
                // Numbers fit their cells, in the window-text colour of the cards' outlines.
                for (int n = 0; n < 4 * 27; ++n) {
                    const QLabel *c = cell(w, n / 27 + 1, n % 27 + 1);
                    const QWidget *outline = named(w, QStringLiteral("ShpMarco(%1)").arg(n / 27 + 1));
                    QVERIFY2(c->fontMetrics().horizontalAdvance(c->text()) <= c->width(),
                             qPrintable(c->text()));
                    QCOMPARE(c->palette().windowText(), outline->palette().windowText());
                }
                // Application modal: a person's click on the main window goes nowhere; Escape leaves it open.
                QTest::mouseClick(rig.window().windowHandle(), Qt::LeftButton, {},
                                  button->mapTo(&rig.window(), button->rect().center()));
                QTest::keyClick(&w, Qt::Key_Escape);
                QVERIFY(w.isVisible());
            });
            QString ticked = QStringLiteral("-");
            for (QAction *action : rig.menu("SM_Print")->actions())
                ticked = action->isChecked() ? action->text() : ticked;
            QCOMPARE(step.left(2) + seen + " " + ticked, step);
        }
        QCOMPARE(clicks, 2); // those that opened it
    }

    void everyOpeningPaintsARandomColourAndMarksStayOnCardOne()
    {
        Rig rig;
        rig.fake.clock.now = 5000.25;
        rig.fake.random.scripted = {0.6}; // the third standard colour
        openCards(rig.window(), 1, [&](QDialog &w) {
            QCOMPARE(pixel(w, cell(w, 1, 2), {2, 2}), QColor(0, 64, 64));
        });
        rig.fake.random.scripted = {0.1}; // the first
        rig.fake.colours.answer = QColor(10, 200, 30);
        openCards(rig.window(), 4, [&](QDialog &w) {
            QCOMPARE(rig.fake.random.reseeds.back(), 5000.25); // seeded from the time of day
            QCOMPARE(pixel(w, frame(w, 4), {3, 3}), QColor(0x4f, 0x6f, 0x82));
            QCOMPARE(pixel(w, frame(w, 4), {12, 12}), QColor(0x9f, 0x6f, 0x82)); // the shape: plus 80
            PaintedCells painted(rig.fake.random.engine);
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            qApp->installEventFilter(&painted);
            click(w, "CmbGenerar"); // new numbers, each shown as it is drawn: card by card, down the columns
            qApp->removeEventFilter(&painted);
            QStringList numbers = captions(w);
            numbers.removeAll(QString());
            QVERIFY(painted.eachDrawn);
            QCOMPARE(painted.captions, numbers);
            QTest::mouseClick(cell(w, 1, 5), Qt::LeftButton);
            QCOMPARE(pixel(w, cell(w, 1, 5), {2, 2}), markSeen);
            const QImage look = w.grab().toImage();
            QTest::mouseClick(cell(w, 2, 7), Qt::LeftButton); // the other cards take no marks
            QTest::mouseClick(cell(w, 2, 8), Qt::LeftButton);
            QCOMPARE(w.grab().toImage(), look);
            click(w, "CmbElegirColor"); // frames, their shapes and the blanks in the colour chosen
            QCOMPARE(pixel(w, frame(w, 4), {3, 3}), QColor(10, 200, 30));
            QCOMPARE(pixel(w, frame(w, 4), {12, 12}), QColor(90, 200, 30));
            QCOMPARE(pixel(w, cell(w, 3, 2), {2, 2}), QColor(10, 200, 30));
            rig.fake.colours.answer = std::nullopt; // Cancel changes nothing
            const QImage before = w.grab().toImage();
            click(w, "CmbElegirColor");
            QCOMPARE(w.grab().toImage(), before);
        });
    }

    // Enter prints; a cancelled print says so and changes nothing, a failed one says nothing and leaves the
    // window open, and a print shows the shown cards on white.
    void printing_data()
    {
        QTest::addColumn<int>("cards");
        QTest::addColumn<bool>("fails");
        for (int n = 1; n <= 4; ++n)
            QTest::addRow("%d cards", n) << n << false;
        QTest::newRow("a printer that cannot start") << 3 << true;
    }
    void printing()
    {
        QFETCH(int, cards);
        QFETCH(bool, fails);
        QTemporaryDir folder;
        Rig rig;
        rig.fake.printing.pdfPath = folder.filePath(fails ? "no-such-folder/cartones.pdf" : "cartones.pdf");
        rig.fake.random.scripted = {0.6}; // RGB 0, 64, 64
        QRect shown;
        QPoint margin, marked;
        openCards(rig.window(), cards, [&](QDialog &w) {
            QTest::mouseClick(cell(w, 1, 5), Qt::LeftButton);
            shown = shownCards(w);
            margin = frame(w, 1)->mapTo(&w, QPoint(3, 3));
            marked = cell(w, 1, 5)->mapTo(&w, QPoint(3, 3));
            const QImage before = w.grab().toImage();
            rig.fake.printing.cancel = true;
            QTest::keyClick(&w, Qt::Key_Return);
            QCOMPARE(rig.fake.messages.shown.size(), std::size_t(1));
            QCOMPARE(rig.fake.messages.shown[0].text, QStringLiteral("Impresion cancelada"));
            QCOMPARE(w.grab().toImage(), before);
            rig.fake.printing.cancel = false;
            click(w, "CmbPrint");
            QCOMPARE(rig.fake.printing.opened, 2);
            QCOMPARE(rig.fake.messages.shown.size(), std::size_t(1));
            QCOMPARE(w.isVisible(), fails);
        });
        if (fails)
            return;
        const QList<QImage> pages = testing::renderPdf(rig.fake.printing.pdfPath);
        QCOMPARE(pages.size(), 1);
        const QImage &page = pages.front();
        QVERIFY(qAbs(double(page.width()) / page.height() - 210.0 / 297.0) < 0.01); // A4
        QRect ink;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                ink |= near(page.pixelColor(x, y), Qt::white) ? QRect() : QRect(x, y, 1, 1);
        // The ink is the shown cards alone: buttons, hidden cards or a dark background would widen it.
        const double aspect = double(ink.width()) / ink.height(), scale = double(ink.width()) / shown.width();
        QVERIFY2(qAbs(aspect * shown.height() / shown.width() - 1) < 0.04,
                 qPrintable(QString::number(aspect)));
        const auto onPage = [&](QPoint p) {
            return page.pixelColor(ink.topLeft() + (QPointF(p - shown.topLeft()) * scale).toPoint());
        };
        QVERIFY(near(onPage(margin), QColor(0, 64, 64)) && near(onPage(marked), markSeen));
    }

    // Through a real CUPS queue and cups-pdf, the print arrives as one page with the cards on it.
    void cardsPrintOnARealCupsQueue()
    {
        if (!CupsPdfQueue::possible())
            QSKIP("needs root, CUPS and cups-pdf: the test starts its own scheduler and adds a queue");
        CupsPdfQueue queue;
        QVERIFY2(queue.ready, "no scheduler, or the queue could not be added");
        testing::FakePlatform f;
        Platform platform(f.screen, f.clock, f.waiter, f.random, f.messages, f.process, f.sound, f.colours,
                          queue, f.browser, f.help, f.files, f.platform.programFolder, f.platform.dataFolder);
        Cantabola program(platform);
        QVERIFY(program.start());
        openCards(program.window(), 2, [&](QDialog &w) { click(w, "CmbPrint"); });
        const QList<QImage> pages = queue.arrived();
        QCOMPARE(pages.size(), 1);
        QVERIFY(!pages.front().allGray()); // the coloured cards are on it
    }
};

QTEST_MAIN(CardWindowTest)
#include "CardWindowTest.moc"
