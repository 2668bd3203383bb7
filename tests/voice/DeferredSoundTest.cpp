// The program's sound as the program has it: the player in its own library, loaded from the program's folder
// after start-up and heard through SDL's "disk" audio driver; a missing or broken library leaves the program
// silent; and the executable itself does not link the sound libraries, which is the reason for all this.

#include "DeferredSound.h"
#include "DecirNumero.h"
#include "VoiceTestSupport.h"

#include <QLibraryInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace cantabola;
using namespace voicetest;

namespace {

const QString programFolder = QStringLiteral(CANTABOLA_PROGRAM_DIR);
const QString library = programFolder + QLatin1Char('/') + QLatin1String(SoundLibraryFileName);

// The NEEDED entries of an ELF file's dynamic section, as readelf lists them.
QStringList neededLibraries(const QString &file)
{
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), file});
    if (!readelf.waitForFinished(30000) || readelf.exitCode() != 0)
        return {QStringLiteral("(readelf failed)")};
    QStringList needed;
    for (const QString &line :
         QString::fromLocal8Bit(readelf.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.contains(QLatin1String("(NEEDED)")))
            needed << line.section(QLatin1Char('['), 1).section(QLatin1Char(']'), 0, 0);
    }
    return needed;
}

} // namespace

class DeferredSoundTest : public QObject
{
    Q_OBJECT

private slots:
    void theWordsOfANumberAreHeardThroughTheLibrary_data()
    {
        QTest::addColumn<bool>("loadedFirst");
        QTest::newRow("loaded once the window is up") << true;
        QTest::newRow("loaded by the first sound") << false;
    }
    void theWordsOfANumberAreHeardThroughTheLibrary()
    {
        QFETCH(bool, loadedFirst);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("treintay.wav"), 3000, 6000));
        QVERIFY(writeTone(folder.filePath("5.wav"), 2000, -9000));
        DiskSession session(folder.path(), 0);
        {
            DeferredSound sound(library);
            if (loadedFirst)
                QVERIFY(sound.load());
            DecirNumero(sound, 35);
            QVERIFY(waitUntilQuiet());
        }
        const std::vector<Run> heard = trimmed(readRuns(session.output));
        QVERIFY(!heard.empty());
        QVERIFY(heard.front().is(6000));
        QVERIFY(heard.back().is(-9000));
        QCOMPARE(framesOf(heard, 6000), qint64(3000));
        QCOMPARE(framesOf(heard, -9000), qint64(2000));
    }

    void aMissingOrBrokenLibraryLeavesTheProgramSilent_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("contents");
        QTest::newRow("missing") << QStringLiteral("cantabola_sound.so") << QByteArray();
        QTest::newRow("empty") << QStringLiteral("cantabola_sound.so") << QByteArray("");
        QTest::newRow("not a library") << QStringLiteral("cantabola_sound.so")
                                       << QByteArray("\x7f"
                                                     "ELF")
                + QByteArray(300, 'x');
        QTest::newRow("a folder") << QStringLiteral("cantabola_sound.so/") << QByteArray();
        QTest::newRow("a library without the entry") << QString() << QByteArray();
    }
    void aMissingOrBrokenLibraryLeavesTheProgramSilent()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, contents);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QVERIFY(writeTone(folder.filePath("pac.wav"), 2000, 5000));
        QString path = folder.filePath(fileName);
        if (fileName.isEmpty())
            path = QLibraryInfo::path(QLibraryInfo::LibrariesPath) + QStringLiteral("/libQt6Core.so.6");
        else if (fileName.endsWith(QLatin1Char('/')))
            QVERIFY(QDir(folder.path()).mkdir(fileName));
        else if (!contents.isNull())
            QVERIFY(writeFile(path, contents));

        DiskSession session(folder.path(), 0);
        DeferredSound sound(path);
        QVERIFY(!sound.load());
        sound.play(QStringLiteral("pac.wav"), PlayMode::SyncNoStop);
        sound.play(QStringLiteral("pac.wav"), PlayMode::Async);
        QVERIFY(!sound.load());
        QVERIFY(!QFile::exists(session.output) || trimmed(readRuns(session.output)).empty());
    }

    // SDL and its decoders are not loaded before the window can show: the executable names none of them,
    // and the library does.
    void theProgramLeavesTheSoundLibrariesToItsLibrary()
    {
        const QStringList program = neededLibraries(programFolder + QStringLiteral("/cantabola"));
        QVERIFY2(program.contains(QStringLiteral("libQt6Widgets.so.6")), qPrintable(program.join(' ')));
        QVERIFY2(program.filter(QStringLiteral("SDL")).isEmpty(), qPrintable(program.join(' ')));
        const QStringList sound = neededLibraries(library);
        QVERIFY2(!sound.filter(QStringLiteral("libSDL2_mixer")).isEmpty(), qPrintable(sound.join(' ')));
    }
};

QTEST_GUILESS_MAIN(DeferredSoundTest)
#include "DeferredSoundTest.moc"
