// SPDX-License-Identifier: GPL-3.0-or-later
// A game drawn one ball per click with the voice on, clicks delivered through Qt's input path: from the
// release on "Sacar número" to the end of the paints of the large number and of the board label, and to the
// first sample of the announcement that leaves the mixer, which must never come before the paint. The
// yardstick, in turns with every ball: a bare window whose button writes a number into a label, repaints it
// and starts the signal on the same mixer. Then, in the sound SDL's disk driver wrote, the silence the player
// leaves between a tens word and its units word, beside one device buffer.

#include "bench/Bench.h"
#include "voice/SdlSound.h"
#include "voice/WordPlan.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>
#include <atomic>
#include <cstring>
#include <map>

#include <SDL_mixer.h>

namespace bench {

namespace {

constexpr int frequency = cantabola::SdlSound::Frequency;

// Once armed, the moment of the first sample the mixer hands to the driver that is not silence, counted from
// the start of its buffer.
struct AudioProbe
{
    std::atomic<bool> armed{false};
    std::atomic<double> firstSoundMs{-1.0};

    void arm()
    {
        firstSoundMs = -1.0;
        armed = true;
    }
    bool heard() const { return firstSoundMs >= 0; }

    static void postMix(void *probe, Uint8 *stream, int length)
    {
        const double entered = nowMs();
        auto *self = static_cast<AudioProbe *>(probe);
        const auto *samples = reinterpret_cast<const Sint16 *>(stream);
        for (int i = 0; self->armed && i < length / 2; ++i) {
            if (samples[i] != 0) {
                self->firstSoundMs = entered + (i / 2) * 1e3 / frequency;
                self->armed = false;
            }
        }
    }
};

// 16-bit stereo frames, as the mixer plays them.
using Frames = std::vector<Sint16>;
qint64 frameCount(const Frames &frames)
{
    return static_cast<qint64>(frames.size()) / 2;
}

// A word decoded as the program's player decodes it: SDL_mixer's loader, converted to the open device.
Frames decode(const QString &path)
{
    Frames frames;
    if (Mix_Chunk *chunk = Mix_LoadWAV(path.toLocal8Bit().constData())) {
        const auto *begin = reinterpret_cast<const Sint16 *>(chunk->abuf);
        frames.assign(begin, begin + chunk->alen / sizeof(Sint16));
        Mix_FreeChunk(chunk);
    }
    return frames;
}

// Where a word starts in the recording, from frame `from` on and no later than `latest`, found by the exact
// samples of its first sounding stretch (one sound at a time plays at full volume, so the mixer passes them
// unchanged); -1 when it is not there.
qint64 findWord(const Frames &recording, const Frames &word, qint64 from, qint64 latest)
{
    qint64 lead = 0;
    while (lead < frameCount(word) && word[2 * lead] == 0 && word[2 * lead + 1] == 0)
        ++lead;
    const qint64 span = std::min<qint64>(256, frameCount(word) - lead);
    const std::size_t bytes = static_cast<std::size_t>(span) * 2 * sizeof(Sint16);
    for (qint64 at = from + lead; span > 0 && at + span <= frameCount(recording) && at <= latest + lead;
         ++at) {
        if (std::memcmp(recording.data() + 2 * at, word.data() + 2 * lead, bytes) == 0)
            return at - lead;
    }
    return -1;
}

using Words = std::map<std::string, Frames>;

// The silences between the tens and units words of the numbers drawn, in the recording, in draw order.
std::vector<double> wordGapsMs(const Frames &recording, const std::vector<int> &drawn, Words &words,
                               int &lost)
{
    std::vector<double> gaps;
    qint64 position = 0;
    for (int n : drawn) {
        const std::vector<cantabola::Word> plan = cantabola::wordPlan(n);
        const Frames &first = words[plan.front().file];
        const qint64 firstAt = findWord(recording, first, position, frameCount(recording));
        if (firstAt < 0) {
            ++lost;
            continue;
        }
        position = firstAt + frameCount(first);
        if (plan.size() < 2)
            continue;
        const Frames &second = words[plan.back().file];
        const qint64 secondAt = findWord(recording, second, position, position + frequency);
        if (secondAt < 0) {
            ++lost;
            continue;
        }
        gaps.push_back(static_cast<double>(secondAt - position) * 1e3 / frequency);
        position = secondAt + frameCount(second);
    }
    return gaps;
}

struct Click
{
    double paintMs = -1; // to the end of the last paint of the watched widgets; -1 when one was not painted
    double soundMs = -1; // to the first sample heard; -1 when nothing was heard
};

// A click through Qt's input path, timed from the release of the mouse button. `watched` names the widgets
// to be painted, once the click is over.
Click timeClick(ProbedApplication &application, AudioProbe &probe, QWidget *button,
                const std::function<std::vector<const QWidget *>()> &watched)
{
    // A click is over when the button is released: the pressed button has been shown by then.
    QTest::mousePress(button, Qt::LeftButton);
    pump(20);
    PaintTimes painted(application);
    probe.arm();
    const double clicked = nowMs();
    QTest::mouseRelease(button, Qt::LeftButton); // the program's returns after the draw's pause
    pumpUntil([&probe] { return probe.heard() && Mix_Playing(-1) == 0; }, 5000);
    painted.stop();
    Click click;
    for (const QWidget *widget : watched()) {
        if (!painted.at.contains(widget))
            return {-1, -1};
        click.paintMs = std::max(click.paintMs, painted.at.value(widget) - clicked);
    }
    if (probe.heard())
        click.soundMs = probe.firstSoundMs - clicked;
    pump(30);
    return click;
}

} // namespace

int runAnnounce(ProbedApplication &application, const Options &options)
{
    const QString recordingPath = qEnvironmentVariable("SDL_DISKAUDIOFILE");
    const int balls = options.quick ? 20 : 90;
    std::vector<double> paintMs[2]; // the program's, the bare window's
    std::vector<double> soundMs[2];
    double soundBeforePaint[2] = {0, 0};
    std::vector<int> drawn;
    Words words;
    {
        RunningProgram run(options);
        if (!run.started)
            return 2;
        run.find<QAction>(QStringLiteral("SM_Auto"))->trigger(); // one ball per click
        // Opens the audio device, and the yardstick's signal.
        run.real.sound().play(QStringLiteral("pac.wav"), cantabola::PlayMode::Async);
        Mix_Chunk *signal = Mix_LoadWAV((options.programFolder + QStringLiteral("/pac.wav")).toLocal8Bit());
        if (!signal) {
            progress(QStringLiteral("announce: no audio device (is SDL_AUDIODRIVER=disk set?)"));
            return 2;
        }
        for (int n = 1; n <= 90; ++n) {
            for (const cantabola::Word &word : cantabola::wordPlan(n)) {
                if (!words.contains(word.file))
                    words[word.file]
                        = decode(options.programFolder + '/' + QString::fromStdString(word.file));
            }
        }
        AudioProbe probe;
        Mix_SetPostMix(&AudioProbe::postMix, &probe);
        pumpUntil([] { return Mix_Playing(-1) == 0; }, 5000);

        QWidget bare;
        auto *label = new QLabel(QStringLiteral("0"));
        label->setFont(QFont(QStringLiteral("Arial"), 72, QFont::Bold));
        auto *button = new QPushButton(QStringLiteral("Sacar número"));
        QObject::connect(button, &QPushButton::clicked, label, [label, signal] {
            label->setText(QString::number(label->text().toInt() % 90 + 1));
            label->repaint();
            Mix_PlayChannel(-1, signal, 0);
        });
        auto *layout = new QVBoxLayout(&bare);
        layout->addWidget(label);
        layout->addWidget(button);
        bare.show();
        pump(200);

        const cantabola::Game &game = run.program.game();
        const QWidget *bigNumber = run.find(QStringLiteral("LblNumEnJuego"));
        for (int ball = 0; ball < balls; ++ball) {
            if (ball % 10 == 0)
                progress(QStringLiteral("announce: ball %1 of %2").arg(ball + 1).arg(balls));
            for (int kind = 0; kind < 2; ++kind) {
                const Click click = kind == 0
                    ? timeClick(application, probe, run.find(QStringLiteral("CmbStart")),
                                [&] {
                                    const QString board
                                        = QStringLiteral("LblNumero(%1)").arg(game.NumEnJuego());
                                    return std::vector<const QWidget *>{bigNumber, run.find(board)};
                                })
                    : timeClick(application, probe, button,
                                [label] { return std::vector<const QWidget *>{label}; });
                if (click.paintMs >= 0)
                    paintMs[kind].push_back(click.paintMs);
                if (click.soundMs >= 0)
                    soundMs[kind].push_back(click.soundMs);
                if (click.paintMs < 0 || click.soundMs < click.paintMs)
                    ++soundBeforePaint[kind];
            }
        }
        drawn = game.drawOrder();
        Mix_SetPostMix(nullptr, nullptr);
        Mix_FreeChunk(signal);
    } // the program and its player go; closing the device closes the recording

    figure("click_to_paint_ms_p50", quantile(paintMs[0], 0.5), quantile(paintMs[1], 0.5));
    figure("click_to_paint_ms_p99", quantile(paintMs[0], 0.99), quantile(paintMs[1], 0.99));
    figure("click_to_sound_ms_p50", quantile(soundMs[0], 0.5), quantile(soundMs[1], 0.5));
    figure("sound_before_paint_draws", soundBeforePaint[0], soundBeforePaint[1]);

    QFile file(recordingPath);
    if (recordingPath.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        progress(QStringLiteral("announce: no recording at \"%1\"").arg(recordingPath));
        return 3;
    }
    const QByteArray bytes = file.readAll();
    Frames recording(static_cast<std::size_t>(bytes.size()) / sizeof(Sint16));
    std::memcpy(recording.data(), bytes.constData(), recording.size() * sizeof(Sint16));
    int lost = 0;
    const std::vector<double> gaps = wordGapsMs(recording, drawn, words, lost);
    if (lost > 0)
        progress(QStringLiteral("announce: %1 words not found in the recording").arg(lost));
    const double bufferMs = cantabola::SdlSound::BufferFrames * 1e3 / frequency;
    figure("word_gap_ms_mean", mean(gaps), bufferMs);
    figure("word_gap_ms_max", quantile(gaps, 1), bufferMs);
    QFile::remove(recordingPath);
    return 0;
}

} // namespace bench
