// The sponsor banner of the real main window, driven tick by tick (the timer's signal is raised by hand, so
// no test waits a minute): which picture shows, which address a click opens, and that broken, missing or
// hostile banner files neither crash the program nor stop the rotation.

#include "Banner.h"
#include "AniGif.h"
#include "FakePlatform.h"
#include "FrmBingo.h"
#include "TestGif.h"

#include <QDir>
#include <QFile>
#include <QMovie>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>
#include <sys/stat.h>

using namespace cantabola;
using cantabola::testing::FakePlatform;
using cantabola::testing::makeGif;

namespace {

QColor bannerColour(int n)
{
    return {25 * n, 200 - 20 * n, 100 + 10 * n};
}

QString bannerUrl(int n)
{
    return QStringLiteral("http://patrocinador%1.example/").arg(n);
}

// The count after i ticks from start.
int countAfter(int start, int ticks)
{
    return (start - 1 + ticks) % 18 + 1;
}

// What a person sees in the banner: the colour at its top left corner, or nothing when no picture shows.
std::optional<QColor> shownColour(AniGif *banner)
{
    if (!banner->movie() || banner->movie()->currentImage().isNull())
        return std::nullopt;
    return banner->grab().toImage().pixelColor(1, 1);
}

void put16(QByteArray &bytes, qsizetype at, int value)
{
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

bool isBlank(const AniGif *banner)
{
    return !banner->movie() && banner->pixmap().isNull();
}

// A program folder of its own with nine banners, and the real main window over fakes, its banner wired.
struct BannerRig
{
    BannerRig()
    {
        fake.platform.programFolder = folder.path();
        QDir(folder.path()).mkdir(QStringLiteral("data"));
        for (int n = 1; n <= 9; ++n) {
            write(QStringLiteral("b%1.gif").arg(n), makeGif(40, 10, {bannerColour(n)}));
            write(QStringLiteral("t%1.txt").arg(n),
                  (bannerUrl(n) + QStringLiteral(",Patrocinador\r\n")).toUtf8());
        }
        window = std::make_unique<FrmBingo>(fake.platform, scale);
        installBanner(*window);
    }

    QString dataFile(const QString &name) const { return QDir(folder.path()).filePath("data/" + name); }
    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(dataFile(name));
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    void remove(const QString &name) const { QFile::remove(dataFile(name)); }

    void start() { QVERIFY(window->Load()); }
    void tick() const { QVERIFY(QMetaObject::invokeMethod(window->Timer1, "timeout")); }
    void clickBanner() const { QTest::mouseClick(window->AniGIF1, Qt::LeftButton, {}, QPoint(5, 5)); }

    QTemporaryDir folder;
    FakePlatform fake;
    ScaleValues scale;
    std::unique_ptr<FrmBingo> window;
};

} // namespace

class BannerTest : public QObject
{
    Q_OBJECT

private slots:
    void theFirstMinuteIsBlankAndAClickOpensNothing()
    {
        BannerRig rig;
        rig.start();
        QVERIFY(rig.window->AniGIF1->isVisible());
        QVERIFY(isBlank(rig.window->AniGIF1));
        QCOMPARE(rig.window->BannerUrl, QString());
        rig.clickBanner();
        QCOMPARE(rig.fake.browser.opened.size(), std::size_t(0));
        // The timer is start-up's: one minute, running, untouched by the banner's wiring.
        QCOMPARE(rig.window->Timer1->interval(), 60000);
        QVERIFY(rig.window->Timer1->isActive());
    }

    void everyStartGoesRoundTheNineBannersInEighteenTicks_data()
    {
        QTest::addColumn<int>("start");
        for (int start = 1; start <= 18; ++start)
            QTest::addRow("from %d", start) << start;
    }
    void everyStartGoesRoundTheNineBannersInEighteenTicks()
    {
        QFETCH(int, start);
        BannerRig rig;
        rig.start();
        rig.window->BannerCounter = start;
        std::array<int, 10> timesShown{};
        for (int i = 1; i <= 18; ++i) {
            rig.tick();
            const int count = countAfter(start, i);
            const int banner = (count + 1) / 2;
            QCOMPARE(rig.window->BannerCounter, count);
            QCOMPARE(rig.window->BannerUrl, bannerUrl(banner));
            QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(bannerColour(banner)));
            ++timesShown[static_cast<std::size_t>(banner)];
        }
        QCOMPARE(rig.window->BannerCounter, start);
        for (int n = 1; n <= 9; ++n)
            QCOMPARE(timesShown[static_cast<std::size_t>(n)], 2);
    }

    // Start-up leaves the count odd: the first banner is one of 1 to 8, shown for one tick, and every later
    // one for two, in order, 9 followed by 1.
    void afterStartUpTheFirstBannerStaysOneTickAndTheRestTwo_data()
    {
        QTest::addColumn<int>("k");
        for (int k = 1; k <= 8; ++k)
            QTest::addRow("first banner %d", k) << k;
    }
    void afterStartUpTheFirstBannerStaysOneTickAndTheRestTwo()
    {
        QFETCH(int, k);
        BannerRig rig;
        rig.fake.random.scripted = {(k - 0.5) / 8.0};
        rig.start();
        QCOMPARE(rig.window->BannerCounter, 2 * k - 1);
        QList<int> shown;
        for (int i = 0; i < 5; ++i) {
            rig.tick();
            for (int n = 1; n <= 9; ++n) {
                if (shownColour(rig.window->AniGIF1) == std::optional<QColor>(bannerColour(n)))
                    shown << n;
            }
        }
        const auto after = [k](int steps) {
            return (k - 1 + steps) % 9 + 1;
        };
        QCOMPARE(shown, QList<int>({k, after(1), after(1), after(2), after(2)}));
    }

    void aClickOpensTheBannerOnShowHidden()
    {
        BannerRig rig;
        rig.start();
        rig.window->BannerCounter = 5;
        rig.tick();
        rig.clickBanner();
        QCOMPARE(rig.fake.browser.opened.size(), std::size_t(1));
        QCOMPARE(rig.fake.browser.opened.front().first, QUrl(bannerUrl(3)));
        QCOMPARE(rig.fake.browser.opened.front().second, 0);
        rig.tick();
        rig.tick();
        rig.clickBanner();
        QCOMPARE(rig.fake.browser.opened.size(), std::size_t(2));
        QCOMPARE(rig.fake.browser.opened.back().first, QUrl(bannerUrl(4)));
    }

    // Start-up makes the program's folder the current directory; whatever becomes current later, the banners
    // come from the data folder beside the program.
    void theBannersComeFromTheProgramsFolderNotTheCurrentDirectory()
    {
        BannerRig rig;
        rig.start();
        QTemporaryDir elsewhere;
        QVERIFY(QDir(elsewhere.path()).mkdir(QStringLiteral("data")));
        QFile decoy(QDir(elsewhere.path()).filePath(QStringLiteral("data/t1.txt")));
        QVERIFY(decoy.open(QIODevice::WriteOnly));
        decoy.write("http://otro.example/\n");
        decoy.close();
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(elsewhere.path()));
        rig.window->BannerCounter = 1;
        rig.tick();
        QDir::setCurrent(previous);
        QCOMPARE(rig.window->BannerUrl, bannerUrl(1));
        QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(bannerColour(1)));
    }

    // An odd count becoming even keeps the banner, yet both files are read again and the animation restarts.
    void aTickThatKeepsTheBannerReloadsItsFiles()
    {
        BannerRig rig;
        rig.start();
        const QColor first(10, 20, 30);
        const QColor second(40, 50, 60);
        const QColor third(70, 80, 90);
        rig.write(QStringLiteral("b2.gif"), makeGif(40, 10, {first, second, third}, 500));
        rig.window->BannerCounter = 2;
        rig.tick();
        QCOMPARE(rig.window->BannerCounter, 3);
        QMovie *movie = rig.window->AniGIF1->movie();
        QVERIFY(movie);
        QVERIFY(movie->jumpToNextFrame());
        QVERIFY(movie->jumpToNextFrame());
        QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(third));

        rig.write(QStringLiteral("t2.txt"), "\"http://nuevo.example/?a=1,2\",otro\n");
        rig.tick();
        QCOMPARE(rig.window->BannerCounter, 4);
        QCOMPARE(rig.window->BannerUrl, QStringLiteral("http://nuevo.example/?a=1,2"));
        QCOMPARE(rig.window->AniGIF1->movie()->currentFrameNumber(), 0);
        QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(first));

        rig.write(QStringLiteral("b3.gif"), makeGif(40, 10, {third}));
        rig.tick();
        QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(third));
    }

    void anEmptyAddressLeavesTheBannerWithoutALinkUntilALaterOne()
    {
        BannerRig rig;
        rig.start();
        rig.write(QStringLiteral("t1.txt"), ",Sin enlace\n");
        rig.window->BannerCounter = 18;
        rig.tick();
        QCOMPARE(rig.window->BannerCounter, 1);
        QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(bannerColour(1)));
        rig.clickBanner();
        rig.tick();
        rig.clickBanner();
        QCOMPARE(rig.fake.browser.opened.size(), std::size_t(0));
        rig.tick();
        rig.clickBanner();
        QCOMPARE(rig.fake.browser.opened.size(), std::size_t(1));
        QCOMPARE(rig.fake.browser.opened.front().first, QUrl(bannerUrl(2)));
    }

    void hostileAddressFilesOpenNothing_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("a local file") << QByteArray("file:///etc/passwd\n");
        QTest::newRow("a script") << QByteArray("javascript:alert(document.cookie)\n");
        QTest::newRow("a program") << QByteArray("/usr/bin/xterm\n");
        QTest::newRow("a program, quoted with arguments") << QByteArray("\"/bin/sh -c reboot\"\n");
        QTest::newRow("a windows program") << QByteArray("C:\\Windows\\System32\\calc.exe\r\n");
        QTest::newRow("a newline in the middle")
            << QByteArray("\"http://patrocinador.example/\nfile:///etc/passwd\"\n");
        QTest::newRow("a megabyte line")
            << QByteArray("http://" + QByteArray(qsizetype(1024) * 1024, 'a') + ".example/\n");
        QTest::newRow("a mail address") << QByteArray("mailto:alguien@patrocinador.example\n");
        QTest::newRow("binary") << QByteArray("\x7F"
                                              "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0",
                                              16);
        QTest::newRow("a pipe") << QByteArray("<pipe>");
    }
    void hostileAddressFilesOpenNothing()
    {
        QFETCH(QByteArray, content);
        BannerRig rig;
        rig.start();
        if (content == "<pipe>") {
            rig.remove(QStringLiteral("t1.txt"));
            QCOMPARE(::mkfifo(QFile::encodeName(rig.dataFile(QStringLiteral("t1.txt"))).constData(), 0600),
                     0);
        } else {
            rig.write(QStringLiteral("t1.txt"), content);
        }
        rig.window->BannerCounter = 18;
        rig.tick();
        rig.clickBanner();
        QCOMPARE(rig.fake.browser.opened.size(), std::size_t(0));
        QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(bannerColour(1)));
        // The rotation goes on to the next banner and its link.
        rig.tick();
        rig.tick();
        QCOMPARE(rig.window->BannerCounter, 3);
        rig.clickBanner();
        QCOMPARE(rig.fake.browser.opened.size(), std::size_t(1));
        QCOMPARE(rig.fake.browser.opened.front().first, QUrl(bannerUrl(2)));
    }

    // The measure taken before a picture is decoded: the screen, or the first frame when the screen has no
    // size, found behind the colour table and the extensions.
    void aPictureIsMeasuredBeforeItIsDecoded_data()
    {
        QTest::addColumn<QByteArray>("gif");
        QTest::addColumn<bool>("fits");
        const QByteArray still = makeGif(40, 10, {Qt::red});
        const QByteArray animated = makeGif(40, 10, {Qt::red, Qt::blue}); // a looping extension first
        const auto with = [](QByteArray gif, std::initializer_list<std::pair<qsizetype, int>> fields) {
            for (const auto &[at, value] : fields)
                put16(gif, at, value);
            return gif;
        };
        // In a still picture the frame's left, top, width and height are at 34, 36, 38 and 40.
        QTest::newRow("40 x 10") << still << true;
        QTest::newRow("screen of 2048 x 2048") << with(still, {{6, 2048}, {8, 2048}}) << true;
        QTest::newRow("screen of 2049 x 10") << with(still, {{6, 2049}}) << false;
        QTest::newRow("screen of 10 x 5000") << with(still, {{8, 5000}}) << false;
        QTest::newRow("no screen, frame 40 x 10") << with(still, {{6, 0}, {8, 0}}) << true;
        QTest::newRow("no screen, frame 5000 x 10") << with(still, {{6, 0}, {8, 0}, {38, 5000}}) << false;
        QTest::newRow("no screen width, frame 10 x 5000") << with(still, {{6, 0}, {40, 5000}}) << false;
        QTest::newRow("no screen, frame placed beyond 2048")
            << with(still, {{6, 0}, {8, 0}, {34, 2040}}) << false;
        QTest::newRow("no screen, frame behind a looping extension")
            << with(animated, {{6, 0}, {8, 0}}) << true;
        QTest::newRow("no screen, large frame behind a looping extension")
            << with(animated, {{6, 0}, {8, 0}, {19 + 38, 3000}}) << false;
        QTest::newRow("no screen, cut before the frame") << with(still, {{6, 0}, {8, 0}}).left(30) << false;
        QTest::newRow("no screen, no frame at all") << with(still, {{6, 0}, {8, 0}}).left(25) + ";" << false;
        QTest::newRow("cut in the screen") << still.left(12) << false;
        QTest::newRow("not a GIF") << QByteArray("PNG\r\n and more bytes than a GIF header") << false;
    }
    void aPictureIsMeasuredBeforeItIsDecoded()
    {
        QFETCH(QByteArray, gif);
        QFETCH(bool, fits);
        QCOMPARE(gifCanvasFits(gif, 2048), fits);
    }

    // Pictures that are missing, empty, not GIFs, too large, folders or unreadable are tried on the whole
    // program by the hostile-files tests; these are the cases only this test tries.
    void badBannerPicturesLeaveItBlankAndTheRotationGoesOn_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("blank"); // otherwise the frames before the damage show
        QTest::addColumn<bool>("linked"); // the address file of the banner is still read
        QTest::newRow("no data folder") << "no data folder" << true << false;
        QTest::newRow("names in capitals") << "names in capitals" << true << false;
        QTest::newRow("cut short in its first frame") << "cut in first frame" << true << true;
        QTest::newRow("cut short after its first frame") << "cut after first frame" << false << true;
        QTest::newRow("no screen size, a frame of 5000 x 5000") << "huge frame" << true << true;
        QTest::newRow("no screen size, a frame of 40 x 10") << "no screen size" << false << true;
        QTest::newRow("a pipe") << "pipe" << true << true;
    }
    void badBannerPicturesLeaveItBlankAndTheRotationGoesOn()
    {
        QFETCH(QString, damage);
        QFETCH(bool, blank);
        QFETCH(bool, linked);
        BannerRig rig;
        rig.start();
        const QString picture = QStringLiteral("b1.gif");
        const QByteArray animated = makeGif(40, 10, {bannerColour(1), Qt::white, Qt::black});
        if (damage == QLatin1String("no data folder")) {
            QVERIFY(QDir(rig.dataFile(QString())).removeRecursively());
        } else if (damage == QLatin1String("names in capitals")) {
            QDir data(rig.dataFile(QString()));
            QVERIFY(data.rename(QStringLiteral("b1.gif"), QStringLiteral("B1.GIF")));
            QVERIFY(data.rename(QStringLiteral("t1.txt"), QStringLiteral("T1.TXT")));
        } else if (damage == QLatin1String("cut in first frame")) {
            rig.write(picture, animated.left(40));
        } else if (damage == QLatin1String("cut after first frame")) {
            rig.write(picture, animated.left(animated.size() / 2));
        } else if (damage == QLatin1String("huge frame")) {
            // A screen of no size takes the size of the first frame.
            QByteArray huge = makeGif(1, 1, {bannerColour(1)});
            put16(huge, 6, 0);
            put16(huge, 8, 0);
            put16(huge, 33 + 5, 5000); // the frame, after the 8-byte graphic control block
            put16(huge, 33 + 7, 5000);
            rig.write(picture, huge);
        } else if (damage == QLatin1String("no screen size")) {
            QByteArray gif = animated;
            put16(gif, 6, 0);
            put16(gif, 8, 0);
            rig.write(picture, gif);
        } else if (damage == QLatin1String("pipe")) {
            rig.remove(picture);
            QCOMPARE(::mkfifo(QFile::encodeName(rig.dataFile(picture)).constData(), 0600), 0);
        }

        rig.window->BannerCounter = 18;
        rig.tick();
        QCOMPARE(rig.window->BannerCounter, 1);
        if (blank)
            QVERIFY(isBlank(rig.window->AniGIF1));
        else
            QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(bannerColour(1)));
        QCOMPARE(rig.window->BannerUrl, linked ? bannerUrl(1) : QString());
        rig.clickBanner();
        QCOMPARE(rig.fake.browser.opened.size(), std::size_t(linked ? 1 : 0));

        // Let the broken picture play (or fail) for a while: nothing may crash meanwhile.
        QTest::qWait(50);

        rig.tick();
        rig.tick();
        QCOMPARE(rig.window->BannerCounter, 3);
        if (damage != QLatin1String("no data folder")) {
            QCOMPARE(shownColour(rig.window->AniGIF1), std::optional<QColor>(bannerColour(2)));
            QCOMPARE(rig.window->BannerUrl, bannerUrl(2));
        }
        QVERIFY(rig.window->Timer1->isActive());
    }
};

QTEST_MAIN(BannerTest)
#include "BannerTest.moc"
