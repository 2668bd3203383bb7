// SPDX-License-Identifier: GPL-3.0-or-later
// Protects the program against any order of operator actions: a long seeded run of everything an operator can
// do (buttons, menus, the delay bar, the switches, the menu Partida, the card, about, claim and balls
// called windows, banner ticks and clicks), also nested inside the waits of a draw; after every action the
// board and the balls called agree with the game, the controls with the run state, and no unexpected message
// shows. test_app_monkey_damaged runs it over damaged copies of the program's folder, with the real sound and
// help window: no damage may crash or hang the program.

#include "platform/RealPlatform.h"
#include "support/Rig.h"

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>

#include <random>
#include <sys/stat.h>

using namespace cantabola;
using testing::named;

namespace {

// The way-th damage to a file's bytes (null: the file is gone); way < 0 leaves them be. A GIF keeps the size
// of its canvas at bytes 6 to 9 (0x0 or 65535x65535 here), a WAV the size of its RIFF chunk at 4 to 7.
QByteArray damaged(int way, QByteArray old)
{
    if (way < 0)
        return old;
    if (way % 11 == 0)
        return {};
    if (way % 11 <= 4)
        return old.left(way % 11 == 1 ? 0 : way % 11 == 2 ? 30 : old.size() * (way % 11 - 2) / 3);
    if (way % 11 <= 6)
        return old.replace(6, 4, QByteArray(4, way % 11 == 5 ? '\0' : '\xff'));
    if (way % 11 == 7)
        return "GIF89a, o eso dice.\n";
    if (way % 11 == 8)
        return QByteArray(300, '\x8f');
    return old + QByteArray(qsizetype(20) << 20, way % 11 == 9 ? 'a' : '\0');
}

// A copy of the program's folder, every file but the program's own two damaged, the i-th (in name order) in
// the way first + step * i, the folder left with the mode given.
struct ProgramCopy
{
    ProgramCopy(int first, int step, unsigned folderMode)
    {
        const QDir program(QStringLiteral(CANTABOLA_PROGRAM_DIR));
        QStringList files = program.entryList(QDir::Files); // in name order, then those of data/
        for (const QString &name : QDir(program.filePath(QStringLiteral("data"))).entryList(QDir::Files))
            files << QStringLiteral("data/") + name;
        for (int i = 0; i < files.size(); ++i) {
            QFile from(program.filePath(files[i])), to(dir.filePath(files[i]));
            const int way = files[i].startsWith(QLatin1String("cantabola")) ? -1 : first + step * i;
            const QByteArray bytes
                = damaged(way, from.open(QIODevice::ReadOnly) ? from.readAll() : QByteArray());
            done = (bytes.isNull()
                    || (QDir().mkpath(QFileInfo(to).path()) && to.open(QIODevice::WriteOnly)
                        && to.write(bytes) == bytes.size() && to.setPermissions(from.permissions())))
                && done;
        }
        done = ::chmod(QFile::encodeName(dir.path()).constData(), folderMode) == 0 && done;
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
        fake.waiter.during = std::bind(&Monkey::duringWait, this); // whatever the wait
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
        // A menu item, used when its menu and it are, and the modal window it opens, if any.
        // clang-format off
        static const char *const items[][3] = {
            {"M_Play", "SM_New", ""}, {"M_Play", "SM_GetNumber", ""}, {"M_Options", "SM_Auto", ""},
            {"M_Options", "SM_Voice", ""}, {"SM_Help", "SM_play", ""}, {"gameMenu", "repeatItem", ""},
            {"gameMenu", "takeBackItem", ""}, {"gameMenu", "calledBallsItem", ""}, {"SM_Help", "SM_AcercaDe", "frmAbout"},
            {"gameMenu", "checkClaimItem", "ClaimDialog"}, {"M_Play", "SM_1", "FrmCartones"},
            {"M_Play", "SM_2", "FrmCartones"}, {"M_Play", "SM_3", "FrmCartones"}, {"M_Play", "SM_4", "FrmCartones"}};
        // clang-format on
        const int choice = pick(int(std::size(items)) + 9) - int(std::size(items));
        auto *ballsCalled = m_rig.window().findChild<QWidget *>(QStringLiteral("CalledBallsWindow"));
        if (choice < 0) {
            const auto &[menu, item, window] = items[choice + std::size(items)];
            if (usable(menu, item) && *window)
                inModal(window, [this, item] { m_rig.trigger(item); });
            else if (usable(menu, item))
                m_rig.trigger(item);
        } else if (choice <= 2 && m_rig.start()->isEnabled())
            m_rig.clickStart();
        else if (choice == 3 && m_rig.find("CmbNuevo")->isEnabled())
            m_rig.click("CmbNuevo");
        else if (choice == 4) {
            auto *bar = m_rig.find<QScrollBar>("HscInterval");
            bar->setValue(bar->minimum() + pick(bar->maximum() - bar->minimum() + 1));
        } else if (choice == 5)
            QMetaObject::invokeMethod(named<QTimer>(m_rig.window(), "Timer1"), "timeout"); // a minute passed
        else if (choice == 6)
            QTest::mouseClick(m_rig.find("AniGIF1"), Qt::LeftButton);
        else if (choice == 7 && m_rig.find("CmbImprimir")->isEnabled())
            inModal("FrmCartones", [this] { m_rig.click("CmbImprimir"); });
        else if (choice == 8 && ballsCalled && ballsCalled->isVisible())
            QTest::mouseClick(named(*ballsCalled, "CmdCerrar"), Qt::LeftButton);
    }

    // Opens a modal window and uses it: the about window's link clicked, a claim typed into the claim window,
    // the card window used; then the window is closed by a key or its close box.
    void inModal(const QString &name, const std::function<void()> &open)
    {
        const auto use = [this, name](QDialog &window) {
            if (name == QLatin1String("frmAbout") && chance(50))
                QTest::mouseClick(named(window, "Label1"), Qt::LeftButton);
            for (int i = pick(4); i > 0 && name == QLatin1String("ClaimDialog"); --i)
                QTest::keyClicks(named(window, "numbersField"), QStringLiteral("%1 ").arg(pick(95)));
            for (int i = pick(4); i > 0 && name == QLatin1String("FrmCartones") && window.isVisible(); --i) {
                m_rig.fake.colours.answer
                    = chance(50) ? std::optional(QColor::fromRgb(QRgb(m_rng()))) : std::nullopt;
                m_rig.fake.printing.cancel = !chance(3); // a print closes the window
                const QString button = QStringLiteral("CmbGenerar CmbElegirColor LblCasilla(%1) CmbPrint")
                                           .arg(1 + pick(27))
                                           .split(QLatin1Char(' '))[pick(4)];
                QTest::mouseClick(named(window, button), Qt::LeftButton);
            }
            if (window.isVisible() && chance(50))
                QTest::keyClick(&window, chance(50) ? Qt::Key_Escape : Qt::Key_Return);
        };
        if (!testing::whileModal(name, open, use))
            fail(name + QStringLiteral(" did not open"));
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
        if (!m_rig.menu("SM_Help")->menuAction()->isEnabled()
            || !m_rig.menu("gameMenu")->menuAction()->isEnabled() || !m_rig.find("HscInterval")->isEnabled())
            return fail(QStringLiteral("the help or game menu or the delay bar was greyed"));
        const auto *list = m_rig.window().findChild<QListWidget *>(QStringLiteral("ballsList"));
        const std::vector<int> &order = m_rig.game().drawOrder();
        for (int i = 0; list && i < std::max(list->count(), int(order.size())); ++i) {
            if (i >= list->count() || i >= int(order.size())
                || list->item(i)->text() != QStringLiteral("%1. %2").arg(i + 1).arg(order[std::size_t(i)]))
                return fail(QStringLiteral("the balls called disagree with the game"));
        }
    }

    std::mt19937_64 m_rng;
    int m_target;
    QTemporaryDir m_pdfFolder;
    std::unique_ptr<RealPlatform> m_real;
    std::unique_ptr<Platform> m_platform;
    testing::Rig m_rig{ScreenInfo::fromPixels(1024, 768, 15),
                       false}; // goes first: its program uses the above
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
        QTest::addColumn<QList<int>>("damage"); // the first way, the step, the folder's mode; none: as it is
        if (!qEnvironmentVariableIsSet("CANTABOLA_MONKEY_DAMAGED"))
            QTest::newRow("the program's folder") << QList<int>();
        else {
            QTest::newRow("every file damaged, one way each") << QList<int>{1, 1, 0755};
            QTest::newRow("every file damaged, another way each") << QList<int>{7, 1, 0755};
            QTest::newRow("nothing but the program") << QList<int>{0, 0, 0755};
            QTest::newRow("program folder not writable") << QList<int>{-1, 0, 0555};
        }
    }
    void operatorActionsKeepTheProgramConsistent()
    {
        QFETCH(QList<int>, damage);
        bool ok = false;
        const std::uint64_t seed = qEnvironmentVariable("CANTABOLA_MONKEY_SEED", "20261206").toULongLong(&ok);
        const int given = qEnvironmentVariableIntValue("CANTABOLA_MONKEY_ACTIONS");
        const int actions = given > 0 ? given : (damage.isEmpty() ? 20000 : 800);
        qInfo("monkey seed %llu, %d actions; repeat with CANTABOLA_MONKEY_SEED=%llu", qulonglong(seed),
              actions, qulonglong(seed));
        std::optional<ProgramCopy> copy;
        if (!damage.isEmpty()) // with the real sound, on the driver test_app_monkey_damaged sets
            QVERIFY(copy.emplace(damage[0], damage[1], unsigned(damage[2])).done);
        Monkey monkey(seed, actions, copy ? copy->dir.path() : QString());
        const QString failure = monkey.run();
        QVERIFY2(ok && failure.isEmpty(), qPrintable(QStringLiteral("seed %1: %2").arg(seed).arg(failure)));
    }
};

QTEST_MAIN(MonkeyTest)
#include "MonkeyTest.moc"
