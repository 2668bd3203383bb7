// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the real process from its start to its end: the sound library loaded once, after the window's
// first paint and never again, and the ways an operator ends the program: the close box while the balls are
// being called, "Salir" between balls drawn one by one, and No to the end-of-game question. Each runs in a
// child copy of this test built as main() builds the program, through RealPlatform (the real waits, sound,
// message box and ending); the parent checks the child ended by itself with status 0 and no sanitizer report.

#include "platform/RealPlatform.h"
#include "support/Rig.h"

#include <QApplication>
#include <QEvent>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>

using namespace cantabola;
using testing::named;

namespace {

constexpr const char *childFlag = "--end-the-program";

// The child: the program over the real platform, ended as the scenario says once the window is up. "close":
// automatic calling with short waits, closed while the third ball is waited on. "no": a whole automatic game
// without waits, silent but for the last ball; the question that follows is answered No on the real message
// box. "salir": two balls one by one, then "Salir". Prints how far it got just before it is ended, and how
// the sound library was loaded; returns only when the program failed to end the process.
int runChild(int argc, char *argv[], const QString &scenario)
{
    QApplication application(argc, argv);
    const ApplicationSetup setup;
    RealPlatform real(QStringLiteral(CANTABOLA_PROGRAM_DIR));
    Cantabola program(real.platform());
    FrmBingo &w = program.window();
    Game &game = program.game();
    struct : QObject // counts the paints of the window's inner area
    {
        int paints = 0;
        bool eventFilter(QObject *, QEvent *e) override { return (paints += e->type() == QEvent::Paint) < 0; }
    } counter;
    w.centralWidget()->installEventFilter(&counter);
    std::vector<int> loads; // the paints seen by each load of the sound library
    const bool closeBox = scenario == QLatin1String("close"), salir = scenario == QLatin1String("salir");
    const auto report = [&] {
        std::printf("ending: %s after %d balls; loaded %s\n", qPrintable(scenario), game.BolasSacadas(),
                    loads.size() == 1 && loads[0] > 0 ? "once, after a paint" : "otherwise");
        std::fflush(stdout);
    };
    QObject::connect(&game, &Game::ballDrawn, &w,
                     [&] { game.setVoice(closeBox || salir || game.BolasSacadas() == 90); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &w, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (closeBox && game.BolasSacadas() >= 2 && game.runState() == RunState::Calling) {
            report();
            w.close();
        } else if (box && !closeBox && !salir) {
            report();
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == QStringLiteral("&No"))
                    button->click();
            }
        }
    });
    program.afterFirstPaint([&] {
        loads.push_back(counter.paints);
        real.sound().load();
        w.centralWidget()->repaint(); // painted again, not loaded again
        QTimer::singleShot(0, &w, [&] { // each click returns once its ball is out, or the calling is over
            game.setDelaySeconds(closeBox ? 0.2 : 0);
            if (salir)
                named<QAction>(w, "SM_Auto")->trigger();
            for (int click = salir ? 2 : 1; click > 0; --click)
                QTest::mouseClick(named<QPushButton>(w, "CmbStart"), Qt::LeftButton);
            if (salir) {
                report();
                named<QAction>(w, "SM_End")->trigger();
            }
        });
    });
    poll.start(10);
    if (!program.start())
        return 2;
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
        QTest::newRow("Salir between single balls") << "salir" << 2;
        QTest::newRow("No after the last ball") << "no" << 90;
    }
    void theProgramEndsAtOnceAndCleanly()
    {
        QFETCH(QString, scenario);
        QFETCH(int, balls);
        QProcess child;
        const QTemporaryDir dataHome; // no game of another run to offer
        qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childFlag), scenario});
        const bool ended = child.waitForFinished(60000); // a limit only a hang reaches, even sanitized
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(child.readAllStandardError());
        const QByteArray seen = QStringLiteral("\nout:\n%1\nerr:\n%2").arg(out, err).toLocal8Bit();
        QVERIFY2(ended && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, seen);
        const QString expected = QStringLiteral("ending: %1 after %2 balls; loaded once, after a paint\n");
        QVERIFY2(out == expected.arg(scenario).arg(balls), seen);
        for (const char *finding : {"AddressSanitizer", "LeakSanitizer", "runtime error", "SUMMARY:"})
            QVERIFY2(!err.contains(QLatin1String(finding)), seen);
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
