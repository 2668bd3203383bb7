// The real process ended the ways an operator ends it in the middle of a game: the close box while the balls
// are being called, "Salir" from the menu while they are being called, and "No" to the end-of-game question
// just after the last ball was announced. Each runs in a child copy of this test over the real platform (the
// real waits, the real sound loaded from its library, the real message box, the real ending of the
// process); only the screen, the browser, the dialogs and the help viewer are fakes. The parent checks that
// the child ended by itself, at once, with status 0 and nothing reported by the sanitizers.

#include "Cantabola.h"
#include "DeferredSound.h"
#include "FakePlatform.h"
#include "FrmBingo.h"
#include "RealPlatform.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <cstring>

using namespace cantabola;

namespace {

constexpr const char *childFlag = "--end-the-program";

// Tells the parent how far the game got just before the program is ended; the parent reads it back.
void report(const char *scenario, int balls)
{
    std::printf("ending: %s after %d balls\n", scenario, balls);
    std::fflush(stdout);
}

// The real waits, after a fast start: the eighty-nine balls before the last are drawn without waiting, so
// the end of a game comes in a moment.
class FastStartWaiter : public Waiter
{
public:
    void waitDispatching(double seconds) override
    {
        if (fast)
            QCoreApplication::processEvents();
        else
            real.waitDispatching(seconds);
    }
    bool fast = false;

private:
    EventLoopWaiter real;
};

// The child: the program over the real platform, ended the way the scenario says. Returns only when the
// program failed to end the process.
int runChild(int argc, char *argv[], const QString &scenario)
{
    QApplication application(argc, argv);
    const ApplicationSetup setup;
    testing::FakePlatform fake;
    SystemClock clock;
    FastStartWaiter waiter;
    SystemRandom random;
    QtMessageBoxes messages;
    ImmediateExit process;
    // The program's own sound: its library loaded from the program's folder once the window is up.
    DeferredSound sound(QStringLiteral(CANTABOLA_PROGRAM_DIR "/") + QLatin1String(SoundLibraryFileName));
    Platform platform{fake.screen,   clock,        waiter,    random,
                      messages,      process,      sound,     fake.colours,
                      fake.printing, fake.browser, fake.help, QStringLiteral(CANTABOLA_PROGRAM_DIR)};
    Cantabola program(platform);
    if (!program.start())
        return 2;
    program.afterFirstPaint([&sound] { sound.load(); });
    FrmBingo &w = program.window();

    QTimer poll;
    poll.setInterval(10);
    if (scenario == QLatin1String("close") || scenario == QLatin1String("salir")) {
        // Automatic calling at the shortest delay; the second ball is being waited on when the program is
        // ended.
        w.HscInterval->setValue(w.HscInterval->minimum());
        QObject::connect(&poll, &QTimer::timeout, &w, [&] {
            if (w.BolasSacadas < 2)
                return;
            poll.stop();
            report(qPrintable(scenario), w.BolasSacadas);
            if (scenario == QLatin1String("close"))
                w.close();
            else
                w.SM_End->trigger();
        });
        QTimer::singleShot(0, &w, [&] { QTest::mouseClick(w.CmbStart, Qt::LeftButton); });
    } else if (scenario == QLatin1String("no")) {
        // Eighty-nine balls one by one with the signal, the last with the voice; the question that follows is
        // answered No on the real message box.
        w.SM_Auto->trigger();
        w.SM_Voice->trigger();
        QObject::connect(&poll, &QTimer::timeout, &w, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            poll.stop();
            report("no", w.BolasSacadas);
            box->button(QMessageBox::No)->click();
        });
        QTimer::singleShot(0, &w, [&] {
            waiter.fast = true;
            while (w.BolasSacadas < 89)
                QTest::mouseClick(w.CmbStart, Qt::LeftButton);
            waiter.fast = false;
            w.SM_Voice->trigger();
            QTest::mouseClick(w.CmbStart, Qt::LeftButton); // the 90th ball, announced
            QTest::mouseClick(w.CmbStart, Qt::LeftButton); // the question
        });
    } else {
        return 2;
    }
    poll.start();
    QApplication::exec();
    std::printf("the program went on after it was ended\n");
    return 3;
}

} // namespace

class EndingTest : public QObject
{
    Q_OBJECT

private slots:
    void theProgramEndsAtOnceAndCleanly_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::addColumn<int>("balls");
        QTest::newRow("close box while calling") << "close" << 2;
        QTest::newRow("Salir while calling") << "salir" << 2;
        QTest::newRow("No after the last ball") << "no" << 90;
    }
    void theProgramEndsAtOnceAndCleanly()
    {
        QFETCH(QString, scenario);
        QFETCH(int, balls);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childFlag), scenario});
        QVERIFY(child.waitForStarted());
        // A generous limit that only a hang reaches: the sanitized build runs several times slower.
        const bool ended = child.waitForFinished(120'000);
        if (!ended)
            child.kill();
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(child.readAllStandardError());
        const QString seen = QStringLiteral("\nout:\n%1\nerr:\n%2").arg(out, err);
        QVERIFY2(ended, qPrintable(QStringLiteral("the program did not end") + seen));
        QVERIFY2(out.contains(QStringLiteral("ending: %1 after %2 balls").arg(scenario).arg(balls)),
                 qPrintable(seen));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QVERIFY2(child.exitCode() == 0, qPrintable(seen));
        for (const char *finding : {"AddressSanitizer", "LeakSanitizer", "runtime error", "SUMMARY:"})
            QVERIFY2(!err.contains(QLatin1String(finding)), qPrintable(seen));
    }
};

int main(int argc, char *argv[])
{
    if (argc == 3 && std::strcmp(argv[1], childFlag) == 0)
        return runChild(argc, argv, QString::fromLocal8Bit(argv[2]));
    QCoreApplication application(argc, argv);
    EndingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "EndingTest.moc"
