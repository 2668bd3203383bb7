// Protects the card window: its layout by card count, opening, colours, marks, modality and printing.

#include "Colour.h"
#include "Rig.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QFontMetrics>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <pwd.h>
#include <unistd.h>

using namespace cantabola;
using cantabola::testing::named;
using cantabola::testing::Rig;

namespace {

// Opens the card window once from the card item n (0: the main window's button) and looks at it while open.
void openCards(QWidget &main, int n, const std::function<void(QDialog &)> &look)
{
    const auto open = [&] {
        if (n == 0)
            QTest::mouseClick(named<QPushButton>(main, "CmbImprimir"), Qt::LeftButton);
        else
            named<QAction>(main, QStringLiteral("SM_%1").arg(n))->trigger();
    };
    const int opened = testing::whileModal(QStringLiteral("FrmCartones"), open, look);
    QCOMPARE(opened, 1);
}

// The exit code (-1: it did not end normally) and the output of a command.
std::pair<int, QString> run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool done = process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit;
    return {done ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAll())};
}

template<typename Ready> bool waitUntil(Ready ready, int milliseconds)
{
    QElapsedTimer waited;
    waited.start();
    while (!ready() && waited.elapsed() < milliseconds)
        QThread::msleep(100);
    return ready();
}

// A CUPS-PDF queue on a scheduler this test starts (unless one runs already, which it leaves running), both
// gone again with the object; the scheduler is stopped by its process id. It answers the print dialog.
struct CupsPdfQueue : PrintDialog
{
    CupsPdfQueue()
    {
        const auto running = [] {
            return run("lpstat", {"-r"}).second.contains("is running");
        };
        if (!running()) {
            QDir().mkpath(QStringLiteral("/run/cups"));
            scheduler.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            scheduler.start(QStringLiteral("/usr/sbin/cupsd"), {QStringLiteral("-f")});
        }
        ready = waitUntil(running, 10000)
            && run("lpadmin", {"-p", name, "-E", "-v", "cups-pdf:/", "-P", driver}).first == 0
            && waitUntil([this] { return !QPrinterInfo::printerInfo(name).isNull(); }, 10000);
    }
    ~CupsPdfQueue() override
    {
        run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), name});
        if (scheduler.state() != QProcess::NotRunning) {
            scheduler.terminate();
            if (!scheduler.waitForFinished(15000))
                scheduler.kill();
            scheduler.waitForFinished(5000);
        }
    }
    std::unique_ptr<QPrinter> choosePrinter(QWidget *) override
    {
        auto printer = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        printer->setDocName(jobTitle); // cups-pdf names the file after it
        return printer;
    }
    static inline const QString driver = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");
    QString name = QStringLiteral("cantabola-cartones-%1").arg(QCoreApplication::applicationPid());
    QString jobTitle = QStringLiteral("cantabolacartones%1").arg(QDateTime::currentMSecsSinceEpoch());
    QProcess scheduler;
    bool ready = false;
};

} // namespace

class CardWindowTest : public QObject
{
    Q_OBJECT

    static QLabel *cell(const QWidget &w, int card, int k)
    {
        return named<QLabel>(w,
                             QString("LblCasilla%1(%2)").arg(card == 1 ? "" : QString::number(card)).arg(k));
    }
    static QWidget *frame(const QWidget &w, int card) { return named(w, QString("PctMarco(%1)").arg(card)); }
    static void click(const QWidget &w, const char *n)
    {
        QTest::mouseClick(named<QPushButton>(w, n), Qt::LeftButton);
    }
    static QRect inWindow(QWidget &w, const QWidget *c) { return {c->mapTo(&w, QPoint()), c->size()}; }
    // What a person sees at a point of a control.
    static QColor pixel(QWidget &w, const QWidget *c, QPoint p)
    {
        return w.grab().toImage().pixelColor(c->mapTo(&w, p));
    }
    static QString shownFrames(const QWidget &w)
    {
        QString shown;
        for (int card = 1; card <= 4; ++card)
            shown += frame(w, card)->isVisible() ? QLatin1Char('1') : QLatin1Char('0');
        return shown;
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
        return qAbs(a.red() - b.red()) <= 20 && qAbs(a.green() - b.green()) <= 20
            && qAbs(a.blue() - b.blue()) <= 20;
    }
    static inline const QColor markSeen = QColor::fromRgb(markPaletteRgb);

private slots:
    void cardsTakeTheMainWindowsSizeOfNowAndKeepTheirNumbersApart()
    {
        Rig rig(ScreenInfo::fromPixels(800, 600, 15)); // the cards scaled down, narrowest cells
        rig.window().resize(rig.window().size() - QSize(60, 40)); // the operator made it smaller
        openCards(rig.window(), 4, [&](QDialog &w) {
            QCOMPARE(w.frameGeometry().size(), rig.window().frameGeometry().size());
            for (int n = 0; n < 4 * 27; ++n) {
                const QLabel *c = cell(w, n / 27 + 1, n % 27 + 1);
                QVERIFY2(QFontMetrics(c->font()).horizontalAdvance(c->text()) <= c->width(), qPrintable(c->text()));
                // The outline of a card and its numbers in the one colour for window text.
                QCOMPARE(c->palette().color(QPalette::WindowText),
                         named(w, QStringLiteral("ShpMarco(%1)").arg(n / 27 + 1))->palette().color(QPalette::WindowText));
            }
        });
    }

    void layoutFollowsTheNumberOfCards_data()
    {
        QTest::addColumn<int>("item"); // 0: the button, before any card item was chosen
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QSize>("size"); // the main window is 800 x 600
        QTest::newRow("button, none chosen") << 0 << "1111" << QSize(800, 600);
        QTest::newRow("1 card: a quarter") << 1 << "1000" << QSize(413, 313);
        QTest::newRow("2 cards: half height") << 2 << "1100" << QSize(800, 313);
        QTest::newRow("3 cards") << 3 << "1110" << QSize(800, 600);
        QTest::newRow("4 cards") << 4 << "1111" << QSize(800, 600);
    }
    void layoutFollowsTheNumberOfCards()
    {
        QFETCH(int, item);
        QFETCH(QString, shown);
        QFETCH(QSize, size);
        Rig rig;
        openCards(rig.window(), item, [&](QDialog &w) {
            QCOMPARE(shownFrames(w), shown);
            QCOMPARE(w.frameGeometry().size(), size);
            QCOMPARE(w.frameGeometry().center(), rig.window().frameGeometry().center()); // centred on it
            QRect cards;
            for (int card = 1; card <= 4; ++card)
                cards |= frame(w, card)->isVisible() ? inWindow(w, frame(w, card)) : QRect();
            // The three buttons in a row under the cards, inside the window.
            QRect previous;
            for (const char *name : {"CmbElegirColor", "CmbGenerar", "CmbPrint"}) {
                const QRect button = inWindow(w, named(w, name));
                QVERIFY(w.rect().contains(button) && named(w, name)->isVisible());
                QVERIFY(button.top() > cards.bottom());
                QVERIFY(previous.isNull()
                        || (button.top() == previous.top() && button.left() > previous.right()));
                previous = button;
            }
            if (item == 3) { // the third card centred under the first two
                const QRect third = inWindow(w, frame(w, 3));
                QVERIFY(qAbs(third.center().x() - w.width() / 2) <= 2);
                QVERIFY(third.top() > inWindow(w, frame(w, 1)).bottom());
            }
        });
    }

    void cardItemsTickOneAtATimeAndTheButtonOpensTheLastChosen()
    {
        Rig rig;
        QMenu *print = rig.menu(QStringLiteral("SM_Print"));
        QVERIFY(rig.menu(QStringLiteral("M_Play"))->actions().contains(print->menuAction()));
        QCOMPARE(rig.menu(QStringLiteral("M_Play"))->title(), QStringLiteral("Juego"));
        QCOMPARE(print->title(), QStringLiteral("&Imprimir cartones"));
        QStringList items;
        for (QAction *action : print->actions())
            items << action->objectName() + "=" + action->text() + (action->isChecked() ? " *" : "");
        QCOMPARE(items.join(", "), "SM_1=1 cartón, SM_2=2 cartones, SM_3=3 cartones, SM_4=4 cartones *");
        // Each step: the item chosen (0: the button), the frames shown, the item ticked after; the ticked
        // item chosen again loses its tick.
        for (const QString step : {"2 1100 SM_2", "0 1100 SM_2", "2 1100 -", "3 1110 SM_3", "1 1000 SM_1"}) {
            QString seen;
            openCards(rig.window(), step.left(1).toInt(), [&](QDialog &w) { seen = shownFrames(w); });
            QString ticked = QStringLiteral("-");
            for (QAction *action : print->actions())
                ticked = action->isChecked() ? action->objectName() : ticked;
            QCOMPARE(QStringList({step.left(1), seen, ticked}).join(' '), step);
        }
    }

    void everyOpeningPaintsARandomStandardColour()
    {
        Rig rig;
        rig.fake.clock.now = 5000.25;
        rig.fake.random.scripted = {0.6}; // the third standard colour
        openCards(rig.window(), 1, [&](QDialog &w) {
            QCOMPARE(rig.fake.random.reseeds.back(), 5000.25); // seeded from the time of day
            QCOMPARE(pixel(w, frame(w, 1), {3, 3}), QColor(0, 64, 64));
            QCOMPARE(pixel(w, frame(w, 1), {12, 12}), QColor(80, 64, 64)); // the shape: the colour plus 80
            QCOMPARE(pixel(w, cell(w, 1, 2), {2, 2}), QColor(0, 64, 64)); // a blank
            QCOMPARE(pixel(w, cell(w, 1, 1), {2, 2}), QColor(Qt::white)); // a number
        });
        rig.fake.random.scripted = {0.1};
        openCards(rig.window(), 1, [&](QDialog &w) {
            QCOMPARE(pixel(w, frame(w, 1), {3, 3}).name(), "#4f6f82");
        });
    }

    void customColourRepaintsTheCardsKeepingNumbersAndMarks()
    {
        Rig rig;
        rig.fake.colours.answer = QColor(10, 200, 30);
        openCards(rig.window(), 4, [&](QDialog &w) {
            QCOMPARE(named<QPushButton>(w, "CmbElegirColor")->text(), QStringLiteral("Personalizar colores"));
            QTest::mouseClick(cell(w, 1, 1), Qt::LeftButton);
            const QStringList numbers = captions(w);
            click(w, "CmbElegirColor");
            QCOMPARE(rig.fake.colours.opened, 1);
            QCOMPARE(captions(w), numbers);
            QCOMPARE(pixel(w, cell(w, 1, 1), {2, 2}), markSeen);
            QCOMPARE(pixel(w, frame(w, 4), {3, 3}), QColor(10, 200, 30));
            QCOMPARE(pixel(w, frame(w, 4), {12, 12}), QColor(90, 200, 30));
            QCOMPARE(pixel(w, cell(w, 3, 2), {2, 2}), QColor(10, 200, 30));
            QCOMPARE(pixel(w, cell(w, 3, 1), {2, 2}), QColor(Qt::white));

            rig.fake.colours.answer = std::nullopt; // Cancel changes nothing
            const QImage before = w.grab().toImage();
            click(w, "CmbElegirColor");
            QCOMPARE(rig.fake.colours.opened, 2);
            QCOMPARE(w.grab().toImage(), before);
        });
    }

    void aClickMarksACellOfTheFirstCardOnly()
    {
        Rig rig;
        openCards(rig.window(), 2, [&](QDialog &w) {
            const QString number = cell(w, 1, 5)->text();
            QTest::mouseClick(cell(w, 1, 5), Qt::LeftButton);
            QCOMPARE(pixel(w, cell(w, 1, 5), {2, 2}), markSeen);
            const QImage look = w.grab().toImage();
            QTest::mouseClick(cell(w, 2, 7), Qt::LeftButton);
            QTest::mouseClick(cell(w, 2, 8), Qt::LeftButton);
            QCOMPARE(w.grab().toImage(), look);
            // New numbers everywhere but in the marked cell.
            const QStringList before = captions(w);
            click(w, "CmbGenerar");
            QVERIFY(captions(w) != before);
            QCOMPARE(cell(w, 1, 5)->text(), number);
            QCOMPARE(pixel(w, cell(w, 1, 5), {2, 2}), markSeen);
        });
    }

    void theWindowIsApplicationModalAndEscapeLeavesItOpen()
    {
        Rig rig;
        int clicks = 0;
        QPushButton *button = rig.find<QPushButton>("CmbImprimir");
        connect(button, &QPushButton::clicked, this, [&] { ++clicks; });
        openCards(rig.window(), 0, [&](QDialog &w) {
            QCOMPARE(w.windowModality(), Qt::ApplicationModal);
            // A click on the main window, through the window system as a person's click
            // comes.
            QTest::mouseClick(rig.window().windowHandle(), Qt::LeftButton, {},
                              button->mapTo(&rig.window(), button->rect().center()));
            QCOMPARE(clicks, 0);
            QTest::keyClick(&w, Qt::Key_Escape);
            QVERIFY(w.isVisible());
        });
        QCOMPARE(clicks, 1); // the click that opened it
    }

    void printedPageShowsTheShownCardsOnWhite_data()
    {
        QTest::addColumn<int>("cards");
        for (int n = 1; n <= 4; ++n)
            QTest::addRow("%d cards", n) << n;
    }
    void printedPageShowsTheShownCardsOnWhite()
    {
        QFETCH(int, cards);
        if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty())
            QSKIP("pdftoppm (poppler-utils) is not installed");
        QTemporaryDir folder;
        Rig rig;
        rig.fake.printing.pdfPath = folder.filePath(QStringLiteral("cartones.pdf"));
        rig.fake.random.scripted = {0.6}; // RGB 0, 64, 64
        QRect shown;
        QPoint margin, marked;
        bool stillOpen = true;
        openCards(rig.window(), cards, [&](QDialog &w) {
            QTest::mouseClick(cell(w, 1, 5), Qt::LeftButton);
            for (int card = 1; card <= 4; ++card)
                shown |= frame(w, card)->isVisible() ? inWindow(w, frame(w, card)) : QRect();
            margin = frame(w, 1)->mapTo(&w, QPoint(3, 3));
            marked = cell(w, 1, 5)->mapTo(&w, QPoint(3, 3));
            click(w, "CmbPrint");
            stillOpen = w.isVisible();
        });
        QVERIFY2(!stillOpen && rig.fake.messages.shown.empty(), "a print closes the window silently");

        const QList<QImage> pages = testing::renderPdf(rig.fake.printing.pdfPath);
        QCOMPARE(pages.size(), 1);
        const QImage &page = pages.front();
        QVERIFY(qAbs(double(page.width()) / page.height() - 210.0 / 297.0) < 0.01); // A4
        QRect ink;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x)
                ink |= near(page.pixelColor(x, y), Qt::white) ? QRect() : QRect(x, y, 1, 1);
        }
        // The ink is the shown cards alone: buttons, hidden cards or a dark background would widen it.
        const double aspect = double(ink.width()) / ink.height();
        const double expected = double(shown.width()) / shown.height();
        QVERIFY2(qAbs(aspect / expected - 1) < 0.04, qPrintable(QString::number(aspect)));
        const double scale = double(ink.width()) / shown.width();
        const auto onPage = [&](QPoint p) {
            return page.pixelColor(ink.topLeft() + (QPointF(p - shown.topLeft()) * scale).toPoint());
        };
        QVERIFY(near(onPage(margin), QColor(0, 64, 64)));
        QVERIFY(near(onPage(marked), markSeen));
    }

    void aCancelledPrintSaysSoAndAFailedOneLeavesTheWindowOpen()
    {
        QTemporaryDir folder;
        Rig rig;
        rig.fake.printing.cancel = true;
        rig.fake.printing.pdfPath = folder.filePath(QStringLiteral("no-such-folder/cartones.pdf"));
        openCards(rig.window(), 3, [&](QDialog &w) {
            const QImage before = w.grab().toImage();
            QTest::keyClick(&w, Qt::Key_Return); // Enter presses "Imprimir"
            QCOMPARE(rig.fake.printing.opened, 1);
            QCOMPARE(rig.fake.messages.shown.size(), std::size_t(1));
            const Message &said = rig.fake.messages.shown.front();
            QCOMPARE(said.title + ": " + said.text, QStringLiteral("Cantabola: Impresion cancelada"));
            QCOMPARE(said.buttons, MessageButtons::Ok);
            QVERIFY(w.isVisible());
            QCOMPARE(w.grab().toImage(), before);

            rig.fake.printing.cancel = false; // a printer that cannot start
            click(w, "CmbPrint");
            QCOMPARE(rig.fake.printing.opened, 2);
            QCOMPARE(rig.fake.messages.shown.size(), std::size_t(1));
            QVERIFY(w.isVisible());
        });
        QVERIFY(!QFile::exists(rig.fake.printing.pdfPath));
    }

    // Through a real CUPS queue and cups-pdf, the print arrives as one page with the cards on it.
    void cardsPrintOnARealCupsQueue()
    {
        if (geteuid() != 0)
            QSKIP("needs root: the test starts its own CUPS scheduler and adds a queue");
        for (const char *file :
             {"/usr/sbin/cupsd", "/usr/sbin/lpadmin", "/usr/bin/lpstat", "/usr/bin/pdftoppm"}) {
            if (!QFile::exists(QString::fromLatin1(file)) || !QFile::exists(CupsPdfQueue::driver))
                QSKIP("CUPS, its cups-pdf driver or pdftoppm is not installed");
        }
        CupsPdfQueue queue;
        QVERIFY2(queue.ready, "no scheduler, or the queue could not be added");
        testing::FakePlatform f;
        Platform platform {f.screen, f.clock,   f.waiter, f.random,  f.messages, f.process, f.sound,
                           f.colours, queue,    f.browser, f.help,     f.files,    f.platform.programFolder,
                           f.platform.dataFolder};
        Cantabola program(platform);
        QVERIFY(program.start());
        bool stillOpen = true;
        openCards(program.window(), 2, [&](QDialog &w) {
            click(w, "CmbPrint");
            stillOpen = w.isVisible();
        });
        QVERIFY2(!stillOpen && f.messages.shown.empty(), "the print did not close the card window silently");

        // Through the scheduler, the filters and cups-pdf into its "Out" folder (Debian's: ${HOME}/PDF); the
        // file is complete once it renders.
        const passwd *user = getpwuid(geteuid());
        const QDir folder(QString::fromLocal8Bit(user ? user->pw_dir : "/root") + "/PDF");
        QString pdf;
        QList<QImage> pages;
        waitUntil(
            [&] {
                const QStringList found = folder.entryList({"*" + queue.jobTitle + "*.pdf"}, QDir::Files);
                pdf = found.isEmpty() ? QString() : folder.filePath(found.front());
                pages = pdf.isEmpty() ? QList<QImage>() : testing::renderPdf(pdf);
                return !pages.isEmpty();
            },
            30000);
        QFile::remove(pdf);
        QVERIFY2(!pdf.isEmpty(), qPrintable("no PDF arrived in " + folder.path()));
        QCOMPARE(pages.size(), 1);
        QVERIFY(!pages.front().allGray()); // the coloured cards are on it
    }
};

QTEST_MAIN(CardWindowTest)
#include "CardWindowTest.moc"
