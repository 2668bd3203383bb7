// SPDX-License-Identifier: GPL-3.0-or-later
// Protects numbered cards: the card registry on a real SQLite file (kept, failing after the print, damaged,
// of another version, locked, read-only), and the numbered sheet and the claim checked by number through the
// real windows.

#include "cards/CardRegistry.h"
#include "game/ClaimDialog.h"
#include "support/Rig.h"

#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace cantabola;
using cantabola::testing::named;
using cantabola::testing::Rig;

namespace {

QLabel *cell(const QWidget &w, int card, int k)
{
    return named<QLabel>(w, QString("LblCasilla%1(%2)").arg(card == 1 ? "" : QString::number(card)).arg(k));
}

QRect inWindow(QWidget &w, const QWidget *c)
{
    return {c->mapTo(&w, QPoint()), c->size()};
}

// Prints from the card window opened for its first `cards` cards, clicking "Imprimir" once for each PDF path
// (one that cannot be written is a failed print), and looks at the window after each click.
void print(Rig &g, int cards, const QStringList &paths, const std::function<void(QDialog &)> &look)
{
    const auto click = [&](QDialog &w) {
        for (const QString &path : paths) {
            g.fake.printing.pdfPath = path;
            QTest::mouseClick(named<QPushButton>(w, "CmbPrint"), Qt::LeftButton);
            look(w);
        }
    };
    const int opened = testing::whileModal(
        "FrmCartones", [&] { g.trigger(QString("SM_%1").arg(cards)); }, click);
    QCOMPARE(opened, 1);
}

// The claim dialog opened, and checked while open.
void checkClaims(Rig &g, const std::function<void(QDialog &)> &check)
{
    const int opened = testing::whileModal(
        "ClaimDialog", [&] { g.trigger("checkClaimItem"); }, check);
    QCOMPARE(opened, 1);
}

} // namespace

class NumberedCardsTest : public QObject
{
    Q_OBJECT

private slots:
    void aRegistryInTroubleNeverStopsASheet_data()
    {
        QTest::addColumn<QString>("trouble");
        QTest::addColumn<bool>("setAside"); // a new registry is started
        QTest::addColumn<qint64>("next"); // the serial of the next card, 0 when it has none
        QTest::newRow("settings lost: the registry counts on") << "settings" << false << 501LL;
        QTest::newRow("garbage") << "garbage" << true << 501LL;
        QTest::newRow("truncated") << "truncated" << true << 501LL;
        QTest::newRow("another program's database") << "foreign" << true << 501LL;
        QTest::newRow("another program's, with a version") << "foreign, versioned" << true << 501LL;
        QTest::newRow("a registry of a later version") << "later" << true << 501LL;
        QTest::newRow("a registry of the first version") << "first" << false << 501LL;
        QTest::newRow("a registry of the second version") << "second" << false << 501LL;
        QTest::newRow("folder in the way") << "blocked" << false << 0LL;
        QTest::newRow("locked by another program") << "locked" << false << 0LL;
        QTest::newRow("read-only") << "read-only" << false << 0LL;
    }
    void aRegistryInTroubleNeverStopsASheet()
    {
        QFETCH(QString, trouble);
        QFETCH(bool, setAside);
        QFETCH(qint64, next);
        QTemporaryDir folder;
        const QString settings = folder.filePath("ajustes.conf"), data = folder.filePath("datos");
        const QString file = QDir(data).filePath(CardRegistry::fileName);
        Card card;
        card.setNumber(1, 9);
        {
            CardRegistry registry(data, settings);
            registry.beginSheet(std::vector<Card>(500, card), QDateTime::currentDateTime(), 0);
            QVERIFY(registry.endSheet(true));
        }
        QFile damaged(file);
        QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", trouble);
        other.setDatabaseName(file);
        QVERIFY(other.open());
        if (trouble == "settings")
            QVERIFY(QFile::remove(settings));
        if (trouble == "garbage" && damaged.open(QIODevice::WriteOnly))
            damaged.write(QByteArray(9000, 'x'));
        if (trouble == "truncated")
            damaged.resize(damaged.size() / 2);
        if (trouble.startsWith("foreign"))
            QVERIFY(QFile::remove(file) && other.open() && QSqlQuery(other).exec("CREATE TABLE t (x)")
                    && QSqlQuery(other).exec(trouble.endsWith("versioned") ? "PRAGMA user_version = 1"
                                                                           : "PRAGMA user_version"));
        if (trouble == "later")
            QVERIFY(QSqlQuery(other).exec("PRAGMA user_version = 4"));
        if (trouble == "first" || trouble == "second") // the older tables, without series
            QVERIFY(QSqlQuery(other).exec("ALTER TABLE cards DROP COLUMN series")
                    && QSqlQuery(other).exec(trouble == "first"
                                                 ? "DROP TABLE serials"
                                                 : "ALTER TABLE serials DROP COLUMN last_series")
                    && QSqlQuery(other).exec(trouble == "first" ? "PRAGMA user_version = 1"
                                                                : "PRAGMA user_version = 2"));
        if (trouble == "blocked")
            QVERIFY(QDir(data).removeRecursively() && QFile(data).open(QIODevice::WriteOnly));
        if (trouble == "locked")
            QVERIFY(QSqlQuery(other).exec("BEGIN EXCLUSIVE"));
        if (trouble == "read-only") {
            QFile::setPermissions(file, QFile::ReadOwner);
            // The owner of every file ignores its permissions: then the file is made immutable.
            if (QFile(file).open(QIODevice::ReadWrite) && QProcess::execute("chattr", {"+i", file}) != 0)
                QSKIP("the file cannot be made read-only");
        }
        damaged.close();
        // Files set aside earlier in this second and the next keep their names.
        for (int s = 0; setAside && s < 2; ++s)
            QFile(file + ".apartado-" + QDateTime::currentDateTime().addSecs(s).toString("yyyyMMdd-HHmmss"))
                .open(QIODevice::WriteOnly);
        CardRegistry registry(data, settings);
        const std::vector<qint64> serials = registry.beginSheet({card}, QDateTime::currentDateTime(), 0);
        QProcess::execute("chattr", {"-i", file});
        QCOMPARE(serials, next ? std::vector<qint64>{next} : std::vector<qint64>());
        QCOMPARE(registry.endSheet(true), next != 0);
        QCOMPARE(registry.takeTrouble(), setAside || !next);
        QVERIFY(!registry.takeTrouble()); // said once
        QCOMPARE(QDir(data).entryList().filter(QRegularExpression("apartado-[-0-9]+$")).size(),
                 setAside ? 3 : 0);
        QCOMPARE(registry.find(next ? next : 1).has_value(), trouble != "blocked"); // read, even while locked
        other.close();
    }

    void aSheetNotKeptAfterItsPrintKeepsItsNumbers_data()
    {
        QTest::addColumn<bool>("databaseLost"); // afterwards: only the settings count on
        QTest::newRow("the database counts on") << false;
        QTest::newRow("the database lost, the settings count on") << true;
    }
    void aSheetNotKeptAfterItsPrintKeepsItsNumbers()
    {
        QFETCH(bool, databaseLost);
        QTemporaryDir folder;
        const QString settings = databaseLost ? folder.filePath("ajustes.conf") : QString();
        const QString file = folder.filePath(CardRegistry::fileName);
        Card card;
        card.setNumber(1, 9);
        {
            CardRegistry registry(folder.path(), settings);
            QCOMPARE(registry.beginSheet({card, card}, QDateTime::currentDateTime(), 0),
                     (std::vector<qint64>{1, 2}));
            // Printed; then another program holds the registry as the cards are to be kept.
            QSqlDatabase other = QSqlDatabase::addDatabase("QSQLITE", QTest::currentDataTag());
            other.setDatabaseName(file);
            QVERIFY(other.open() && QSqlQuery(other).exec("BEGIN IMMEDIATE"));
            QVERIFY(!registry.endSheet(true));
            other.close();
            QVERIFY(registry.takeTrouble());
            QCOMPARE(registry.beginSheet({card}, QDateTime::currentDateTime(), 0), std::vector<qint64>{3});
        }
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(databaseLost ? file + suffix : QString());
        CardRegistry registry(folder.path(), settings);
        QCOMPARE(registry.beginSheet({card}, QDateTime::currentDateTime(), 0), std::vector<qint64>{4});
        QVERIFY(!registry.find(1));
    }

    void aNumberedSheetIsCheckedByItsNumber()
    {
        Rig g;
        const QDir folder(g.fake.platform.dataFolder);
        g.fake.random.scripted = {0.6}; // cards of RGB 0, 64, 64, their serials in white
        const auto unnumbered = [](QDialog &w) {
            QVERIFY(!w.isVisible() && named(w, "serialLabel(1)")->isHidden());
        };
        QVERIFY(!g.action("numberCardsItem")->isChecked());
        print(g, 1, {folder.filePath("plain.pdf")}, unnumbered);
        QVERIFY(!QFile::exists(folder.filePath(CardRegistry::fileName)));
        g.trigger("numberCardsItem");
        QVERIFY(named<QAction>(Cantabola(g.fake.platform).window(), "numberCardsItem")
                    ->isChecked()); // the next run
        // A registry that cannot be opened leaves the sheet without numbers, and is told at the next check.
        QVERIFY(folder.mkdir(CardRegistry::fileName));
        print(g, 1, {folder.filePath("a.pdf")}, unnumbered);
        QVERIFY(folder.rmdir(CardRegistry::fileName));

        std::array<QStringList, 2> printed; // the numbers each card shows
        QRect shown, serial;
        QStringList serials;
        print(g, 2, {folder.filePath("no-such-folder/a.pdf"), folder.filePath("numbered.pdf")},
              [&](QDialog &w) {
                  for (int card = 1; card <= 2; ++card) {
                      auto *label = named<QLabel>(w, QString("serialLabel(%1)").arg(card));
                      serials << (label->isHidden() ? QString() : label->text());
                      printed.at(card - 1).clear();
                      for (int k = 1; k <= cellsPerCard; ++k) {
                          printed.at(card - 1) << cell(w, card, k)->text();
                          QVERIFY(!inWindow(w, label).intersects(inWindow(w, cell(w, card, k))));
                      }
                      QVERIFY(label->parentWidget()->rect().contains(label->geometry()));
                      shown |= inWindow(w, label->parentWidget());
                  }
                  serial = inWindow(w, named(w, "serialLabel(2)"));
              });
        // The failed print shows no number, and its numbers are not given again.
        QCOMPARE(serials, (QStringList{"", "", "Nº 3", "Nº 4"}));
        // On the sheet: light text on the dark card colour where the serial is.
        const QImage page = testing::renderPdf(folder.filePath("numbered.pdf"), 150).value(0);
        QRect ink; // the cards on the white page
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                ink |= qGray(page.pixel(x, y)) > 230 ? QRect() : QRect(x, y, 1, 1);
        const double scale = double(ink.width()) / shown.width();
        const QRect onPage((QPointF(serial.topLeft() - shown.topLeft()) * scale).toPoint() + ink.topLeft(),
                           (QSizeF(serial.size()) * scale).toSize());
        int light = 0;
        for (int y = onPage.top(); y <= onPage.bottom(); ++y)
            for (int x = onPage.left(); x <= onPage.right(); ++x)
                light += qGray(page.pixel(x, y)) > 120;
        QVERIFY2(light > 30, qPrintable(QString::number(light)));

        g.trigger("SM_Auto");
        for (int ball = 0; ball < 40; ++ball)
            g.clickStart();
        checkClaims(g, [&](QDialog &d) {
            std::vector<CardCheck> room;
            connect(qobject_cast<ClaimDialog *>(&d), &ClaimDialog::cardChecked,
                    [&](const CardCheck &c) { room.push_back(c); });
            // Numbered cards: the card's number comes first and takes the typing.
            QVERIFY(QTest::qWaitForWindowActive(&d));
            QTest::keyClick(d.windowHandle(), '4');
            QVERIFY(named(d, "cardNumberField")->y() < named(d, "numbersField")->y());
            auto *table = named<QTableWidget>(d, "cardGrid");
            QVERIFY(table->isVisible());
            for (int k = 1; k <= cellsPerCard; ++k) {
                const QString n = printed[1][k - 1];
                const QTableWidgetItem *item = table->item(cellRow(k) - 1, cellColumn(k) - 1);
                QCOMPARE(item->text(), n);
                QCOMPARE(item->font().bold(), !n.isEmpty() && g.game().BolaSacada(n.toInt()));
            }
            QVERIFY(named<QLabel>(d, "verdictLabel")->text().startsWith("Cartón Nº 4: "));
            named<QLineEdit>(d, "cardNumberField")->setText("2");
            QVERIFY(!table->isVisible());
            QCOMPARE(named<QLabel>(d, "verdictLabel")->text(), QString("No hay ningún cartón con el Nº 2."));
            QCOMPARE(room.size(), std::size_t(2));
            QCOMPARE(gridText(*room[0].card), printed[1].join(','));
        });
        checkClaims(g, [](QDialog &) {});
        QCOMPARE(g.fake.messages.shown.size(), std::size_t(1)); // once
        QCOMPARE(g.fake.messages.shown[0].text, QString("No se puede usar el registro de cartones."));
        const std::optional<PrintedCard> kept = CardRegistry(folder.path(), QString()).find(4);
        QVERIFY(kept && kept->colour == 0x00404000
                && kept->printedAt == QDateTime(QDate(2026, 12, 7), QTime(12, 0)));
    }
};

QTEST_MAIN(NumberedCardsTest)
#include "NumberedCardsTest.moc"
