// Protects the main window's links to the outside: the sponsor banner (its timer's ticks show the banners of
// the program's data folder in order from the random start, a click opens the banner's address only when it
// is a web page, broken pictures leave it blank while the rotation goes on) and the about window (opened
// modal from the help menu, its title and version, the sound at every opening, the link to the authors'
// page, Escape and the close box acting as "Aceptar", one window at a time).

#include "AniGif.h"
#include "AppInfo.h"
#include "Rig.h"
#include "WebAddress.h"

#include <QApplication>
#include <QMovie>
#include <QTemporaryDir>
#include <QTimer>
#include <sys/stat.h>

using namespace cantabola;
using cantabola::testing::named;
using cantabola::testing::Rig;

namespace {

QString sponsor(int n)
{
    return QStringLiteral("http://patrocinador%1.example/").arg(n);
}

// The program on a program folder of its own, holding the nine banner pictures the program ships and an
// address file for each.
struct BannerRig
{
    explicit BannerRig(double startRandom)
    {
        QDir(folder.path()).mkdir(QStringLiteral("data"));
        for (int n = 1; n <= 9; ++n) {
            const QString picture = QStringLiteral("b%1.gif").arg(n);
            QFile::copy(QDir(QStringLiteral(CANTABOLA_PROGRAM_DIR "/data")).filePath(picture), data(picture));
            write(QStringLiteral("t%1.txt").arg(n),
                  (sponsor(n) + QStringLiteral(",Patrocinador\r\n")).toUtf8());
            firstFrames[n] = QImage(data(picture)).convertToFormat(QImage::Format_ARGB32);
        }
        fake.platform.programFolder = folder.path();
        fake.random.scripted = {startRandom};
        program = std::make_unique<Cantabola>(fake.platform);
        program->start();
        banner = named<AniGif>(program->window(), QStringLiteral("AniGIF1"));
        timer = program->window().findChild<QTimer *>(QStringLiteral("Timer1"));
    }

    QString data(const QString &name) const { return folder.filePath(QStringLiteral("data/") + name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(data(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    void tick() const { QVERIFY(QMetaObject::invokeMethod(timer, "timeout")); }
    // The address a click on the banner opens, empty when none.
    QString click() const
    {
        const std::size_t before = fake.browser.opened.size();
        QTest::mouseClick(banner, Qt::LeftButton, {}, QPoint(5, 5));
        if (fake.browser.opened.size() == before)
            return {};
        return fake.browser.opened.back().second == 0 ? fake.browser.opened.back().first.toString()
                                                      : "not hidden";
    }
    // The banner whose picture shows (just loaded, at its first frame), 0 when the banner is blank.
    int shown() const
    {
        if (!banner->movie() || banner->movie()->currentImage().isNull())
            return banner->pixmap().isNull() ? 0 : -1;
        return int(
            firstFrames.indexOf(banner->movie()->currentImage().convertToFormat(QImage::Format_ARGB32)));
    }

    QTemporaryDir folder;
    QList<QImage> firstFrames = QList<QImage>(10);
    testing::FakePlatform fake;
    std::unique_ptr<Cantabola> program;
    AniGif *banner = nullptr;
    QTimer *timer = nullptr;
};

// Opens the about window once from "Acerca de ..." and looks at it while it is open.
void openAbout(const Rig &rig, const std::function<void(QDialog &)> &look)
{
    const auto choose = [&] {
        rig.trigger("SM_AcercaDe");
    };
    QCOMPARE(testing::whileModal("frmAbout", choose, look), 1);
}

using Played = std::vector<std::pair<QString, PlayMode>>;

} // namespace

class BannerAndAboutTest : public QObject
{
    Q_OBJECT

private slots:
    void ticksShowTheBannersInOrderFromTheRandomStart_data()
    {
        QTest::addColumn<double>("random");
        QTest::addColumn<QString>("banners"); // shown after each of 19 ticks
        QTest::newRow("first banner 1") << 0.0 << "1223344556677889911";
        QTest::newRow("first banner 5") << 0.5 << "5667788991122334455";
        QTest::newRow("first banner 8") << 0.99 << "8991122334455667788";
    }
    void ticksShowTheBannersInOrderFromTheRandomStart()
    {
        QFETCH(double, random);
        QFETCH(QString, banners);
        BannerRig rig(random);
        QCOMPARE(rig.timer->interval(), 60000);
        QVERIFY(rig.timer->isActive());
        QCOMPARE(rig.shown(), 0); // blank for the first minute
        QCOMPARE(rig.click(), QString());
        QString seen;
        for (int i = 0; i < banners.size(); ++i) {
            rig.tick();
            const int n = rig.shown();
            seen += QString::number(n);
            QCOMPARE(rig.click(), sponsor(n));
        }
        QCOMPARE(seen, banners);
    }

    void aClickOpensOnlyAWebAddress_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::newRow("a script") << QByteArray("javascript:alert(1)\n");
        QTest::newRow("a local file") << QByteArray("file:///etc/passwd\n");
        QTest::newRow("a program") << QByteArray("\"/bin/sh -c reboot\"\n");
        QTest::newRow("a quoted newline")
            << QByteArray("\"http://patrocinador.example/\nfile:///etc/passwd\"\n");
        QTest::newRow("no address") << QByteArray(",Sin enlace\n");
    }
    void aClickOpensOnlyAWebAddress()
    {
        QFETCH(QByteArray, address);
        BannerRig rig(0.0);
        rig.write(QStringLiteral("t1.txt"), address);
        rig.tick();
        QCOMPARE(rig.shown(), 1);
        QCOMPARE(rig.click(), QString());
        rig.tick();
        QCOMPARE(rig.click(), sponsor(2));
    }

    void aBrokenPictureLeavesTheBannerBlankAndTheRotationGoing_data()
    {
        QTest::addColumn<QString>("kind"); // what lies under the picture's name
        QTest::addColumn<QByteArray>("content");
        QFile shipped(QStringLiteral(CANTABOLA_PROGRAM_DIR "/data/b1.gif"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray gif = shipped.readAll();
        QTest::newRow("missing") << "missing" << QByteArray();
        QTest::newRow("empty") << "file" << QByteArray();
        QTest::newRow("text") << "file" << QByteArray("http://patrocinador1.example/\n");
        QTest::newRow("cut short") << "file" << gif.left(40);
        QTest::newRow("claims 5000 x 5000") << "file" << QByteArray(gif).replace(6, 4, "\x88\x13\x88\x13");
        QTest::newRow("a folder") << "folder" << QByteArray();
        QTest::newRow("a pipe") << "pipe" << QByteArray();
    }
    void aBrokenPictureLeavesTheBannerBlankAndTheRotationGoing()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        BannerRig rig(0.0);
        const QString b1 = rig.data(QStringLiteral("b1.gif"));
        QVERIFY(QFile::remove(b1));
        if (kind == QLatin1String("file"))
            rig.write(QStringLiteral("b1.gif"), content);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(b1));
        if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(b1).constData(), 0600), 0);
        rig.tick();
        QTest::qWait(50); // a broken picture plays (or fails) for a while
        QCOMPARE(rig.shown(), 0);
        QCOMPARE(rig.click(), sponsor(1)); // its address is still read
        rig.tick();
        QCOMPARE(rig.shown(), 2);
        QVERIFY(rig.timer->isActive());
    }

    void itOpensModalOverTheMainWindowWithItsSoundTitleAndVersion()
    {
        Rig rig;
        QCOMPARE(rig.action(QStringLiteral("SM_AcercaDe"))->text(), QStringLiteral("Acerca de ..."));
        openAbout(rig, [&](QDialog &about) {
            QCOMPARE(about.parentWidget(), &rig.window());
            QCOMPARE(QApplication::activeModalWidget(), &about);
            QCOMPARE(about.windowModality(), Qt::ApplicationModal);
            QCOMPARE(rig.fake.sound.played, (Played{{"pac.wav", PlayMode::Async}}));
            QCOMPARE(about.windowTitle(), QStringLiteral("Acerca de Cantabola"));
            QCOMPARE(named<QLabel>(about, "lblVersion")->text(), "Versión " + app::versionText());
            // A second request while it is open makes no second window and no second sound.
            rig.trigger(QStringLiteral("SM_AcercaDe"));
            QCOMPARE(rig.window().findChildren<QDialog *>(QStringLiteral("frmAbout")).size(), 1);
            QCOMPARE(rig.fake.sound.played.size(), std::size_t(1));
        });
        openAbout(rig, [](QDialog &) {});
        QCOMPARE(rig.fake.sound.played, (Played{{"pac.wav", PlayMode::Async}, {"pac.wav", PlayMode::Async}}));
    }

    void theLinkOpensTheAuthorsPageMaximised()
    {
        Rig rig;
        openAbout(rig, [&](QDialog &about) {
            QLabel *link = named<QLabel>(about, "Label1");
            QCOMPARE(link->text(), authorsWebAddress());
            QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(10, 5));
            using Opened = std::vector<std::pair<QUrl, int>>;
            QCOMPARE(rig.fake.browser.opened, (Opened{{QUrl(authorsWebAddress()), 3}}));
            QVERIFY(about.isVisible());
            QTest::mouseClick(named(about, "lblVersion"), Qt::LeftButton); // elsewhere: nothing
            QCOMPARE(rig.fake.browser.opened.size(), std::size_t(1));
        });
    }

    void escapeAndTheCloseBoxActAsAceptar_data()
    {
        QTest::addColumn<QString>("way");
        for (const char *way : {"Aceptar", "Enter", "Escape", "close box"})
            QTest::newRow(way) << QString::fromLatin1(way);
    }
    void escapeAndTheCloseBoxActAsAceptar()
    {
        QFETCH(QString, way);
        Rig rig;
        int result = -1;
        bool closed = false;
        openAbout(rig, [&](QDialog &about) {
            connect(&about, &QDialog::finished, [&](int r) { result = r; });
            if (way == QLatin1String("Aceptar"))
                QTest::mouseClick(named<QPushButton>(about, "cmdOK"), Qt::LeftButton);
            else if (way == QLatin1String("close box"))
                about.close();
            else
                QTest::keyClick(&about, way == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape);
            closed = !about.isVisible();
        });
        QVERIFY(closed);
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(rig.window().findChildren<QDialog *>(QStringLiteral("frmAbout")).isEmpty());
    }
};

QTEST_MAIN(BannerAndAboutTest)
#include "BannerAndAboutTest.moc"
