// SPDX-License-Identifier: GPL-3.0-or-later
// The benchmark's "board" phase: the players' board serving 500 live pages on the loopback address while the
// program calls a game at its fastest delay (half a second, the voice off). Each page is a plain socket read
// by a thread of its own, which notes when each message came. Figures: the fan-out delay, from the start of
// each draw to its message at every page (p50 and p99, against the goal of 50 ms); the messages a page missed
// (0 expected: nobody reads slowly here); and the processor time of the program's thread per ball, beside the
// same game with no page open.

#include "bench/Bench.h"
#include "network/PlayersBoard.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTcpServer>
#include <QTest>
#include <QTimer>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace bench {

namespace {

// The pages: each connects, asks for the live channel and notes the moment each message arrives.
class Pages
{
public:
    Pages(int count, quint16 port)
        : m_arrivals(static_cast<std::size_t>(count))
    {
        m_thread = std::thread([this, count, port] { run(count, port); });
    }
    ~Pages() { stop(); }
    void stop()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
    }
    Pages(const Pages &) = delete;
    Pages &operator=(const Pages &) = delete;

    // When each page's messages came: read once stop() has joined the thread.
    const std::vector<std::vector<double>> &arrivals() const { return m_arrivals; }

private:
    void run(int count, quint16 port)
    {
        const int poller = epoll_create1(0);
        std::vector<int> sockets;
        std::vector<std::size_t> matched(static_cast<std::size_t>(count)); // of "\ndata: ", across reads
        static constexpr std::string_view marker = "\ndata: ";
        const QByteArray request = "GET /eventos HTTP/1.1\r\nHost: bench\r\n\r\n";
        for (int i = 0; i < count; ++i) {
            const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_port = htons(port);
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address);
            epoll_event event{};
            event.events = EPOLLOUT;
            event.data.u32 = static_cast<std::uint32_t>(i);
            epoll_ctl(poller, EPOLL_CTL_ADD, fd, &event);
            sockets.push_back(fd);
        }
        std::array<epoll_event, 64> events{};
        std::array<char, 16384> buffer{};
        while (!m_stop) {
            const int ready = epoll_wait(poller, events.data(), events.size(), 50);
            const double now = nowMs();
            for (int e = 0; e < ready; ++e) {
                const std::uint32_t i = events.at(static_cast<std::size_t>(e)).data.u32;
                const int fd = sockets[i];
                if (events.at(static_cast<std::size_t>(e)).events & EPOLLOUT) {
                    send(fd, request.constData(), static_cast<std::size_t>(request.size()), MSG_NOSIGNAL);
                    epoll_event event{};
                    event.events = EPOLLIN;
                    event.data.u32 = i;
                    epoll_ctl(poller, EPOLL_CTL_MOD, fd, &event);
                    continue;
                }
                ssize_t got = 0;
                while ((got = recv(fd, buffer.data(), buffer.size(), MSG_DONTWAIT)) > 0) {
                    for (ssize_t k = 0; k < got; ++k) {
                        const char c = buffer.at(static_cast<std::size_t>(k));
                        std::size_t &m = matched[i];
                        m = c == marker[m] ? m + 1 : (c == marker[0] ? 1 : 0);
                        if (m == marker.size()) {
                            m_arrivals[i].push_back(now);
                            m = 0;
                        }
                    }
                }
                if (got == 0)
                    epoll_ctl(poller, EPOLL_CTL_DEL, fd, nullptr);
            }
        }
        for (const int fd : sockets)
            close(fd);
        close(poller);
    }

    std::vector<std::vector<double>> m_arrivals;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace

namespace {

// Clicks one ball at a time (the voice off) and notes, for each, from the release of the mouse button to the
// end of the paint of both the large number and the ball's board label.
std::vector<double> clickToPaint(ProbedApplication &application, RunningProgram &run, int clicks)
{
    auto *button = run.find<QPushButton>(QStringLiteral("CmbStart"));
    std::vector<double> ms;
    for (int ball = 0; ball < clicks; ++ball) {
        QTest::mousePress(button, Qt::LeftButton);
        pump(20);
        PaintTimes paints(application);
        const double clicked = nowMs();
        QTest::mouseRelease(button, Qt::LeftButton); // returns after the draw's pause
        paints.stop();
        const int n = run.program.game().NumEnJuego();
        const auto *number = run.find<QLabel>(QStringLiteral("LblNumEnJuego"));
        const auto *label = run.find<QLabel>(QStringLiteral("LblNumero(%1)").arg(n));
        if (paints.at.contains(number) && paints.at.contains(label))
            ms.push_back(std::max(paints.at.value(number), paints.at.value(label)) - clicked);
    }
    return ms;
}

} // namespace

int runBoard(ProbedApplication &application, const Options &options)
{
    RunningProgram run(options);
    if (!run.started)
        return 2;
    auto *start = run.find<QPushButton>(QStringLiteral("CmbStart"));
    auto *newGame = run.find<QPushButton>(QStringLiteral("CmbNuevo"));
    run.find<QAction>(QStringLiteral("SM_Voice"))->trigger(); // the fastest delay is without the voice
    auto *delayBar = run.find<QScrollBar>(QStringLiteral("HscInterval"));
    delayBar->setValue(delayBar->minimum());
    cantabola::PlayersBoard &board = run.program.board();
    quint16 port = 0;
    {
        QTcpServer probe;
        probe.listen(QHostAddress::LocalHost);
        port = probe.serverPort();
    }
    board.listenOnLoopbackOnly();
    board.setPorts(port, port);
    run.find<QAction>(QStringLiteral("networkBoardItem"))->trigger();
    if (!board.isListening())
        return 3;
    run.real.sound().play(QStringLiteral("pac.wav"), cantabola::PlayMode::Async);

    const int balls = options.quick ? 30 : 90;
    const int count = 500;
    // A game of `balls` at the fastest delay; when each draw started (the click, then the end of each wait),
    // and the processor time of this thread per ball.
    std::vector<double> drawnAt;
    const auto play = [&] {
        drawnAt.clear();
        run.waiter.waited = [&] {
            drawnAt.push_back(nowMs());
            if (static_cast<int>(drawnAt.size()) == balls + 1)
                start->click(); // stop after the last ball's wait, as the operator would
        };
        const double cpu = threadCpuMs();
        drawnAt.push_back(nowMs());
        start->click();
        run.waiter.waited = nullptr;
        return (threadCpuMs() - cpu) / balls;
    };

    auto *automatic = run.find<QAction>(QStringLiteral("SM_Auto"));
    const int clicks = options.quick ? 20 : 60;
    progress(QStringLiteral("board: %1 balls, no page open").arg(balls));
    const double quietCpu = play();
    newGame->click();
    automatic->trigger(); // one ball a click
    const std::vector<double> quietPaint = clickToPaint(application, run, clicks);
    automatic->trigger();
    newGame->click(); // before the pages come: the first state each is sent is the empty board
    progress(QStringLiteral("board: %1 pages connecting").arg(count));
    std::vector<double> delays;
    int missed = 0;
    double busyCpu = 0;
    std::vector<double> busyPaint;
    {
        Pages pages(count, port);
        if (!pumpUntil([&] { return board.liveCount() == count; }, 30000)) {
            progress(QStringLiteral("board: only %1 pages connected").arg(board.liveCount()));
            return 3;
        }
        pump(200); // every first state read
        progress(QStringLiteral("board: %1 balls to %2 pages").arg(balls).arg(count));
        busyCpu = play();
        pump(200);
        newGame->click();
        automatic->trigger();
        busyPaint = clickToPaint(application, run, clicks);
        pages.stop();
        for (const std::vector<double> &at : pages.arrivals()) {
            // The first message is the state the page found, then one a ball.
            missed += std::max(0, balls + 1 - static_cast<int>(at.size()));
            for (std::size_t ball = 1; ball <= static_cast<std::size_t>(balls) && ball < at.size(); ++ball)
                delays.push_back(at[ball] - drawnAt[ball - 1]);
        }
    }
    figure("board_fanout_ms_p50", quantile(delays, 0.5), 50, "goal");
    figure("board_fanout_ms_p99", quantile(delays, 0.99), 50, "goal");
    figure("board_missed_messages", missed);
    figure("board_cpu_ms_per_ball", busyCpu, quietCpu);
    figure("board_click_to_paint_ms_p50", quantile(busyPaint, 0.5), quantile(quietPaint, 0.5));
    figure("board_click_to_paint_ms_p99", quantile(busyPaint, 0.99), quantile(quietPaint, 0.99));
    return 0;
}

} // namespace bench
