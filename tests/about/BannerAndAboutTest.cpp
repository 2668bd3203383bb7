// Protects the sponsor banner (rotation, links, broken files) and the about window of the help menu.

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
            write(QStringLiteral("t%1.txt").arg(n), sponsor(n).toUtf8() + ",Patrocinador\r\n");
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
    const int opened = testing::whileModal(
        "frmAbout", [&] { rig.trigger("SM_AcercaDe"); }, look);
    QCOMPARE(opened, 1);
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

    void aDamagedBannerFileLeavesTheBannerBlankOrUnlinkedAndTheRotationGoing_data()
    {
        QTest::addColumn<QString>("file"); // of banner 1
        QTest::addColumn<QString>("kind"); // what lies under its name
        QTest::addColumn<QByteArray>("content");
        QFile shipped(QStringLiteral(CANTABOLA_PROGRAM_DIR "/data/b1.gif"));
        QVERIFY(shipped.open(QIODevice::ReadOnly));
        const QByteArray gif = shipped.readAll();
        QTest::newRow("address: a script") << "t1.txt"
                                           << "file" << QByteArray("javascript:alert(1)\n");
        QTest::newRow("address: a local file") << "t1.txt"
                                               << "file" << QByteArray("file:///etc/passwd\n");
        QTest::newRow("address: none") << "t1.txt"
                                       << "file" << QByteArray(",Sin enlace\n");
        QTest::newRow("picture: missing") << "b1.gif"
                                          << "missing" << QByteArray();
        QTest::newRow("picture: empty") << "b1.gif"
                                        << "file" << QByteArray();
        QTest::newRow("picture: text") << "b1.gif"
                                       << "file" << QByteArray("http://patrocinador1.example/\n");
        QTest::newRow("picture: cut short") << "b1.gif"
                                            << "file" << gif.left(40);
        QTest::newRow("picture: 5000 x 5000") << "b1.gif"
                                              << "file" << QByteArray(gif).replace(6, 4, "\x88\x13\x88\x13");
        QTest::newRow("picture: a folder") << "b1.gif"
                                           << "folder" << QByteArray();
        QTest::newRow("picture: a pipe") << "b1.gif"
                                         << "pipe" << QByteArray();
    }
    void aDamagedBannerFileLeavesTheBannerBlankOrUnlinkedAndTheRotationGoing()
    {
        QFETCH(QString, file);
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        BannerRig rig(0.0);
        const QString path = rig.data(file);
        QVERIFY(QFile::remove(path));
        if (kind == QLatin1String("file"))
            rig.write(file, content);
        if (kind == QLatin1String("folder"))
            QVERIFY(QDir().mkdir(path));
        if (kind == QLatin1String("pipe"))
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        rig.tick();
        QTest::qWait(50); // a broken picture plays (or fails) for a while
        const bool picture = file == QLatin1String("b1.gif");
        QCOMPARE(rig.shown(), picture ? 0 : 1); // a damaged picture leaves the banner blank
        QCOMPARE(rig.click(), picture ? sponsor(1) : QString()); // only a web address is opened
        rig.tick();
        QCOMPARE(rig.shown(), 2);
        QCOMPARE(rig.click(), sponsor(2));
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
        openAbout(rig, [&](QDialog &about) {
            connect(&about, &QDialog::finished, [&](int r) { result = r; });
            if (way == QLatin1String("Aceptar"))
                QTest::mouseClick(named<QPushButton>(about, "cmdOK"), Qt::LeftButton);
            else if (way == QLatin1String("close box"))
                about.close();
            else
                QTest::keyClick(&about, way == QLatin1String("Enter") ? Qt::Key_Return : Qt::Key_Escape);
        });
        QCOMPARE(result, int(QDialog::Accepted));
        QVERIFY(rig.window().findChildren<QDialog *>(QStringLiteral("frmAbout")).isEmpty());
    }
};

QTEST_MAIN(BannerAndAboutTest)
#include "BannerAndAboutTest.moc"
