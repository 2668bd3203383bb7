// A whole game drawn one ball per click with the voice on, as an operator would: from each click on "Sacar
// número" to the large number and the red board label being painted, and to the first sample of the
// announcement leaving the mixer; then, in the sound SDL's disk driver wrote, the silence the player leaves
// between a tens word and its units word.
//
// Yardsticks, taken in turn with every ball: a bare window whose button writes a number into a label and
// repaints it, and the same mixer starting a sound directly.

#include "Cantabola.h"
#include "Fonts.h"
#include "FrmBingo.h"
#include "Support.h"
#include "WordPlan.h"

#include <QAction>
#include <QFile>
#include <QHash>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include <SDL_mixer.h>

#include <atomic>
#include <cstring>
#include <map>

namespace bench {

namespace {

constexpr int frequency = cantabola::SdlSound::Frequency;
constexpr int channels = 2;

// Watches what the mixer hands to the audio driver: once armed, the moment of the first sample that is not
// silence, counted from the start of the buffer it lies in.
struct AudioProbe
{
    std::atomic<bool> armed{false};
    std::atomic<double> firstSoundMs{-1.0};

    void arm()
    {
        firstSoundMs.store(-1.0);
        armed.store(true);
    }
    bool heard() const { return firstSoundMs.load() >= 0; }

    static void postMix(void *probe, Uint8 *stream, int length)
    {
        const double entered = nowMs();
        auto *self = static_cast<AudioProbe *>(probe);
        if (!self->armed.load())
            return;
        const auto *samples = reinterpret_cast<const Sint16 *>(stream);
        const int count = length / static_cast<int>(sizeof(Sint16));
        for (int i = 0; i < count; ++i) {
            if (samples[i] != 0) {
                const int frame = i / channels;
                self->firstSoundMs.store(entered + frame * 1000.0 / frequency);
                self->armed.store(false);
                return;
            }
        }
    }
};

// A recorded word as the mixer plays it: 16-bit stereo frames at the device's rate.
struct Decoded
{
    std::vector<Sint16> samples;
    qint64 frames() const { return static_cast<qint64>(samples.size()) / channels; }
    qint64 leadingSilence() const
    {
        qint64 frame = 0;
        while (frame < frames() && samples[2 * frame] == 0 && samples[2 * frame + 1] == 0)
            ++frame;
        return frame;
    }
};

// Decodes a file the way the program's player does (SDL_mixer's loader, converted to the open device).
Decoded decode(const QString &path)
{
    Decoded decoded;
    Mix_Chunk *chunk = Mix_LoadWAV(path.toLocal8Bit().constData());
    if (!chunk)
        return decoded;
    const auto *begin = reinterpret_cast<const Sint16 *>(chunk->abuf);
    decoded.samples.assign(begin, begin + chunk->alen / sizeof(Sint16));
    Mix_FreeChunk(chunk);
    return decoded;
}

// Where a word starts in the recording, at or after frame `from` and no later than `latest`, found by the
// exact samples of its first sounding stretch (one sound at a time plays at full volume, so the mixer passes
// the samples unchanged). -1 when it is not there.
qint64 findWord(const std::vector<Sint16> &recording, const Decoded &word, qint64 from, qint64 latest)
{
    const qint64 lead = word.leadingSilence();
    const qint64 span = std::min<qint64>(256, word.frames() - lead);
    if (span <= 0)
        return -1;
    const Sint16 *signature = word.samples.data() + 2 * lead;
    const qint64 recordedFrames = static_cast<qint64>(recording.size()) / channels;
    for (qint64 frame = from + lead; frame + span <= recordedFrames && frame <= latest + lead; ++frame) {
        const Sint16 *at = recording.data() + 2 * frame;
        if (at[0] == signature[0] && at[1] == signature[1]
            && std::memcmp(at, signature, static_cast<std::size_t>(span) * channels * sizeof(Sint16)) == 0)
            return frame - lead;
    }
    return -1;
}

// The yardstick window: a button that writes the next number into a large label and repaints it at once.
class BareWindow : public QWidget
{
public:
    BareWindow()
    {
        setWindowTitle(QStringLiteral("Yardstick"));
        button = new QPushButton(QStringLiteral("Sacar número"), this);
        label = new QLabel(QStringLiteral("0"), this);
        QFont big = label->font();
        big.setPointSize(72);
        big.setBold(true);
        label->setFont(big);
        label->setAlignment(Qt::AlignCenter);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(label);
        layout->addWidget(button);
        resize(400, 300);
        QObject::connect(button, &QPushButton::clicked, this, [this] {
            m_number = m_number % 90 + 1;
            label->setText(QString::number(m_number));
            label->repaint();
        });
    }

    QPushButton *button = nullptr;
    QLabel *label = nullptr;

private:
    int m_number = 0;
};

} // namespace

int runAnnouncePhase(int argc, char **argv, const Options &options)
{
    ProbedApplication application(argc, argv);
    cantabola::installFontSubstitutions();

    QHash<const QWidget *, double> painted; // the first paint of each widget since the last clear
    QHash<const QWidget *, double> paintedCpu; // the user-interface thread's processor time then
    application.afterPaint = [&painted, &paintedCpu](QWidget *widget, double ms) {
        if (!painted.contains(widget)) {
            painted.insert(widget, ms);
            paintedCpu.insert(widget, threadCpuMs());
        }
    };

    const QString recordingPath = qEnvironmentVariable("SDL_DISKAUDIOFILE");
    const int balls = options.quick ? 20 : 90;
    std::vector<int> drawn;
    std::vector<double> paintMs;
    std::vector<double> barePaintMs;
    // What the user-interface thread spent on the processor meanwhile: on a busy machine the thread can wait
    // for a processor far longer than it works.
    std::vector<double> paintCpuMs;
    std::vector<double> barePaintCpuMs;
    std::vector<double> soundMs;
    std::vector<double> directSoundMs;
    int soundBeforePaint = 0;
    int notPainted = 0;
    int notHeard = 0;
    std::map<std::string, Decoded> words;

    {
        BenchPlatform bench(options.programFolder);
        cantabola::Cantabola program(bench.platform);
        if (!program.start())
            return 2;
        cantabola::FrmBingo &w = program.window();
        BareWindow bare;
        bare.move(0, 0);
        bare.show();
        pump(500);

        // One ball per click; the voice is on from the start.
        w.SM_Auto->trigger();
        if (!bench.sound.openDevice()) {
            progress(QStringLiteral("announce: no audio device (is SDL_AUDIODRIVER=disk set?)"));
            return 2;
        }
        AudioProbe probe;
        Mix_SetPostMix(&AudioProbe::postMix, &probe);
        for (int n = 1; n <= 90; ++n) {
            for (const cantabola::Word &word : cantabola::wordPlan(n)) {
                if (!words.contains(word.file))
                    words[word.file] = decode(options.programFolder + QLatin1Char('/')
                                              + QString::fromStdString(word.file));
            }
        }
        Mix_Chunk *signal = Mix_LoadWAV((options.programFolder + QStringLiteral("/pac.wav")).toLocal8Bit());
        const auto silent = [] {
            return Mix_Playing(-1) == 0;
        };

        for (int ball = 0; ball < balls; ++ball) {
            if (ball % 10 == 0)
                progress(QStringLiteral("announce: ball %1 of %2").arg(ball + 1).arg(balls));

            // A click is over when the button is released: the pressed button has been shown by then, as
            // it is while a finger holds it down.
            QTest::mousePress(bare.button, Qt::LeftButton);
            pump(20);
            painted.clear();
            double clicked = nowMs();
            double clickedCpu = threadCpuMs();
            QTest::mouseRelease(bare.button, Qt::LeftButton);
            if (painted.contains(bare.label)) {
                barePaintMs.push_back(painted.value(bare.label) - clicked);
                barePaintCpuMs.push_back(paintedCpu.value(bare.label) - clickedCpu);
            }
            pump(20);

            QTest::mousePress(w.CmbStart, Qt::LeftButton);
            pump(20);
            painted.clear();
            probe.arm();
            clicked = nowMs();
            clickedCpu = threadCpuMs();
            QTest::mouseRelease(w.CmbStart, Qt::LeftButton); // returns after the 0.7 s pause of the draw
            const int n = w.NumEnJuego;
            drawn.push_back(n);
            const QWidget *board = w.LblNumero.at(static_cast<std::size_t>(std::clamp(n, 1, 90)));
            pumpUntil([&] { return probe.heard() && silent(); }, 5000);
            if (painted.contains(w.LblNumEnJuego) && painted.contains(board)) {
                const double paintedAt = std::max(painted.value(w.LblNumEnJuego), painted.value(board));
                paintMs.push_back(paintedAt - clicked);
                paintCpuMs.push_back(std::max(paintedCpu.value(w.LblNumEnJuego), paintedCpu.value(board))
                                     - clickedCpu);
                if (probe.heard() && probe.firstSoundMs.load() < paintedAt)
                    ++soundBeforePaint;
            } else {
                ++notPainted;
            }
            if (probe.heard())
                soundMs.push_back(probe.firstSoundMs.load() - clicked);
            else
                ++notHeard;
            pump(30);

            if (signal) {
                probe.arm();
                const double started = nowMs();
                Mix_PlayChannel(-1, signal, 0);
                pumpUntil([&] { return probe.heard() && silent(); }, 2000);
                if (probe.heard())
                    directSoundMs.push_back(probe.firstSoundMs.load() - started);
                pump(30);
            }
        }
        Mix_SetPostMix(nullptr, nullptr);
        if (signal)
            Mix_FreeChunk(signal);
    } // the program and its player go; closing the device closes the recording

    resultStats(QStringLiteral("paint.ours"), paintMs);
    resultStats(QStringLiteral("paint.bare"), barePaintMs);
    resultStats(QStringLiteral("paint_cpu.ours"), paintCpuMs);
    resultStats(QStringLiteral("paint_cpu.bare"), barePaintCpuMs);
    resultStats(QStringLiteral("sound.ours"), soundMs);
    resultStats(QStringLiteral("sound.direct"), directSoundMs);
    result(QStringLiteral("paint.not_painted"), notPainted);
    result(QStringLiteral("sound.not_heard"), notHeard);
    result(QStringLiteral("sound.before_paint"), soundBeforePaint);

    // The silences between the words, in the recording, in draw order.
    QFile file(recordingPath);
    if (recordingPath.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        progress(QStringLiteral("announce: no recording at \"%1\"").arg(recordingPath));
        return 3;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    std::vector<Sint16> recording(static_cast<std::size_t>(bytes.size()) / sizeof(Sint16));
    std::memcpy(recording.data(), bytes.constData(), recording.size() * sizeof(Sint16));
    const qint64 recordedFrames = static_cast<qint64>(recording.size()) / channels;
    result(QStringLiteral("silence.recorded_seconds"), static_cast<double>(recordedFrames) / frequency);

    std::vector<double> gapsMs;
    int lost = 0;
    qint64 position = 0;
    for (int n : drawn) {
        const std::vector<cantabola::Word> plan = cantabola::wordPlan(n);
        if (plan.empty())
            continue;
        const Decoded &first = words[plan.front().file];
        const qint64 firstAt = findWord(recording, first, position, recordedFrames);
        if (firstAt < 0) {
            ++lost;
            continue;
        }
        position = firstAt + first.frames();
        if (plan.size() < 2)
            continue;
        const Decoded &second = words[plan.back().file];
        const qint64 secondAt = findWord(recording, second, position, position + frequency);
        if (secondAt < 0) {
            ++lost;
            continue;
        }
        gapsMs.push_back(static_cast<double>(secondAt - position) * 1000.0 / frequency);
        position = secondAt + second.frames();
    }
    resultStats(QStringLiteral("silence.gap_ms"), gapsMs);
    result(QStringLiteral("silence.lost"), lost);
    QFile::remove(recordingPath);
    return 0;
}

} // namespace bench
