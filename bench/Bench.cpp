// SPDX-License-Identifier: GPL-3.0-or-later
// Cantabola's benchmark: figures of the real program, each printed beside a yardstick taken in the same run,
// so that the comparison holds on a busy machine. It is not a test: no figure fails anything.
//
//   cantabola_bench calling|announce|cards|startup|idle|room|registry|hall|series|board [--quick]
//   [--program-dir DIR]
//
// tools/run-bench runs each phase in a process of its own, on Qt's offscreen platform and SDL's disk audio
// driver, and says what the machine is.

#include "bench/Bench.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMap>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QThread>
#include <QTime>
#include <QTimer>
#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <numeric>
#include <thread>

namespace bench {

void pump(double ms)
{
    pumpUntil([] { return false; }, ms);
}

bool pumpUntil(const std::function<bool()> &condition, double timeoutMs)
{
    const double end = nowMs() + timeoutMs;
    while (!condition()) {
        if (nowMs() > end)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        QThread::usleep(500);
    }
    return true;
}

double mean(const std::vector<double> &values)
{
    return values.empty()
        ? std::numeric_limits<double>::quiet_NaN()
        : std::accumulate(values.begin(), values.end(), 0.0) / static_cast<double>(values.size());
}

double quantile(std::vector<double> values, double q)
{
    if (values.empty())
        return std::numeric_limits<double>::quiet_NaN();
    std::sort(values.begin(), values.end());
    const auto rank = static_cast<std::size_t>(std::ceil(q * static_cast<double>(values.size())));
    return values[std::clamp<std::size_t>(rank, 1, values.size()) - 1];
}

void figure(const char *name, double value, double yardstick, const char *kind)
{
    if (std::isnan(yardstick))
        std::printf("%s=%.4g\n", name, value);
    else
        std::printf("%s=%.4g %s_%s=%.4g\n", name, value, name, kind, yardstick);
    std::fflush(stdout);
}

double memoryMb(const char *field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return std::nan("");
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)))
                       .trimmed()
                       .split(' ')
                       .value(0)
                       .toDouble()
                / 1024;
    }
    return std::nan("");
}

void progress(const QString &text)
{
    std::fprintf(stderr, "bench: %s\n", qPrintable(text));
}

void BenchWaiter::waitDispatching(double seconds)
{
    const double started = nowMs();
    if (spinning) {
        // Single-precision seconds since midnight, as the old wait read them; midnight ends the wait early.
        const auto timeOfDay = [] {
            return static_cast<float>(QTime::currentTime().msecsSinceStartOfDay()) / 1e3F;
        };
        const float start = timeOfDay();
        const float end = start + static_cast<float>(seconds);
        for (float now = start; now < end && now >= start; now = timeOfDay())
            QCoreApplication::processEvents();
    } else {
        m_real.waitDispatching(seconds);
    }
    errorsMs.push_back(std::abs(nowMs() - started - seconds * 1e3));
    if (waited)
        waited();
}

PaintTimes::PaintTimes(ProbedApplication &application)
    : m_application(application)
{
    application.afterPaint = [this](QWidget *widget) {
        if (!at.contains(widget))
            at.insert(widget, nowMs());
    };
}

cantabola::MessageAnswer AnsweringMessages::show(QWidget * /*parent*/, const cantabola::Message &message)
{
    askedAtMs = nowMs();
    return message.buttons == cantabola::MessageButtons::YesNo ? cantabola::MessageAnswer::Yes
                                                               : cantabola::MessageAnswer::Ok;
}

RunningProgram::RunningProgram(const Options &options)
    : real(options.programFolder)
    , platform{real.platform().screen,
               real.platform().clock,
               waiter,
               real.platform().random,
               messages,
               process,
               real.sound(),
               real.platform().colours,
               real.platform().printing,
               real.platform().browser,
               real.platform().help,
               real.platform().files,
               options.programFolder,
               dataFolder.path()}
    , program(platform)
{
    program.afterFirstPaint([this] { real.sound().load(); });
    started = program.start();
    if (!started)
        return;
    pump(500);
}

namespace {

// Automatic calling at the shortest delay with the voice off: the processor time it costs, in blocks that
// take turns with the spinning wait; then a whole game, its pace and the error of each of its waits, while a
// thread sleeps the same length again and again as the yardstick of the waits.
int runCalling(const Options &options)
{
    RunningProgram run(options);
    if (!run.started)
        return 2;
    auto *start = run.find<QPushButton>(QStringLiteral("CmbStart"));
    auto *newGame = run.find<QPushButton>(QStringLiteral("CmbNuevo"));
    run.find<QAction>(QStringLiteral("SM_Voice"))->trigger(); // voice off: the signal after each ball
    auto *delayBar = run.find<QScrollBar>(QStringLiteral("HscInterval"));
    delayBar->setValue(delayBar->minimum());
    const double delay = delayBar->value() / 2.0; // the bar counts half seconds
    // The audio device runs from the first sound on: every block pays for it alike.
    run.real.sound().play(QStringLiteral("pac.wav"), cantabola::PlayMode::Async);

    const int rounds = options.quick ? 1 : 3;
    const int blockMs = options.quick ? 5000 : 10000;
    double wallMs[2] = {0, 0};
    double spentMs[2] = {0, 0};
    for (int round = 0; round < rounds; ++round) {
        progress(QStringLiteral("calling: round %1 of %2").arg(round + 1).arg(rounds));
        for (int spinning = 0; spinning < 2; ++spinning) {
            newGame->click();
            run.waiter.spinning = spinning == 1;
            const double startedWall = nowMs();
            const double startedCpu = cpuMs();
            QTimer::singleShot(blockMs, Qt::PreciseTimer, [&, spinning] {
                wallMs[spinning] += nowMs() - startedWall;
                spentMs[spinning] += cpuMs() - startedCpu;
                start->click(); // stop, as the operator would
            });
            start->click(); // returns once the wait under way at the stop is over
        }
    }
    figure("calling_cpu_percent", 100 * spentMs[0] / wallMs[0], 100 * spentMs[1] / wallMs[1]);

    progress(QStringLiteral("calling: a whole game at %1 s").arg(delay));
    newGame->click();
    run.waiter.spinning = false;
    run.waiter.errorsMs.clear();
    std::atomic<bool> playing{true};
    std::vector<double> sleepErrorsMs;
    std::thread sleeper([&] {
        while (playing) {
            const double started = nowMs();
            std::this_thread::sleep_for(std::chrono::duration<double>(delay));
            sleepErrorsMs.push_back(std::abs(nowMs() - started - delay * 1e3));
        }
    });
    const double clicked = nowMs();
    start->click(); // returns after the end-of-game question, answered Yes
    playing = false;
    sleeper.join();
    if (run.messages.askedAtMs < clicked) {
        progress(QStringLiteral("calling: the game did not end with its question"));
        return 3;
    }
    figure("wait_error_ms_mean", mean(run.waiter.errorsMs), mean(sleepErrorsMs));
    figure("wait_error_ms_max", quantile(run.waiter.errorsMs, 1), quantile(sleepErrorsMs, 1));
    figure("game_seconds", (run.messages.askedAtMs - clicked) / 1e3, 90 * delay);
    return 0;
}

// The yardstick of the card window: a bare dialog as large, with four frames of 27 number labels.
std::unique_ptr<QDialog> bareCards(QWidget *parent, QSize size)
{
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->resize(size);
    auto *cards = new QGridLayout(dialog.get());
    for (int card = 0; card < 4; ++card) {
        auto *frame = new QFrame;
        frame->setFrameShape(QFrame::Box);
        auto *cells = new QGridLayout(frame);
        for (int k = 0; k < 27; ++k) {
            auto *cell = new QLabel(QString::number(k * 3 + card + 1));
            cell->setFont(QFont(QStringLiteral("Impact"), 24));
            cell->setAlignment(Qt::AlignCenter);
            cell->setAutoFillBackground(true);
            cells->addWidget(cell, k % 3, k / 3);
        }
        cards->addWidget(frame, card / 2, card % 2);
    }
    return dialog;
}

// The card window with four cards, from the menu item to the end of its first paint, in turns with the bare
// dialog; both are made at their first opening and reused, and both are closed as soon as they are painted.
int runCards(ProbedApplication &application, const Options &options)
{
    RunningProgram run(options);
    if (!run.started)
        return 2;
    std::unique_ptr<QDialog> bare;
    std::vector<double> openMs[2];
    const auto open = [&](int kind) {
        const double started = nowMs();
        onFirstPaint(
            application, [] { return QApplication::activeModalWidget(); },
            [&into = openMs[kind], started](double ms) {
                into.push_back(ms - started);
                QTimer::singleShot(
                    50, [] { qobject_cast<QDialog *>(QApplication::activeModalWidget())->reject(); });
            });
        if (kind == 0) {
            run.find<QAction>(QStringLiteral("SM_4"))->trigger(); // returns when the window is closed
        } else {
            if (!bare)
                bare = bareCards(&run.program.window(), run.program.window().size());
            bare->exec();
        }
        pump(50);
    };
    const int openings = options.quick ? 3 : 10;
    for (int opening = 0; opening < openings; ++opening) {
        open(opening % 2); // the card window first of all, paying for what both share the first time
        open(1 - opening % 2);
    }
    if (openMs[0].size() != static_cast<std::size_t>(openings) || openMs[1].size() != openMs[0].size())
        return 3;
    figure("cards_open_ms_first", openMs[0].front(), openMs[1].front());
    figure("cards_open_ms_median", quantile(openMs[0], 0.5), quantile(openMs[1], 0.5));
    return 0;
}

// The program's start (cantabola_bench_startup), a minimal Qt window (cantabola_bench_minimal) and a window
// with the program's text alone (cantabola_bench_text_only), in turns, after one start of each that warms the
// file cache: from starting the process to its first paint.
int runStartup(const Options &options)
{
    const int runs = options.quick ? 3 : 10;
    const QString folder = QCoreApplication::applicationDirPath();
    const std::array<QStringList, 3> commands
        = {QStringList{folder + QStringLiteral("/cantabola_bench_startup"), options.programFolder},
           QStringList{folder + QStringLiteral("/cantabola_bench_minimal")},
           QStringList{folder + QStringLiteral("/cantabola_bench_text_only")}};
    std::vector<double> paintedMs[3];
    std::vector<double> cpuMs[3];
    std::vector<double> memoryMb[3];
    for (int run = -1; run < runs; ++run) {
        for (std::size_t kind = 0; kind < commands.size(); ++kind) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            const double started = nowMs();
            child.start(commands[kind].front(), commands[kind].mid(1));
            if (!child.waitForFinished(60000) || child.exitStatus() != QProcess::NormalExit
                || child.exitCode() != 0) {
                progress(QStringLiteral("startup: %1 failed").arg(child.program()));
                return 3;
            }
            QMap<QByteArray, double> reported;
            for (const QByteArray &line : child.readAllStandardOutput().split('\n'))
                reported.insert(line.left(line.indexOf('=')), line.mid(line.indexOf('=') + 1).toDouble());
            if (run < 0)
                continue;
            paintedMs[kind].push_back(reported.value("painted_ms") - started);
            cpuMs[kind].push_back(reported.value("cpu_ms"));
            memoryMb[kind].push_back(reported.value("peak_rss_kb") / 1024);
        }
    }
    figure("startup_ms_median", quantile(paintedMs[0], 0.5), quantile(paintedMs[1], 0.5));
    figure("startup_cpu_ms_median", quantile(cpuMs[0], 0.5), quantile(cpuMs[1], 0.5));
    // The least the program's start can be while it shows its text, against the same yardstick.
    figure("startup_text_only_ms_median", quantile(paintedMs[2], 0.5), quantile(paintedMs[1], 0.5));
    figure("startup_peak_memory_mb", quantile(memoryMb[0], 0.5), quantile(memoryMb[1], 0.5));
    return 0;
}

} // namespace

} // namespace bench

int main(int argc, char **argv)
{
    bench::ProbedApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    bench::Options options;
    options.quick = arguments.contains(QStringLiteral("--quick"));
    const qsizetype folderAt = arguments.indexOf(QStringLiteral("--program-dir"));
    // The program changes its working folder at start-up: the path must stand on its own.
    options.programFolder
        = QDir(folderAt > 0 ? arguments.value(folderAt + 1) : QStringLiteral(CANTABOLA_PROGRAM_DIR))
              .absolutePath();
    const cantabola::ApplicationSetup setup;
    const QString phase = arguments.value(1);
    if (phase == QLatin1String("calling"))
        return bench::runCalling(options);
    if (phase == QLatin1String("announce"))
        return bench::runAnnounce(application, options);
    if (phase == QLatin1String("cards"))
        return bench::runCards(application, options);
    if (phase == QLatin1String("startup"))
        return bench::runStartup(options);
    if (phase == QLatin1String("idle"))
        return bench::runIdle(options);
    if (phase == QLatin1String("room"))
        return bench::runRoom(application, options);
    if (phase == QLatin1String("registry"))
        return bench::runRegistry(options);
    if (phase == QLatin1String("hall"))
        return bench::runHall(options);
    if (phase == QLatin1String("series"))
        return bench::runSeries(options);
    if (phase == QLatin1String("board"))
        return bench::runBoard(application, options);
    std::fprintf(stderr,
                 "usage: cantabola_bench calling|announce|cards|startup|idle|room|registry|hall|series|board "
                 "[--quick] [--program-dir DIR]\n");
    return 2;
}
