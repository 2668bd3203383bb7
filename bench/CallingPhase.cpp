// Automatic calling at the shortest delay with the voice off: the processor time it costs, next to the
// spinning wait as yardstick, and the pace of a whole game.

#include "FrmBingo.h"
#include "Support.h"

#include <QAction>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <cmath>
#include <random>

namespace bench {

namespace {

struct Sample
{
    double wall = 0;
    double process = 0;
    double thread = 0;
    double audio = 0;

    static Sample now()
    {
        return {nowMs(), processCpuMs(), threadCpuMs(), namedThreadsCpuMs(QStringLiteral("SDLAudio"))};
    }
};

struct Totals
{
    double wall = 0;
    double process = 0;
    double thread = 0;
    double audio = 0;

    void add(const Sample &from, const Sample &to)
    {
        wall += to.wall - from.wall;
        process += to.process - from.process;
        thread += to.thread - from.thread;
        audio += to.audio - from.audio;
    }
};

// Runs automatic calling from a fresh game for the given time, then stops it with the start button as the
// operator would; returns the processor time spent until the stop.
void callFor(cantabola::FrmBingo &w, BenchWaiter &waiter, bool spinning, double ms, Totals &totals)
{
    w.CmbNuevo->click();
    waiter.spinning = spinning;
    Sample start;
    Sample end;
    QTimer::singleShot(static_cast<int>(ms), Qt::PreciseTimer, &w, [&] {
        end = Sample::now();
        w.CmbStart->click();
    });
    start = Sample::now();
    w.CmbStart->click(); // returns when the wait under way at the stop is over
    totals.add(start, end);
}

} // namespace

int runCallingPhase(int argc, char **argv, const Options &options)
{
    ProbedApplication application(argc, argv);
    RunningProgram running(options);
    if (!running.started)
        return 2;
    BenchPlatform &bench = running.bench;
    cantabola::FrmBingo &w = running.program.window();

    // Voice off gives the shortest delay, half a second; every ball then plays the short signal.
    w.SM_Voice->trigger();
    w.HscInterval->setValue(w.HscInterval->minimum());
    const double delay = w.HscInterval->value() / 2.0;
    result(QStringLiteral("calling.delay_s"), delay);
    // The audio device runs from the first sound on; open it now so that every block pays for it alike.
    bench.sound.openDevice();

    // Blocks of the program's wait and of the spinning yardstick take turns, so a machine that gets busier
    // during the run weighs on both alike.
    const int rounds = options.quick ? 1 : 3;
    const double blockMs = options.quick ? 5000 : 10000;
    Totals ours;
    Totals spinning;
    for (int round = 0; round < rounds; ++round) {
        progress(QStringLiteral("calling: round %1 of %2").arg(round + 1).arg(rounds));
        callFor(w, bench.waiter, false, blockMs, ours);
        callFor(w, bench.waiter, true, blockMs, spinning);
    }
    result(QStringLiteral("cpu.seconds"), ours.wall / 1000.0);
    result(QStringLiteral("cpu.ours.process_pct"), 100.0 * ours.process / ours.wall);
    result(QStringLiteral("cpu.ours.thread_pct"), 100.0 * ours.thread / ours.wall);
    result(QStringLiteral("cpu.ours.audio_pct"), 100.0 * ours.audio / ours.wall);
    result(QStringLiteral("cpu.spin.audio_pct"), 100.0 * spinning.audio / spinning.wall);
    result(QStringLiteral("cpu.spin.process_pct"), 100.0 * spinning.process / spinning.wall);
    result(QStringLiteral("cpu.spin.thread_pct"), 100.0 * spinning.thread / spinning.wall);

    // A whole game with the program's wait, from the click to the end-of-game question. The quick run plays
    // only the last 20 balls of a game: the other 70 are put out of the drum beforehand.
    w.CmbNuevo->click();
    bench.waiter.spinning = false;
    bench.waiter.waits.clear();
    if (options.quick) {
        std::vector<int> numbers(90);
        for (int i = 0; i < 90; ++i)
            numbers[static_cast<std::size_t>(i)] = i + 1;
        std::shuffle(numbers.begin(), numbers.end(), std::mt19937(2024));
        for (int i = 0; i < 70; ++i)
            w.BolaSacada.at(static_cast<std::size_t>(numbers[static_cast<std::size_t>(i)])) = true;
        w.BolasSacadas = 70;
    }
    const int balls = 90 - w.BolasSacadas;
    progress(QStringLiteral("calling: a game of %1 balls at %2 s").arg(balls).arg(delay));
    const std::size_t asked = bench.messages.askedAtMs.size();
    const Sample start = Sample::now();
    w.CmbStart->click(); // runs until the end-of-game question, answered Yes
    const Sample end = Sample::now();
    if (bench.messages.askedAtMs.size() != asked + 1) {
        progress(QStringLiteral("calling: the game did not end with its question"));
        return 3;
    }
    const double gameMs = bench.messages.askedAtMs.back() - start.wall;
    const double nominalMs = balls * delay * 1000.0;
    result(QStringLiteral("game.balls"), balls);
    result(QStringLiteral("game.seconds"), gameMs / 1000.0);
    result(QStringLiteral("game.nominal_seconds"), nominalMs / 1000.0);
    result(QStringLiteral("game.deviation_pct"), 100.0 * (gameMs - nominalMs) / nominalMs);
    result(QStringLiteral("game.process_pct"),
           100.0 * (end.process - start.process) / (end.wall - start.wall));

    // Each wait of the game on its own, and what the draws between them cost.
    std::vector<double> errors;
    double waited = 0;
    for (const BenchWaiter::Wait &wait : bench.waiter.waits) {
        errors.push_back(std::abs(wait.lasted - wait.requested) * 1000.0);
        waited += wait.lasted;
    }
    resultStats(QStringLiteral("game.wait_error_ms"), errors);
    result(QStringLiteral("game.draw_ms_per_ball"), (gameMs - waited * 1000.0) / balls);
    return 0;
}

} // namespace bench
