// SPDX-License-Identifier: GPL-3.0-or-later
// Protects a game against the end of the program: the real program, killed (SIGKILL) while it calls by
// itself with cards in play, offers the game at its next start and, answered Sí, shows the board as it was,
// with the same cards in play.

#include "app/Cantabola.h"
#include "app/PlayControl.h"
#include "cards/CardRegistry.h"
#include "cards/Series.h"
#include "game/GameStore.h"
#include "mainwindow/Board.h"
#include "mainwindow/FrmBingo.h"
#include "platform/QtColour.h"
#include "platform/RealPlatform.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>

using namespace cantabola;

namespace {

void say(const QString &line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// The child: the program as main() starts it. "call": calls by itself at the shortest delay, saying each ball
// once it is saved; "look": answers the question of an unfinished game with Sí and says what the board shows.
int runChild(int argc, char *argv[], const QByteArray &phase)
{
    switchOffToolkitScaling();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Cantabola"));
    const ApplicationSetup setup;
    RealPlatform real(QStringLiteral(CANTABOLA_PROGRAM_DIR));
    Cantabola program(real.platform());
    QObject::connect(&program.game(), &Game::ballDrawn, [](int n) { say(QStringLiteral("ball=%1").arg(n)); });
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            say(QStringLiteral("asked=") + box->text());
            for (QAbstractButton *button : box->buttons())
                if (button->text() == QStringLiteral("&Sí"))
                    button->click();
        }
    });
    answer.start(20);
    if (!program.start())
        return 1;
    FrmBingo &window = program.window();
    if (phase == "call") {
        program.playControl().resume({{}, {}, SavedPlay{QStringLiteral("1-4"), false, 0, {}}, false});
        window.findChild<QAction *>(QStringLiteral("SM_Voice"))->trigger();
        window.findChild<QScrollBar *>(QStringLiteral("HscInterval"))->setValue(1);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("CmbStart")), Qt::LeftButton);
        return 0;
    }
    QStringList red;
    for (int n = 1; n <= 90; ++n) {
        if (foreColour(window.findChild<QLabel *>(QStringLiteral("LblNumero(%1)").arg(n)))
            == Board::colourDrawn)
            red << QString::number(n);
    }
    say(QStringLiteral("red=") + red.join(QLatin1Char(',')));
    say(QStringLiteral("big=") + window.findChild<QLabel *>(QStringLiteral("LblNumEnJuego"))->text());
    QStringList order;
    for (const int n : program.game().drawOrder())
        order << QString::number(n);
    say(QStringLiteral("order=") + order.join(QLatin1Char(',')));
    say(QStringLiteral("inplay=")
        + window.findChild<QAction *>(QStringLiteral("cardsInPlayItem"))->toolTip());
    return 0;
}

} // namespace

class ResumeTest : public QObject
{
    Q_OBJECT

    // Runs the child in a phase with its data in home; with killAfter, kills it once it has said that many
    // balls. Its lines.
    static QStringList child(const QTemporaryDir &home, const char *phase, int killAfter = 0)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("CANTABOLA_RESUME_CHILD"), QLatin1String(phase));
        environment.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        process.setProcessEnvironment(environment);
        process.start(QCoreApplication::applicationFilePath(), {});
        QStringList lines;
        while (process.waitForReadyRead(30000) || process.state() == QProcess::Running) {
            while (process.canReadLine())
                lines << QString::fromUtf8(process.readLine()).trimmed();
            if (killAfter && lines.filter(QStringLiteral("ball=")).size() >= killAfter) {
                ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
                process.waitForFinished();
                break;
            }
            if (process.state() != QProcess::Running)
                break;
        }
        process.waitForFinished(30000);
        lines << QString::fromUtf8(process.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        return lines;
    }
    static QString dataFolder(const QTemporaryDir &home)
    {
        return home.filePath(QStringLiteral("Cantabola"));
    }

private slots:
    void killedMidCallingResumesTheBoardAsItWas()
    {
        const QTemporaryDir home;
        {
            // Four printed cards, Nº 1 to 4, to play with.
            SeriesRandom random(4);
            const Series series = makeSeries(random);
            std::vector<Card> cards(4);
            for (std::size_t i = 0; i < cards.size(); ++i) {
                for (int k = 1; k <= cellsPerCard; ++k)
                    cards[i].setNumber(k, series[i][static_cast<std::size_t>(k - 1)]);
            }
            CardRegistry registry(dataFolder(home), {});
            QCOMPARE(registry.beginSheet(cards, QDateTime::currentDateTime(), 0).size(), cards.size());
            QVERIFY(registry.endSheet(true));
        }
        QStringList said = child(home, "call", 5).filter(QStringLiteral("ball="));
        said.replaceInStrings(QStringLiteral("ball="), QString());
        // Each ball is saved before it is said, so the kill may have come between the saving of one more
        // and its saying: the game is what the file held at the kill.
        const std::optional<SavedGame> saved = GameStore(dataFolder(home)).load();
        QVERIFY(saved);
        QStringList balls;
        for (const int n : saved->order)
            balls << QString::number(n);
        QVERIFY2(said.size() >= 5 && balls.mid(0, said.size()) == said && balls.size() <= said.size() + 1,
                 qPrintable(said.join(',') + " / " + balls.join(',')));
        const QStringList seen = child(home, "look");
        QCOMPARE(seen.filter("asked="),
                 QStringList{QStringLiteral(
                                 "asked=La partida anterior quedó sin terminar con %1 bolas. ¿Continuarla?")
                                 .arg(balls.size())});
        QStringList sorted = balls;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
        QCOMPARE(seen.filter("red="), QStringList{QStringLiteral("red=") + sorted.join(',')});
        QCOMPARE(seen.filter("big="), QStringList{QStringLiteral("big=") + balls.last()});
        QCOMPARE(seen.filter("order="), QStringList{QStringLiteral("order=") + balls.join(',')});
        QCOMPARE(seen.filter("inplay="),
                 QStringList{QStringLiteral("inplay=4 cartones en juego. Jugamos a: Línea")});
    }
};

int main(int argc, char *argv[])
{
    const QByteArray phase = qgetenv("CANTABOLA_RESUME_CHILD");
    if (!phase.isEmpty())
        return runChild(argc, argv, phase);
    QCoreApplication application(argc, argv);
    ResumeTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ResumeTest.moc"
