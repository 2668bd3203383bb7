// Protects what is heard through the real player (SdlSound on SDL's disk driver, read back frame by frame):
// the tens word then the units word without a gap, Async cutting short, SyncNoStop skipped while a sound
// plays, the program's 32 sound files heard, damaged files played or skipped without a crash or a hang, and
// the player in the program's sound library, silent and quiet when the library is broken. No check measures
// time.

#include "DecirNumero.h"
#include "DeferredSound.h"
#include "Rig.h"
#include "SdlSound.h"

#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <SDL.h>
#include <SDL_mixer.h>

#include <atomic>

using namespace cantabola;

namespace {

const QString library = QStringLiteral(CANTABOLA_PROGRAM_DIR "/") + QLatin1String(SoundLibraryFileName);

// A RIFF/WAVE file of `frames` frames of one level on every channel; 8-bit samples are unsigned.
QByteArray wavBytes(qint64 frames, int level, int rate = 44100, int channels = 2, int bits = 16)
{
    const auto le = [](quint32 value, int bytes) {
        QByteArray out(bytes, '\0');
        for (int i = 0; i < bytes; ++i)
            out[i] = char(value >> (8 * i));
        return out;
    };
    const int align = channels * bits / 8;
    const QByteArray pcm = le(quint32(level), bits / 8).repeated(frames * channels);
    const QByteArray fmt = le(1, 2) + le(quint32(channels), 2) + le(quint32(rate), 4)
        + le(quint32(rate * align), 4) + le(quint32(align), 2) + le(quint32(bits), 2);
    const QByteArray body = "WAVEfmt " + le(quint32(fmt.size()), 4) + fmt + "data"
        + le(quint32(pcm.size()), 4) + pcm + QByteArray(pcm.size() % 2, '\0');
    return "RIFF" + le(quint32(body.size()), 4) + body;
}

bool write(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// Sets SDL's disk driver writing into folder/out.raw, `delayMs` between buffers (0: as fast as the machine
// goes; 1 keeps the silence written while a test holds the mixer small), read when a player opens the device,
// and makes folder the current directory. Returns the file.
QString onDisk(const QString &folder, int delayMs)
{
    const QString output = QDir(folder).filePath(QStringLiteral("out.raw"));
    qputenv("SDL_AUDIODRIVER", "disk");
    qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(output));
    qputenv("SDL_DISKAUDIODELAY", QByteArray::number(delayMs));
    QDir::setCurrent(folder);
    return output;
}

struct Run
{
    qint16 left = 0, right = 0;
    qint64 length = 0;
    bool silent() const { return left == 0 && right == 0; }
    bool is(int level, qint64 frames = -1) const
    {
        return left == level && right == level && (frames < 0 || length == frames);
    }
};

// What was heard, as runs of equal frames, without the silence at both ends.
std::vector<Run> heardIn(const QString &path)
{
    std::vector<Run> runs;
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4) {
        const auto left = qFromLittleEndian<qint16>(bytes.constData() + i);
        const auto right = qFromLittleEndian<qint16>(bytes.constData() + i + 2);
        if (!runs.empty() && runs.back().left == left && runs.back().right == right)
            ++runs.back().length;
        else if (!runs.empty() || left || right)
            runs.push_back({left, right, 1});
    }
    while (!runs.empty() && runs.back().silent())
        runs.pop_back();
    return runs;
}

// Frames of one level, or (no level) all frames that are not silent.
qint64 framesOf(const std::vector<Run> &runs, std::optional<int> level = std::nullopt)
{
    qint64 frames = 0;
    for (const Run &run : runs)
        frames += (level ? run.is(*level) : !run.silent()) ? run.length : 0;
    return frames;
}

QByteArray describe(const std::vector<Run> &runs)
{
    QStringList parts;
    for (std::size_t i = 0; i < runs.size() && i < 40; ++i)
        parts << QStringLiteral("%1/%2x%3").arg(runs[i].left).arg(runs[i].right).arg(runs[i].length);
    return parts.join(QLatin1Char(' ')).toLocal8Bit();
}

// Until the mixer plays nothing, or something else is done; the limit only keeps a broken run from hanging.
bool waitUntil(const std::function<bool()> &done = [] { return Mix_Playing(-1) == 0; })
{
    for (const Uint64 giveUpAt = SDL_GetTicks64() + 30000; !done(); SDL_Delay(1)) {
        if (SDL_GetTicks64() > giveUpAt)
            return false;
    }
    return true;
}

// The device the mixer opened, found by asking each device id.
SDL_AudioDeviceID openedDevice()
{
    SDL_AudioDeviceID id = 1;
    while (id < 64 && SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_STOPPED)
        ++id;
    return id;
}

// Pauses the device from inside the mixer once `target` frames of `level` have been mixed: that sound has
// then been heard for exactly that long, and nothing more is mixed until the test lets the device go on.
struct Gate
{
    SDL_AudioDeviceID device = openedDevice();
    int level = 0, target = 0, seen = 0;
    std::atomic<bool> closed{false};

    static void postMix(void *self, Uint8 *stream, int length)
    {
        auto *gate = static_cast<Gate *>(self);
        const auto *samples = reinterpret_cast<const Sint16 *>(stream);
        for (int i = 0; i + 1 < length / 2; i += 2)
            gate->seen += samples[i] == gate->level && samples[i + 1] == gate->level;
        if (!gate->closed && gate->seen >= gate->target) {
            SDL_PauseAudioDevice(gate->device, 1);
            gate->closed = true;
        }
    }
};

QStringList messages;
void keepMessage(QtMsgType, const QMessageLogContext &context, const QString &text)
{
    messages << QLatin1String(context.category) + QLatin1Char(' ') + text;
}

// The NEEDED entries of an ELF file's dynamic section.
QString neededLibraries(const QString &file)
{
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), file});
    readelf.waitForFinished(30000);
    const QStringList lines
        = QString::fromLocal8Bit(readelf.readAllStandardOutput()).split(QLatin1Char('\n'));
    return lines.filter(QStringLiteral("(NEEDED)")).join(QLatin1Char('\n'));
}

} // namespace

class SoundTest : public QObject
{
    Q_OBJECT

private slots:
    // On a device that takes its buffers slowly (as a real one does), the units word starts in the buffer
    // after the one the tens word ended in: the silence between them is less than a buffer.
    void tensWordThenUnitsWordWithoutAGap()
    {
        QTemporaryDir folder;
        QVERIFY(write(folder.filePath("treintay.wav"), wavBytes(700, 6000)));
        QVERIFY(write(folder.filePath("5.wav"), wavBytes(400, -9000)));
        QVERIFY(write(folder.filePath("dieci.wav"), wavBytes(900, 5000)));
        QVERIFY(write(folder.filePath("7.wav"), wavBytes(300, -7000)));
        const QString output = onDisk(folder.path(), 150);
        {
            SdlSound sound;
            DecirNumero(sound, 35);
            QVERIFY(waitUntil());
            DecirNumero(sound, 17);
            QVERIFY(waitUntil());
        }
        const std::vector<Run> heard = heardIn(output);
        std::size_t i = 0;
        for (const auto &[level, frames, joined] :
             {std::tuple{6000, 700, false}, {-9000, 400, true}, {5000, 900, false}, {-7000, 300, true}}) {
            if (i < heard.size() && heard[i].silent())
                QVERIFY2(heard[i++].length <= SdlSound::BufferFrames || !joined, describe(heard));
            QVERIFY2(i < heard.size() && heard[i++].is(level, frames), describe(heard));
        }
        QVERIFY2(i == heard.size(), describe(heard));
    }

    // A second Async sound cuts the first short at once, with a fade of a few milliseconds, not a click.
    void asyncCutsShortWhatPlays()
    {
        QTemporaryDir folder;
        const int first = 7000, second = -5000, buffers2 = 2 * SdlSound::BufferFrames;
        QVERIFY(write(folder.filePath("first.wav"), wavBytes(20000, first)));
        QVERIFY(write(folder.filePath("second.wav"), wavBytes(3000, second)));
        const QString output = onDisk(folder.path(), 1);
        {
            SdlSound sound;
            QVERIFY(sound.openDevice());
            Gate gate{.level = first, .target = buffers2};
            Mix_SetPostMix(Gate::postMix, &gate);
            sound.play(QStringLiteral("first.wav"), PlayMode::Async);
            QVERIFY(waitUntil([&gate] { return gate.closed.load(); }));
            sound.play(QStringLiteral("second.wav"), PlayMode::Async);
            SDL_PauseAudioDevice(gate.device, 0);
            QVERIFY(waitUntil());
            Mix_SetPostMix(nullptr, nullptr);
        }
        std::vector<Run> heard = heardIn(output);
        // The first sound at full level for the two buffers before the cut, and never again.
        QVERIFY2(!heard.empty() && heard[0].is(first, buffers2) && framesOf(heard, first) == buffers2,
                 describe(heard));
        // (Silence while the device was held.) Then the second sound whole, the first fading out under it.
        heard.erase(heard.begin(), heard.begin() + (heard.size() > 1 && heard[1].silent() ? 2 : 1));
        int fade = first;
        qint64 frames = 0, fadeFrames = 0;
        for (const Run &run : heard) {
            const int left = run.left - second;
            QVERIFY2(run.left == run.right && left >= 0 && left <= fade && fade - left <= first / 32,
                     describe(heard));
            fade = left;
            frames += run.length;
            fadeFrames += left > 0 ? run.length : 0;
        }
        QCOMPARE(frames, qint64(3000));
        QVERIFY2(fadeFrames > 0 && fadeFrames <= SdlSound::Frequency / 100, describe(heard));
    }

    // A SyncNoStop word is skipped while another sound plays, and played whole when nothing does.
    void syncNoStopPlaysNothingWhileASoundPlays()
    {
        QTemporaryDir folder;
        QVERIFY(write(folder.filePath("playing.wav"), wavBytes(5000, 4000)));
        QVERIFY(write(folder.filePath("word.wav"), wavBytes(2000, -3000)));
        const QString output = onDisk(folder.path(), 1);
        {
            SdlSound sound;
            QVERIFY(sound.openDevice());
            const SDL_AudioDeviceID device = openedDevice();
            // The first sound held, still playing, before a frame of it is mixed; the device runs on.
            SDL_LockAudioDevice(device);
            sound.play(QStringLiteral("playing.wav"), PlayMode::Async);
            Mix_Pause(-1);
            SDL_UnlockAudioDevice(device);
            sound.play(QStringLiteral("word.wav"), PlayMode::SyncNoStop);
            Mix_Resume(-1);
            QVERIFY(waitUntil());
            sound.play(QStringLiteral("word.wav"), PlayMode::SyncNoStop);
        }
        const std::vector<Run> heard = heardIn(output);
        QVERIFY2(!heard.empty() && heard[0].is(4000, 5000), describe(heard));
        QCOMPARE(framesOf(heard, -3000), qint64(2000));
        QCOMPARE(framesOf(heard), qint64(7000));
    }

    // The 32 files beside the built program are there and each is heard.
    void theProgramsSoundFilesAreHeard()
    {
        QTemporaryDir folder;
        onDisk(folder.path(), 0);
        SdlSound sound;
        QVERIFY(sound.openDevice());
        static std::atomic<qint64> heard{0};
        Mix_SetPostMix(
            [](void *, Uint8 *stream, int length) {
                for (int i = 0; i + 3 < length; i += 4)
                    heard += (stream[i] | stream[i + 1] | stream[i + 2] | stream[i + 3]) != 0;
            },
            nullptr);
        QStringList silent;
        for (const QString &name : testing::soundFileNames()) {
            const qint64 before = heard;
            sound.play(QStringLiteral(CANTABOLA_PROGRAM_DIR "/") + name, PlayMode::SyncNoStop);
            if (heard - before < SdlSound::Frequency / 100)
                silent << name;
        }
        Mix_SetPostMix(nullptr, nullptr);
        QVERIFY2(testing::soundFileNames().size() == 32 && silent.isEmpty(), qPrintable(silent.join(' ')));
    }

    void aDamagedFileIsPlayedOrSkippedNeverCrashes_data()
    {
        QTest::addColumn<QByteArray>("bytes"); // null: no file at all
        QTest::addColumn<qint64>("most"); // the most frames one play may be heard for; 0: never heard
        const QByteArray tone = wavBytes(2000, 1500);
        QTest::newRow("missing") << QByteArray() << qint64(0);
        QTest::newRow("empty") << QByteArray("") << qint64(0);
        QTest::newRow("header cut short") << tone.left(30) << qint64(0);
        QTest::newRow("sound cut short") << tone.left(tone.size() / 2) << qint64(1000);
        QTest::newRow("not a WAV") << QByteArray("Esto no es un sonido.\n") << qint64(0);
        QTest::newRow("8-bit mono 22050 Hz") << wavBytes(4000, 200, 22050, 1, 8) << qint64(8000 + 64);
        QTest::newRow("48 kHz stereo") << wavBytes(4800, 1500, 48000) << qint64(4410 + 64);
        QTest::newRow("0 frames") << wavBytes(0, 0) << qint64(0);
        QTest::newRow("3 minutes") << wavBytes(22050 * 180, 200, 22050, 1, 8)
                                   << qint64(SdlSound::LongestSoundSeconds) * SdlSound::Frequency;
    }
    void aDamagedFileIsPlayedOrSkippedNeverCrashes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, most);
        QTemporaryDir folder;
        QVERIFY(bytes.isNull() || write(folder.filePath("damaged.wav"), bytes));
        QVERIFY(write(folder.filePath("good.wav"), wavBytes(800, 3210)));
        const QString output = onDisk(folder.path(), 0);
        {
            SdlSound sound;
            sound.play(QStringLiteral("damaged.wav"), PlayMode::SyncNoStop);
            sound.play(QStringLiteral("damaged.wav"), PlayMode::Async); // again, from what was kept of it
            QVERIFY(waitUntil());
            sound.play(QStringLiteral("good.wav"), PlayMode::SyncNoStop);
        }
        const std::vector<Run> heard = heardIn(output);
        QCOMPARE(framesOf(heard, 3210), qint64(800));
        const qint64 damaged = framesOf(heard) - 800;
        QVERIFY2(most ? damaged > 0 && damaged <= 2 * most : damaged == 0, describe(heard));
    }

    void theWordsAreHeardThroughTheLibrary()
    {
        QTemporaryDir folder;
        QVERIFY(write(folder.filePath("treintay.wav"), wavBytes(3000, 6000)));
        QVERIFY(write(folder.filePath("5.wav"), wavBytes(2000, -9000)));
        const QString output = onDisk(folder.path(), 0);
        {
            DeferredSound sound(library);
            DecirNumero(sound, 35); // loaded by the first sound, if not after the first paint
            QVERIFY(waitUntil() && sound.load());
        }
        const std::vector<Run> heard = heardIn(output);
        QVERIFY2(heard.size() >= 2 && heard.front().is(6000, 3000) && heard.back().is(-9000, 2000),
                 describe(heard));
    }

    void aBrokenLibraryLeavesTheProgramSilentAndQuiet_data()
    {
        QTest::addColumn<QString>("name"); // empty: a library of the system
        QTest::addColumn<QByteArray>("contents"); // null: nothing written
        QTest::newRow("missing") << "cantabola_sound.so" << QByteArray();
        QTest::newRow("empty") << "cantabola_sound.so" << QByteArray("");
        QTest::newRow("not ELF") << "cantabola_sound.so" << QByteArray("#!/bin/sh\necho no\n");
        QTest::newRow("ELF, then junk") << "cantabola_sound.so" << QByteArray("\177ELF").append(300, 'x');
        QTest::newRow("a folder") << "cantabola_sound.so/" << QByteArray();
        QTest::newRow("a library without the entry") << QString() << QByteArray();
    }
    void aBrokenLibraryLeavesTheProgramSilentAndQuiet()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        QTemporaryDir folder;
        QVERIFY(write(folder.filePath("pac.wav"), wavBytes(2000, 5000)));
        const QString path = name.isEmpty()
            ? QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Core.so.6"
            : folder.filePath(name);
        QVERIFY(!name.endsWith(QLatin1Char('/')) || QDir(folder.path()).mkdir(name));
        QVERIFY(contents.isNull() || write(path, contents));
        const QString output = onDisk(folder.path(), 0);
        messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepMessage);
        DeferredSound sound(path);
        QVERIFY(!sound.load());
        sound.play(QStringLiteral("pac.wav"), PlayMode::SyncNoStop);
        sound.play(QStringLiteral("pac.wav"), PlayMode::Async);
        const QStringList byDefault = messages;
        QLoggingCategory::setFilterRules(
            QStringLiteral("cantabola.sound.debug=true")); // a maintainer asks why
        DeferredSound(path).load();
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);
        QVERIFY2(byDefault.isEmpty() && messages.size() == 1 && messages[0].startsWith("cantabola.sound "),
                 qPrintable(messages.join('\n')));
        QVERIFY(heardIn(output).empty());
    }

    // SDL and its decoders do not load before the window can show: the executable names none of them.
    void theExecutableLeavesSdlToTheLibrary()
    {
        const QString program = neededLibraries(QStringLiteral(CANTABOLA_PROGRAM_DIR "/cantabola"));
        QVERIFY2(program.contains("libQt6Widgets") && !program.contains("SDL"), qPrintable(program));
        QVERIFY2(neededLibraries(library).contains("libSDL2_mixer"), qPrintable(neededLibraries(library)));
    }
};

QTEST_GUILESS_MAIN(SoundTest)
#include "SoundTest.moc"
