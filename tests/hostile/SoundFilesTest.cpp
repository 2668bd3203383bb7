// The whole program calling with one of its 32 sound files damaged, for every file in turn and for all of
// them at once: missing, empty, cut short in its header or in its sound, not a WAV at all, or a valid WAV of
// another format (8-bit mono, 48 kHz stereo, no frames at all). The real SdlSound decodes whatever lies
// there. Whatever the damage, a whole automatic game and twenty single draws complete with the board right,
// the banner goes round, the help opens, and nothing is said about the sound: the only message is the
// end-of-game question.

#include "HostileProgram.h"
#include "VoiceTestSupport.h"

#include <QFile>
#include <QTest>

using namespace hostile;
using voicetest::WavFormat;

namespace {

const QString allFiles = QStringLiteral("all 32 files");

// The damages this test tries, set by the build ("missing|empty"): the suite is split into a few tests that
// run side by side.
const QStringList damages = QStringLiteral(CANTABOLA_HOSTILE_SOUND_DAMAGES).split(QLatin1Char('|'));

QByteArray tone(const WavFormat &format, qint64 frames, int level)
{
    return voicetest::wavBytes(format, voicetest::constantPcm(format, frames, level));
}

bool damage(ProgramFolder &folder, const QString &file, const QString &how)
{
    // The damage is done to the program's own recording of the word.
    QFile recording(QStringLiteral(CANTABOLA_SOURCE_DIR "/assets/sounds/") + file);
    if (!recording.open(QIODevice::ReadOnly))
        return false;
    const QByteArray original = recording.readAll();
    if (original.size() < 100)
        return false;
    if (how == QLatin1String("missing"))
        return folder.remove(file);
    if (how == QLatin1String("empty"))
        return folder.write(file, QByteArray());
    if (how == QLatin1String("cut in its header")) // within the format chunk
        return folder.write(file, original.left(30));
    if (how == QLatin1String("cut in its sound")) // the data chunk says more than there is
        return folder.write(file, original.left(original.size() / 2));
    if (how == QLatin1String("not a WAV"))
        return folder.write(file, "Esto no es un sonido: es un texto con nombre de sonido.\n");
    if (how == QLatin1String("8-bit mono"))
        return folder.write(file, tone({22050, 1, 8, 1}, 4000, 200));
    if (how == QLatin1String("48 kHz stereo"))
        return folder.write(file, tone({48000, 2, 16, 1}, 9600, 1500));
    if (how == QLatin1String("0 frames"))
        return folder.write(file, tone({22050, 1, 16, 1}, 0, 0));
    qWarning("unknown damage \"%s\"", qPrintable(how));
    return false;
}

} // namespace

class SoundFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        recordCase({QString::fromUtf8(QTest::currentDataTag()), !QTest::currentTestFailed(), m_summary, {}});
        m_summary = {};
    }
    void cleanupTestCase()
    {
        printCaseTable(QStringLiteral("Damaged sound files, the whole program calling"));
    }

    void aDamagedSoundFileNeitherStopsNorBreaksTheCalling_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("how");
        for (const QString &how : damages) {
            for (const QString &file : soundFiles)
                QTest::addRow("%s %s", qPrintable(file), qPrintable(how)) << file << how;
            QTest::addRow("%s %s", qPrintable(allFiles), qPrintable(how)) << allFiles << how;
        }
    }
    void aDamagedSoundFileNeitherStopsNorBreaksTheCalling()
    {
        QFETCH(QString, file);
        QFETCH(QString, how);
        ProgramFolder folder(ProgramFolder::Words::Short);
        QVERIFY(folder.isValid());
        const QStringList files = file == allFiles ? soundFiles : QStringList{file};
        for (const QString &name : files)
            QVERIFY2(damage(folder, name, how), qPrintable(name));

        const Watchdog watchdog(QString::fromUtf8(QTest::currentDataTag()), std::chrono::seconds(120));
        Expectations expect;
        expect.requested = files;
        // Hundreds of runs: fewer single draws and ticks than the other suites, still every word and the
        // signal, and the banner still goes round.
        expect.singleDraws = 20;
        expect.waitsPerTick = 5;
        HostileProgram program(folder.path(), expect);
        m_summary = program.run();
        QVERIFY2(m_summary.failure.isEmpty(), qPrintable(m_summary.failure));
    }

private:
    RunSummary m_summary;
};

QTEST_MAIN(SoundFilesTest)
#include "SoundFilesTest.moc"
