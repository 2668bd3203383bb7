// The recorded words themselves: the 32 files are in assets/sounds and beside the built
// program, every file a number needs is among them, and each one is heard when played through SdlSound.
// With assets/sounds still empty this test fails (it does not skip): the program would be mute.

#include "SdlSound.h"
#include "VoiceTestSupport.h"
#include "WordPlan.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

using namespace cantabola;
using namespace voicetest;

namespace {

const QString sourceSounds = QStringLiteral(CANTABOLA_SOURCE_DIR "/assets/sounds");
const QString programFolder = QStringLiteral(CANTABOLA_PROGRAM_DIR);

struct WaveHeader
{
    bool valid = false;
    quint32 rate = 0;
    quint16 blockAlign = 0;
    qint64 dataBytes = 0;
};

WaveHeader readHeader(const QString &path)
{
    WaveHeader header;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return header;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return header;
    qsizetype pos = 12;
    bool haveFormat = false;
    while (pos + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(pos, 4);
        const qint64 length = qFromLittleEndian<quint32>(bytes.constData() + pos + 4);
        if (id == "fmt " && pos + 8 + 16 <= bytes.size()) {
            header.rate = qFromLittleEndian<quint32>(bytes.constData() + pos + 12);
            header.blockAlign = qFromLittleEndian<quint16>(bytes.constData() + pos + 20);
            haveFormat = true;
        } else if (id == "data") {
            header.dataBytes = std::min<qint64>(length, bytes.size() - pos - 8);
            break;
        }
        pos += 8 + length + (length & 1);
    }
    header.valid = haveFormat && header.rate > 0 && header.blockAlign > 0 && header.dataBytes > 0;
    return header;
}

} // namespace

class AssetsTest : public QObject
{
    Q_OBJECT

private slots:
    void theSoundFolderHoldsRecordings()
    {
        const QStringList wavs = QDir(sourceSounds).entryList({QStringLiteral("*.wav")}, QDir::Files);
        QVERIFY2(!wavs.isEmpty(),
                 qPrintable(QStringLiteral("%1 holds no WAV files: the recorded words are missing "
                                           "(tools/make-voice makes them)")
                                .arg(sourceSounds)));
    }

    void everyExpectedFileIsAWaveFile()
    {
        QStringList missing, broken;
        for (const QString &name : expectedSoundFiles) {
            const QString path = QDir(sourceSounds).filePath(name);
            if (!QFileInfo::exists(path))
                missing << name;
            else if (!readHeader(path).valid)
                broken << name;
        }
        QVERIFY2(
            missing.isEmpty(),
            qPrintable(
                QStringLiteral("missing from %1: %2").arg(sourceSounds, missing.join(QLatin1Char(' ')))));
        QVERIFY2(
            broken.isEmpty(),
            qPrintable(QStringLiteral("not a WAV file with sound: %1").arg(broken.join(QLatin1Char(' ')))));
    }

    void everyFileANumberNeedsIsThere()
    {
        QSet<QString> present;
        for (const QString &name : QDir(sourceSounds).entryList({QStringLiteral("*.wav")}, QDir::Files))
            present.insert(name);
        for (int n = 1; n <= 90; ++n) {
            for (const Word &word : wordPlan(n)) {
                const QString file = QString::fromStdString(word.file);
                QVERIFY2(present.contains(file), qPrintable(QStringLiteral("%1 needs %2").arg(n).arg(file)));
            }
        }
        QVERIFY2(present.contains(QStringLiteral("pac.wav")), "the signal pac.wav is missing");
    }

    void theBuiltProgramHasThemBesideIt()
    {
        QStringList missing;
        for (const QString &name : expectedSoundFiles) {
            if (!QFileInfo::exists(QDir(programFolder).filePath(name)))
                missing << name;
        }
        QVERIFY2(
            missing.isEmpty(),
            qPrintable(
                QStringLiteral("missing from %1: %2").arg(programFolder, missing.join(QLatin1Char(' ')))));
    }

    // Each file decoded and heard in full through the program's own player.
    void eachFileIsHeard()
    {
        QStringList silent;
        for (const QString &name : expectedSoundFiles) {
            const QString path = QDir(sourceSounds).filePath(name);
            const WaveHeader header = readHeader(path);
            if (!header.valid)
                continue; // reported above
            QTemporaryDir folder;
            QVERIFY(folder.isValid());
            QVERIFY(QFile::copy(path, folder.filePath(name)));
            DiskSession session(folder.path(), 0);
            {
                SdlSound sound;
                sound.play(name, PlayMode::SyncNoStop);
            }
            const std::vector<Run> heard = trimmed(readRuns(session.output));
            qint64 span = 0;
            for (const Run &run : heard)
                span += run.length;
            const qint64 expected = header.dataBytes / header.blockAlign * SdlSound::Frequency / header.rate;
            if (nonSilentFrames(heard) == 0 || span < expected / 2 || span > expected + 64)
                silent << QStringLiteral("%1 (%2 of %3 frames)").arg(name).arg(span).arg(expected);
        }
        QVERIFY2(silent.isEmpty(), qPrintable(QStringLiteral("not heard in full: ") + silent.join(", ")));
    }
};

QTEST_GUILESS_MAIN(AssetsTest)
#include "AssetsTest.moc"
