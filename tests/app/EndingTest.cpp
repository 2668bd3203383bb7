// Protects the ending of the real process, the ways an operator ends it: the close box while the balls are
// being called, "Salir" between balls drawn one by one, and No to the end-of-game question. Each runs in a
// child copy of this test built as main() builds the program, through RealPlatform (the real waits, sound,
// message box and ending); the parent checks the child ended by itself with status 0 and no sanitizer report.

#include "RealPlatform.h"
#include "Rig.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>
#include <cstring>

using namespace cantabola;

namespace {

constexpr const char *childFlag = "--end-the-program";

// The child: the program over the real platform, ended as the scenario says. Returns only when the program
// failed to end the process.
int runChild(int argc, char *argv[], const QString &scenario)
{
    QApplication application(argc, argv);
    const ApplicationSetup setup;
    RealPlatform real(QStringLiteral(CANTABOLA_PROGRAM_DIR));
    Cantabola program(real.platform());
    if (!program.start())
        return 2;
    program.afterFirstPaint([&real] { real.sound().load(); });
    FrmBingo &w = program.window();
    Partida &game = program.game();
    const auto report = [&] { // how far the game got just before the program is ended
        std::printf("ending: %s after %d balls\n", qPrintable(scenario), game.BolasSacadas());
        std::fflush(stdout);
    };
    const auto click = [&w](const char *name) {
        QTest::mouseClick(testing::named<QPushButton>(w, name), Qt::LeftButton);
    };
    const auto trigger = [&w](const char *name) {
        testing::named<QAction>(w, name)->trigger();
    };

    // "close": automatic calling with short waits, closed while the third ball is waited on. "no": a whole
    // automatic game without waits, with the signal but for the last ball, which is announced; the question
    // that follows is answered No on the real message box. "salir": two balls one by one, then "Salir".
    game.setDelaySeconds(scenario == QLatin1String("close") ? 0.2 : 0);
    QObject::connect(&game, &Partida::ballDrawn, &w,
                     [&] { game.setVoice(scenario != QLatin1String("no") || game.BolasSacadas() == 90); });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &w, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (scenario == QLatin1String("close") && game.BolasSacadas() >= 2
            && game.runState() == RunState::Calling) {
            report();
            w.close();
        } else if (scenario == QLatin1String("no") && box) {
            report();
            for (QAbstractButton *button : box->buttons()) {
                if (button->text() == QStringLiteral("&No"))
                    button->click();
            }
        }
    });
    QTimer::singleShot(0, &w, [&] {
        const bool salir = scenario == QLatin1String("salir");
        if (salir)
            trigger("SM_Auto");
        click("CmbStart");
        if (salir) {
            click("CmbStart");
            report();
            trigger("SM_End");
        }
    });
    poll.start(10);
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
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome.path());
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(childFlag), scenario});
        // A limit only a hang reaches, even on the sanitized build.
        const bool ended = child.waitForFinished(60000);
        const QString out = QString::fromLocal8Bit(child.readAllStandardOutput());
        const QString err = QString::fromLocal8Bit(child.readAllStandardError());
        const QByteArray seen = QStringLiteral("\nout:\n%1\nerr:\n%2").arg(out, err).toLocal8Bit();
        QVERIFY2(ended && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0, seen);
        QVERIFY2(out == QStringLiteral("ending: %1 after %2 balls\n").arg(scenario).arg(balls), seen);
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
