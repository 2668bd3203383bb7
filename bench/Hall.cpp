// SPDX-License-Identifier: GPL-3.0-or-later
// The "hall" phase: the work of a hall's evening at its own scale. Series of six generated on one core, and a
// hundred thousand cards in play with the winners found after every ball of whole games, beside their goals.

#include "bench/Bench.h"
#include "cards/Series.h"
#include "game/CardsInPlay.h"

#include <QElapsedTimer>
#include <QFile>
#include <algorithm>
#include <numeric>
#include <random>

namespace bench {

int runHall(const Options &options)
{
    // Series: as many as a second holds, on this one core.
    cantabola::SeriesRandom random(2026);
    long checksum = 0;
    const int seriesCount = options.quick ? 100'000 : 500'000;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < seriesCount; ++i)
        checksum += cantabola::makeSeries(random)[5][26];
    const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
    figure("series_per_second", seriesCount / seconds, 100'000, "goal");

    // A hundred thousand cards in play, made of series, and whole games drawn over them.
    const double before = memoryMb("VmRSS:");
    std::vector<cantabola::CardInPlay> cards;
    constexpr int hallCards = 100'002; // whole series
    cards.reserve(hallCards);
    for (qint64 serial = 1; serial <= hallCards; serial += 6) {
        const cantabola::Series series = cantabola::makeSeries(random);
        for (qint64 i = 0; i < 6; ++i)
            cards.push_back({serial + i, series[static_cast<std::size_t>(i)]});
    }
    cantabola::CardsInPlay inPlay(std::move(cards));
    cards = {};
    figure("cards_in_play_memory_mb", memoryMb("VmRSS:") - before, 50, "goal");

    std::mt19937 shuffle(7);
    std::vector<double> perBallMs;
    std::vector<double> perBallCpuMs;
    const int games = options.quick ? 3 : 20;
    for (int game = 0; game < games; ++game) {
        std::vector<int> drum(90);
        std::iota(drum.begin(), drum.end(), 1);
        std::shuffle(drum.begin(), drum.end(), shuffle);
        inPlay.reset();
        int rows = 1;
        for (const int n : drum) {
            const double cpu = threadCpuMs();
            clock.restart();
            const auto winners = inPlay.draw(n, rows);
            perBallMs.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
            perBallCpuMs.push_back(threadCpuMs() - cpu);
            if (!winners.empty() && rows < 3)
                ++rows; // paid: the next prize
            checksum += static_cast<long>(winners.size());
        }
    }
    figure("winners_per_ball_ms_p50", quantile(perBallMs, 0.5));
    figure("winners_per_ball_ms_p99", quantile(perBallMs, 0.99), 1, "goal");
    figure("winners_per_ball_cpu_ms_p99", quantile(perBallCpuMs, 0.99), 1, "goal");
    progress(QStringLiteral("checksum %1").arg(checksum));
    return 0;
}

} // namespace bench
