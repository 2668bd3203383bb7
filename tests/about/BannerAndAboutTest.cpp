// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the sponsor banner (rotation, links, broken files) and the about window of the help menu.

#include "about/WebAddress.h"
#include "platform/AniGif.h"
#include "platform/AppInfo.h"
#include "support/Rig.h"

#include <QFileInfo>
#include <QMovie>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <sys/stat.h>

using namespace cantabola;
using cantabola::testing::named;
using cantabola::testing::Rig;

namespace {

// The program on a program folder of its own, holding the nine banner pictures the program ships and an
// address file for each; the banner timer's tick, a click on the banner and the banner shown.
struct BannerRig : Rig
{
    explicit BannerRig(double startRandom)
        : Rig(ScreenInfo::fromPixels(1024, 768, 15), false)
    {
        QVERIFY(QProcess::execute("cp", {"-r", CANTABOLA_PROGRAM_DIR "/data", folder.path()}) == 0);
        for (int n = 1; n <= 9; ++n) {
            QFile t(data("t%1.txt").arg(n));
            QVERIFY(t.open(QIODevice::WriteOnly) && t.write(sponsor(n).toUtf8() + ",Patrocinador\r\n"));
        }
        fake.platform.programFolder = folder.path();
        fake.random.scripted = {startRandom};
        program = std::make_unique<Cantabola>(fake.platform);
        program->start();
    }

    static QString sponsor(int n) { return QStringLiteral("http://patrocinador%1.example/").arg(n); }
    QString data(const QString &name) const { return folder.filePath(QStringLiteral("data/") + name); }
    QTimer *timer() const { return find<QTimer>(QStringLiteral("Timer1")); }
    void tick() const { QVERIFY(QMetaObject::invokeMethod(timer(), "timeout")); }
    // The address a click on the banner opens unseen, "none" when it opens nothing.
    QString click()
    {
        fake.browser.opened.clear();
        QTest::mouseClick(find(QStringLiteral("AniGIF1")), Qt::LeftButton, {}, QPoint(5, 5));
        const auto &opened = fake.browser.opened;
        return opened.empty() ? "none" : opened.back().second == 0 ? opened.back().first.toString() : "shown";
    }
    // The banner whose picture shows, 0 when the banner is blank.
    int shown() const
    {
        const QMovie *m = find<AniGif>(QStringLiteral("AniGIF1"))->movie();
        return m && !m->currentImage().isNull() ? QFileInfo(m->fileName()).baseName().mid(1).toInt() : 0;
    }

    QTemporaryDir folder;
};

} // namespace

class BannerAndAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void theBannersTurnFromARandomStartAndADamagedOneIsBlankOrUnlinked_data()
    {
        QTest::addColumn<double>("random");
        QTest::addColumn<QString>("banners"); // in turn after each of 19 ticks
        QTest::addColumn<QString>("file"); // of banner 1, damaged unless empty
        QTest::addColumn<QString>("kind"); // what lies under its name
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("first banner 5")
            << 0.5 << "5667788991122334455" << QString() << QString() << QByteArray();
        QTest::newRow("first banner 8")
            << 0.99 << "8991122334455667788" << QString() << QString() << QByteArray();
        QFile shipped(QStringLiteral(CANTABOLA_PROGRAM_DIR "/data/b1.gif"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray gif = shipped.readAll();
        const auto row = [](const char *name, const char *file, const char *kind, const QByteArray &content) {
            QTest::newRow(name) << 0.0 << "1223344556677889911" << QString(file) << QString(kind) << content;
        };
        row("first banner 1", "", "", "");
        row("address: a local file", "t1.txt", "file", "file:///etc/passwd\n");
        row("address: missing", "t1.txt", "missing", "");
        row("address: a pipe", "t1.txt", "pipe", "");
        row("picture: missing", "b1.gif", "missing", "");
        row("picture: empty", "b1.gif", "file", "");
        row("picture: cut short", "b1.gif", "file", gif.left(40));
        row("picture: 5000 x 5000", "b1.gif", "file", QByteArray(gif).replace(6, 4, "\x88\x13\x88\x13"));
        row("picture: a folder", "b1.gif", "folder", "");
        row("picture: a pipe", "b1.gif", "pipe", "");
    }
    void theBannersTurnFromARandomStartAndADamagedOneIsBlankOrUnlinked()
    {
        QFETCH(double, random);
        QFETCH(QString, banners);
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        BannerRig rig(random);
        QFile damaged(rig.data(file));
        QVERIFY(file.isEmpty() || damaged.remove());
        QVERIFY(kind != "folder" || QDir().mkdir(damaged.fileName()));
        QVERIFY(kind != "pipe" || ::mkfifo(QFile::encodeName(damaged.fileName()).constData(), 0600) == 0);
        QVERIFY(kind != "file" || (damaged.open(QIODevice::WriteOnly) && damaged.write(content) >= 0));
        damaged.close();
        QVERIFY(rig.timer()->isActive());
        QCOMPARE(rig.shown(), 0); // blank for the first minute
        QCOMPARE(rig.click(), "none");
        for (const QChar turn : banners) {
            rig.tick();
            const int n = turn.digitValue();
            const bool broken = n == 1 && !file.isEmpty(), picture = file == "b1.gif";
            QCOMPARE(rig.shown(), broken && picture ? 0 : n); // a damaged picture leaves the banner blank
            QCOMPARE(rig.click(), broken && !picture ? "none" : rig.sponsor(n)); // web addresses only
        }
    }

    // Each way of closing it acts as "Aceptar"; each opening plays its sound once.
    void theAboutWindowOpensModalWithItsSoundVersionAndLinkAndClosesAsAceptar()
    {
        Rig rig;
        const auto open = [&] {
            rig.trigger(QStringLiteral("SM_AcercaDe"));
        };
        for (const QString way : {"Aceptar", "Enter", "Escape", "close box"}) {
            rig.fake.sound.played.clear();
            rig.fake.browser.opened.clear();
            int result = -1;
            const auto look = [&](QDialog &about) {
                QCOMPARE(about.parentWidget(), &rig.window());
                QCOMPARE(about.windowTitle() + ", " + named<QLabel>(about, "lblVersion")->text(),
                         "Acerca de Cantabola, Versión " + app::versionText());
                open(); // a second request while it is open makes no second window and no second sound
                QCOMPARE(rig.window().findChildren<QDialog *>(QStringLiteral("frmAbout")).size(), 1);
                QCOMPARE(rig.fake.sound.played,
                         (std::vector{std::pair(QString("pac.wav"), PlayMode::Async)}));
                // The link, and only the link, opens the author's page maximised.
                QTest::mouseClick(named(about, "lblVersion"), Qt::LeftButton);
                QCOMPARE(named<QLabel>(about, "Label1")->text(), authorsWebAddress());
                QTest::mouseClick(named(about, "Label1"), Qt::LeftButton, {}, QPoint(10, 5));
                QCOMPARE(rig.fake.browser.opened, (std::vector{std::pair(QUrl(authorsWebAddress()), 3)}));
                connect(&about, &QDialog::finished, &about, [&](int r) { result = r; });
                if (way == "Aceptar")
                    QTest::mouseClick(named<QPushButton>(about, "cmdOK"), Qt::LeftButton);
                else if (way == "close box")
                    about.close();
                else
                    QTest::keyClick(&about, way == "Enter" ? Qt::Key_Return : Qt::Key_Escape);
            };
            QCOMPARE(testing::whileModal("frmAbout", open, look), 1);
            QVERIFY2(result == QDialog::Accepted, qPrintable(way));
            QVERIFY(rig.window().findChildren<QDialog *>(QStringLiteral("frmAbout")).isEmpty());
        }
    }
};

QTEST_MAIN(BannerAndAboutTest)
#include "BannerAndAboutTest.moc"
