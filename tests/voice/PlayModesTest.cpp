// The two play modes of SdlSound against the real SDL mixer, heard through SDL's "disk" audio driver: the
// test writes WAV files of constant levels, plays them, closes the device (which flushes the output file)
// and reads back what would have been heard, frame by frame. Every check counts frames of the output; none
// measures time.
//
// With SDL_DISKAUDIODELAY=0 the driver consumes sound as fast as the machine goes, so a sound started
// "just before" may already be over. The tests therefore hold the mixer still where the order of events
// matters, with SDL's own means (the device lock, pausing channels or the device), instead of hoping for a
// window. The one exception is the join of two words, which is about a device that takes its buffers in
// real time: there the driver waits 100 ms between buffers, far more than the few milliseconds between the
// end of the first word and the start of the second.

#include "DecirNumero.h"
#include "SdlSound.h"
#include "VoiceTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <csignal>

using namespace cantabola;
using namespace voicetest;

namespace {

QString describe(const std::vector<Run> &runs)
{
    QStringList parts;
    for (const Run &run : runs) {
        parts << (run.left == run.right
                      ? QStringLiteral("%1x%2").arg(run.left).arg(run.length)
                      : QStringLiteral("(%1,%2)x%3").arg(run.left).arg(run.right).arg(run.length));
        if (parts.size() > 40) {
            parts << QStringLiteral("...");
            break;
        }
    }
    return parts.join(QLatin1Char(' '));
}

// Pauses the audio device, from inside the mixer, once the output has carried `target` frames of one
// level: the sound of that level has then been heard for exactly whole buffers, and no more is mixed until
// the test lets the device go on.
struct Gate
{
    SDL_AudioDeviceID device = 0;
    int level = 0;
    int target = 0;
    int seen = 0;
    std::atomic<bool> closed{false};

    static void postMix(void *userData, Uint8 *stream, int length)
    {
        auto *gate = static_cast<Gate *>(userData);
        const auto *samples = reinterpret_cast<const Sint16 *>(stream);
        for (int i = 0; i + 1 < length / 2; i += 2) {
            if (samples[i] == gate->level && samples[i + 1] == gate->level)
                ++gate->seen;
        }
        if (!gate->closed && gate->seen >= gate->target) {
            SDL_PauseAudioDevice(gate->device, 1);
            gate->closed = true;
        }
    }
};

bool waitFor(const std::atomic<bool> &flag, Uint64 limitMs = 30000)
{
    const Uint64 giveUpAt = SDL_GetTicks64() + limitMs;
    while (!flag) {
        if (SDL_GetTicks64() > giveUpAt)
            return false;
        SDL_Delay(1);
    }
    return true;
}

} // namespace

class PlayModesTest : public QObject
{
    Q_OBJECT

private slots:
    // A number of two words: the tens word (SyncNoStop) to its end, then the units word (Async), with no
    // pause put between them. How short the join is depends on how soon the thread sees the tens word end; on
    // an idle machine it is within the buffer the word ended in, which the benchmark measures. Here the join
    // only has to stay far below any pause a listener would hear (four buffers, 46 ms), so a loaded machine
    // cannot fail it.
    void tensWordThenUnitsWordWithoutAGap()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("treintay.wav"), 1500, 6000));
        QVERIFY(writeTone(folder.filePath("5.wav"), 1000, -9000));
        QVERIFY(writeTone(folder.filePath("dieci.wav"), 1024, 5000));
        QVERIFY(writeTone(folder.filePath("7.wav"), 700, -7000));
        DiskSession session(folder.path(), 100);
        {
            SdlSound sound;
            QVERIFY(sound.openDevice());
            DecirNumero(sound, 35);
            QVERIFY(waitUntilQuiet());
            DecirNumero(sound, 17);
            QVERIFY(waitUntilQuiet());
        }
        std::vector<Run> heard = trimmed(readRuns(session.output));
        const int audibleJoin = 4 * SdlSound::BufferFrames;
        const auto joinOf = [&](std::size_t tens) {
            // Tens run, then at most one silent run, then the units run.
            if (tens + 1 < heard.size() && heard[tens + 1].silent())
                return std::pair<int, std::size_t>(heard[tens + 1].length, tens + 2);
            return std::pair<int, std::size_t>(0, tens + 1);
        };
        QVERIFY2(heard.size() >= 4, qPrintable(describe(heard)));
        QVERIFY2(heard[0].is(6000) && heard[0].length == 1500, qPrintable(describe(heard)));
        const auto [gap35, units35] = joinOf(0);
        QVERIFY2(gap35 <= audibleJoin, qPrintable(describe(heard)));
        QVERIFY2(units35 < heard.size() && heard[units35].is(-9000) && heard[units35].length == 1000,
                 qPrintable(describe(heard)));
        std::size_t tens17 = units35 + 1;
        if (tens17 < heard.size() && heard[tens17].silent())
            ++tens17;
        QVERIFY2(tens17 < heard.size() && heard[tens17].is(5000) && heard[tens17].length == 1024,
                 qPrintable(describe(heard)));
        const auto [gap17, units17] = joinOf(tens17);
        QVERIFY2(gap17 <= audibleJoin, qPrintable(describe(heard)));
        QVERIFY2(units17 < heard.size() && heard[units17].is(-7000) && heard[units17].length == 700,
                 qPrintable(describe(heard)));
        QCOMPARE(units17 + 1, heard.size());
    }

    // A second Async sound cuts the first short, with a fade of a few milliseconds rather than a jump.
    void asyncCutsShortWhatPlays()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const int first = 7000, second = -5000;
        const qint64 firstFrames = 20000, secondFrames = 3000;
        QVERIFY(writeTone(folder.filePath("first.wav"), firstFrames, first));
        QVERIFY(writeTone(folder.filePath("second.wav"), secondFrames, second));
        const int third = 1500;
        QVERIFY(writeTone(folder.filePath("third.wav"), 1000, third));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            QVERIFY(sound.openDevice());
            Gate gate;
            gate.device = openedDevice();
            QVERIFY(gate.device != 0);
            gate.level = first;
            gate.target = 2 * SdlSound::BufferFrames;
            Mix_SetPostMix(Gate::postMix, &gate);
            sound.play(QStringLiteral("first.wav"), PlayMode::Async);
            QVERIFY(waitFor(gate.closed)); // the first sound has been heard for two buffers exactly
            sound.play(QStringLiteral("second.wav"), PlayMode::Async);
            SDL_PauseAudioDevice(gate.device, 0);
            QVERIFY(waitUntilQuiet());
            SDL_LockAudioDevice(gate.device);
            Mix_SetPostMix(nullptr, nullptr);
            SDL_UnlockAudioDevice(gate.device);
            // The mixing channels that were cut and faded play the next sounds as usual, at full level.
            sound.play(QStringLiteral("third.wav"), PlayMode::SyncNoStop);
            sound.play(QStringLiteral("third.wav"), PlayMode::SyncNoStop);
        }
        std::vector<Run> heard = trimmed(readRuns(session.output));
        QVERIFY2(heard.size() >= 5, qPrintable(describe(heard)));
        QVERIFY2(heard.back().is(third) && heard.back().length == 1000, qPrintable(describe(heard)));
        heard.pop_back();
        QVERIFY2(heard.back().silent(), qPrintable(describe(heard)));
        heard.pop_back();
        QVERIFY2(heard.back().is(third) && heard.back().length == 1000, qPrintable(describe(heard)));
        heard = trimmed({heard.begin(), heard.end() - 1});
        // The first sound at its full level: the two buffers before the cut, and never again.
        QVERIFY2(heard[0].is(first) && heard[0].length == qint64(2) * SdlSound::BufferFrames,
                 qPrintable(describe(heard)));
        QCOMPARE(framesOf(heard, first), qint64(2 * SdlSound::BufferFrames));
        // (Silence, if the device ran on while the test held the mixer paused.) Then the second sound from
        // its first frame, with the first one fading out under it.
        const std::size_t second0 = heard[1].silent() ? 2 : 1;
        std::vector<qint16> rest;
        for (std::size_t i = second0; i < heard.size(); ++i) {
            QVERIFY2(heard[i].left == heard[i].right, qPrintable(describe(heard)));
            rest.insert(rest.end(), std::size_t(heard[i].length), heard[i].left);
        }
        QCOMPARE(qint64(rest.size()), secondFrames);
        int previousFade = first;
        qint64 fadeFrames = 0;
        for (qint16 value : rest) {
            const int fade = value - second; // what is left of the first sound
            QVERIFY2(fade >= 0 && fade <= previousFade, qPrintable(describe(heard)));
            QVERIFY2(previousFade - fade <= first / 32, "the fade jumps: a click");
            if (fade > 0)
                ++fadeFrames;
            previousFade = fade;
        }
        // A short fade (at most 10 ms), so the first sound is heard far shorter than its file.
        QVERIFY2(fadeFrames > 0 && fadeFrames <= SdlSound::Frequency / 100,
                 qPrintable(QString::number(fadeFrames)));
        QVERIFY(qint64(2) * SdlSound::BufferFrames + fadeFrames < firstFrames);
    }

    // A SyncNoStop word is skipped while another sound plays, and played when nothing does.
    void syncNoStopIsSkippedWhileASoundPlays()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const int playing = 4000, skipped = -3000;
        QVERIFY(writeTone(folder.filePath("playing.wav"), 5000, playing));
        QVERIFY(writeTone(folder.filePath("skipped.wav"), 2000, skipped));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            QVERIFY(sound.openDevice());
            const SDL_AudioDeviceID device = openedDevice();
            QVERIFY(device != 0);
            // Start the first sound and hold it, still playing, before a single frame of it is mixed.
            SDL_LockAudioDevice(device);
            sound.play(QStringLiteral("playing.wav"), PlayMode::Async);
            Mix_Pause(-1);
            SDL_UnlockAudioDevice(device);
            // The device runs on: had the word been started, it would now be heard, since nothing holds it.
            sound.play(QStringLiteral("skipped.wav"), PlayMode::SyncNoStop);
            QCOMPARE(Mix_Playing(-1), 1);
            Mix_Resume(-1);
            QVERIFY(waitUntilQuiet());
            // With nothing playing the same word is played in full.
            sound.play(QStringLiteral("skipped.wav"), PlayMode::SyncNoStop);
            QCOMPARE(Mix_Playing(-1), 0);
        }
        const std::vector<Run> heard = trimmed(readRuns(session.output));
        QVERIFY2(heard.size() == 3, qPrintable(describe(heard)));
        QVERIFY2(heard[0].is(playing) && heard[0].length == 5000, qPrintable(describe(heard)));
        QVERIFY(heard[1].silent());
        QVERIFY2(heard[2].is(skipped) && heard[2].length == 2000, qPrintable(describe(heard)));
    }

    // An Async sound started while nothing plays is heard whole; SyncNoStop returns only after its end.
    void syncNoStopReturnsAfterTheEnd()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("word.wav"), 3000, 2500));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            sound.play(QStringLiteral("word.wav"), PlayMode::SyncNoStop);
            QCOMPARE(Mix_Playing(-1), 0);
            sound.play(QStringLiteral("word.wav"), PlayMode::Async);
            QVERIFY(waitUntilQuiet());
        }
        const std::vector<Run> heard = trimmed(readRuns(session.output));
        QCOMPARE(framesOf(heard, 2500), qint64(6000));
        QCOMPARE(nonSilentFrames(heard), qint64(6000));
    }

    // A wrong file of minutes under a word's name is played for its first ten seconds and no longer.
    void aVeryLongFileIsCutAfterTenSeconds()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const qint64 longest = qint64(SdlSound::LongestSoundSeconds) * SdlSound::Frequency;
        QVERIFY(writeTone(folder.filePath("long.wav"), longest + SdlSound::Frequency, 2500));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            sound.play(QStringLiteral("long.wav"), PlayMode::SyncNoStop);
            QCOMPARE(Mix_Playing(-1), 0);
        }
        const std::vector<Run> heard = trimmed(readRuns(session.output));
        // Full level up to a fade of a few milliseconds just before the tenth second, then silence.
        const qint64 full = framesOf(heard, 2500);
        QVERIFY2(full < longest && full > longest - SdlSound::Frequency / 100, qPrintable(describe(heard)));
        QVERIFY2(nonSilentFrames(heard) <= longest, qPrintable(describe(heard)));
        QVERIFY(heard.front().is(2500));
    }

    // A file changed on disk is decoded again, whatever was kept of it.
    void aChangedFileIsReadAgain()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("word.wav"), 600, 1000));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            sound.play(QStringLiteral("word.wav"), PlayMode::SyncNoStop);
            QVERIFY(writeTone(folder.filePath("word.wav"), 700, 2000));
            sound.play(QStringLiteral("word.wav"), PlayMode::SyncNoStop);
            sound.play(QStringLiteral("word.wav"), PlayMode::SyncNoStop);
        }
        const std::vector<Run> heard = trimmed(readRuns(session.output));
        QCOMPARE(framesOf(heard, 1000), qint64(600));
        QCOMPARE(framesOf(heard, 2000), qint64(1400));
        QVERIFY(heard.front().is(1000));
    }

    // File names are taken relative to the current directory, as the program sets it.
    void namesAreRelativeToTheCurrentDirectory()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("a")));
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("b")));
        QVERIFY(writeTone(folder.filePath("a/word.wav"), 500, 1111));
        QVERIFY(writeTone(folder.filePath("b/word.wav"), 500, 2222));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            QDir::setCurrent(folder.filePath("a"));
            sound.play(QStringLiteral("word.wav"), PlayMode::SyncNoStop);
            QDir::setCurrent(folder.filePath("b"));
            sound.play(QStringLiteral("word.wav"), PlayMode::SyncNoStop);
        }
        const std::vector<Run> heard = trimmed(readRuns(session.output));
        QCOMPARE(framesOf(heard, 1111), qint64(500));
        QCOMPARE(framesOf(heard, 2222), qint64(500));
    }

    // SDL must not take Ctrl+C and the termination signal away from the program.
    void theProgramKeepsItsSignals()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        DiskSession session(folder.path(), 0);
        // SDL takes only signals left at their default, as they are in the program (QtTest has its own).
        struct sigaction defaultAction
        {
        }, interruptBefore{}, terminateBefore{};
        defaultAction.sa_handler = SIG_DFL;
        QCOMPARE(sigaction(SIGINT, &defaultAction, &interruptBefore), 0);
        QCOMPARE(sigaction(SIGTERM, &defaultAction, &terminateBefore), 0);
        struct sigaction interruptAfter
        {
        }, terminateAfter{};
        {
            SdlSound sound;
            QVERIFY(sound.openDevice());
            sigaction(SIGINT, &interruptBefore, &interruptAfter);
            sigaction(SIGTERM, &terminateBefore, &terminateAfter);
        }
        QVERIFY(interruptAfter.sa_handler == SIG_DFL);
        QVERIFY(terminateAfter.sa_handler == SIG_DFL);
    }
};

QTEST_GUILESS_MAIN(PlayModesTest)
#include "PlayModesTest.moc"
