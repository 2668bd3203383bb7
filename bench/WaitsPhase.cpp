// How exactly the program's wait lasts what it is asked for, with the main window up. The yardstick is a
// thread that sleeps the same lengths at the same time: the best the machine's scheduler gives just then.

#include "FrmBingo.h"
#include "Support.h"

#include <chrono>
#include <cmath>
#include <thread>

namespace bench {

int runWaitsPhase(int argc, char **argv, const Options &options)
{
    ProbedApplication application(argc, argv);
    RunningProgram running(options);
    if (!running.started)
        return 2;
    cantabola::FrmBingo &w = running.program.window();

    // Short and long waits take turns until each has its count.
    const int shortCount = options.quick ? 10 : 50;
    const int longCount = options.quick ? 5 : 50;
    std::vector<double> lengths;
    for (int i = 0; i < std::max(shortCount, longCount); ++i) {
        if (i < shortCount)
            lengths.push_back(0.5);
        if (i < longCount)
            lengths.push_back(2.0);
    }

    const auto errorMs = [](double startedMs, double seconds) {
        return std::abs((nowMs() - startedMs) - seconds * 1000.0);
    };
    std::vector<double> oursShort;
    std::vector<double> oursLong;
    std::vector<double> sleepShort;
    std::vector<double> sleepLong;
    std::thread yardstick([&] {
        for (double seconds : lengths) {
            const double started = nowMs();
            std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
            (seconds < 1 ? sleepShort : sleepLong).push_back(errorMs(started, seconds));
        }
    });
    int done = 0;
    for (double seconds : lengths) {
        if (done % 10 == 0)
            progress(QStringLiteral("waits: %1 of %2").arg(done).arg(lengths.size()));
        const double started = nowMs();
        w.Espera(seconds);
        (seconds < 1 ? oursShort : oursLong).push_back(errorMs(started, seconds));
        ++done;
    }
    yardstick.join();

    resultStats(QStringLiteral("wait05.ours"), oursShort);
    resultStats(QStringLiteral("wait05.sleep"), sleepShort);
    resultStats(QStringLiteral("wait2.ours"), oursLong);
    resultStats(QStringLiteral("wait2.sleep"), sleepLong);
    return 0;
}

} // namespace bench
