// SPDX-License-Identifier: GPL-3.0-or-later
// Protects printing series of six: the operator's dialog and its progress, the numbers taken for good and the
// series kept in the registry, a job stopped or failing, and the pages as they reach a real CUPS queue.

#include "CupsPdfQueue.h"
#include "cards/CardRegistry.h"
#include "cards/CardRules.h"
#include "cards/SeriesJob.h"
#include "cards/SeriesPrinter.h"
#include "support/Rig.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QProgressDialog>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTimer>
#include <csignal>
#include <sys/resource.h>

using namespace cantabola;
using cantabola::testing::CupsPdfQueue;
using cantabola::testing::named;
using cantabola::testing::Rig;

namespace {

// "Imprimir series" from the menu: the count typed, the cards a page and the third colour chosen, the dialog
// looked at, then "Imprimir" pressed.
void askForSeries(Rig &g, const QString &count, bool large, const std::function<void(QDialog &)> &look)
{
    const auto ask = [&](QDialog &d) {
        named<QLineEdit>(d, "countField")->selectAll();
        QTest::keyClicks(named(d, "countField"), count);
        named<QComboBox>(d, "perPageChoice")->setCurrentIndex(large ? 1 : 0);
        named<QComboBox>(d, "colourChoice")->setCurrentIndex(2);
        look(d);
        QTest::mouseClick(named<QPushButton>(d, "printButton"), Qt::LeftButton);
    };
    QCOMPARE(testing::whileModal(
                 "seriesDialog", [&] { g.trigger("printSeriesItem"); }, ask),
             1);
}

std::function<void(QDialog &)> numbered(const QString &line)
{
    return [line](QDialog &d) {
        QCOMPARE(named<QLabel>(d, "serialsLine")->text(), line);
    };
}

SeriesCard numbersOf(const Card &card)
{
    SeriesCard numbers{};
    for (int k = 1; k <= cellsPerCard; ++k)
        numbers.at(std::size_t(k - 1)) = card.number(k);
    return numbers;
}

} // namespace

class SeriesPrintTest : public QObject
{
    Q_OBJECT

private slots:
    void seriesArePrintedKeptAndCheckedByNumber()
    {
        Rig g;
        const QString pdf = QDir(g.fake.platform.dataFolder).filePath("series.pdf");
        g.fake.printing.pdfPath = pdf;
        askForSeries(g, "2001", false, [](QDialog &d) {
            QVERIFY(!named(d, "printButton")->isEnabled() && named(d, "countProblem")->isVisible());
        });
        askForSeries(g, "2", true, numbered("Se numerarán del Nº 1 al Nº 12."));
        QCOMPARE(testing::renderPdf(pdf).size(), 4); // two pages a series in large print
        CardRegistry registry(g.fake.platform.dataFolder, QString());
        for (qint64 series = 1; series <= 2; ++series) {
            std::array<int, 91> seen{};
            for (qint64 serial = series * 6 - 5; serial <= series * 6; ++serial) {
                const std::optional<PrintedCard> card = registry.find(serial);
                QVERIFY(card && card->series == series && card->colour == standardCardColours[2]);
                for (int k = 1; k <= cellsPerCard; ++k)
                    ++seen.at(std::size_t(card->card.number(k)));
            }
            QCOMPARE(std::count(seen.begin() + 1, seen.end(), 1), 90L);
        }

        // Cancelar in the progress dialog as the third of five series begins: nothing printed or kept, and
        // neither its serials nor its series numbers are given again.
        QTimer stopper;
        connect(&stopper, &QTimer::timeout, [] {
            auto *progress = qobject_cast<QProgressDialog *>(QApplication::activeModalWidget());
            if (progress && progress->labelText() == "Imprimiendo la serie 3 de 5...")
                QTest::mouseClick(progress->findChild<QPushButton *>(), Qt::LeftButton);
        });
        stopper.start(0);
        askForSeries(g, "5", false, numbered("Se numerarán del Nº 13 al Nº 42."));
        stopper.stop();
        QVERIFY(!QFile::exists(pdf) && !registry.find(13) && g.fake.messages.shown.empty());
        askForSeries(g, "1", false, numbered("Se numerarán del Nº 43 al Nº 48."));
        QCOMPARE(registry.find(43)->series, 8);

        g.trigger("SM_Auto");
        g.clickStart();
        const auto check = [](QDialog &d) {
            QTest::keyClicks(named(d, "cardNumberField"), "8");
            QVERIFY(named<QLabel>(d, "verdictLabel")->text().startsWith("Cartón Nº 8 (serie 2): falta"));
        };
        QCOMPARE(testing::whileModal(
                     "ClaimDialog", [&] { g.trigger("checkClaimItem"); }, check),
                 1);
    }

    void aJobThatCannotFinishSaysWhyAndKeepsNothing_data()
    {
        QTest::addColumn<QString>("count");
        QTest::addColumn<int>("fileLimit"); // the bytes a file may grow to as the job prints; 0: no limit
        QTest::newRow("another program holds the registry") << "30" << 0;
        QTest::newRow("the PDF file fills its disk at a page") << "30" << 40000;
        QTest::newRow("the PDF file fills its disk as it ends") << "1" << 12000;
    }
    void aJobThatCannotFinishSaysWhyAndKeepsNothing()
    {
        QFETCH(QString, count);
        QFETCH(int, fileLimit);
        Rig g;
        const QString data = g.fake.platform.dataFolder, pdf = QDir(data).filePath("series.pdf");
        g.fake.printing.pdfPath = pdf;
        QVERIFY(CardRegistry(data, QString()).nextSerial() == 1);
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", QTest::currentDataTag());
        other.setDatabaseName(QDir(data).filePath(CardRegistry::fileName));
        // Held, or read only, so that its shared-memory file is there before the limit.
        QVERIFY(other.open()
                && QSqlQuery(other).exec(fileLimit ? "SELECT * FROM serials" : "BEGIN IMMEDIATE"));
        // The registry's files stay below the limit, the PDF does not.
        rlimit before{};
        getrlimit(RLIMIT_FSIZE, &before);
        rlimit small = before;
        small.rlim_cur = rlim_t(fileLimit);
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(!fileLimit || setrlimit(RLIMIT_FSIZE, &small) == 0);
        askForSeries(g, count, false, [](QDialog &) {});
        setrlimit(RLIMIT_FSIZE, &before);
        other.close();
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1)); // one message
        const QString told = g.fake.messages.shown[0].text;
        QVERIFY2(told
                     == (fileLimit ? "Se imprimieron 0 de " + count + " series."
                                   : "No se ha impreso ninguna serie: no se puede escribir en el registro de "
                                     "cartones ("
                                 + QDir(data).filePath(CardRegistry::fileName)
                                 + "), y sin él sus cartones no se podrían comprobar por el número."),
                 qPrintable(told));
        // The unfinished file, which no reader could open, is gone; nothing is kept.
        QVERIFY(!QFile::exists(pdf) && !CardRegistry(data, QString()).find(1));
    }

    // Two series through a real CUPS queue and cups-pdf: each card on the pages as it was kept, painted in
    // its place, matches the page far better than the next card painted there.
    void seriesReachACupsQueueWithTheirNumbers()
    {
        if (!CupsPdfQueue::possible())
            QSKIP("needs root, CUPS and cups-pdf: the test starts its own scheduler and adds a queue");
        CupsPdfQueue queue;
        QVERIFY2(queue.ready, "no scheduler, or the queue could not be added");
        testing::FakePlatform f;
        CardRegistry registry(f.platform.dataFolder, QString());
        const std::unique_ptr<QPrinter> printer = queue.choosePrinter(nullptr);
        const SeriesJobResult result
            = printSeriesOrder({2, false, standardCardColours[0]}, *printer, registry, f.platform, nullptr);
        QVERIFY(result.printed == 2 && result.kept);
        constexpr int dpi = 200;
        const QList<QImage> pages = queue.arrived(dpi);
        QCOMPARE(pages.size(), 2);
        const QRectF area = printer->pageRect(QPrinter::DevicePixel);
        const std::vector<QRectF> places = seriesCardPlaces(QRectF(QPointF(), area.size()), false);
        const QTransform toPage = QTransform::fromTranslate(area.left(), area.top())
            * QTransform::fromScale(double(dpi) / printer->resolution(), double(dpi) / printer->resolution());
        const auto paint
            = [&](const QImage &page, std::size_t place, qint64 card, qint64 serial, qint64 series) {
                  QImage painted(page.size(), QImage::Format_RGB32);
                  painted.fill(Qt::white);
                  QPainter painter(&painted);
                  painter.setTransform(toPage);
                  paintSeriesCard(painter, places[place], numbersOf(registry.find(card)->card), serial,
                                  series, standardCardColours[0]);
                  return painted;
              };
        // Where two paintings of a card clearly differ, the page is nearer the first at most pixels.
        const auto nearer = [&](const QImage &page, std::size_t place, const QImage &a, const QImage &b) {
            const QRect region = toPage.mapRect(places[place]).toRect() & page.rect();
            int differ = 0, nearA = 0;
            for (int y = region.top(); y <= region.bottom(); ++y)
                for (int x = region.left(); x <= region.right(); ++x) {
                    const int seen = qGray(page.pixel(x, y)), inA = qGray(a.pixel(x, y)),
                              inB = qGray(b.pixel(x, y));
                    differ += qAbs(inA - inB) > 100;
                    nearA += qAbs(inA - inB) > 100 && qAbs(seen - inA) < qAbs(seen - inB);
                }
            return nearA > differ * 0.75;
        };
        for (qint64 serial = 1; serial <= 12; ++serial) {
            const QImage &page = pages[int(serial - 1) / 6];
            const auto place = std::size_t(serial - 1) % 6;
            const qint64 series = (serial + 5) / 6;
            const QImage kept = paint(page, place, serial, serial, series);
            QVERIFY2(
                nearer(page, place, kept, paint(page, place, serial % 12 + 1, serial, series)) // numbers
                    && nearer(page, place, kept, paint(page, place, serial, serial + 1, series)) // Nº
                    && nearer(page, place, kept, paint(page, place, serial, serial, series + 1)), // Serie
                qPrintable(serialText(serial)));
        }
    }
};

QTEST_MAIN(SeriesPrintTest)
#include "SeriesPrintTest.moc"
