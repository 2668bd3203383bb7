// Protects the program against any order of operator actions: a long seeded run of everything an operator can
// do (buttons, menus, Ctrl+N, the delay bar, the switches, the card and about windows, banner ticks and
// clicks), also nested inside the waits of a draw; after every action the board agrees with the game, the
// controls with the run state, and no unexpected message shows. test_app_monkey_damaged runs it over damaged
// copies of the program's folder, with the real sound and help window: no damage may crash or hang the
// program.

#include "RealPlatform.h"
#include "Rig.h"

#include <QApplication>
#include <QDirIterator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <random>
#include <sys/stat.h>

using namespace cantabola;
using testing::named;

namespace {

QStringList numbered(const char *pattern)
{
    QStringList names;
    for (int n = 1; n <= 9; ++n)
        names << QString::fromLatin1(pattern).arg(n);
    return names;
}

// Damage to a copy of the program's folder: each file or folder named is removed, and written again with
// what `change` makes of its old bytes and its place in the list, unless that is null.
struct Damage
{
    const char *name;
    QStringList files;
    std::function<QByteArray(std::size_t i, QByteArray old)> change;
    unsigned folderMode = 0755;
};

// Every file of the row becomes these bytes (null: gone).
const auto becomes = [](const QByteArray &bytes) {
    return [bytes](std::size_t, const QByteArray &) {
        return bytes;
    };
};

const std::vector<Damage> damages = {
    {"every sound file damaged", testing::soundFileNames(),
     [](std::size_t i, const QByteArray &wav) {
         return std::array{QByteArray(), QByteArray(""), wav.left(30), wav.left(wav.size() / 2),
                           QByteArray("no es un sonido\n")}[i % 5];
     }},
    {"help missing", {"ayudabingo.html"}, becomes({})},
    {"help binary", {"ayudabingo.html"}, becomes(QByteArray(300, '\x8f'))},
    {"data missing", {"data"}, becomes({})},
    {"data a file", {"data"}, becomes("http://a.example/\n")},
    {"banner pictures cut short, huge, not GIFs, of a 0x0 or 65535x65535 canvas", numbered("data/b%1.gif"),
     [](std::size_t i, QByteArray gif) {
         if (i < 4)
             return gif.left(gif.size() * qsizetype(i * 3 + 1) / 12);
         if (i == 4)
             return gif + QByteArray(qsizetype(20) << 20, '\0');
         if (i > 6)
             return gif.replace(6, 4, QByteArray(4, i == 7 ? '\0' : '\xff'));
         return QByteArray(i == 5 ? "GIF89a, o eso dice.\n" : "");
     }},
    {"address files binary, huge, empty", numbered("data/t%1.txt"),
     [](std::size_t i, const QByteArray &) {
         QByteArray bytes;
         for (int b = 0; b < 512 && i % 3 == 0; ++b)
             bytes += char(b);
         return i % 3 == 1 ? "http://a.example/" + QByteArray(20 << 20, 'a') : bytes;
     }},
    {"program folder holding nothing but the program",
     testing::soundFileNames() + QStringList{"data", "ayudabingo.html"}, becomes({})},
    {"program folder not writable", {}, {}, 0555},
};

// A copy of the program's folder, damaged.
struct ProgramCopy
{
    explicit ProgramCopy(const Damage &damage)
    {
        const QDir program(QStringLiteral(CANTABOLA_PROGRAM_DIR));
        for (QDirIterator it(program.path(), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
            const QString to = dir.filePath(program.relativeFilePath(it.next()));
            done = QDir().mkpath(QFileInfo(to).path()) && QFile::copy(it.filePath(), to) && done;
        }
        for (std::size_t i = 0; i < std::size_t(damage.files.size()); ++i) {
            QFile file(dir.filePath(damage.files[qsizetype(i)]));
            const QByteArray old = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
            file.close();
            done = (file.remove() || QDir(file.fileName()).removeRecursively()) && done;
            const QByteArray bytes = damage.change(i, old);
            done = (bytes.isNull() || (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size()))
                && done;
        }
        done = ::chmod(QFile::encodeName(dir.path()).constData(), damage.folderMode) == 0 && done;
    }
    ~ProgramCopy() { ::chmod(QFile::encodeName(dir.path()).constData(), 0755); }
    QTemporaryDir dir;
    bool done = dir.isValid();
};

class Monkey
{
public:
    // No program folder: the built program's, with every seam a fake. Otherwise that folder, with the real
    // sound (its own copy of the library, on SDL's disk driver) and the real help window.
    Monkey(std::uint64_t seed, int actions, const QString &programFolder)
        : m_rng(seed)
        , m_target(actions)
    {
        testing::FakePlatform &fake = m_rig.fake;
        fake.random.seedOffset = seed;
        fake.printing.pdfPath = m_pdfFolder.filePath(QStringLiteral("sheet.pdf"));
        fake.waiter.during = [this](double, int) {
            duringWait();
        };
        fake.messages.onShow = [this](const Message &message) {
            if (message.text != FrmBingo::endOfGameQuestion
                && message.text != QLatin1String("Impresion cancelada"))
                fail(QStringLiteral("the message \"%1\" showed").arg(message.text));
        };
        if (!programFolder.isEmpty()) {
            m_real = std::make_unique<RealPlatform>(programFolder);
            const Platform &real = m_real->platform();
            m_platform = std::make_unique<Platform>(
                Platform{fake.screen, fake.clock, fake.waiter, fake.random, fake.messages, fake.process,
                         real.sound, fake.colours, fake.printing, fake.browser, real.help, fake.files,
                         programFolder, fake.platform.dataFolder});
            m_rig.program = std::make_unique<Cantabola>(*m_platform);
        }
        if (!m_rig.program->start())
            fail(QStringLiteral("the program did not start"));
    }
    ~Monkey() { m_rig.program.reset(); }

    QString run()
    {
        while (m_performed < m_target && m_failure.isEmpty()) {
            act();
            check(true);
        }
        return m_failure;
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    bool chance(int percent) { return pick(100) < percent; }
    bool usable(const char *menu, const QString &item) const
    {
        return m_rig.menu(menu)->menuAction()->isEnabled() && m_rig.action(item)->isEnabled();
    }
    bool calling() const { return m_rig.game().runState() == RunState::Calling; }

    void duringWait()
    {
        if (!m_failure.isEmpty() || m_performed >= m_target) {
            if (calling()) // wind down, so that the run returns
                m_rig.clickStart();
            return;
        }
        check(false);
        if (m_depth < 3 && chance(35)) {
            ++m_depth;
            act();
            check(false);
            --m_depth;
        } else if (calling() && chance(3)) {
            m_rig.clickStart(); // an operator stops the calling now and then
        }
    }

    void act()
    {
        ++m_performed;
        const int choice = pick(17);
        static const char *const items[][2] = {{"M_Play", "SM_New"},
                                               {"M_Play", "SM_GetNumber"},
                                               {"M_Options", "SM_Auto"},
                                               {"M_Options", "SM_Voice"},
                                               {"SM_Help", "SM_play"}};
        const QString card = QStringLiteral("SM_%1").arg(1 + pick(4));
        if (choice <= 2 && m_rig.start()->isEnabled())
            m_rig.clickStart();
        else if (choice == 3 && m_rig.find("CmbNuevo")->isEnabled())
            m_rig.click("CmbNuevo");
        else if (choice >= 4 && choice <= 8 && usable(items[choice - 4][0], items[choice - 4][1]))
            m_rig.trigger(items[choice - 4][1]);
        else if (choice == 9 && m_rig.menu("M_Play")->menuAction()->isEnabled())
            QTest::keyClick(&m_rig.window(), Qt::Key_N, Qt::ControlModifier);
        else if (choice == 10) {
            auto *bar = m_rig.find<QScrollBar>("HscInterval");
            bar->setValue(bar->minimum() + pick(bar->maximum() - bar->minimum() + 1));
        } else if (choice == 11)
            QMetaObject::invokeMethod(named<QTimer>(m_rig.window(), "Timer1"), "timeout"); // a minute passed
        else if (choice == 12)
            QTest::mouseClick(m_rig.find("AniGIF1"), Qt::LeftButton);
        else if (choice == 13 && usable("SM_Help", "SM_AcercaDe"))
            inModal("frmAbout", [this] { m_rig.trigger("SM_AcercaDe"); });
        else if (choice == 14 && m_rig.find("CmbImprimir")->isEnabled())
            inModal("FrmCartones", [this] { m_rig.click("CmbImprimir"); });
        else if (choice == 15 && usable("M_Play", card))
            inModal("FrmCartones", [this, card] { m_rig.trigger(card); });
        else if (choice == 16 && chance(5) && usable("M_Play", "SM_End")) {
            const int ended = m_rig.fake.process.ended;
            m_rig.trigger("SM_End");
            if (m_rig.fake.process.ended != ended + 1)
                fail(QStringLiteral("\"Salir\" did not end the program"));
            m_rig.window().show(); // a real process is gone; the fake one carries on as if started again
        }
    }

    // Opens a modal window and acts on it: the about window is closed by a key, the card window is used.
    void inModal(const QString &expected, const std::function<void()> &open)
    {
        QTimer::singleShot(0, [this, expected] {
            QWidget *window = QApplication::activeModalWidget();
            if (!window || window->objectName() != expected)
                return fail(expected + QStringLiteral(" did not open"));
            if (expected == QLatin1String("frmAbout")) {
                if (chance(50))
                    QTest::mouseClick(named(*window, "Label1"), Qt::LeftButton);
                return QTest::keyClick(window, chance(50) ? Qt::Key_Escape : Qt::Key_Return);
            }
            for (int i = pick(4); i > 0 && window->isVisible(); --i) { // a print closes the window
                m_rig.fake.colours.answer.reset();
                if (chance(50))
                    m_rig.fake.colours.answer = QColor::fromRgb(QRgb(m_rng()));
                m_rig.fake.printing.cancel = !chance(3);
                const QString button
                    = std::array{QStringLiteral("CmbGenerar"), QStringLiteral("CmbElegirColor"),
                                 QStringLiteral("LblCasilla(%1)").arg(1 + pick(27)),
                                 QStringLiteral("CmbPrint")}[std::size_t(pick(4))];
                QTest::mouseClick(named(*window, button), Qt::LeftButton);
            }
            window->close();
        });
        open();
    }

    void fail(const QString &what)
    {
        if (m_failure.isEmpty())
            m_failure = QStringLiteral("action %1 (depth %2): %3").arg(m_performed).arg(m_depth).arg(what);
    }

    void check(bool topLevel)
    {
        const RunState state = m_rig.game().runState();
        const bool calling = state == RunState::Calling;
        if (!m_rig.boardAgreesWithGame())
            return fail(QStringLiteral("the board disagrees with the game"));
        if (!m_rig.callingControls(!calling)
            || m_rig.start()->text() != (calling ? FrmBingo::captionStop : FrmBingo::captionStart))
            return fail(QStringLiteral("the controls do not show whether the game is calling"));
        if (((calling || topLevel) && !m_rig.start()->isEnabled()) || (topLevel && state != RunState::Idle))
            return fail(QStringLiteral("the start button is not as the run state says"));
        if (!m_rig.menu("SM_Help")->menuAction()->isEnabled() || !m_rig.find("HscInterval")->isEnabled())
            return fail(QStringLiteral("the help menu or the delay bar was greyed"));
    }

    std::mt19937_64 m_rng;
    int m_target;
    QTemporaryDir m_pdfFolder;
    testing::Rig m_rig{ScreenInfo::fromPixels(1024, 768, 15), false};
    std::unique_ptr<RealPlatform> m_real;
    std::unique_ptr<Platform> m_platform;
    int m_performed = 0;
    int m_depth = 0;
    QString m_failure;
};

} // namespace

class MonkeyTest : public QObject
{
    Q_OBJECT

private slots:
    void operatorActionsKeepTheProgramConsistent_data()
    {
        QTest::addColumn<int>("damage"); // -1: the built program's folder, as it is
        const bool damaged = qEnvironmentVariableIsSet("CANTABOLA_MONKEY_DAMAGED");
        for (int i = damaged ? 0 : -1; i < (damaged ? int(damages.size()) : 0); ++i)
            QTest::newRow(i < 0 ? "the program's folder" : damages[std::size_t(i)].name) << i;
    }
    void operatorActionsKeepTheProgramConsistent()
    {
        QFETCH(int, damage);
        bool ok = false;
        const std::uint64_t seed = qEnvironmentVariable("CANTABOLA_MONKEY_SEED", "20261206").toULongLong(&ok);
        const int actions = qEnvironmentVariableIsSet("CANTABOLA_MONKEY_ACTIONS")
            ? qEnvironmentVariableIntValue("CANTABOLA_MONKEY_ACTIONS")
            : damage < 0 ? 20000
                         : 800;
        qInfo("monkey seed %llu, %d actions; repeat with: CANTABOLA_MONKEY_SEED=%llu ctest -R "
              "test_app_monkey -V",
              static_cast<unsigned long long>(seed), actions, static_cast<unsigned long long>(seed));
        std::optional<ProgramCopy> copy;
        if (damage >= 0) {
            QVERIFY(copy.emplace(damages[std::size_t(damage)]).done);
            qputenv("SDL_AUDIODRIVER", "disk");
            qputenv("SDL_DISKAUDIOFILE", "/dev/null");
            qputenv("SDL_DISKAUDIODELAY", "0");
        }
        Monkey monkey(seed, actions, copy ? copy->dir.path() : QString());
        const QString failure = monkey.run();
        QVERIFY2(ok && failure.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(failure)));
    }
};

QTEST_MAIN(MonkeyTest)
#include "MonkeyTest.moc"
