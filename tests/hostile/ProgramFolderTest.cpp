// The whole program in a program folder whose other runtime files are damaged: the help document missing,
// binary, huge or unreadable; the data folder missing, a file, empty or unreadable; all nine banner pictures
// cut short, huge, not GIFs, or unreadable; all nine address files binary, huge, empty or unreadable; the
// folder itself not writable; and everything gone at once. In every case a whole automatic game and fifty
// single draws complete, the banner goes round, and the only message is the end-of-game question. The banner
// shows and links what is still readable; the help window says what it found.
//
// Taking permissions away stops nobody with the rights of root (CI runs as root): such cases then read the
// files after all, expect what a readable file gives, and say so in the table.

#include "HostileProgram.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <functional>
#include <unistd.h>

using namespace hostile;

namespace {

const QString missingHelp = QStringLiteral("No se encuentra el archivo de ayuda «ayudabingo.html».");
const QString unreadableHelp = QStringLiteral("El archivo de ayuda «ayudabingo.html» no se puede leer.");
const QString readAsRoot = QStringLiteral("root: permissions do not stop reading, the files were read");
constexpr qint64 twentyMegabytes = qint64(20) * 1024 * 1024;

QString picture(int n)
{
    return QStringLiteral("data/b%1.gif").arg(n);
}
QString address(int n)
{
    return QStringLiteral("data/t%1.txt").arg(n);
}

// Damages the folder and says what the program should still give. Returns false when the damage could not
// be done; notes say how the case went where the machine decides (permissions under root).
using Damage = std::function<bool(ProgramFolder &folder, Expectations &expect, QString &notes)>;

struct Case
{
    QString name;
    Damage damage;
};

bool eachPicture(ProgramFolder &folder, const std::function<QByteArray(const QByteArray &original)> &change)
{
    for (int n = 1; n <= 9; ++n) {
        if (!folder.write(picture(n), change(folder.read(picture(n)))))
            return false;
    }
    return true;
}

bool eachAddress(ProgramFolder &folder, const QByteArray &content)
{
    for (int n = 1; n <= 9; ++n) {
        if (!folder.write(address(n), content))
            return false;
    }
    return true;
}

QByteArray pngPicture()
{
    QImage image(414, 57, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return png.data();
}

// Takes every permission from the nine files of one kind; returns whether they can still be read.
bool restrictEach(ProgramFolder &folder, const std::function<QString(int)> &name)
{
    bool readable = false;
    for (int n = 1; n <= 9; ++n)
        readable = folder.restrict(name(n), 0) || readable;
    return readable;
}

const std::vector<Case> &cases()
{
    static const std::vector<Case> all = {
        // The help document.
        {"help missing",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.helpSays = missingHelp;
             return f.remove("ayudabingo.html");
         }},
        {"help binary (a GIF under its name)",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.helpSays = unreadableHelp;
             return f.write("ayudabingo.html", f.read(picture(1)));
         }},
        {"help empty",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.helpSays.clear();
             return f.write("ayudabingo.html", QByteArray());
         }},
        {"help a folder",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.helpSays = missingHelp;
             return f.remove("ayudabingo.html") && f.makeFolder("ayudabingo.html");
         }},
        {"help of 20 MB",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.helpSays = missingHelp;
             return f.writeSparse("ayudabingo.html", f.read("ayudabingo.html"), twentyMegabytes);
         }},
        {"help in Latin-1, not UTF-8",
         [](ProgramFolder &f, Expectations &, QString &) {
             return f.write("ayudabingo.html", QString::fromUtf8(f.read("ayudabingo.html")).toLatin1());
         }},
        {"help unreadable (chmod 000)",
         [](ProgramFolder &f, Expectations &e, QString &notes) {
             if (f.restrict("ayudabingo.html", 0))
                 notes = readAsRoot;
             else
                 e.helpSays = missingHelp;
             return true;
         }},

        // The data folder.
        {"data folder missing",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             e.picture = Picture::Blank;
             return f.remove("data");
         }},
        {"data a file, not a folder",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             e.picture = Picture::Blank;
             return f.remove("data") && f.write("data", "http://patrocinador1.example/\n");
         }},
        {"data folder empty",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             e.picture = Picture::Blank;
             return f.remove("data") && f.makeFolder("data");
         }},
        {"data a link to nowhere",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             e.picture = Picture::Blank;
             return f.remove("data") && QFile::link("/nonexistent/cantabola/data", f.filePath("data"));
         }},
        {"data folder unreadable (chmod 000)",
         [](ProgramFolder &f, Expectations &e, QString &notes) {
             if (f.restrict("data", 0)) {
                 notes = readAsRoot;
             } else {
                 e.links = Links::None;
                 e.picture = Picture::Blank;
             }
             return true;
         }},

        // The nine banner pictures.
        {"pictures missing",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             for (int n = 1; n <= 9; ++n) {
                 if (!f.remove(picture(n)))
                     return false;
             }
             return true;
         }},
        {"pictures empty",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             return eachPicture(f, [](const QByteArray &) { return QByteArray(); });
         }},
        {"pictures cut in the header",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             return eachPicture(f, [](const QByteArray &gif) { return gif.left(10); });
         }},
        {"pictures cut in the colour table",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Either;
             return eachPicture(f, [](const QByteArray &gif) { return gif.left(100); });
         }},
        {"pictures cut in the first frame",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Either;
             return eachPicture(f, [](const QByteArray &gif) { return gif.left(1000); });
         }},
        {"pictures cut after the first frame",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Either;
             return eachPicture(f, [](const QByteArray &gif) { return gif.left(gif.size() * 2 / 3); });
         }},
        {"pictures of 20 MB",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             for (int n = 1; n <= 9; ++n) {
                 if (!f.writeSparse(picture(n), f.read(picture(n)).chopped(1), twentyMegabytes))
                     return false;
             }
             return true;
         }},
        {"pictures of 15 MB, zeros after the frames",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Either;
             for (int n = 1; n <= 9; ++n) {
                 if (!f.writeSparse(picture(n), f.read(picture(n)).chopped(1), qint64(15) * 1024 * 1024))
                     return false;
             }
             return true;
         }},
        {"pictures that are PNGs",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             const QByteArray png = pngPicture();
             return eachPicture(f, [&png](const QByteArray &) { return png; });
         }},
        {"pictures that are text",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             return eachPicture(f, [](const QByteArray &) { return QByteArray("GIF89a, o eso dice.\n"); });
         }},
        {"pictures that claim 65535 x 65535 pixels",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             return eachPicture(f, [](QByteArray gif) {
                 gif.replace(6, 4, QByteArray(4, '\xFF'));
                 return gif;
             });
         }},
        {"pictures with small frames on a 5000 x 5000 screen",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             return eachPicture(f, [](QByteArray gif) {
                 gif.replace(6, 4, QByteArray("\x88\x13\x88\x13", 4));
                 return gif;
             });
         }},
        {"pictures are folders",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.picture = Picture::Blank;
             for (int n = 1; n <= 9; ++n) {
                 if (!f.remove(picture(n)) || !f.makeFolder(picture(n)))
                     return false;
             }
             return true;
         }},
        {"pictures unreadable (chmod 000)",
         [](ProgramFolder &f, Expectations &e, QString &notes) {
             if (restrictEach(f, picture))
                 notes = readAsRoot;
             else
                 e.picture = Picture::Blank;
             return true;
         }},

        // The nine address files.
        {"addresses missing",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             for (int n = 1; n <= 9; ++n) {
                 if (!f.remove(address(n)))
                     return false;
             }
             return true;
         }},
        {"addresses empty",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             return eachAddress(f, QByteArray());
         }},
        {"addresses binary (every byte value)",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             QByteArray bytes;
             for (int i = 0; i < 256; ++i)
                 bytes += static_cast<char>(i);
             return eachAddress(f, bytes + bytes);
         }},
        {"addresses binary (a GIF under their name)",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             return eachAddress(f, f.read(picture(1)));
         }},
        {"addresses of 20 MB in one line",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             // One file under nine names: 20 MB of disk, not 180.
             const QByteArray huge = "http://patrocinador.example/" + QByteArray(twentyMegabytes, 'a') + "\n";
             if (!f.write(address(1), huge))
                 return false;
             for (int n = 2; n <= 9; ++n) {
                 if (!f.remove(address(n))
                     || ::link(QFile::encodeName(f.filePath(address(1))).constData(),
                               QFile::encodeName(f.filePath(address(n))).constData())
                         != 0)
                     return false;
             }
             return true;
         }},
        {"addresses of 20 MB, the address on the first line",
         [](ProgramFolder &f, Expectations &, QString &) {
             for (int n = 1; n <= 9; ++n) {
                 if (!f.writeSparse(address(n), goodAddressFile(n), twentyMegabytes))
                     return false;
             }
             return true;
         }},
        {"addresses are folders",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             for (int n = 1; n <= 9; ++n) {
                 if (!f.remove(address(n)) || !f.makeFolder(address(n)))
                     return false;
             }
             return true;
         }},
        {"addresses unreadable (chmod 000)",
         [](ProgramFolder &f, Expectations &e, QString &notes) {
             if (restrictEach(f, address))
                 notes = readAsRoot;
             else
                 e.links = Links::None;
             return true;
         }},

        // The program's folder, which start-up makes the current directory.
        {"program folder not writable (chmod 555)",
         [](ProgramFolder &f, Expectations &, QString &notes) {
             f.restrict(QString(), 0555);
             QFile probe(f.filePath("probe"));
             if (probe.open(QIODevice::WriteOnly)) {
                 probe.remove();
                 notes = QStringLiteral("root: permissions do not stop writing, the folder stayed writable");
             }
             return true;
         }},
        {"program folder holding only the program",
         [](ProgramFolder &f, Expectations &e, QString &) {
             e.links = Links::None;
             e.picture = Picture::Blank;
             e.helpSays = missingHelp;
             e.requested = soundFiles;
             bool removed = f.remove("data") && f.remove("ayudabingo.html");
             for (const QString &name : soundFiles)
                 removed = f.remove(name) && removed;
             return removed;
         }},
    };
    return all;
}

} // namespace

class ProgramFolderTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup()
    {
        recordCase(
            {QString::fromUtf8(QTest::currentDataTag()), !QTest::currentTestFailed(), m_summary, m_notes});
        m_summary = {};
        m_notes.clear();
    }
    void cleanupTestCase()
    {
        printCaseTable(QStringLiteral("Damaged program folder, the whole program calling"));
    }

    void aDamagedProgramFolderNeitherStopsNorBreaksTheCalling_data()
    {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < cases().size(); ++i)
            QTest::newRow(qPrintable(cases()[i].name)) << static_cast<int>(i);
    }
    void aDamagedProgramFolderNeitherStopsNorBreaksTheCalling()
    {
        QFETCH(int, index);
        const Case &damage = cases()[static_cast<std::size_t>(index)];
        ProgramFolder folder;
        QVERIFY(folder.isValid());
        Expectations expect;
        QVERIFY2(damage.damage(folder, expect, m_notes), "the damage could not be done");

        const Watchdog watchdog(damage.name, std::chrono::seconds(120));
        HostileProgram program(folder.path(), expect);
        m_summary = program.run();
        QVERIFY2(m_summary.failure.isEmpty(), qPrintable(m_summary.failure));
    }

private:
    RunSummary m_summary;
    QString m_notes;
};

QTEST_MAIN(ProgramFolderTest)
#include "ProgramFolderTest.moc"
