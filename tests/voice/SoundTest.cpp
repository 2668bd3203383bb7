// SPDX-License-Identifier: GPL-3.0-or-later
// Protects what is heard through the real player (SdlSound on SDL's disk driver, read back frame by frame):
// the tens word then the units word without a gap (also after the device rested, and through the program's
// sound library without holding the thread), Async cutting short, SyncNoStop skipped while a sound plays,
// the program's sound files heard, damaged files played or skipped without a crash or a hang, and the program
// silent and quiet when its sound library is broken.

#include "support/Rig.h"
#include "voice/DecirNumero.h"
#include "voice/DeferredSound.h"
#include "voice/SdlSound.h"

#include <QElapsedTimer>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QTemporaryDir>
#include <QtEndian>

#include <SDL_mixer.h>

#include <atomic>
#include <climits>
#include <optional>

using namespace cantabola;

namespace {

const QString library = QStringLiteral(CANTABOLA_PROGRAM_DIR "/") + QLatin1String(SoundLibraryFileName);

// A RIFF/WAVE file of `frames` frames of one level on every channel; 8-bit samples are unsigned.
QByteArray wavBytes(qint64 frames, int level, int rate = 44100, int channels = 2, int bits = 16)
{
    const auto le = [](qint64 value, int bytes) {
        value = qToLittleEndian(value);
        return QByteArray(reinterpret_cast<const char *>(&value), bytes);
    };
    const int align = channels * bits / 8;
    const QByteArray pcm = le(quint32(level), bits / 8).repeated(frames * channels);
    const QByteArray fmt
        = le(1, 2) + le(channels, 2) + le(rate, 4) + le(rate * align, 4) + le(align, 2) + le(bits, 2);
    return "RIFF" + le(quint32(36 + pcm.size() + pcm.size() % 2), 4) + "WAVEfmt " + le(16, 4) + fmt + "data"
        + le(quint32(pcm.size()), 4) + pcm + QByteArray(pcm.size() % 2, '\0');
}

// A level on both channels (INT_MIN: the channels differ) for so many frames.
using Run = std::pair<int, qint64>;
// The words of 34 and 17, each heard as one run of its own.
const std::pair<const char *, Run> words[] = {{"treintay.wav", {6000, 700}},
                                              {"4.wav", {-9000, 400}},
                                              {"dieci.wav", {5000, 900}},
                                              {"7.wav", {-7000, 300}}};
using Heard = std::vector<Run>;

// A folder made the current directory, holding the words, with SDL's disk driver writing into out.raw there
// (read when a player opens the device), `delayMs` between buffers: 0 as fast as the machine goes, 150 as
// slowly as a real device takes them, so that words joined within a buffer are no luck.
struct Disk
{
    explicit Disk(int delayMs)
    {
        for (const auto &[file, run] : words)
            add(file, wavBytes(run.second, run.first));
        qputenv("SDL_AUDIODRIVER", "disk");
        qputenv("SDL_DISKAUDIOFILE", QFile::encodeName(folder.filePath("out.raw")));
        qputenv("SDL_DISKAUDIODELAY", QByteArray::number(delayMs));
        QDir::setCurrent(folder.path());
    }
    bool add(const QString &name, const QByteArray &bytes) const
    {
        QFile file(folder.filePath(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    // What was heard, as runs of equal frames, without the silence at both ends.
    Heard heard() const
    {
        Heard runs;
        QFile file(folder.filePath("out.raw"));
        const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4) {
            const qint16 left = qFromLittleEndian<qint16>(bytes.constData() + i);
            const int level = left == qFromLittleEndian<qint16>(bytes.constData() + i + 2) ? left : INT_MIN;
            if (!runs.empty() && runs.back().first == level)
                ++runs.back().second;
            else if (!runs.empty() || level)
                runs.emplace_back(level, 1);
        }
        while (!runs.empty() && runs.back().first == 0)
            runs.pop_back();
        return runs;
    }
    QTemporaryDir folder;
};

// Frames of one level, or (no level) all frames that are not silent.
qint64 framesOf(const Heard &heard, std::optional<int> level = std::nullopt)
{
    qint64 frames = 0;
    for (const auto &[at, length] : heard)
        frames += (level ? at == *level : at != 0) ? length : 0;
    return frames;
}

QByteArray describe(const Heard &heard)
{
    QByteArray text;
    for (const auto &[level, length] : heard)
        text += QByteArray::number(level) + 'x' + QByteArray::number(length) + ' ';
    return text.left(2000);
}

// Whether n (34 or 17) alone was heard, each word whole, the units word after less than a buffer and a
// millisecond of silence.
bool said(const Heard &heard, int n)
{
    const int tens = n == 17 ? 2 : 0;
    const qint64 gap = SdlSound::BufferFrames + SdlSound::Frequency / 1000;
    return (heard.size() == 2 || (heard.size() == 3 && heard[1].first == 0 && heard[1].second <= gap))
        && heard.front() == words[tens].second && heard.back() == words[tens + 1].second;
}

// Until `done`, by default until the mixer has played nothing for 20 ms and through three turns of the event
// loop (a word waiting for its turn starts in the first of them, however late it comes), the event loop
// running; a device that rests plays nothing. The limit only keeps a broken run from hanging.
bool waitUntil(std::function<bool()> done = {})
{
    QElapsedTimer clock, quiet;
    clock.start();
    quiet.start();
    int quietTurns = 0;
    if (!done)
        done = [&] {
            if (Mix_QuerySpec(nullptr, nullptr, nullptr) && Mix_Playing(-1)) {
                quiet.restart();
                quietTurns = 0;
                return false;
            }
            return ++quietTurns > 3 && quiet.hasExpired(20);
        };
    while (!done() && !clock.hasExpired(30000))
        QTest::qWait(1);
    return done();
}

} // namespace

class SoundTest : public QObject
{
    Q_OBJECT

private slots:
    // On a device that takes its buffers slowly, as a real one does, the units word starts in the buffer
    // after the one the tens word ended in. Once nothing has played for a while the device is closed (and the
    // disk driver's file with it); the next number opens it again and is heard as well as ever.
    void tensWordThenUnitsWordWithoutAGapAndARestBetweenNumbers()
    {
        Disk disk(150);
        std::optional<SdlSound> sound(std::in_place, 200);
        DecirNumero(*sound, 34);
        QVERIFY(waitUntil());
        QTRY_VERIFY_WITH_TIMEOUT(!sound->deviceOpen(), 30000);
        QVERIFY2(said(disk.heard(), 34), describe(disk.heard()));
        DecirNumero(*sound, 17);
        QVERIFY(waitUntil() && sound->deviceOpen());
        sound.reset();
        QVERIFY2(said(disk.heard(), 17), describe(disk.heard()));
    }

    // Saying a number again holds nothing: through the program's sound library, the call returns while the
    // tens word plays, and as the event loop runs the units word follows it as DecirNumero's would; a sound
    // played before the units word started makes it forgotten (had the call waited for the tens word, the
    // units word would be heard).
    void aNumberSaidWithoutWaitingIsJoinedAllTheSame()
    {
        for (const bool interrupted : {false, true}) {
            constexpr int delayMs = 300;
            Disk disk(delayMs);
            {
                DeferredSound sound(library);
                sound.play(QStringLiteral("none.wav"),
                           PlayMode::Async); // the library loaded, the device open
                DecirNumeroSinEsperar(sound, 34);
                // Had the call waited for the tens word, the units word would be playing now.
                for (int channel = 0; channel < Mix_AllocateChannels(-1); ++channel)
                    QVERIFY(!Mix_Playing(channel)
                            || Mix_GetChunk(channel)->alen != 4 * words[1].second.second);
                if (interrupted)
                    sound.play(QStringLiteral("dieci.wav"), PlayMode::Async);
                QVERIFY(waitUntil());
            }
            const Heard heard = disk.heard();
            QVERIFY2(interrupted ? framesOf(heard, -9000) == 0 && heard.back().first == 5000
                                 : said(heard, 34),
                     describe(heard));
        }
    }

    // A second Async sound cuts the first short at once, with a fade of a few milliseconds, not a click; a
    // SyncNoStop word is skipped while it plays, and played whole once nothing does.
    void asyncCutsShortSyncNoStopWaitsItsTurn()
    {
        const int first = 7000, second = -5000;
        Disk disk(20);
        QVERIFY(disk.add("first.wav", wavBytes(20000, first))
                && disk.add("second.wav", wavBytes(3000, second)));
        {
            SdlSound sound;
            QVERIFY(sound.openDevice());
            static std::atomic<int> buffers;
            Mix_SetPostMix([](void *, Uint8 *, int) { ++buffers; }, nullptr);
            sound.play(QStringLiteral("first.wav"), PlayMode::Async);
            const int before = buffers;
            QVERIFY(waitUntil([before] { return buffers > before + 1; })); // a whole buffer of it heard
            Mix_SetPostMix(nullptr, nullptr);
            sound.play(QStringLiteral("second.wav"), PlayMode::Async);
            Mix_Pause(-1); // still playing, however slowly this thread goes on
            sound.play(QStringLiteral("7.wav"), PlayMode::SyncNoStop);
            Mix_Resume(-1);
            QVERIFY(waitUntil());
            sound.play(QStringLiteral("7.wav"), PlayMode::SyncNoStop);
        }
        const Heard heard = disk.heard();
        // The first sound at full level for whole buffers until the cut, never again; the word once, at the
        // end.
        QVERIFY2(heard.size() > 2 && heard[0].first == first && heard[0].second % SdlSound::BufferFrames == 0
                     && framesOf(heard, first) == heard[0].second && heard.back() == Run(-7000, 300)
                     && framesOf(heard, -7000) == 300,
                 describe(heard));
        // Then the second sound whole, the first fading out under it.
        int fade = first;
        qint64 frames = 0, fadeFrames = 0;
        for (auto run = heard.begin() + 1; run < heard.end() - (heard.end()[-2].first == 0 ? 2 : 1); ++run) {
            const int left = run->first - second;
            QVERIFY2(left >= 0 && left <= fade && fade - left <= first / 32, describe(heard));
            fade = left;
            frames += run->second;
            fadeFrames += left > 0 ? run->second : 0;
        }
        QCOMPARE(frames, qint64(3000));
        QVERIFY2(fadeFrames > 0 && fadeFrames <= SdlSound::Frequency / 100, describe(heard));
    }

    void aFileIsPlayedOrSkippedNeverCrashes_data()
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
        const qint64 longest = qint64(SdlSound::LongestSoundSeconds) * SdlSound::Frequency;
        QTest::newRow("3 minutes") << wavBytes(22050 * 180, 200, 22050, 1, 8) << longest;
        for (const QString &name : testing::soundFileNames()) { // the program's own, each heard
            QFile file(QStringLiteral(CANTABOLA_PROGRAM_DIR "/") + name);
            QTest::newRow(qPrintable(name))
                << (file.open(QIODevice::ReadOnly) ? file.readAll() : "") << longest;
        }
    }
    void aFileIsPlayedOrSkippedNeverCrashes()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, most);
        Disk disk(0);
        QVERIFY(bytes.isNull() || disk.add("played.wav", bytes));
        {
            SdlSound sound;
            sound.play(QStringLiteral("played.wav"), PlayMode::SyncNoStop);
            sound.play(QStringLiteral("played.wav"), PlayMode::Async); // again, from what was kept of it
            QVERIFY(waitUntil());
            sound.play(QStringLiteral("dieci.wav"), PlayMode::SyncNoStop);
        }
        const Heard heard = disk.heard();
        const qint64 played = framesOf(heard) - 900; // all but the word played last, whole
        QVERIFY2(!heard.empty() && heard.back() == Run(5000, 900)
                     && (most ? played > SdlSound::Frequency / 200 && played <= 2 * most : played == 0),
                 describe(heard));
    }

    void aBrokenLibraryLeavesTheProgramSilentAndQuiet_data()
    {
        QTest::addColumn<QString>("name"); // empty: a library of the system
        QTest::addColumn<QByteArray>("contents"); // null: nothing written
        QTest::newRow("missing") << "cantabola_sound.so" << QByteArray();
        QTest::newRow("ELF, then junk") << "cantabola_sound.so" << QByteArray("\177ELF").append(300, 'x');
        QTest::newRow("a library without the entry") << QString() << QByteArray();
    }
    void aBrokenLibraryLeavesTheProgramSilentAndQuiet()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, contents);
        Disk disk(0);
        const QString path = name.isEmpty()
            ? QLibraryInfo::path(QLibraryInfo::LibrariesPath) + "/libQt6Core.so.6"
            : disk.folder.filePath(name);
        QVERIFY(contents.isNull() || disk.add(name, contents));
        static QStringList categories; // of the messages given
        categories.clear();
        const QtMessageHandler previous
            = qInstallMessageHandler([](QtMsgType, const QMessageLogContext &context, const QString &) {
                  categories << context.category;
              });
        DeferredSound sound(path);
        QVERIFY(!sound.load());
        sound.play(QStringLiteral("dieci.wav"), PlayMode::SyncNoStop);
        sound.play(QStringLiteral("dieci.wav"), PlayMode::Async);
        const QStringList byDefault = categories;
        // A maintainer asks why.
        QLoggingCategory::setFilterRules(QStringLiteral("cantabola.sound.debug=true"));
        DeferredSound(path).load();
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(previous);
        QVERIFY2(byDefault.isEmpty(), qPrintable(byDefault.join(' ')));
        QCOMPARE(categories, QStringList{"cantabola.sound"});
        QVERIFY(disk.heard().empty());
    }

    // SDL and its decoders do not load before the window can show: the executable names none of them.
    void theExecutableLeavesSdlToTheLibrary()
    {
        const auto needed
            = [](const QString &file) { // an ELF file's dynamic section, which names its libraries
                  QProcess readelf;
                  readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), file});
                  return readelf.waitForFinished(30000)
                      ? QString::fromLocal8Bit(readelf.readAllStandardOutput())
                      : "";
              };
        const QString program = needed(QStringLiteral(CANTABOLA_PROGRAM_DIR "/cantabola"));
        QVERIFY2(program.contains("libQt6Widgets") && !program.contains("libSDL"), qPrintable(program));
        QVERIFY2(needed(library).contains("libSDL2_mixer"), qPrintable(needed(library)));
    }
};

QTEST_GUILESS_MAIN(SoundTest)
#include "SoundTest.moc"
