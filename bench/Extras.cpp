// SPDX-License-Identifier: GPL-3.0-or-later
// Two phases of the benchmark. "idle": how often the idle program wakes the processor, and what it costs,
// before any sound, with the sound device open, and once the device rests after a sound; how long the
// first word after a rest takes to start (the device opens again) beside a word on the open device; and how
// long saying a number again holds the thread, beside the same word. "room":
// from the release of the mouse button on "Sacar número" to the end of the paint of the room's screen, beside
// the main window's large number and board label in the same clicks.

#include "bench/Bench.h"
#include "room/RoomScreen.h"
#include "voice/DecirNumero.h"
#include "voice/SdlSound.h"

#include <QAction>
#include <QEventLoop>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <sys/resource.h>

namespace bench {

namespace {

struct Usage
{
    double wakeUps = 0; // context switches of every thread, those that ended included
    double cpuMs = 0;
};

Usage usageNow()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return {static_cast<double>(usage.ru_nvcsw + usage.ru_nivcsw), cpuMs()};
}

// Wake-ups a second and percent of a core while the program sits idle, serving events, for `ms`.
std::pair<double, double> idleFor(double ms)
{
    const Usage before = usageNow();
    const double start = nowMs();
    QEventLoop idle; // the program's own event loop, not a spinning pump
    QTimer::singleShot(static_cast<int>(ms), &idle, &QEventLoop::quit);
    idle.exec();
    const Usage after = usageNow();
    const double seconds = (nowMs() - start) / 1e3;
    return {(after.wakeUps - before.wakeUps) / seconds, (after.cpuMs - before.cpuMs) / (seconds * 10)};
}

double timedPlay(cantabola::Sound &sound)
{
    const double start = nowMs();
    sound.play(QStringLiteral("pac.wav"), cantabola::PlayMode::Async);
    return nowMs() - start;
}

} // namespace

int runIdle(const Options &options)
{
    RunningProgram running(options);
    if (!running.started)
        return 2;
    const double span = options.quick ? 2000 : 5000;
    pump(1000); // the sound library loads after the first paint
    const auto [quietWakeUps, quietCpu] = idleFor(span);
    cantabola::Sound &sound = running.real.sound();
    timedPlay(sound);
    const auto [openWakeUps, openCpu] = idleFor(span);
    const double openPlay = timedPlay(sound);
    const double start = nowMs();
    cantabola::DecirNumeroSinEsperar(sound, 34); // its units word follows in the wait below
    const double sayAgainCall = nowMs() - start;
    idleFor(cantabola::SdlSound::RestAfterMs + 1500); // the device rests
    const auto [restWakeUps, restCpu] = idleFor(span);
    const double afterRestPlay = timedPlay(sound);
    figure("idle_wakeups_per_s_device_open", openWakeUps, quietWakeUps);
    figure("idle_wakeups_per_s_after_rest", restWakeUps, quietWakeUps);
    figure("idle_cpu_percent_device_open", openCpu, quietCpu);
    figure("idle_cpu_percent_after_rest", restCpu, quietCpu);
    figure("first_word_after_rest_start_ms", afterRestPlay, openPlay);
    figure("say_again_call_ms", sayAgainCall, openPlay);
    return 0;
}

int runRoom(ProbedApplication &application, const Options &options)
{
    RunningProgram running(options);
    if (!running.started)
        return 2;
    running.find<QAction>(QStringLiteral("SM_Auto"))->trigger(); // one ball a click
    running.find<QAction>(QStringLiteral("SM_Voice"))->trigger(); // the signal: no word holds the thread
    running.find<QAction>(QStringLiteral("roomScreenItem"))->trigger();
    QWidget *room = running.program.roomScreen();
    if (!room || !QTest::qWaitForWindowExposed(room))
        return 2;
    auto *button = running.find<QPushButton>(QStringLiteral("CmbStart"));
    std::vector<double> roomMs;
    std::vector<double> mainMs;
    for (int ball = 0; ball < (options.quick ? 20 : 60); ++ball) {
        QTest::mousePress(button, Qt::LeftButton);
        pump(20);
        PaintTimes paints(application);
        const double clicked = nowMs();
        QTest::mouseRelease(button, Qt::LeftButton); // returns after the draw's pause
        paints.stop();
        const QHash<const QWidget *, double> &painted = paints.at;
        const int n = running.program.game().NumEnJuego();
        const auto *number = running.find<QLabel>(QStringLiteral("LblNumEnJuego"));
        const auto *label = running.find<QLabel>(QStringLiteral("LblNumero(%1)").arg(n));
        if (painted.contains(room) && painted.contains(number) && painted.contains(label)) {
            roomMs.push_back(painted.value(room) - clicked);
            mainMs.push_back(std::max(painted.value(number), painted.value(label)) - clicked);
        }
    }
    figure("room_paint_ms_p50", quantile(roomMs, 0.5), quantile(mainMs, 0.5));
    figure("room_paint_ms_p99", quantile(roomMs, 0.99), quantile(mainMs, 0.99));
    return 0;
}

} // namespace bench
