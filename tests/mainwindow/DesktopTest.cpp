// SPDX-License-Identifier: GPL-3.0-or-later
// Protects start-up on a real X desktop: the desktop's resolution (Xft.dpi) read through the real screen, not
// scaled over by the toolkit, the windows' outer sizes and places once the window manager has framed them,
// and the room's screen on the screen the operator is not using. Each row starts the program's real pieces in
// a child process on an Xvfb display of its own, under openbox, and compares what the child reports with the
// same screen on the fake platform.

#include "platform/RealPlatform.h"
#include "room/RoomScreen.h"
#include "support/Rig.h"

#include <QApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <cstdio>

using namespace cantabola;
using cantabola::testing::Rig;

namespace {

QString rect(const QRect &r)
{
    return QStringLiteral("%1,%2 %3x%4").arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height());
}

// What a person sees of the started program, as lines "key=value".
QStringList describe(FrmBingo &window)
{
    return {QStringLiteral("frame=") + rect(window.frameGeometry()),
            QStringLiteral("scaleX=%1").arg(window.scale().ScaleX),
            QStringLiteral("ball=")
                + rect(window.findChild<QWidget *>(QStringLiteral("ImgBola(1)"))->geometry()),
            QStringLiteral("stretched=%1").arg(window.stretchedBackground().isValid())};
}

// Waits until a window's frame has stopped changing (the window manager has framed and placed it).
void waitUntilSettled(QWidget &window)
{
    QRect last;
    for (int steady = 0, tries = 0; steady < 5 && tries < 100; ++tries) {
        QTest::qWait(100);
        steady
            = window.frameGeometry() == last && window.frameGeometry() != window.geometry() ? steady + 1 : 0;
        last = window.frameGeometry();
    }
}

// The child: the program as main() starts it, on the display it was given; prints what it shows.
int runChild(int argc, char *argv[])
{
    switchOffToolkitScaling();
    QApplication application(argc, argv);
    const ApplicationSetup setup;
    RealPlatform real(QStringLiteral(CANTABOLA_PROGRAM_DIR));
    Cantabola program(real.platform());
    QTimer refusal; // a refused screen says so in a box, then the process ends
    QObject::connect(&refusal, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            std::printf("refused=%s\n", box->text().toUtf8().constData());
            std::fflush(stdout);
            box->buttons().constFirst()->click();
        }
    });
    refusal.start(50);
    if (!program.start())
        return 0;
    waitUntilSettled(program.window());
    if (qgetenv("CANTABOLA_DESKTOP_CHILD") == "room") {
        program.window().findChild<QAction *>(QStringLiteral("roomScreenItem"))->trigger();
        QWidget *room = program.roomScreen();
        QTest::qWait(1000);
        const auto screenOf = [](const QWidget *w) {
            return QGuiApplication::screens().indexOf(w->screen());
        };
        std::printf("operator=%lld room=%lld %s full=%d\n", screenOf(&program.window()), screenOf(room),
                    qPrintable(rect(room->geometry())), room->isFullScreen());
        std::fflush(stdout); // before any exit handler that ends the process without flushing it
        return 0;
    }
    QStringList seen = describe(program.window());
    QTimer::singleShot(0, [&seen] {
        QWidget *about = QApplication::activeModalWidget();
        waitUntilSettled(*about);
        seen << QStringLiteral("aboutCentre=%1,%2")
                    .arg(about->frameGeometry().center().x())
                    .arg(about->frameGeometry().center().y());
        about->close();
    });
    program.window().findChild<QAction *>(QStringLiteral("SM_AcercaDe"))->trigger();
    std::printf("%s\n", qPrintable(seen.join(QLatin1Char('\n'))));
    std::fflush(stdout);
    return 0;
}

// An Xvfb display of its own with the desktop's resolution set as desktops set it, and openbox framing
// windows.
struct Desktop
{
    Desktop(QSize size, int dpi, QSize second = QSize())
    {
        for (display = 140; QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)); ++display) { }
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":%1").arg(display));
        // A second screen stands to the right of the first, as a projector beside a laptop's panel: one X
        // screen as wide as both, split into two RandR monitors.
        const QSize whole = second.isValid()
            ? QSize(size.width() + second.width(), std::max(size.height(), second.height()))
            : size;
        server.start(QStringLiteral("Xvfb"),
                     {environment.value("DISPLAY"), "-screen", "0",
                      QStringLiteral("%1x%2x24").arg(whole.width()).arg(whole.height()), "-nolisten", "tcp",
                      "-noreset"});
        for (int i = 0; i < 100 && !QFile::exists(QStringLiteral("/tmp/.X11-unix/X%1").arg(display)); ++i)
            QThread::msleep(50);
        if (second.isValid()) {
            const auto monitor = [](QSize s, int left) { // width/mm x height/mm + left + 0, at 96 dpi
                return QStringLiteral("%1/%2x%3/%4+%5+0")
                    .arg(s.width())
                    .arg(s.width() * 254 / 960)
                    .arg(s.height())
                    .arg(s.height() * 254 / 960)
                    .arg(left);
            };
            run(QStringLiteral("xrandr"), {"--setmonitor", "operador", monitor(size, 0), "screen"});
            run(QStringLiteral("xrandr"), {"--setmonitor", "sala", monitor(second, size.width()), "none"});
        }
        QProcess resources;
        resources.setProcessEnvironment(environment);
        resources.start(QStringLiteral("xrdb"), {"-nocpp", "-merge"});
        resources.write(QStringLiteral("Xft.dpi: %1\n").arg(dpi).toLatin1());
        resources.closeWriteChannel();
        resources.waitForFinished();
        manager.setProcessEnvironment(environment);
        manager.start(QStringLiteral("openbox"), {"--sm-disable"});
        for (int i = 0; i < 100 && !managed(); ++i)
            QThread::msleep(50);
    }
    ~Desktop()
    {
        for (QProcess *process : {&manager, &server}) {
            process->terminate();
            process->waitForFinished(5000);
        }
    }
    void run(const QString &tool, const QStringList &arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(tool, arguments);
        process.waitForFinished();
    }
    bool managed() const
    {
        QProcess check;
        check.setProcessEnvironment(environment);
        check.start(QStringLiteral("xprop"), {"-root", "_NET_SUPPORTING_WM_CHECK"});
        check.waitForFinished();
        return check.readAll().contains("window id");
    }
    // Runs this test's executable as the child on the display; its report.
    QStringList runChild(const QString &what = QStringLiteral("start")) const
    {
        QProcessEnvironment child = environment;
        child.insert(QStringLiteral("CANTABOLA_DESKTOP_CHILD"), what);
        child.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        child.remove(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING")); // the program must switch it off itself
        QProcess process;
        process.setProcessEnvironment(child);
        process.start(QCoreApplication::applicationFilePath(), {});
        if (!process.waitForFinished(60000))
            process.kill();
        return QString::fromUtf8(process.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    int display = 140;
    QProcess server;
    QProcess manager;
};

} // namespace

class DesktopTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        for (const char *tool : {"Xvfb", "openbox", "xrdb", "xprop", "xrandr"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(QStringLiteral("%1 is not installed (tools/install-deps)").arg(tool)));
        }
    }

    void startsOnTheDesktopAsOnTheSameFakeScreen_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("dpi");
        QTest::newRow("800x600 at 120 dpi: accepted, full screen") << QSize(800, 600) << 120;
        QTest::newRow("1024x768 at 120 dpi: 12 twips to the pixel") << QSize(1024, 768) << 120;
        QTest::newRow("1280x1024 at 96 dpi") << QSize(1280, 1024) << 96;
        QTest::newRow("1280x1024 at 144 dpi") << QSize(1280, 1024) << 144;
        QTest::newRow("640x480 at 96 dpi: refused") << QSize(640, 480) << 96;
    }
    void startsOnTheDesktopAsOnTheSameFakeScreen()
    {
        QFETCH(QSize, size);
        QFETCH(int, dpi);
        const Desktop desktop(size, dpi);
        QVERIFY(desktop.managed());
        const QStringList seen = desktop.runChild();

        Rig fake(ScreenInfo::fromPixels(size.width(), size.height(), 1440.0F / static_cast<float>(dpi)));
        if (!fake.loaded) {
            QCOMPARE(seen, QStringList{QStringLiteral("refused=") + fake.fake.messages.shown.front().text});
            return;
        }
        const QPoint screenCentre = QRect(QPoint(), size).center();
        QCOMPARE(seen,
                 describe(fake.window())
                     << QStringLiteral("aboutCentre=%1,%2").arg(screenCentre.x()).arg(screenCentre.y()));
    }

    void roomScreenOpensFullOnTheScreenTheOperatorIsNotUsing()
    {
        const Desktop desktop(QSize(1024, 768), 96, QSize(1280, 1024));
        QCOMPARE(desktop.runChild(QStringLiteral("room")),
                 QStringList{"operator=0 room=1 1024,0 1280x1024 full=1"});
    }
};

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsSet("CANTABOLA_DESKTOP_CHILD"))
        return runChild(argc, argv);
    QApplication application(argc, argv);
    DesktopTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "DesktopTest.moc"
