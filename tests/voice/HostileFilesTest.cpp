// SdlSound with files that are not what they should be, and with no sound device at all: play() returns
// in both modes, nothing crashes, nothing is reported, and the next good file is heard as usual. Valid WAV
// files of another format (8-bit mono, 48 kHz) are converted and heard.

#include "SdlSound.h"
#include "VoiceTestSupport.h"

#include <QTemporaryDir>
#include <QTest>

using namespace cantabola;
using namespace voicetest;

Q_DECLARE_METATYPE(cantabola::PlayMode)

namespace {

constexpr int GoodLevel = 3210;
constexpr qint64 GoodFrames = 800;

QByteArray header16(qint64 frames, int level, WavFormat format = {})
{
    return wavBytes(format, constantPcm(format, frames, level));
}

// Restores an environment variable at the end of a test.
class EnvironmentVariable
{
public:
    EnvironmentVariable(const char *name, const QByteArray &value)
        : m_name(name)
        , m_old(qgetenv(name))
        , m_wasSet(qEnvironmentVariableIsSet(name))
    {
        qputenv(name, value);
    }
    ~EnvironmentVariable()
    {
        if (m_wasSet)
            qputenv(m_name, m_old);
        else
            qunsetenv(m_name);
    }

private:
    const char *m_name;
    QByteArray m_old;
    bool m_wasSet;
};

} // namespace

class HostileFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void hostileFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("heard"); // whether the file holds sound that should be heard

        QTest::newRow("empty") << QByteArray() << false;
        QTest::newRow("truncated header") << QByteArray("RIFF\x24\x00\x00\x00WAV", 11) << false;
        QTest::newRow("header cut in the format chunk") << header16(100, 1000).left(30) << false;
        QTest::newRow("header without data chunk") << header16(100, 1000).left(36) << false;
        QTest::newRow("text file") << QByteArray("Esto no es un sonido, es un texto.\n") << false;
        QTest::newRow("RIFF WAVE then garbage")
            << QByteArray("RIFF\xff\xff\xff\x7fWAVE", 12) + QByteArray(3000, '\xa5') << false;
        QTest::newRow("zero frames") << header16(0, 1000) << false;
        QTest::newRow("zero channels") << header16(100, 1000, {44100, 0, 16, 1}) << false;
        QTest::newRow("zero rate") << header16(100, 1000, {0, 2, 16, 1}) << false;
        QTest::newRow("rate of 1 Hz") << header16(20000, 1000, {1, 1, 16, 1}) << false;
        QTest::newRow("unknown format tag") << header16(100, 1000, {44100, 2, 16, 0x1234}) << false;
        QTest::newRow("24 channels") << header16(100, 1000, {44100, 24, 16, 1}) << false;

        const WavFormat eightBitMono {22050, 1, 8, 1};
        QTest::newRow("8-bit mono 22050 Hz")
            << wavBytes(eightBitMono, constantPcm(eightBitMono, 4000, 200)) << true;
        QTest::newRow("48 kHz stereo") << header16(4800, 1500, {48000, 2, 16, 1}) << true;
        const WavFormat mono {44100, 1, 16, 1};
        QTest::newRow("data shorter than its header says")
            << wavBytes(mono, constantPcm(mono, 1000, 1700), qint64(100000) * 2) << true;
        QTest::newRow("data size field of 4 GB")
            << wavBytes(mono, constantPcm(mono, 1000, 1700), 0xfffffff0) << true;
        QTest::newRow("odd data size") << wavBytes(mono, constantPcm(mono, 1000, 1700) + "x") << true;
    }

    void hostileFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, heard);
        for (PlayMode mode : {PlayMode::Async, PlayMode::SyncNoStop}) {
            QTemporaryDir folder;
            QVERIFY(folder.isValid());
            QVERIFY(writeFile(folder.filePath("hostile.wav"), bytes));
            QVERIFY(writeTone(folder.filePath("good.wav"), GoodFrames, GoodLevel));
            DiskSession session(folder.path(), 0);
            {
                SdlSound sound;
                sound.play(QStringLiteral("hostile.wav"), mode);
                sound.play(QStringLiteral("hostile.wav"), mode); // again, from what was kept of it
                QVERIFY(waitUntilQuiet());
                sound.play(QStringLiteral("good.wav"), PlayMode::SyncNoStop);
            }
            const std::vector<Run> runs = trimmed(readRuns(session.output));
            QCOMPARE(framesOf(runs, GoodLevel), GoodFrames);
            const qint64 others = nonSilentFrames(runs) - GoodFrames;
            if (heard)
                QVERIFY2(others > 0, "a valid file of another format was not heard");
            else
                QCOMPARE(others, qint64(0));
        }
    }

    void missingFileAndFolder()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(QDir(folder.path()).mkdir(QStringLiteral("folder.wav")));
        QVERIFY(writeTone(folder.filePath("good.wav"), GoodFrames, GoodLevel));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            for (PlayMode mode : {PlayMode::Async, PlayMode::SyncNoStop}) {
                sound.play(QStringLiteral("missing.wav"), mode);
                sound.play(QStringLiteral("folder.wav"), mode);
                sound.play(QString(), mode);
                sound.play(QStringLiteral("/nonexistent/folder/9.wav"), mode);
            }
            sound.play(QStringLiteral("good.wav"), PlayMode::SyncNoStop);
        }
        const std::vector<Run> runs = trimmed(readRuns(session.output));
        QCOMPARE(nonSilentFrames(runs), GoodFrames);
        QCOMPARE(framesOf(runs, GoodLevel), GoodFrames);
    }

    // A file over 16 MB is refused without being decoded, even a well-formed one.
    void tooLargeAFile()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("large.wav"), SdlSound::MaxFileBytes / 4 + 1000, 1234));
        QVERIFY(QFileInfo(folder.filePath("large.wav")).size() > SdlSound::MaxFileBytes);
        QVERIFY(writeTone(folder.filePath("good.wav"), GoodFrames, GoodLevel));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            sound.play(QStringLiteral("large.wav"), PlayMode::Async);
            sound.play(QStringLiteral("large.wav"), PlayMode::SyncNoStop);
            sound.play(QStringLiteral("good.wav"), PlayMode::SyncNoStop);
        }
        const std::vector<Run> runs = trimmed(readRuns(session.output));
        QCOMPARE(framesOf(runs, 1234), qint64(0));
        QCOMPARE(nonSilentFrames(runs), GoodFrames);
    }

    // An Async cut of a sound by a file that cannot be played still cuts it.
    void anUnplayableFileStillCutsShort()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("long.wav"), 100000, 4321));
        DiskSession session(folder.path(), 0);
        {
            SdlSound sound;
            QVERIFY(sound.openDevice());
            const SDL_AudioDeviceID device = openedDevice();
            QVERIFY(device != 0);
            SDL_LockAudioDevice(device); // nothing of the long sound is mixed before the cut
            sound.play(QStringLiteral("long.wav"), PlayMode::Async);
            sound.play(QStringLiteral("missing.wav"), PlayMode::Async);
            SDL_UnlockAudioDevice(device);
            QVERIFY(waitUntilQuiet());
        }
        const std::vector<Run> runs = trimmed(readRuns(session.output));
        QVERIFY(framesOf(runs, 4321) <= 1);
        QVERIFY(nonSilentFrames(runs) <= SdlSound::Frequency / 100);
    }

    void noSuchAudioDriver()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("good.wav"), GoodFrames, GoodLevel));
        DiskSession session(folder.path(), 0);
        EnvironmentVariable driver("SDL_AUDIODRIVER", "no-such-driver");
        SdlSound sound;
        for (PlayMode mode : {PlayMode::Async, PlayMode::SyncNoStop, PlayMode::Async})
            sound.play(QStringLiteral("good.wav"), mode);
        QVERIFY(!sound.openDevice());
    }

    void aDeviceThatCannotBeOpened()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("good.wav"), GoodFrames, GoodLevel));
        DiskSession session(folder.path(), 0);
        EnvironmentVariable output("SDL_DISKAUDIOFILE", "/nonexistent/folder/out.raw");
        SdlSound sound;
        for (PlayMode mode : {PlayMode::SyncNoStop, PlayMode::Async})
            sound.play(QStringLiteral("good.wav"), mode);
        QVERIFY(!sound.openDevice());
    }

    // SDL's mixer is one per process: a second SdlSound stays silent and the first one plays on; once the
    // first is gone, a new one has the device.
    void oneDeviceAtATime()
    {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("good.wav"), GoodFrames, GoodLevel));
        QVERIFY(writeTone(folder.filePath("other.wav"), 300, 999));
        {
            DiskSession session(folder.path(), 0);
            {
                SdlSound first;
                QVERIFY(first.openDevice());
                {
                    SdlSound second;
                    QVERIFY(!second.openDevice());
                    second.play(QStringLiteral("other.wav"), PlayMode::SyncNoStop);
                    second.play(QStringLiteral("other.wav"), PlayMode::Async);
                }
                first.play(QStringLiteral("good.wav"), PlayMode::SyncNoStop);
            }
            const std::vector<Run> runs = trimmed(readRuns(session.output));
            QCOMPARE(nonSilentFrames(runs), GoodFrames);
        }
        DiskSession session(folder.path(), 0);
        {
            SdlSound third;
            third.play(QStringLiteral("other.wav"), PlayMode::SyncNoStop);
        }
        QCOMPARE(framesOf(trimmed(readRuns(session.output)), 999), qint64(300));
    }
};

QTEST_GUILESS_MAIN(HostileFilesTest)
#include "HostileFilesTest.moc"
