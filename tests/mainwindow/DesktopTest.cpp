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
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <functional>

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

// Waits until what `seen` reports is what the parent expects (the window manager has framed and placed the
// windows by then), or for long enough that it never will; what it reports then.
QStringList settled(const std::function<QStringList()> &seen, const QStringList &expected)
{
    return QTest::qWaitFor([&] { return seen() == expected; }, 30000) ? expected : seen();
}

// The child: the program as main() starts it, on the display it was given; prints what it shows once it
// shows what the parent expects (its arguments, one line each), or what it shows when that never comes.
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
    const QStringList expected = QCoreApplication::arguments().mid(1);
    QStringList seen;
    if (qgetenv("CANTABOLA_DESKTOP_CHILD") == "room") {
        program.window().findChild<QAction *>(QStringLiteral("roomScreenItem"))->trigger();
        const auto screenOf = [](const QWidget *w) {
            return QGuiApplication::screens().indexOf(w->screen());
        };
        seen = settled(
            [&] {
                const QWidget *room = program.roomScreen();
                return QStringList{QStringLiteral("operator=%1 room=%2 %3 full=%4")
                                       .arg(screenOf(&program.window()))
                                       .arg(screenOf(room))
                                       .arg(rect(room->geometry()))
                                       .arg(room->isFullScreen())};
            },
            expected);
    } else {
        seen = settled([&] { return describe(program.window()); }, expected.mid(0, expected.size() - 1));
        QTimer::singleShot(0, [&] {
            QWidget *about = QApplication::activeModalWidget();
            seen << settled(
                [about] {
                    const QPoint centre = about->frameGeometry().center();
                    return QStringList{QStringLiteral("aboutCentre=%1,%2").arg(centre.x()).arg(centre.y())};
                },
                expected.mid(expected.size() - 1));
            about->close();
        });
        program.window().findChild<QAction *>(QStringLiteral("SM_AcercaDe"))->trigger();
    }
    std::printf("%s\n", qPrintable(seen.join(QLatin1Char('\n'))));
    std::fflush(stdout); // before any exit handler that ends the process without flushing it
    return 0;
}

// An Xvfb display of its own with the desktop's resolution set as desktops set it, and openbox framing
// windows.
struct Desktop
{
    Desktop(QSize size, int dpi, QSize second = QSize())
    {
        // A second screen stands to the right of the first, as a projector beside a laptop's panel: one X
        // screen as wide as both, split into two RandR monitors.
        const QSize whole = second.isValid()
            ? QSize(size.width() + second.width(), std::max(size.height(), second.height()))
            : size;
        // The server picks a free display and writes its number once it takes connections.
        server.start(QStringLiteral("Xvfb"),
                     {"-displayfd", "1", "-screen", "0",
                      QStringLiteral("%1x%2x24").arg(whole.width()).arg(whole.height()), "-nolisten", "tcp",
                      "-noreset"});
        if (!QTest::qWaitFor(
                [this] { return server.canReadLine() || server.state() == QProcess::NotRunning; }, 60000)
            || !server.canReadLine())
            return;
        environment.insert(QStringLiteral("DISPLAY"), QStringLiteral(":") + server.readLine().trimmed());
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
        ready = QTest::qWaitFor([this] { return managed(); }, 60000);
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
    // Runs this test's executable as the child on the display, expecting to see `expected`; its report.
    QStringList runChild(const QStringList &expected, const QString &what = QStringLiteral("start")) const
    {
        QProcessEnvironment child = environment;
        child.insert(QStringLiteral("CANTABOLA_DESKTOP_CHILD"), what);
        child.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        child.remove(QStringLiteral("QT_ENABLE_HIGHDPI_SCALING")); // the program must switch it off itself
        QProcess process;
        process.setProcessEnvironment(child);
        process.start(QCoreApplication::applicationFilePath(), expected);
        if (!process.waitForFinished(120000))
            process.kill();
        return QString::fromUtf8(process.readAllStandardOutput())
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    bool ready = false; // the server runs and openbox manages its windows
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
        QVERIFY(desktop.ready);
        Rig fake(ScreenInfo::fromPixels(size.width(), size.height(), 1440.0F / static_cast<float>(dpi)));
        const QPoint screenCentre = QRect(QPoint(), size).center();
        const QStringList expected = fake.loaded
            ? describe(fake.window())
                << QStringLiteral("aboutCentre=%1,%2").arg(screenCentre.x()).arg(screenCentre.y())
            : QStringList{QStringLiteral("refused=") + fake.fake.messages.shown.front().text};
        QCOMPARE(desktop.runChild(expected), expected);
    }

    void roomScreenOpensFullOnTheScreenTheOperatorIsNotUsing()
    {
        const Desktop desktop(QSize(1024, 768), 96, QSize(1280, 1024));
        QVERIFY(desktop.ready);
        const QStringList expected{"operator=0 room=1 1024,0 1280x1024 full=1"};
        QCOMPARE(desktop.runChild(expected, QStringLiteral("room")), expected);
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
